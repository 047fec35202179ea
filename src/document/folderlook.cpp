#include "document/folderlook.h"

#include "storage/pathforms.h"
#include "storage/wallfiles.h"

#include <QDir>
#include <QThreadPool>
#include <QtConcurrent/QtConcurrentMap>

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

QVector<LookedFile> readLookedFiles(const QString& folder, const QVector<ListedFile>& files,
                                    const FolderAccess& access) {
    // Threads of their own, more than the cores: they mostly wait for the
    // file server.
    if (files.size() <= 1) {
        QVector<LookedFile> read;
        for (const ListedFile& f : files)
            read.append(readLookedFile(folder + f.name, f, access));
        return read;
    }
    static struct Readers : QThreadPool {
        Readers() { setMaxThreadCount(8); }
    } readers;
    return QtConcurrent::blockingMapped<QVector<LookedFile>>(
        &readers, files,
        [&](const ListedFile& f) { return readLookedFile(folder + f.name, f, access); });
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
    const QSet<QString> onWall(request.onWall.cbegin(), request.onWall.cend());
    const auto sameAs = [](const QHash<QString, FileSignature>& known, const ListedFile& f) {
        const auto k = known.constFind(f.name);
        return k != known.cend() && *k == f.signature;
    };
    QVector<ListedFile> toRead;
    for (const ListedFile& f : *look.listing) {
        // A card's file is read when it changed, and is a file; another
        // file unless it was found wanting as it is.
        const bool wanted =
            onWall.contains(f.name)
                ? f.signature.exists() && request.compared.value(f.name) != f.signature
                : !request.refused.contains(f.name) && !sameAs(request.damaged, f) &&
                      !sameAs(request.barren, f);
        if (wanted)
            toRead.append(f);
    }
    const QVector<LookedFile> read = readLookedFiles(request.folder, toRead, access);
    for (qsizetype i = 0; i < toRead.size(); ++i)
        look.read.insert(toRead[i].name, read[i]);
    return look;
}
