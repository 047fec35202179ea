#include "projectfile.h"

#include <QFile>
#include <QSaveFile>
#include <QStringDecoder>
#include <iconv.h>

namespace {

const QByteArray kBom("\xEF\xBB\xBF", 3);

std::optional<QString> decodeUtf8(const QByteArray& bytes) {
    QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    const QString text = decoder.decode(bytes);
    if (decoder.hasError())
        return std::nullopt;
    return text;
}

// Windows' Shift_JIS (CP932, with its NEC and IBM extensions). glibc's iconv
// always has it; Qt's own converter is the fallback where it does not.
std::optional<QString> decodeShiftJis(const QByteArray& bytes) {
    iconv_t cd = iconv_open("UTF-8", "CP932");
    if (cd == iconv_t(-1)) {
        QStringDecoder decoder("Shift_JIS", QStringConverter::Flag::Stateless);
        if (!decoder.isValid())
            return std::nullopt;
        const QString text = decoder.decode(bytes);
        if (decoder.hasError())
            return std::nullopt;
        return text;
    }
    // No CP932 byte becomes more than three bytes of UTF-8.
    QByteArray out(bytes.size() * 3 + 16, Qt::Uninitialized);
    char* in = const_cast<char*>(bytes.constData());
    size_t inLeft = size_t(bytes.size());
    char* o = out.data();
    size_t outLeft = size_t(out.size());
    const bool clean = iconv(cd, &in, &inLeft, &o, &outLeft) != size_t(-1) && inLeft == 0;
    iconv_close(cd);
    if (!clean)
        return std::nullopt;
    out.truncate(out.size() - qsizetype(outLeft));
    return QString::fromUtf8(out);
}

// The line end that most lines use; a file with one line gets the default.
QString dominantLineEnd(const QString& text) {
    qsizetype crlf = 0, lf = 0, cr = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == QLatin1Char('\r')) {
            if (i + 1 < text.size() && text[i + 1] == QLatin1Char('\n')) {
                ++crlf;
                ++i;
            } else {
                ++cr;
            }
        } else if (text[i] == QLatin1Char('\n')) {
            ++lf;
        }
    }
    if (lf > crlf && lf >= cr)
        return QStringLiteral("\n");
    if (cr > crlf && cr > lf)
        return QStringLiteral("\r");
    return QStringLiteral("\r\n");
}

} // namespace

std::optional<ProjectText> decodeProjectText(const QByteArray& bytes) {
    ProjectText project;
    project.byteOrderMark = bytes.startsWith(kBom);
    const QByteArray body = project.byteOrderMark ? bytes.mid(kBom.size()) : bytes;
    std::optional<QString> text = decodeUtf8(body);
    if (!text && !project.byteOrderMark) {
        text = decodeShiftJis(body);
        project.fromShiftJis = text.has_value();
    }
    if (!text)
        return std::nullopt;
    project.lineEnd = dominantLineEnd(*text);
    QString joined = *text;
    joined.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    joined.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    project.text = joined;
    return project;
}

QByteArray encodeProjectText(const ProjectText& project) {
    QString text = project.text;
    if (project.lineEnd != QLatin1String("\n"))
        text.replace(QLatin1Char('\n'), project.lineEnd);
    QByteArray bytes = project.byteOrderMark ? kBom : QByteArray();
    bytes += text.toUtf8();
    return bytes;
}

bool readProjectFile(const QString& path, ProjectText* project, QString* errorText) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *errorText = file.errorString();
        return false;
    }
    const std::optional<ProjectText> decoded = decodeProjectText(file.readAll());
    if (!decoded) {
        *errorText = QStringLiteral("文字コードが UTF-8 でも Shift_JIS でもありません");
        return false;
    }
    *project = *decoded;
    return true;
}

bool writeProjectFile(const QString& path, const ProjectText& project, QString* errorText) {
    const QByteArray bytes = encodeProjectText(project);
    QSaveFile file(path);
    file.setDirectWriteFallback(false);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        *errorText = file.errorString();
        return false;
    }
    return true;
}
