#pragma once

#include "app/linkrunner.h"
#include "app/logostarter.h"
#include "app/navigator.h"
#include "app/wallwindow.h"
#include "app/windowmodes.h"
#include "cards/cardboard.h"
#include "cards/cardwidget.h"
#include "drawing/flashwindow.h"
#include "support/modalanswers.h"
#include "support/wallfixture.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

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
