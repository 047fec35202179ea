#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>
#include <QVector>
#include <functional>

// The rules of the card editors and the name-tag maker, apart from their
// windows.

// Whether a file name is taken in the wall folder: a file or a card has it.
using NameTaken = std::function<bool(const QString& fileName)>;

// The quick editor's proposed card name: the wall folder's own name ("アイデア"
// where there is none, as at a drive root), or, while that is taken, the
// name followed by 2, 3, …
QString proposedCardName(const QString& wallFolder, const NameTaken& taken);

// Why a card name cannot be used.
enum class NameProblem { None, Empty, Taken, TooLong };
struct NameCheck {
    NameProblem problem = NameProblem::None;
    QString fileName; // the card file name, ".txt" added
};

// The quick editor's check of its text as a card name (DDNAME): line breaks
// dropped, ".txt" added and the card-name rule applied (cleanCardFileName); a
// problem when nothing is left, when that file name is taken, or when it is
// longer than a file name can be.
NameCheck checkQuickName(const QString& text, const NameTaken& taken);

// What the user is told about a name problem; empty for one that only beeps.
QString nameProblemMessage(const NameCheck& check);

// The card editor's file name for the typed card name: ".txt" added unless
// it ends in exactly ".txt", then cleaned by the rule of card names
// (cleanCardFileName: full-width forms, nothing cut). Empty when nothing is
// left or the name is too long for a file.
QString cardFileNameFor(const QString& typed);

// A file name the file system can hold: at most 255 bytes.
bool fitsFileName(const QString& name);

// The quick editor's arrows: one text-area step within the wall window.
enum class Arrow { Right, Down, Up, Left };
QPoint arrowStep(QPoint topLeft, QSize step, QSize wall, Arrow arrow);

// Name tags: the lines of a list, one card each, up to the first empty line
// or the first longer than 255 characters.
QStringList nameTagItems(const QString& text);

// The file names of a list's name tags, by the rule of card names. Two
// lines that give one name are both kept: the later gets the first number
// from 2 on that neither an earlier line nor `taken` has. A line that can
// give no file name ends the list there.
struct NameTagNames {
    QStringList fileNames; // one per line made, in order
    int unusable = -1;     // the first line that gives no name, or -1
    QStringList numbered;  // "3行目「a?」→「a？2.txt」", one per numbered line
};
NameTagNames nameTagNames(const QStringList& items, const NameTaken& taken);

// Where the name tags go on a wall of NOWX × NOWY, in columns from the top
// left, and how large each is.
QSize nameTagSize(int NOWX, int NOWY);
QVector<QPoint> nameTagPlaces(int count, int NOWX, int NOWY);

// Where the card editor goes (its frame's top left) on the wall `wall`, so
// that the card it edits stays in sight: centred when it clears the card,
// else beside, below or above the card, else centred after all.
QPoint cardEditorPlace(const QRect& wall, const QSize& frame, const QRect& card);
