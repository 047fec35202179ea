#include "pageeditor/pageeditorwindow.h"

#include "cards/menuitems.h"
#include "pageeditor/pagefile.h"
#include "pageeditor/pagestyles.h"
#include "pageeditor/webtext.h"
#include "pictures/picturelayer.h"
#include "platform/shell.h"
#include "platform/trash.h"
#include "storage/htmlcopy.h"

#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTextCursor>
#include <QTextDocument>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

const QString kCaption = QStringLiteral("htmlエディター");
const QString kSourceHint = QStringLiteral("ソースの編集");

// The framed text keeps the width of a printed page's text column.
constexpr int WAKU = 906;
// The picture's display width, in pixels.
constexpr int kBarMin = 16;
constexpr int kBarMax = 1265;

// The longest stretch without a place to break a line that the text fields
// are given. Laying one out takes time that grows with its square: about
// 20 ms for this length, 2 s for ten times as much. A page the editor writes
// comes nowhere near it.
constexpr qsizetype kLongestUnbrokenRun = 10000;

QString folderOf(const QString& page) {
    return QFileInfo(page).absolutePath() + QLatin1Char('/');
}

// A whole number written in a size attribute, or -1.
int wholeNumber(const QString& text) {
    bool ok = false;
    const int v = text.trimmed().toInt(&ok);
    return ok && v > 0 ? v : -1;
}

// The source view edits plain lines; the page text uses CR LF (and a bare
// CR inside the template's pieces).
QString linesForView(QString text) {
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

QString linesFromView(QString text) {
    return text.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
}

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

} // namespace

PageEditorWindow::PageEditorWindow(QWidget* wallWindow) : QDialog(wallWindow) {
    setObjectName(QStringLiteral("TForm4"));
    setWindowTitle(kCaption);
    setModal(true);
    build();

    chooseSaveName = [this](const QString& suggested) {
        QFileDialog dialog(this, QStringLiteral("名付けて保存"), suggested,
                           QStringLiteral("HTML (*.htm*);;全部 (*)"));
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setDefaultSuffix(QStringLiteral("html"));
        dialog.selectFile(suggested);
        return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
    };
    choosePicture = [this](const QString& folder) {
        return QFileDialog::getOpenFileName(
            this, QStringLiteral("画像"), folder,
            QStringLiteral("画像ファイル (*.jpg *.jpeg *.bmp *.gif *.png);;"
                           "JPEG画像ファイル (*.jpg *.jpeg);;BMP画像ファイル (*.bmp);;"
                           "GIF画像ファイル (*.gif);;PNG画像ファイル (*.png)"));
    };
    chooseLinkFile = [this](const QString& folder) {
        return QFileDialog::getOpenFileName(
            this, QStringLiteral("画像へのリンク"), folder,
            QStringLiteral("全ファイル (*);;HTML (*.html);;TURX (*.trx);;"
                           "画像 (*.jpeg *.jpg *.gif *.bmp);;動画 (*.mvi *.wmv)"));
    };
    ask = [this](const QString& question) {
        QMessageBox box(QMessageBox::Question, kCaption, question,
                        QMessageBox::Yes | QMessageBox::No, this);
        box.button(QMessageBox::Yes)->setText(QStringLiteral("はい"));
        box.button(QMessageBox::No)->setText(QStringLiteral("いいえ"));
        box.setDefaultButton(QMessageBox::No);
        return box.exec() == QMessageBox::Yes;
    };
    tell = [this](const QString& text) {
        QMessageBox box(QMessageBox::Warning, kCaption, text, QMessageBox::Ok, this);
        box.button(QMessageBox::Ok)->setText(QStringLiteral("OK"));
        box.exec();
    };
}

void PageEditorWindow::build() {
    auto* top = new QVBoxLayout(this);
    top->setContentsMargins(4, 4, 4, 4);

    // The bar of commands.
    auto* bar = new QHBoxLayout;
    auto button = [this, bar](const char* name, const QString& caption, const QString& hint) {
        QToolButton* b = makeToolButton(this, name, caption, hint);
        b->setFocusPolicy(Qt::NoFocus);
        bar->addWidget(b);
        return b;
    };
    BitBtn4 = button("BitBtn4", QStringLiteral("上書き保存"), QStringLiteral("上書き保存して終了"));
    BitBtn1 =
        button("BitBtn1", QStringLiteral("名付けて保存"), QStringLiteral("メニューで保存して終了"));
    BitBtn2 = button("BitBtn2", QStringLiteral("閉じる"), QStringLiteral("保存しないで終了"));
    bar->addSpacing(16);
    SpeedButton28 = button("SpeedButton28", QStringLiteral("</>"), kSourceHint);
    SpeedButton27 =
        button("SpeedButton27", QStringLiteral("DEL"), QStringLiteral("全ての文字削除"));
    bar->addStretch();
    top->addLayout(bar);
    connect(BitBtn4, &QToolButton::clicked, this, &PageEditorWindow::saveOver);
    connect(BitBtn1, &QToolButton::clicked, this, &PageEditorWindow::saveAs);
    connect(BitBtn2, &QToolButton::clicked, this, &QDialog::reject);
    connect(SpeedButton28, &QToolButton::clicked, this, &PageEditorWindow::toggleSource);
    connect(SpeedButton27, &QToolButton::clicked, this, &PageEditorWindow::clearTexts);
    top->addWidget(buildDesignBar());

    // The fields, top to bottom as the page shows them.
    fieldsPanel_ = new QWidget(this);
    auto* fields = new QVBoxLayout(fieldsPanel_);
    fields->setContentsMargins(0, 0, 0, 0);
    auto* titleRow = new QHBoxLayout;
    titleRow->addWidget(new QLabel(QStringLiteral("TITLE"), fieldsPanel_));
    Edit1 = lineField(fieldsPanel_, "Edit1", QStringLiteral("見出し２が無ければLOOKで検索"), false);
    titleRow->addWidget(Edit1);
    fields->addLayout(titleRow);
    Memo4 = textField(fieldsPanel_, "Memo4", QStringLiteral("大見出し"));
    Memo5 = textField(fieldsPanel_, "Memo5", QStringLiteral("小見出し"));
    fields->addWidget(Memo4);
    fields->addWidget(Memo5);
    auto* rule = new QFrame(fieldsPanel_);
    rule->setObjectName(QStringLiteral("Panel10"));
    rule->setFrameShape(QFrame::HLine);
    fields->addWidget(rule);
    framedPanel_ = new QWidget(fieldsPanel_);
    auto* framedRow = new QHBoxLayout(framedPanel_);
    framedRow->setContentsMargins(0, 0, 0, 0);
    Memo1 = textField(framedPanel_, "Memo1", QStringLiteral("外枠あり"));
    Memo1->setMaximumWidth(WAKU);
    Memo1->setFrameShape(QFrame::Box);
    // The spaces beside the framed text dock it left, right or in the middle.
    framedRow->addStretch(0);
    framedRow->addWidget(Memo1, 100);
    framedRow->addStretch(1);
    fields->addWidget(framedPanel_, 2);

    // The picture-or-link paragraph beside the unframed text.
    auto* middle = new QHBoxLayout;
    middle_ = middle;
    auto* picture = new QWidget(fieldsPanel_);
    picture->setObjectName(QStringLiteral("Panel6"));
    picturePanel_ = picture;
    auto* pictureGrid = new QGridLayout(picture);
    pictureGrid->setContentsMargins(0, 0, 0, 0);
    Image1 = new QLabel(picture);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setAlignment(Qt::AlignCenter);
    Image1->setMinimumSize(160, 120);
    Image1->setFrameShape(QFrame::StyledPanel);
    Image1->setToolTip(QStringLiteral("ダブルクリックで画像を開く"));
    Image1->installEventFilter(this);
    Gname = lineField(picture, "Gname", QStringLiteral("画像ファイル名"), true);
    GX = lineField(picture, "GX", QStringLiteral("横"), true);
    GY = lineField(picture, "GY", QStringLiteral("縦"), true);
    Edit2 = lineField(picture, "Edit2", QStringLiteral("リンクファイル名"), true);
    Edit3 = lineField(picture, "Edit3", QStringLiteral("リンク文字"), true);
    Edit3->hide();
    ScrollBar1 = new QScrollBar(Qt::Horizontal, picture);
    ScrollBar1->setObjectName(QStringLiteral("ScrollBar1"));
    ScrollBar1->setToolTip(QStringLiteral("画像サイズ"));
    ScrollBar1->setRange(kBarMin, kBarMax);
    connect(ScrollBar1, &QScrollBar::valueChanged, this, &PageEditorWindow::sizeFromBar);
    auto pictureButton = [this, picture](const char* name, const QString& caption,
                                         const QString& hint) {
        QToolButton* b = makeToolButton(picture, name, caption, hint);
        b->setFocusPolicy(Qt::NoFocus);
        b->installEventFilter(this); // the right button has a meaning of its own
        return b;
    };
    SpeedButton1 =
        pictureButton("SpeedButton1", QStringLiteral("画像"),
                      QStringLiteral("左クリック：画像の読み込み／右クリック：画像削除"));
    SpeedButton2 = pictureButton("SpeedButton2", QStringLiteral("ペイント"),
                                 QStringLiteral("左クリックで修正／右クリックで新規作成"));
    SpeedButton37 = pictureButton("SpeedButton37", QStringLiteral("リンク"),
                                  QStringLiteral("左クリックで画像にリンク／右クリックで解除"));
    connect(SpeedButton1, &QToolButton::clicked, this, &PageEditorWindow::loadPicture);
    connect(SpeedButton2, &QToolButton::clicked, this, [this] { paintPicture(false); });
    connect(SpeedButton37, &QToolButton::clicked, this, &PageEditorWindow::linkPicture);
    auto* pictureButtons = new QHBoxLayout;
    pictureButtons->addWidget(SpeedButton1);
    pictureButtons->addWidget(SpeedButton2);
    pictureButtons->addWidget(SpeedButton37);
    pictureGrid->addLayout(pictureButtons, 5, 0, 1, 4);
    pictureGrid->addWidget(Image1, 0, 0, 1, 4);
    pictureGrid->addWidget(ScrollBar1, 4, 0, 1, 4);
    pictureGrid->addWidget(Gname, 1, 0, 1, 4);
    pictureGrid->addWidget(new QLabel(QStringLiteral("横"), picture), 2, 0);
    pictureGrid->addWidget(GX, 2, 1);
    pictureGrid->addWidget(new QLabel(QStringLiteral("縦"), picture), 2, 2);
    pictureGrid->addWidget(GY, 2, 3);
    pictureGrid->addWidget(new QLabel(QStringLiteral("リンク"), picture), 3, 0);
    pictureGrid->addWidget(Edit2, 3, 1, 1, 3);
    middle->addWidget(picture);
    Memo2 = textField(fieldsPanel_, "Memo2", QStringLiteral("枠無し"));
    middle->addWidget(Memo2, 1);
    for (QPlainTextEdit* memo : {Memo4, Memo5, Memo1, Memo2})
        memo->installEventFilter(this);
    fields->addLayout(middle, 3);
    coverPanel_ = new QWidget(fieldsPanel_);
    coverPanel_->setObjectName(QStringLiteral("coverPanel"));
    coverPanel_->setAutoFillBackground(true);
    coverPanel_->hide();
    fields->addWidget(coverPanel_, 3);
    auto* bottom = new QHBoxLayout;
    SpeedButton17 = makeToolButton(fieldsPanel_, "SpeedButton17", QStringLiteral("画像へのリンク"),
                                   QStringLiteral("左クリックで画像にリンク／右クリックで解除"));
    SpeedButton17->setFocusPolicy(Qt::NoFocus);
    SpeedButton17->installEventFilter(this);
    connect(SpeedButton17, &QToolButton::clicked, this, &PageEditorWindow::linkPicture);
    bottom->addWidget(SpeedButton17);
    bottom->addStretch();
    fields->addLayout(bottom);
    for (QPlainTextEdit* memo : {Memo4, Memo5, Memo1})
        connect(memo, &QPlainTextEdit::textChanged, this, &PageEditorWindow::growFields);
    top->addWidget(fieldsPanel_, 1);

    // The page source, shown instead of the fields.
    sourcePanel_ = new QWidget(this);
    auto* source = new QVBoxLayout(sourcePanel_);
    source->setContentsMargins(0, 0, 0, 0);
    Memo82 = new QPlainTextEdit(sourcePanel_);
    Memo82->setObjectName(QStringLiteral("Memo82"));
    Memo82->setLineWrapMode(QPlainTextEdit::NoWrap);
    source->addWidget(Memo82);
    sourcePanel_->hide();
    top->addWidget(sourcePanel_, 1);
}

QString PageEditorWindow::openPage(const QString& path, int tag) {
    setWindowTitle(path);
    savedAs_.clear();
    if (FormShow(tag))
        exec();
    FormClose();
    const QString saved = savedAs_;
    setWindowTitle(kCaption);
    return saved;
}

bool PageEditorWindow::FormShow(int tag) {
    if (QWidget* wall = parentWidget())
        resize(qRound(wall->width() * 2 / 3.0), qMax(200, wall->height() - 50));
    const QString path = page();
    QString text;
    if (tag == 1 && QFileInfo::exists(path)) {
        const PageRead read = readPageFile(path);
        if (!read.problem.isEmpty()) {
            say(read.problem);
            return false;
        }
        text = read.text;
    } else {
        text = document_.templateSource();
    }
    // The last page's picture and link must not reach this one.
    saves_ = PictureSaves();
    focused_ = nullptr;
    if (!loadShowable(text, path))
        return false;
    // Whether the fields keep the whole page is asked of a copy: the
    // document stays as it was read.
    const PageFields fields = document_.fields;
    const PagePieces pieces = document_.pieces;
    const PageMemory memory = memory_;
    keepsAll_ = tag != 1 || !QFileInfo::exists(path) || document_.keepsAll(text);
    document_.fields = fields;
    document_.pieces = pieces;
    memory_ = memory;

    sourceShown_ = false;
    SpeedButton28->setToolTip(kSourceHint);
    sourcePanel_->hide();
    fieldsPanel_->show();
    showFields();
    if (!keepsAll_)
        say(QStringLiteral("「%1」には、エディターの欄に入らない部分があります。"
                           "上書き保存すると、その部分は失われます（保存の前に確かめます）。")
                .arg(path));
    if (!document_.fields.missingPicture.isEmpty())
        say(QStringLiteral("画像「%1」がページのフォルダにありません。"
                           "画像の指定はそのまま残します。")
                .arg(document_.fields.missingPicture));
    Edit1->setFocus();
    return true;
}

bool PageEditorWindow::loadShowable(const QString& text, const QString& path) {
    // Read beside the document, which takes the reading only when the
    // fields can show it: a refused page leaves everything as it was.
    PageMemory memory = memory_;
    PageDocument read(memory);
    read.fields = document_.fields;
    read.pieces = document_.pieces;
    read.Edit_LOAD(text, folderOf(path));
    if (longestUnbrokenRun(read.fields) <= kLongestUnbrokenRun) {
        document_.fields = read.fields;
        document_.pieces = read.pieces;
        memory_ = memory;
        return true;
    }
    say(QStringLiteral("「%1」には、折り返せない長い文字の並び（深く入れ子になったタグなど）が"
                       "あるので、エディターでは編集できません。")
            .arg(path));
    return false;
}

void PageEditorWindow::FormClose() {
    document_.fields.sizesFromPage = false;
    document_.fields.pictureLoaded = false;
    Image1->clear();
}

void PageEditorWindow::showFields() {
    const PageFields& f = document_.fields;
    Edit1->setText(f.title);
    Memo4->setPlainText(f.bigHeading);
    Memo5->setPlainText(f.smallHeading);
    Memo1->setPlainText(f.framedText);
    Memo2->setPlainText(f.unframedText);
    Gname->setText(f.pictureName);
    GX->setText(f.pictureWidth);
    GY->setText(f.pictureHeight);
    Edit2->setText(f.linkFile);
    Edit3->setText(f.linkText);
    FormShow3();
    FormShow2();
}

void PageEditorWindow::showPictureFields() {
    const PageFields& f = document_.fields;
    Gname->setText(f.pictureName);
    GX->setText(f.pictureWidth);
    GY->setText(f.pictureHeight);
    Edit2->setText(f.linkFile);
    Edit3->setText(f.linkText);
}

void PageEditorWindow::takeFields() {
    PageFields& f = document_.fields;
    f.title = Edit1->text();
    f.bigHeading = Memo4->toPlainText();
    f.smallHeading = Memo5->toPlainText();
    f.framedText = Memo1->toPlainText();
    f.unframedText = Memo2->toPlainText();
    f.linkFile = Edit2->text();
    f.linkText = Edit3->text();
}

bool PageEditorWindow::MEMO_SAVE(const QString& path) {
    takeFields();
    const QString text = document_.Edit_SAVE();
    QString error;
    if (!writePageFile(path, text, &error)) {
        say(QStringLiteral("「%1」を保存できませんでした：%2\n"
                           "ディスクの空きと書き込みの許可を確かめてください。ページは閉じません。")
                .arg(path, error));
        return false;
    }
    if (refreshFileWindow)
        refreshFileWindow();
    return true;
}

bool PageEditorWindow::sourceReadIn() {
    // Edits made in the source view count: they are read in first.
    if (sourceShown_)
        toggleSource();
    return !sourceShown_;
}

void PageEditorWindow::saveOver() {
    if (!sourceReadIn())
        return;
    const QString path = page();
    if (!keepsAll_ && QFileInfo::exists(path) &&
        !(ask && ask(QStringLiteral("「%1」の、エディターの欄に入らない部分は失われます。"
                                    "上書きしますか？")
                         .arg(path))))
        return;
    if (!MEMO_SAVE(path))
        return;
    savedAs_ = path;
    accept();
}

void PageEditorWindow::saveAs() {
    if (!sourceReadIn())
        return;
    const QString chosen = chooseSaveName ? chooseSaveName(page()) : QString();
    if (chosen.isEmpty())
        return;
    if (!MEMO_SAVE(chosen))
        return; // the page stays where it was
    setWindowTitle(chosen);
    savedAs_ = chosen;
    accept();
}

void PageEditorWindow::toggleSource() {
    if (!sourceShown_) {
        takeFields();
        Memo82->setPlainText(linesForView(document_.Edit_SAVE()));
        SpeedButton28->setToolTip(QStringLiteral("戻る"));
        fieldsPanel_->hide();
        sourcePanel_->show();
        sourceShown_ = true;
        return;
    }
    const QString text = linesFromView(Memo82->toPlainText());
    if (!loadShowable(text, page()))
        return; // the source stays shown, to be mended
    SpeedButton28->setToolTip(kSourceHint);
    sourcePanel_->hide();
    fieldsPanel_->show();
    sourceShown_ = false;
    showFields();
}

void PageEditorWindow::clearTexts() {
    takeFields();
    document_.clearTexts();
    showFields();
}

bool PageEditorWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Image1 && event->type() == QEvent::MouseButtonDblClick &&
        !Gname->text().isEmpty()) {
        openWithShell(folderOf(page()) + Gname->text());
        if (tuck)
            tuck();
        return true;
    }
    if (event->type() == QEvent::MouseButtonPress &&
        static_cast<QMouseEvent*>(event)->button() == Qt::RightButton) {
        if (watched == SpeedButton3) {
            emptyHeadingsAndText();
            return true;
        }
        if (watched == SpeedButton1) {
            deletePicture();
            return true;
        }
        if (watched == SpeedButton2) {
            paintPicture(true);
            return true;
        }
        if (watched == SpeedButton37 || watched == SpeedButton17) {
            unlinkPicture();
            return true;
        }
    }
    // The markup buttons act on the text field last entered; leaving it for
    // another field (the title) ends that, a dialog or menu opening does not.
    if (auto* memo = qobject_cast<QPlainTextEdit*>(watched); memo && memo != Memo82) {
        if (event->type() == QEvent::FocusIn) {
            focused_ = memo;
        } else if (event->type() == QEvent::FocusOut) {
            const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
            if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason &&
                focused_ == memo)
                focused_ = nullptr;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void PageEditorWindow::say(const QString& text) {
    if (tell)
        tell(text);
}

// ---- The page's design ----

QWidget* PageEditorWindow::buildDesignBar() {
    auto* bar = new QWidget(this);
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
        QToolButton* b = makeToolButton(bar, name, caption, hint);
        b->setFocusPolicy(Qt::NoFocus);
        b->setCheckable(checkable);
        row->addWidget(b);
        return b;
    };
    SpeedButton13 = button(first, "SpeedButton13", QStringLiteral("表紙"), QStringLiteral("表紙"));
    SpeedButton18 =
        button(first, "SpeedButton18", QStringLiteral("アイテム"), QStringLiteral("アイテム"));
    SpeedButton14 =
        button(first, "SpeedButton14", QStringLiteral("プレゼン"), QStringLiteral("プレゼン"));
    SpeedButton15 =
        button(first, "SpeedButton15", QStringLiteral("ノート"), QStringLiteral("ノート"));
    const std::pair<QToolButton*, int> kinds[] = {
        {SpeedButton13, 4}, {SpeedButton18, 3}, {SpeedButton14, 2}, {SpeedButton15, 1}};
    for (const auto& [b, kind] : kinds) {
        const int k = kind;
        connect(b, &QToolButton::clicked, this, [this, k] { setKind(k); });
    }
    first->addSpacing(12);
    first->addWidget(new QLabel(QStringLiteral("大見出し"), bar));
    SpeedButton4 = button(first, "SpeedButton4", QStringLiteral("左"), QStringLiteral("左よせ"));
    SpeedButton5 = button(first, "SpeedButton5", QStringLiteral("中"), QStringLiteral("中央"));
    SpeedButton6 = button(first, "SpeedButton6", QStringLiteral("右"), QStringLiteral("右よせ"));
    first->addWidget(new QLabel(QStringLiteral("小見出し"), bar));
    SpeedButton7 = button(first, "SpeedButton7", QStringLiteral("左"), QStringLiteral("左よせ"));
    SpeedButton8 = button(first, "SpeedButton8", QStringLiteral("中"), QStringLiteral("中央"));
    SpeedButton9 = button(first, "SpeedButton9", QStringLiteral("右"), QStringLiteral("右よせ"));
    QToolButton* headings[] = {SpeedButton4, SpeedButton5, SpeedButton6,
                               SpeedButton7, SpeedButton8, SpeedButton9};
    for (int i = 0; i < 6; ++i)
        connect(headings[i], &QToolButton::clicked, this,
                [this, i] { alignHeading(i / 3, i % 3, true); });
    first->addSpacing(12);
    SpeedButton19 =
        button(first, "SpeedButton19", QStringLiteral("枠左"), QStringLiteral("枠文字左"));
    SpeedButton20 =
        button(first, "SpeedButton20", QStringLiteral("枠中央"), QStringLiteral("枠文字中央"));
    SpeedButton21 =
        button(first, "SpeedButton21", QStringLiteral("枠右"), QStringLiteral("文字左枠右"));
    QToolButton* framed[] = {SpeedButton19, SpeedButton20, SpeedButton21};
    for (int i = 0; i < 3; ++i)
        connect(framed[i], &QToolButton::clicked, this, [this, i] { alignFramed(i, true); });
    first->addStretch();

    SpeedButton10 = button(second, "SpeedButton10", QStringLiteral("画像左"),
                           QStringLiteral("左に画像、右に文字を配置"));
    SpeedButton11 = button(second, "SpeedButton11", QStringLiteral("画像中央"),
                           QStringLiteral("中央に文字と画像を配置"));
    SpeedButton12 = button(second, "SpeedButton12", QStringLiteral("画像右"),
                           QStringLiteral("左に文字、右に画像を配置"));
    SpeedButton3 = button(second, "SpeedButton3", QStringLiteral("文字だけ"),
                          QStringLiteral("左クリック：文字だけ配置／右クリック：枠無し文字の削除"));
    SpeedButton3->installEventFilter(this);
    const std::pair<QToolButton*, Placement> placements[] = {
        {SpeedButton10, Placement::PictureLeft},
        {SpeedButton11, Placement::Centred},
        {SpeedButton12, Placement::PictureRight},
        {SpeedButton3, Placement::TextOnly}};
    for (const auto& [b, placement] : placements) {
        const Placement p = placement;
        connect(b, &QToolButton::clicked, this, [this, p] { place(p); });
    }
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
    for (const Markup& m : markups) {
        QToolButton* b =
            button(second, m.name, QString::fromUtf8(m.caption), QString::fromUtf8(m.hint), false);
        const QString start = QString::fromUtf8(m.start);
        const QString end = QString::fromUtf8(m.end);
        connect(b, &QToolButton::clicked, this, [this, start, end] { wrapSelection(start, end); });
    }
    second->addStretch();
    SpeedButton31 =
        button(third, "SpeedButton31", QStringLiteral("ルビ"), QStringLiteral("ルビ"), false);
    connect(SpeedButton31, &QToolButton::clicked, this, &PageEditorWindow::insertRuby);
    SpeedButton16 = button(third, "SpeedButton16", QStringLiteral("リンクの挿入"),
                           QStringLiteral("リンクの挿入"), false);
    connect(SpeedButton16, &QToolButton::clicked, this, &PageEditorWindow::insertLink);
    third->addSpacing(12);
    SpeedButton34 = button(third, "SpeedButton34", QStringLiteral("画像の挿入"),
                           QStringLiteral("画像の挿入"), false);
    SpeedButton22 = button(third, "SpeedButton22", QStringLiteral("TOP画像の挿入"),
                           QStringLiteral("タイトル画像の読み込み"), false);
    SpeedButton40 = button(third, "SpeedButton40", QStringLiteral("背景"),
                           QStringLiteral("背景画像の読み込み"), false);
    connect(SpeedButton34, &QToolButton::clicked, this, &PageEditorWindow::insertPicture);
    connect(SpeedButton22, &QToolButton::clicked, this, &PageEditorWindow::titlePicture);
    connect(SpeedButton40, &QToolButton::clicked, this, &PageEditorWindow::backgroundPicture);
    third->addStretch();
    return bar;
}

void PageEditorWindow::setKind(int kind) {
    document_.fields.kind = kind;
    FormShow3();
}

void PageEditorWindow::FormShow3() {
    struct Look {
        int big;
        QColor bigText, bigBack;
        int small;
        QColor smallText, smallBack;
        int text;
        QColor textBack;
    };
    const QColor white(Qt::white);
    const QColor black(Qt::black);
    const QColor teal(0, 128, 128);
    const QColor face = palette().color(QPalette::Button);
    const QColor highlight = palette().color(QPalette::Highlight);
    const Look looks[] = {
        {18, black, white, 15, black, white, 14, white},
        {32, white, teal, 24, black, white, 24, white},
        {34, white, teal, 28, teal, white, 28, white},
        {32, black, QColor(240, 202, 166), 26, black, face, 26, face},
        {33, black, highlight, 27, black, face, 27, face},
    };
    const int kind = qBound(0, document_.fields.kind, 4);
    const Look& look = looks[kind];
    auto dress = [](QPlainTextEdit* memo, int points, const QColor& text, const QColor& back) {
        QFont font = memo->font();
        font.setPointSize(points);
        memo->setFont(font);
        QPalette p = memo->palette();
        p.setColor(QPalette::Text, text);
        p.setColor(QPalette::Base, back);
        memo->setPalette(p);
    };
    dress(Memo4, look.big, look.bigText, look.bigBack);
    dress(Memo5, look.small, look.smallText, look.smallBack);
    dress(Memo1, look.text, black, look.textBack);
    dress(Memo2, look.text, black, look.textBack);
    if (auto* rule = findChild<QFrame*>(QStringLiteral("Panel10"))) {
        QPalette p = rule->palette();
        p.setColor(QPalette::WindowText, kind == 0   ? palette().color(QPalette::Mid)
                                         : kind <= 2 ? teal
                                                     : white);
        rule->setPalette(p);
    }
    QToolButton* pressed[] = {nullptr, SpeedButton15, SpeedButton14, SpeedButton18, SpeedButton13};
    for (QToolButton* b : {SpeedButton13, SpeedButton18, SpeedButton14, SpeedButton15})
        b->setChecked(b == pressed[kind]);
    // A page read without a kind keeps its body colour and attributes;
    // the kinds bring their own.
    if (kind > 0)
        Style(kind, &memory_.BODYS2);
    SpeedButton16->setAutoRaise(kind != 0);
    growFields();
}

void PageEditorWindow::FormShow2() {
    PageFields& f = document_.fields;
    // Headings: the alignment their tags carry, left when none.
    const QString tags[] = {f.ETAGH1.toLower(), f.ETAGH2.toLower()};
    for (int h = 0; h < 2; ++h) {
        int align = 0;
        if (tags[h].contains(QLatin1String("center")))
            align = 1;
        if (tags[h].contains(QLatin1String("right")))
            align = 2;
        alignHeading(h, align, false); // shown as read, written as read
    }
    // The framed text.
    int framed = 0;
    if (memory_.ETAGP1.contains(QLatin1String("center")))
        framed = 1;
    if (f.ETAGHYO1.contains(QLatin1String("right")))
        framed = 2;
    alignFramed(framed, false);
    // The picture, shown at its size; without one the paragraph is shown as
    // text only, and whatever link it holds stays.
    preview_ = QImage();
    Image1->clear();
    if (!f.pictureName.isEmpty() && QFileInfo(folderOf(page()) + f.pictureName).isFile())
        Gsize(folderOf(page()) + f.pictureName);
    showPlacement(f.multiCellTable ? Placement::TextOnly : placementOf(f));
    coverPanel_->setVisible(f.multiCellTable);
    picturePanel_->setEnabled(!f.multiCellTable);
    showPictureFields();
    Edit1->setFocus();
}

void PageEditorWindow::alignHeading(int heading, int align, bool setTag) {
    static const char* const values[] = {"left", "center", "right"};
    if (setTag)
        (heading == 0 ? document_.fields.ETAGH1 : document_.fields.ETAGH2) =
            QStringLiteral("<H%1 align=\"%2\">").arg(heading + 1).arg(QLatin1String(values[align]));
    QPlainTextEdit* memo = heading == 0 ? Memo4 : Memo5;
    const Qt::Alignment alignments[] = {Qt::AlignLeft, Qt::AlignHCenter, Qt::AlignRight};
    QTextOption option = memo->document()->defaultTextOption();
    option.setAlignment(alignments[align]);
    memo->document()->setDefaultTextOption(option);
    QToolButton* const buttons[2][3] = {{SpeedButton4, SpeedButton5, SpeedButton6},
                                        {SpeedButton7, SpeedButton8, SpeedButton9}};
    for (int i = 0; i < 3; ++i)
        buttons[heading][i]->setChecked(i == align);
}

void PageEditorWindow::alignFramed(int which, bool setTags) {
    static const char* const paragraph[] = {"left", "center", "left"};
    static const char* const table[] = {"left", "center", "right"};
    if (setTags) {
        memory_.ETAGP1 = QStringLiteral("<P align=\"%1\">").arg(QLatin1String(paragraph[which]));
        document_.fields.ETAGHYO1 = QStringLiteral("align=\"%1\"").arg(QLatin1String(table[which]));
    }
    auto* row = static_cast<QHBoxLayout*>(framedPanel_->layout());
    row->setStretch(0, which == 0 ? 0 : 1);
    row->setStretch(2, which == 2 ? 0 : 1);
    Memo1->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    for (QPlainTextEdit* memo : {Memo1, Memo2}) {
        QTextOption option = memo->document()->defaultTextOption();
        option.setAlignment(which == 1 ? Qt::AlignHCenter : Qt::AlignLeft);
        memo->document()->setDefaultTextOption(option);
    }
    QToolButton* buttons[] = {SpeedButton19, SpeedButton20, SpeedButton21};
    for (int i = 0; i < 3; ++i)
        buttons[i]->setChecked(i == which);
}

void PageEditorWindow::place(Placement placement) {
    takeFields();
    PageFields& f = document_.fields;
    if (placement == Placement::TextOnly) {
        placeMarkup(f, placement);
        Gnil(f, saves_);
        preview_ = QImage();
        Image1->clear();
    } else {
        GFUKKI(f, saves_, page());
        placeMarkup(f, placement);
        const QString kept = folderOf(page()) + saves_.TAIHI3;
        if (!saves_.TAIHI3.isEmpty() && QFileInfo(kept).isFile())
            Gsize(kept);
    }
    coverPanel_->hide();
    picturePanel_->setEnabled(true);
    showPlacement(placement);
    showPictureFields();
}

void PageEditorWindow::showPlacement(Placement placement) {
    placement_ = placement;
    picturePanel_->setVisible(placement != Placement::TextOnly);
    // Centred, the picture stands above the text; otherwise beside it.
    middle_->setDirection(placement == Placement::PictureRight ? QBoxLayout::RightToLeft
                          : placement == Placement::Centred    ? QBoxLayout::TopToBottom
                                                               : QBoxLayout::LeftToRight);
    const std::pair<QToolButton*, Placement> buttons[] = {{SpeedButton10, Placement::PictureLeft},
                                                          {SpeedButton11, Placement::Centred},
                                                          {SpeedButton12, Placement::PictureRight},
                                                          {SpeedButton3, Placement::TextOnly}};
    for (const auto& [b, p] : buttons)
        b->setChecked(p == placement);
}

// ---- The picture ----

void PageEditorWindow::Gsize(const QString& path) {
    // The preview never needs more than the size bar's widest picture: a
    // large photograph is decoded at a fraction of its size.
    const PictureRead read = readPicture(path, [](QSize full) {
        return full.scaled(QSize(kBarMax, kBarMax), Qt::KeepAspectRatio).boundedTo(full);
    });
    if (read.image.isNull()) {
        say(QStringLiteral("画像「%1」を読めません：%2").arg(path, read.error));
        return;
    }
    PageFields& f = document_.fields;
    const QSize natural = read.fullSize.isValid() ? read.fullSize : read.image.size();
    preview_ = read.image;
    f.pictureLoaded = true;
    XToY_ = natural.width() > 0 ? double(natural.height()) / natural.width() : 0;
    if (!f.sizesFromPage) {
        f.pictureWidth = QString::number(natural.width());
        f.pictureHeight = QString::number(natural.height());
        f.sizesFromPage = true;
    } else if (!f.pictureHeight.isEmpty()) {
        XToY_ = ratioOf(f.pictureWidth, f.pictureHeight);
    } else {
        XToY_ = 0;
        f.pictureWidth = QStringLiteral("200");
        f.pictureHeight = QStringLiteral("150");
        f.pictureLoaded = false;
    }
    f.pictureName = QFileInfo(path).fileName();
    if (f.Edit7.isEmpty()) {
        f.ETAGSRC1 = QStringLiteral("<P>");
        f.Edit7 = pictureMarkup(f.pictureName, wholeNumber(f.pictureWidth),
                                wholeNumber(f.pictureHeight), placement_, true);
        // The paragraph is what centres a picture on the page.
        placeMarkup(f, placement_ == Placement::TextOnly ? Placement::Centred : placement_);
    }
    GTAIHI(f, saves_);
    {
        const QSignalBlocker quiet(ScrollBar1);
        const int width = wholeNumber(f.pictureWidth);
        ScrollBar1->setValue(width > 0 ? width : natural.width());
    }
    const int w = wholeNumber(f.pictureWidth);
    const int h = wholeNumber(f.pictureHeight);
    showPreview(w > 0 && h > 0 ? QSize(w, h) : natural);
    showPictureFields();
}

void PageEditorWindow::sizeFromBar(int position) {
    PageFields& f = document_.fields;
    if (preview_.isNull())
        return;
    const PictureSize size = sizeForBar(position, XToY_, wholeNumber(f.pictureHeight));
    f.pictureWidth = QString::number(size.width);
    f.pictureHeight = QString::number(size.height);
    f.pictureLoaded = true;
    GX->setText(f.pictureWidth);
    GY->setText(f.pictureHeight);
    showPreview(QSize(size.width, size.height));
}

void PageEditorWindow::showPreview(QSize size) {
    // The editor shows the picture's shape; its size on the page is in the
    // size fields. A page-sized preview would push the texts away.
    if (preview_.isNull() || size.width() <= 0 || size.height() <= 0)
        return;
    const QSize shown = size.boundedTo(QSize(320, 240));
    Image1->setPixmap(QPixmap::fromImage(preview_.scaled(
        size.scaled(shown, Qt::KeepAspectRatio), Qt::IgnoreAspectRatio, Qt::FastTransformation)));
}

// ---- Markup in the texts ----

void PageEditorWindow::wrapSelection(const QString& start, const QString& end) {
    if (!focused_)
        return;
    QTextCursor cursor = focused_->textCursor();
    if (!cursor.hasSelection())
        return;
    const QString selected = cursor.selectedText().replace(QChar::ParagraphSeparator, '\n');
    cursor.insertText(start + selected + end);
}

void PageEditorWindow::insertRuby() {
    // The dialog takes the focus: the field and its selection are taken first.
    QPlainTextEdit* field = focused_;
    if (!field || !askRuby)
        return;
    QTextCursor cursor = field->textCursor();
    const QString base = cursor.selectedText();
    if (base.isEmpty())
        return;
    const QString reading = askRuby(base);
    if (reading.isEmpty())
        return;
    if (!fitsMarkup(reading)) {
        say(QStringLiteral("ルビ「%1」には \"、<、> を使えません。").arg(reading));
        return;
    }
    cursor.insertText(QStringLiteral("<ruby>") + base + QStringLiteral("<rt>") + reading +
                      QStringLiteral("</ruby>"));
    field->setFocus();
}

void PageEditorWindow::insertLink() {
    QPlainTextEdit* field = focused_;
    if (!field || !askLink)
        return;
    QTextCursor cursor = field->textCursor();
    QString target = askLink();
    if (target.isEmpty())
        return;
    if (!fitsMarkup(target)) {
        say(QStringLiteral("リンク先「%1」には \"、<、> を使えません。").arg(target));
        return;
    }
    const qsizetype cut =
        std::max(target.lastIndexOf(QLatin1Char('/')), target.lastIndexOf(QLatin1Char('\\')));
    // The address's parentheses ("Mercury_(planet)") are no answer to fill in.
    const QString name = outsideQuiz(target.mid(cut + 1));
    // A file without an extension stands for its folder; a web address
    // stays whole.
    if (!name.contains(QLatin1Char('.')) && !target.contains(QLatin1String("://")) && cut >= 0)
        target.truncate(cut + 1);
    const QString selected = cursor.selectedText().replace(QChar::ParagraphSeparator, '\n');
    cursor.insertText(QStringLiteral("<A href=\"") + target + QStringLiteral("\">") + name +
                      QStringLiteral("へのリンク</A>") + selected);
    field->setFocus();
}

void PageEditorWindow::emptyHeadingsAndText() {
    Memo4->clear();
    Memo5->clear();
    Memo2->clear();
}

// ---- Picture buttons ----

void PageEditorWindow::GCHECK(Placement placement) {
    PageFields& f = document_.fields;
    if (!f.pictureLoaded) {
        // An empty frame the size a picture would take there.
        const bool centred = placement == Placement::Centred;
        f.pictureWidth = QString::number(centred ? 600 : 280);
        f.pictureHeight = QString::number(centred ? 400 : 340);
    }
    XToY_ = ratioOf(f.pictureWidth, f.pictureHeight);
    const QSignalBlocker quiet(ScrollBar1);
    ScrollBar1->setValue(qMax(kBarMin, wholeNumber(f.pictureWidth)));
    showPictureFields();
}

bool PageEditorWindow::copyInto(const QString& from, const QString& to) {
    const QFileInfo source(from);
    const QFileInfo target(to);
    if (target.exists() && source.canonicalFilePath() == target.canonicalFilePath())
        return true; // it is already there
    if (target.exists()) {
        // The same picture is used as it is; another of that name (a card's
        // picture, an untouched original) is replaced only when the user says so.
        QFile a(from);
        QFile b(to);
        const bool same = source.size() == target.size() && a.open(QIODevice::ReadOnly) &&
                          b.open(QIODevice::ReadOnly) && a.readAll() == b.readAll();
        if (same)
            return true;
        if (!(ask &&
              ask(QStringLiteral("「%1」はもうあります。選んだ画像で置き換えますか？").arg(to))))
            return false;
    }
    if (!copyOver(from, to)) {
        say(QStringLiteral("「%1」を「%2」にコピーできません。").arg(from, to));
        return false;
    }
    return true;
}

QString PageEditorWindow::chosenPicture() {
    const QString chosen =
        choosePicture ? choosePicture(pictureFolder_.isEmpty() ? folderOf(page()) : pictureFolder_)
                      : QString();
    if (chosen.isEmpty())
        return QString();
    if (!fitsMarkup(QFileInfo(chosen).fileName())) {
        say(QStringLiteral("「%1」の名前には \"、<、> が入っているので、ページに書けません。")
                .arg(chosen));
        return QString();
    }
    const PictureRead probe = readPicture(chosen, [](QSize) { return QSize(1, 1); });
    if (probe.image.isNull()) {
        say(QStringLiteral("画像「%1」を読めません：%2").arg(chosen, probe.error));
        return QString();
    }
    pictureFolder_ = QFileInfo(chosen).absolutePath();
    return chosen;
}

void PageEditorWindow::loadPicture() {
    takeFields();
    const QString chosen = chosenPicture();
    if (chosen.isEmpty())
        return;
    PageFields& f = document_.fields;
    if (placement_ == Placement::TextOnly || placement_ == Placement::Centred) {
        GFUKKI(f, saves_, page());
        placeMarkup(f, Placement::Centred);
        showPlacement(Placement::Centred);
    }
    const QString copy = folderOf(page()) + QFileInfo(chosen).fileName();
    if (!copyInto(chosen, copy))
        return;
    f.sizesFromPage = false;
    f.Edit7.clear();
    Gsize(copy);
    f.Edit7 = pictureMarkup(f.pictureName, wholeNumber(f.pictureWidth),
                            wholeNumber(f.pictureHeight), placement_, false);
    GTAIHI(f, saves_);
    coverPanel_->hide();
    picturePanel_->setEnabled(true);
    showPictureFields();
}

void PageEditorWindow::deletePicture() {
    PageFields& f = document_.fields;
    const QString picture = folderOf(page()) + f.pictureName;
    if (f.pictureName.isEmpty() || !QFileInfo(picture).isFile()) {
        loadPicture(); // nothing to delete: one is chosen instead
        return;
    }
    QString error;
    if (!moveToTrash(picture, &error)) {
        say(error);
        return;
    }
    Gnil(f, saves_);
    f.sizesFromPage = false;
    preview_ = QImage();
    Image1->clear();
    GCHECK(placement_);
    f.linkFile.clear();
    f.linkText.clear();
    showPictureFields();
}

void PageEditorWindow::paintPicture(bool anew) {
    if (painter_)
        return;
    takeFields();
    PageFields& f = document_.fields;
    const QString folder = folderOf(page());
    if (anew || f.pictureName.isEmpty()) {
        const QString name = QStringLiteral("_") + Gnumber(page());
        if (placement_ == Placement::TextOnly) {
            GFUKKI(f, saves_, page());
            placeMarkup(f, Placement::Centred);
            showPlacement(Placement::Centred);
        }
        // The drawing's file and the markup name one and the same picture.
        f.Edit7 = CHIKAN(f.Edit7, QStringLiteral("src=\"%1\"").arg(name));
        f.pictureName = name;
        if (QFileInfo(folder + name).isFile() && !moveToTrash(folder + name)) {
            say(QStringLiteral("「%1」をごみ箱に移せません。").arg(folder + name));
            return;
        }
    }
    const QString path = folder + f.pictureName;
    if (!QFileInfo(path).exists()) {
        if (placement_ == Placement::TextOnly) {
            GFUKKI(f, saves_, page());
            placeMarkup(f, Placement::Centred);
            showPlacement(Placement::Centred);
        }
        const int w = qMax(kBarMin, wholeNumber(f.pictureWidth));
        const int h = qMax(kBarMin, wholeNumber(f.pictureHeight));
        QImage blank(qMin(w, 4000), qMin(h, 4000), QImage::Format_RGB888);
        blank.fill(Qt::white);
        const QString ext = QFileInfo(path).suffix().toLower();
        if (ext == QLatin1String("bmp") || ext == QLatin1String("jpg")) {
            QString error;
            if (!writePicture(blank, path, 90, &error)) {
                say(QStringLiteral("「%1」を作れません：%2").arg(path, error));
                return;
            }
        }
    }
    // The page names the drawing once it is on disk, also when the paint
    // program is not awaited.
    if (f.Edit7.isEmpty() && QFileInfo(path).isFile()) {
        f.sizesFromPage = false;
        Gsize(path);
    }
    showPictureFields();
    const QString program = paintProgram();
    if (program.isEmpty()) {
        openWithShell(path); // the desktop's own editor, not awaited
        return;
    }
    painter_ = new QProcess(this);
    setEnabled(false);
    connect(painter_, &QProcess::finished, this, [this, path] { paintingEnded(path); });
    connect(painter_, &QProcess::errorOccurred, this, [this, path](QProcess::ProcessError e) {
        if (e == QProcess::FailedToStart) {
            say(QStringLiteral("お絵かきソフトを起動できません。"));
            paintingEnded(path);
        }
    });
    painter_->start(program, {path});
}

void PageEditorWindow::paintingEnded(const QString& path) {
    if (painter_) {
        painter_->deleteLater();
        painter_ = nullptr;
    }
    setEnabled(true);
    if (QFileInfo(path).isFile()) {
        document_.fields.sizesFromPage = false;
        Gsize(path);
    }
}

void PageEditorWindow::linkPicture() {
    const QString chosen =
        chooseLinkFile ? chooseLinkFile(linkFolder_.isEmpty() ? folderOf(page()) : linkFolder_)
                       : QString();
    if (chosen.isEmpty())
        return;
    if (!fitsMarkup(chosen)) {
        say(QStringLiteral("「%1」の名前には \"、<、> が入っているので、リンクにできません。")
                .arg(chosen));
        return;
    }
    linkFolder_ = QFileInfo(chosen).absolutePath();
    const QString link = relativeLink(chosen, folderOf(page()));
    document_.fields.linkFile = link;
    document_.fields.linkText = outsideQuiz(link);
    showPictureFields();
}

void PageEditorWindow::unlinkPicture() {
    bool selected = false;
    for (QPlainTextEdit* memo : {Memo4, Memo5, Memo1, Memo2}) {
        QTextCursor cursor = memo->textCursor();
        if (cursor.hasSelection()) {
            selected = true;
            cursor.clearSelection();
            memo->setTextCursor(cursor);
        }
    }
    if (selected)
        return;
    document_.fields.linkFile.clear();
    document_.fields.linkText.clear();
    showPictureFields();
}

void PageEditorWindow::insertPicture() {
    QPlainTextEdit* field = focused_;
    if (!field)
        return;
    QTextCursor cursor = field->textCursor();
    const QString chosen = chosenPicture();
    if (chosen.isEmpty())
        return;
    const QString name = QFileInfo(chosen).fileName();
    if (!copyInto(chosen, folderOf(page()) + name))
        return;
    const QSize size = readPicture(chosen, [](QSize) { return QSize(1, 1); }).fullSize;
    const QString selected = cursor.selectedText().replace(QChar::ParagraphSeparator, '\n');
    cursor.insertText(QStringLiteral("<img src=\"%1\" width=\"%2\" height=\"%3\" "
                                     "align=\"middle\">")
                          .arg(name)
                          .arg(size.width())
                          .arg(size.height()) +
                      selected);
    field->setFocus();
}

QString PageEditorWindow::wallPictureFrom(const QString& chosen) {
    const QString name = underscoreName(QFileInfo(chosen).fileName());
    const QString folder = wallFolder ? wallFolder() : folderOf(page());
    if (!copyInto(chosen, folder + name))
        return QString();
    return name;
}

void PageEditorWindow::titlePicture() {
    QString name;
    if (const QString chosen = chosenPicture(); !chosen.isEmpty()) {
        name = wallPictureFrom(chosen);
        if (name.isEmpty())
            return;
    }
    // Cancelled, the page has no title picture.
    document_.pieces.HEDDA = titleHeader(document_.pieces.HEDDA, name);
}

void PageEditorWindow::backgroundPicture() {
    QString name;
    if (const QString chosen = chosenPicture(); !chosen.isEmpty()) {
        name = wallPictureFrom(chosen);
        if (name.isEmpty())
            return;
    }
    memory_.BODYS = backgroundBody(name);
}

void PageEditorWindow::growFields() {
    // The headings grow with their lines, in their own font.
    auto lines = [](QPlainTextEdit* memo) { return qMax(1, memo->document()->blockCount()); };
    auto fit = [&](QPlainTextEdit* memo, int most) {
        const int line = memo->fontMetrics().lineSpacing();
        memo->setFixedHeight(qMin(line * lines(memo) + 2 * memo->frameWidth() + 12, most));
    };
    fit(Memo4, 240);
    fit(Memo5, 200);
    static const int lineHeights[] = {15, 24, 28, 26, 27};
    const int kind = qBound(0, document_.fields.kind, 4);
    Memo1->setMinimumHeight(qMin(lines(Memo1) * lineHeights[kind] + 40, 400));
}
