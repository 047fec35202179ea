#pragma once

#include <QColor>
#include <QString>
#include <QStringList>
#include <vector>

// A parsed LOGO text: procedures and statements as trees, with the line each
// piece came from so that errors found while running can name it.

struct LogoExpr {
    enum class Kind { Number, Variable, RepCount, Negate, Binary };
    Kind kind = Kind::Number;
    double value = 0; // Number
    QString name;     // Variable: the upper-cased name
    QString written;  // Variable: the name as written, for messages
    QChar op;         // Binary: + - * / = < >
    int line = 1;
    int height = 1;                 // 1 + the height of the tallest operand
    std::vector<LogoExpr> operands; // Negate: one; Binary: two
};

struct LogoStatement {
    enum class Op {
        Forward,
        Back,
        Right,
        Left,
        PenUp,
        PenDown,
        ClearScreen,
        Home,
        SetColour,
        SetPenSize,
        Repeat,
        If,
        IfElse,
        Make,
        Stop,
        Call,
    };
    Op op = Op::Forward;
    int line = 1;
    std::vector<LogoExpr> inputs;
    QColor colour;                       // SetColour given by name (no input then)
    QString name;                        // Make: the upper-cased variable name
    int procedure = 0;                   // Call: index into LogoProgram::procedures
    std::vector<LogoStatement> body;     // Repeat, If, IfElse (when true)
    std::vector<LogoStatement> elseBody; // IfElse (when false)
};

struct LogoProcedure {
    QString name;       // as written in its TO line
    QStringList params; // upper-cased, without the ':'
    int line = 1;       // of its TO
    std::vector<LogoStatement> body;
};

struct LogoProgram {
    std::vector<LogoProcedure> procedures;
    std::vector<LogoStatement> main; // everything outside TO … END
};
