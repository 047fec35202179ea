#pragma once

#include "storage/folderaccess.h"
#include "storage/recorderror.h"
#include "storage/records.h"
#include "storage/walltext.h"

#include <QHash>
#include <QSet>
#include <QStringList>
#include <optional>

// What a change-detection look is to find out, taken from the wall as it
// stands when the look starts: the look itself runs away from the wall, on
// a worker thread, and touches nothing of it.
struct LookRequest {
    QString folder;
    QString root; // the data folder, for the background's path
    QString wallIni, htmlIni, dirIni;
    QString background; // the background picture as held
    // The card files whose text need not be read while they look as they
    // did: those of the cards on the wall as last compared, and, of the
    // others, those found damaged or holding no card.
    QStringList onWall;
    QHash<QString, FileSignature> compared;
    QHash<QString, FileSignature> damaged;
    QHash<QString, FileSignature> barren;
    // Files not read at all: no card of theirs fits on a full wall.
    QSet<QString> refused;
    quint64 generation = 0;
};

// One card file as a look read it.
struct LookedFile {
    std::optional<DecodedWallText> text; // none: it went, or it could not be read
    std::optional<RecordError> readError;
    size_t hash = 0; // of its text
    QVector<PosterRecord> records;
    std::optional<RecordError> parseError;
};

// A settings file as a look read it.
template <typename Record> struct LookedSettings {
    bool exists = false;
    std::optional<Record> record;
    std::optional<RecordError> error;
};

// What a look found in a wall folder.
struct FolderLook {
    QString folder;
    quint64 generation = 0;
    LookedSettings<PanelRecord> wall;
    QString picture; // the background picture the wall's record names
    bool pictureIsFile = false;
    LookedSettings<UrlRecord> web;
    LookedSettings<MaskRecord> files;
    // The card files as the folder lists them; none when it could not be listed.
    std::optional<QVector<ListedFile>> listing;
    QHash<QString, LookedFile> read; // the card files whose text was needed
};

// What a card file's text is hashed as.
size_t wallTextHash(const QString& text);

// A settings file read through `access`, its errors naming it.
template <typename Record>
LookedSettings<Record> lookAtSettings(const QString& path, const FolderAccess& access,
                                      std::optional<Record> (*parse)(const QString&));

// The card files `files` of `folder`, read several at a time: on a share
// every file opened is a round trip, and they overlap.
QVector<LookedFile> readLookedFiles(const QString& folder, const QVector<ListedFile>& files,
                                    const FolderAccess& access);

// Reads what `request` asks through `access`; safe on any thread.
FolderLook lookAtFolder(const LookRequest& request, const FolderAccess& access,
                        bool cardsToo = true);
// A card file read through `access`; a name that is not UTF-8 is not read.
LookedFile readLookedFile(const QString& path, const ListedFile& file, const FolderAccess& access);
