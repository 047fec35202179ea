#include "logolexer.h"

#include <cmath>

namespace {

bool isSingleCharToken(QChar c) {
    switch (c.unicode()) {
    case '[':
    case ']':
    case '(':
    case ')':
    case '+':
    case '-':
    case '*':
    case '/':
    case '=':
    case '<':
    case '>':
        return true;
    default:
        return false;
    }
}

bool endsWord(QChar c) {
    return c.isSpace() || c == QLatin1Char(';') || isSingleCharToken(c);
}

bool looksLikeNumber(const QString& word) {
    if (word.isEmpty())
        return false;
    if (word[0].isDigit())
        return true;
    return word[0] == QLatin1Char('.') && word.size() > 1 && word[1].isDigit();
}

} // namespace

bool tokenizeLogo(const QString& original, std::vector<LogoToken>* tokens, LogoError* error) {
    // Pupils often type with the Japanese input method still on; ＦＤ　１００
    // should work like FD 100. The normal form keeps every line break.
    const QString text = original.normalized(QString::NormalizationForm_KC);
    tokens->clear();
    const qsizetype n = text.size();
    int line = 1;
    qsizetype i = 0;
    auto fail = [&](LogoErrorKind kind, const QString& message) {
        error->kind = kind;
        error->message = message;
        error->line = line;
        return false;
    };
    while (i < n) {
        const QChar c = text[i];
        if (c == QLatin1Char('\n')) {
            ++line;
            ++i;
            continue;
        }
        if (c == QLatin1Char('\r')) {
            if (i + 1 >= n || text[i + 1] != QLatin1Char('\n'))
                ++line;
            ++i;
            continue;
        }
        if (c.isSpace()) {
            ++i;
            continue;
        }
        if (c == QLatin1Char(';')) {
            while (i < n && text[i] != QLatin1Char('\n') && text[i] != QLatin1Char('\r'))
                ++i;
            continue;
        }
        LogoToken t;
        t.line = line;
        if (isSingleCharToken(c)) {
            t.text = c;
            t.key = t.text;
            switch (c.unicode()) {
            case '[':
                t.type = LogoToken::Type::Open;
                break;
            case ']':
                t.type = LogoToken::Type::Close;
                break;
            case '(':
                t.type = LogoToken::Type::OpenParen;
                break;
            case ')':
                t.type = LogoToken::Type::CloseParen;
                break;
            default:
                t.type = LogoToken::Type::Operator;
                break;
            }
            if (c == QLatin1Char('-')) {
                const bool spaceBefore = i == 0 || text[i - 1].isSpace();
                const bool spaceAfter = i + 1 >= n || text[i + 1].isSpace();
                t.startsNegativeValue = spaceBefore && !spaceAfter;
            }
            tokens->push_back(t);
            ++i;
            continue;
        }
        const bool variable = c == QLatin1Char(':');
        const bool quoted = c == QLatin1Char('"');
        const qsizetype start = (variable || quoted) ? i + 1 : i;
        qsizetype end = start;
        while (end < n && !endsWord(text[end]))
            ++end;
        t.text = text.mid(start, end - start);
        t.key = t.text.toUpper();
        i = end;
        if (variable || quoted) {
            if (t.text.isEmpty())
                return fail(LogoErrorKind::Misplaced,
                            QStringLiteral("%1 の後に名前がありません").arg(c));
            t.type = variable ? LogoToken::Type::Variable : LogoToken::Type::Quoted;
        } else if (looksLikeNumber(t.text)) {
            bool ok = false;
            t.value = t.text.toDouble(&ok);
            if (!ok || !std::isfinite(t.value))
                return fail(LogoErrorKind::BadValue,
                            QStringLiteral("数として読めません %1").arg(t.text));
            t.type = LogoToken::Type::Number;
        } else {
            t.type = LogoToken::Type::Word;
        }
        tokens->push_back(t);
    }
    return true;
}
