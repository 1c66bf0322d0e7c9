// Which known word an unknown name was probably meant to be: close misspellings and words from other languages.
#include "compiler/NameSuggestions.h"

#include "compiler/Keywords.h"

#include <algorithm>
#include <array>

namespace tavlix {

namespace {

// The words of the language as the user sees them; functions first, so a tie goes to the likelier word.
constexpr std::array LanguageWords = {
    "sin",        "cos",          "tan",
    "cot",        "arcsin",       "arccos",
    "arctan",     "arccot",       "asin",
    "acos",       "atan",         "acot",
    "atn",        "log",          "ln",
    "exp",        "sqr",          "abs",
    "hvis",       "eller",        "og",
    "stop",       "pi",           "t",
    "Konstanter", "Tabeller",     "DifferentialLigninger",
    "Funktioner", "GrafVariable", "TabelVariable",
};

struct CommonWord {
    const char* word;
    const char* hint;
};

// Names from mathematics books and other programs, with what this language calls them.
constexpr CommonWord CommonWords[] = {
    {"sinus", "Sinus hedder sin"},
    {"cosinus", "Cosinus hedder cos"},
    {"tangens", "Tangens hedder tan"},
    {"kvadratrod", "Kvadratrod hedder sqr"},
    {"sqrt", "Kvadratrod hedder sqr"},
    {"ln10", "Titalslogaritmen hedder log"},
    {"log10", "Titalslogaritmen hedder log"},
};

// The most edits a misspelling may have: a short word changes too much with a second one.
constexpr std::size_t ShortWord = 4;
constexpr int ShortWordEdits = 1;
constexpr int LongWordEdits = 2;

std::string lower(std::string_view text)
{
    std::string s(text);
    for (char& c : s)
        c = static_cast<char>(LowerCaseMap[static_cast<std::uint8_t>(c)]);
    return s;
}

}  // namespace

int editDistance(std::string_view a, std::string_view b)
{
    // Three rows of the table: a swap looks two rows back.
    std::vector<int> before(b.size() + 1), last(b.size() + 1), row(b.size() + 1);
    for (std::size_t j = 0; j <= b.size(); ++j)
        last[j] = static_cast<int>(j);
    for (std::size_t i = 1; i <= a.size(); ++i) {
        row[0] = static_cast<int>(i);
        for (std::size_t j = 1; j <= b.size(); ++j) {
            row[j] = std::min({last[j] + 1, row[j - 1] + 1, last[j - 1] + (a[i - 1] == b[j - 1] ? 0 : 1)});
            if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1])
                row[j] = std::min(row[j], before[j - 2] + 1);
        }
        std::swap(before, last);
        std::swap(last, row);
    }
    return last[b.size()];
}

std::string closestKnownWord(std::string_view word, const std::vector<std::string>& declared)
{
    const std::string typed = lower(word);
    // A word changed in every letter is another word, not a misspelling of this one.
    const int allowed =
        std::min(typed.size() <= ShortWord ? ShortWordEdits : LongWordEdits, static_cast<int>(typed.size()) - 1);
    std::string best;
    int bestDistance = allowed + 1;
    auto consider = [&](std::string_view known) {
        const int d = editDistance(typed, lower(known));
        if (d > 0 && d < bestDistance) {
            bestDistance = d;
            best = known;
        }
    };
    for (const char* known : LanguageWords)
        consider(known);
    for (const std::string& known : declared)
        consider(known);
    return best;
}

std::string commonWordHint(std::string_view word)
{
    const std::string typed = lower(word);
    for (const CommonWord& c : CommonWords)
        if (typed == c.word)
            return c.hint;
    return {};
}

}  // namespace tavlix
