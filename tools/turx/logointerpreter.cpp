#include "logointerpreter.h"

#include "logolexer.h"
#include "logopalette.h"
#include "logoparser.h"

#include <algorithm>
#include <cmath>
#include <new>

namespace {

// Thrown inside the run only; run() turns it into the result's error.
struct RunFailure {
    LogoError error;
};

constexpr double kPi = 3.14159265358979323846;

[[noreturn]] void fail(LogoErrorKind kind, int line, const QString& message) {
    throw RunFailure{LogoError{kind, message, line}};
}

double checked(double value, int line) {
    if (!std::isfinite(value))
        fail(LogoErrorKind::BadValue, line, QStringLiteral("数が大きすぎます"));
    return value;
}

// The unit step for a heading. The four right angles are exact, so that
// squares and rectangles close on the very pixel they started from.
QPointF step(double heading) {
    const double quarter = heading / 90;
    const double whole = std::round(quarter);
    if (std::abs(quarter - whole) < 1e-12) {
        switch (int(whole) % 4) {
        case 0:
            return {0, 1};
        case 1:
            return {1, 0};
        case 2:
            return {0, -1};
        default:
            return {-1, 0};
        }
    }
    const double radians = heading * kPi / 180;
    return {std::sin(radians), std::cos(radians)};
}

bool nearlyEqual(double a, double b) {
    return std::abs(a - b) <= 1e-9 * std::max({1.0, std::abs(a), std::abs(b)});
}

} // namespace

LogoResult LogoInterpreter::run(const QString& text) {
    result_ = LogoResult();
    depth_ = 0;
    nestedBlocks_ = 0;
    currentLine_ = 1;
    frames_.assign(1, QHash<QString, double>());
    repeatCounts_.clear();

    LogoProgram program;
    try {
        LogoError error;
        std::vector<LogoToken> tokens;
        if (!tokenizeLogo(text, &tokens, &error) || !LogoParser::parse(tokens, &program, &error)) {
            result_.error = error;
        } else {
            program_ = &program;
            execute(program.main);
        }
    } catch (const RunFailure& failure) {
        result_.error = failure.error;
    } catch (const std::bad_alloc&) {
        result_.error =
            LogoError{LogoErrorKind::TooManyCommands, QStringLiteral("メモリが足りません"), 0};
    }
    program_ = nullptr;
    frames_.clear();
    return std::move(result_);
}

LogoInterpreter::Flow LogoInterpreter::execute(const std::vector<LogoStatement>& block) {
    if (++nestedBlocks_ > kMaxNestedBlocks)
        fail(LogoErrorKind::TooDeep, block.empty() ? 0 : block.front().line,
             QStringLiteral("呼び出しが深すぎます"));
    for (const LogoStatement& statement : block) {
        if (executeStatement(statement) == Flow::Stop) {
            --nestedBlocks_;
            return Flow::Stop;
        }
    }
    --nestedBlocks_;
    return Flow::Normal;
}

LogoInterpreter::Flow LogoInterpreter::executeStatement(const LogoStatement& statement) {
    currentLine_ = statement.line;
    if (++result_.commandCount > maxCommands_)
        fail(LogoErrorKind::TooManyCommands, statement.line, QStringLiteral("命令が多すぎます"));
    LogoTurtle& turtle = result_.turtle;
    using Op = LogoStatement::Op;
    switch (statement.op) {
    case Op::Forward:
        move(evaluate(statement.inputs[0]), statement.line);
        break;
    case Op::Back:
        move(-evaluate(statement.inputs[0]), statement.line);
        break;
    case Op::Right:
        turn(evaluate(statement.inputs[0]));
        break;
    case Op::Left:
        turn(-evaluate(statement.inputs[0]));
        break;
    case Op::PenUp:
        turtle.penDown = false;
        break;
    case Op::PenDown:
        turtle.penDown = true;
        break;
    case Op::ClearScreen:
        result_.segments.clear();
        goHome(false);
        break;
    case Op::Home:
        goHome(true);
        break;
    case Op::SetColour:
        setColour(statement);
        break;
    case Op::SetPenSize:
        setPenSize(statement);
        break;
    case Op::Repeat:
        return repeat(statement);
    case Op::If:
        if (evaluate(statement.inputs[0]) != 0)
            return execute(statement.body);
        break;
    case Op::IfElse:
        return execute(evaluate(statement.inputs[0]) != 0 ? statement.body : statement.elseBody);
    case Op::Make:
        assign(statement.name, evaluate(statement.inputs[0]));
        break;
    case Op::Stop:
        return Flow::Stop;
    case Op::Call:
        return call(statement);
    }
    return Flow::Normal;
}

LogoInterpreter::Flow LogoInterpreter::call(const LogoStatement& statement) {
    const LogoProcedure& procedure = program_->procedures[size_t(statement.procedure)];
    QHash<QString, double> frame;
    for (int i = 0; i < procedure.params.size(); ++i)
        frame.insert(procedure.params[i], evaluate(statement.inputs[size_t(i)]));
    if (++depth_ > maxDepth_)
        fail(LogoErrorKind::TooDeep, statement.line, QStringLiteral("呼び出しが深すぎます"));
    frames_.push_back(std::move(frame));
    execute(procedure.body); // STOP ends this procedure only
    frames_.pop_back();
    --depth_;
    return Flow::Normal;
}

LogoInterpreter::Flow LogoInterpreter::repeat(const LogoStatement& statement) {
    // A fractional count is cut down, as pupils expect from "REPEAT 2.5".
    const double count = std::floor(evaluate(statement.inputs[0]));
    repeatCounts_.push_back(0);
    for (double i = 1; i <= count; ++i) {
        // Every round counts as a command, so that even an empty loop ends.
        if (++result_.commandCount > maxCommands_)
            fail(LogoErrorKind::TooManyCommands, statement.line,
                 QStringLiteral("命令が多すぎます"));
        repeatCounts_.back() = i;
        if (execute(statement.body) == Flow::Stop) {
            repeatCounts_.pop_back();
            return Flow::Stop;
        }
    }
    repeatCounts_.pop_back();
    return Flow::Normal;
}

double LogoInterpreter::evaluate(const LogoExpr& expr) {
    switch (expr.kind) {
    case LogoExpr::Kind::Number:
        return expr.value;
    case LogoExpr::Kind::Variable:
        return lookUp(expr);
    case LogoExpr::Kind::RepCount:
        if (repeatCounts_.empty())
            fail(LogoErrorKind::Misplaced, expr.line,
                 QStringLiteral("REPCOUNT は REPEAT の中でしか使えません"));
        return repeatCounts_.back();
    case LogoExpr::Kind::Negate:
        return -evaluate(expr.operands[0]);
    case LogoExpr::Kind::Binary:
        break;
    }
    const double a = evaluate(expr.operands[0]);
    const double b = evaluate(expr.operands[1]);
    switch (expr.op.unicode()) {
    case '+':
        return checked(a + b, expr.line);
    case '-':
        return checked(a - b, expr.line);
    case '*':
        return checked(a * b, expr.line);
    case '/':
        if (b == 0)
            fail(LogoErrorKind::DivisionByZero, expr.line,
                 QStringLiteral("0 で割ることはできません"));
        return checked(a / b, expr.line);
    case '=':
        return nearlyEqual(a, b) ? 1 : 0;
    case '<':
        return a < b && !nearlyEqual(a, b) ? 1 : 0;
    default:
        return a > b && !nearlyEqual(a, b) ? 1 : 0;
    }
}

double LogoInterpreter::lookUp(const LogoExpr& variable) const {
    // Dynamic scope, as in every LOGO: a procedure sees its callers' inputs.
    for (auto frame = frames_.rbegin(); frame != frames_.rend(); ++frame) {
        const auto it = frame->constFind(variable.name);
        if (it != frame->constEnd())
            return *it;
    }
    fail(LogoErrorKind::UnknownVariable, variable.line,
         QStringLiteral("知らない変数 :%1").arg(variable.written));
}

void LogoInterpreter::assign(const QString& name, double value) {
    for (auto frame = frames_.rbegin(); frame != frames_.rend(); ++frame) {
        const auto it = frame->find(name);
        if (it != frame->end()) {
            *it = value;
            return;
        }
    }
    frames_.front().insert(name, value);
}

void LogoInterpreter::move(double distance, int line) {
    LogoTurtle& turtle = result_.turtle;
    const QPointF from = turtle.position;
    const QPointF to = from + distance * step(turtle.heading);
    checked(to.x(), line);
    checked(to.y(), line);
    if (turtle.penDown && distance != 0)
        result_.segments.push_back({from, to, turtle.colour, turtle.penWidth});
    turtle.position = to;
}

void LogoInterpreter::goHome(bool draw) {
    LogoTurtle& turtle = result_.turtle;
    const QPointF home(0, 0);
    if (draw && turtle.penDown && turtle.position != home)
        result_.segments.push_back({turtle.position, home, turtle.colour, turtle.penWidth});
    turtle.position = home;
    turtle.heading = 0;
}

void LogoInterpreter::turn(double degrees) {
    double heading = std::fmod(result_.turtle.heading + degrees, 360.0);
    if (heading < 0)
        heading += 360;
    if (heading >= 360) // -1e-17 + 360 rounds to 360
        heading = 0;
    result_.turtle.heading = heading;
}

void LogoInterpreter::setColour(const LogoStatement& statement) {
    if (statement.colour.isValid()) {
        result_.turtle.colour = statement.colour;
        return;
    }
    const double value = evaluate(statement.inputs[0]);
    const double index = std::round(value);
    if (!nearlyEqual(value, index) || index < 0 || index >= kLogoPaletteSize)
        fail(LogoErrorKind::BadValue, statement.line,
             QStringLiteral("色の番号は 0 から 15 までです（%1）").arg(value));
    result_.turtle.colour = logoPaletteColour(int(index));
}

void LogoInterpreter::setPenSize(const LogoStatement& statement) {
    // Wider than the canvas makes no picture, only a slow one.
    const double width = evaluate(statement.inputs[0]);
    if (!(width > 0 && width <= 500))
        fail(LogoErrorKind::BadValue, statement.line,
             QStringLiteral("ペンの太さは 0 より大きく 500 までです（%1）").arg(width));
    result_.turtle.penWidth = width;
}
