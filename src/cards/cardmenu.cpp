#include "cards/cardmenu.h"

#include "cards/cardboard.h"
#include "cards/menuitems.h"
#include "document/changedetection.h"
#include "document/wallloader.h"
#include "document/wallsaver.h"
#include "platform/beep.h"

#include <QMenu>

CardMenu::CardMenu(WallDocument& doc, const bool& busy, CardBoard& board, QWidget* parent)
    : QObject(parent), st(doc), busy_(busy), board_(board) {
    PopupMenu1 = new QMenu(parent);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    PopupMenu1->setToolTipsVisible(true);

    QMenu* marks = PopupMenu1->addMenu(QStringLiteral("★○×をつける"));
    marks->menuAction()->setObjectName(QStringLiteral("N4"));
    const struct {
        const char* name;
        const char16_t* caption;
        const char16_t* mark;
    } kMarks[] = {{"N63", u"★", u"★"},  {"N64", u"◎", u"◎"}, {"N60", u"○", u"●"},
                  {"N61", u"×", u"×"},  {"N59", u"▲", u"▲"}, {"N62", u"▼", u"▼"},
                  {"N65", u"消す", u""}};
    for (const auto& m : kMarks) {
        const QString mark = QString::fromUtf16(m.mark);
        connect(addItem(marks, m.name, QString::fromUtf16(m.caption)), &QAction::triggered, this,
                [this, mark] { HOSHIMark(mark); });
    }

    QAction* editor = addItem(PopupMenu1, "N77", QStringLiteral("カードに書く"));
    connect(editor, &QAction::triggered, this, [this] {
        if (!busy_)
            emit cardEditorRequested();
    });

    QMenu* sizes = PopupMenu1->addMenu(QStringLiteral("サイズ"));
    sizes->menuAction()->setObjectName(QStringLiteral("N70"));
    const struct {
        const char* name;
        const char16_t* caption;
        int multiply, divide;
    } kSizes[] = {{"N71", u"×４", 4, 1},    {"N72", u"×３", 3, 1},    {"N73", u"×２", 2, 1},
                  {"N74", u"１／２", 1, 2}, {"N75", u"１／３", 1, 3}, {"N76", u"１／４", 1, 4}};
    for (const auto& z : kSizes) {
        const int m = z.multiply, d = z.divide;
        connect(addItem(sizes, z.name, QString::fromUtf16(z.caption)), &QAction::triggered, this,
                [this, m, d] { scaleCard(m, d); });
    }

    QMenu* text = PopupMenu1->addMenu(QStringLiteral("文字色"));
    text->menuAction()->setObjectName(QStringLiteral("N36"));
    const struct {
        const char* name;
        const char16_t* caption;
        int code;
    } kText[] = {{"N45", u"黒文字", 1}, {"N46", u"紫文字", 8}, {"N25", u"藤文字", 7},
                 {"N27", u"赤文字", 2}, {"N37", u"緑文字", 3}, {"N40", u"黄文字", 4},
                 {"N41", u"青文字", 5}, {"N42", u"水文字", 9}, {"N43", u"白文字", 6}};
    for (const auto& t : kText) {
        const int code = t.code;
        connect(addItem(text, t.name, QString::fromUtf16(t.caption)), &QAction::triggered, this,
                [this, code] { setTextColour(code); });
    }

    QMenu* cards = PopupMenu1->addMenu(QStringLiteral("カード色"));
    cards->menuAction()->setObjectName(QStringLiteral("N28"));
    const struct {
        const char* name;
        const char16_t* caption;
    } kCard[] = {{"N44", u"白色カード"},   {"N23", u"赤紫色カード"}, {"N31", u"水色カード"},
                 {"N34", u"黄色カード"},   {"N6", u"若葉色カード"},  {"N7", u"黒色カード"},
                 {"N15", u"灰色カード"},   {"N47", u"銀色カード"},   {"N48", u"あめ色カード"},
                 {"N49", u"青色カード"},   {"N50", u"紺色カード"},   {"N52", u"薄緑色カード"},
                 {"N35", u"青緑色カード"}, {"N53", u"緑色カード"},   {"N54", u"黄土色カード"},
                 {"N55", u"茶色カード"},   {"N56", u"紫色カード"},   {"N57", u"赤色カード"},
                 {"N1", u"透明カード"}};
    for (int code = 1; code <= 19; ++code) {
        const auto& c = kCard[code - 1];
        connect(addItem(cards, c.name, QString::fromUtf16(c.caption)), &QAction::triggered, this,
                [this, code] { setCardColour(code); });
    }

    connect(addItem(PopupMenu1, "N30", QStringLiteral("カードのコピー")), &QAction::triggered, this,
            &CardMenu::copyCard);
    QMenu* remove = PopupMenu1->addMenu(QStringLiteral("カードを消す"));
    remove->menuAction()->setObjectName(QStringLiteral("N26"));
    connect(addItem(remove, "N66", QStringLiteral("消すの実行")), &QAction::triggered, this,
            &CardMenu::deleteCard);
    connect(addItem(PopupMenu1, "N29", QStringLiteral("保存・ていあん")), &QAction::triggered, this,
            &CardMenu::saveCard);
}

void CardMenu::HOSHIMark(const QString& mark) {
    const int n = st.PBAN;
    if (!st.has(n))
        return;
    const WallDocument::UserStep step(st, QStringLiteral("★○×をつける"));
    st.setMark(n, mark);
    if (mark.isEmpty())
        zavikBeep();
}

void CardMenu::scaleCard(int multiply, int divide) {
    const int n = st.PBAN;
    if (!st.has(n))
        return;
    const WallDocument::UserStep step(st, QStringLiteral("カードのサイズ"));
    const QRect r = st.card(n).rect;
    st.setRect(n,
               QRect(r.x(), r.y(), r.width() * multiply / divide, r.height() * multiply / divide));
    board_.CardSize();
}

void CardMenu::setTextColour(int code) {
    const WallDocument::UserStep step(st, QStringLiteral("文字色"));
    st.setTextColour(st.PBAN, code);
}

void CardMenu::setCardColour(int code) {
    const WallDocument::UserStep step(st, QStringLiteral("カード色"));
    st.setColour(st.PBAN, code);
}

void CardMenu::copyCard() {
    const int n = st.PBAN;
    if (!st.has(n))
        return;
    const WallDocument::UserStep step(st, QStringLiteral("カードのコピー"));
    // A check-off card is copied as its file holds it; the original stays
    // armed, whole.
    const CheckOff state = st.card(n).checkOff;
    if (state != CheckOff::None)
        st.loader().REPANELLOAD(n, st.card(n).FNAME);
    if (state == CheckOff::Armed || state == CheckOff::Collapsed)
        st.setCheckOff(n, CheckOff::Armed);
    const QRect r = st.card(n).rect;
    st.PCOPY(n, r.translated(10, 10), 0);
    st.changes().start();
}

void CardMenu::deleteCard() {
    const int n = st.PBAN;
    emit aboutToDelete();
    const WallDocument::UserStep step(st, QStringLiteral("カードを消す"));
    st.SAKUJO(n);
}

void CardMenu::saveCard() {
    if (busy_)
        return;
    const int n = st.PBAN;
    if (!st.has(n))
        return;
    // A save is a step too: taking back the steps before it then finds the
    // file as it left it.
    const WallDocument::UserStep step(st, QStringLiteral("保存・ていあん"));
    const bool collapsed = st.card(n).checkOff == CheckOff::Collapsed;
    if (collapsed)
        st.expandToStoredSize(n);
    st.saver().PANELSAVE(n, 2);
    if (collapsed)
        st.collapse(n);
}
