#pragma once

#include "platform/userprompts.h"

#include <QList>
#include <QStringList>

// The user, as a test plays it: questions are answered from `answers` (no
// when it runs out), files from `files` (a cancel when it runs out), and
// everything asked, told and requested is kept to be looked at.
class ScriptedPrompts : public UserPrompts {
public:
    QList<bool> answers;
    QList<QStringList> files;

    QStringList asked;
    QStringList told;
    QList<FileRequest> requests;

    bool ask(const QString& question) override {
        asked << question;
        return answers.isEmpty() ? false : answers.takeFirst();
    }
    void tell(const QString& text) override { told << text; }
    QStringList chooseFiles(const FileRequest& request) override {
        requests << request;
        return files.isEmpty() ? QStringList() : files.takeFirst();
    }
};
