// The declaring sections of a script: constants, tables of points, differential equations and functions.
#include "compiler/ScriptCompiler.h"

#include "engine/Opcodes.h"

#include <cstdint>
#include <string>
#include <utility>

namespace tavlix {

// Declares the current name as the next of count names of its kind; returns its index, or 0 (with the error
// set) when the name is taken or the kind is full.
int ScriptCompiler::declareName(int& count, int limit, NameKind kind)
{
    const std::string& name = lexer_.nameText();
    if (lexer_.failIf(expressions_.names().find(name) != nullptr, ScriptError::NameUsedBefore))
        return 0;
    if (lexer_.failIf(count == limit, ScriptError::TooManyNames))
        return 0;
    expressions_.names().add(name, kind, ++count);
    return count;
}

// konstanter = "konstanter" { name "=" ( list | expression ) }
void ScriptCompiler::parseConstants()
{
    CompiledScript& s = model_->script;
    lexer_.nextToken();
    for (lexer_.skipComments(); lexer_.tokenKind() == TokenKind::Name; lexer_.skipComments()) {
        const int constant = declareName(s.constantCount, MaxConsts, NameKind::Constant);
        if (lexer_.failed())
            return;
        growTo(s.constantNames, constant).assign(lexer_.nameText());
        growTo(s.constantValues, constant) = 0;
        growTo(s.listConstants, constant).reset();
        const std::string key = lexer_.nameText();
        const std::string written = lexer_.writtenName();
        lexer_.nextToken();
        if (!lexer_.expect(TokenKind::Equals, ScriptError::EqualsExpected))
            return;
        if (lexer_.tokenKind() == TokenKind::Less) {
            parseListConstant(constant, key, written);
        } else {
            const double value = expressions_.evaluateConstant(key);
            if (!lexer_.failed())
                s.constantValues[constant] = plainConstantValue(value, key, written);
        }
        if (lexer_.failed())
            return;
    }
}

double ScriptCompiler::plainConstantValue(double computed, const std::string& key, const std::string& writtenName)
{
    // A plain number compiles to its own push, alone or negated, and the code's end.
    const CodeWords& code = model_->script.records[0].code;
    const bool plain = code.size() >= 3 && code[0] == opByte(OpCode::Num) &&
                       (code.size() == 3 || (code.size() == 4 && code[2] == opByte(OpCode::Neg)));
    if (!plain)
        return computed;
    const auto set = compileValues_->find(key);
    const double value = set != compileValues_->end() ? set->second : computed;
    compilePlain_->push_back({writtenName, key, value});
    return value;
}

// list = "<" expression { "," expression } ">"
// The constant takes its picked value once the whole list is read: later constants computed from it follow it.
void ScriptCompiler::parseListConstant(int constant, const std::string& key, const std::string& writtenName)
{
    CompiledScript& s = model_->script;
    lexer_.nextToken();
    ListConstant& list = s.listConstants[constant].emplace();
    list.count = 1;
    const double first = expressions_.evaluateConstant(key);
    if (lexer_.failed())
        return;
    list.values.push_back(first);
    s.constantValues[constant] = first;
    while (lexer_.tokenKind() == TokenKind::Comma) {
        lexer_.nextToken();
        if (lexer_.failIf(list.count == MaxListValues, ScriptError::TooManyNames))
            return;
        const double value = expressions_.evaluateConstant(key);
        if (lexer_.failed())
            return;
        list.values.push_back(value);
        ++list.count;
    }
    if (!lexer_.expect(TokenKind::Greater, ScriptError::GreaterExpected))
        return;
    const auto picked = compilePicks_->find(key);
    const int pick =
        picked != compilePicks_->end() && picked->second >= 1 && picked->second <= list.count ? picked->second : 1;
    s.constantValues[constant] = list.values[pick];
    compileLists_->push_back({writtenName, key, std::vector<double>(list.values.begin() + 1, list.values.end()), pick});
}

// tabeller = "tabeller" { table }
void ScriptCompiler::parseTables()
{
    lexer_.nextToken();
    lexer_.skipComments();
    while (lexer_.tokenKind() == TokenKind::Name && !lexer_.failed())
        parseTable();
}

// table = name "=" "<" point { "," point } ">" ;  point = "(" expression "," expression ")"
void ScriptCompiler::parseTable()
{
    CompiledScript& s = model_->script;
    const int index = declareName(s.tableCount, MaxTables, NameKind::Table);
    if (lexer_.failed())
        return;
    PointTable& table = growTo(s.tables, index);
    table = PointTable{};
    table.name.assign(lexer_.nameText());
    // The points while they are read, with the end at -BigValue first; the table takes them once all are read.
    std::vector<TablePoint> buffer(1);
    lexer_.nextToken();
    if (!lexer_.expect(TokenKind::Equals, ScriptError::EqualsExpected))
        return;
    if (lexer_.failIf(lexer_.tokenKind() != TokenKind::Less, ScriptError::LessExpected))
        return;
    buffer[0].x = -BigValue;
    int i = 0;
    do {
        lexer_.nextToken();
        if (!lexer_.expect(TokenKind::Open, ScriptError::OpenParenExpected))
            return;
        if (lexer_.failIf(++i == MaxTablePoints + 1, ScriptError::TableTooLarge))
            return;
        buffer.emplace_back();
        buffer[i].x = expressions_.evaluateConstant(table.name.view());
        if (lexer_.failed())
            return;
        if (!lexer_.expect(TokenKind::Comma, ScriptError::CommaExpected))
            return;
        if (lexer_.failIf(buffer[i - 1].x >= buffer[i].x, ScriptError::TableOutOfOrder))
            return;
        buffer[i].y = expressions_.evaluateConstant(table.name.view());
        if (lexer_.failed())
            return;
        if (!lexer_.expect(TokenKind::Close, ScriptError::CloseParenExpected))
            return;
    } while (lexer_.tokenKind() == TokenKind::Comma);
    if (!lexer_.expect(TokenKind::Greater, ScriptError::GreaterExpected))
        return;
    buffer[0].y = buffer[1].y;
    buffer.push_back({BigValue, buffer[i].y});
    table.pointCount = i;
    table.points = std::move(buffer);
    lexer_.skipComments();
}

// differentialligninger = "differentialligninger" { name "'" "=" expression "<" expression ">" }
void ScriptCompiler::parseDifferentialEquations()
{
    CompiledScript& s = model_->script;
    lexer_.nextToken();
    lexer_.skipComments();
    expressions_.setInOdeSection(true);
    s.lastPlainRecord = s.recordCount;
    while (lexer_.tokenKind() == TokenKind::Name) {
        expressions_.declareFunction();
        if (lexer_.failed())
            return;
        const int r = expressions_.lastDeclaredRecord();
        lexer_.nextToken();
        // Any power operator will do: y^ = ... is read as y' = ...
        if (!lexer_.expect(TokenKind::Power, ScriptError::ApostropheExpected) ||
            !lexer_.expect(TokenKind::Equals, ScriptError::EqualsExpected))
            return;
        expressions_.compileExpressionInto(r);
        if (lexer_.failed() || !lexer_.expect(TokenKind::Less, ScriptError::LessExpected))
            return;
        s.records[r].domainLo = expressions_.evaluateConstant(s.records[r].name.view());
        if (lexer_.failed() || !lexer_.expect(TokenKind::Greater, ScriptError::GreaterExpected))
            return;
        lexer_.skipComments();
    }
}

// funktioner = "funktioner" { name "=" expression [ "<" expression "," expression ">" ] }
void ScriptCompiler::parseFunctions()
{
    CompiledScript& s = model_->script;
    lexer_.nextToken();
    lexer_.skipComments();
    expressions_.setInOdeSection(false);
    while (lexer_.tokenKind() == TokenKind::Name) {
        expressions_.declareFunction();
        if (lexer_.failed())
            return;
        const int r = expressions_.lastDeclaredRecord();
        lexer_.nextToken();
        if (!lexer_.expect(TokenKind::Equals, ScriptError::EqualsExpected))
            return;
        expressions_.compileExpressionInto(r);
        if (lexer_.failed())
            return;
        if (lexer_.tokenKind() == TokenKind::Less) {
            lexer_.nextToken();
            s.records[r].domainLo = expressions_.evaluateConstant(s.records[r].name.view());
            if (lexer_.failed() || !lexer_.expect(TokenKind::Comma, ScriptError::CommaExpected))
                return;
            s.records[r].domainHi = expressions_.evaluateConstant(s.records[r].name.view());
            if (lexer_.failed() || !lexer_.expect(TokenKind::Greater, ScriptError::GreaterExpected))
                return;
        }
        lexer_.skipComments();
    }
}

}  // namespace tavlix
