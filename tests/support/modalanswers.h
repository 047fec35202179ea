#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>

// Answers the next modal box or dialog by pressing the button with `text`
// (or accepting it), and keeps what it said and the window it stood over.
inline void answerNext(const QString& text, QString* said = nullptr, QWidget** owner = nullptr) {
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, [poll, text, said, owner] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal)
            return;
        if (owner)
            *owner = modal->parentWidget();
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            if (said)
                *said = box->text();
            for (QAbstractButton* b : box->buttons())
                if (text.isEmpty() ? box->standardButton(b) == QMessageBox::Yes ||
                                         box->standardButton(b) == QMessageBox::Ok
                                   : b->text().contains(text)) {
                    b->click();
                    break;
                }
        } else if (auto* dialog = qobject_cast<QDialog*>(modal)) {
            for (QPushButton* b : dialog->findChildren<QPushButton*>())
                if (b->text() == text) {
                    b->click();
                    break;
                }
        }
        poll->deleteLater();
    });
    poll->start(10);
}
