// The check while typing: the error a run would stop at, with nothing generated, and the hints under it.
#include "CompilerTestSupport.h"
#include "compiler/ScriptHints.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

using namespace std::chrono_literals;

namespace {

using namespace compiler_test;

// A script with "@" where the caret must land; without "@" the check finds no error.
struct CheckCase {
    const char* name;
    std::string script;
    ScriptError error;
    std::string message;
    std::string hint;  // Windows-1252; "" when no hint is expected
};

void PrintTo(const CheckCase& c, std::ostream* os)
{
    *os << c.name;
}

class ScriptCheck : public testing::TestWithParam<CheckCase> {};

TEST_P(ScriptCheck, FindsTheErrorAtTheCaretWithItsHint)
{
    const CheckCase& c = GetParam();
    std::string script = c.script;
    const std::size_t at = script.find('@');
    int line = -1, column = -1;
    if (at != std::string::npos) {
        script.erase(at, 1);
        const std::size_t lineStart = script.rfind('\n', at == 0 ? 0 : at - 1);
        line = static_cast<int>(std::count(script.begin(), script.begin() + static_cast<long>(at), '\n'));
        column = static_cast<int>(line == 0 ? at : at - lineStart - 1);
    }
    const std::vector<std::string> lines = ScriptLines(script);

    ScriptCompiler compiler;
    const RunResult r = compiler.check(lines, 1000ms);
    EXPECT_EQ(r.error, c.error);
    EXPECT_EQ(r.message, c.message);
    EXPECT_EQ(r.caretLine, line);
    EXPECT_EQ(r.caretColumn, column);
    EXPECT_EQ(r.hint, c.hint);
    EXPECT_EQ(compiler.resultPageCount(), 0);
    // A run stops at the same place with the same words as the check.
    if (c.error == ScriptError::None)
        return;
    RecordingHost host;
    const RunResult run = RunScript(compiler, script, host);
    EXPECT_EQ(run.message, c.message);
    EXPECT_EQ(run.caretColumn, column);
    EXPECT_EQ(run.hint, c.hint);
}

const char* const Undeclared = "Erkl\xE6r den under Konstanter eller Funktioner";

const CheckCase Cases[] = {
    // The common mistakes.
    {"DecimalComma", "konstanter\n  hastighed = 2@,5", ScriptError::CannotStandHere, "hastighed kan ikke st\xE5 her",
     "Brug punktum som decimaltegn: 2.5"},
    {"MissingTimes", "funktioner\n  f = 2@sin(t)", ScriptError::CannotStandHere, "sin kan ikke st\xE5 her",
     "Der mangler et gangetegn: 2*sin(t)"},
    {"FunctionWithArgument", "funktioner\n  f@(t) = t", ScriptError::EqualsExpected, "= forventet",
     "Skriv f = \x85; t er altid variablen"},
    {"MissingSection", "@y = t^2", ScriptError::CannotStandHere, "y kan ikke st\xE5 her",
     "Mangler der en sektion, fx Funktioner, f\xF8r denne linje?"},
    {"MissingSectionBeforeEquation", "@y' = y <1>", ScriptError::CannotStandHere, "y kan ikke st\xE5 her",
     "Mangler der en sektion, fx Funktioner, f\xF8r denne linje?"},
    {"NoNameReadYet", "@/hej", ScriptError::CannotStandHere, "/ kan ikke st\xE5 her", ""},
    {"StyleOutOfRange", "funktioner\n  f = t\ngrafvariable\n  t, f, @l7", ScriptError::DataNameExpected,
     "Datanavn forventet", "Stregtyperne er l1\x96l6 (linjer) og m1\x96m6 (m\xE6rker)"},
    {"NegativeExponent", "funktioner\n  f = 2^@-1", ScriptError::ExpressionError, "Fejl i udtryk",
     "S\xE6t en negativ eksponent i parentes: 2^(-1)"},
    {"VariableX", "funktioner\n  f = 2*@x", ScriptError::UnknownName, "x ukendt",
     "Den uafh\xE6ngige variabel hedder t: skriv t i stedet for x"},
    {"PowerOfE", "funktioner\n  f = @e^(2*t)", ScriptError::UnknownName, "e ukendt",
     "Skriv exp(2*t) i stedet for e^(2*t)"},
    // Words from books and other programs.
    {"SquareRoot", "funktioner\n  f = @sqrt(t)", ScriptError::UnknownName, "sqrt ukendt", "Kvadratrod hedder sqr"},
    {"DanishSquareRoot", "funktioner\n  f = @kvadratrod(t)", ScriptError::UnknownName, "kvadratrod ukendt",
     "Kvadratrod hedder sqr"},
    {"DanishSine", "funktioner\n  f = @Sinus(t)", ScriptError::UnknownName, "sinus ukendt", "Sinus hedder sin"},
    {"DanishCosine", "funktioner\n  f = @cosinus(t)", ScriptError::UnknownName, "cosinus ukendt", "Cosinus hedder cos"},
    {"Log10", "funktioner\n  f = @log10(t)", ScriptError::UnknownName, "log10 ukendt", "Titalslogaritmen hedder log"},
    {"Ln10", "funktioner\n  f = @ln10(t)", ScriptError::UnknownName, "ln10 ukendt", "Titalslogaritmen hedder log"},
    // Suggestions: close (one edit up to four letters, two beyond), swapped neighbours, far.
    {"MisspeltSection", "@Funktionr\n  f = t", ScriptError::CannotStandHere, "funktionr kan ikke st\xE5 her",
     "Mente du Funktioner?"},
    {"MisspeltFunction", "funktioner\n  f = @sinn(t)", ScriptError::UnknownName, "sinn ukendt", "Mente du sin?"},
    {"SwappedSin", "funktioner\n  f = @sni(t)", ScriptError::UnknownName, "sni ukendt", "Mente du sin?"},
    {"SwappedCos", "funktioner\n  f = @cso(t)", ScriptError::UnknownName, "cso ukendt", "Mente du cos?"},
    {"SwappedTan", "funktioner\n  f = @tna(t)", ScriptError::UnknownName, "tna ukendt", "Mente du tan?"},
    {"TwoEditsInALongWord", "funktioner\n  f = @arkatn(t)", ScriptError::UnknownName, "arkatn ukendt",
     "Mente du arctan?"},
    {"DeclaredNameSwapped", "konstanter\n  hastighed = 2\nfunktioner\n  s = @hastihged*t", ScriptError::UnknownName,
     "hastihged ukendt", "Mente du hastighed?"},
    {"TwoEditsInAShortWordIsFar", "funktioner\n  f = @kost(t)", ScriptError::UnknownName, "kost ukendt", Undeclared},
    {"OneLetterIsFar", "konstanter\n  k = 2\nfunktioner\n  f = @a*t", ScriptError::UnknownName, "a ukendt", Undeclared},
    {"FarFromEverything", "funktioner\n  f = @fart*t", ScriptError::UnknownName, "fart ukendt", Undeclared},
    {"NeverDefinedIsFar", "differentialligninger\n  y' = y*hastighed <1>@", ScriptError::NeverDefined,
     "*hastighed* ukendt", Undeclared},
    // A table is drawn as its points against t, and nowhere else stands for values.
    {"TableInTable", "tabeller\n  Maal = <(0, 1), (1, 2)>\ntabelvariable\n  t, @Maal", ScriptError::UnknownName,
     "maal ukendt", "Skriv maal(t) for tabellens v\xE6rdier ved t"},
    {"TableAsX", "tabeller\n  maal = <(0, 1), (1, 2)>\ngrafvariable\n  @maal, t, m1", ScriptError::UnknownName,
     "maal ukendt", "Skriv maal(t) for tabellens v\xE6rdier ved t"},
    {"TablePoints", "tabeller\n  maal = <(0, 1), (1, 2)>\ngrafvariable\n  t, maal, m1", ScriptError::None, "", ""},
    {"NoHint", "funktioner\n  f = (t@", ScriptError::CloseParenExpected, ") forventet", ""},
    // Generation errors are the run's: a check stops before the output.
    {"OutputNeverGenerated", "funktioner\n  f = 1/(t-t)\ntabelvariable\n  t, f", ScriptError::None, "", ""},
};

INSTANTIATE_TEST_SUITE_P(Scripts, ScriptCheck, testing::ValuesIn(Cases),
                         [](const auto& info) { return std::string(info.param.name); });

std::vector<std::string> ExampleLines(const char* name)
{
    std::ifstream in(std::string(TAVLIX_TEST_DIR) + "/../examples/" + name, std::ios::binary);
    std::vector<std::string> lines;
    std::string line;
    for (int i = 0; std::getline(in, line); ++i) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (i >= 16)  // the sixteen settings come first
            lines.push_back(line);
    }
    return lines;
}

TEST(ScriptCheckExamples, FindNoErrorAndKnowTheDeclaredNames)
{
    ScriptCompiler compiler;
    const std::vector<std::string> lines = ExampleLines("simpel.tvx");
    ASSERT_GT(lines.size(), 5u);
    const RunResult r = compiler.check(lines, 1000ms);
    EXPECT_EQ(r.error, ScriptError::None);
    EXPECT_FALSE(r.abandoned);
    const std::vector<std::string>& names = compiler.declaredNames();
    for (const char* name : {"r", "k", "maalt", "y", "eksakt", "data"})
        EXPECT_NE(std::find(names.begin(), names.end(), name), names.end()) << name;
    EXPECT_EQ(compiler.check(ExampleLines("2sin.tvx"), 1000ms).error, ScriptError::None);
}

TEST(ScriptCheckBudget, CutsOffAScriptOfManyConstantsWithoutError)
{
    std::string script = "konstanter\n";
    for (int i = 0; i < 20000; ++i)
        script += "  c" + std::to_string(i) + " = sin(1)*cos(2)+exp(0.5)\n";
    ScriptCompiler compiler;
    const RunResult r = compiler.check(ScriptLines(script), 0ms);
    EXPECT_TRUE(r.abandoned);
    EXPECT_EQ(r.error, ScriptError::None);
    EXPECT_TRUE(r.message.empty());
}

TEST(EditDistance, CountsSingleEdits)
{
    const struct {
        const char* a;
        const char* b;
        int distance;
    } rows[] = {{"", "", 0},
                {"sin", "sin", 0},
                {"sinn", "sin", 1},
                {"funktionr", "funktioner", 1},
                {"kostanter", "konstanter", 1},
                {"abc", "xyz", 3},
                {"sni", "sin", 1},
                {"hastihged", "hastighed", 1},
                {"ab", "ba", 1},
                {"abc", "ca", 3},
                {"", "ln", 2}};
    for (const auto& row : rows)
        EXPECT_EQ(editDistance(row.a, row.b), row.distance) << row.a << " " << row.b;
}

}  // namespace
