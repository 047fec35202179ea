#include "pageeditor/pageeditorwindow.h"

#include "pageeditor/pagefile.h"
#include "pictures/picturelayer.h"
#include "platform/shell.h"

#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

const QString kCaption = QStringLiteral("htmlエディター");
const QString kSourceHint = QStringLiteral("ソースの編集");

// The framed text keeps the width of a printed page's text column.
constexpr int WAKU = 906;

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

bool PageEditorWindow::isEditorPage(const QString& path) {
    // The marker stands in the head; a page of any size, even one too large
    // to edit, is told by its beginning.
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly))
        return false;
    return file.read(64 * 1024).contains("WebTXT_TEXT");
}

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
        auto* b = new QToolButton(this);
        b->setObjectName(QLatin1String(name));
        b->setText(caption);
        b->setToolTip(hint);
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
    Memo4->setMaximumHeight(90);
    Memo5->setMaximumHeight(70);
    fields->addWidget(Memo4);
    fields->addWidget(Memo5);
    auto* rule = new QFrame(fieldsPanel_);
    rule->setObjectName(QStringLiteral("Panel10"));
    rule->setFrameShape(QFrame::HLine);
    fields->addWidget(rule);
    Memo1 = textField(fieldsPanel_, "Memo1", QStringLiteral("外枠あり"));
    Memo1->setMaximumWidth(WAKU);
    Memo1->setFrameShape(QFrame::Box);
    fields->addWidget(Memo1, 2);

    // The picture-or-link paragraph beside the unframed text.
    auto* middle = new QHBoxLayout;
    auto* picture = new QWidget(fieldsPanel_);
    picture->setObjectName(QStringLiteral("Panel6"));
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
    pictureGrid->addWidget(Image1, 0, 0, 1, 4);
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
    fields->addLayout(middle, 3);
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
    document_.Edit_LOAD(text, folderOf(path));
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
    showPicture();
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

void PageEditorWindow::showPicture() {
    Image1->clear();
    const PageFields& f = document_.fields;
    if (f.pictureName.isEmpty())
        return;
    const PictureRead read = readPicture(folderOf(page()) + f.pictureName);
    if (read.image.isNull())
        return;
    // The preview takes the size the page gives the picture; one that is
    // no whole number leaves it at the picture's own size.
    QSize size = read.image.size();
    const int w = wholeNumber(f.pictureWidth);
    const int h = wholeNumber(f.pictureHeight);
    if (w > 0 && h > 0)
        size = QSize(w, h);
    size = size.boundedTo(QSize(320, 240));
    Image1->setPixmap(
        QPixmap::fromImage(read.image.scaled(size, Qt::KeepAspectRatio, Qt::SmoothTransformation)));
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

void PageEditorWindow::saveOver() {
    // Edits made in the source view count: they are read in first.
    if (sourceShown_)
        toggleSource();
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
    if (sourceShown_)
        toggleSource();
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
    document_.Edit_LOAD(text, folderOf(page()));
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
    return QDialog::eventFilter(watched, event);
}

void PageEditorWindow::say(const QString& text) {
    if (tell)
        tell(text);
}
