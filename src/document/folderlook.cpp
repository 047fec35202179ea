#include "document/folderlook.h"

#include "storage/pathforms.h"
#include "storage/wallfiles.h"

#include <QDir>

template <typename Record>
LookedSettings<Record> lookAtSettings(const QString& path, const FolderAccess& access,
                                      std::optional<Record> (*parse)(const QString&)) {
    LookedSettings<Record> looked;
    looked.exists = access.entry(path) != FolderAccess::Entry::None;
    if (!looked.exists)
        return looked;
    try {
        if (const auto text = wallTextFrom(access.read(path), path))
            looked.record = parse(text->text);
    } catch (RecordError& e) {
        e.setFile(QDir::toNativeSeparators(path));
        looked.error = e;
    }
    return looked;
}

template LookedSettings<PanelRecord> lookAtSettings(const QString&, const FolderAccess&,
                                                    std::optional<PanelRecord> (*)(const QString&));
template LookedSettings<UrlRecord> lookAtSettings(const QString&, const FolderAccess&,
                                                  std::optional<UrlRecord> (*)(const QString&));
template LookedSettings<MaskRecord> lookAtSettings(const QString&, const FolderAccess&,
                                                   std::optional<MaskRecord> (*)(const QString&));

size_t wallTextHash(const QString& text) {
    return qHash(text, 1);
}

LookedFile readLookedFile(const QString& path, const ListedFile& file, const FolderAccess& access) {
    LookedFile looked;
    if (!file.nameIsUtf8) {
        looked.readError = RecordError(RecordError::Reason::BadName, QString(), QString(),
                                       QDir::toNativeSeparators(path));
        return looked;
    }
    try {
        looked.text = wallTextFrom(access.read(path), path);
    } catch (const RecordError& e) {
        looked.readError = e;
        return looked;
    }
    if (!looked.text)
        return looked;
    looked.hash = wallTextHash(looked.text->text);
    try {
        if (looked.text->text.contains(QLatin1Char('<')))
            looked.records = parsePosterRecords(looked.text->text);
    } catch (const RecordError& e) {
        looked.parseError = e;
    }
    return looked;
}

FolderLook lookAtFolder(const LookRequest& request, const FolderAccess& access, bool cardsToo) {
    FolderLook look;
    look.folder = request.folder;
    look.generation = request.generation;
    look.wall =
        lookAtSettings<PanelRecord>(request.folder + request.wallIni, access, parsePanelRecord);
    if (look.wall.record) {
        const QString& named = look.wall.record->KABEIMAGE;
        look.picture =
            ZETTAI(named.isEmpty() ? request.background : named, request.folder, request.root);
        look.pictureIsFile = access.entry(look.picture) == FolderAccess::Entry::File;
    }
    look.files =
        lookAtSettings<MaskRecord>(request.folder + request.dirIni, access, parseMaskRecord);
    look.web = lookAtSettings<UrlRecord>(request.folder + request.htmlIni, access, parseUrlRecord);
    if (!cardsToo)
        return look;
    look.listing = access.list(request.folder, CardOrder::AsListed);
    if (!look.listing)
        return look;
    for (const ListedFile& f : *look.listing) {
        if (request.refused.contains(f.name))
            continue;
        const auto known = request.known.constFind(f.name);
        if (known != request.known.cend() && *known == f.signature)
            continue;
        // A card's file that is not a regular file keeps the card as it is.
        if (request.onWall.contains(f.name) && !f.signature.exists())
            continue;
        look.read.insert(f.name, readLookedFile(request.folder + f.name, f, access));
    }
    return look;
}
