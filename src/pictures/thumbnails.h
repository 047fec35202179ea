#pragma once

#include <QImage>
#include <QSize>
#include <QString>

// Cards show their pictures through thumbnails: "NAIL/~" + the picture's
// file name in the wall folder, 600 pixels high, as a bitmap for ".bmp" and
// a JPEG of quality 100 for ".jpg"/".jpeg". Other pictures get none.

constexpr int kThumbnailHeight = 600;
// Wider thumbnails are refused (a 2000 × 2 strip would need a gigabyte);
// the card then shows the picture itself.
constexpr int kMaxThumbnailWidth = 16384;

// The thumbnail size of a w × h picture: Trunc(w × 600 / h) × 600, or an
// invalid size when it would be too wide or the picture is empty.
QSize thumbnailSize(QSize picture);

// Whether a picture of this name gets a thumbnail.
bool takesThumbnail(const QString& pictureFile);

// Scales `picture` to thumbnail size and writes it to `T`; false when there
// is nothing to write, the size is refused, or the write failed.
bool Makethumbnail(const QImage& picture, const QString& T, QString* errorText = nullptr);

// Reads picture F and writes its thumbnail into the wall folder's "NAIL"
// folder under F's own name. False when no thumbnail was written.
bool NAILIMAGELOADMAKE(const QString& F, const QString& wallFolder);
// The same, but named after F2 (a launch card names its thumbnail after the
// card's file); errors are given back to the caller.
bool NAILIMAGELOADMAKE2(const QString& F, const QString& F2, const QString& wallFolder,
                        QString* errorText = nullptr);
