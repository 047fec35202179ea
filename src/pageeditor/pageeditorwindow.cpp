#include "pageeditor/pageeditorwindow.h"

#include "pageeditor/pageeditorform.h"
#include "pageeditor/pageeditorpictures.h"
#include "pageeditor/pagefile.h"
#include "pageeditor/pagestyles.h"
#include "pageeditor/webtext.h"
#include "platform/userprompts.h"

#include <QFileInfo>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <QTextDocument>
#include <QToolButton>

namespace {

const QString kCaption = QStringLiteral("htmlエディター");
const QString kSourceHint = QStringLiteral("ソースの編集");

// The longest stretch without a place to break a line that the text fields
// are given. Laying one out takes time that grows with its square: about
// 20 ms for this length, 2 s for ten times as much. A page the editor writes
// comes nowhere near it.
constexpr qsizetype kLongestUnbrokenRun = 10000;

QString folderOf(const QString& page) {
    return QFileInfo(page).absolutePath() + QLatin1Char('/');
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

} // namespace

PageEditorWindow::PageEditorWindow(QWidget* wallWindow)
    : QDialog(wallWindow), form_(std::make_unique<PageEditorForm>(this)),
      ownPrompts_(std::make_unique<DialogPrompts>(this)), prompts_(ownPrompts_.get()) {
    setObjectName(QStringLiteral("TForm4"));
    setWindowTitle(kCaption);
    setModal(true);
    pictures_ = std::make_unique<PageEditorPictures>(*form_, document_, memory_, *this, *prompts_);
    connect(pictures_.get(), &PageEditorPictures::tuckRequested, this,
            &PageEditorWindow::tuckRequested);
    connectForm();
}

PageEditorWindow::~PageEditorWindow() = default;

void PageEditorWindow::setPrompts(UserPrompts& prompts) {
    prompts_ = &prompts;
    pictures_->setPrompts(prompts);
}

void PageEditorWindow::connectForm() {
    PageEditorForm& f = *form_;
    connect(f.saveOverButton, &QToolButton::clicked, this, &PageEditorWindow::saveOver);
    connect(f.saveAsButton, &QToolButton::clicked, this, &PageEditorWindow::saveAs);
    connect(f.closeButton, &QToolButton::clicked, this, &QDialog::reject);
    connect(f.sourceButton, &QToolButton::clicked, this, &PageEditorWindow::toggleSource);
    connect(f.clearTextsButton, &QToolButton::clicked, this, &PageEditorWindow::clearTexts);
    const std::pair<QToolButton*, int> kinds[] = {
        {f.coverButton, 4}, {f.itemButton, 3}, {f.presentationButton, 2}, {f.noteButton, 1}};
    for (const auto& [b, kind] : kinds) {
        const int k = kind;
        connect(b, &QToolButton::clicked, this, [this, k] { setKind(k); });
    }
    for (int i = 0; i < 3; ++i) {
        connect(f.bigHeadingAlignButtons[i], &QToolButton::clicked, this,
                [this, i] { alignHeading(0, i, true); });
        connect(f.smallHeadingAlignButtons[i], &QToolButton::clicked, this,
                [this, i] { alignHeading(1, i, true); });
        connect(f.framedAlignButtons[i], &QToolButton::clicked, this,
                [this, i] { alignFramed(i, true); });
    }
    for (const MarkupButton& m : f.markupButtons) {
        const QString start = m.start;
        const QString end = m.end;
        connect(m.button, &QToolButton::clicked, this,
                [this, start, end] { wrapSelection(start, end); });
    }
    connect(f.rubyButton, &QToolButton::clicked, this, &PageEditorWindow::insertRuby);
    connect(f.insertLinkButton, &QToolButton::clicked, this, &PageEditorWindow::insertLink);
    connect(f.insertPictureButton, &QToolButton::clicked, this,
            [this] { pictures_->insertPicture(focused_); });
    f.textOnlyButton->installEventFilter(this); // its right click empties texts
    for (QPlainTextEdit* memo : f.texts())
        memo->installEventFilter(this);
    for (QPlainTextEdit* memo : {f.bigHeadingEdit, f.smallHeadingEdit, f.framedTextEdit})
        connect(memo, &QPlainTextEdit::textChanged, this, &PageEditorWindow::growFields);
}

QString PageEditorWindow::openPage(const QString& path, int tag, const QString& wallFolder) {
    setWindowTitle(path);
    savedAs_.clear();
    if (FormShow(tag, wallFolder))
        exec();
    FormClose();
    const QString saved = savedAs_;
    setWindowTitle(kCaption);
    return saved;
}

bool PageEditorWindow::FormShow(int tag, const QString& wallFolder) {
    if (QWidget* wall = parentWidget())
        resize(qRound(wall->width() * 2 / 3.0), qMax(200, wall->height() - 50));
    const QString path = page();
    QString text;
    if (tag == 1 && QFileInfo::exists(path)) {
        const PageRead read = readPageFile(path);
        if (!read.problem.isEmpty()) {
            prompts_->tell(read.problem);
            return false;
        }
        text = read.text;
    } else {
        text = document_.templateSource();
    }
    // The last page's picture and link must not reach this one.
    pictures_->startPage(path, wallFolder);
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
    form_->sourceButton->setToolTip(kSourceHint);
    form_->sourcePanel->hide();
    form_->fieldsPanel->show();
    showFields();
    if (!keepsAll_)
        prompts_->tell(
            QStringLiteral("「%1」には、エディターの欄に入らない部分があります。"
                           "上書き保存すると、その部分は失われます（保存の前に確かめます）。")
                .arg(path));
    if (!document_.fields.missingPicture.isEmpty())
        prompts_->tell(QStringLiteral("画像「%1」がページのフォルダにありません。"
                                      "画像の指定はそのまま残します。")
                           .arg(document_.fields.missingPicture));
    form_->titleEdit->setFocus();
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
    prompts_->tell(
        QStringLiteral("「%1」には、折り返せない長い文字の並び（深く入れ子になったタグなど）が"
                       "あるので、エディターでは編集できません。")
            .arg(path));
    return false;
}

void PageEditorWindow::FormClose() {
    document_.fields.sizesFromPage = false;
    document_.fields.pictureLoaded = false;
    form_->picturePreview->clear();
}

void PageEditorWindow::showFields() {
    form_->showFields(document_.fields);
    FormShow3();
    FormShow2();
}

void PageEditorWindow::takeFields() {
    form_->takeFields(document_.fields);
}

bool PageEditorWindow::MEMO_SAVE(const QString& path) {
    takeFields();
    const QString text = document_.Edit_SAVE();
    QString error;
    if (!writePageFile(path, text, &error)) {
        prompts_->tell(
            QStringLiteral("「%1」を保存できませんでした：%2\n"
                           "ディスクの空きと書き込みの許可を確かめてください。ページは閉じません。")
                .arg(path, error));
        return false;
    }
    emit pageWritten(path);
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
        !prompts_->ask(QStringLiteral("「%1」の、エディターの欄に入らない部分は失われます。"
                                      "上書きしますか？")
                           .arg(path)))
        return;
    if (!MEMO_SAVE(path))
        return;
    savedAs_ = path;
    accept();
}

void PageEditorWindow::saveAs() {
    if (!sourceReadIn())
        return;
    FileRequest request;
    request.mode = FileRequest::Save;
    request.title = QStringLiteral("名付けて保存");
    request.folder = page();
    request.filter = QStringLiteral("HTML (*.htm*);;全部 (*)");
    request.typed = QStringLiteral("html");
    const QString chosen = prompts_->chooseFile(request);
    if (chosen.isEmpty())
        return;
    if (!MEMO_SAVE(chosen))
        return; // the page stays where it was
    setWindowTitle(chosen);
    savedAs_ = chosen;
    accept();
}

void PageEditorWindow::toggleSource() {
    PageEditorForm& f = *form_;
    if (!sourceShown_) {
        takeFields();
        f.sourceEdit->setPlainText(linesForView(document_.Edit_SAVE()));
        f.sourceButton->setToolTip(QStringLiteral("戻る"));
        f.fieldsPanel->hide();
        f.sourcePanel->show();
        sourceShown_ = true;
        return;
    }
    const QString text = linesFromView(f.sourceEdit->toPlainText());
    if (!loadShowable(text, page()))
        return; // the source stays shown, to be mended
    f.sourceButton->setToolTip(kSourceHint);
    f.sourcePanel->hide();
    f.fieldsPanel->show();
    sourceShown_ = false;
    showFields();
}

void PageEditorWindow::clearTexts() {
    takeFields();
    document_.clearTexts();
    showFields();
}

bool PageEditorWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == form_->textOnlyButton && event->type() == QEvent::MouseButtonPress &&
        static_cast<QMouseEvent*>(event)->button() == Qt::RightButton) {
        emptyHeadingsAndText();
        return true;
    }
    // The markup buttons act on the text field last entered; leaving it for
    // another field (the title) ends that, a dialog or menu opening does not.
    if (auto* memo = qobject_cast<QPlainTextEdit*>(watched)) {
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

// ---- The page's design ----

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
    PageEditorForm& f = *form_;
    dress(f.bigHeadingEdit, look.big, look.bigText, look.bigBack);
    dress(f.smallHeadingEdit, look.small, look.smallText, look.smallBack);
    dress(f.framedTextEdit, look.text, black, look.textBack);
    dress(f.unframedTextEdit, look.text, black, look.textBack);
    QPalette rule = f.headingRule->palette();
    rule.setColor(QPalette::WindowText, kind == 0   ? palette().color(QPalette::Mid)
                                        : kind <= 2 ? teal
                                                    : white);
    f.headingRule->setPalette(rule);
    QToolButton* pressed[] = {nullptr, f.noteButton, f.presentationButton, f.itemButton,
                              f.coverButton};
    for (QToolButton* b : {f.coverButton, f.itemButton, f.presentationButton, f.noteButton})
        b->setChecked(b == pressed[kind]);
    // A page read without a kind keeps its body colour and attributes;
    // the kinds bring their own.
    if (kind > 0)
        Style(kind, &memory_.BODYS2);
    f.insertLinkButton->setAutoRaise(kind != 0);
    growFields();
}

void PageEditorWindow::FormShow2() {
    const PageFields& f = document_.fields;
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
    pictures_->showRead();
    form_->titleEdit->setFocus();
}

void PageEditorWindow::alignHeading(int heading, int align, bool setTag) {
    static const char* const values[] = {"left", "center", "right"};
    if (setTag)
        (heading == 0 ? document_.fields.ETAGH1 : document_.fields.ETAGH2) =
            QStringLiteral("<H%1 align=\"%2\">").arg(heading + 1).arg(QLatin1String(values[align]));
    QPlainTextEdit* memo = heading == 0 ? form_->bigHeadingEdit : form_->smallHeadingEdit;
    const Qt::Alignment alignments[] = {Qt::AlignLeft, Qt::AlignHCenter, Qt::AlignRight};
    QTextOption option = memo->document()->defaultTextOption();
    option.setAlignment(alignments[align]);
    memo->document()->setDefaultTextOption(option);
    const auto& buttons =
        heading == 0 ? form_->bigHeadingAlignButtons : form_->smallHeadingAlignButtons;
    for (int i = 0; i < 3; ++i)
        buttons[i]->setChecked(i == align);
}

void PageEditorWindow::alignFramed(int which, bool setTags) {
    static const char* const paragraph[] = {"left", "center", "left"};
    static const char* const table[] = {"left", "center", "right"};
    if (setTags) {
        memory_.ETAGP1 = QStringLiteral("<P align=\"%1\">").arg(QLatin1String(paragraph[which]));
        document_.fields.ETAGHYO1 = QStringLiteral("align=\"%1\"").arg(QLatin1String(table[which]));
    }
    PageEditorForm& f = *form_;
    auto* row = static_cast<QHBoxLayout*>(f.framedPanel->layout());
    row->setStretch(0, which == 0 ? 0 : 1);
    row->setStretch(2, which == 2 ? 0 : 1);
    f.framedTextEdit->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    for (QPlainTextEdit* memo : {f.framedTextEdit, f.unframedTextEdit}) {
        QTextOption option = memo->document()->defaultTextOption();
        option.setAlignment(which == 1 ? Qt::AlignHCenter : Qt::AlignLeft);
        memo->document()->setDefaultTextOption(option);
    }
    for (int i = 0; i < 3; ++i)
        f.framedAlignButtons[i]->setChecked(i == which);
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
    if (!field || !answers_.ruby)
        return;
    QTextCursor cursor = field->textCursor();
    const QString base = cursor.selectedText();
    if (base.isEmpty())
        return;
    const QString reading = answers_.ruby(base);
    if (reading.isEmpty())
        return;
    if (!fitsMarkup(reading)) {
        prompts_->tell(QStringLiteral("ルビ「%1」には \"、<、> を使えません。").arg(reading));
        return;
    }
    cursor.insertText(QStringLiteral("<ruby>") + base + QStringLiteral("<rt>") + reading +
                      QStringLiteral("</ruby>"));
    field->setFocus();
}

void PageEditorWindow::insertLink() {
    QPlainTextEdit* field = focused_;
    if (!field || !answers_.link)
        return;
    QTextCursor cursor = field->textCursor();
    QString target = answers_.link();
    if (target.isEmpty())
        return;
    if (!fitsMarkup(target)) {
        prompts_->tell(QStringLiteral("リンク先「%1」には \"、<、> を使えません。").arg(target));
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
    form_->bigHeadingEdit->clear();
    form_->smallHeadingEdit->clear();
    form_->unframedTextEdit->clear();
}

void PageEditorWindow::growFields() {
    // The headings grow with their lines, in their own font.
    auto lines = [](QPlainTextEdit* memo) { return qMax(1, memo->document()->blockCount()); };
    auto fit = [&](QPlainTextEdit* memo, int most) {
        const int line = memo->fontMetrics().lineSpacing();
        memo->setFixedHeight(qMin(line * lines(memo) + 2 * memo->frameWidth() + 12, most));
    };
    fit(form_->bigHeadingEdit, 240);
    fit(form_->smallHeadingEdit, 200);
    static const int lineHeights[] = {15, 24, 28, 26, 27};
    const int kind = qBound(0, document_.fields.kind, 4);
    QPlainTextEdit* framed = form_->framedTextEdit;
    framed->setMinimumHeight(qMin(lines(framed) * lineHeights[kind] + 40, 400));
}
