#pragma once

#include <QList>
#include <QObject>
#include <QStringList>
#include <QUrl>

// Records what is handed to the desktop shell for `schemes` while it lives,
// instead of starting the desktop's programs.
class ShellRecorder : public QObject {
    Q_OBJECT
public:
    explicit ShellRecorder(const QStringList& schemes);
    ~ShellRecorder() override;

    QList<QUrl> opened;

public slots:
    void open(const QUrl& url);

private:
    QStringList schemes_;
};
