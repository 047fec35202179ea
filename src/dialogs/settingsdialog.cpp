#include "dialogs/settingsdialog.h"

#include "cards/menuitems.h"
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
#include "storage/refspace.h"
#include "storage/underscorecopy.h"

#include <QDir>
#include <QEvent>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMouseEvent>
#include <QScrollBar>
#include <QShowEvent>
#include <QSignalBlocker>
#include <QToolButton>
#include <QVBoxLayout>
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

// ---- The buttons' tables ----

struct Place {
    const char* name;
    const char* caption;
    int x, y, width, height;
};

// The web window beside the cards on the left or right, over the whole wall,
// or across its upper or lower half; always clear of the tool column.
QVector<Place> webPlaces() {
    const double w = ZETTAIX;
    const double h = ZETTAIY;
    const int fullHeight = ZETTAIY - 80;
    return {
        {"Left", "左", 40, 40, roundHalfEven(w / 3 * 2 - 100), fullHeight},
        {"Whole", "全体", 40, 40, ZETTAIX - 60, fullHeight},
        {"Right", "右", roundHalfEven(w / 3 + 40), 40, roundHalfEven(w / 3 * 2 - 60), fullHeight},
        {"Top", "上", 40, 40, ZETTAIX - 100, roundHalfEven(h / 2)},
        {"Bottom", "下", 40, roundHalfEven(h / 2), ZETTAIX - 100, roundHalfEven(h / 2 - 20)},
    };
}

// The file window in a corner: a third of the width, half the height.
QVector<Place> fileCorners() {
    const double w = ZETTAIX;
    const double h = ZETTAIY;
    const int right = roundHalfEven(w / 3 * 2 - 60);
    const int bottom = roundHalfEven(h / 2 + 40);
    const int width = roundHalfEven(w / 3);
    const int height = roundHalfEven(h / 2 - 40);
    return {
        {"cornerTopLeft", "左上", 40, 40, width, height},
        {"cornerTopRight", "右上", right, 40, width, height},
        {"cornerBottomLeft", "左下", 40, bottom, width, height},
        {"cornerBottomRight", "右下", right, bottom, width, height},
    };
}

struct Kind {
    const char* name;
    const char* caption;
    const char* word;
    const char* mask;
};

const Kind kKinds[] = {
    {"SpeedButton20", "すべて", "すべてのファイル", "*.*"},
    {"SpeedButton10", "教材全部", "教材", "*.a*;*.b*;*.d*;*.x*;*.h*;*.j*;*.g*;*.p*;*.w*;*.m*"},
    {"SpeedButton14", "プログラム", "プログラム(TURX)の作品", "*.trx;*.tr2"},
    {"SpeedButton17", "画像・動画", "画像・動画",
     "*.jpg;*.jpeg;*.bmp;*.gif;*.png;*.wmv;*.mp4;*.avi;*.mpg;*.mov;*.m2ts"},
    {"SpeedButton16", "PDF", "PDFファイル", "*.pdf"},
    {"SpeedButton19", "HTML", "ハイパーテキスト", "*.htm*"},
    {"SpeedButton18", "ワープロ", "表・ワープロ文書", "*.do*;*.jt*;*.j?w;*.xl*"},
};

void fillColour(QWidget* w, const QColor& colour) {
    QPalette p = w->palette();
    p.setColor(QPalette::Window, colour);
    w->setPalette(p);
    w->setAutoFillBackground(true);
}

} // namespace

SettingsDialog::SettingsDialog(WallDocument& state, QWidget* parent) : QDialog(parent), st(state) {
    setObjectName(QStringLiteral("TForm19"));
    setModal(true);
    build();

    choosePage = [this](const QString& startFolder) {
        return QFileDialog::getOpenFileName(
            this, QStringLiteral("参照テキスト"), startFolder,
            QStringLiteral("すべて (*);;ハイパーテキスト (*.html)"));
    };
    chooseBackground = [this](const QString& startFolder) {
        return QFileDialog::getOpenFileName(
            this, QStringLiteral("参照画像"), startFolder,
            QStringLiteral("画像 (*.png *.jpg *.jpeg *.bmp);;全て (*)"));
    };
    tell = [this](const QString& text) {
        QMessageBox::warning(this, QStringLiteral("Zavik"), text);
    };
    ask = [this](const QString& question) {
        return QMessageBox::question(this, QStringLiteral("Zavik"), question) == QMessageBox::Yes;
    };
}

QToolButton* SettingsDialog::button(const char* name, const QString& caption, const QString& hint) {
    return makeToolButton(this, name, caption, hint);
}

QLabel* SettingsDialog::caption(const QString& text, bool removesWebWindow) {
    auto* label = new QLabel(text, this);
    if (removesWebWindow) {
        // A click on these captions is a quick way to take the web window away.
        label->installEventFilter(this);
        removingCaptions_ << label;
    }
    return label;
}

void SettingsDialog::makeField(int which, const char* edit, const char* bar, int minimum,
                               int maximum) {
    Field& f = fields_[which];
    f.edit = new QLineEdit(this);
    f.edit->setObjectName(QLatin1String(edit));
    f.edit->setMaximumWidth(60);
    f.bar = new QScrollBar(Qt::Horizontal, this);
    f.bar->setObjectName(QLatin1String(bar));
    f.bar->setRange(minimum, maximum);
    f.bar->setMinimumWidth(160);
    connect(f.edit, &QLineEdit::textChanged, this, [this, which] { editChanged(which); });
    connect(f.edit, &QLineEdit::editingFinished, this, [this, which] { editLeft(which); });
    connect(f.bar, &QScrollBar::valueChanged, this, [this, which](int v) {
        const QString text = QString::number(v);
        if (fields_[which].edit->text() != text)
            fields_[which].edit->setText(text);
        moveMiniatures();
    });
}

void SettingsDialog::build() {
    auto line = [this](const char* name, const QString& hint = QString()) {
        auto* e = new QLineEdit(this);
        e->setObjectName(QLatin1String(name));
        e->setToolTip(hint);
        return e;
    };
    auto fieldRows = [this](QGridLayout* grid, int row, int first) {
        const char* labels[] = {"左上横", "左上縦", "幅", "高さ"};
        for (int i = 0; i < 4; ++i) {
            grid->addWidget(new QLabel(QString::fromUtf8(labels[i]), this), row + i, 0);
            grid->addWidget(fields_[first + i].edit, row + i, 1);
            grid->addWidget(fields_[first + i].bar, row + i, 2, 1, 3);
        }
    };

    // Web window.
    Edit2 = line("Edit2", QStringLiteral("WEB窓に表示するhtmlファイル名　またはURLをペースト"));
    makeField(WebX, "Edit8", "ScrollBar5", 0, 1860);
    makeField(WebY, "Edit9", "ScrollBar6", 0, 1037);
    makeField(WebWidth, "Edit10", "ScrollBar7", 0, 2000);
    makeField(WebHeight, "Edit11", "ScrollBar8", 0, 1200);
    SpeedButton24 = button("SpeedButton24", QStringLiteral("NEWテキスト"),
                           QStringLiteral("新しくhtmlテキストを作る"));
    SpeedButton12 = button("SpeedButton12", QStringLiteral("テキスト編集"),
                           QStringLiteral("htmlテキストを編集"));
    SpeedButton7 = button("SpeedButton7", QStringLiteral("参照テキスト"),
                          QStringLiteral("表示するhtmlファイルを撰ぶ"));
    SpeedButton5 = button("SpeedButton5", QStringLiteral("WEB窓無くす"));
    Panel13 = button("Panel13", QStringLiteral("エディター"),
                     QStringLiteral("エディター／ワード の切替"));
    SpeedButton30 = button("SpeedButton30", QStringLiteral("リボン無し"),
                           QStringLiteral("リボンにメニュー表示"));
    placesWithRibbon = new QWidget(this);
    placesWithRibbon->setObjectName(QStringLiteral("placesWithRibbon"));
    placesNoRibbon = new QWidget(this);
    placesNoRibbon->setObjectName(QStringLiteral("placesNoRibbon"));
    for (QWidget* set : {placesWithRibbon, placesNoRibbon}) {
        auto* row = new QHBoxLayout(set);
        row->setContentsMargins(0, 0, 0, 0);
        const QString prefix =
            set == placesWithRibbon ? QStringLiteral("withRibbon") : QStringLiteral("noRibbon");
        for (const Place& p : webPlaces()) {
            auto* b = new QToolButton(set);
            b->setObjectName(prefix + QLatin1String(p.name));
            b->setText(QString::fromUtf8(p.caption));
            connect(b, &QToolButton::clicked, this,
                    [this, p] { placeWebWindow(p.x, p.y, p.width, p.height); });
            row->addWidget(b);
        }
    }

    auto* web = new QGroupBox(QStringLiteral("WEB窓にhtmlテキスト、またはWebページ"), this);
    auto* webGrid = new QGridLayout(web);
    auto* pageButtons = new QHBoxLayout;
    pageButtons->addWidget(caption(QStringLiteral("htmlテキストの作成"), true));
    for (QToolButton* b : {SpeedButton24, SpeedButton12, SpeedButton7, SpeedButton5, Panel13})
        pageButtons->addWidget(b);
    pageButtons->addStretch();
    webGrid->addLayout(pageButtons, 0, 0, 1, 5);
    webGrid->addWidget(Edit2, 1, 0, 1, 5);
    fieldRows(webGrid, 2, WebX);
    auto* ribbonRow = new QHBoxLayout;
    ribbonRow->addWidget(SpeedButton30);
    ribbonRow->addWidget(placesWithRibbon);
    ribbonRow->addWidget(placesNoRibbon);
    ribbonRow->addStretch();
    webGrid->addLayout(ribbonRow, 6, 0, 1, 5);

    // File window.
    Edit3 = line("Edit3", QStringLiteral("表示するファイルの種類"));
    Edit3->setReadOnly(true);
    Edit1 = line("Edit1", QStringLiteral("DIR窓に表示するファイルの拡張子"));
    makeField(FileX, "Edit4", "ScrollBar1", 0, 1860);
    makeField(FileY, "Edit5", "ScrollBar2", 0, 1037);
    makeField(FileWidth, "Edit6", "ScrollBar3", 10, 2000);
    makeField(FileHeight, "Edit7", "ScrollBar4", 10, 1200);

    auto* files = new QGroupBox(QStringLiteral("DIL窓にファイルリスト"), this);
    auto* fileGrid = new QGridLayout(files);
    fileGrid->addWidget(caption(QStringLiteral("種類"), true), 0, 0);
    fileGrid->addWidget(Edit3, 0, 1, 1, 4);
    fileGrid->addWidget(caption(QStringLiteral("マスク"), true), 1, 0);
    fileGrid->addWidget(Edit1, 1, 1, 1, 4);
    auto* kinds = new QGridLayout;
    int at = 0;
    for (const Kind& k : kKinds) {
        QToolButton* b = button(k.name, QString::fromUtf8(k.caption));
        connect(b, &QToolButton::clicked, this, [this, k] {
            Edit3->setText(QString::fromUtf8(k.word));
            Edit1->setText(QString::fromUtf8(k.mask));
        });
        kinds->addWidget(b, at / 4, at % 4);
        ++at;
    }
    QToolButton* noFiles =
        button("SpeedButton15", QStringLiteral("DIR窓無くす"), QStringLiteral("dir.iniを無くす"));
    connect(noFiles, &QToolButton::clicked, this, [this] {
        Edit3->clear();
        Edit1->clear();
    });
    kinds->addWidget(noFiles, at / 4, at % 4);
    kinds->setColumnStretch(4, 1);
    fileGrid->addLayout(kinds, 2, 0, 1, 5);
    fieldRows(fileGrid, 3, FileX);
    auto* corners = new QHBoxLayout;
    for (const Place& p : fileCorners()) {
        QToolButton* b = button(p.name, QString::fromUtf8(p.caption));
        connect(b, &QToolButton::clicked, this,
                [this, p] { placeFileWindow(p.x, p.y, p.width, p.height); });
        corners->addWidget(b);
    }
    corners->addStretch();
    fileGrid->addLayout(corners, 7, 0, 1, 5);

    // The two windows at 1/20 on a miniature of the wall.
    auto* miniature = new QWidget(this);
    miniature->setObjectName(QStringLiteral("miniatureWall"));
    miniature->setFixedSize(ZETTAIX / 20, ZETTAIY / 20);
    fillColour(miniature, QColor(0, 0, 128));
    Panel10 = new QWidget(miniature);
    Panel10->setObjectName(QStringLiteral("Panel10"));
    fillColour(Panel10, QColor(192, 192, 192));
    Panel11 = new QWidget(miniature);
    Panel11->setObjectName(QStringLiteral("Panel11"));
    fillColour(Panel11, Qt::white);
    Panel12 = new QWidget(miniature);
    Panel12->setObjectName(QStringLiteral("Panel12"));
    fillColour(Panel12, QColor(0, 255, 255));

    // Background.
    Edit12 = line("Edit12");
    Edit12->setReadOnly(true);
    Edit13 = line("Edit13");
    Edit13->setReadOnly(true);
    SpeedButton2 = button("SpeedButton2", QStringLiteral("参照画像"),
                          QStringLiteral("コピーして背景画像名と_原画名にする"));
    SpeedButton11 = button("SpeedButton11", QStringLiteral("_原画に戻す"),
                           QStringLiteral("_原画を画像に上書きコピー"));
    SpeedButton4 = button("SpeedButton4", QStringLiteral("背景画像無くす"),
                          QStringLiteral("表示設定を無くす"));
    auto* background = new QGroupBox(QStringLiteral("背景に画像"), this);
    auto* backgroundGrid = new QGridLayout(background);
    backgroundGrid->addWidget(caption(QStringLiteral("今の背景画像名"), true), 0, 0);
    backgroundGrid->addWidget(Edit12, 0, 1);
    backgroundGrid->addWidget(caption(QStringLiteral("今の背景_原画名"), true), 1, 0);
    backgroundGrid->addWidget(Edit13, 1, 1);
    auto* backgroundButtons = new QHBoxLayout;
    for (QToolButton* b : {SpeedButton2, SpeedButton11, SpeedButton4})
        backgroundButtons->addWidget(b);
    backgroundButtons->addStretch();
    backgroundGrid->addLayout(backgroundButtons, 2, 0, 1, 2);

    SpeedButton9 = button("SpeedButton9", QStringLiteral("保存・ていあん"),
                          QStringLiteral("wall.ini [ html.ini , dir.ini ] ファイルの保存"));
    SpeedButton8 = button("SpeedButton8", QStringLiteral("キャンセル"));

    auto* side = new QVBoxLayout;
    side->addWidget(miniature);
    side->addWidget(background);
    side->addStretch();
    auto* closing = new QHBoxLayout;
    closing->addStretch();
    closing->addWidget(SpeedButton9);
    closing->addWidget(SpeedButton8);
    side->addLayout(closing);
    auto* columns = new QHBoxLayout(this);
    auto* windows = new QVBoxLayout;
    windows->addWidget(web);
    windows->addWidget(files);
    columns->addLayout(windows);
    columns->addLayout(side);

    Edit8 = fields_[WebX].edit;
    Edit9 = fields_[WebY].edit;
    Edit10 = fields_[WebWidth].edit;
    Edit11 = fields_[WebHeight].edit;
    ScrollBar5 = fields_[WebX].bar;
    ScrollBar6 = fields_[WebY].bar;
    ScrollBar7 = fields_[WebWidth].bar;
    ScrollBar8 = fields_[WebHeight].bar;
    Edit4 = fields_[FileX].edit;
    Edit5 = fields_[FileY].edit;
    Edit6 = fields_[FileWidth].edit;
    Edit7 = fields_[FileHeight].edit;
    ScrollBar1 = fields_[FileX].bar;
    ScrollBar2 = fields_[FileY].bar;
    ScrollBar3 = fields_[FileWidth].bar;
    ScrollBar4 = fields_[FileHeight].bar;

    for (QToolButton* b : {SpeedButton24, SpeedButton12, SpeedButton11, SpeedButton4, SpeedButton9})
        b->installEventFilter(this);
    connect(SpeedButton24, &QToolButton::clicked, this, &SettingsDialog::newPage);
    connect(SpeedButton12, &QToolButton::clicked, this, &SettingsDialog::editPage);
    connect(SpeedButton7, &QToolButton::clicked, this, &SettingsDialog::choosePageFile);
    connect(SpeedButton5, &QToolButton::clicked, this, &SettingsDialog::removeWebWindow);
    connect(Panel13, &QToolButton::clicked, this, [this] { setWordMode(!WINS); });
    connect(SpeedButton30, &QToolButton::clicked, this, &SettingsDialog::toggleRibbon);
    connect(SpeedButton2, &QToolButton::clicked, this, &SettingsDialog::chooseBackgroundPicture);
    connect(SpeedButton11, &QToolButton::clicked, this, &SettingsDialog::restoreBackground);
    connect(SpeedButton4, &QToolButton::clicked, this, &SettingsDialog::removeBackground);
    connect(SpeedButton9, &QToolButton::clicked, this, &SettingsDialog::saveClicked);
    connect(SpeedButton8, &QToolButton::clicked, this, &SettingsDialog::cancelClicked);

    fillFrom(WindowSettings());
    setWordMode(false);
}

// ---- Settings in and out ----

void SettingsDialog::fillFrom(const WindowSettings& s) {
    Edit2->setText(s.webPage);
    const int values[FieldCount] = {s.webX,  s.webY,  s.webWidth,  s.webHeight,
                                    s.fileX, s.fileY, s.fileWidth, s.fileHeight};
    for (int i = 0; i < FieldCount; ++i) {
        // The edit shows the value as stored even where the bar cannot go.
        const QSignalBlocker barQuiet(fields_[i].bar);
        const QSignalBlocker editQuiet(fields_[i].edit);
        fields_[i].bar->setValue(values[i]);
        fields_[i].edit->setText(QString::number(values[i]));
    }
    ribbon_ = s.ribbon;
    showRibbon(ribbon_ > 0);
    Edit3->setText(s.fileLabel);
    Edit1->setText(s.fileMask);
    moveMiniatures();
}

WindowSettings SettingsDialog::settings() const {
    WindowSettings s;
    s.webPage = Edit2->text();
    s.webX = value(WebX);
    s.webY = value(WebY);
    s.webWidth = value(WebWidth);
    s.webHeight = value(WebHeight);
    s.ribbon = ribbon_;
    s.fileLabel = Edit3->text();
    s.fileMask = Edit1->text();
    s.fileX = value(FileX);
    s.fileY = value(FileY);
    s.fileWidth = value(FileWidth);
    s.fileHeight = value(FileHeight);
    return s;
}

int SettingsDialog::value(int which) const {
    // An edit left holding no whole number counts as its bar, which did not
    // follow it.
    return wholeNumber(fields_[which].edit->text()).value_or(fields_[which].bar->value());
}

void SettingsDialog::setValue(int which, int v) {
    fields_[which].edit->setText(QString::number(v));
}

void SettingsDialog::editChanged(int which) {
    if (const auto v = wholeNumber(fields_[which].edit->text()))
        fields_[which].bar->setValue(*v);
    moveMiniatures();
}

void SettingsDialog::editLeft(int which) {
    QLineEdit* edit = fields_[which].edit;
    const QString typed = edit->text();
    if (wholeNumber(typed))
        return;
    // The bar's value comes back before the message, so that the message,
    // which takes the focus, finds nothing more to complain about.
    edit->setText(QString::number(fields_[which].bar->value()));
    say(QStringLiteral("「%1」は整数ではありません。").arg(typed));
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
    Panel13->setEnabled(haveWordProcessor);
    setWordMode(WINS && haveWordProcessor);
    refreshBackgroundNames();
    setWindowTitle(st.KIJUNDIR);
    for (Field& f : fields_)
        f.opening = f.bar->value();
    openingRibbon_ = ribbon_;
}

// ---- The miniatures and the ribbon ----

void SettingsDialog::moveMiniatures() {
    const QRect web(value(WebX) / 20, value(WebY) / 20, value(WebWidth) / 20,
                    value(WebHeight) / 20);
    Panel11->setGeometry(web);
    Panel12->setGeometry(web.x(), web.y() + web.height(), web.width(), 3);
    Panel10->setGeometry(value(FileX) / 20, value(FileY) / 20, value(FileWidth) / 20,
                         value(FileHeight) / 20);
}

void SettingsDialog::showRibbon(bool with) {
    SpeedButton30->setText(with ? QStringLiteral("リボンあり") : QStringLiteral("リボン無し"));
    Panel12->setVisible(with);
    placesWithRibbon->setVisible(with);
    placesNoRibbon->setVisible(!with);
}

void SettingsDialog::toggleRibbon() {
    ribbon_ = ribbon_ <= 0 ? 1 : 0;
    showRibbon(ribbon_ > 0);
}

void SettingsDialog::placeWebWindow(int x, int y, int width, int height) {
    setValue(WebX, x);
    setValue(WebY, y);
    setValue(WebWidth, width);
    setValue(WebHeight, height);
}

void SettingsDialog::placeFileWindow(int x, int y, int width, int height) {
    setValue(FileX, x);
    setValue(FileY, y);
    setValue(FileWidth, width);
    setValue(FileHeight, height);
}

// ---- Hints ----

bool SettingsDialog::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Enter) {
        refreshHint(watched);
    } else if (event->type() == QEvent::MouseButtonRelease &&
               removingCaptions_.contains(qobject_cast<QLabel*>(watched)) &&
               static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        removeWebWindow();
    }
    return QDialog::eventFilter(watched, event);
}

void SettingsDialog::refreshHint(QObject* control) {
    if (control == SpeedButton24 && SpeedButton24->isEnabled()) {
        SpeedButton24->setToolTip(WINS ? QStringLiteral("ワードで作成")
                                       : QStringLiteral("エディターで作成"));
    } else if (control == SpeedButton12) {
        QString hint = WINS ? QStringLiteral("ワードで編集") : QStringLiteral("エディターで編集");
        const QString page = st.KIJUNDIR + fileNamePart(Edit2->text());
        const bool isPage = QFileInfo(page).suffix().toLower().contains(QLatin1String("htm"));
        if (!WINS && !openPageEditor && isPage && (!QFileInfo::exists(page) || isEditorPage(page)))
            hint += kEditorComing;
        SpeedButton12->setToolTip(hint);
    } else if (control == SpeedButton11) {
        SpeedButton11->setToolTip(Edit13->text().isEmpty()
                                      ? QStringLiteral("_原画が無いのでできません")
                                      : Edit13->text() + QStringLiteral("を") + Edit12->text() +
                                            QStringLiteral("に上書きコピー"));
    } else if (control == SpeedButton4) {
        SpeedButton4->setToolTip(Edit12->text().isEmpty()
                                     ? QStringLiteral("背景の設定を新しくする")
                                     : Edit12->text() + QStringLiteral("を削除"));
    } else if (control == SpeedButton9) {
        QString hint;
        if (!Edit2->text().isEmpty())
            hint += QStringLiteral("html.ini , ");
        if (!Edit1->text().isEmpty())
            hint += QStringLiteral("dir.ini , ");
        SpeedButton9->setToolTip(hint + QStringLiteral("wall.ini を保存"));
    }
}

void SettingsDialog::setWordMode(bool on) {
    WINS = on;
    Panel13->setText(on ? QStringLiteral("ワード") : QStringLiteral("エディター"));
    // Without the page editor a new page can only be made in the word
    // processor.
    const bool canMake = on || bool(openPageEditor);
    SpeedButton24->setEnabled(canMake);
    SpeedButton24->setToolTip(canMake ? QStringLiteral("新しくhtmlテキストを作る")
                                      : QStringLiteral("エディターで作成") + kEditorComing);
}

void SettingsDialog::say(const QString& text) {
    if (tell)
        tell(text);
}

bool SettingsDialog::mayReplace(const QList<FileCopy>& copies) {
    const QStringList replaced = filesReplaced(copies);
    return replaced.isEmpty() ||
           (ask &&
            ask(replaceQuestion(replaced, st.KIJUNDIR,
                                QStringLiteral("今のファイルを残し、何もコピーしません。"))));
}

// ---- The web window's page ----

void SettingsDialog::removeWebWindow() {
    Edit2->clear();
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
    Edit2->setText(name);
    const bool fresh = asked == StartOverCancelDialog::Restart;
    if (!WINS) {
        const QString saved = openPageEditor(page, fresh ? 0 : 1);
        if (!saved.isEmpty())
            Edit2->setText(bareName(saved));
        return;
    }
    if (fresh || !QFileInfo::exists(page)) {
        const QString problem = makePageFromTemplate(st.KIJUNEX, page);
        if (!problem.isEmpty()) {
            say(problem);
            return;
        }
    }
    openInWordProcessor(page);
}

void SettingsDialog::editPage() {
    const QString page = st.KIJUNDIR + fileNamePart(Edit2->text());
    if (!QFileInfo(page).suffix().toLower().contains(QLatin1String("htm"))) {
        // Not a page: whatever opens it needs the screen.
        openWithShell(page);
        if (tuck)
            tuck();
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
        say(QStringLiteral("「%1」を開くテキストエディターが見つかりません。"
                           "gedit か mousepad を入れてください。")
                .arg(page));
}

void SettingsDialog::choosePageFile() {
    const QString chosen =
        choosePage ? choosePage(pageFolder_.isEmpty() ? st.KIJUNDIR : pageFolder_) : QString();
    if (chosen.isEmpty())
        return;
    const QFileInfo file(chosen);
    const QString folder = file.absolutePath() + QLatin1Char('/');
    pageFolder_ = folder;
    if (pageFolderChosen)
        pageFolderChosen(folder);
    if (!sameFolder(folder, st.KIJUNDIR) && file.isFile()) {
        const QString copy = st.KIJUNDIR + file.fileName();
        QList<FileCopy> copies{{chosen, copy}};
        for (const QString& name : BACKUPFiles(chosen))
            copies << FileCopy{folder + name, st.KIJUNDIR + name};
        if (!isWallFile(file.fileName()) && !mayReplace(copies))
            return;
        if (isWallFile(file.fileName()) || !copyOver(chosen, copy)) {
            say(QStringLiteral("「%1」を壁のフォルダにコピーできません。").arg(chosen));
            return;
        }
        BACKUP(chosen, copy);
    }
    Edit2->setText(file.fileName());
}

// ---- The background ----

void SettingsDialog::refreshBackgroundNames() {
    Edit12->clear();
    Edit13->clear();
    if (st.KABEIMAGE.isEmpty())
        return;
    const QString picture = ZETTAI(st.KABEIMAGE, st.KIJUNDIR, st.KIJUNDIRBAK);
    if (directlyIn(picture, st.KIJUNDIR) && QFileInfo(picture).isFile())
        Edit12->setText(bareName(picture));
    const QString original = underscoreCopyOf(picture);
    if (directlyIn(original, st.KIJUNDIR) && QFileInfo(original).isFile())
        Edit13->setText(bareName(original));
}

void SettingsDialog::chooseBackgroundPicture() {
    const QString chosen =
        chooseBackground
            ? chooseBackground(backgroundFolder_.isEmpty() ? st.KIJUNDIR : backgroundFolder_)
            : QString();
    if (chosen.isEmpty())
        return;
    const QFileInfo file(chosen);
    if (!file.isFile()) {
        if (writeBackground)
            writeBackground(3);
    } else {
        backgroundFolder_ = file.absolutePath() + QLatin1Char('/');
        const QString name = file.fileName();
        const QString picture = st.KIJUNDIR + name;
        if (!isWallFile(name) &&
            !mayReplace({{chosen, picture}, {chosen, underscoreCopyOf(picture)}}))
            return;
        if (isWallFile(name) || !copyOver(chosen, picture)) {
            say(QStringLiteral("「%1」を背景画像にできません。").arg(chosen));
            return;
        }
        // The original goes beside it, replacing the original of an earlier
        // picture of the same name.
        copyOver(chosen, underscoreCopyOf(picture));
        if (showBackground)
            showBackground(picture);
        st.KABEIMAGE = name;
        refreshBackgroundNames();
        if (writeBackground)
            writeBackground(4);
    }
    if (redrawCards)
        redrawCards();
}

void SettingsDialog::restoreBackground() {
    Edit12->clear();
    Edit13->clear();
    if (st.KABEIMAGE.isEmpty())
        return;
    const QString picture = ZETTAI(st.KABEIMAGE, st.KIJUNDIR, st.KIJUNDIRBAK);
    if (QFileInfo(picture).isFile() && restoreUnderscoreCopy(picture)) {
        if (showBackground)
            showBackground(picture);
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
    Edit12->clear();
    Edit13->clear();
    if (clearBackground)
        clearBackground();
}

// ---- Closing ----

void SettingsDialog::saveClicked() {
    if (pointFileWindow)
        pointFileWindow();
    finish(1);
}

void SettingsDialog::cancelClicked() {
    for (Field& f : fields_)
        f.bar->setValue(f.opening);
    ribbon_ = openingRibbon_;
    finish(0);
}

void SettingsDialog::finish(int result) {
    // An edit still holding no whole number shows what counts, its bar's
    // value, and says nothing more as the dialog closes.
    for (Field& f : fields_)
        if (!wholeNumber(f.edit->text()))
            f.edit->setText(QString::number(f.bar->value()));
    result_ = result;
    done(result);
}
