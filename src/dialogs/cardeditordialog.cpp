#include "dialogs/cardeditordialog.h"

#include "cards/cardboard.h"
#include "cards/textplacing.h"
#include "dialogs/cardrules.h"
#include "dialogs/folderchooserdialog.h"
#include "document/changedetection.h"
#include "document/walldocument.h"
#include "document/wallsaver.h"
#include "model/cardcolors.h"
#include "pictures/picturelayer.h"
#include "pictures/thumbnails.h"
#include "platform/beep.h"
#include "platform/desktopcopy.h"
#include "storage/atomicfile.h"
#include "storage/htmlcopy.h"
#include "storage/pathforms.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QShortcut>
#include <QSignalBlocker>
#include <QToolButton>

namespace {

QString bareName(const QString& path) {
    return QFileInfo(path).fileName();
}

} // namespace

CardEditorDialog::CardEditorDialog(WallDocument& doc, const bool& busy, CardBoard& board,
                                   WallSaver& saver, ChangeDetection& changes,
                                   FolderChooserDialog* folderChooser, QWidget* parent)
    : QDialog(parent), st(doc), busy_(busy), board_(board), saver_(saver), changes_(changes),
      TForm26(folderChooser), form_(this) {
    setObjectName(QStringLiteral("TForm3"));
    setModal(true);
    connectForm();
}

void CardEditorDialog::connectForm() {
    for (const CardEditorForm::ColourButton& b : form_.cardColourButtons)
        connect(b.button, &QToolButton::clicked, this,
                [this, code = b.code] { setCardColour(code); });
    for (const CardEditorForm::ColourButton& b : form_.textColourButtons)
        connect(b.button, &QToolButton::clicked, this,
                [this, code = b.code] { setTextColour(code); });

    // The link buttons write the link field, which stores the link at once.
    connect(form_.branchToPictureNameButton, &QToolButton::clicked, this,
            &CardEditorDialog::branchToPictureName);
    connect(form_.branchToFolderButton, &QToolButton::clicked, this,
            &CardEditorDialog::branchToFolder);
    connect(form_.showFilesButton, &QToolButton::clicked, this, &CardEditorDialog::showFiles);
    connect(form_.showAsBackgroundButton, &QToolButton::clicked, this,
            &CardEditorDialog::showAsBackground);

    // Field handlers: edits reach the card as they are made.
    connect(form_.textMemo, &QPlainTextEdit::textChanged, this, [this] { HENKOU(); });
    connect(form_.markMemo, &QPlainTextEdit::textChanged, this, [this] { HENKOU(); });
    connect(form_.linkEdit, &QLineEdit::textChanged, this, [this](const QString& link) {
        if (st.PBAN >= 0 && st.PBAN < st.count())
            st.setLink(st.PBAN, link);
    });
    const QList<QLineEdit*> geometry{form_.leftEdit, form_.topEdit, form_.widthEdit,
                                     form_.heightEdit};
    for (int i = 0; i < geometry.size(); ++i) {
        QLineEdit* field = geometry[i];
        connect(field, &QLineEdit::textEdited, this,
                [this, field, i] { geometryEdited(field, i); });
    }
    connect(form_.rectangleButton, &QRadioButton::clicked, this, [this] { setShape(false); });
    connect(form_.ellipseButton, &QRadioButton::clicked, this, [this] { setShape(true); });
    connect(form_.stampBox, &QCheckBox::clicked, this, [this](bool on) {
        if (st.PBAN >= 0 && st.PBAN < st.count())
            st.setStampSwitch(st.PBAN, on ? 1 : 0);
    });
    connect(form_.checkOffBox, &QCheckBox::clicked, this, [this](bool on) {
        if (st.PBAN >= 0 && st.PBAN < st.count())
            st.setCheckOff(st.PBAN, on ? CheckOff::Armed : CheckOff::None);
    });
    connect(form_.pictureButton, &QToolButton::clicked, this, [this] { pictureFromFile(); });
    connect(form_.cardPictureButton, &QToolButton::clicked, this, [this] { pictureFromFile(); });
    connect(form_.pasteButton, &QToolButton::clicked, this, [this] { pictureFromClipboard(); });
    connect(form_.removePictureButton, &QToolButton::clicked, this,
            [this] { removeOrRestorePicture(); });
    connect(form_.saveButton, &QToolButton::clicked, this, &CardEditorDialog::saveClicked);
    for (const QKeySequence& keys :
         {QKeySequence(Qt::CTRL | Qt::Key_Return), QKeySequence(Qt::CTRL | Qt::Key_Enter)}) {
        auto* shortcut = new QShortcut(keys, this);
        connect(shortcut, &QShortcut::activated, this, &CardEditorDialog::saveClicked);
    }
    connect(form_.cancelButton, &QToolButton::clicked, this, &CardEditorDialog::cancelClicked);
}

void CardEditorDialog::branchToPictureName() {
    if (!QFileInfo(st.KIJUNDIR + form_.pictureEdit->text()).isFile())
        return;
    form_.linkEdit->setText(QFileInfo(form_.pictureEdit->text()).completeBaseName() +
                            QLatin1Char('\\'));
    QMessageBox::information(this, QStringLiteral("Zavik"), QStringLiteral("ok"));
}

void CardEditorDialog::branchToFolder() {
    form_.linkEdit->setText(TForm26->choose(form_.linkEdit->text(), st.KIJUNDIR, st.KIJUNDIRBAK));
}

void CardEditorDialog::openOn(int n, bool withMark) {
    if (busy_ || !st.has(n))
        return;
    ChangeDetection::Pause pause(changes_);
    if (isVisible())
        close();
    // Whatever the editor changes until it closes is one step; a cancel
    // leaves nothing to take back.
    const WallDocument::UserStep step(st, QStringLiteral("カードに書く"));
    st.PBAN = n;
    fill(n, withMark);
    prepare();
    placeBesideCard();
    exec();
    finishClosing();
}

void CardEditorDialog::placeBesideCard() {
    const QWidget* wall = parentWidget();
    if (!wall || !st.has(st.PBAN))
        return;
    // Until the window manager has framed the dialog once, allow for a
    // usual title bar and border.
    QSize frame = frameGeometry().size();
    if (frame == size())
        frame += QSize(8, 30);
    const QRect card = board_.onScreen(st.card(st.PBAN).rect);
    const QRect wallOnScreen(wall->mapToGlobal(QPoint(0, 0)), wall->size());
    move(cardEditorPlace(wallOnScreen, frame, card));
}

void CardEditorDialog::fill(int n, bool withMark) {
    // The editor's own filling changes no card: only what the user types does.
    const QList<QObject*> fields{form_.hintMemo, form_.textMemo, form_.flashMemo,  form_.markMemo,
                                 form_.linkEdit, form_.nameEdit, form_.pictureEdit};
    std::vector<std::unique_ptr<QSignalBlocker>> quiet;
    for (QObject* f : fields)
        quiet.push_back(std::make_unique<QSignalBlocker>(f));
    const CardEntry& e = st.card(n);
    form_.hintMemo->setPlainText(e.S2);
    form_.linkEdit->setText(e.NOTE);
    form_.textMemo->setPlainText(e.TT);
    form_.flashMemo->setPlainText(e.KFLG);
    if (withMark)
        form_.markMemo->setPlainText(e.KSU);
    form_.leftEdit->setText(QString::number(e.rect.x()));
    form_.topEdit->setText(QString::number(e.rect.y()));
    form_.widthEdit->setText(QString::number(e.rect.width()));
    form_.heightEdit->setText(QString::number(e.rect.height()));
    form_.stampBox->setChecked(e.STP == 1);
    (!e.elliptic() ? form_.rectangleButton : form_.ellipseButton)->setChecked(true);
}

void CardEditorDialog::prepare() {
    const int n = st.PBAN;
    const CardEntry& e = st.card(n);
    setWindowTitle(QDir::toNativeSeparators(st.KIJUNDIR + e.FNAME));
    PBANBK = n;
    saveRequested_ = false;

    const QList<QObject*> fields{form_.markMemo, form_.nameEdit, form_.pictureEdit};
    std::vector<std::unique_ptr<QSignalBlocker>> quiet;
    for (QObject* f : fields)
        quiet.push_back(std::make_unique<QSignalBlocker>(f));
    bak_ = Snapshot();
    bak_.checkOff = e.checkOff;
    bak_.mark = e.KSU;
    form_.markMemo->setPlainText(e.KSU);
    form_.checkOffBox->setChecked(e.checkOff == CheckOff::Armed ||
                                  e.checkOff == CheckOff::Collapsed);
    bak_.collapsed = e.checkOff == CheckOff::Collapsed;
    if (bak_.collapsed) {
        // A collapsed card is edited at the size stored in its file.
        st.expandToStoredSize(n);
        form_.widthEdit->setText(QString::number(e.rect.width()));
        form_.heightEdit->setText(QString::number(e.rect.height()));
        board_.relayout(n);
    }
    bak_.stamp = e.STP;
    bak_.elliptic = form_.ellipseButton->isChecked();
    bak_.picture = e.POST;
    form_.nameEdit->setText(QFileInfo(e.FNAME).completeBaseName());
    bak_.hint = e.S2;
    bak_.link = e.NOTE;
    bak_.text = e.TT;
    bak_.flash = e.KFLG;
    bak_.textColour = e.textColour;
    bak_.colour = e.colour;
    form_.showSaveHint(form_.nameEdit->text());

    // The picture as stored, kept unless the user changes it.
    openedPicture_ = e.POST;
    form_.pictureEdit->setText(e.POST);
    form_.removedPictureEdit->clear();
    form_.branchToPictureNameButton->setEnabled(!e.POST.isEmpty());
    showPicture(e.POST);
    const QString picture = ZETTAI(e.POST, st.KIJUNDIR, st.KIJUNDIRBAK);
    if (!e.POST.isEmpty())
        pictureFolder_ = QFileInfo(picture).absolutePath();

    previewColours();
    form_.textMemo->setFocus();
}

void CardEditorDialog::previewColours() {
    if (!st.has(st.PBAN))
        return;
    form_.showColours(st.card(st.PBAN).colour, st.card(st.PBAN).textColour);
}

void CardEditorDialog::showPicture(const QString& name) {
    form_.showPicture(name, st.KIJUNDIR, st.KIJUNDIRBAK);
}

int CardEditorDialog::memoLines() const {
    return std::max(1, countMemoLines(form_.textMemo->toPlainText(),
                                      form_.textMemo->viewport()->width(), form_.textMemo->font()));
}

void CardEditorDialog::HENKOU() {
    // A memo breaks lines with LF; texts read from a wall file break them
    // with CR LF, and the card keeps that one form whichever way it came.
    const auto text = [](const QPlainTextEdit* memo) {
        return memo->toPlainText().replace(QLatin1Char('\n'), QLatin1String("\r\n"));
    };
    st.setTexts(st.PBAN, text(form_.markMemo), text(form_.textMemo), text(form_.flashMemo),
                text(form_.hintMemo), form_.linkEdit->text());
    board_.HENKOU(st.PBAN, memoLines());
}

void CardEditorDialog::geometryEdited(QLineEdit* field, int which) {
    if (!st.has(st.PBAN))
        return;
    QRect g = st.card(st.PBAN).rect;
    const int values[] = {g.x(), g.y(), g.width(), g.height()};
    bool ok = false;
    const int v = field->text().toInt(&ok);
    if (!ok) {
        // Not a number: the card's own value comes back.
        field->setText(QString::number(values[which]));
        return;
    }
    switch (which) {
    case 0:
        g.moveLeft(v);
        break;
    case 1:
        g.moveTop(v);
        break;
    case 2:
        g.setWidth(v);
        break;
    default:
        g.setHeight(v);
        break;
    }
    st.setRect(st.PBAN, g);
}

void CardEditorDialog::setCardColour(int code) {
    st.setColour(st.PBAN, code);
    previewColours();
}

void CardEditorDialog::setTextColour(int code) {
    st.setTextColour(st.PBAN, code);
    previewColours();
}

void CardEditorDialog::setShape(bool elliptic) {
    (elliptic ? form_.ellipseButton : form_.rectangleButton)->setChecked(true);
    st.setShape(st.PBAN, elliptic);
}

void CardEditorDialog::pictureFromFile() {
    FileRequest request;
    request.mode = FileRequest::OpenOrTyped;
    request.title = QStringLiteral("画像");
    request.folder = pictureFolder_.isEmpty() ? st.KIJUNDIR : pictureFolder_;
    request.filter = QStringLiteral("画像 (*.jpeg *.jpg *.bmp);;すべて (*)");
    // "画像無し" names no file: it stands for no picture.
    request.typed = QStringLiteral("画像無し");
    const QString chosen = prompts_->chooseFile(request);
    if (chosen.isEmpty())
        return;
    const int n = st.PBAN;
    if (chosen == QLatin1String("画像無し")) {
        st.setPicture(n, QString());
        form_.pictureEdit->clear();
        form_.pictureView->clear();
        setWindowTitle(QString());
        HENKOU();
        return;
    }
    if (!QFileInfo(chosen).isFile()) {
        st.setPicture(n, QString());
        form_.pictureView->clear();
        HENKOU();
        return;
    }
    const PictureRead read = readPicture(chosen, [](QSize) { return QSize(1, 1); });
    if (read.image.isNull()) {
        QMessageBox::warning(this, QStringLiteral("Zavik"),
                             QStringLiteral("「%1」は画像として読めません：%2")
                                 .arg(QDir::toNativeSeparators(chosen), read.error));
        return;
    }
    pictureFolder_ = QFileInfo(chosen).absolutePath();
    if (!files_.takePicture(chosen, form_.nameEdit->text(), ownPicture()))
        return;
    const QString name = bareName(chosen);
    form_.pictureEdit->setText(name);
    st.setPicture(n, name);
    showPicture(name);
    setWindowTitle(name);
    form_.branchToPictureNameButton->setEnabled(true);
    HENKOU();
}

void CardEditorDialog::pictureFromClipboard() {
    const QImage pasted = QApplication::clipboard()->image();
    if (pasted.isNull())
        return;
    // Named after the card, as its file will be: a typed path cannot lead
    // the picture out of the wall.
    const QString cardName = QFileInfo(cardFileNameFor(form_.nameEdit->text())).completeBaseName();
    if (cardName.isEmpty()) {
        zavikBeep();
        return;
    }
    const QString name = cardName + QStringLiteral(".jpg");
    // The sub-folder the link names, when it is a plain folder of this wall;
    // else the card's own.
    const QString link = form_.linkEdit->text();
    const qsizetype cut = link.indexOf(QLatin1Char('\\'));
    QString folder = cut > 0 ? link.left(cut) : QString();
    if (!isPlainFolderName(folder))
        folder = form_.nameEdit->text();
    if (!files_.takePastedPicture(pasted, name, folder, ownPicture()))
        return;
    form_.pictureView->setPixmap(QPixmap::fromImage(pasted));
    form_.pictureEdit->setText(name);
    HENKOU();
}

QString CardEditorDialog::ownPicture() const {
    const QString shown = ZETTAI(form_.pictureEdit->text(), st.KIJUNDIR, st.KIJUNDIRBAK);
    return !form_.pictureEdit->text().isEmpty() && sameFile(shown, st.KIJUNDIR + bareName(shown))
               ? bareName(shown)
               : QString();
}

bool CardEditorDialog::mayReplace(const QStringList& paths) {
    return files_.mayReplace(paths, ownPicture());
}

void CardEditorDialog::putFilesBack() {
    files_.putBack();
    // The picture the card had, from its files as they are again.
    if (st.has(PBANBK) && st.card(PBANBK).POST != bak_.picture)
        st.setPicture(PBANBK, bak_.picture);
}

void CardEditorDialog::removeOrRestorePicture() {
    const int n = st.PBAN;
    if (!form_.pictureEdit->text().isEmpty()) {
        form_.removedPictureEdit->setText(form_.pictureEdit->text());
        st.setPicture(n, QString());
        form_.pictureEdit->clear();
        setWindowTitle(QString());
    } else if (form_.removedPictureEdit->text().isEmpty()) {
        st.setPicture(n, QString());
        setWindowTitle(QString());
    } else {
        st.setPicture(n, form_.removedPictureEdit->text());
        form_.pictureEdit->setText(form_.removedPictureEdit->text());
        setWindowTitle(form_.removedPictureEdit->text());
    }
    showPicture(form_.pictureEdit->text());
}

void CardEditorDialog::showFiles() {
    FileRequest request;
    request.mode = FileRequest::OpenMany;
    request.title = QStringLiteral("ファイルを表示");
    request.folder = filesFolder_.isEmpty() ? st.KIJUNDIR : filesFolder_;
    request.filter = QStringLiteral("全て (*);;動画・画像 (*.avi *.wmv *.jpeg *.jpg *.bmp *.gif);;"
                                    "LOGO (*.trx *.tr2 *.tra);;HTML (*.html);;pdf (*.pdf);;"
                                    "パネル(TXT) (*.txt)");
    const QStringList chosen = prompts_->chooseFiles(request);
    if (chosen.isEmpty())
        return;
    filesFolder_ = QFileInfo(chosen.first()).absolutePath();
    const QStringList names = files_.takeFiles(chosen, ownPicture());
    form_.linkEdit->setText(names.join(QLatin1Char('&')));
}

void CardEditorDialog::showAsBackground() {
    FileRequest request;
    request.mode = FileRequest::OpenMany;
    request.title = QStringLiteral("背景に表示");
    request.folder = pictureFolder_;
    request.filter = QStringLiteral("画像 (*.jpeg *.jpg *.bmp)");
    const QStringList chosen = prompts_->chooseFiles(request);
    const QString last = files_.takeBackgrounds(chosen, ownPicture());
    if (!last.isEmpty())
        form_.linkEdit->setText(last + QStringLiteral(">BG"));
}

QString CardEditorDialog::typedFileName() const {
    // The name the card was opened with goes back to the card's own file,
    // whatever characters that file's name holds.
    const QString own = st.has(PBANBK) ? st.card(PBANBK).FNAME : QString();
    if (!own.isEmpty() && form_.nameEdit->text() == QFileInfo(own).completeBaseName())
        return own;
    return cardFileNameFor(form_.nameEdit->text());
}

QString CardEditorDialog::checkedFileName() {
    const QString name = typedFileName();
    if (name.isEmpty() || form_.nameEdit->text().trimmed().isEmpty()) {
        zavikBeep();
        if (!form_.nameEdit->text().isEmpty())
            QMessageBox::information(this, QStringLiteral("Zavik"),
                                     QStringLiteral("このカード名はファイルの名前にできません。"));
        return QString();
    }
    return name;
}

QString CardEditorDialog::renameQuestion(const QString& name) const {
    // Another card's name: that card would be rebuilt from this one and
    // written over; any other file of that name (notes, a card file that
    // could not be read) would be replaced.
    if (!st.has(PBANBK) || name == st.card(PBANBK).FNAME)
        return QString();
    if (st.lastIndexOfFile(name) >= 0)
        return QStringLiteral("カード「%1」がもうあります。このカードの内容で書きかえますか？")
            .arg(QFileInfo(name).completeBaseName());
    const QFileInfo file(st.KIJUNDIR + name);
    if (file.exists() || file.isSymLink())
        return QStringLiteral("このかべのフォルダに「%1」があります。このカードの内容で書きかえ"
                              "ますか？")
            .arg(name);
    return QString();
}

void CardEditorDialog::saveClicked() {
    const QString name = checkedFileName();
    if (name.isEmpty())
        return;
    const int n = st.PBAN;
    const QString question = renameQuestion(name);
    if (!question.isEmpty() &&
        QMessageBox::question(this, QStringLiteral("Zavik"), question) != QMessageBox::Yes)
        return;
    // A picture named from outside the wall is copied in at closing.
    const QString picture = ZETTAI(form_.pictureEdit->text(), st.KIJUNDIR, st.KIJUNDIRBAK);
    const QString pictureInWall = st.KIJUNDIR + bareName(picture);
    if (form_.pictureEdit->text() != openedPicture_ && QFileInfo(picture).isFile() &&
        !sameFile(picture, pictureInWall) && !mayReplace({pictureInWall}))
        return;
    saveRequested_ = true;
    // A branch link: its folder where the link interpreter will look for it.
    const QString link = form_.linkEdit->text();
    if (endsWithSeparator(link) && !link.startsWith(QLatin1Char('<')) &&
        !link.startsWith(QLatin1Char('>')) && !isWindowsDrivePath(link))
        QDir().mkpath(ZETTAI(link, st.KIJUNDIR, st.KIJUNDIRBAK));
    if (st.card(n).checkOff == CheckOff::LinkMoved)
        st.setCheckOff(n, CheckOff::None);
    accept();
}

void CardEditorDialog::cancelClicked() {
    // The files first: the card then shows its picture as it is again.
    putFilesBack();
    MODOSU(PBANBK);
    // A card opened collapsed goes back to its square.
    if (bak_.collapsed)
        st.collapse(PBANBK);
    saveRequested_ = false;
    reject();
}

void CardEditorDialog::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        cancelClicked();
        return;
    }
    // Return alone closes nothing.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        return;
    QDialog::keyPressEvent(event);
}

void CardEditorDialog::MODOSU(int n) {
    if (!st.has(n))
        return;
    saveRequested_ = false;
    // The picture too, even when the card had none: what a picture button
    // brought in has gone again on a cancel.
    const bool there = QFileInfo(ZETTAI(bak_.picture, st.KIJUNDIR, st.KIJUNDIRBAK)).isFile();
    st.setPicture(n, there ? bak_.picture : QString());
    st.setShape(n, bak_.elliptic);
    st.setStampSwitch(n, bak_.stamp);
    st.setCheckOff(n, bak_.checkOff);
    st.setTextColour(n, bak_.textColour);
    st.setColour(n, bak_.colour);
    st.setTexts(n, bak_.mark, bak_.text, bak_.flash, bak_.hint, bak_.link);
    board_.HENKOU(n, memoLines());
    if (n == st.PBAN)
        refillFromSnapshot();
}

void CardEditorDialog::refillFromSnapshot() {
    const QList<QObject*> fields{form_.hintMemo, form_.textMemo, form_.flashMemo, form_.markMemo,
                                 form_.linkEdit};
    std::vector<std::unique_ptr<QSignalBlocker>> quiet;
    for (QObject* f : fields)
        quiet.push_back(std::make_unique<QSignalBlocker>(f));
    form_.hintMemo->setPlainText(bak_.hint);
    form_.linkEdit->setText(bak_.link);
    form_.markMemo->setPlainText(bak_.mark);
    form_.textMemo->setPlainText(bak_.text);
    form_.flashMemo->setPlainText(bak_.flash);
    form_.stampBox->setChecked(bak_.stamp == 1);
    (bak_.elliptic ? form_.ellipseButton : form_.rectangleButton)->setChecked(true);
    previewColours();
}

void CardEditorDialog::finishClosing() {
    form_.pictureView->clear();
    // Closed without saving (the close box as well): the wall folder as it
    // was when the editor opened.
    if (!saveRequested_) {
        putFilesBack();
        return;
    }
    saveRequested_ = false;
    files_.commit();
    int n = st.PBAN;
    if (!st.has(n))
        return;
    // 1. The picture, unless it is the one the card had.
    if (form_.pictureEdit->text() != openedPicture_) {
        const QString picture = ZETTAI(form_.pictureEdit->text(), st.KIJUNDIR, st.KIJUNDIRBAK);
        if (!form_.pictureEdit->text().isEmpty() && QFileInfo(picture).isFile()) {
            const QString name = bareName(picture);
            if (!sameFile(picture, st.KIJUNDIR + name))
                copyOver(picture, st.KIJUNDIR + name);
            NAILIMAGELOADMAKE(st.KIJUNDIR + name, st.KIJUNDIR);
            form_.pictureEdit->setText(name);
            st.setPicture(n, name);
        } else {
            st.setPicture(n, QString());
        }
    }
    // 2. The texts.
    HENKOU();
    // A size typed below the floors is raised before anything is written.
    board_.CardSize();
    // 3, 4. The name; a new one makes a new card carrying the edits.
    const QString name = typedFileName();
    const CardEntry& e = st.card(n);
    if (!name.isEmpty() && name != e.FNAME) {
        CardEntry p;
        static_cast<PosterRecord&>(p) = e;
        p.rect = e.rect.translated(2, 2);
        p.colour = e.colour;
        p.textColour = e.textColour;
        p.shape = e.shape;
        p.FNAME = name;
        // Collapsing, when ticked, follows the save below.
        p.KAKUSU = form_.checkOffBox->isChecked() ? QStringLiteral("0")
                                                  : storedCheckOff(e.checkOff, e.KAKUSU);
        if (!st.PanelMake(1, p)) {
            QMessageBox::warning(
                this, QStringLiteral("Zavik"),
                QStringLiteral("このかべには%1枚までのカードしか置けません。別の名前のカードは"
                               "作れませんでした。")
                    .arg(WallDocument::kMaxCards));
            return;
        }
        // The card the editor opened on goes back to what it was.
        MODOSU(PBANBK);
        n = st.PBAN;
    }
    // 5, 6. Written with a fresh stamp, full size; collapsed afterwards when
    // ticked, as the card menu's save does.
    const bool collapse = form_.checkOffBox->isChecked();
    if (collapse)
        st.setCheckOff(n, CheckOff::Armed);
    saver_.PANELSAVE(n, 2);
    if (collapse)
        st.collapse(n);
}
