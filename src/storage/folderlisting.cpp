#include "storage/folderlisting.h"

#include <QRegularExpression>
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

// Calls `visit(name, signature)` for every regular file of `folder`; false
// when the folder could not be read to its end.
template <typename Visit> bool forEachFile(const QString& folder, Visit visit) {
    std::error_code ec;
    fs::directory_iterator it(toPath(folder), ec);
    if (ec)
        return false;
    for (const fs::directory_iterator end; it != end; it.increment(ec)) {
        if (ec)
            return false;
        std::error_code fileEc;
        if (!it->is_regular_file(fileEc) || fileEc)
            continue;
        FileSignature sig;
        const auto size = it->file_size(fileEc);
        const auto time = it->last_write_time(fileEc);
        if (fileEc)
            continue; // gone between listing and looking
        sig.size = qint64(size);
        sig.mtimeNs = toNs(time);
        visit(QString::fromStdString(it->path().filename().string()), sig);
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
    const bool ok = forEachFile(folder, [&files](const QString& name, const FileSignature& sig) {
        if (name.endsWith(QLatin1String(".txt"), Qt::CaseInsensitive))
            files.append({name, sig});
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
    const bool ok = forEachFile(folder, [&](const QString& name, const FileSignature&) {
        for (const auto& re : patterns) {
            if (re.match(name).hasMatch()) {
                names << name;
                return;
            }
        }
    });
    if (!ok)
        return std::nullopt;
    std::sort(names.begin(), names.end(), cardNameLess);
    return names;
}
