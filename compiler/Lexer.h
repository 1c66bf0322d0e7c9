// Reads the script text token by token for the compiler: white space, comments, numbers, names, operators.
#pragma once

#include "compiler/Keywords.h"
#include "engine/ScriptError.h"
#include "engine/ShortString.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace tavlix {

// The reading state of one script page's compiler, and the first error met while compiling it.
class Lexer {
public:
    // Where reading stands between two tokens; the condition parser backs up to it.
    struct ReadState {
        int readPos = 0;
        std::uint8_t currentChar = 0;
    };

    // Takes the text (every line followed by CR LF) and reads its first character; everything read before is
    // forgotten, the error too.
    void startReading(std::string text);
    // Lets the text go once the run is over.
    void stopReading();
    void advanceChar();
    void nextToken();
    // Skips comments and ";".
    void skipComments();
    // True when the token is of the kind, and reads on; otherwise sets the error and returns false.
    bool expect(TokenKind kind, ScriptError error);
    // Sets the error when the condition holds; returns the condition.
    bool failIf(bool condition, ScriptError error);

    ReadState saveState() const { return {readPos_, currentChar_}; }
    void restoreState(ReadState s)
    {
        readPos_ = s.readPos;
        currentChar_ = s.currentChar;
    }

    TokenKind tokenKind() const { return tokenKind_; }
    // The operation, style number or character a keyword or operator token stands for.
    std::uint8_t tokenCode() const { return tokenCode_; }
    // 1-based position of the current token's first character; 0 once the whole text is read.
    int tokenStart() const { return tokenStart_; }
    void markEndReached() { tokenStart_ = 0; }
    // 0-based position just past the current token (the colouring's span end).
    int tokenEnd() const { return readPos_ - 2; }
    double tokenValue() const { return tokenValue_; }
    // A name token in full; names are told apart by all their characters.
    const std::string& nameText() const { return nameText_; }
    // The last word read in this text, at most 25 characters (quoted by CannotStandHere); empty before the first.
    const std::string& lastName() const { return lastName_; }
    // The last name read as the script writes it, in its own case (the others are in lower case).
    const std::string& writtenName() const { return writtenName_; }
    // The current token as the messages quote it, at most 25 characters.
    std::string_view tokenText() const { return tokenText_.view(); }
    // A message may quote something else in the token's place (the names never defined).
    void setTokenText(std::string_view text) { tokenText_.assign(text.substr(0, tokenText_.capacity())); }

    ScriptError error() const { return error_; }
    bool failed() const { return error_ != ScriptError::None; }
    void setError(ScriptError error) { error_ = error; }

private:
    void readComment();
    void readNumber();
    void readComparison();
    void readName();
    void readSymbol();
    // The token is no token: its kind becomes Error.
    void setErrorToken(ScriptError error);

    std::string source_;
    int sourceLength_ = 0;
    int readPos_ = 0;               // 1-based position of the next character to read
    std::uint8_t currentChar_ = 0;  // already passed through LowerCaseMap; 0 at the end of the text
    int tokenStart_ = 0;
    TokenKind tokenKind_ = TokenKind::None;
    std::uint8_t tokenCode_ = 0;
    ScriptError error_ = ScriptError::None;
    double tokenValue_ = 0;
    std::string nameText_;
    std::string lastName_;
    std::string writtenName_;
    ShortString<25> tokenText_;
};

}  // namespace tavlix
