#pragma once

#include "logoerror.h"
#include "logosyntax.h"
#include "logotoken.h"

#include <QHash>
#include <vector>

// Turns tokens into a LogoProgram. Every procedure is known before anything
// is parsed, so a procedure may be called above its TO and from itself, and
// the number of values each call takes is known. Mistakes are reported in the
// order they stand in the text.
class LogoParser {
public:
    // How deep [ ] and ( ) may nest, and how long one expression may chain
    // operators: both bound the recursion of the parser and of the run.
    static constexpr int kMaxNesting = 100;
    static constexpr int kMaxExpressionHeight = 200;

    // Returns false with the first mistake in `error`; never throws.
    static bool parse(const std::vector<LogoToken>& tokens, LogoProgram* program, LogoError* error);

private:
    enum class Context { TopLevel, Block, Procedure };
    struct Header {
        QString key;
        size_t toPosition = 0;
    };

    explicit LogoParser(const std::vector<LogoToken>& tokens);
    void collectProcedures();
    std::vector<LogoStatement> parseStatements(Context context, const LogoToken* opener);
    LogoStatement parseStatement(const LogoToken* previousCommand);
    void parseDefinition();
    std::vector<LogoStatement> parseBlock(const LogoToken& command);
    LogoExpr parseInput(const LogoToken& command);
    LogoExpr parseComparison();
    LogoExpr parseSum();
    LogoExpr parseProduct();
    LogoExpr parseUnary();
    LogoExpr parsePrimary();
    LogoExpr binary(const LogoToken& op, LogoExpr left, LogoExpr right) const;

    bool atEnd() const { return position_ >= tokens_.size(); }
    const LogoToken& current() const { return tokens_[position_]; }
    bool startsValue(const LogoToken& token) const;
    bool isKnownWord(const QString& key) const;
    [[noreturn]] void fail(LogoErrorKind kind, int line, const QString& message) const;
    [[noreturn]] void failUnknownValueWord(const LogoToken& token) const;
    void enterNesting(int line);

    const std::vector<LogoToken>& tokens_;
    size_t position_ = 0;
    int nesting_ = 0;
    LogoProgram program_;
    std::vector<Header> headers_;
    QHash<QString, int> procedureIndex_;
};
