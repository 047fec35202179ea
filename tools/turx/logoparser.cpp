#include "logoparser.h"

#include "logopalette.h"

#include <algorithm>
#include <optional>

namespace {

using Op = LogoStatement::Op;
using Type = LogoToken::Type;

// Thrown inside the parser only, to leave any depth of recursion at once;
// parse() turns it back into a return value.
struct ParseFailure {
    LogoError error;
};

std::optional<Op> builtinCommand(const QString& key) {
    static const QHash<QString, Op> commands{
        {QStringLiteral("FD"), Op::Forward},
        {QStringLiteral("FORWARD"), Op::Forward},
        {QStringLiteral("BK"), Op::Back},
        {QStringLiteral("BACK"), Op::Back},
        {QStringLiteral("RT"), Op::Right},
        {QStringLiteral("RIGHT"), Op::Right},
        {QStringLiteral("LT"), Op::Left},
        {QStringLiteral("LEFT"), Op::Left},
        {QStringLiteral("PU"), Op::PenUp},
        {QStringLiteral("PENUP"), Op::PenUp},
        {QStringLiteral("PD"), Op::PenDown},
        {QStringLiteral("PENDOWN"), Op::PenDown},
        {QStringLiteral("CS"), Op::ClearScreen},
        {QStringLiteral("CLEARSCREEN"), Op::ClearScreen},
        {QStringLiteral("HOME"), Op::Home},
        {QStringLiteral("SETPC"), Op::SetColour},
        {QStringLiteral("SETPENCOLOR"), Op::SetColour},
        {QStringLiteral("SETPENSIZE"), Op::SetPenSize},
        {QStringLiteral("REPEAT"), Op::Repeat},
        {QStringLiteral("IF"), Op::If},
        {QStringLiteral("IFELSE"), Op::IfElse},
        {QStringLiteral("MAKE"), Op::Make},
        {QStringLiteral("STOP"), Op::Stop},
    };
    const auto it = commands.constFind(key);
    if (it == commands.constEnd())
        return std::nullopt;
    return *it;
}

bool isReserved(const QString& key) {
    return key == QLatin1String("TO") || key == QLatin1String("END") ||
           key == QLatin1String("REPCOUNT") || builtinCommand(key).has_value();
}

bool isWord(const LogoToken& token, const char* key) {
    return token.type == Type::Word && token.key == QLatin1String(key);
}

bool isOperator(const LogoToken& token, char op) {
    return token.type == Type::Operator && token.text == QLatin1Char(op);
}

// How a token reads back to the pupil.
QString shown(const LogoToken& token) {
    switch (token.type) {
    case Type::Variable:
        return QLatin1Char(':') + token.text;
    case Type::Quoted:
        return QLatin1Char('"') + token.text;
    default:
        return token.text;
    }
}

} // namespace

LogoParser::LogoParser(const std::vector<LogoToken>& tokens) : tokens_(tokens) {}

bool LogoParser::parse(const std::vector<LogoToken>& tokens, LogoProgram* program,
                       LogoError* error) {
    LogoParser parser(tokens);
    try {
        parser.collectProcedures();
        parser.program_.main = parser.parseStatements(Context::TopLevel, nullptr);
    } catch (const ParseFailure& failure) {
        *error = failure.error;
        return false;
    }
    *program = std::move(parser.program_);
    return true;
}

void LogoParser::collectProcedures() {
    // Only the name and the parameters; whether the definition is well
    // formed is checked when the parse reaches it, so that mistakes come out
    // in text order.
    for (size_t i = 0; i + 1 < tokens_.size(); ++i) {
        const LogoToken& to = tokens_[i];
        const LogoToken& name = tokens_[i + 1];
        if (!isWord(to, "TO") || name.type != Type::Word || isReserved(name.key) ||
            procedureIndex_.contains(name.key))
            continue;
        LogoProcedure procedure;
        procedure.name = name.text;
        procedure.line = to.line;
        for (size_t p = i + 2; p < tokens_.size(); ++p) {
            const LogoToken& param = tokens_[p];
            if (param.type != Type::Variable || param.line != to.line)
                break;
            procedure.params << param.key;
        }
        procedureIndex_.insert(name.key, int(program_.procedures.size()));
        program_.procedures.push_back(procedure);
        headers_.push_back({name.key, i});
    }
}

void LogoParser::fail(LogoErrorKind kind, int line, const QString& message) const {
    throw ParseFailure{LogoError{kind, message, line}};
}

void LogoParser::failUnknownValueWord(const LogoToken& token) const {
    // Most often a forgotten colon in front of a variable.
    fail(LogoErrorKind::UnknownWord, token.line,
         QStringLiteral("知らない言葉 %1（変数なら :%1 と書きます）").arg(token.text));
}

void LogoParser::enterNesting(int line) {
    if (++nesting_ > kMaxNesting)
        fail(LogoErrorKind::TooDeep, line, QStringLiteral("かっこの入れ子が深すぎます"));
}

bool LogoParser::isKnownWord(const QString& key) const {
    return isReserved(key) || procedureIndex_.contains(key);
}

bool LogoParser::startsValue(const LogoToken& token) const {
    switch (token.type) {
    case Type::Number:
    case Type::Variable:
    case Type::OpenParen:
        return true;
    case Type::Operator:
        return token.text == QLatin1Char('-');
    case Type::Word:
        return token.key == QLatin1String("REPCOUNT");
    default:
        return false;
    }
}

std::vector<LogoStatement> LogoParser::parseStatements(Context context, const LogoToken* opener) {
    std::vector<LogoStatement> statements;
    const LogoToken* previousCommand = nullptr;
    auto unclosedBlock = [&] {
        fail(LogoErrorKind::UnbalancedBrackets, opener->line, QStringLiteral("[ が閉じていません"));
    };
    // In a definition the opener is its TO, and the name follows it.
    auto missingEnd = [&] {
        fail(LogoErrorKind::MissingEnd, opener->line,
             QStringLiteral("TO %1 に END がありません").arg((opener + 1)->text));
    };
    for (;;) {
        if (atEnd()) {
            if (context == Context::Block)
                unclosedBlock();
            if (context == Context::Procedure)
                missingEnd();
            return statements;
        }
        const LogoToken& token = current();
        if (token.type == Type::Close) {
            if (context != Context::Block)
                fail(LogoErrorKind::UnbalancedBrackets, token.line,
                     QStringLiteral("[ のない ] があります"));
            ++position_;
            --nesting_;
            return statements;
        }
        if (isWord(token, "END") || isWord(token, "TO")) {
            if (context == Context::Block)
                unclosedBlock();
            if (context == Context::Procedure) {
                if (isWord(token, "END")) {
                    ++position_;
                    return statements;
                }
                // A TO inside a definition: the one before lacks its END.
                missingEnd();
            }
            if (isWord(token, "END"))
                fail(LogoErrorKind::EndWithoutTo, token.line, QStringLiteral("TO のない END"));
            parseDefinition();
            previousCommand = nullptr;
            continue;
        }
        const LogoToken* command = &token;
        statements.push_back(parseStatement(previousCommand));
        previousCommand = command;
    }
}

void LogoParser::parseDefinition() {
    const size_t toPosition = position_;
    const LogoToken& to = tokens_[position_++];
    if (atEnd() || current().type != Type::Word)
        fail(LogoErrorKind::BadDefinition, to.line, QStringLiteral("TO の後に名前がありません"));
    const LogoToken& name = current();
    if (isReserved(name.key))
        fail(LogoErrorKind::BadDefinition, to.line,
             QStringLiteral("%1 は最初からある言葉なので、名前に使えません").arg(name.text));
    const int index = procedureIndex_.value(name.key);
    if (headers_[size_t(index)].toPosition != toPosition)
        fail(LogoErrorKind::BadDefinition, to.line,
             QStringLiteral("%1 はもう作られています").arg(name.text));
    ++position_;
    LogoProcedure& procedure = program_.procedures[size_t(index)];
    for (int p = 0; p < procedure.params.size(); ++p) {
        if (procedure.params.indexOf(procedure.params[p]) != p)
            fail(LogoErrorKind::BadDefinition, to.line,
                 QStringLiteral(":%1 が二度あります").arg(current().text));
        ++position_;
    }
    std::vector<LogoStatement> body = parseStatements(Context::Procedure, &to);
    program_.procedures[size_t(index)].body = std::move(body);
}

LogoStatement LogoParser::parseStatement(const LogoToken* previousCommand) {
    const LogoToken& token = tokens_[position_];
    LogoStatement statement;
    statement.line = token.line;
    if (token.type != Type::Word || token.key == QLatin1String("REPCOUNT")) {
        if (token.type == Type::CloseParen)
            fail(LogoErrorKind::UnbalancedBrackets, token.line,
                 QStringLiteral("( のない ) があります"));
        if (startsValue(token) && previousCommand)
            fail(LogoErrorKind::WrongInputCount, token.line,
                 QStringLiteral("%1 の入力が多すぎます（%2）")
                     .arg(previousCommand->text, shown(token)));
        fail(LogoErrorKind::Misplaced, token.line,
             QStringLiteral("%1 の前に命令がありません").arg(shown(token)));
    }
    ++position_;
    const std::optional<Op> builtin = builtinCommand(token.key);
    if (!builtin) {
        const auto it = procedureIndex_.constFind(token.key);
        if (it == procedureIndex_.constEnd())
            fail(LogoErrorKind::UnknownWord, token.line,
                 QStringLiteral("知らない命令 %1").arg(token.text));
        statement.op = Op::Call;
        statement.procedure = *it;
        const LogoProcedure& procedure = program_.procedures[size_t(*it)];
        for (int i = 0; i < procedure.params.size(); ++i) {
            if (atEnd() || !startsValue(current())) {
                if (!atEnd() && current().type == Type::Word && !isKnownWord(current().key))
                    failUnknownValueWord(current());
                fail(LogoErrorKind::WrongInputCount, token.line,
                     QStringLiteral("%1 には入力が%2個いります（%3個しかありません）")
                         .arg(token.text)
                         .arg(procedure.params.size())
                         .arg(i));
            }
            statement.inputs.push_back(parseComparison());
        }
        return statement;
    }
    statement.op = *builtin;
    switch (statement.op) {
    case Op::Forward:
    case Op::Back:
    case Op::Right:
    case Op::Left:
    case Op::SetPenSize:
        statement.inputs.push_back(parseInput(token));
        break;
    case Op::SetColour: {
        // A colour name wins over a procedure of the same name: procedures
        // give no values, so "SETPC red" can only mean the colour.
        const bool word =
            !atEnd() && (current().type == Type::Quoted ||
                         (current().type == Type::Word && !isReserved(current().key)));
        const std::optional<QColor> colour =
            word ? logoColourForName(current().text) : std::optional<QColor>();
        if (colour) {
            statement.colour = *colour;
            ++position_;
        } else if (word && (current().type == Type::Quoted || !isKnownWord(current().key))) {
            fail(LogoErrorKind::BadValue, current().line,
                 QStringLiteral("知らない色 %1").arg(current().text));
        } else {
            statement.inputs.push_back(parseInput(token));
        }
        break;
    }
    case Op::Repeat:
    case Op::If:
        statement.inputs.push_back(parseInput(token));
        statement.body = parseBlock(token);
        break;
    case Op::IfElse:
        statement.inputs.push_back(parseInput(token));
        statement.body = parseBlock(token);
        statement.elseBody = parseBlock(token);
        break;
    case Op::Make:
        if (atEnd() || current().type != Type::Quoted)
            fail(LogoErrorKind::MissingInput, token.line,
                 QStringLiteral("%1 の後に \"名前 がありません").arg(token.text));
        statement.name = current().key;
        ++position_;
        statement.inputs.push_back(parseInput(token));
        break;
    default:
        break;
    }
    return statement;
}

std::vector<LogoStatement> LogoParser::parseBlock(const LogoToken& command) {
    if (atEnd() || current().type != Type::Open)
        fail(LogoErrorKind::MissingInput, command.line,
             QStringLiteral("%1 の後に [ がありません").arg(command.text));
    const LogoToken& open = tokens_[position_++];
    enterNesting(open.line);
    // parseStatements leaves the nesting when it reaches the ].
    return parseStatements(Context::Block, &open);
}

LogoExpr LogoParser::parseInput(const LogoToken& command) {
    if (atEnd() || !startsValue(current())) {
        if (!atEnd() && current().type == Type::Word && !isKnownWord(current().key))
            failUnknownValueWord(current());
        fail(LogoErrorKind::MissingInput, command.line,
             QStringLiteral("%1 の入力がありません").arg(command.text));
    }
    return parseComparison();
}

LogoExpr LogoParser::binary(const LogoToken& op, LogoExpr left, LogoExpr right) const {
    LogoExpr e;
    e.kind = LogoExpr::Kind::Binary;
    e.op = op.text[0];
    e.line = op.line;
    e.height = 1 + std::max(left.height, right.height);
    if (e.height > kMaxExpressionHeight)
        fail(LogoErrorKind::TooDeep, op.line, QStringLiteral("式が長すぎます"));
    e.operands.push_back(std::move(left));
    e.operands.push_back(std::move(right));
    return e;
}

LogoExpr LogoParser::parseComparison() {
    LogoExpr left = parseSum();
    while (!atEnd() && (isOperator(current(), '=') || isOperator(current(), '<') ||
                        isOperator(current(), '>'))) {
        const LogoToken& op = tokens_[position_++];
        left = binary(op, std::move(left), parseSum());
    }
    return left;
}

LogoExpr LogoParser::parseSum() {
    LogoExpr left = parseProduct();
    while (!atEnd() && (isOperator(current(), '+') ||
                        (isOperator(current(), '-') && !current().startsNegativeValue))) {
        const LogoToken& op = tokens_[position_++];
        left = binary(op, std::move(left), parseProduct());
    }
    return left;
}

LogoExpr LogoParser::parseProduct() {
    LogoExpr left = parseUnary();
    while (!atEnd() && (isOperator(current(), '*') || isOperator(current(), '/'))) {
        const LogoToken& op = tokens_[position_++];
        left = binary(op, std::move(left), parseUnary());
    }
    return left;
}

LogoExpr LogoParser::parseUnary() {
    if (atEnd() || !isOperator(current(), '-'))
        return parsePrimary();
    const LogoToken& minus = tokens_[position_++];
    enterNesting(minus.line);
    LogoExpr operand = parseUnary();
    --nesting_;
    LogoExpr e;
    e.kind = LogoExpr::Kind::Negate;
    e.line = minus.line;
    e.height = operand.height + 1;
    e.operands.push_back(std::move(operand));
    return e;
}

LogoExpr LogoParser::parsePrimary() {
    if (atEnd() || !startsValue(current())) {
        if (!atEnd() && current().type == Type::Word && !isKnownWord(current().key))
            failUnknownValueWord(current());
        const LogoToken& before = tokens_[position_ - 1];
        fail(LogoErrorKind::MissingInput, before.line,
             QStringLiteral("%1 の後に数がありません").arg(before.text));
    }
    const LogoToken& token = tokens_[position_++];
    LogoExpr e;
    e.line = token.line;
    switch (token.type) {
    case Type::Number:
        e.kind = LogoExpr::Kind::Number;
        e.value = token.value;
        return e;
    case Type::Variable:
        e.kind = LogoExpr::Kind::Variable;
        e.name = token.key;
        e.written = token.text;
        return e;
    case Type::Word:
        e.kind = LogoExpr::Kind::RepCount;
        return e;
    default:
        break;
    }
    // An opening parenthesis.
    enterNesting(token.line);
    LogoExpr inner = parseComparison();
    if (atEnd() || current().type != Type::CloseParen)
        fail(LogoErrorKind::UnbalancedBrackets, token.line, QStringLiteral("( が閉じていません"));
    ++position_;
    --nesting_;
    return inner;
}
