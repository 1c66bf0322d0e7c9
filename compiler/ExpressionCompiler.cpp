// Compiles expressions and conditions of a script into reverse-polish code in the model's records.
#include "compiler/ExpressionCompiler.h"

#include "compiler/CodeBytes.h"

#include "engine/EngineHost.h"
#include "engine/Evaluator.h"
#include "engine/Opcodes.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <functional>

namespace tavlix {

namespace {

constexpr std::uint64_t PiBits = 0x400921FB54442D18ULL;

}  // namespace

bool ExpressionCompiler::enterNesting()
{
    return !lexer_.failIf(depth_ > MaxNesting, ScriptError::ExpressionTooComplex);
}

void ExpressionCompiler::beginParse(Model& model, RunState& run)
{
    model_ = &model;
    run_ = &run;
    CompiledScript& s = model.script;
    s.constantCount = 1;
    growTo(s.constantNames, 1) = "pi";
    growTo(s.constantValues, 1) = std::bit_cast<double>(PiBits);
    growTo(s.listConstants, 1).reset();
    s.recordCount = 0;
    s.records[0].name = "t";
    s.records[0].compiled = true;
    s.lastPlainRecord = MaxRecords;
    s.lastOdeRecord = 0;
    s.tableCount = 0;
    model.stackTop = 0;
    model.error = ScriptError::None;
    run.failed = false;
    compileTarget_ = 0;
    lastDeclaredRecord_ = 0;
    inOdeSection_ = false;
    names_.clear();
    names_.add("t", NameKind::Independent, 0);
    names_.add("pi", NameKind::Constant, 1);
    pendingNames_.clear();
    pendingNamesText_.clear();
    constantFailed_ = false;
    depth_ = 0;
}

void ExpressionCompiler::endParse()
{
    names_.clear();
    model_ = nullptr;
    run_ = nullptr;
}

void ExpressionCompiler::updatePendingNamesText()
{
    std::string text;
    for (const std::string& n : pendingNames_)
        text += "*" + n + "*";
    pendingNamesText_.assign(text);
}

// record code = expression
void ExpressionCompiler::compileExpressionInto(int target)
{
    compileTarget_ = target;
    code_.clear();
    expression();
    if (lexer_.failed())
        return;
    FunctionRecord& rec = record(target);
    rec.code = code_;
    appendOp(rec.code, OpCode::End);
    rec.compiled = true;
    rec.isOdeVariable = inOdeSection_;
}

// constant = expression   (computed at once, with t = 0)
double ExpressionCompiler::evaluateConstant(std::string_view declared)
{
    Model& m = *model_;
    RunState& run = *run_;
    // A script of many constants may take a while: the window stays answerable and a check keeps to its budget.
    if (run.host && !run.abandoned && !run.host->keepGoing())
        abandonRun(run, "");
    if (run.abandoned) {
        lexer_.setError(ScriptError::Abandoned);
        return 0;
    }
    const int savedCount = m.script.recordCount;
    // The expression is computed once and its code dropped: its numbers leave the pool again.
    const std::size_t savedPool = m.script.numbers.size();
    const int savedTarget = compileTarget_;
    const bool savedOde = inOdeSection_;
    run.t = 0;
    run.failed = false;
    inOdeSection_ = false;
    compileExpressionInto(0);
    if (lexer_.failed())
        return 0;
    // Values cached by an earlier constant must not stand in for a computation: a domain set since then
    // may exclude t = 0.
    for (int r = 1; r <= m.script.recordCount; ++r)
        m.script.records[r].cachedT = BigValue;
    evaluateRecord(m, run, 0);
    if (run.abandoned) {
        lexer_.setError(ScriptError::Abandoned);
        return 0;
    }
    if (run.failed) {
        // Whatever failed inside (a stop, a full stack, a function at t = 0), the user declared this value.
        run.failedName.assign(declared.substr(0, run.failedName.capacity()));
        constantFailed_ = true;
        lexer_.setError(ScriptError::CannotCompute);
    }
    m.script.recordCount = savedCount;
    m.script.numbers.resize(savedPool);
    compileTarget_ = savedTarget;
    inOdeSection_ = savedOde;
    return m.script.records[0].value;
}

// expression = term { ("+" | "-") term }
void ExpressionCompiler::expression()
{
    NestingGuard guard(*this);
    if (lexer_.failed() || !enterNesting())
        return;
    term(true);
    joinOperands(TokenKind::AddOp, [this] { term(false); });
}

// term = signedFactor { ("*" | "/") signedFactor }
void ExpressionCompiler::term(bool signAllowed)
{
    if (lexer_.failed())
        return;
    signedFactor(signAllowed);
    joinOperands(TokenKind::MulOp, [this] { signedFactor(false); });
}

// { operator operand } for the operators of one precedence, left to right; the operator's code is the token's.
void ExpressionCompiler::joinOperands(TokenKind op, const std::function<void()>& operand)
{
    while (!lexer_.failed() && lexer_.tokenKind() == op) {
        const std::uint8_t code = lexer_.tokenCode();
        lexer_.nextToken();
        operand();
        if (lexer_.failed())
            return;
        appendWord(code_, code);
    }
}

// signedFactor = [ "+" | "-" ] power   (a sign only at the start of an expression)
void ExpressionCompiler::signedFactor(bool signAllowed)
{
    if (lexer_.failed())
        return;
    bool negate = false;
    if (lexer_.tokenKind() == TokenKind::AddOp) {
        if (lexer_.failIf(!signAllowed, ScriptError::CannotStandHere))
            return;
        negate = lexer_.tokenCode() == opByte(OpCode::Sub);
        lexer_.nextToken();
    }
    power();
    if (!lexer_.failed() && negate)
        appendOp(code_, OpCode::Neg);
}

// power = primary [ ("^" | "'") power ]
void ExpressionCompiler::power()
{
    NestingGuard guard(*this);
    if (lexer_.failed() || !enterNesting())
        return;
    primary();
    if (lexer_.failed() || lexer_.tokenKind() != TokenKind::Power)
        return;
    lexer_.nextToken();
    power();
    if (!lexer_.failed())
        appendOp(code_, OpCode::Pow);
}

// primary = number | nameOperand | functionCall | "(" expression ")" | ifExpression
void ExpressionCompiler::primary()
{
    if (lexer_.failed())
        return;
    switch (lexer_.tokenKind()) {
    case TokenKind::Number:
        appendNumber(code_, model_->script.numbers, lexer_.tokenValue());
        lexer_.nextToken();
        break;
    case TokenKind::Name: nameOperand(); break;
    case TokenKind::Function: functionCall(); break;
    case TokenKind::Open:
        lexer_.nextToken();
        expression();
        if (lexer_.failed())
            return;
        lexer_.expect(TokenKind::Close, ScriptError::CloseParenExpected);
        break;
    case TokenKind::If: ifExpression(); break;
    default:
        // A lexer error keeps its own code.
        lexer_.failIf(!lexer_.failed(), ScriptError::ExpressionError);
        break;
    }
}

// nameOperand = constant | record | tableLookup   (in a differential equation also a name defined later)
void ExpressionCompiler::nameOperand()
{
    Model& m = *model_;
    const NameEntry* e = names_.find(lexer_.nameText());
    if (!e) {
        // Only a differential equation may use a name before its definition.
        if (lexer_.failIf(!inOdeSection_, ScriptError::UnknownName))
            return;
        declareFunction();
        if (lexer_.failed())
            return;
        pendingNames_.push_back(lexer_.nameText());
        updatePendingNamesText();
        appendOp(code_, OpCode::Ref);
        appendWord(code_, lastDeclaredRecord_);
        lexer_.nextToken();
        return;
    }
    switch (e->kind) {
    case NameKind::Constant:
        appendOp(code_, OpCode::Const);
        appendWord(code_, e->index);
        lexer_.nextToken();
        break;
    case NameKind::Table: tableLookup(e->index); break;
    default:  // a function, a differential-equation variable or t
        if (lexer_.failIf(!m.script.records[e->index].compiled && !inOdeSection_, ScriptError::UnknownName))
            return;
        appendOp(code_, OpCode::Ref);
        appendWord(code_, e->index);
        lexer_.nextToken();
        break;
    }
}

// argument = "(" expression ")"   (after the name of a table or a function)
bool ExpressionCompiler::argument()
{
    lexer_.nextToken();
    if (!lexer_.expect(TokenKind::Open, ScriptError::OpenParenExpected))
        return false;
    expression();
    return !lexer_.failed() && lexer_.expect(TokenKind::Close, ScriptError::CloseParenExpected);
}

// tableLookup = table argument
void ExpressionCompiler::tableLookup(int table)
{
    if (!argument())
        return;
    appendOp(code_, OpCode::Table);
    appendWord(code_, table);
}

// functionCall = function argument
void ExpressionCompiler::functionCall()
{
    const std::uint8_t code = lexer_.tokenCode();
    if (argument())
        appendWord(code_, code);
}

void ExpressionCompiler::declareFunction()
{
    Model& m = *model_;
    const std::string& name = lexer_.nameText();
    if (const NameEntry* e = names_.find(name)) {
        if (lexer_.failIf(e->kind != NameKind::Function, ScriptError::NameUsedBefore))
            return;
        lastDeclaredRecord_ = e->index;
        if (lexer_.failIf(m.script.records[e->index].compiled, ScriptError::NameUsedBefore))
            return;
        // Used before its definition: it is pending no more.
        auto it = std::find(pendingNames_.begin(), pendingNames_.end(), name);
        if (it != pendingNames_.end())
            pendingNames_.erase(it);
        updatePendingNamesText();
    } else {
        if (lexer_.failIf(m.script.recordCount == MaxRecords, ScriptError::TooManyNames))
            return;
        lastDeclaredRecord_ = ++m.script.recordCount;
        names_.add(name, NameKind::Function, m.script.recordCount);
    }
    FunctionRecord& rec = record(lastDeclaredRecord_);
    rec.name.assign(name);
    rec.compiled = false;
    rec.domainLo = -BigValue;
    rec.domainHi = BigValue;
    rec.value = 0.0;
}

}  // namespace tavlix
