#include "cards/textcutting.h"

namespace {

// A digit right after one of these belongs to a number or a list ("12",
// "(2", "2, 3", "1/2"), not to a formula.
bool endsNumber(QChar c) {
    return QStringLiteral("0123456789(,./ ").contains(c);
}

// The 1-based position of the last of the digits 2..6 (tried in that order)
// whose first occurrence in W is a subscript, or 0; `digit` gets that digit.
// A digit in first place is taken as it stands.
qsizetype findSubscript(const QString& W, QString& digit) {
    qsizetype X = 0;
    for (char16_t d = u'2'; d <= u'6'; ++d) {
        qsizetype x = W.indexOf(QChar(d)) + 1;
        if (x > 1 && endsNumber(W.at(x - 2)))
            x = 0;
        if (x > 0) {
            digit = QString(QChar(d));
            X = x;
        }
    }
    return X;
}

} // namespace

TextPieces cutCardText(const QString& S) {
    TextPieces p;
    if (S.isEmpty())
        return p;
    QString W = S;

    // Charges. Each code is looked for in what the codes before it left, so
    // the leftmost charge ends up as the one shown and the text after it as
    // the rest.
    static const struct {
        const char* code;
        const char* shown;
    } kTwoCharCharges[] = {{"+1", "+"}, {"+2", "2+"}, {"+3", "3+"},
                           {"-1", "-"}, {"-2", "2-"}, {"-3", "3-"}};
    for (const auto& c : kTwoCharCharges) {
        const qsizetype x = W.indexOf(QLatin1String(c.code)) + 1;
        if (x > 1) {
            p.piece[4] = QLatin1String(c.shown);
            p.piece[5] = W.mid(x + 1);
            W = W.left(x - 1);
        }
    }
    for (const char sign : {'+', '-'}) {
        const qsizetype x = W.indexOf(QLatin1Char(sign)) + 1;
        if (x > 1) {
            p.piece[4] = QString(QLatin1Char(sign));
            p.piece[5] = W.mid(x);
            W = W.left(x - 1);
        }
    }

    // First subscript, only in a text that starts like an element symbol.
    // The capital letter in first place keeps X above 1 here.
    const bool K = !W.isEmpty() && W.at(0) >= QLatin1Char('A') && W.at(0) <= QLatin1Char('Z');
    QString digit;
    qsizetype X = findSubscript(W, digit);
    if (K && X > 1) {
        p.piece[1] = digit;
        p.piece[0] = W.left(X - 1);
        W = W.mid(X);
    } else {
        p.piece[0] = W;
        return p;
    }

    // Second subscript in what follows the first.
    digit.clear();
    X = findSubscript(W, digit);
    if (X > 0) {
        // A digit right after the first subscript ("H22O") leaves no main
        // text between them; the text after it is still kept.
        p.piece[3] = digit;
        p.piece[2] = W.left(X - 1);
        p.piece[5] = W.mid(X) + p.piece[5];
    } else {
        p.piece[2] = W;
    }
    return p;
}
