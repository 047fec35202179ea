#include "app/mainmenu.h"

#include "cards/menuitems.h"

MainMenu::MainMenu(QWidget* window) : QMenu(window) {
    setObjectName(QStringLiteral("PopupMenu2"));
    setToolTipsVisible(true);
    Undo1 = addItem(this, "Undo1", QStringLiteral("元に戻す"));
    Undo1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    Redo1 = addItem(this, "Redo1", QStringLiteral("やり直す"));
    Redo1->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    addSeparator();
    Zavik2 = addItem(this, "Zavik2", QStringLiteral("HELP"));
    N21 = addItem(this, "N21", QStringLiteral("フォルダ構成"));
    N21->setToolTip(QStringLiteral("プログラムのフォルダの構成を表示します"));
    N67 = addItem(this, "N67", QStringLiteral("フォルダ→【マイデスク】[>DL]"));
    QMenu* form = addMenu(QStringLiteral("   ウィンドウ形式の変更"));
    form->menuAction()->setObjectName(QStringLiteral("N24"));
    N2 = addItem(form, "N2", QStringLiteral("ボーダーつき画面"));
    N5 = addItem(form, "N5", QStringLiteral("ボーダー無し画面"));
    N01 = addItem(this, "N01", QStringLiteral("未提案の☆を消す"));
    CSV1 = addItem(this, "CSV1", QStringLiteral("カード情報をCSV保存[>CSV]"));
    CSV1->setToolTip(QStringLiteral("このかべのカードをCSVファイルに書き出します"));
    N20 = addItem(this, "N20", QStringLiteral("画面を印刷[>PRN]"));
    N3 = addItem(this, "N3", QStringLiteral("保存して終了[<<]"));
    N32 = addItem(this, "N32", QStringLiteral("保存しないで終了[<<<]"));
}
