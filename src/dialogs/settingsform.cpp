#include "dialogs/settingsform.h"

#include "cards/menuitems.h"
#include "storage/refspace.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

struct Place {
    const char* name;
    const char* caption;
    QRect place;
};

// The web window beside the cards on the left or right, over the whole wall,
// or across its upper or lower half; always clear of the tool column.
QVector<Place> webPlaces() {
    const double w = ZETTAIX;
    const double h = ZETTAIY;
    const int fullHeight = ZETTAIY - 80;
    return {
        {"Left", "左", QRect(40, 40, roundHalfEven(w / 3 * 2 - 100), fullHeight)},
        {"Whole", "全体", QRect(40, 40, ZETTAIX - 60, fullHeight)},
        {"Right", "右",
         QRect(roundHalfEven(w / 3 + 40), 40, roundHalfEven(w / 3 * 2 - 60), fullHeight)},
        {"Top", "上", QRect(40, 40, ZETTAIX - 100, roundHalfEven(h / 2))},
        {"Bottom", "下", QRect(40, roundHalfEven(h / 2), ZETTAIX - 100, roundHalfEven(h / 2 - 20))},
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
        {"cornerTopLeft", "左上", QRect(40, 40, width, height)},
        {"cornerTopRight", "右上", QRect(right, 40, width, height)},
        {"cornerBottomLeft", "左下", QRect(40, bottom, width, height)},
        {"cornerBottomRight", "右下", QRect(right, bottom, width, height)},
    };
}

struct KindRow {
    const char* name;
    const char* caption;
    const char* word;
    const char* mask;
};

const KindRow kKinds[] = {
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

QLineEdit* line(QWidget* dialog, const char* name, const QString& hint = QString()) {
    auto* e = new QLineEdit(dialog);
    e->setObjectName(QLatin1String(name));
    e->setToolTip(hint);
    return e;
}

SettingsForm::Field field(QWidget* dialog, const char* edit, const char* bar, int minimum,
                          int maximum) {
    SettingsForm::Field f;
    f.edit = line(dialog, edit);
    f.edit->setMaximumWidth(60);
    f.bar = new QScrollBar(Qt::Horizontal, dialog);
    f.bar->setObjectName(QLatin1String(bar));
    f.bar->setRange(minimum, maximum);
    f.bar->setMinimumWidth(160);
    return f;
}

QWidget* miniatureOf(QWidget* wall, const char* name, const QColor& colour) {
    auto* w = new QWidget(wall);
    w->setObjectName(QLatin1String(name));
    fillColour(w, colour);
    return w;
}

} // namespace

SettingsForm::SettingsForm(QWidget* dialog) {
    auto button = [dialog](const char* name, const QString& caption, const QString& hint = {}) {
        return makeToolButton(dialog, name, caption, hint);
    };
    auto caption = [this, dialog](const QString& text) {
        auto* label = new QLabel(text, dialog);
        removingCaptions << label;
        return label;
    };
    auto fieldRows = [this, dialog](QGridLayout* grid, int row, int first) {
        const char* labels[] = {"左上横", "左上縦", "幅", "高さ"};
        for (int i = 0; i < 4; ++i) {
            grid->addWidget(new QLabel(QString::fromUtf8(labels[i]), dialog), row + i, 0);
            grid->addWidget(fields[first + i].edit, row + i, 1);
            grid->addWidget(fields[first + i].bar, row + i, 2, 1, 3);
        }
    };

    // Web window.
    startPageEdit =
        line(dialog, "Edit2", QStringLiteral("WEB窓に表示するhtmlファイル名　またはURLをペースト"));
    fields[WebX] = field(dialog, "Edit8", "ScrollBar5", 0, 1860);
    fields[WebY] = field(dialog, "Edit9", "ScrollBar6", 0, 1037);
    fields[WebWidth] = field(dialog, "Edit10", "ScrollBar7", 0, 2000);
    fields[WebHeight] = field(dialog, "Edit11", "ScrollBar8", 0, 1200);
    newPageButton = button("SpeedButton24", QStringLiteral("NEWテキスト"),
                           QStringLiteral("新しくhtmlテキストを作る"));
    editPageButton = button("SpeedButton12", QStringLiteral("テキスト編集"),
                            QStringLiteral("htmlテキストを編集"));
    choosePageButton = button("SpeedButton7", QStringLiteral("参照テキスト"),
                              QStringLiteral("表示するhtmlファイルを撰ぶ"));
    removeWebButton = button("SpeedButton5", QStringLiteral("WEB窓無くす"));
    editorSwitch = button("Panel13", QStringLiteral("エディター"),
                          QStringLiteral("エディター／ワード の切替"));
    ribbonSwitch = button("SpeedButton30", QStringLiteral("リボン無し"),
                          QStringLiteral("リボンにメニュー表示"));
    placesWithRibbon = new QWidget(dialog);
    placesWithRibbon->setObjectName(QStringLiteral("placesWithRibbon"));
    placesNoRibbon = new QWidget(dialog);
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
            webPlacements << Placement{b, p.place};
            row->addWidget(b);
        }
    }

    auto* web = new QGroupBox(QStringLiteral("WEB窓にhtmlテキスト、またはWebページ"), dialog);
    auto* webGrid = new QGridLayout(web);
    auto* pageButtons = new QHBoxLayout;
    pageButtons->addWidget(caption(QStringLiteral("htmlテキストの作成")));
    for (QToolButton* b :
         {newPageButton, editPageButton, choosePageButton, removeWebButton, editorSwitch})
        pageButtons->addWidget(b);
    pageButtons->addStretch();
    webGrid->addLayout(pageButtons, 0, 0, 1, 5);
    webGrid->addWidget(startPageEdit, 1, 0, 1, 5);
    fieldRows(webGrid, 2, WebX);
    auto* ribbonRow = new QHBoxLayout;
    ribbonRow->addWidget(ribbonSwitch);
    ribbonRow->addWidget(placesWithRibbon);
    ribbonRow->addWidget(placesNoRibbon);
    ribbonRow->addStretch();
    webGrid->addLayout(ribbonRow, 6, 0, 1, 5);

    // File window.
    fileKindEdit = line(dialog, "Edit3", QStringLiteral("表示するファイルの種類"));
    fileKindEdit->setReadOnly(true);
    fileMaskEdit = line(dialog, "Edit1", QStringLiteral("DIR窓に表示するファイルの拡張子"));
    fields[FileX] = field(dialog, "Edit4", "ScrollBar1", 0, 1860);
    fields[FileY] = field(dialog, "Edit5", "ScrollBar2", 0, 1037);
    fields[FileWidth] = field(dialog, "Edit6", "ScrollBar3", 10, 2000);
    fields[FileHeight] = field(dialog, "Edit7", "ScrollBar4", 10, 1200);

    auto* files = new QGroupBox(QStringLiteral("DIL窓にファイルリスト"), dialog);
    auto* fileGrid = new QGridLayout(files);
    fileGrid->addWidget(caption(QStringLiteral("種類")), 0, 0);
    fileGrid->addWidget(fileKindEdit, 0, 1, 1, 4);
    fileGrid->addWidget(caption(QStringLiteral("マスク")), 1, 0);
    fileGrid->addWidget(fileMaskEdit, 1, 1, 1, 4);
    auto* kindGrid = new QGridLayout;
    int at = 0;
    for (const KindRow& k : kKinds) {
        QToolButton* b = button(k.name, QString::fromUtf8(k.caption));
        kinds << Kind{b, QString::fromUtf8(k.word), QString::fromUtf8(k.mask)};
        kindGrid->addWidget(b, at / 4, at % 4);
        ++at;
    }
    noFilesButton =
        button("SpeedButton15", QStringLiteral("DIR窓無くす"), QStringLiteral("dir.iniを無くす"));
    kindGrid->addWidget(noFilesButton, at / 4, at % 4);
    kindGrid->setColumnStretch(4, 1);
    fileGrid->addLayout(kindGrid, 2, 0, 1, 5);
    fieldRows(fileGrid, 3, FileX);
    auto* corners = new QHBoxLayout;
    for (const Place& p : ::fileCorners()) {
        QToolButton* b = button(p.name, QString::fromUtf8(p.caption));
        fileCorners << Placement{b, p.place};
        corners->addWidget(b);
    }
    corners->addStretch();
    fileGrid->addLayout(corners, 7, 0, 1, 5);

    auto* miniature = new QWidget(dialog);
    miniature->setObjectName(QStringLiteral("miniatureWall"));
    miniature->setFixedSize(ZETTAIX / 20, ZETTAIY / 20);
    fillColour(miniature, QColor(0, 0, 128));
    fileMiniature = miniatureOf(miniature, "Panel10", QColor(192, 192, 192));
    webMiniature = miniatureOf(miniature, "Panel11", Qt::white);
    ribbonMiniature = miniatureOf(miniature, "Panel12", QColor(0, 255, 255));

    // Background.
    backgroundEdit = line(dialog, "Edit12");
    backgroundEdit->setReadOnly(true);
    originalEdit = line(dialog, "Edit13");
    originalEdit->setReadOnly(true);
    chooseBackgroundButton = button("SpeedButton2", QStringLiteral("参照画像"),
                                    QStringLiteral("コピーして背景画像名と_原画名にする"));
    restoreBackgroundButton = button("SpeedButton11", QStringLiteral("_原画に戻す"),
                                     QStringLiteral("_原画を画像に上書きコピー"));
    removeBackgroundButton = button("SpeedButton4", QStringLiteral("背景画像無くす"),
                                    QStringLiteral("表示設定を無くす"));
    auto* background = new QGroupBox(QStringLiteral("背景に画像"), dialog);
    auto* backgroundGrid = new QGridLayout(background);
    backgroundGrid->addWidget(caption(QStringLiteral("今の背景画像名")), 0, 0);
    backgroundGrid->addWidget(backgroundEdit, 0, 1);
    backgroundGrid->addWidget(caption(QStringLiteral("今の背景_原画名")), 1, 0);
    backgroundGrid->addWidget(originalEdit, 1, 1);
    auto* backgroundButtons = new QHBoxLayout;
    for (QToolButton* b : {chooseBackgroundButton, restoreBackgroundButton, removeBackgroundButton})
        backgroundButtons->addWidget(b);
    backgroundButtons->addStretch();
    backgroundGrid->addLayout(backgroundButtons, 2, 0, 1, 2);

    saveButton = button("SpeedButton9", QStringLiteral("保存・ていあん"),
                        QStringLiteral("wall.ini [ html.ini , dir.ini ] ファイルの保存"));
    cancelButton = button("SpeedButton8", QStringLiteral("キャンセル"));

    auto* side = new QVBoxLayout;
    side->addWidget(miniature);
    side->addWidget(background);
    side->addStretch();
    auto* closing = new QHBoxLayout;
    closing->addStretch();
    closing->addWidget(saveButton);
    closing->addWidget(cancelButton);
    side->addLayout(closing);
    auto* columns = new QHBoxLayout(dialog);
    auto* windows = new QVBoxLayout;
    windows->addWidget(web);
    windows->addWidget(files);
    columns->addLayout(windows);
    columns->addLayout(side);
}
