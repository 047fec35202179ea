#include "pageeditor/pagefile.h"

#include "storage/atomicfile.h"
#include "storage/filereading.h"
#include "storage/walltext.h"

namespace {

// A page larger than this is no page a teacher edits through the fields.
constexpr qint64 kMaxPageBytes = 8 * 1024 * 1024;

} // namespace

PageRead readPageFile(const QString& path) {
    PageRead page;
    const FileRead read = readRegularFile(path, kMaxPageBytes);
    switch (read.problem) {
    case FileRead::Problem::None:
        break;
    case FileRead::Problem::Missing:
        page.problem = QStringLiteral("「%1」がありません。").arg(path);
        return page;
    case FileRead::Problem::NotRegular:
        page.problem =
            QStringLiteral("「%1」は普通のファイルではないので、編集できません。").arg(path);
        return page;
    case FileRead::Problem::TooLarge:
        page.problem = QStringLiteral("「%1」は8MBを超えるので、編集できません。").arg(path);
        return page;
    case FileRead::Problem::Unreadable:
        page.problem = QStringLiteral("「%1」を読めません（%2）。").arg(path, read.error);
        return page;
    }
    // A page saved in Shift_JIS still holds the ASCII marker; written back as
    // UTF-8 it would be garbled, so it is not edited here.
    const auto text = decodeWallText(read.bytes);
    if (!text || text->fromShiftJis) {
        page.problem =
            QStringLiteral("「%1」はUTF-8で書かれていないので、編集できません。").arg(path);
        return page;
    }
    page.text = text->text;
    return page;
}

bool writePageFile(const QString& path, const QString& text, QString* error) {
    const QByteArray bytes = QByteArray("\xEF\xBB\xBF") + joinLinesCrLf(text).toUtf8();
    return writeFileAtomically(path, bytes, error);
}
