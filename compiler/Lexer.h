// Reads the script text token by token for the compiler: white space, comments, numbers, names, operators.
#pragma once

#include "compiler/Keywords.h"

#include <cstdint>
#include <string>

// The reading state of one script page's compiler. The current token's text lives engine-wide in
// Eng.TokenText (at most 25 characters), because the engine writes failing names there too.
class Lexer {
public:
    std::string Source;     // the script, every line followed by CR LF
    int SourceLength = 0;
    int ReadPos = 0;        // 1-based position of the next character to read
    std::uint8_t CurChar = 0;  // already passed through CharMap; 0 at the end of the text
    int TokenStart = 0;     // 1-based position of the current token's first character
    std::uint8_t TokenKind = 0;
    std::uint8_t TokenCode = 0;
    int ErrorCode = 0;
    double TokenValue = 0;  // the value of a number token
    std::string NameText;   // a name token in full; names are told apart by all their characters
    std::string LastName;   // the last word read, at most 25 characters (quoted by error 21)

    // Where reading stands between two tokens; the condition parser backs up to it.
    struct ReadState {
        int ReadPos = 0;
        std::uint8_t CurChar = 0;
    };

    // Takes the text and reads its first character.
    void StartReading(std::string text);
    void GetChar();
    void GetToken();
    // Skips comments and ";".
    void xGetToken();
    // True (and ErrorCode = code) when the token is not of the kind; otherwise reads on and returns false.
    bool CheckToken(int kind, int code);
    bool checkbool(bool condition, int code);

    ReadState SaveState() const { return {ReadPos, CurChar}; }
    void RestoreState(ReadState s) { ReadPos = s.ReadPos; CurChar = s.CurChar; }

private:
    void ReadComment();
    void ReadNumber();
    void ReadComparison();
    void ReadName();
    void ReadSymbol();
    void SetError(int code);
};
