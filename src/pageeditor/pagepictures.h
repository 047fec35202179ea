#pragma once

#include "pageeditor/pagedocument.h"

#include <QString>

// The rules by which the page editor changes a page's picture markup: the
// saved copies of the last picture, the placements' markup, the default
// names, relative links and the underscore copies of title and background
// pictures. Plain functions over the page's fields; the window only shows
// their result.

// The picture-or-link paragraph's placement (Panel6's tag).
enum class Placement { TextOnly = 0, Centred = 1, PictureLeft = 2, PictureRight = 3 };

// The last picture's markup and link, kept while the placement changes
// (TAIHI1 to TAIHI5). Cleared whenever the editor opens a page.
struct PictureSaves {
    QString TAIHI1; // ETAGSRC1
    QString TAIHI2; // Edit7
    QString TAIHI3; // Gname
    QString TAIHI4; // link file
    QString TAIHI5; // link text
};

// The default picture name of the page at `pagePath`: its base name without
// everything up to and including its first "_", then "-iedit.bmp".
QString Gnumber(const QString& pagePath);

// GTAIHI: keeps the picture's markup while there is a picture name.
void GTAIHI(const PageFields& f, PictureSaves& saves);
// GFUKKI: brings the kept markup back while its picture is beside the page
// at `pagePath`; without one the paragraph's markup stays as it is.
void GFUKKI(PageFields& f, const PictureSaves& saves, const QString& pagePath);
// Gnil: the picture removed from the fields; its link kept in the saves.
// Only the text-only button and deleting the picture call it: on opening a
// page it would empty a link the paragraph holds without a picture.
void Gnil(PageFields& f, PictureSaves& saves);

// The markup side of the placements (HaichiA to HaichiD): the paragraph's
// tag and the picture's align attribute, replaced, never duplicated.
void placeMarkup(PageFields& f, Placement placement);
// The placement a page's markup shows (FormShow2): from the align values in
// Edit7, centred when it has none, text only when it names no picture.
// Opening a page takes the placement from here and changes no markup, so
// that the page is written back as read and a link-only paragraph stays.
Placement placementOf(const PageFields& f);

// "<IMG src=…>" as the editor writes it, with or without vspace/hspace.
QString pictureMarkup(const QString& name, int width, int height, Placement placement,
                      bool withSpace);

// A chosen path made relative when it lies in the page's folder.
QString relativeLink(const QString& chosen, const QString& pageFolder);
// The name a title or background picture gets in the wall folder: exactly
// one leading "_".
QString underscoreName(const QString& fileName);
// The header block with the title picture `name` ("_…"), or without any
// title picture when `name` is empty.
QString titleHeader(const QString& HEDDA, const QString& name);
// The body tag's start with the background picture `name`, or without one.
QString backgroundBody(const QString& name);

// Whether a file name or a link can be written into markup: no double
// quote, "<", ">" or line break.
bool fitsMarkup(const QString& text);

// The display size for the size bar at `position` (clamped to 16–1265) and
// the picture's height-to-width ratio; a ratio of 0 (or none that is
// finite and positive) keeps the height.
struct PictureSize {
    int width = 0;
    int height = 0;
};
PictureSize sizeForBar(int position, double XToY, int currentHeight);
// The ratio of a size given as text; 0 when either is no positive number.
double ratioOf(const QString& width, const QString& height);
