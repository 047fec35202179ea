#pragma once

#include <QString>

// One piece of a LOGO text as the parser sees it.
struct LogoToken {
    enum class Type {
        Word,     // a command or procedure name, or a colour name
        Number,   // 100, 2.5
        Variable, // :size (text holds "size")
        Quoted,   // "size (text holds "size")
        Open,     // [
        Close,    // ]
        OpenParen,
        CloseParen,
        Operator, // + - * / = < >
    };
    Type type = Type::Word;
    QString text;     // as written, without the leading : or "
    QString key;      // upper-cased text, for case-insensitive look-ups
    double value = 0; // for Number
    int line = 1;
    // A minus written "-5" after a space starts a new value, as in
    // "SQUARE 10 -5"; "10 - 5" and "10-5" subtract.
    bool startsNegativeValue = false;
};
