#include "storage/filereading.h"

#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#ifdef Q_OS_UNIX
namespace {

// Opens a file without waiting, so that a FIFO cannot block; then looks at
// it through the open file, so that nothing can be swapped in between.
// Returns the open descriptor of a regular file and its size, or -1 with the
// problem in `read`.
int openRegular(const QString& path, FileRead& read, qint64& size) {
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        read.problem = errno == ENOENT || errno == ENOTDIR ? FileRead::Problem::Missing
                                                           : FileRead::Problem::Unreadable;
        read.error = QString::fromLocal8Bit(std::strerror(errno));
        return -1;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        read.problem = FileRead::Problem::NotRegular;
        return -1;
    }
    size = st.st_size;
    return fd;
}

} // namespace
#endif

FileRead::Problem openRegularFile(const QString& path, QFile& file, QString* error) {
    FileRead read;
#ifdef Q_OS_UNIX
    qint64 size = 0;
    const int fd = openRegular(path, read, size);
    if (fd >= 0 && !file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        read.problem = FileRead::Problem::Unreadable;
        read.error = file.errorString();
    }
#else
    const QFileInfo info(path);
    if (!info.exists()) {
        read.problem = FileRead::Problem::Missing;
    } else if (!info.isFile()) {
        read.problem = FileRead::Problem::NotRegular;
    } else {
        file.setFileName(path);
        if (!file.open(QIODevice::ReadOnly)) {
            read.problem = FileRead::Problem::Unreadable;
            read.error = file.errorString();
        }
    }
#endif
    if (error)
        *error = read.problem == FileRead::Problem::NotRegular
                     ? QStringLiteral("ふつうのファイルではありません。")
                     : read.error;
    return read.problem;
}

FileRead readRegularFile(const QString& path, qint64 maxBytes) {
    FileRead read;
#ifdef Q_OS_UNIX
    qint64 size = 0;
    const int fd = openRegular(path, read, size);
    if (fd < 0)
        return read;
    if (size > maxBytes) {
        ::close(fd);
        read.problem = FileRead::Problem::TooLarge;
        return read;
    }
    // A file that grows while it is read is still cut at the limit.
    read.bytes.resize(qsizetype(size));
    qint64 got = 0;
    for (;;) {
        if (got == read.bytes.size()) {
            if (got > maxBytes)
                break;
            read.bytes.resize(qsizetype(std::min<qint64>(got + 65536, maxBytes + 1)));
        }
        const ssize_t n = ::read(fd, read.bytes.data() + got, size_t(read.bytes.size() - got));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            read.problem = FileRead::Problem::Unreadable;
            read.error = QString::fromLocal8Bit(std::strerror(errno));
            ::close(fd);
            read.bytes.clear();
            return read;
        }
        if (n == 0)
            break;
        got += n;
    }
    ::close(fd);
    read.bytes.resize(qsizetype(got));
#else
    QFile file;
    read.problem = openRegularFile(path, file, &read.error);
    if (read.problem != FileRead::Problem::None)
        return read;
    read.bytes = file.read(maxBytes + 1);
#endif
    if (read.bytes.size() > maxBytes) {
        read.problem = FileRead::Problem::TooLarge;
        read.bytes.clear();
    }
    return read;
}
