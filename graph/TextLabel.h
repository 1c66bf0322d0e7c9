// A text the user placed on a graph; the graph page keeps them in a list of their own beside its curves.
#pragma once

#include <string>
#include <vector>

struct TextLabel {
    // Where the text starts: its left end, centred on y (value coordinates).
    double x = 0;
    double y = 0;
    // UTF-8: a label is typed in the window and never stored in a document, so it may hold any character.
    std::string text;
    // Empty for a label the user typed; otherwise the name of the tangent or area it describes, which takes it along
    // when removed.
    std::string owner{};
};

using LabelList = std::vector<TextLabel>;
