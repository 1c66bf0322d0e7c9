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

bool isNameChar(char c)
{
    return isLetter(c) || isDigit(c) || c == '_';
}

// The name the message quotes: a name never defined stands between asterisks; "kan ikke stå her" quotes the last
// name only when it is the token at the caret.
std::string quotedWord(const HintContext& c)
{
    std::string_view word = c.tokenText;
    if (c.error == ScriptError::NeverDefined && word.size() > 2 && word.front() == '*') {
        word.remove_prefix(1);
        word = word.substr(0, word.find('*'));
    }
    if (c.error == ScriptError::CannotStandHere && c.tokenText != c.lastName)
        return {};
    return lower(word);
}

bool aboutUnknownName(const HintContext& c)
{
    return c.error == ScriptError::UnknownName || c.error == ScriptError::NeverDefined;
}

bool aboutName(const HintContext& c)
{
    const std::string word = quotedWord(c);
    return (aboutUnknownName(c) || c.error == ScriptError::CannotStandHere) && !word.empty() && isLetter(word[0]);
}

// The first character after position i that is no space.
int nextNonSpace(const HintContext& c, int i)
{
    while (at(c, i) == ' ' || at(c, i) == '\t')
        ++i;
    return i;
}

// The text from i to the parenthesis that closes the one at i (or the line's end).
std::string_view bracketed(std::string_view line, int i)
{
    int depth = 0, end = i;
    for (; end < static_cast<int>(line.size()); ++end) {
        depth += line[static_cast<std::size_t>(end)] == '(' ? 1 : line[static_cast<std::size_t>(end)] == ')' ? -1 : 0;
        if (depth == 0)
            break;
    }
    end = std::min(end + 1, static_cast<int>(line.size()));
    return line.substr(static_cast<std::size_t>(i), static_cast<std::size_t>(end - i));
}

// A name, a number or a parenthesised expression starting at i.
std::string_view operandAt(const HintContext& c, int i)
{
    if (at(c, i) == '(')
        return bracketed(c.line, i);
    int end = i;
    while (isNameChar(at(c, end)) || at(c, end) == '.')
        ++end;
    return c.line.substr(std::min(static_cast<std::size_t>(i), c.line.size()), static_cast<std::size_t>(end - i));
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
    return "Brug punktum som decimaltegn: " + number;
}

bool missingTimes(const HintContext& c)
{
    return isLetter(at(c, c.column)) && isDigit(at(c, c.column - 1));
}

std::string missingTimesHint(const HintContext& c)
{
    const std::string_view number = spanAround(c.line, c.column - 1, [](char ch) { return isDigit(ch) || ch == '.'; });
    const std::string_view name = spanAround(c.line, c.column, isLetter);
    const int after = c.column + static_cast<int>(name.size());
    const std::string_view argument = at(c, after) == '(' ? bracketed(c.line, after) : std::string_view();
    return "Der mangler et gangetegn: " + std::string(number) + "*" + std::string(name) + std::string(argument);
}

bool functionWithArgument(const HintContext& c)
{
    return c.error == ScriptError::EqualsExpected && at(c, c.column) == '(';
}

std::string functionWithArgumentHint(const HintContext& c)
{
    const std::string_view name = spanAround(c.line, std::max(c.column - 1, 0), isLetter);
    return "Skriv " + std::string(name) + " = \x85; t er altid variablen";
}

// e^t: e is no constant of the language.
bool powerOfE(const HintContext& c)
{
    const int after = nextNonSpace(c, c.column + 1);
    return aboutUnknownName(c) && quotedWord(c) == "e" && (at(c, after) == '^' || at(c, after) == '\'');
}

std::string powerOfEHint(const HintContext& c)
{
    const int power = nextNonSpace(c, c.column + 1);
    const std::string_view exponent = operandAt(c, nextNonSpace(c, power + 1));
    std::string inner(exponent);
    if (inner.size() >= 2 && inner.front() == '(' && inner.back() == ')')
        inner = inner.substr(1, inner.size() - 2);
    return "Skriv exp(" + inner + ") i stedet for e^" + std::string(exponent);
}

bool commonWord(const HintContext& c)
{
    return aboutName(c) && !commonWordHint(quotedWord(c)).empty();
}

std::string commonWordRuleHint(const HintContext& c)
{
    return commonWordHint(quotedWord(c));
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

// A declaration at the top of a script: "y = ..." or "y' = ..." before any section word.
bool missingSection(const HintContext& c)
{
    if (!c.beforeSections || !aboutName(c))
        return false;
    const char next =
        at(c, nextNonSpace(c, c.column + static_cast<int>(spanAround(c.line, c.column, isNameChar).size())));
    return next == '=' || next == '\'' || next == '^';
}

std::string missingSectionHint(const HintContext&)
{
    return "Mangler der en sektion, fx Funktioner, f\xF8r denne linje?";
}

// x, the variable of the books, is t here.
bool variableX(const HintContext& c)
{
    return aboutUnknownName(c) && quotedWord(c) == "x";
}

std::string variableXHint(const HintContext&)
{
    return "Den uafh\xE6ngige variabel hedder t: skriv t i stedet for x";
}

const std::vector<std::string>& declared(const HintContext& c)
{
    static const std::vector<std::string> None;
    return c.declaredNames ? *c.declaredNames : None;
}

bool misspelt(const HintContext& c)
{
    return aboutName(c) && !findKeyword(quotedWord(c)) && !closestKnownWord(quotedWord(c), declared(c)).empty();
}

std::string misspeltHint(const HintContext& c)
{
    return "Mente du " + closestKnownWord(quotedWord(c), declared(c)) + "?";
}

// No known word is near: better no guess than a wrong one. A declared name is known, only misplaced; a name used
// in an equation and never defined is among the declared ones, waiting for its definition.
bool undeclared(const HintContext& c)
{
    const std::vector<std::string>& names = declared(c);
    return aboutUnknownName(c) && aboutName(c) &&
           (c.error == ScriptError::NeverDefined ||
            std::find(names.begin(), names.end(), quotedWord(c)) == names.end());
}

std::string undeclaredHint(const HintContext&)
{
    return "Erkl\xE6r den under Konstanter eller Funktioner";
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
    {powerOfE, powerOfEHint},
    {commonWord, commonWordRuleHint},
    {badStyle, badStyleHint},
    {missingSection, missingSectionHint},
    {variableX, variableXHint},
    {misspelt, misspeltHint},
    {undeclared, undeclaredHint},
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

}  // namespace tavlix
