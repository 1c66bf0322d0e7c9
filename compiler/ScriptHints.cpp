// Hints for the common mistakes behind a script error: a table of patterns, tried in order.
#include "compiler/ScriptHints.h"

#include "compiler/Keywords.h"

#include <algorithm>
#include <cctype>
#include <vector>

namespace tavlix {

namespace {

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool isLetter(char c)
{
    return isNameLetter(LowerCaseMap[static_cast<std::uint8_t>(c)]);
}

std::string lower(std::string_view text)
{
    std::string s(text);
    for (char& c : s)
        c = static_cast<char>(LowerCaseMap[static_cast<std::uint8_t>(c)]);
    return s;
}

char at(const HintContext& c, int i)
{
    return i >= 0 && i < static_cast<int>(c.line.size()) ? c.line[static_cast<std::size_t>(i)] : '\0';
}

// The run of characters of a kind around position i.
std::string_view spanAround(std::string_view line, int i, bool (*inside)(char))
{
    int from = i, to = i;
    while (from > 0 && inside(line[static_cast<std::size_t>(from - 1)]))
        --from;
    while (to < static_cast<int>(line.size()) && inside(line[static_cast<std::size_t>(to)]))
        ++to;
    return line.substr(static_cast<std::size_t>(from), static_cast<std::size_t>(to - from));
}

// The word the message is about: a name never defined is quoted between asterisks.
std::string quotedWord(const HintContext& c)
{
    std::string_view word = c.tokenText;
    if (c.error == ScriptError::NeverDefined && word.size() > 2 && word.front() == '*') {
        word.remove_prefix(1);
        word = word.substr(0, word.find('*'));
    }
    if (c.error == ScriptError::CannotStandHere)
        word = c.lastName;
    return lower(word);
}

// A comma between digits at the caret or just before it; -1 when there is none.
int decimalCommaAt(const HintContext& c)
{
    for (int i : {c.column, c.column - 1})
        if (at(c, i) == ',' && isDigit(at(c, i - 1)) && isDigit(at(c, i + 1)))
            return i;
    return -1;
}

bool decimalComma(const HintContext& c)
{
    return decimalCommaAt(c) >= 0;
}

std::string decimalCommaHint(const HintContext& c)
{
    const int i = decimalCommaAt(c);
    std::string number(spanAround(c.line, i - 1, isDigit));
    number += '.';
    number += spanAround(c.line, i + 1, isDigit);
    return "Skriv decimaltal med punktum i scriptet: " + number;
}

bool missingTimes(const HintContext& c)
{
    return isLetter(at(c, c.column)) && isDigit(at(c, c.column - 1));
}

std::string missingTimesHint(const HintContext& c)
{
    const std::string_view number = spanAround(c.line, c.column - 1, [](char ch) { return isDigit(ch) || ch == '.'; });
    const std::string_view name = spanAround(c.line, c.column, isLetter);
    return "Der mangler et gangetegn: " + std::string(number) + "*" + std::string(name);
}

bool functionWithArgument(const HintContext& c)
{
    return c.error == ScriptError::EqualsExpected && at(c, c.column) == '(';
}

std::string functionWithArgumentHint(const HintContext& c)
{
    const std::string_view name = spanAround(c.line, std::max(c.column - 1, 0), isLetter);
    return "Skriv " + std::string(name) +
           " = ...; t er underforst\xE5"
           "et";
}

bool unknownLetter(const HintContext& c)
{
    const std::string word = quotedWord(c);
    return (c.error == ScriptError::UnknownName || c.error == ScriptError::NeverDefined) && word.size() == 1 &&
           isLetter(word[0]);
}

std::string unknownLetterHint(const HintContext& c)
{
    return quotedWord(c) + " er ikke erkl\xE6ret. Mente du t? Den uafh\xE6ngige variabel hedder t.";
}

bool squareRoot(const HintContext& c)
{
    return quotedWord(c) == "sqrt";
}

std::string squareRootHint(const HintContext&)
{
    return "Kvadratroden hedder sqr: sqr(x)";
}

bool badStyle(const HintContext& c)
{
    const std::string word = lower(c.tokenText);
    return c.error == ScriptError::DataNameExpected && word.size() >= 2 && (word[0] == 'l' || word[0] == 'm') &&
           std::all_of(word.begin() + 1, word.end(), isDigit);
}

std::string badStyleHint(const HintContext&)
{
    return "Stregtyperne er l1\x96l6 (linjer) og m1\x96m6 (m\xE6rker)";
}

bool negativeExponent(const HintContext& c)
{
    int before = c.column - 1;
    while (before >= 0 && at(c, before) == ' ')
        --before;
    return at(c, c.column) == '-' && (at(c, before) == '^' || at(c, before) == '\'');
}

std::string negativeExponentHint(const HintContext&)
{
    return "S\xE6t en negativ eksponent i parentes: 2^(-1)";
}

// The words a misspelling is compared with, as the user sees them.
const std::vector<std::string>& knownWords()
{
    static const std::vector<std::string> Words = [] {
        std::vector<std::string> words = {"Konstanter", "Tabeller",     "DifferentialLigninger",
                                          "Funktioner", "GrafVariable", "TabelVariable",
                                          "hvis",       "eller",        "stop"};
        for (const char* function : {"sin", "cos", "tan", "cot", "arcsin", "arccos", "arctan", "arccot", "asin", "acos",
                                     "atan", "acot", "atn", "log", "ln", "exp", "sqr", "abs"})
            words.emplace_back(function);
        return words;
    }();
    return Words;
}

std::string closestWord(const HintContext& c)
{
    const std::string word = quotedWord(c);
    if (word.size() < 3 || findKeyword(word))
        return {};
    const int allowed = word.size() <= 5 ? 1 : 2;
    std::string best;
    int bestDistance = allowed + 1;
    for (const std::string& known : knownWords()) {
        const int d = editDistance(word, lower(known));
        if (d < bestDistance) {
            bestDistance = d;
            best = known;
        }
    }
    return best;
}

bool misspelt(const HintContext& c)
{
    const bool aboutName = c.error == ScriptError::UnknownName || c.error == ScriptError::NeverDefined ||
                           c.error == ScriptError::CannotStandHere;
    return aboutName && !closestWord(c).empty();
}

std::string misspeltHint(const HintContext& c)
{
    return "Mente du " + closestWord(c) + "?";
}

bool tableAsOutput(const HintContext& c)
{
    return c.error == ScriptError::UnknownName && c.tableAsOutput;
}

std::string tableAsOutputHint(const HintContext& c)
{
    return "Skriv " + std::string(c.tokenText) + "(t) for tabellens v\xE6rdier ved t";
}

struct HintRule {
    bool (*matches)(const HintContext&);
    std::string (*text)(const HintContext&);
};

// In order: the first rule that fits gives the hint.
constexpr HintRule Rules[] = {
    {tableAsOutput, tableAsOutputHint},
    {decimalComma, decimalCommaHint},
    {negativeExponent, negativeExponentHint},
    {missingTimes, missingTimesHint},
    {functionWithArgument, functionWithArgumentHint},
    {squareRoot, squareRootHint},
    {badStyle, badStyleHint},
    {unknownLetter, unknownLetterHint},
    {misspelt, misspeltHint},
};

}  // namespace

std::string errorHint(const HintContext& context)
{
    if (context.error == ScriptError::None || context.error == ScriptError::Abandoned)
        return {};
    for (const HintRule& rule : Rules)
        if (rule.matches(context))
            return rule.text(context);
    return {};
}

int editDistance(std::string_view a, std::string_view b)
{
    std::vector<int> row(b.size() + 1);
    for (std::size_t j = 0; j <= b.size(); ++j)
        row[j] = static_cast<int>(j);
    for (std::size_t i = 1; i <= a.size(); ++i) {
        int diagonal = row[0];
        row[0] = static_cast<int>(i);
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const int above = row[j];
            row[j] = std::min({above + 1, row[j - 1] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
            diagonal = above;
        }
    }
    return row[b.size()];
}

}  // namespace tavlix
