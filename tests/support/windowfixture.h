#pragma once

#include "app/linkrunner.h"
#include "app/logostarter.h"
#include "app/navigator.h"
#include "app/wallwindow.h"
#include "app/windowmodes.h"
#include "cards/cardboard.h"
#include "cards/cardwidget.h"
#include "drawing/flashwindow.h"
#include "support/wallfixture.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

// Answers the next modal box or dialog by pressing the button with `text`
// (or accepting it), and keeps what it said.
inline void answerNext(const QString& text, QString* said = nullptr) {
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, [poll, text, said] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal)
            return;
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

// What the wall's notice says. Other windows have controls of the same
// names, so the notice is found among the wall window's own children.
inline QString noticeText(const QWidget& wall) {
    const auto* notice =
        wall.findChild<QWidget*>(QStringLiteral("Panel1"), Qt::FindDirectChildrenOnly);
    const auto* text =
        notice ? notice->findChild<QToolButton*>(QStringLiteral("SpeedButton9")) : nullptr;
    return text ? text->text() : QString();
}

struct WindowWall {
    QTemporaryDir dir;
    QString data;
    std::unique_ptr<WallWindow> w;
    explicit WindowWall(const QList<QPair<QString, PosterRecord>>& cards) {
        data = dir.filePath("zavik-data/");
        QDir().mkpath(data);
        for (const auto& c : cards)
            writeCardFile(data + c.first, c.second);
    }
    WallWindow& open() {
        w = std::make_unique<WallWindow>(dir.filePath("zavik"));
        w->showOnScreen();
        if (!QTest::qWaitForWindowExposed(w.get()))
            qWarning("wall window not exposed");
        w->TForm2->setTimeoutMs(50);
        w->logo->delayMs = 10;
        return *w;
    }
    CardWidget* card(int n) { return w->board().card(n); }
    // A quick left click in the middle of card n, through the real widget.
    void click(int n) {
        CardWidget* c = card(n);
        QTest::mouseClick(c, Qt::LeftButton, {}, c->rect().center());
    }
};
