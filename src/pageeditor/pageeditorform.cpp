#include "pageeditor/pageeditorform.h"

#include "cards/menuitems.h"
#include "pageeditor/pagedocument.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

// The framed text keeps the width of a printed page's text column.
constexpr int WAKU = 906;

QPlainTextEdit* textField(QWidget* parent, const char* name, const QString& hint) {
    auto* memo = new QPlainTextEdit(parent);
    memo->setObjectName(QLatin1String(name));
    memo->setPlaceholderText(hint);
    memo->setToolTip(hint);
    memo->setTabChangesFocus(true);
    return memo;
}

QLineEdit* lineField(QWidget* parent, const char* name, const QString& hint, bool readOnly) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QLatin1String(name));
    edit->setToolTip(hint);
    edit->setReadOnly(readOnly);
    return edit;
}

// A button that leaves the keyboard where it is, in the text being marked up.
QToolButton* commandButton(QWidget* parent, const char* name, const QString& caption,
                           const QString& hint) {
    QToolButton* b = makeToolButton(parent, name, caption, hint);
    b->setFocusPolicy(Qt::NoFocus);
    return b;
}

} // namespace

PageEditorForm::PageEditorForm(QWidget* window) {
    auto* top = new QVBoxLayout(window);
    top->setContentsMargins(4, 4, 4, 4);
    top->addLayout(buildCommandBar(window));
    top->addWidget(buildDesignBar(window));
    top->addWidget(buildFields(window), 1);
    top->addWidget(buildSource(window), 1);
}

QBoxLayout* PageEditorForm::buildCommandBar(QWidget* window) {
    auto* bar = new QHBoxLayout;
    auto button = [window, bar](const char* name, const QString& caption, const QString& hint) {
        QToolButton* b = commandButton(window, name, caption, hint);
        bar->addWidget(b);
        return b;
    };
    saveOverButton =
        button("BitBtn4", QStringLiteral("上書き保存"), QStringLiteral("上書き保存して終了"));
    saveAsButton =
        button("BitBtn1", QStringLiteral("名付けて保存"), QStringLiteral("メニューで保存して終了"));
    closeButton = button("BitBtn2", QStringLiteral("閉じる"), QStringLiteral("保存しないで終了"));
    bar->addSpacing(16);
    sourceButton = button("SpeedButton28", QStringLiteral("</>"), QStringLiteral("ソースの編集"));
    clearTextsButton =
        button("SpeedButton27", QStringLiteral("DEL"), QStringLiteral("全ての文字削除"));
    bar->addStretch();
    return bar;
}

QWidget* PageEditorForm::buildDesignBar(QWidget* window) {
    auto* bar = new QWidget(window);
    auto* rows = new QVBoxLayout(bar);
    rows->setContentsMargins(0, 0, 0, 0);
    auto* first = new QHBoxLayout;
    auto* second = new QHBoxLayout;
    auto* third = new QHBoxLayout;
    rows->addLayout(first);
    rows->addLayout(second);
    rows->addLayout(third);
    auto button = [bar](QHBoxLayout* row, const char* name, const QString& caption,
                        const QString& hint, bool checkable = true) {
        QToolButton* b = commandButton(bar, name, caption, hint);
        b->setCheckable(checkable);
        row->addWidget(b);
        return b;
    };
    coverButton = button(first, "SpeedButton13", QStringLiteral("表紙"), QStringLiteral("表紙"));
    itemButton =
        button(first, "SpeedButton18", QStringLiteral("アイテム"), QStringLiteral("アイテム"));
    presentationButton =
        button(first, "SpeedButton14", QStringLiteral("プレゼン"), QStringLiteral("プレゼン"));
    noteButton = button(first, "SpeedButton15", QStringLiteral("ノート"), QStringLiteral("ノート"));
    first->addSpacing(12);
    auto alignButtons = [&](const char* const names[3]) {
        return std::array<QToolButton*, 3>{
            button(first, names[0], QStringLiteral("左"), QStringLiteral("左よせ")),
            button(first, names[1], QStringLiteral("中"), QStringLiteral("中央")),
            button(first, names[2], QStringLiteral("右"), QStringLiteral("右よせ"))};
    };
    static const char* const bigNames[] = {"SpeedButton4", "SpeedButton5", "SpeedButton6"};
    static const char* const smallNames[] = {"SpeedButton7", "SpeedButton8", "SpeedButton9"};
    first->addWidget(new QLabel(QStringLiteral("大見出し"), bar));
    bigHeadingAlignButtons = alignButtons(bigNames);
    first->addWidget(new QLabel(QStringLiteral("小見出し"), bar));
    smallHeadingAlignButtons = alignButtons(smallNames);
    first->addSpacing(12);
    framedAlignButtons = {
        button(first, "SpeedButton19", QStringLiteral("枠左"), QStringLiteral("枠文字左")),
        button(first, "SpeedButton20", QStringLiteral("枠中央"), QStringLiteral("枠文字中央")),
        button(first, "SpeedButton21", QStringLiteral("枠右"), QStringLiteral("文字左枠右"))};
    first->addStretch();

    pictureLeftButton = button(second, "SpeedButton10", QStringLiteral("画像左"),
                               QStringLiteral("左に画像、右に文字を配置"));
    centredButton = button(second, "SpeedButton11", QStringLiteral("画像中央"),
                           QStringLiteral("中央に文字と画像を配置"));
    pictureRightButton = button(second, "SpeedButton12", QStringLiteral("画像右"),
                                QStringLiteral("左に文字、右に画像を配置"));
    textOnlyButton =
        button(second, "SpeedButton3", QStringLiteral("文字だけ"),
               QStringLiteral("左クリック：文字だけ配置／右クリック：枠無し文字の削除"));
    second->addSpacing(12);
    struct Markup {
        const char* name;
        const char* caption;
        const char* hint;
        const char* start;
        const char* end;
    };
    static const Markup markups[] = {
        {"SpeedButton24", "赤", "選択文字を赤色", "<font color=\"#ff0000\">", "</font>"},
        {"SpeedButton26", "青", "選択文字を青色", "<font color=\"#0000ff\">", "</font>"},
        {"SpeedButton25", "下線", "選択文字に下線", "<u>", "</u>"},
        {"SpeedButton32", "太字", "選択文字を太字", "<strong>", "</strong>"},
        {"SpeedButton33", "大", "選択文字を大きく", "<font size=\"+1\">", "</font>"},
        {"SpeedButton29", "上付", "上付き", "<sup>", "</sup>"},
        {"SpeedButton30", "下付", "下付き", "<sub>", "</sub>"},
    };
    for (const Markup& m : markups)
        markupButtons.append(
            {button(second, m.name, QString::fromUtf8(m.caption), QString::fromUtf8(m.hint), false),
             QString::fromUtf8(m.start), QString::fromUtf8(m.end)});
    second->addStretch();
    rubyButton =
        button(third, "SpeedButton31", QStringLiteral("ルビ"), QStringLiteral("ルビ"), false);
    insertLinkButton = button(third, "SpeedButton16", QStringLiteral("リンクの挿入"),
                              QStringLiteral("リンクの挿入"), false);
    third->addSpacing(12);
    insertPictureButton = button(third, "SpeedButton34", QStringLiteral("画像の挿入"),
                                 QStringLiteral("画像の挿入"), false);
    titlePictureButton = button(third, "SpeedButton22", QStringLiteral("TOP画像の挿入"),
                                QStringLiteral("タイトル画像の読み込み"), false);
    backgroundButton = button(third, "SpeedButton40", QStringLiteral("背景"),
                              QStringLiteral("背景画像の読み込み"), false);
    third->addStretch();
    return bar;
}

QWidget* PageEditorForm::buildFields(QWidget* window) {
    fieldsPanel = new QWidget(window);
    auto* fields = new QVBoxLayout(fieldsPanel);
    fields->setContentsMargins(0, 0, 0, 0);
    auto* titleRow = new QHBoxLayout;
    titleRow->addWidget(new QLabel(QStringLiteral("TITLE"), fieldsPanel));
    titleEdit =
        lineField(fieldsPanel, "Edit1", QStringLiteral("見出し２が無ければLOOKで検索"), false);
    titleRow->addWidget(titleEdit);
    fields->addLayout(titleRow);
    bigHeadingEdit = textField(fieldsPanel, "Memo4", QStringLiteral("大見出し"));
    smallHeadingEdit = textField(fieldsPanel, "Memo5", QStringLiteral("小見出し"));
    fields->addWidget(bigHeadingEdit);
    fields->addWidget(smallHeadingEdit);
    headingRule = new QFrame(fieldsPanel);
    headingRule->setObjectName(QStringLiteral("Panel10"));
    headingRule->setFrameShape(QFrame::HLine);
    fields->addWidget(headingRule);
    framedPanel = new QWidget(fieldsPanel);
    auto* framedRow = new QHBoxLayout(framedPanel);
    framedRow->setContentsMargins(0, 0, 0, 0);
    framedTextEdit = textField(framedPanel, "Memo1", QStringLiteral("外枠あり"));
    framedTextEdit->setMaximumWidth(WAKU);
    framedTextEdit->setFrameShape(QFrame::Box);
    // The spaces beside the framed text dock it left, right or in the middle.
    framedRow->addStretch(0);
    framedRow->addWidget(framedTextEdit, 100);
    framedRow->addStretch(1);
    fields->addWidget(framedPanel, 2);

    // The picture-or-link paragraph beside the unframed text.
    pictureRow = new QHBoxLayout;
    pictureRow->addWidget(buildPicturePanel(fieldsPanel));
    unframedTextEdit = textField(fieldsPanel, "Memo2", QStringLiteral("枠無し"));
    pictureRow->addWidget(unframedTextEdit, 1);
    fields->addLayout(pictureRow, 3);
    coverPanel = new QWidget(fieldsPanel);
    coverPanel->setObjectName(QStringLiteral("coverPanel"));
    coverPanel->setAutoFillBackground(true);
    coverPanel->hide();
    fields->addWidget(coverPanel, 3);
    auto* bottom = new QHBoxLayout;
    linkPictureBelowButton =
        commandButton(fieldsPanel, "SpeedButton17", QStringLiteral("画像へのリンク"),
                      QStringLiteral("左クリックで画像にリンク／右クリックで解除"));
    bottom->addWidget(linkPictureBelowButton);
    bottom->addStretch();
    fields->addLayout(bottom);
    return fieldsPanel;
}

QWidget* PageEditorForm::buildPicturePanel(QWidget* fields) {
    picturePanel = new QWidget(fields);
    picturePanel->setObjectName(QStringLiteral("Panel6"));
    auto* grid = new QGridLayout(picturePanel);
    grid->setContentsMargins(0, 0, 0, 0);
    picturePreview = new QLabel(picturePanel);
    picturePreview->setObjectName(QStringLiteral("Image1"));
    picturePreview->setAlignment(Qt::AlignCenter);
    picturePreview->setMinimumSize(160, 120);
    picturePreview->setFrameShape(QFrame::StyledPanel);
    picturePreview->setToolTip(QStringLiteral("ダブルクリックで画像を開く"));
    pictureNameEdit = lineField(picturePanel, "Gname", QStringLiteral("画像ファイル名"), true);
    pictureWidthEdit = lineField(picturePanel, "GX", QStringLiteral("横"), true);
    pictureHeightEdit = lineField(picturePanel, "GY", QStringLiteral("縦"), true);
    linkFileEdit = lineField(picturePanel, "Edit2", QStringLiteral("リンクファイル名"), true);
    linkTextEdit = lineField(picturePanel, "Edit3", QStringLiteral("リンク文字"), true);
    linkTextEdit->hide();
    pictureSizeBar = new QScrollBar(Qt::Horizontal, picturePanel);
    pictureSizeBar->setObjectName(QStringLiteral("ScrollBar1"));
    pictureSizeBar->setToolTip(QStringLiteral("画像サイズ"));
    pictureSizeBar->setRange(kPictureBarMin, kPictureBarMax);
    loadPictureButton =
        commandButton(picturePanel, "SpeedButton1", QStringLiteral("画像"),
                      QStringLiteral("左クリック：画像の読み込み／右クリック：画像削除"));
    paintButton = commandButton(picturePanel, "SpeedButton2", QStringLiteral("ペイント"),
                                QStringLiteral("左クリックで修正／右クリックで新規作成"));
    linkPictureButton = commandButton(picturePanel, "SpeedButton37", QStringLiteral("リンク"),
                                      QStringLiteral("左クリックで画像にリンク／右クリックで解除"));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(loadPictureButton);
    buttons->addWidget(paintButton);
    buttons->addWidget(linkPictureButton);
    grid->addLayout(buttons, 5, 0, 1, 4);
    grid->addWidget(picturePreview, 0, 0, 1, 4);
    grid->addWidget(pictureSizeBar, 4, 0, 1, 4);
    grid->addWidget(pictureNameEdit, 1, 0, 1, 4);
    grid->addWidget(new QLabel(QStringLiteral("横"), picturePanel), 2, 0);
    grid->addWidget(pictureWidthEdit, 2, 1);
    grid->addWidget(new QLabel(QStringLiteral("縦"), picturePanel), 2, 2);
    grid->addWidget(pictureHeightEdit, 2, 3);
    grid->addWidget(new QLabel(QStringLiteral("リンク"), picturePanel), 3, 0);
    grid->addWidget(linkFileEdit, 3, 1, 1, 3);
    return picturePanel;
}

QWidget* PageEditorForm::buildSource(QWidget* window) {
    sourcePanel = new QWidget(window);
    auto* source = new QVBoxLayout(sourcePanel);
    source->setContentsMargins(0, 0, 0, 0);
    sourceEdit = new QPlainTextEdit(sourcePanel);
    sourceEdit->setObjectName(QStringLiteral("Memo82"));
    sourceEdit->setLineWrapMode(QPlainTextEdit::NoWrap);
    source->addWidget(sourceEdit);
    sourcePanel->hide();
    return sourcePanel;
}

QList<QPlainTextEdit*> PageEditorForm::texts() const {
    return {bigHeadingEdit, smallHeadingEdit, framedTextEdit, unframedTextEdit};
}

void PageEditorForm::showFields(const PageFields& f) {
    titleEdit->setText(f.title);
    bigHeadingEdit->setPlainText(f.bigHeading);
    smallHeadingEdit->setPlainText(f.smallHeading);
    framedTextEdit->setPlainText(f.framedText);
    unframedTextEdit->setPlainText(f.unframedText);
    showPictureFields(f);
}

void PageEditorForm::showPictureFields(const PageFields& f) {
    pictureNameEdit->setText(f.pictureName);
    pictureWidthEdit->setText(f.pictureWidth);
    pictureHeightEdit->setText(f.pictureHeight);
    linkFileEdit->setText(f.linkFile);
    linkTextEdit->setText(f.linkText);
}

void PageEditorForm::takeFields(PageFields& f) const {
    f.title = titleEdit->text();
    f.bigHeading = bigHeadingEdit->toPlainText();
    f.smallHeading = smallHeadingEdit->toPlainText();
    f.framedText = framedTextEdit->toPlainText();
    f.unframedText = unframedTextEdit->toPlainText();
    f.linkFile = linkFileEdit->text();
    f.linkText = linkTextEdit->text();
}
