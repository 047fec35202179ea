#pragma once

#include "document/undohistory.h"

// A step of the wall's history that counts how often it was taken back and
// made again, or refuses to be taken back.
struct CountedStep : HistoryStep {
    CountedStep(const char* name, int* u, int* r) : called(name), undos(u), redos(r) {}
    QString name() const override { return called; }
    bool undo(QString* why) override {
        *why = QStringLiteral("ほかのプログラムが変えました。");
        return !refuses && ++*undos;
    }
    bool redo(QString*) override { return ++*redos; }
    QString called;
    int *undos, *redos;
    bool refuses = false;
};
