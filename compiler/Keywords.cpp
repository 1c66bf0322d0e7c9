// The lexer's fixed tables: the character map and the keyword table, built once for the whole program.
#include "compiler/Keywords.h"

#include <map>
#include <string>

namespace tavlix {

namespace {

constexpr std::array<std::uint8_t, 256> makeLowerCaseMap()
{
    std::array<std::uint8_t, 256> map{};
    for (int c = 0; c < 256; ++c)
        map[c] = static_cast<std::uint8_t>(c);
    for (int c = 'A'; c <= 'Z'; ++c)
        map[c] = static_cast<std::uint8_t>(c - 'A' + 'a');
    map[198] = 230;  // Æ -> æ
    map[216] = 248;  // Ø -> ø
    map[197] = 229;  // Å -> å
    return map;
}

using KeywordMap = std::map<std::string, Keyword, std::less<>>;

// A section keyword: its token text is the word itself.
constexpr std::uint8_t SectionCode = ' ';

KeywordMap makeKeywords()
{
    KeywordMap k;
    auto put = [&k](std::string key, TokenKind kind, std::uint8_t code) { k[std::move(key)] = {kind, code}; };
    auto putOp = [&put](std::string key, TokenKind kind, OpCode op) { put(std::move(key), kind, opByte(op)); };
    put("konstanter", TokenKind::ConstantsKeyword, SectionCode);
    put("funktioner", TokenKind::FunctionsKeyword, SectionCode);
    put("differentialligning", TokenKind::EquationsKeyword, SectionCode);
    put("differentialligninger", TokenKind::EquationsKeyword, SectionCode);
    put("tabeller", TokenKind::TablesKeyword, SectionCode);
    put("grafvariable", TokenKind::GraphOutputKeyword, SectionCode);
    put("tabelvariable", TokenKind::TableOutputKeyword, SectionCode);
    putOp("hvis", TokenKind::If, OpCode::If);
    putOp("eller", TokenKind::Or, OpCode::Add);
    putOp("og", TokenKind::And, OpCode::Mul);
    putOp("stop", TokenKind::Stop, OpCode::Stop);
    putOp("<", TokenKind::Less, OpCode::Lt);
    putOp(">", TokenKind::Greater, OpCode::Gt);
    putOp("=", TokenKind::Equals, OpCode::Eq);
    putOp("<=", TokenKind::Compare, OpCode::Le);
    putOp("<>", TokenKind::Compare, OpCode::Ne);
    putOp("><", TokenKind::Compare, OpCode::Ne);
    putOp(">=", TokenKind::Compare, OpCode::Ge);
    const struct {
        const char* name;
        OpCode op;
    } functions[] = {
        {"cos", OpCode::Cos},     {"sin", OpCode::Sin},       {"cot", OpCode::Cot},     {"tan", OpCode::Tan},
        {"acos", OpCode::Arccos}, {"arccos", OpCode::Arccos}, {"asin", OpCode::Arcsin}, {"arcsin", OpCode::Arcsin},
        {"acot", OpCode::Arccot}, {"arccot", OpCode::Arccot}, {"atan", OpCode::Arctan}, {"arctan", OpCode::Arctan},
        {"atn", OpCode::Arctan},  {"log", OpCode::Log},       {"ln", OpCode::Ln},       {"exp", OpCode::Exp},
        {"sqr", OpCode::Sqrt},    {"abs", OpCode::Abs},
    };
    for (const auto& f : functions)
        putOp(f.name, TokenKind::Function, f.op);
    putOp("+", TokenKind::AddOp, OpCode::Add);
    putOp("-", TokenKind::AddOp, OpCode::Sub);
    putOp("*", TokenKind::MulOp, OpCode::Mul);
    putOp("/", TokenKind::MulOp, OpCode::Div);
    putOp("'", TokenKind::Power, OpCode::Pow);
    putOp("^", TokenKind::Power, OpCode::Pow);
    // The punctuation's code is the character itself.
    put(")", TokenKind::Close, ')');
    put("(", TokenKind::Open, '(');
    put(",", TokenKind::Comma, ',');
    put(std::string(1, '\0'), TokenKind::End, 0);
    put(";", TokenKind::Comment, ';');
    put(":", TokenKind::Colon, ':');
    for (int i = 1; i <= 6; ++i) {
        put("l" + std::to_string(i), TokenKind::Style, static_cast<std::uint8_t>(i));
        put("m" + std::to_string(i), TokenKind::Style, static_cast<std::uint8_t>(i + 6));
    }
    return k;
}

}  // namespace

// Constant-initialised, so it is ready before any other start-up code could read it.
constinit const std::array<std::uint8_t, 256> LowerCaseMap = makeLowerCaseMap();

const Keyword* findKeyword(std::string_view text)
{
    static const KeywordMap AllKeywords = makeKeywords();
    auto it = AllKeywords.find(text);
    return it == AllKeywords.end() ? nullptr : &it->second;
}

}  // namespace tavlix
