// The lexer's fixed tables: the character map and the keyword table, built once for the whole program.
#include "compiler/Keywords.h"

#include <map>
#include <string>

namespace {

constexpr std::array<std::uint8_t, 256> MakeCharMap() {
    std::array<std::uint8_t, 256> map{};
    for (int c = 0; c < 256; ++c) map[c] = static_cast<std::uint8_t>(c);
    for (int c = 'A'; c <= 'Z'; ++c) map[c] = static_cast<std::uint8_t>(c - 'A' + 'a');
    map[198] = 230;  // Æ -> æ
    map[216] = 248;  // Ø -> ø
    map[197] = 229;  // Å -> å
    return map;
}

using KeywordMap = std::map<std::string, Keyword, std::less<>>;

KeywordMap MakeKeywords() {
    KeywordMap k;
    auto put = [&k](std::string key, std::uint8_t kind, std::uint8_t code) { k[std::move(key)] = {kind, code}; };
    put("konstanter", TkKonstanter, ' ');
    put("funktioner", TkFunktioner, ' ');
    put("differentialligning", TkDifferential, ' ');
    put("differentialligninger", TkDifferential, ' ');
    put("tabeller", TkTabeller, ' ');
    put("grafvariable", TkGrafvariable, ' ');
    put("tabelvariable", TkTabelvariable, ' ');
    put("hvis", TkHvis, 134);
    put("eller", TkEller, '+');
    put("og", TkOg, '*');
    put("stop", TkStop, 135);
    put("<", TkLess, '<');
    put(">", TkGreater, '>');
    put("=", TkEquals, '=');
    put("<=", TkCompare, 131);
    put("<>", TkCompare, 132);
    put("><", TkCompare, 132);
    put(">=", TkCompare, 133);
    const struct { const char* name; char code; } functions[] = {
        {"cos", 'c'}, {"sin", 's'}, {"cot", 'u'}, {"tan", 't'},
        {"acos", 'C'}, {"arccos", 'C'}, {"asin", 'S'}, {"arcsin", 'S'},
        {"acot", 'U'}, {"arccot", 'U'}, {"atan", 'T'}, {"arctan", 'T'}, {"atn", 'T'},
        {"log", 'g'}, {"ln", 'l'}, {"exp", 'L'}, {"sqr", 'q'}, {"abs", 'n'},
    };
    for (const auto& f : functions) put(f.name, TkFunction, static_cast<std::uint8_t>(f.code));
    put("+", TkAddOp, '+');
    put("-", TkAddOp, '-');
    put("*", TkMulOp, '*');
    put("/", TkMulOp, '/');
    put("'", TkPower, '\'');
    put("^", TkPower, '\'');
    put(")", TkClose, ')');
    put("(", TkOpen, '(');
    put(",", TkComma, ',');
    put(std::string(1, '\0'), TkEnd, 0);
    put(";", TkComment, ';');
    put(":", TkColon, ':');
    for (int i = 1; i <= 6; ++i) {
        put("l" + std::to_string(i), TkStyle, static_cast<std::uint8_t>(i));
        put("m" + std::to_string(i), TkStyle, static_cast<std::uint8_t>(i + 6));
    }
    return k;
}

}  // namespace

// Constant-initialised, so it is ready before any other start-up code could read it.
constinit const std::array<std::uint8_t, 256> CharMap = MakeCharMap();

const Keyword* FindKeyword(std::string_view text) {
    static const KeywordMap keywords = MakeKeywords();
    auto it = keywords.find(text);
    return it == keywords.end() ? nullptr : &it->second;
}
