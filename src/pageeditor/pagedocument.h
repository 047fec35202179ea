#pragma once

#include <QString>

// One page of the page editor as plain data: the fields a teacher edits
// instead of HTML, the markup they carry between reading and writing, and
// the reader and writer of the page text. No widget: the editor window shows
// and edits these fields. Line breaks inside a field are "\n".

// What the editor shows and edits.
struct PageFields {
    QString title;        // Edit1: plain text ("<" and ">" shown as such)
    QString bigHeading;   // Memo4: the H1's content
    QString smallHeading; // Memo5: the H2's content
    QString framedText;   // Memo1: the one-cell bordered table's content
    QString unframedText; // Memo2: the last paragraph's content
    // The picture of the picture-or-link paragraph, relative to the page's
    // folder, when it was found there and is a picture; else empty.
    QString pictureName;   // Gname
    QString pictureWidth;  // GX: as read (it may be no whole number)
    QString pictureHeight; // GY
    QString linkFile;      // Edit2
    QString linkText;      // Edit3
    int kind = 1; // GroupBox1's tag: 4 表紙, 3 アイテム, 2 プレゼン, 1 ノート, 0 none

    // Markup carried from reading to writing.
    QString ETAGH1 = QStringLiteral("<H1>");
    QString ETAGH2 = QStringLiteral("<H2>");
    QString ETAGHYO1;            // the framed table's align attribute, or empty
    bool multiCellTable = false; // ETAGHYO1's tag: the table read had more cells
    QString ETAGSRC1;            // the picture-or-link paragraph's opening tag
    QString Edit7;               // its inner markup
    bool pictureLoaded = false;  // Image1's tag: its size attributes are written
    bool sizesFromPage = false;  // GX's tag

    // A picture the page names that is not in the page's folder (or is no
    // picture): the editor says so on opening. Its markup stays as read.
    QString missingPicture;
};

// The page text outside the fields, from the last reading.
struct PagePieces {
    QString S11;     // up to and including "<HEAD>", then the marker META's start
    QString S33;     // ">" and the rest of the head before the title
    QString S1_2;    // the title element
    QString bikkuri; // a quoted prefix of the title, kept out of the field
    QString S3;      // kept between the body tag and the header block
    QString HEDDA;   // the header block, verbatim
    QString S5;      // between the big and the small heading
    QString FOOTER;  // the footer block, verbatim
    QString S7;      // from "</BODY>" on
};

// What outlives one page: a new page takes the body tag and the unframed
// paragraph's tag of the page last read. The editor, made once, holds it.
struct PageMemory {
    QString BODYS;  // "<BODY" and any attributes before " bgcolor"
    QString BODYS2; // the rest of the body tag from " bgcolor" on, or ">"
    QString ETAGP1; // the unframed paragraph's opening tag
};

class PageDocument {
public:
    explicit PageDocument(PageMemory& memory) : memory_(memory) {}

    PageFields fields;
    PagePieces pieces;

    // The source of a new page: the template, with the body tag remembered.
    QString templateSource() const;

    // Edit_LOAD: reads `source` (the page text as in the file, the web-text
    // blocks included) into the fields and pieces. Pictures are looked up in
    // `pageFolder` (with a trailing "/").
    void Edit_LOAD(const QString& source, const QString& pageFolder);

    // Edit_SAVE: the page text from the fields and pieces, the web-text
    // expansion applied; line breaks as the writer of the file leaves them
    // (a single CR inside the template's pieces).
    QString Edit_SAVE();

    // Whether writing the page just read gives back `source` (line ends
    // aside): false when the page holds what the fields cannot keep (a page
    // edited by hand or by another editor), which a save would lose.
    bool keepsAll(const QString& source);

    // Empties the title, the link and the four texts ("DEL").
    void clearTexts();

private:
    // Finds the picture the paragraph's markup names and its size.
    void findPicture(const QString& content, const QString& pageFolder);

    PageMemory& memory_;
};

// The longest stretch, in any text field, with no place where a line may
// break (deeply nested tags "<B><B>…", a long word). A text field lays such
// a stretch out in a time that grows with the square of its length.
qsizetype longestUnbrokenRun(const PageFields& f);

// The text routines of the page editor.
QString KToDai(const QString& S); // "&lt;" to "<", then "&gt;" to ">"
QString DaiToK(const QString& S); // "<" to "&lt;", then ">" to "&gt;"
// The src attribute's value in a picture's markup, or empty.
QString SrcCut(const QString& markup);
// Sets, removes or (A empty) strips the align attribute of the first tag in S.
QString CHIKAN(const QString& S, const QString& A);
