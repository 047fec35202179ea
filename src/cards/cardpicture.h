#pragma once

#include <QImage>
#include <QString>

// The picture a card shows: its thumbnail "NAIL/~name" in the wall folder when
// there is one, else the picture itself, else none. A picture that cannot be
// read gives none.
QImage loadCardPicture(const QString& pictureName, const QString& wallFolder,
                       const QString& dataFolder);

// The thumbnail's path for a picture name (any of the three path forms).
QString thumbnailPath(const QString& pictureName, const QString& wallFolder);
