// The lexer's fixed tables: the character map and the keyword table, built once for the whole program.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

// Token kinds. The name table reuses KindConstant, KindFunction, KindTable and KindIndependent as name kinds.
enum TokenKindCode : std::uint8_t {
    TkName = 1,
    TkKonstanter = 2,
    TkFunktioner = 3,
    TkDifferential = 4,
    TkFunction = 5,  // a built-in function name
    TkError = 6,     // the lexer has set ErrorCode
    TkNumber = 7,
    TkPower = 8,
    TkMulOp = 9,
    TkAddOp = 10,
    TkOpen = 11,
    TkClose = 12,
    TkLess = 13,
    TkGreater = 14,
    TkComma = 15,
    TkEnd = 16,
    TkEquals = 17,
    TkGrafvariable = 18,
    TkTabelvariable = 19,
    TkComment = 20,  // a comment or ";"
    TkColon = 21,
    TkHvis = 22,
    TkEller = 23,
    TkOg = 24,
    TkStop = 25,
    TkTabeller = 26,
    TkCompare = 28,  // "<=", "<>", "><", ">="
    TkStyle = 30,    // "l1" to "l6", "m1" to "m6"
};

enum NameKind : std::uint8_t {
    KindConstant = 2,
    KindFunction = 3,  // also a differential-equation variable
    KindTable = 26,
    KindIndependent = 29,
};

struct Keyword {
    std::uint8_t Kind = 0;
    std::uint8_t Code = 0;  // ' ' for a section keyword: the word itself is the token text
};

// Capitals to lower case, including the Danish capitals of Windows-1252; every other byte unchanged.
extern const std::array<std::uint8_t, 256> CharMap;

// nullptr when the text is no keyword, operator or built-in name.
const Keyword* FindKeyword(std::string_view text);

// The letters a name may begin with (after CharMap): a to z, and the Danish letters.
inline bool IsNameLetter(std::uint8_t c) {
    return (c >= 'a' && c <= 'z') || c == 0xE6 || c == 0xF8 || c == 0xE5;
}
