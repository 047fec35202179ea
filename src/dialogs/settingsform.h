#pragma once

#include <QList>
#include <QRect>
#include <QString>

class QLabel;
class QLineEdit;
class QScrollBar;
class QToolButton;
class QWidget;

// The settings dialog's controls, made and laid out on the dialog: the web
// window's page, place and ribbon, the file window's kind, mask and place, a
// miniature of both windows, the background picture and the closing buttons.
// The dialog connects them to what they do.
struct SettingsForm {
    explicit SettingsForm(QWidget* dialog);

    // One position or size: its edit and the scroll bar beside it.
    struct Field {
        QLineEdit* edit = nullptr;
        QScrollBar* bar = nullptr;
    };
    enum { WebX, WebY, WebWidth, WebHeight, FileX, FileY, FileWidth, FileHeight, FieldCount };
    // A button that puts a window at a place of its own.
    struct Placement {
        QToolButton* button;
        QRect place;
    };
    // A button that sets the file window's kind word and mask.
    struct Kind {
        QToolButton* button;
        QString word;
        QString mask;
    };

    Field fields[FieldCount];

    // Web window.
    QLineEdit* startPageEdit;       // Edit2: a file of the wall or an address
    QToolButton* newPageButton;     // SpeedButton24: NEWテキスト
    QToolButton* editPageButton;    // SpeedButton12: テキスト編集
    QToolButton* choosePageButton;  // SpeedButton7: 参照テキスト
    QToolButton* removeWebButton;   // SpeedButton5: WEB窓無くす
    QToolButton* editorSwitch;      // Panel13: エディター／ワード
    QToolButton* ribbonSwitch;      // SpeedButton30
    QWidget* placesWithRibbon;      // the five placement buttons shown with a ribbon
    QWidget* placesNoRibbon;        // and those shown without
    QList<Placement> webPlacements; // both sets
    // The captions a click on which takes the web window away.
    QList<QLabel*> removingCaptions;

    // File window.
    QLineEdit* fileKindEdit;    // Edit3: the kind word
    QLineEdit* fileMaskEdit;    // Edit1
    QList<Kind> kinds;          // SpeedButton10, 14, 16 to 20
    QToolButton* noFilesButton; // SpeedButton15: DIR窓無くす
    QList<Placement> fileCorners;

    // The two windows at 1/20 on a miniature of the wall.
    QWidget* webMiniature;    // Panel11
    QWidget* ribbonMiniature; // Panel12
    QWidget* fileMiniature;   // Panel10

    // Background.
    QLineEdit* backgroundEdit;            // Edit12: the picture's name
    QLineEdit* originalEdit;              // Edit13: its original's name
    QToolButton* chooseBackgroundButton;  // SpeedButton2: 参照画像
    QToolButton* restoreBackgroundButton; // SpeedButton11: _原画に戻す
    QToolButton* removeBackgroundButton;  // SpeedButton4: 背景画像無くす

    // Closing.
    QToolButton* saveButton;   // SpeedButton9: 保存・ていあん
    QToolButton* cancelButton; // SpeedButton8: キャンセル
};
