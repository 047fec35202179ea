#pragma once

#include "logoresult.h"
#include "logosyntax.h"

#include <QHash>
#include <QString>
#include <vector>

// Runs a LOGO text from a clear canvas with the turtle at home and returns
// what it drew. The whole text is parsed before anything runs, so a mistake
// anywhere in it is reported without drawing; mistakes that only show while
// running (division by zero, an unknown variable) stop the run there and keep
// what was drawn until then.
//
// A runaway text neither hangs nor crashes: the run stops after a fixed
// number of commands, and when calls nest too deep.
class LogoInterpreter {
public:
    static constexpr qint64 kDefaultMaxCommands = 1000000;
    static constexpr int kDefaultMaxDepth = 1000;
    // Blocks of REPEAT and IF count too, so that the C++ stack stays small
    // whatever the shape of the text; only recursion can come near this.
    static constexpr int kMaxNestedBlocks = 5000;

    void setMaxCommands(qint64 count) { maxCommands_ = count; }
    void setMaxDepth(int depth) { maxDepth_ = depth; }

    // Never throws.
    LogoResult run(const QString& text);

private:
    enum class Flow { Normal, Stop };

    Flow execute(const std::vector<LogoStatement>& block);
    Flow executeStatement(const LogoStatement& statement);
    Flow call(const LogoStatement& statement);
    Flow repeat(const LogoStatement& statement);
    double evaluate(const LogoExpr& expr);
    double lookUp(const LogoExpr& variable) const;
    void assign(const QString& name, double value);
    void move(double distance, int line);
    void goHome(bool draw); // HOME draws its way back, CS does not
    void turn(double degrees);
    void setColour(const LogoStatement& statement);
    void setPenSize(const LogoStatement& statement);

    qint64 maxCommands_ = kDefaultMaxCommands;
    int maxDepth_ = kDefaultMaxDepth;

    // The state of one run.
    const LogoProgram* program_ = nullptr;
    LogoResult result_;
    int depth_ = 0;
    int nestedBlocks_ = 0;
    int currentLine_ = 1; // of the statement being run, for a failure without a place
    std::vector<QHash<QString, double>> frames_; // globals first, then one per call
    std::vector<double> repeatCounts_;           // innermost REPEAT last
};
