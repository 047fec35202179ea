#include "dialogs/cardeditorform.h"

#include "model/cardcolors.h"
#include "pictures/cardpicture.h"
#include "pictures/picturelayer.h"
#include "storage/pathforms.h"

#include <QCheckBox>
#include <QDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

// The memos show text colour 6 a shade off white, so that it stays readable.
const QColor kNearWhite(240, 251, 255);

// The text colour buttons, left to right.
const int kTextButtonOrder[] = {1, 8, 7, 2, 3, 4, 5, 9, 6};

QPixmap swatch(const QColor& colour) {
    QPixmap p(14, 14);
    p.fill(colour);
    return p;
}

QLineEdit* line(QDialog* dialog, const char* name, const QString& hint = QString()) {
    auto* e = new QLineEdit(dialog);
    e->setObjectName(QLatin1String(name));
    e->setToolTip(hint);
    return e;
}

QPlainTextEdit* memo(QDialog* dialog, const char* name, const QString& hint) {
    auto* m = new QPlainTextEdit(dialog);
    m->setObjectName(QLatin1String(name));
    m->setToolTip(hint);
    m->setTabChangesFocus(true);
    return m;
}

QToolButton* tool(QDialog* dialog, const QString& name, const QString& caption,
                  const QString& hint) {
    auto* b = new QToolButton(dialog);
    b->setObjectName(name);
    b->setText(caption);
    b->setToolTip(hint);
    return b;
}

template <typename Box>
Box* choice(QDialog* dialog, const char* name, const QString& caption, const QString& hint) {
    auto* b = new Box(caption, dialog);
    b->setObjectName(QLatin1String(name));
    b->setToolTip(hint);
    return b;
}

} // namespace

CardEditorForm::CardEditorForm(QDialog* dialog) {
    nameEdit = line(dialog, "Edit3", QStringLiteral("この名前でtxtファイルが作られる"));
    leftEdit = line(dialog, "Edit4");
    topEdit = line(dialog, "Edit5");
    widthEdit = line(dialog, "Edit6");
    heightEdit = line(dialog, "Edit7");
    markMemo = memo(dialog, "Memo5", QStringLiteral("カードの中の最初に表示"));
    textMemo = memo(dialog, "Memo2", QStringLiteral("カードに表示される文字"));
    QFont big = textMemo->font();
    big.setPointSize(20);
    textMemo->setFont(big);
    markMemo->setFont(big);
    flashMemo =
        memo(dialog, "Memo3", QStringLiteral("左クリックすると数秒間表示されて消える文字カード"));
    hintMemo = memo(dialog, "Memo1", QStringLiteral("マウスを乗せると表示されるヒント文字"));
    linkEdit = line(dialog, "Edit2",
                    QStringLiteral("左クリックで実行されるファイル名、あるいはリンクコマンド"));
    pictureEdit = line(dialog, "Edit8", QStringLiteral("カードに表示するNAIL画像名"));
    removedPictureEdit = line(dialog, "Edit1");
    removedPictureEdit->hide();
    stampBox = choice<QCheckBox>(dialog, "CheckBox1", QStringLiteral("スタンプ"),
                                 QStringLiteral("日付名のカードでコピーする"));
    checkOffBox = choice<QCheckBox>(dialog, "CheckBox2", QStringLiteral("ペロリ"),
                                    QStringLiteral("小さくしたカードをペロリともどす"));
    rectangleButton = choice<QRadioButton>(dialog, "RadioButton1", QStringLiteral("四角形"),
                                           QStringLiteral("カードの外形を縁ありの 四角形にする"));
    ellipseButton = choice<QRadioButton>(dialog, "RadioButton2", QStringLiteral("だ円形"),
                                         QStringLiteral("カードの外形を縁なしの だ円形にする"));

    colourPanel = new QWidget(dialog);
    colourPanel->setObjectName(QStringLiteral("Panel6"));
    colourPanel->setAutoFillBackground(true);
    colourPanel->setFixedSize(110, 90);
    pictureView = new QLabel(colourPanel);
    pictureView->setObjectName(QStringLiteral("Image1"));
    pictureView->setGeometry(2, 2, 106, 86);
    pictureView->setScaledContents(true);

    pictureButton = tool(dialog, QStringLiteral("SpeedButton1"), QStringLiteral("画像"),
                         QStringLiteral("カードに表示されるNAIL画像"));
    cardPictureButton = tool(dialog, QStringLiteral("SpeedButton25"), QStringLiteral("カード画"),
                             QStringLiteral("ファイルをNAIL画像にしてカードに表示"));
    pasteButton = tool(dialog, QStringLiteral("SpeedButton34"), QStringLiteral("ペースト"),
                       QStringLiteral("クリップボードをNAIL画像にしてカードに表示"));
    removePictureButton = tool(dialog, QStringLiteral("SpeedButton12"), QStringLiteral("×"),
                               QStringLiteral("NAIL画像表示の設定を無くす"));
    cancelButton = tool(dialog, QStringLiteral("SpeedButton4"), QStringLiteral("キャンセル"),
                        QStringLiteral("キャンセルして閉じる"));
    saveButton = tool(dialog, QStringLiteral("saveButton"), QStringLiteral("保存・ていあん"),
                      QStringLiteral("保存・ていあんして閉じる"));

    auto* cardColours = new QHBoxLayout;
    cardColours->setSpacing(1);
    for (int code = 1; code <= 19; ++code) {
        QToolButton* b = tool(dialog, QStringLiteral("cardColour%1").arg(code), QString(),
                              QStringLiteral("ポスターの色"));
        b->setIcon(swatch(code == kTransparentCard ? QColor(128, 128, 128) : *cardColour(code)));
        cardColourButtons << ColourButton{b, code};
        cardColours->addWidget(b);
    }
    auto* textColours = new QHBoxLayout;
    textColours->setSpacing(1);
    for (const int code : kTextButtonOrder) {
        QToolButton* b = tool(dialog, QStringLiteral("textColour%1").arg(code), QString(),
                              QStringLiteral("文字１と文字２の色"));
        b->setIcon(swatch(*textColour(code)));
        textColourButtons << ColourButton{b, code};
        textColours->addWidget(b);
    }
    textColours->addStretch();

    auto linkButton = [dialog](const QString& caption, const QString& hint) {
        return tool(dialog, QString(), caption, hint);
    };
    branchToPictureNameButton =
        tool(dialog, QStringLiteral("SpeedButton2"), QStringLiteral("カード画名分岐"),
             QStringLiteral("カード画名のフォルダを作ってに分岐"));
    branchToCardNameButton = linkButton(QStringLiteral("カード名分岐"),
                                        QStringLiteral("カード名のフォルダを作って分岐"));
    branchToFolderButton =
        linkButton(QStringLiteral("フォルダ名分岐"), QStringLiteral("撰んだフォルダへ分岐"));
    showFilesButton = linkButton(QStringLiteral("ファイルを表示"),
                                 QStringLiteral("撰んだファイルを実行・表示するカードを作る"));
    showAsBackgroundButton =
        linkButton(QStringLiteral("背景に表示"),
                   QStringLiteral("撰んだ画像を_原画名と画像名でコピーして背景にする"));
    growRightButton = linkButton(QStringLiteral("右拡大"), QStringLiteral("右へ10ドット拡大"));
    growLeftButton = linkButton(QStringLiteral("左拡大"), QStringLiteral("左に10ドット拡大"));
    growUpButton = linkButton(QStringLiteral("上拡大"), QStringLiteral("上に10ドット拡大"));
    growDownButton = linkButton(QStringLiteral("下拡大"), QStringLiteral("下へ10ドット拡大"));
    // These only write the link field, which stores the link at once.
    const QList<QPair<QToolButton*, QString>> commands{{growRightButton, QStringLiteral(">SW10")},
                                                       {growLeftButton, QStringLiteral(">Sw10")},
                                                       {growUpButton, QStringLiteral(">SH10")},
                                                       {growDownButton, QStringLiteral(">Sh10")}};
    for (const auto& command : commands) {
        const QString link = command.second;
        QObject::connect(command.first, &QToolButton::clicked, dialog,
                         [this, link] { linkEdit->setText(link); });
    }
    QObject::connect(branchToCardNameButton, &QToolButton::clicked, dialog,
                     [this] { linkEdit->setText(nameEdit->text() + QLatin1Char('\\')); });
    QObject::connect(nameEdit, &QLineEdit::textChanged, dialog,
                     [this](const QString& name) { showSaveHint(name); });
    QObject::connect(pictureEdit, &QLineEdit::textChanged, dialog, [this](const QString& name) {
        branchToPictureNameButton->setEnabled(!name.isEmpty());
    });
    auto* links = new QGridLayout;
    const QList<QToolButton*> linkRow{
        branchToCardNameButton, branchToPictureNameButton, branchToFolderButton, showFilesButton,
        showAsBackgroundButton, growRightButton,           growLeftButton,       growUpButton,
        growDownButton};
    for (int i = 0; i < linkRow.size(); ++i)
        links->addWidget(linkRow[i], i / 5, i % 5);

    auto caption = [dialog](const QString& text) { return new QLabel(text, dialog); };
    auto* grid = new QGridLayout;
    grid->addWidget(caption(QStringLiteral("カード名")), 0, 0);
    grid->addWidget(nameEdit, 0, 1, 1, 3);
    grid->addWidget(caption(QStringLiteral("X位置")), 1, 0);
    grid->addWidget(leftEdit, 1, 1);
    grid->addWidget(caption(QStringLiteral("Y位置")), 1, 2);
    grid->addWidget(topEdit, 1, 3);
    grid->addWidget(caption(QStringLiteral("幅")), 2, 0);
    grid->addWidget(widthEdit, 2, 1);
    grid->addWidget(caption(QStringLiteral("縦")), 2, 2);
    grid->addWidget(heightEdit, 2, 3);
    grid->addWidget(caption(QStringLiteral("カード色")), 3, 0);
    grid->addLayout(cardColours, 3, 1, 1, 3);
    grid->addWidget(caption(QStringLiteral("文字色")), 4, 0);
    grid->addLayout(textColours, 4, 1, 1, 3);
    auto* shapes = new QHBoxLayout;
    shapes->addWidget(rectangleButton);
    shapes->addWidget(ellipseButton);
    shapes->addWidget(stampBox);
    shapes->addWidget(checkOffBox);
    shapes->addStretch();
    grid->addLayout(shapes, 5, 0, 1, 4);
    grid->addWidget(caption(QStringLiteral("★○×")), 6, 0);
    grid->addWidget(markMemo, 6, 1, 1, 3);
    grid->addWidget(caption(QStringLiteral("文字")), 7, 0);
    grid->addWidget(textMemo, 7, 1, 1, 3);
    grid->addWidget(caption(QStringLiteral("フラッシュ文字")), 8, 0);
    grid->addWidget(flashMemo, 8, 1, 1, 3);
    grid->addWidget(caption(QStringLiteral("ヒント")), 9, 0);
    grid->addWidget(hintMemo, 9, 1, 1, 3);
    grid->addWidget(caption(QStringLiteral("リンク")), 10, 0);
    grid->addWidget(linkEdit, 10, 1, 1, 3);
    grid->addLayout(links, 11, 0, 1, 4);
    markMemo->setFixedHeight(40);
    textMemo->setMinimumHeight(80);
    flashMemo->setFixedHeight(44);
    hintMemo->setFixedHeight(44);

    auto* pictureColumn = new QVBoxLayout;
    pictureColumn->addWidget(colourPanel);
    pictureColumn->addWidget(pictureEdit);
    for (QToolButton* b : {pictureButton, cardPictureButton, pasteButton, removePictureButton})
        pictureColumn->addWidget(b);
    pictureColumn->addStretch();
    pictureColumn->addWidget(saveButton);
    pictureColumn->addWidget(cancelButton);

    auto* whole = new QHBoxLayout(dialog);
    whole->addLayout(grid, 1);
    whole->addLayout(pictureColumn);
    dialog->resize(735, 472);

    // Tab goes through the fields as they stand, top to bottom.
    const QList<QWidget*> order{nameEdit,        leftEdit,      topEdit,  widthEdit,   heightEdit,
                                rectangleButton, ellipseButton, stampBox, checkOffBox, markMemo,
                                textMemo,        flashMemo,     hintMemo, linkEdit,    pictureEdit};
    for (int i = 0; i < order.size() - 1; ++i)
        QWidget::setTabOrder(order[i], order[i + 1]);
}

void CardEditorForm::showColours(int cardCode, int textCode) {
    const QColor fill = cardCode == kTransparentCard ? QColor(128, 128, 128)
                                                     : cardColour(cardCode).value_or(Qt::white);
    QPalette panel = colourPanel->palette();
    panel.setColor(QPalette::Window, fill);
    colourPanel->setPalette(panel);
    const QColor ink = textCode == 6 ? kNearWhite : textColour(textCode).value_or(Qt::black);
    for (QPlainTextEdit* m : {textMemo, flashMemo}) {
        QPalette pal = m->palette();
        pal.setColor(QPalette::Base, fill);
        pal.setColor(QPalette::Text, ink);
        m->setPalette(pal);
    }
}

void CardEditorForm::showPicture(const QString& name, const QString& wallFolder,
                                 const QString& dataFolder) {
    if (name.isEmpty()) {
        pictureView->clear();
        return;
    }
    const QString thumb = thumbnailPath(name, wallFolder);
    const QString picture = ZETTAI(name, wallFolder, dataFolder);
    const QString shown = QFileInfo(thumb).isFile() ? thumb : picture;
    const QImage image = readPicture(shown, [](QSize) { return QSize(212, 172); }).image;
    pictureView->setPixmap(QPixmap::fromImage(image));
}

void CardEditorForm::showSaveHint(const QString& cardName) {
    saveButton->setToolTip(QStringLiteral("「") + cardName + QStringLiteral(".txt」を保存"));
}
