#include "storage/cardnames.h"

QString cleanCardFileName(const QString& name) {
    static const struct {
        char from;
        char16_t to;
    } kFullWidth[] = {{'"', u'\u201D'}, {'\\', u'\uFFE5'}, {'/', u'\uFF0F'},
                      {'|', u'\uFF5C'}, {'*', u'\uFF0A'},  {'?', u'\uFF1F'},
                      {'<', u'\uFF1C'}, {'>', u'\uFF1E'},  {':', u'\uFF1A'}};
    QString n;
    n.reserve(name.size());
    for (const QChar c : name) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            continue;
        QChar put = c;
        for (const auto& r : kFullWidth)
            if (c == QLatin1Char(r.from))
                put = QChar(r.to);
        n += put;
    }
    const qsizetype dot = n.lastIndexOf(QLatin1Char('.'));
    const QString stem = dot >= 0 ? n.left(dot) : n;
    return stem.isEmpty() ? QString() : n;
}
