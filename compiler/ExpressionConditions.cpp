// The conditional hvis(...) of expressions and the grammar of its conditions.
#include "compiler/CodeBytes.h"
#include "compiler/ExpressionCompiler.h"
#include "engine/Opcodes.h"

#include <cstdint>

namespace tavlix {

// condition = conjunction { "eller" conjunction }
void ExpressionCompiler::condition()
{
    NestingGuard guard(*this);
    if (lexer_.failed() || !enterNesting())
        return;
    conjunction();
    // "eller" carries the code of Add and "og" that of Mul: conditions are 0 or 1.
    joinOperands(TokenKind::Or, [this] { conjunction(); });
}

// conjunction = comparison { "og" comparison }
void ExpressionCompiler::conjunction()
{
    if (lexer_.failed())
        return;
    comparison();
    joinOperands(TokenKind::And, [this] { comparison(); });
}

// comparison = expression ("<" | ">" | "=" | "<=" | "<>" | "><" | ">=") expression | "(" condition ")"
void ExpressionCompiler::comparison()
{
    if (lexer_.failed())
        return;
    if (lexer_.tokenKind() == TokenKind::Open) {
        // Try the parenthesis as arithmetic first; a ")" missing inside means it held a condition.
        const std::size_t mark = code_.size();
        const std::size_t poolMark = model_->script.numbers.size();
        const Lexer::ReadState state = lexer_.saveState();
        expression();
        if (lexer_.error() == ScriptError::CloseParenExpected) {
            code_.resize(mark);
            model_->script.numbers.resize(poolMark);
            lexer_.restoreState(state);
            lexer_.setError(ScriptError::None);
            lexer_.nextToken();
            condition();
            if (!lexer_.failed())
                lexer_.expect(TokenKind::Close, ScriptError::CloseParenExpected);
            return;
        }
    } else {
        expression();
    }
    if (lexer_.failed())
        return;
    const TokenKind kind = lexer_.tokenKind();
    const bool isComparison = kind == TokenKind::Less || kind == TokenKind::Greater || kind == TokenKind::Equals ||
                              kind == TokenKind::Compare;
    if (lexer_.failIf(!isComparison, ScriptError::ComparisonExpected))
        return;
    const std::uint8_t op = lexer_.tokenCode();
    lexer_.nextToken();
    expression();
    if (!lexer_.failed())
        appendWord(code_, op);
}

// ifExpression = "hvis" "(" condition "," (expression | "stop") "," (expression | "stop") ")"
void ExpressionCompiler::ifExpression()
{
    Model& m = *model_;
    lexer_.nextToken();
    if (!lexer_.expect(TokenKind::Open, ScriptError::OpenParenExpected))
        return;
    condition();
    if (lexer_.failed())
        return;
    CodeWords result = code_;
    appendOp(result, OpCode::If);
    const int owner = compileTarget_;
    for (int branch = 0; branch < 2; ++branch) {
        if (!lexer_.expect(TokenKind::Comma, ScriptError::CommaExpected))
            return;
        if (lexer_.failIf(m.script.recordCount == MaxRecords, ScriptError::TooManyNames))
            return;
        const int r = ++m.script.recordCount;
        FunctionRecord& rec = record(r);
        rec.name = record(owner).name;
        rec.compiled = false;
        rec.domainLo = -BigValue;
        rec.domainHi = BigValue;
        rec.code = {opByte(OpCode::Stop), opByte(OpCode::End)};
        if (lexer_.tokenKind() == TokenKind::Stop) {
            lexer_.nextToken();
        } else {
            compileExpressionInto(r);  // may add records: rec is not used after it
            if (lexer_.failed())
                return;
        }
        record(r).isOdeVariable = false;
        appendWord(result, r);
    }
    if (!lexer_.expect(TokenKind::Close, ScriptError::CloseParenExpected))
        return;
    compileTarget_ = owner;
    code_ = std::move(result);
}

}  // namespace tavlix
