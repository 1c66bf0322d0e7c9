// The colour classes of a script line, read token by token with the compiler's lexer.
#include "compiler/ScriptColouring.h"

#include "compiler/Lexer.h"

#include <algorithm>
#include <string>

namespace tavlix {

namespace {

ColourClass classOf(TokenKind kind)
{
    switch (kind) {
    case TokenKind::ConstantsKeyword:
    case TokenKind::FunctionsKeyword:
    case TokenKind::EquationsKeyword:
    case TokenKind::TablesKeyword:
    case TokenKind::GraphOutputKeyword:
    case TokenKind::TableOutputKeyword: return ColourClass::Section;
    case TokenKind::If:
    case TokenKind::Or:
    case TokenKind::And:
    case TokenKind::Stop: return ColourClass::Keyword;
    case TokenKind::Function: return ColourClass::Function;
    case TokenKind::Number: return ColourClass::Number;
    case TokenKind::Style: return ColourClass::Style;
    case TokenKind::Name: return ColourClass::Name;
    default: return ColourClass::Plain;
    }
}

}  // namespace

bool colourLine(std::string_view line, bool inComment, std::vector<ColouredSpan>& spans)
{
    spans.clear();
    // A comment continued from above reads as one that opens just before the line (the space keeps a ")" at the
    // line's start from closing it, as the line break between does in the whole text).
    const int shift = inComment ? 3 : 0;
    std::string text = inComment ? "(* " : "";
    text += line;
    text += "\r\n";
    const int lineLength = static_cast<int>(line.size());
    Lexer lexer;
    lexer.startReading(std::move(text));
    for (;;) {
        lexer.nextToken();
        const TokenKind kind = lexer.tokenKind();
        if (kind == TokenKind::End)
            return false;
        const int start = std::max(lexer.tokenStart() - 1 - shift, 0);
        const bool comment = (kind == TokenKind::Comment && lexer.tokenText().front() == '(') ||
                             (kind == TokenKind::Error && lexer.error() == ScriptError::UnclosedComment);
        const int end =
            comment && kind == TokenKind::Error ? lineLength : std::min(lexer.tokenEnd() - shift, lineLength);
        const ColourClass colour = comment ? ColourClass::Comment : classOf(kind);
        if (colour != ColourClass::Plain && end > start)
            spans.push_back({start, end - start, colour});
        if (kind == TokenKind::Error && lexer.error() == ScriptError::UnclosedComment)
            return true;
    }
}

}  // namespace tavlix
