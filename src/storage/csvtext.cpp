#include "storage/csvtext.h"

QString csvField(const QString& field) {
    const bool quoted = field.contains(QLatin1Char(',')) || field.contains(QLatin1Char('"')) ||
                        field.contains(QLatin1Char('\n')) || field.contains(QLatin1Char('\r'));
    if (!quoted)
        return field;
    QString inner = field;
    inner.replace(QLatin1String("\""), QLatin1String("\"\""));
    return QLatin1Char('"') + inner + QLatin1Char('"');
}

QString csvLine(const QStringList& fields) {
    QString line;
    for (const QString& f : fields)
        line += csvField(f) + QLatin1Char(',');
    return line;
}

QByteArray csvBytes(const QStringList& lines) {
    QByteArray bytes("\xEF\xBB\xBF", 3);
    for (const QString& line : lines)
        bytes += line.toUtf8() + "\r\n";
    return bytes;
}
