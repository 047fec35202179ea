#pragma once

#include <QString>

// Why a LOGO text could not be run to its end. The kind lets tests and
// callers tell errors apart without reading the Japanese message.
enum class LogoErrorKind {
    UnknownWord,        // a word that is neither a command nor a procedure
    MissingInput,       // a command without the value or list it needs
    WrongInputCount,    // a procedure given too few values, or a value left over
    UnbalancedBrackets, // [ ] or ( ) that do not pair up
    EndWithoutTo,       // END with no TO before it
    MissingEnd,         // TO whose END never comes
    BadDefinition,      // TO without a usable name or with doubled parameters
    UnknownVariable,    // :x where no x is known
    DivisionByZero,
    BadValue,        // a colour, pen size or number that cannot be used
    Misplaced,       // something that makes no sense where it stands
    TooManyCommands, // the run went on too long
    TooDeep,         // calls, brackets or expressions nested too deep
};

struct LogoError {
    LogoErrorKind kind = LogoErrorKind::Misplaced;
    QString message; // Japanese, for the pupil, without the line number
    int line = 0;    // 1-based line of the text where the trouble is

    // What the status line shows, e.g. "3行目: 知らない命令 FOO".
    QString text() const { return QStringLiteral("%1行目: %2").arg(line).arg(message); }
};
