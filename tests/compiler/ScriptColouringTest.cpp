// The colour classes the editor gives each token kind, line by line as the lexer reads them.
#include "compiler/ScriptColouring.h"

#include <gtest/gtest.h>

#include <string>

using namespace tavlix;

namespace {

using C = ColourClass;

struct ColourCase {
    const char* line;
    bool inComment;
    std::vector<ColouredSpan> spans;
    bool endsInComment;
};

TEST(ScriptColouring, GivesEachTokenKindItsClass)
{
    const ColourCase rows[] = {
        {"Konstanter", false, {{0, 10, C::Section}}, false},
        {"DifferentialLigninger  TabelVariable", false, {{0, 21, C::Section}, {23, 13, C::Section}}, false},
        {"  a = 2.5e3 ; b = .5",
         false,
         {{2, 1, C::Name}, {6, 5, C::Number}, {14, 1, C::Name}, {18, 2, C::Number}},
         false},
        // A decimal comma is no part of a number: two numbers and a comma between.
        {"a = 2,5", false, {{0, 1, C::Name}, {4, 1, C::Number}, {6, 1, C::Number}}, false},
        {"f = hvis(t<1 og t>0 eller stop, SIN(t), arctan(t))",
         false,
         {{0, 1, C::Name},
          {4, 4, C::Keyword},
          {9, 1, C::Name},
          {11, 1, C::Number},
          {13, 2, C::Keyword},
          {16, 1, C::Name},
          {18, 1, C::Number},
          {20, 5, C::Keyword},
          {26, 4, C::Keyword},
          {32, 3, C::Function},
          {36, 1, C::Name},
          {40, 6, C::Function},
          {47, 1, C::Name}},
         false},
        {"t, f, l1  t, g, m6",
         false,
         {{0, 1, C::Name}, {3, 1, C::Name}, {6, 2, C::Style}, {10, 1, C::Name}, {13, 1, C::Name}, {16, 2, C::Style}},
         false},
        {"(* a note *) a", false, {{0, 12, C::Comment}, {13, 1, C::Name}}, false},
        // A comment opened on one line and closed three lines later.
        {"f = t (* opens", false, {{0, 1, C::Name}, {4, 1, C::Name}, {6, 8, C::Comment}}, true},
        {"  still inside = 2", true, {{0, 18, C::Comment}}, true},
        {")", true, {{0, 1, C::Comment}}, true},
        {"closes *) g = 1", true, {{0, 9, C::Comment}, {10, 1, C::Name}, {14, 1, C::Number}}, false},
        {"(*)", false, {{0, 3, C::Comment}}, false},
        {"", true, {}, true},
        {"@ ? a", false, {{4, 1, C::Name}}, false},
    };
    for (const ColourCase& row : rows) {
        std::vector<ColouredSpan> spans;
        EXPECT_EQ(colourLine(row.line, row.inComment, spans), row.endsInComment) << row.line;
        EXPECT_EQ(spans, row.spans) << row.line;
    }
}

}  // namespace
