#include "storage/csvtext.h"

#include <QRegularExpression>

namespace {

// A cell a spreadsheet would take as a formula: it begins with "=", "+",
// "-", "@", a tab or a carriage return and is not a plain number such as
// "-5" or "+3.2" (sign, digits, a decimal point and digits; no exponent).
bool runsAsFormula(const QString& field) {
    static const QString starters = QStringLiteral("=+-@\t\r");
    if (field.isEmpty() || !starters.contains(field.front()))
        return false;
    static const QRegularExpression plainNumber(QStringLiteral("\\A[+-]?[0-9]+(\\.[0-9]+)?\\z"));
    return !plainNumber.match(field).hasMatch();
}

} // namespace

QString csvField(const QString& text) {
    // The apostrophe makes a spreadsheet show the text instead of running it.
    const QString field = runsAsFormula(text) ? QLatin1Char('\'') + text : text;
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
