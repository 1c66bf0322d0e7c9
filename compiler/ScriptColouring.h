// The colour classes of a script line, found by the compiler's own lexer so colouring never disagrees with it.
#pragma once

#include <string_view>
#include <vector>

namespace tavlix {

enum class ColourClass { Plain, Section, Keyword, Function, Number, Comment, Style, Name };

struct ColouredSpan {
    int start = 0;  // 0-based byte column
    int length = 0;
    ColourClass colour = ColourClass::Plain;
    bool operator==(const ColouredSpan&) const = default;
};

// The spans of one line (Windows-1252) that are not plain. inComment: the line begins inside a comment opened
// above. Returns whether the line ends inside a comment.
bool colourLine(std::string_view line, bool inComment, std::vector<ColouredSpan>& spans);

}  // namespace tavlix
