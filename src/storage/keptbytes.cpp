#include "storage/keptbytes.h"

#include <QDir>
#include <QTemporaryFile>

KeptBytes::KeptBytes() = default;

KeptBytes::KeptBytes(const QByteArray& bytes) : size_(bytes.size()) {
    if (bytes.size() > kInMemory) {
        auto file = std::make_unique<QTemporaryFile>(QDir::tempPath() +
                                                     QStringLiteral("/zavik-kept-XXXXXX"));
        // Where the temporary folder is full the bytes stay in memory: the
        // step is worth more than the memory.
        if (file->open() && file->write(bytes) == bytes.size() && file->flush()) {
            file->close();
            spill_ = std::move(file);
            return;
        }
    }
    inMemory_ = bytes;
}

KeptBytes::~KeptBytes() = default;
KeptBytes::KeptBytes(KeptBytes&&) noexcept = default;
KeptBytes& KeptBytes::operator=(KeptBytes&&) noexcept = default;

std::optional<QByteArray> KeptBytes::bytes() const {
    if (!spill_)
        return inMemory_;
    if (!spill_->open())
        return std::nullopt;
    QByteArray read = spill_->readAll();
    spill_->close();
    if (read.size() != size_)
        return std::nullopt;
    return read;
}

bool KeptBytes::operator==(const QByteArray& other) const {
    if (other.size() != size_)
        return false;
    const auto mine = bytes();
    return mine && *mine == other;
}
