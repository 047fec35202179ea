#pragma once

#include <QByteArray>
#include <memory>
#include <optional>

class QTemporaryFile;

// Bytes kept to take a step back (a file as it was, the pixels under a
// stroke): small ones in memory, larger ones in a temporary file of their
// own, so that a long history never holds pictures whole. The temporary file
// goes with the object.
class KeptBytes {
public:
    // Up to this many bytes stay in memory.
    static constexpr qsizetype kInMemory = 16 * 1024;

    KeptBytes();
    explicit KeptBytes(const QByteArray& bytes);
    ~KeptBytes();
    KeptBytes(KeptBytes&&) noexcept;
    KeptBytes& operator=(KeptBytes&&) noexcept;

    qsizetype size() const { return size_; }
    // Whether they are kept in a temporary file.
    bool spilled() const { return spill_ != nullptr; }
    // The bytes; none when their temporary file could not be read back.
    std::optional<QByteArray> bytes() const;
    bool operator==(const QByteArray& other) const;

private:
    QByteArray inMemory_;
    std::unique_ptr<QTemporaryFile> spill_;
    qsizetype size_ = 0;
};
