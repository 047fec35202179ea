#include "platform/userprompts.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

QWidget* DialogPrompts::inFront() const {
    if (QWidget* modal = QApplication::activeModalWidget())
        return modal;
    // A window just hidden can stay the active one until the desktop says
    // otherwise; a dialog over it would stand over nothing.
    if (QWidget* active = QApplication::activeWindow(); active && active->isVisible())
        return active;
    return owner_;
}

namespace {

// The caption of the window a prompt stands in front of, so that a question
// is seen to come from the window that asks it.
QString captionOf(const QWidget* w) {
    const QString title = w ? w->window()->windowTitle() : QString();
    return title.isEmpty() ? QStringLiteral("Zavik") : title;
}

} // namespace

bool DialogPrompts::ask(const QString& question) {
    QWidget* parent = inFront();
    QMessageBox box(QMessageBox::Question, captionOf(parent), question,
                    QMessageBox::Yes | QMessageBox::No, parent);
    box.button(QMessageBox::Yes)->setText(QStringLiteral("はい"));
    box.button(QMessageBox::No)->setText(QStringLiteral("いいえ"));
    box.setDefaultButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

void DialogPrompts::tell(const QString& text) {
    QWidget* parent = inFront();
    QMessageBox box(QMessageBox::Warning, captionOf(parent), text, QMessageBox::Ok, parent);
    box.button(QMessageBox::Ok)->setText(QStringLiteral("OK"));
    box.exec();
}

QStringList DialogPrompts::chooseFiles(const FileRequest& request) {
    QFileDialog dialog(inFront(), request.title, request.folder, request.filter);
    switch (request.mode) {
    case FileRequest::Open:
        dialog.setFileMode(QFileDialog::ExistingFile);
        break;
    case FileRequest::OpenMany:
        dialog.setFileMode(QFileDialog::ExistingFiles);
        break;
    case FileRequest::OpenOrTyped:
        // The typed name names no file: the dialog must let it through,
        // which the desktop's own dialog does not.
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        dialog.selectFile(request.typed);
        break;
    case FileRequest::Save:
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setDefaultSuffix(request.typed);
        // A folder alone is only where the dialog starts: no name is offered.
        if (!QFileInfo(request.folder).isDir())
            dialog.selectFile(request.folder);
        break;
    }
    if (dialog.exec() != QDialog::Accepted)
        return {};
    QStringList chosen = dialog.selectedFiles();
    if (request.mode == FileRequest::OpenOrTyped && !chosen.isEmpty() &&
        QFileInfo(chosen.first()).fileName() == request.typed)
        return {request.typed};
    return chosen;
}
