#include "pageeditor/pageeditorpictures.h"

#include "pageeditor/pageeditorform.h"
#include "pageeditor/webtext.h"
#include "pictures/picturelayer.h"
#include "platform/shell.h"
#include "platform/trash.h"
#include "platform/userprompts.h"
#include "storage/htmlcopy.h"

#include <QBoxLayout>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QProcess>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTextCursor>
#include <QToolButton>

namespace {

// A whole number written in a size attribute, or -1.
int wholeNumber(const QString& text) {
    bool ok = false;
    const int v = text.trimmed().toInt(&ok);
    return ok && v > 0 ? v : -1;
}

} // namespace

PageEditorPictures::PageEditorPictures(PageEditorForm& form, PageDocument& document,
                                       PageMemory& memory, QWidget& window, UserPrompts& prompts)
    : form_(form), document_(document), memory_(memory), window_(window), prompts_(&prompts) {
    connect(form_.pictureSizeBar, &QScrollBar::valueChanged, this,
            &PageEditorPictures::sizeFromBar);
    connect(form_.loadPictureButton, &QToolButton::clicked, this, &PageEditorPictures::loadPicture);
    connect(form_.paintButton, &QToolButton::clicked, this, [this] { paintPicture(false); });
    for (QToolButton* link : {form_.linkPictureButton, form_.linkPictureBelowButton})
        connect(link, &QToolButton::clicked, this, &PageEditorPictures::linkPicture);
    connect(form_.titlePictureButton, &QToolButton::clicked, this,
            &PageEditorPictures::titlePicture);
    connect(form_.backgroundButton, &QToolButton::clicked, this,
            &PageEditorPictures::backgroundPicture);
    const std::pair<QToolButton*, Placement> placements[] = {
        {form_.pictureLeftButton, Placement::PictureLeft},
        {form_.centredButton, Placement::Centred},
        {form_.pictureRightButton, Placement::PictureRight},
        {form_.textOnlyButton, Placement::TextOnly}};
    for (const auto& [button, placement] : placements) {
        const Placement p = placement;
        connect(button, &QToolButton::clicked, this, [this, p] { place(p); });
    }
    // The right button has a meaning of its own on the picture buttons.
    for (QWidget* w :
         {static_cast<QWidget*>(form_.picturePreview),
          static_cast<QWidget*>(form_.loadPictureButton), static_cast<QWidget*>(form_.paintButton),
          static_cast<QWidget*>(form_.linkPictureButton),
          static_cast<QWidget*>(form_.linkPictureBelowButton)})
        w->installEventFilter(this);
}

void PageEditorPictures::startPage(const QString& path, const QString& wallFolder) {
    page_ = path;
    pageFolder_ = QFileInfo(path).absolutePath() + QLatin1Char('/');
    wallFolder_ = wallFolder.isEmpty() ? pageFolder_ : wallFolder;
    saves_ = PictureSaves();
}

void PageEditorPictures::say(const QString& text) {
    prompts_->tell(text);
}

bool PageEditorPictures::eventFilter(QObject* watched, QEvent* event) {
    if (watched == form_.picturePreview && event->type() == QEvent::MouseButtonDblClick &&
        !form_.pictureNameEdit->text().isEmpty()) {
        openWithShell(pageFolder_ + form_.pictureNameEdit->text());
        emit tuckRequested();
        return true;
    }
    if (event->type() != QEvent::MouseButtonPress ||
        static_cast<QMouseEvent*>(event)->button() != Qt::RightButton)
        return false;
    if (watched == form_.loadPictureButton) {
        deletePicture();
        return true;
    }
    if (watched == form_.paintButton) {
        paintPicture(true);
        return true;
    }
    if (watched == form_.linkPictureButton || watched == form_.linkPictureBelowButton) {
        unlinkPicture();
        return true;
    }
    return false;
}

void PageEditorPictures::showPictureFields() {
    form_.showPictureFields(document_.fields);
}

// ---- Placement ----

void PageEditorPictures::showRead() {
    // The picture, shown at its size; without one the paragraph is shown as
    // text only, and whatever link it holds stays.
    const PageFields& f = document_.fields;
    preview_ = QImage();
    form_.picturePreview->clear();
    if (!f.pictureName.isEmpty() && QFileInfo(pageFolder_ + f.pictureName).isFile())
        Gsize(pageFolder_ + f.pictureName);
    showPlacement(f.multiCellTable ? Placement::TextOnly : placementOf(f));
    form_.coverPanel->setVisible(f.multiCellTable);
    form_.picturePanel->setEnabled(!f.multiCellTable);
    showPictureFields();
}

void PageEditorPictures::place(Placement placement) {
    PageFields& f = document_.fields;
    form_.takeFields(f);
    if (placement == Placement::TextOnly) {
        placeMarkup(f, placement);
        Gnil(f, saves_);
        preview_ = QImage();
        form_.picturePreview->clear();
    } else {
        GFUKKI(f, saves_, page_);
        placeMarkup(f, placement);
        const QString kept = pageFolder_ + saves_.TAIHI3;
        if (!saves_.TAIHI3.isEmpty() && QFileInfo(kept).isFile())
            Gsize(kept);
    }
    form_.coverPanel->hide();
    form_.picturePanel->setEnabled(true);
    showPlacement(placement);
    showPictureFields();
}

void PageEditorPictures::showPlacement(Placement placement) {
    placement_ = placement;
    form_.picturePanel->setVisible(placement != Placement::TextOnly);
    // Centred, the picture stands above the text; otherwise beside it.
    form_.pictureRow->setDirection(placement == Placement::PictureRight ? QBoxLayout::RightToLeft
                                   : placement == Placement::Centred    ? QBoxLayout::TopToBottom
                                                                        : QBoxLayout::LeftToRight);
    const std::pair<QToolButton*, Placement> buttons[] = {
        {form_.pictureLeftButton, Placement::PictureLeft},
        {form_.centredButton, Placement::Centred},
        {form_.pictureRightButton, Placement::PictureRight},
        {form_.textOnlyButton, Placement::TextOnly}};
    for (const auto& [b, p] : buttons)
        b->setChecked(p == placement);
}

// ---- The picture ----

void PageEditorPictures::Gsize(const QString& path) {
    // The preview never needs more than the size bar's widest picture: a
    // large photograph is decoded at a fraction of its size.
    const PictureRead read = readPicture(path, [](QSize full) {
        return full.scaled(QSize(kPictureBarMax, kPictureBarMax), Qt::KeepAspectRatio)
            .boundedTo(full);
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
        const QSignalBlocker quiet(form_.pictureSizeBar);
        const int width = wholeNumber(f.pictureWidth);
        form_.pictureSizeBar->setValue(width > 0 ? width : natural.width());
    }
    const int w = wholeNumber(f.pictureWidth);
    const int h = wholeNumber(f.pictureHeight);
    showPreview(w > 0 && h > 0 ? QSize(w, h) : natural);
    showPictureFields();
}

void PageEditorPictures::sizeFromBar(int position) {
    PageFields& f = document_.fields;
    if (preview_.isNull())
        return;
    const PictureSize size = sizeForBar(position, XToY_, wholeNumber(f.pictureHeight));
    f.pictureWidth = QString::number(size.width);
    f.pictureHeight = QString::number(size.height);
    f.pictureLoaded = true;
    form_.pictureWidthEdit->setText(f.pictureWidth);
    form_.pictureHeightEdit->setText(f.pictureHeight);
    showPreview(QSize(size.width, size.height));
}

void PageEditorPictures::showPreview(QSize size) {
    // The editor shows the picture's shape; its size on the page is in the
    // size fields. A page-sized preview would push the texts away.
    if (preview_.isNull() || size.width() <= 0 || size.height() <= 0)
        return;
    const QSize shown = size.boundedTo(QSize(320, 240));
    form_.picturePreview->setPixmap(QPixmap::fromImage(preview_.scaled(
        size.scaled(shown, Qt::KeepAspectRatio), Qt::IgnoreAspectRatio, Qt::FastTransformation)));
}

void PageEditorPictures::GCHECK(Placement placement) {
    PageFields& f = document_.fields;
    if (!f.pictureLoaded) {
        // An empty frame the size a picture would take there.
        const bool centred = placement == Placement::Centred;
        f.pictureWidth = QString::number(centred ? 600 : 280);
        f.pictureHeight = QString::number(centred ? 400 : 340);
    }
    XToY_ = ratioOf(f.pictureWidth, f.pictureHeight);
    const QSignalBlocker quiet(form_.pictureSizeBar);
    form_.pictureSizeBar->setValue(qMax(kPictureBarMin, wholeNumber(f.pictureWidth)));
    showPictureFields();
}

// ---- Picture buttons ----

bool PageEditorPictures::copyInto(const QString& from, const QString& to) {
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
        if (!prompts_->ask(
                QStringLiteral("「%1」はもうあります。選んだ画像で置き換えますか？").arg(to)))
            return false;
    }
    if (!copyOver(from, to)) {
        say(QStringLiteral("「%1」を「%2」にコピーできません。").arg(from, to));
        return false;
    }
    return true;
}

QString PageEditorPictures::chosenPicture() {
    FileRequest request;
    request.title = QStringLiteral("画像");
    request.folder = pictureFolder_.isEmpty() ? pageFolder_ : pictureFolder_;
    request.filter = QStringLiteral("画像ファイル (*.jpg *.jpeg *.bmp *.gif *.png);;"
                                    "JPEG画像ファイル (*.jpg *.jpeg);;BMP画像ファイル (*.bmp);;"
                                    "GIF画像ファイル (*.gif);;PNG画像ファイル (*.png)");
    const QString chosen = prompts_->chooseFile(request);
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

void PageEditorPictures::loadPicture() {
    PageFields& f = document_.fields;
    form_.takeFields(f);
    const QString chosen = chosenPicture();
    if (chosen.isEmpty())
        return;
    if (placement_ == Placement::TextOnly || placement_ == Placement::Centred) {
        GFUKKI(f, saves_, page_);
        placeMarkup(f, Placement::Centred);
        showPlacement(Placement::Centred);
    }
    const QString copy = pageFolder_ + QFileInfo(chosen).fileName();
    if (!copyInto(chosen, copy))
        return;
    f.sizesFromPage = false;
    f.Edit7.clear();
    Gsize(copy);
    f.Edit7 = pictureMarkup(f.pictureName, wholeNumber(f.pictureWidth),
                            wholeNumber(f.pictureHeight), placement_, false);
    GTAIHI(f, saves_);
    form_.coverPanel->hide();
    form_.picturePanel->setEnabled(true);
    showPictureFields();
}

void PageEditorPictures::deletePicture() {
    PageFields& f = document_.fields;
    const QString picture = pageFolder_ + f.pictureName;
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
    form_.picturePreview->clear();
    GCHECK(placement_);
    f.linkFile.clear();
    f.linkText.clear();
    showPictureFields();
}

void PageEditorPictures::paintPicture(bool anew) {
    if (painter_)
        return;
    PageFields& f = document_.fields;
    form_.takeFields(f);
    auto centreTextOnly = [&] {
        if (placement_ == Placement::TextOnly) {
            GFUKKI(f, saves_, page_);
            placeMarkup(f, Placement::Centred);
            showPlacement(Placement::Centred);
        }
    };
    if (anew || f.pictureName.isEmpty()) {
        const QString name = QStringLiteral("_") + Gnumber(page_);
        centreTextOnly();
        // The drawing's file and the markup name one and the same picture.
        f.Edit7 = CHIKAN(f.Edit7, QStringLiteral("src=\"%1\"").arg(name));
        f.pictureName = name;
        if (QFileInfo(pageFolder_ + name).isFile() && !moveToTrash(pageFolder_ + name)) {
            say(QStringLiteral("「%1」をごみ箱に移せません。").arg(pageFolder_ + name));
            return;
        }
    }
    const QString path = pageFolder_ + f.pictureName;
    if (!QFileInfo(path).exists()) {
        centreTextOnly();
        const int w = qMax(kPictureBarMin, wholeNumber(f.pictureWidth));
        const int h = qMax(kPictureBarMin, wholeNumber(f.pictureHeight));
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
    window_.setEnabled(false);
    connect(painter_, &QProcess::finished, this, [this, path] { paintingEnded(path); });
    connect(painter_, &QProcess::errorOccurred, this, [this, path](QProcess::ProcessError e) {
        if (e == QProcess::FailedToStart) {
            say(QStringLiteral("お絵かきソフトを起動できません。"));
            paintingEnded(path);
        }
    });
    painter_->start(program, {path});
}

void PageEditorPictures::paintingEnded(const QString& path) {
    if (painter_) {
        painter_->deleteLater();
        painter_ = nullptr;
    }
    window_.setEnabled(true);
    if (QFileInfo(path).isFile()) {
        document_.fields.sizesFromPage = false;
        Gsize(path);
    }
}

void PageEditorPictures::linkPicture() {
    FileRequest request;
    request.title = QStringLiteral("画像へのリンク");
    request.folder = linkFolder_.isEmpty() ? pageFolder_ : linkFolder_;
    request.filter = QStringLiteral("全ファイル (*);;HTML (*.html);;TURX (*.trx);;"
                                    "画像 (*.jpeg *.jpg *.gif *.bmp);;動画 (*.mvi *.wmv)");
    const QString chosen = prompts_->chooseFile(request);
    if (chosen.isEmpty())
        return;
    if (!fitsMarkup(chosen)) {
        say(QStringLiteral("「%1」の名前には \"、<、> が入っているので、リンクにできません。")
                .arg(chosen));
        return;
    }
    linkFolder_ = QFileInfo(chosen).absolutePath();
    const QString link = relativeLink(chosen, pageFolder_);
    document_.fields.linkFile = link;
    document_.fields.linkText = outsideQuiz(link);
    showPictureFields();
}

void PageEditorPictures::unlinkPicture() {
    // A selection in a text is what the right click takes away first.
    bool selected = false;
    for (QPlainTextEdit* memo : form_.texts()) {
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

void PageEditorPictures::insertPicture(QPlainTextEdit* field) {
    if (!field)
        return;
    QTextCursor cursor = field->textCursor();
    const QString chosen = chosenPicture();
    if (chosen.isEmpty())
        return;
    const QString name = QFileInfo(chosen).fileName();
    if (!copyInto(chosen, pageFolder_ + name))
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

std::optional<QString> PageEditorPictures::wallPicture() {
    const QString chosen = chosenPicture();
    if (chosen.isEmpty())
        return QString();
    const QString name = underscoreName(QFileInfo(chosen).fileName());
    if (!copyInto(chosen, wallFolder_ + name))
        return std::nullopt;
    return name;
}

void PageEditorPictures::titlePicture() {
    // Cancelled, the page has no title picture.
    if (const std::optional<QString> name = wallPicture())
        document_.pieces.HEDDA = titleHeader(document_.pieces.HEDDA, *name);
}

void PageEditorPictures::backgroundPicture() {
    if (const std::optional<QString> name = wallPicture())
        memory_.BODYS = backgroundBody(*name);
}
