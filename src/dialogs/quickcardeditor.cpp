#include "dialogs/quickcardeditor.h"

#include "cards/textplacing.h"
#include "model/cardcolors.h"
#include "platform/beep.h"
#include "storage/cardnames.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QShortcut>
#include <QTextEdit>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

// The menus list the colours in this order, with these names.
struct Named {
    const char16_t* name;
    int code;
};
const Named kTextColours[] = {{u"黒文字", 1}, {u"紫文字", 8}, {u"藤文字", 7},
                              {u"赤文字", 2}, {u"緑文字", 3}, {u"黄文字", 4},
                              {u"青文字", 5}, {u"水文字", 9}, {u"白文字", 6}};
const Named kCardColours[] = {
    {u"白色カード", 1},    {u"赤紫色カード", 2}, {u"水色カード", 3},    {u"黄色カード", 4},
    {u"若葉色カード", 5},  {u"黒色カード", 6},   {u"灰色カード", 7},    {u"銀色カード", 8},
    {u"空色カード", 9},    {u"青色カード", 10},  {u"紺色カード", 11},   {u"薄緑色カード", 12},
    {u"青緑色カード", 13}, {u"緑色カード", 14},  {u"黄土色カード", 15}, {u"茶色カード", 16},
    {u"紫色カード", 17},   {u"赤色カード", 18},  {u"透明カード", 19}};

constexpr int kTextPanelHeight = 58;

} // namespace

QuickCardEditor::QuickCardEditor(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint |
                          Qt::WindowTitleHint | Qt::WindowCloseButtonHint) {
    setObjectName(QStringLiteral("TForm18"));
    setModal(true);

    Panel2 = new QWidget(this);
    Panel2->setObjectName(QStringLiteral("Panel2"));
    Memo1 = new QTextEdit(Panel2);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setAcceptRichText(false);
    Memo1->setLineWrapMode(QTextEdit::NoWrap);
    Memo1->setTabChangesFocus(false);
    Memo1->setFrameShape(QFrame::NoFrame);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Memo1->document()->setDocumentMargin(0);
    Memo1->installEventFilter(this);
    auto* textColumn = new QVBoxLayout(Panel2);
    textColumn->setContentsMargins(0, 0, 0, 0);
    textColumn->addWidget(Memo1);

    SpeedButton9 = button("SpeedButton9", QStringLiteral("CSV→名札"),
                          QStringLiteral("CSVファイルから名札カードを作成"));
    Edit2 = new QLineEdit(QStringLiteral(">SW10"), this);
    Edit2->setObjectName(QStringLiteral("Edit2"));
    Edit2->setToolTip(QStringLiteral("名札の中のリンクコマンド"));
    // Wide enough to read the usual command; the bar widens the window if
    // the buttons' captions need more room than it has.
    Edit2->setMinimumWidth(Edit2->fontMetrics().horizontalAdvance(QStringLiteral(">SW10 ")) + 8);
    Edit2->setMaximumWidth(70);
    SpeedButton2 =
        button("SpeedButton2", QStringLiteral("追加設定"), QStringLiteral("さらにカードを編集"));
    SpeedButton4 = button("SpeedButton4", QStringLiteral("色"), QStringLiteral("文字・カードの色"));
    SpeedButton15 = button("SpeedButton15", QStringLiteral("←"), QStringLiteral("左へ"));
    SpeedButton14 = button("SpeedButton14", QStringLiteral("↑"), QStringLiteral("上へ"));
    SpeedButton13 = button("SpeedButton13", QStringLiteral("↓"), QStringLiteral("下へ"));
    SpeedButton11 = button("SpeedButton11", QStringLiteral("→"), QStringLiteral("右へ"));
    SpeedButton12 = button("SpeedButton12", QStringLiteral("保存・ていあん"),
                           QStringLiteral("カード名.txt の保存"));
    SpeedButton1 =
        button("SpeedButton1", QStringLiteral("キャンセル"), QStringLiteral("保存と提案"));
    auto* bar = new QHBoxLayout;
    bar->setContentsMargins(2, 2, 2, 2);
    bar->setSpacing(2);
    for (QWidget* w : std::initializer_list<QWidget*>{
             SpeedButton9, Edit2, SpeedButton2, SpeedButton4, SpeedButton15, SpeedButton14,
             SpeedButton13, SpeedButton11, SpeedButton12, SpeedButton1})
        bar->addWidget(w);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(Panel2, 1);
    column->addLayout(bar);
    Panel2->setMinimumHeight(16);
    resize(529, 105);
    Panel2->resize(529, kTextPanelHeight);

    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    QMenu* text = PopupMenu1->addMenu(QStringLiteral("文字色"));
    for (const Named& c : kTextColours) {
        const int code = c.code;
        text->addAction(QString::fromUtf16(c.name), this, [this, code] { setTextColour(code); });
    }
    QMenu* card = PopupMenu1->addMenu(QStringLiteral("カード色"));
    for (const Named& c : kCardColours) {
        const int code = c.code;
        card->addAction(QString::fromUtf16(c.name), this, [this, code] { setCardColour(code); });
    }

    connect(SpeedButton4, &QToolButton::clicked, this,
            [this] { PopupMenu1->popup(QCursor::pos()); });
    connect(SpeedButton11, &QToolButton::clicked, this, [this] { step(Arrow::Right); });
    connect(SpeedButton13, &QToolButton::clicked, this, [this] { step(Arrow::Down); });
    connect(SpeedButton14, &QToolButton::clicked, this, [this] { step(Arrow::Up); });
    connect(SpeedButton15, &QToolButton::clicked, this, [this] { step(Arrow::Left); });
    connect(SpeedButton12, &QToolButton::clicked, this, [this] { save(false); });
    connect(SpeedButton2, &QToolButton::clicked, this, [this] { save(true); });
    connect(SpeedButton9, &QToolButton::clicked, this, [this] {
        resultCode = MakeNameTags;
        accept();
    });
    connect(SpeedButton1, &QToolButton::clicked, this, &QDialog::reject);
    connect(Memo1, &QTextEdit::textChanged, this, [this] {
        FSIZE();
        updateHints();
    });
    auto* saveKey = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Return), this);
    connect(saveKey, &QShortcut::activated, this, [this] { save(false); });
    auto* saveEnter = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Enter), this);
    connect(saveEnter, &QShortcut::activated, this, [this] { save(false); });

    setTextColour(textCode);
    setCardColour(cardCode);
}

QToolButton* QuickCardEditor::button(const char* name, const QString& caption,
                                     const QString& hint) {
    auto* b = new QToolButton(this);
    b->setObjectName(QLatin1String(name));
    b->setText(caption);
    b->setToolTip(hint);
    return b;
}

int QuickCardEditor::run(const QString& wallFolder, const QRect& wallWindow, int NOWY,
                         const NameTaken& taken) {
    wallFolder_ = wallFolder;
    wallWindow_ = wallWindow;
    NOWY_ = NOWY;
    taken_ = taken;
    setWindowTitle(wallFolder);
    resultCode = Nothing;
    moreSettings = false;
    Memo1->setPlainText(proposedCardName(wallFolder, taken));
    Memo1->selectAll();
    Memo1->setFocus();
    FSIZE();
    updateHints();
    exec();
    return resultCode;
}

void QuickCardEditor::placeTextArea(QPoint topLeft) {
    // The window's own frame lies around its client area: place the text
    // area, wherever the window manager puts the frame.
    const QPoint inWindow = Memo1->mapTo(this, QPoint(0, 0));
    move(topLeft - inWindow - (mapToGlobal(QPoint(0, 0)) - pos()));
}

QRect QuickCardEditor::textAreaOnScreen() const {
    return QRect(Memo1->mapToGlobal(QPoint(0, 0)), Memo1->size());
}

void QuickCardEditor::setTextColour(int code) {
    const auto colour = textColour(code);
    if (!colour)
        return;
    textCode = code;
    QPalette pal = Memo1->palette();
    pal.setColor(QPalette::Text, *colour);
    Memo1->setPalette(pal);
}

void QuickCardEditor::setCardColour(int code) {
    const auto colour = cardColour(code);
    if (!colour)
        return;
    cardCode = code;
    QPalette pal = Memo1->palette();
    pal.setColor(QPalette::Base, *colour);
    Memo1->setPalette(pal);
}

void QuickCardEditor::step(Arrow arrow) {
    const QRect area = textAreaOnScreen();
    const QPoint inWall = area.topLeft() - wallWindow_.topLeft();
    const QPoint to = arrowStep(inWall, area.size(), wallWindow_.size(), arrow);
    placeTextArea(wallWindow_.topLeft() + to);
}

void QuickCardEditor::FSIZE() {
    const QString text = Memo1->toPlainText();
    const int lines = std::max(1, int(text.count(QLatin1Char('\n'))) + 1);
    QFont font = Memo1->font();
    font.setPointSize(std::max(1, mainFontSize(Memo1->height(), lines, false, NOWY_)));
    if (font != Memo1->font()) {
        const QSignalBlocker quiet(Memo1);
        Memo1->setFont(font);
    }
    // Every line centred, as on the card.
    QTextOption centred = Memo1->document()->defaultTextOption();
    if (centred.alignment() != Qt::AlignHCenter) {
        centred.setAlignment(Qt::AlignHCenter);
        Memo1->document()->setDefaultTextOption(centred);
    }
}

void QuickCardEditor::updateHints() {
    // The name the card's file will have, as the save button will make it.
    const QString file = cleanCardFileName(Memo1->toPlainText() + QStringLiteral(".txt"));
    SpeedButton12->setToolTip(QStringLiteral("「") + file + QStringLiteral("」を保存"));
    SpeedButton2->setToolTip(QStringLiteral("「") + file +
                             QStringLiteral("」を保存して、さらに設定を追加"));
    const QRect area = textAreaOnScreen();
    const QPoint at = area.topLeft() - wallWindow_.topLeft();
    Panel2->setToolTip(QStringLiteral("[横%1,縦%2]に%3×%4のカードを作る")
                           .arg(at.x())
                           .arg(at.y())
                           .arg(Panel2->width())
                           .arg(Panel2->height()));
    SpeedButton15->setToolTip(QStringLiteral("左へ%1ドット").arg(area.width()));
    SpeedButton11->setToolTip(QStringLiteral("右へ%1ドット").arg(area.width()));
    SpeedButton14->setToolTip(QStringLiteral("上へ%1ドット").arg(area.height()));
    SpeedButton13->setToolTip(QStringLiteral("下へ%1ドット").arg(area.height()));
}

void QuickCardEditor::save(bool more) {
    const NameCheck check = checkQuickName(Memo1->toPlainText(), taken_);
    if (check.problem != NameProblem::None) {
        zavikBeep();
        const QString message = nameProblemMessage(check);
        if (!message.isEmpty())
            QMessageBox::information(this, QStringLiteral("Zavik"), message);
        return;
    }
    DDNAME = check.fileName.chopped(4);
    resultCode = MakeCard;
    moreSettings = more;
    accept();
}

void QuickCardEditor::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    FSIZE();
    updateHints();
}

bool QuickCardEditor::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Memo1 &&
        (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::FocusIn)) {
        FSIZE();
        updateHints();
    }
    return QDialog::eventFilter(watched, event);
}
