#include "storage/folderlisting.h"

#include <QRegularExpression>
#include <QStringDecoder>
#include <algorithm>
#include <filesystem>

namespace fs = std::filesystem;

namespace {

qint64 toNs(fs::file_time_type t) {
    return qint64(
        std::chrono::duration_cast<std::chrono::nanoseconds>(t.time_since_epoch()).count());
}

fs::path toPath(const QString& folder) {
    return fs::path(folder.toStdString());
}

// A name as the user should see it: as it is when it is UTF-8, else every
// byte that is not plain ASCII shown as "\xNN".
QString shownName(const std::string& bytes, bool* utf8) {
    QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    const QString name = decoder.decode(QByteArrayView(bytes.data(), qsizetype(bytes.size())));
    *utf8 = !decoder.hasError();
    if (*utf8)
        return name;
    QString shown;
    for (const unsigned char c : bytes) {
        if (c >= 0x20 && c < 0x7F)
            shown += QLatin1Char(char(c));
        else
            shown += QStringLiteral("\\x") +
                     QString::number(c, 16).toUpper().rightJustified(2, QLatin1Char('0'));
    }
    return shown;
}

// Calls `visit(file)` for every entry of `folder` that is not a folder (with
// `regularOnly`, for every regular file); false when the folder could not be
// read to its end.
template <typename Visit> bool forEachFile(const QString& folder, bool regularOnly, Visit visit) {
    std::error_code ec;
    fs::directory_iterator it(toPath(folder), ec);
    if (ec)
        return false;
    for (const fs::directory_iterator end; it != end; it.increment(ec)) {
        if (ec)
            return false;
        std::error_code fileEc;
        ListedFile file;
        file.name = shownName(it->path().filename().string(), &file.nameIsUtf8);
        if (it->is_regular_file(fileEc) && !fileEc) {
            const auto size = it->file_size(fileEc);
            const auto time = it->last_write_time(fileEc);
            if (fileEc)
                continue; // gone between listing and looking
            file.signature.size = qint64(size);
            file.signature.mtimeNs = toNs(time);
        } else if (regularOnly || it->is_directory(fileEc)) {
            continue;
        } else {
            file.regular = false; // a FIFO, a device, a dangling link
        }
        visit(file);
    }
    return !ec;
}

} // namespace

FileSignature signatureOf(const QString& path) {
    std::error_code ec;
    const fs::path p = toPath(path);
    FileSignature sig;
    if (!fs::is_regular_file(p, ec) || ec)
        return sig;
    const auto size = fs::file_size(p, ec);
    const auto time = fs::last_write_time(p, ec);
    if (ec)
        return sig;
    sig.size = qint64(size);
    sig.mtimeNs = toNs(time);
    return sig;
}

bool cardNameLess(const QString& a, const QString& b) {
    const int c = a.compare(b, Qt::CaseInsensitive);
    return c != 0 ? c < 0 : a < b;
}

std::optional<QVector<ListedFile>> listCardFiles(const QString& folder) {
    QVector<ListedFile> files;
    const bool ok = forEachFile(folder, false, [&files](const ListedFile& file) {
        if (file.name.endsWith(QLatin1String(".txt"), Qt::CaseInsensitive))
            files.append(file);
    });
    if (!ok)
        return std::nullopt;
    std::sort(files.begin(), files.end(), [](const ListedFile& a, const ListedFile& b) {
        return cardNameLess(a.name, b.name);
    });
    return files;
}

std::optional<QStringList> listMatchingFiles(const QString& folder, const QString& mask) {
    QVector<QRegularExpression> patterns;
    for (const QString& part : mask.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const QString pattern = part.trimmed();
        if (!pattern.isEmpty())
            patterns.append(
                QRegularExpression(QRegularExpression::wildcardToRegularExpression(pattern),
                                   QRegularExpression::CaseInsensitiveOption));
    }
    QStringList names;
    const bool ok = forEachFile(folder, true, [&](const ListedFile& file) {
        if (!file.nameIsUtf8)
            return;
        for (const auto& re : patterns) {
            if (re.match(file.name).hasMatch()) {
                names << file.name;
                return;
            }
        }
    });
    if (!ok)
        return std::nullopt;
    std::sort(names.begin(), names.end(), cardNameLess);
    return names;
}
