#include "storage/folderlisting.h"

#include <QFile>
#include <QRegularExpression>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

namespace {

// Strict UTF-8, as Qt's decoder takes it: no overlong forms, no surrogates,
// nothing above U+10FFFF. Checked by hand because a decoder made for every
// name cost more than the rest of a change-detection tick.
bool isUtf8(const char* s, size_t n) {
    const auto* p = reinterpret_cast<const unsigned char*>(s);
    for (size_t i = 0; i < n;) {
        const unsigned char c = p[i];
        size_t more = 0;
        unsigned min = 0;
        unsigned code = 0;
        if (c < 0x80) {
            ++i;
            continue;
        } else if (c >= 0xC2 && c <= 0xDF) {
            more = 1, min = 0x80, code = c & 0x1F;
        } else if (c >= 0xE0 && c <= 0xEF) {
            more = 2, min = 0x800, code = c & 0x0F;
        } else if (c >= 0xF0 && c <= 0xF4) {
            more = 3, min = 0x10000, code = c & 0x07;
        } else {
            return false;
        }
        for (size_t k = 1; k <= more; ++k) {
            if (i + k >= n || (p[i + k] & 0xC0) != 0x80)
                return false;
            code = (code << 6) | (p[i + k] & 0x3F);
        }
        if (code < min || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
            return false;
        i += more + 1;
    }
    return true;
}

// A name as the user should see it: as it is when it is UTF-8, else every
// byte that is not plain ASCII shown as "\xNN".
QString shownName(const char* bytes, bool* utf8) {
    const size_t n = std::strlen(bytes);
    *utf8 = isUtf8(bytes, n);
    if (*utf8)
        return QString::fromUtf8(bytes, qsizetype(n));
    QString shown;
    for (size_t i = 0; i < n; ++i) {
        const auto c = static_cast<unsigned char>(bytes[i]);
        if (c >= 0x20 && c < 0x7F)
            shown += QLatin1Char(char(c));
        else
            shown += QStringLiteral("\\x") +
                     QString::number(c, 16).toUpper().rightJustified(2, QLatin1Char('0'));
    }
    return shown;
}

FileSignature signatureFrom(const struct stat& st) {
    FileSignature sig;
    sig.size = qint64(st.st_size);
    sig.mtimeNs = qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    return sig;
}

// Calls `visit(file)` for every entry of `folder` that `wanted(file)` (given
// the name only) accepts and that is not a folder (with `regularOnly`, for
// every regular file); false when the folder could not be read to its end.
// Only wanted entries are looked at on disk: a tick of the change detection
// lists the whole folder every two seconds.
template <typename Wanted, typename Visit>
bool forEachFile(const QString& folder, bool regularOnly, Wanted wanted, Visit visit) {
    DIR* dir = opendir(QFile::encodeName(folder).constData());
    if (!dir)
        return false;
    const int fd = dirfd(dir);
    bool complete = true;
    for (;;) {
        errno = 0;
        const dirent* entry = readdir(dir);
        if (!entry) {
            complete = errno == 0;
            break;
        }
        const char* raw = entry->d_name;
        if (std::strcmp(raw, ".") == 0 || std::strcmp(raw, "..") == 0)
            continue;
        ListedFile file;
        file.name = shownName(raw, &file.nameIsUtf8);
        if (!wanted(file))
            continue;
        struct stat st;
        if (fstatat(fd, raw, &st, 0) == 0) {
            if (S_ISREG(st.st_mode))
                file.signature = signatureFrom(st);
            else if (regularOnly || S_ISDIR(st.st_mode))
                continue;
            else
                file.regular = false; // a FIFO, a device
        } else if (!regularOnly && entry->d_type == DT_LNK) {
            file.regular = false; // a dangling link
        } else {
            continue; // gone between listing and looking
        }
        visit(file);
    }
    closedir(dir);
    return complete;
}

} // namespace

FileSignature signatureOf(const QString& path) {
    struct stat st;
    if (stat(QFile::encodeName(path).constData(), &st) != 0 || !S_ISREG(st.st_mode))
        return {};
    return signatureFrom(st);
}

bool cardNameLess(const QString& a, const QString& b) {
    const int c = a.compare(b, Qt::CaseInsensitive);
    return c != 0 ? c < 0 : a < b;
}

std::optional<QVector<ListedFile>> listCardFiles(const QString& folder, CardOrder order) {
    QVector<ListedFile> files;
    const auto isCardName = [](const ListedFile& file) {
        return file.name.endsWith(QLatin1String(".txt"), Qt::CaseInsensitive);
    };
    const bool ok = forEachFile(folder, false, isCardName,
                                [&files](const ListedFile& file) { files.append(file); });
    if (!ok)
        return std::nullopt;
    if (order == CardOrder::ByName)
        sortByCardName(files);
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
    const auto matches = [&patterns](const ListedFile& file) {
        if (!file.nameIsUtf8)
            return false;
        return std::any_of(patterns.cbegin(), patterns.cend(),
                           [&file](const auto& re) { return re.match(file.name).hasMatch(); });
    };
    const bool ok = forEachFile(folder, true, matches,
                                [&names](const ListedFile& file) { names << file.name; });
    if (!ok)
        return std::nullopt;
    std::sort(names.begin(), names.end(), cardNameLess);
    return names;
}

void sortByCardName(QVector<ListedFile>& files) {
    std::sort(files.begin(), files.end(), [](const ListedFile& a, const ListedFile& b) {
        return cardNameLess(a.name, b.name);
    });
}
