#include "dialogs/settingsdialog.h"

#include "dialogs/pagetemplate.h"
#include "dialogs/replacequestion.h"
#include "dialogs/startovercanceldialog.h"
#include "document/walldocument.h"
#include "platform/beep.h"
#include "platform/desktopprograms.h"
#include "platform/shell.h"
#include "storage/editorpage.h"
#include "storage/htmlcopy.h"
#include "storage/pathforms.h"
#include "storage/underscorecopy.h"

#include <QDir>
#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QScrollBar>
#include <QShowEvent>
#include <QSignalBlocker>
#include <QToolButton>
#include <optional>

namespace {

const QString kEditorComing = QStringLiteral("（ページエディターは準備中です）");

// ---- Files and folders ----

QString bareName(const QString& path) {
    return QFileInfo(path).fileName();
}

// The file name part of a page name that may carry a folder or an address.
QString fileNamePart(const QString& name) {
    return name.mid(folderPart(name).size());
}

bool sameFolder(const QString& a, const QString& b) {
    const QString ca = QDir(a).canonicalPath();
    return !ca.isEmpty() && ca == QDir(b).canonicalPath();
}

// Whether `path` names a file directly in `folder` (not below it).
bool directlyIn(const QString& path, const QString& folder) {
    return sameFolder(QFileInfo(path).absolutePath(), folder);
}

// The wall's own card and settings files, which a picture or a page taken
// into the wall must never replace, nor a removed background delete.
bool isWallFile(const QString& name) {
    const QString lower = name.toLower();
    return lower.endsWith(QLatin1String(".txt")) || lower.endsWith(QLatin1String(".ini"));
}

std::optional<int> wholeNumber(const QString& text) {
    bool ok = false;
    const int v = text.toInt(&ok);
    return ok ? std::optional<int>(v) : std::nullopt;
}

using Form = SettingsForm;

} // namespace

SettingsDialog::SettingsDialog(WallDocument& state, QWidget* parent)
    : QDialog(parent), st(state), form_(this) {
    setObjectName(QStringLiteral("TForm19"));
    setModal(true);
    connectForm();
    fillFrom(WindowSettings());
    setWordMode(false);
}

void SettingsDialog::connectForm() {
    for (int i = 0; i < Form::FieldCount; ++i) {
        const Form::Field& f = form_.fields[i];
        connect(f.edit, &QLineEdit::textChanged, this, [this, i] { editChanged(i); });
        connect(f.edit, &QLineEdit::editingFinished, this, [this, i] { editLeft(i); });
        connect(f.bar, &QScrollBar::valueChanged, this, [this, i](int v) {
            const QString text = QString::number(v);
            if (form_.fields[i].edit->text() != text)
                form_.fields[i].edit->setText(text);
            moveMiniatures();
        });
    }
    for (const Form::Placement& p : form_.webPlacements)
        connect(p.button, &QToolButton::clicked, this,
                [this, place = p.place] { placeWindow(Form::WebX, place); });
    for (const Form::Placement& p : form_.fileCorners)
        connect(p.button, &QToolButton::clicked, this,
                [this, place = p.place] { placeWindow(Form::FileX, place); });
    for (const Form::Kind& k : form_.kinds)
        connect(k.button, &QToolButton::clicked, this, [this, k] {
            form_.fileKindEdit->setText(k.word);
            form_.fileMaskEdit->setText(k.mask);
        });
    connect(form_.noFilesButton, &QToolButton::clicked, this, [this] {
        form_.fileKindEdit->clear();
        form_.fileMaskEdit->clear();
    });
    // A click on these captions is a quick way to take the web window away.
    for (QLabel* caption : form_.removingCaptions)
        caption->installEventFilter(this);

    for (QToolButton* b : {form_.newPageButton, form_.editPageButton, form_.restoreBackgroundButton,
                           form_.removeBackgroundButton, form_.saveButton})
        b->installEventFilter(this);
    connect(form_.newPageButton, &QToolButton::clicked, this, &SettingsDialog::newPage);
    connect(form_.editPageButton, &QToolButton::clicked, this, &SettingsDialog::editPage);
    connect(form_.choosePageButton, &QToolButton::clicked, this, &SettingsDialog::choosePageFile);
    connect(form_.removeWebButton, &QToolButton::clicked, this, &SettingsDialog::removeWebWindow);
    connect(form_.editorSwitch, &QToolButton::clicked, this, [this] { setWordMode(!WINS); });
    connect(form_.ribbonSwitch, &QToolButton::clicked, this, &SettingsDialog::toggleRibbon);
    connect(form_.chooseBackgroundButton, &QToolButton::clicked, this,
            &SettingsDialog::chooseBackgroundPicture);
    connect(form_.restoreBackgroundButton, &QToolButton::clicked, this,
            &SettingsDialog::restoreBackground);
    connect(form_.removeBackgroundButton, &QToolButton::clicked, this,
            &SettingsDialog::removeBackground);
    connect(form_.saveButton, &QToolButton::clicked, this, &SettingsDialog::saveClicked);
    connect(form_.cancelButton, &QToolButton::clicked, this, &SettingsDialog::cancelClicked);
}

// ---- Settings in and out ----

void SettingsDialog::fillFrom(const WindowSettings& s) {
    filled_ = s;
    form_.startPageEdit->setText(s.web.page);
    const int values[Form::FieldCount] = {s.web.X,   s.web.Y,   s.web.width,   s.web.height,
                                          s.files.X, s.files.Y, s.files.width, s.files.height};
    for (int i = 0; i < Form::FieldCount; ++i) {
        // The edit shows the value as stored even where the bar cannot go.
        const QSignalBlocker barQuiet(form_.fields[i].bar);
        const QSignalBlocker editQuiet(form_.fields[i].edit);
        form_.fields[i].bar->setValue(values[i]);
        form_.fields[i].edit->setText(QString::number(values[i]));
    }
    ribbon_ = s.web.ribbon;
    showRibbon(ribbon_ > 0);
    form_.fileKindEdit->setText(s.files.label);
    form_.fileMaskEdit->setText(s.files.mask);
    moveMiniatures();
}

WindowSettings SettingsDialog::settings() const {
    // The stamps stay those of the files as read.
    WindowSettings s = filled_;
    s.web.page = form_.startPageEdit->text();
    s.web.X = value(Form::WebX);
    s.web.Y = value(Form::WebY);
    s.web.width = value(Form::WebWidth);
    s.web.height = value(Form::WebHeight);
    s.web.ribbon = ribbon_;
    s.files.label = form_.fileKindEdit->text();
    s.files.mask = form_.fileMaskEdit->text();
    s.files.X = value(Form::FileX);
    s.files.Y = value(Form::FileY);
    s.files.width = value(Form::FileWidth);
    s.files.height = value(Form::FileHeight);
    return s;
}

int SettingsDialog::value(int which) const {
    // An edit left holding no whole number counts as its bar, which did not
    // follow it.
    return wholeNumber(form_.fields[which].edit->text()).value_or(form_.fields[which].bar->value());
}

void SettingsDialog::setValue(int which, int v) {
    form_.fields[which].edit->setText(QString::number(v));
}

void SettingsDialog::editChanged(int which) {
    if (const auto v = wholeNumber(form_.fields[which].edit->text()))
        form_.fields[which].bar->setValue(*v);
    moveMiniatures();
}

void SettingsDialog::editLeft(int which) {
    QLineEdit* edit = form_.fields[which].edit;
    const QString typed = edit->text();
    if (wholeNumber(typed))
        return;
    // The bar's value comes back before the message, so that the message,
    // which takes the focus, finds nothing more to complain about.
    edit->setText(QString::number(form_.fields[which].bar->value()));
    prompts_->tell(QStringLiteral("「%1」は整数ではありません。").arg(typed));
}

int SettingsDialog::run() {
    result_ = 0;
    exec();
    return result_;
}

void SettingsDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    const bool haveWordProcessor = !wordProcessor().isEmpty();
    form_.editorSwitch->setEnabled(haveWordProcessor);
    setWordMode(WINS && haveWordProcessor);
    refreshBackgroundNames();
    setWindowTitle(st.KIJUNDIR);
    for (int i = 0; i < Form::FieldCount; ++i)
        opening_[i] = form_.fields[i].bar->value();
    openingRibbon_ = ribbon_;
}

// ---- The miniatures and the ribbon ----

void SettingsDialog::moveMiniatures() {
    const QRect web(value(Form::WebX) / 20, value(Form::WebY) / 20, value(Form::WebWidth) / 20,
                    value(Form::WebHeight) / 20);
    form_.webMiniature->setGeometry(web);
    form_.ribbonMiniature->setGeometry(web.x(), web.y() + web.height(), web.width(), 3);
    form_.fileMiniature->setGeometry(value(Form::FileX) / 20, value(Form::FileY) / 20,
                                     value(Form::FileWidth) / 20, value(Form::FileHeight) / 20);
}

void SettingsDialog::showRibbon(bool with) {
    form_.ribbonSwitch->setText(with ? QStringLiteral("リボンあり") : QStringLiteral("リボン無し"));
    form_.ribbonMiniature->setVisible(with);
    form_.placesWithRibbon->setVisible(with);
    form_.placesNoRibbon->setVisible(!with);
}

void SettingsDialog::toggleRibbon() {
    ribbon_ = ribbon_ <= 0 ? 1 : 0;
    showRibbon(ribbon_ > 0);
}

void SettingsDialog::placeWindow(int first, const QRect& place) {
    setValue(first, place.x());
    setValue(first + 1, place.y());
    setValue(first + 2, place.width());
    setValue(first + 3, place.height());
}

// ---- Hints ----

bool SettingsDialog::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Enter) {
        refreshHint(watched);
    } else if (event->type() == QEvent::MouseButtonRelease &&
               form_.removingCaptions.contains(qobject_cast<QLabel*>(watched)) &&
               static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        removeWebWindow();
    }
    return QDialog::eventFilter(watched, event);
}

void SettingsDialog::refreshHint(QObject* control) {
    if (control == form_.newPageButton && form_.newPageButton->isEnabled()) {
        form_.newPageButton->setToolTip(WINS ? QStringLiteral("ワードで作成")
                                             : QStringLiteral("エディターで作成"));
    } else if (control == form_.editPageButton) {
        QString hint = WINS ? QStringLiteral("ワードで編集") : QStringLiteral("エディターで編集");
        const QString page = st.KIJUNDIR + fileNamePart(form_.startPageEdit->text());
        const bool isPage = QFileInfo(page).suffix().toLower().contains(QLatin1String("htm"));
        if (!WINS && !openPageEditor && isPage && (!QFileInfo::exists(page) || isEditorPage(page)))
            hint += kEditorComing;
        form_.editPageButton->setToolTip(hint);
    } else if (control == form_.restoreBackgroundButton) {
        form_.restoreBackgroundButton->setToolTip(
            form_.originalEdit->text().isEmpty()
                ? QStringLiteral("_原画が無いのでできません")
                : form_.originalEdit->text() + QStringLiteral("を") + form_.backgroundEdit->text() +
                      QStringLiteral("に上書きコピー"));
    } else if (control == form_.removeBackgroundButton) {
        form_.removeBackgroundButton->setToolTip(form_.backgroundEdit->text().isEmpty()
                                                     ? QStringLiteral("背景の設定を新しくする")
                                                     : form_.backgroundEdit->text() +
                                                           QStringLiteral("を削除"));
    } else if (control == form_.saveButton) {
        QString hint;
        if (!form_.startPageEdit->text().isEmpty())
            hint += QStringLiteral("html.ini , ");
        if (!form_.fileMaskEdit->text().isEmpty())
            hint += QStringLiteral("dir.ini , ");
        form_.saveButton->setToolTip(hint + QStringLiteral("wall.ini を保存"));
    }
}

void SettingsDialog::setWordMode(bool on) {
    WINS = on;
    form_.editorSwitch->setText(on ? QStringLiteral("ワード") : QStringLiteral("エディター"));
    // Without the page editor a new page can only be made in the word
    // processor.
    const bool canMake = on || bool(openPageEditor);
    form_.newPageButton->setEnabled(canMake);
    form_.newPageButton->setToolTip(canMake ? QStringLiteral("新しくhtmlテキストを作る")
                                            : QStringLiteral("エディターで作成") + kEditorComing);
}

bool SettingsDialog::mayReplace(const QList<FileCopy>& copies) {
    const QStringList replaced = filesReplaced(copies);
    return replaced.isEmpty() ||
           prompts_->ask(replaceQuestion(
               replaced, st.KIJUNDIR, QStringLiteral("今のファイルを残し、何もコピーしません。")));
}

// ---- The web window's page ----

void SettingsDialog::removeWebWindow() {
    form_.startPageEdit->clear();
}

void SettingsDialog::newPage() {
    if (!WINS && !openPageEditor) {
        zavikBeep();
        return;
    }
    QString name = QStringLiteral("TEXT.htm");
    QString page = st.KIJUNDIR + name;
    int asked = -1; // nobody was asked: the page is new
    if (QFileInfo::exists(page)) {
        StartOverCancelDialog question(this);
        question.setWindowTitle(st.KIJUNDIR);
        question.setFileName(name);
        question.exec();
        asked = question.result();
        if (asked == StartOverCancelDialog::Cancel)
            return;
        // The file made or opened and the page recorded are one and the
        // same: the typed name, always a page in the wall folder.
        name = continuationPageName(question.fileName());
        page = st.KIJUNDIR + name;
    }
    form_.startPageEdit->setText(name);
    const bool fresh = asked == StartOverCancelDialog::Restart;
    if (!WINS) {
        const QString saved = openPageEditor(page, fresh ? 0 : 1);
        if (!saved.isEmpty())
            form_.startPageEdit->setText(bareName(saved));
        return;
    }
    if (fresh || !QFileInfo::exists(page)) {
        const QString problem = makePageFromTemplate(st.KIJUNEX, page);
        if (!problem.isEmpty()) {
            prompts_->tell(problem);
            return;
        }
    }
    openInWordProcessor(page);
}

void SettingsDialog::editPage() {
    const QString page = st.KIJUNDIR + fileNamePart(form_.startPageEdit->text());
    if (!QFileInfo(page).suffix().toLower().contains(QLatin1String("htm"))) {
        // Not a page: whatever opens it needs the screen.
        openWithShell(page);
        emit tuckRequested();
        return;
    }
    if (!QFileInfo::exists(page)) {
        newPage();
        return;
    }
    if (WINS) {
        openInWordProcessor(page);
        return;
    }
    if (isEditorPage(page)) {
        if (openPageEditor)
            openPageEditor(page, 1);
        else
            zavikBeep();
        return;
    }
    if (!openInTextEditor(page))
        prompts_->tell(QStringLiteral("「%1」を開くテキストエディターが見つかりません。"
                                      "gedit か mousepad を入れてください。")
                           .arg(page));
}

void SettingsDialog::choosePageFile() {
    FileRequest request;
    request.title = QStringLiteral("参照テキスト");
    request.folder = pageFolder_.isEmpty() ? st.KIJUNDIR : pageFolder_;
    request.filter = QStringLiteral("すべて (*);;ハイパーテキスト (*.html)");
    const QString chosen = prompts_->chooseFile(request);
    if (chosen.isEmpty())
        return;
    const QFileInfo file(chosen);
    const QString folder = file.absolutePath() + QLatin1Char('/');
    pageFolder_ = folder;
    emit pageFolderChosen(folder);
    if (!sameFolder(folder, st.KIJUNDIR) && file.isFile()) {
        const QString copy = st.KIJUNDIR + file.fileName();
        QList<FileCopy> copies{{chosen, copy}};
        for (const QString& name : BACKUPFiles(chosen))
            copies << FileCopy{folder + name, st.KIJUNDIR + name};
        if (!isWallFile(file.fileName()) && !mayReplace(copies))
            return;
        if (isWallFile(file.fileName()) || !copyOver(chosen, copy)) {
            prompts_->tell(QStringLiteral("「%1」を壁のフォルダにコピーできません。").arg(chosen));
            return;
        }
        BACKUP(chosen, copy);
    }
    form_.startPageEdit->setText(file.fileName());
}

// ---- The background ----

void SettingsDialog::refreshBackgroundNames() {
    form_.backgroundEdit->clear();
    form_.originalEdit->clear();
    if (st.KABEIMAGE.isEmpty())
        return;
    const QString picture = ZETTAI(st.KABEIMAGE, st.KIJUNDIR, st.KIJUNDIRBAK);
    if (directlyIn(picture, st.KIJUNDIR) && QFileInfo(picture).isFile())
        form_.backgroundEdit->setText(bareName(picture));
    const QString original = underscoreCopyOf(picture);
    if (directlyIn(original, st.KIJUNDIR) && QFileInfo(original).isFile())
        form_.originalEdit->setText(bareName(original));
}

void SettingsDialog::chooseBackgroundPicture() {
    FileRequest request;
    request.title = QStringLiteral("参照画像");
    request.folder = backgroundFolder_.isEmpty() ? st.KIJUNDIR : backgroundFolder_;
    request.filter = QStringLiteral("画像 (*.png *.jpg *.jpeg *.bmp);;全て (*)");
    const QString chosen = prompts_->chooseFile(request);
    if (chosen.isEmpty())
        return;
    const QFileInfo file(chosen);
    if (!file.isFile()) {
        emit writeBackgroundRequested(3);
    } else {
        backgroundFolder_ = file.absolutePath() + QLatin1Char('/');
        const QString name = file.fileName();
        const QString picture = st.KIJUNDIR + name;
        if (!isWallFile(name) &&
            !mayReplace({{chosen, picture}, {chosen, underscoreCopyOf(picture)}}))
            return;
        if (isWallFile(name) || !copyOver(chosen, picture)) {
            prompts_->tell(QStringLiteral("「%1」を背景画像にできません。").arg(chosen));
            return;
        }
        // The original goes beside it, replacing the original of an earlier
        // picture of the same name.
        copyOver(chosen, underscoreCopyOf(picture));
        emit showBackgroundRequested(picture);
        st.KABEIMAGE = name;
        refreshBackgroundNames();
        emit writeBackgroundRequested(4);
    }
    emit redrawCardsRequested();
}

void SettingsDialog::restoreBackground() {
    form_.backgroundEdit->clear();
    form_.originalEdit->clear();
    if (st.KABEIMAGE.isEmpty())
        return;
    const QString picture = ZETTAI(st.KABEIMAGE, st.KIJUNDIR, st.KIJUNDIRBAK);
    if (QFileInfo(picture).isFile() && restoreUnderscoreCopy(picture)) {
        emit showBackgroundRequested(picture);
        if (directlyIn(picture, st.KIJUNDIR))
            st.KABEIMAGE = bareName(picture);
    }
    refreshBackgroundNames();
}

void SettingsDialog::removeBackground() {
    if (!st.KABEIMAGE.isEmpty()) {
        // Only the wall's own picture goes: one that another wall or folder
        // shows stays where it is.
        const QString picture = ZETTAI(st.KABEIMAGE, st.KIJUNDIR, st.KIJUNDIRBAK);
        if (directlyIn(picture, st.KIJUNDIR) && QFileInfo(picture).isFile() &&
            !isWallFile(bareName(picture)))
            QFile::remove(picture);
    }
    st.KABEIMAGE.clear();
    st.KABEIMG.clear();
    form_.backgroundEdit->clear();
    form_.originalEdit->clear();
    emit clearBackgroundRequested();
}

// ---- Closing ----

void SettingsDialog::saveClicked() {
    emit pointFileWindowRequested();
    finish(1);
}

void SettingsDialog::cancelClicked() {
    for (int i = 0; i < Form::FieldCount; ++i)
        form_.fields[i].bar->setValue(opening_[i]);
    ribbon_ = openingRibbon_;
    finish(0);
}

void SettingsDialog::finish(int result) {
    // An edit still holding no whole number shows what counts, its bar's
    // value, and says nothing more as the dialog closes.
    for (const Form::Field& f : form_.fields)
        if (!wholeNumber(f.edit->text()))
            f.edit->setText(QString::number(f.bar->value()));
    result_ = result;
    done(result);
}
