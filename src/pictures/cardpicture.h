#pragma once

#include <QImage>
#include <QSize>
#include <QString>

// The picture a card shows: its thumbnail "NAIL/~name" in the wall folder
// when there is one, else the picture itself, else none. A picture that
// takes a thumbnail and has none yet gets one made now, once, so the next
// load reads the small file. A picture that cannot be read gives none.
QImage loadCardPicture(const QString& pictureName, const QString& wallFolder,
                       const QString& dataFolder, QSize shownAt = QSize());

// The thumbnail's path for a picture name (any of the three path forms).
QString thumbnailPath(const QString& pictureName, const QString& wallFolder);
