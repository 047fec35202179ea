#pragma once

#include "cards/cardmenu.h"
#include "cards/cardmouse.h"
#include "support/wallfixture.h"

#include <QAction>
#include <QMenu>
#include <QtTest>

// A loaded wall with its card menu and card mouse, as the wall window has
// them.
struct MenuWall {
    WallFixture w;
    CardMenu menu{w.st(), w.busy, *w.board, &w.area};
    CardMouse mouse{w.st(), w.busy, w.oneShotArmed, w.pressState, *w.board, &w.area};
    QString data;

    explicit MenuWall(const QList<QPair<QString, PosterRecord>>& cards) {
        for (const auto& c : cards)
            w.write(c.first, c.second);
        w.loader->PANELLOAD();
        data = w.st().KIJUNDIR;
    }
    WallDocument& doc() { return w.st(); }
    CardWidget* card(int n) { return w.board->card(n); }
    // What "未提案の☆を消す" does: the wall read again from its folder.
    void discard() {
        w.st().clear();
        w.loader->PANELLOAD();
    }
};

// Runs a card-menu command on card n, as a right click on it and a choice.
inline void command(MenuWall& wall, int n, const char* item) {
    wall.doc().PBAN = n;
    QAction* a = wall.menu.PopupMenu1->findChild<QAction*>(QLatin1String(item));
    QVERIFY2(a, item);
    a->trigger();
}
