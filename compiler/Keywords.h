// The lexer's fixed tables: the character map and the keyword table, built once for the whole program.
#pragma once

#include "engine/Opcodes.h"

#include <array>
#include <cstdint>
#include <string_view>

namespace tavlix {

enum class TokenKind : std::uint8_t {
    None,
    Name,
    ConstantsKeyword,  // konstanter
    FunctionsKeyword,  // funktioner
    EquationsKeyword,  // differentialligning(er)
    Function,          // a built-in function name
    Error,             // the lexer has set its error
    Number,
    Power,
    MulOp,
    AddOp,
    Open,
    Close,
    Less,
    Greater,
    Comma,
    End,
    Equals,
    GraphOutputKeyword,  // grafvariable
    TableOutputKeyword,  // tabelvariable
    Comment,             // a comment or ";"
    Colon,
    If,   // hvis
    Or,   // eller
    And,  // og
    Stop,
    TablesKeyword,  // tabeller
    Compare,        // "<=", "<>", "><", ">="
    Style,          // "l1" to "l6", "m1" to "m6"
};

// What a declared name stands for.
enum class NameKind : std::uint8_t {
    Constant,
    Function,  // also a differential-equation variable
    Table,
    Independent,
};

struct Keyword {
    TokenKind kind = TokenKind::None;
    // The operation it compiles to, the style number of a style, or ' ' for a section keyword (the word
    // itself is then the token text).
    std::uint8_t code = 0;
};

// Capitals to lower case, including the Danish capitals of Windows-1252; every other byte unchanged.
extern const std::array<std::uint8_t, 256> LowerCaseMap;

// nullptr when the text is no keyword, operator or built-in name.
const Keyword* findKeyword(std::string_view text);

// The letters a name may begin with (after LowerCaseMap): a to z, and the Danish letters.
inline bool isNameLetter(std::uint8_t c)
{
    return (c >= 'a' && c <= 'z') || c == 0xE6 || c == 0xF8 || c == 0xE5;
}

}  // namespace tavlix
