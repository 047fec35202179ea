#pragma once

#include <QByteArray>
#include <QString>
#include <iconv.h>

// What a Windows editor saves for a Japanese text, made without the
// program's own decoder.
inline QByteArray toCp932(const QString& text) {
    const QByteArray utf8 = text.toUtf8();
    iconv_t cd = iconv_open("CP932", "UTF-8");
    QByteArray out(utf8.size() * 2 + 8, '\0');
    char* in = const_cast<char*>(utf8.constData());
    size_t inLeft = size_t(utf8.size());
    char* o = out.data();
    size_t outLeft = size_t(out.size());
    iconv(cd, &in, &inLeft, &o, &outLeft);
    iconv_close(cd);
    out.truncate(out.size() - qsizetype(outLeft));
    return out;
}
