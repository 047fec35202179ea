#include "storage/atomicfile.h"

#include "storage/filereading.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>
#include <cerrno>
#include <filesystem>
#include <system_error>

#ifdef Q_OS_WIN
#include <io.h>
#else
#include <unistd.h>
#endif

namespace {

bool syncToDisk(int fd) {
#ifdef Q_OS_WIN
    return _commit(fd) == 0;
#else
    return ::fsync(fd) == 0;
#endif
}

// Writes `size` bytes from `data` to `fd`; 0, or the error number of the
// write that failed. The descriptor is written directly so that the cause of
// a short write (a disk that fills half way) is not lost.
int writeAll(int fd, const char* data, qint64 size) {
    constexpr qint64 kChunk = 1 << 30;
    qint64 done = 0;
    while (done < size) {
        const unsigned int part = unsigned(qMin(kChunk, size - done));
#ifdef Q_OS_WIN
        const auto n = ::_write(fd, data + done, part);
#else
        const auto n = ::write(fd, data + done, part);
#endif
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return errno;
        if (n == 0)
            return ENOSPC;
        done += n;
    }
    return 0;
}

struct Cause {
    std::errc code;
    const char* text;
};

// What the user is told for each cause of a failed write.
constexpr Cause kCauses[] = {
    {std::errc::no_space_on_device, "ディスクの空きがありません。"},
    {std::errc::permission_denied, "書き込む権限がありません。"},
    {std::errc::operation_not_permitted, "書き込む権限がありません。"},
    {std::errc::read_only_file_system, "読み取り専用のディスクです。"},
    {std::errc::file_too_large, "ファイルの大きさの上限を超えました。"},
    {std::errc::no_such_file_or_directory, "フォルダがありません。"},
    {std::errc::not_a_directory, "フォルダがありません。"},
    {std::errc::is_a_directory, "同じ名前のフォルダがあります。"},
    {std::errc::filename_too_long, "名前が長すぎます。"},
    {std::errc::io_error, "ディスクの読み書きでエラーが起きました。"},
};

QString failureText(const std::error_code& ec) {
    const std::error_condition cause = ec.default_error_condition();
#ifdef EDQUOT
    // A quota is no standard condition of its own.
    if (cause == std::error_condition(EDQUOT, std::generic_category()))
        return QStringLiteral("ディスクの使用量の上限（クォータ）を超えました。");
#endif
    for (const Cause& known : kCauses)
        if (cause == known.code)
            return QString::fromUtf8(known.text);
    return QStringLiteral("書き込めませんでした（%1）。")
        .arg(QString::fromLocal8Bit(ec.message().c_str()));
}

bool fail(QString* errorText, const QString& why) {
    if (errorText)
        *errorText = why;
    return false;
}

// Why the file at `path` may not be written as it stands, or nothing. A
// file with no write permission at all is the owner's wish even for root,
// who could write anything.
QString whyNotWritable(const QFileInfo& file) {
    const auto anyWrite =
        QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther;
    if (!(file.permissions() & anyWrite))
        return QStringLiteral("読み取り専用のファイルなので、書き換えませんでした。");
    if (!file.isWritable())
        return QStringLiteral("このファイルを書き換える権限がないので、書き換えませんでした。");
    return QString();
}

// Makes the temporary file beside `path` that is renamed over it at the end.
// A file at `path` that may not be written is refused first: the rename
// would replace it where a plain write is refused. A link is replaced, never
// followed, so the file it points to does not count.
bool openBeside(QTemporaryFile& temp, const QString& path, QString* errorText) {
    const QFileInfo target(path);
    if (target.exists() && !target.isSymLink()) {
        const QString refused = whyNotWritable(target);
        if (!refused.isEmpty())
            return fail(errorText, refused);
    }
    temp.setFileTemplate(target.absolutePath() + QStringLiteral("/.zv-XXXXXX.tmp"));
    temp.setAutoRemove(true);
    errno = 0;
    return temp.open() || fail(errorText, errno ? writeFailureText(errno) : temp.errorString());
}

enum class Access { AsBefore, OwnerOnly };

// Puts the written temporary file in place of `path` once all `size` bytes of
// it are on the disk.
bool replaceWith(QTemporaryFile& temp, const QString& path, qint64 size, QString* errorText,
                 Access access = Access::AsBefore) {
    if (!syncToDisk(temp.handle()))
        return fail(errorText, writeFailureText(errno));
    if (temp.size() != size)
        return fail(
            errorText,
            QStringLiteral("ファイルが途中までしか書けませんでした（空きがないかもしれません）。"));
    // The new file gets the permissions of the one it replaces, or the
    // usual ones for a new file.
    const QFileInfo old(path);
    const bool replacing = old.exists() && !old.isSymLink();
    const auto owner = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
    if (access == Access::OwnerOnly)
        temp.setPermissions(owner);
    else
        temp.setPermissions(replacing ? old.permissions()
                                      : owner | QFileDevice::ReadGroup | QFileDevice::ReadOther);
    const QString written = temp.fileName();
    temp.close();
    // rename() replaces a link at `path` itself, not the file it points to.
    std::error_code ec;
    std::filesystem::rename(std::filesystem::path(written.toStdU16String()),
                            std::filesystem::path(path.toStdU16String()), ec);
    if (ec)
        return fail(errorText, failureText(ec));
    temp.setAutoRemove(false);
    return true;
}

} // namespace

bool sameFile(const QString& a, const QString& b) {
    const QString ca = QFileInfo(a).canonicalFilePath();
    return !ca.isEmpty() && ca == QFileInfo(b).canonicalFilePath();
}

QString writeFailureText(int errorNumber) {
    return failureText(std::error_code(errorNumber, std::generic_category()));
}

namespace {

bool writeWhole(const QString& path, const QByteArray& bytes, QString* errorText, Access access) {
    QTemporaryFile temp;
    if (!openBeside(temp, path, errorText))
        return false;
    if (const int error = writeAll(temp.handle(), bytes.constData(), bytes.size()))
        return fail(errorText, writeFailureText(error));
    return replaceWith(temp, path, bytes.size(), errorText, access);
}

} // namespace

bool writeFileAtomically(const QString& path, const QByteArray& bytes, QString* errorText) {
    return writeWhole(path, bytes, errorText, Access::AsBefore);
}

bool writePrivateFileAtomically(const QString& path, const QByteArray& bytes, QString* errorText) {
    return writeWhole(path, bytes, errorText, Access::OwnerOnly);
}

bool writeNewFileAtomically(const QString& path, const QByteArray& bytes, bool* taken,
                            QString* errorText) {
    *taken = false;
    QFile claim(path);
    errno = 0;
    if (!claim.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
        const int error = errno;
        const QFileInfo there(path);
        *taken = there.exists() || there.isSymLink();
        return fail(errorText, error ? writeFailureText(error) : claim.errorString());
    }
    claim.close();
    if (writeFileAtomically(path, bytes, errorText))
        return true;
    claim.remove();
    return false;
}

CopyResult copyFileAtomically(const QString& from, const QString& to, const CopyProgress& progress,
                              QString* errorText, qint64 pieceBytes) {
    if (sameFile(from, to))
        return CopyResult::Copied;
    QFile in;
    QString why;
    if (openRegularFile(from, in, &why) != FileRead::Problem::None) {
        fail(errorText, QStringLiteral("「%1」を読めません：%2").arg(from, why));
        return CopyResult::Failed;
    }
    QTemporaryFile temp;
    if (!openBeside(temp, to, errorText))
        return CopyResult::Failed;
    const qint64 total = in.size();
    QByteArray piece(qsizetype(qMax<qint64>(pieceBytes, 1)), Qt::Uninitialized);
    qint64 done = 0;
    for (;;) {
        const qint64 got = in.read(piece.data(), piece.size());
        if (got < 0) {
            fail(errorText, QStringLiteral("「%1」を読めません：%2").arg(from, in.errorString()));
            return CopyResult::Failed;
        }
        if (got == 0)
            break;
        if (const int error = writeAll(temp.handle(), piece.constData(), got)) {
            fail(errorText, writeFailureText(error));
            return CopyResult::Failed;
        }
        done += got;
        if (progress && !progress(done, total))
            return CopyResult::Cancelled; // the temporary file goes with `temp`
    }
    return replaceWith(temp, to, done, errorText) ? CopyResult::Copied : CopyResult::Failed;
}
