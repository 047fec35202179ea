#pragma once

#include <QString>
#include <stdexcept>

// The one error a wall file can raise when it is read: it names the file, the
// field and the text that could not be taken, so the user can find and mend it.
class RecordError : public std::runtime_error {
public:
    enum class Reason {
        NotInteger, // an integer field holds something else
        Incomplete, // the file ends before the record is closed
        Encoding,   // the bytes are neither UTF-8 nor clean Shift_JIS
        Unreadable, // the file exists but cannot be opened
        NotRegular, // a FIFO, a device or a folder where a file was expected
        TooLarge,   // larger than any wall file can be
        BadName     // the name is not UTF-8: the file cannot be opened by it
    };

    RecordError(Reason reason, QString field, QString text, QString file = QString());

    Reason reason() const { return reason_; }
    const QString& field() const { return field_; }
    const QString& text() const { return text_; }
    const QString& file() const { return file_; }
    void setFile(const QString& file) { file_ = file; }

    // The message shown to the user, in Japanese, naming file, field and text.
    QString message() const;

private:
    Reason reason_;
    QString field_;
    QString text_;
    QString file_;
};
