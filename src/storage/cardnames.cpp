#include "storage/cardnames.h"

QString cleanCardFileName(const QString& name) {
    QString n = name;
    for (qsizetype i = n.size() - 1; i >= 0; --i) {
        if (n[i] == QLatin1Char('\\') || n[i] == QLatin1Char(':')) {
            n = n.mid(i + 1);
            break;
        }
    }
    n.remove(QLatin1Char('\r'));
    n.remove(QLatin1Char('\n'));
    static const struct {
        char from;
        char16_t to;
    } kFullWidth[] = {{'"', u'\u201D'}, {'\\', u'\uFFE5'}, {'/', u'\uFF0F'}, {'|', u'\uFF5C'},
                      {'*', u'\uFF0A'}, {'?', u'\uFF1F'},  {'<', u'\uFF1C'}, {'>', u'\uFF1E'}};
    for (const auto& r : kFullWidth)
        n.replace(QLatin1Char(r.from), QChar(r.to));
    const qsizetype dot = n.lastIndexOf(QLatin1Char('.'));
    const QString stem = dot >= 0 ? n.left(dot) : n;
    return stem.isEmpty() ? QString() : n;
}
