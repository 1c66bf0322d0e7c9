// Every error a script can reach: its code, its status-line text and where the caret goes.
#include "CompilerTestSupport.h"
#include "compiler/ScriptErrors.h"

#include <gtest/gtest.h>

#include <string>

using namespace tavlix;
using namespace tavlix::test;

namespace {

using namespace compiler_test;

// A script with "@" where the caret must land; "@" at the very end means the end of the last line.
struct ErrorCase {
    const char* name;
    std::string script;
    int code;
    std::string message;
};

void PrintTo(const ErrorCase& c, std::ostream* os)
{
    *os << c.name;
}

std::string ListValues(int n)
{
    return "konstanter\na = <" + Numbered(1, n - 1, "", ", ") + "@" + std::to_string(n) + ">";
}
std::string Constants(int n)
{
    return "konstanter\n" + Numbered(1, n - 1, "c", " = 1\n") + "@c" + std::to_string(n) + " = 1";
}
std::string Functions(int n)
{
    return "funktioner\n" + Numbered(1, n - 1, "f", " = 1\n") + "@f" + std::to_string(n) + " = 1";
}
std::string Tables(int n)
{
    return "tabeller\n" + Numbered(1, n - 1, "d", " = <(0, 0)>\n") + "@d" + std::to_string(n) + " = <(0, 0)>";
}
std::string Points(int n)
{
    return "tabeller\nd = <" + Numbered(1, n - 1, "(", ", 0), ") + "(@" + std::to_string(n) + ", 0)>";
}
std::string DeepParentheses(int n, int caretAt)
{
    std::string s = "funktioner\nf = ";
    for (int i = 0; i < n; ++i)
        s += (i == caretAt ? "@(" : "(");
    return s + "1" + std::string(n, ')');
}

const char* Used = " brugt f\xF8r";
const char* CannotStand = " kan ikke st\xE5 her";

const ErrorCase Cases[] = {
    {"NumberTooLarge", "konstanter\na = @1e999", 2, "1e999 for stort"},
    {"ExponentBeyondLong", "konstanter\na = @1e99999999999999999999", 2, "1e99999999999999999999 for stort"},
    {"UnclosedCommentInExpression", "konstanter\na = 2\n@(* open", 3, "*) forventet"},
    {"UnclosedCommentAfterDeclarations", "tabeller\nd = <(0, 0)>\n@(* open", 3, "*) forventet"},
    {"StrayCharacter", "@#", 4, "# ukendt"},
    {"StrayCharacterInExpression", "konstanter\na = 2 @# 3", 4, "# ukendt"},
    {"UndeclaredName", "funktioner\nf = @q", 4, "q ukendt"},
    {"FunctionUsedBeforeDefinition", "funktioner\nf = @g\ng = 1", 4, "g ukendt"},
    {"OwnNameInFunction", "funktioner\nf = @f + 1", 4, "f ukendt"},
    {"OutputNotAFunction", "konstanter\nk = 1\ntabelvariable\n@k", 4, "k ukendt"},
    {"GraphOutputUnknown", "grafvariable\nt, @q, l1", 4, "q ukendt"},
    {"EqualsMissing", "konstanter\nk @2", 5, "= forventet"},
    {"EqualsOverLexerError", "konstanter\nk @$ 2", 5, "= forventet"},
    {"ApostropheMissing", "differentialligninger\ny @= 1 <0>", 7, "' forventet"},
    {"CommaInDomain", "funktioner\nf = t <0 @1>", 8, ", forventet"},
    {"CommaInHvis", "funktioner\nf = hvis(t < 1, 1 @0)", 8, ", forventet"},
    {"CommaInTablePoint", "tabeller\nd = <(0 @0)>", 8, ", forventet"},
    {"TwoNamesInTableOutput", "tabelvariable\nt @t", 8, ", forventet"},
    {"TableOutputOverLexerError", "tabelvariable\nt @#", 8, ", forventet"},
    {"LessMissingInEquation", "differentialligninger\ny' = 1 @0", 9, "< forventet"},
    {"LessMissingInTable", "tabeller\nd = @(0, 0)", 9, "< forventet"},
    {"GreaterMissingInList", "konstanter\na = <1, 2@", 10, "> forventet"},
    {"GreaterMissingInEquation", "differentialligninger\ny' = 1 <0 @0>", 10, "> forventet"},
    {"GreaterMissingInTable", "tabeller\nd = <(0, 0) @(1, 1)>", 10, "> forventet"},
    {"NeverDefined", "differentialligninger\ny' = y*z <1>@", 11, "*z* ukendt"},
    {"OneOfTwoNeverDefined", "differentialligninger\ny' = a + b <0>\nfunktioner\nb = 1@", 11, "*a* ukendt"},
    {"ThousandthConstant", Constants(MaxConsts), 12, "For Mange datanavne"},
    {"ThousandFirstListValue", ListValues(MaxListValues + 1), 12, "For Mange datanavne"},
    {"RecordBeyondTheBound", Functions(MaxRecords + 1), 12, "For Mange datanavne"},
    {"TableBeyondTheBound", Tables(MaxTables + 1), 12, "For Mange datanavne"},
    {"BranchBeyondTheBound", "funktioner\n" + Numbered(1, MaxRecords - 2, "f", " = 1\n") + "g = hvis(t < 1, 1, @2)", 12,
     "For Mange datanavne"},
    {"OutputBeyondTheBound", "tabelvariable\n" + Repeated("t, ", MaxOutputs) + "@t", 12, "For Mange datanavne"},
    {"DefinedTwice", "funktioner\nf = 2\n@f = 3", 14, std::string("f") + Used},
    {"PresetPi", "konstanter\n@pi = 3", 14, std::string("pi") + Used},
    {"PresetT", "funktioner\n@t = 2", 14, std::string("t") + Used},
    {"ConstantAsFunction", "konstanter\nk = 1\nfunktioner\n@k = 2", 14, std::string("k") + Used},
    {"TableAsConstantName", "konstanter\nk = 1\ntabeller\n@k = <(0, 0)>", 14, std::string("k") + Used},
    {"NoComparison", "funktioner\nf = hvis(t@, 1, 0)", 15, "< forventet"},
    {"NestedTooDeep", DeepParentheses(150, 100), 16, "Udtryk for stort"},
    {"CloseMissing", "funktioner\nf = (1@", 17, ") forventet"},
    {"CloseMissingInTablePoint", "tabeller\nd = <(0, 0@>", 17, ") forventet"},
    {"OpenMissingAfterFunction", "funktioner\nf = sin @t", 18, "( forventet"},
    {"OpenMissingInTable", "tabeller\nd = <@0, 0>", 18, "( forventet"},
    {"OpenMissingAfterTableName", "tabeller\nd = <(0, 0)>\nfunktioner\nf = d @t", 18, "( forventet"},
    {"SignAfterPower", "funktioner\nf = 2^@-1", 20, "Fejl i udtryk"},
    {"DoubleLess", "funktioner\nf = hvis(1 @<< 2, 1, 0)", 20, "Fejl i udtryk"},
    {"OperandMissing", "funktioner\nf = 2 * @)", 20, "Fejl i udtryk"},
    {"TwoSigns", "funktioner\nf = 2*@-3", 21, std::string("f") + CannotStand},
    {"NoSection", "@y = t^2", 21, std::string("y") + CannotStand},
    {"NoNameReadYet", "@/hej", 21, std::string("/") + CannotStand},
    {"SectionOutOfOrder", "funktioner\nf = 1\n@konstanter\na = 1", 21, std::string("konstanter") + CannotStand},
    {"SectionTwice", "konstanter\na = 1\n@konstanter\nb = 2", 21, std::string("konstanter") + CannotStand},
    {"KeywordDeclared", "konstanter\n@sin = 2", 21, std::string("sin") + CannotStand},
    {"LeftOverToken", "tabelvariable\n@5", 21, std::string("tabelvariable") + CannotStand},
    {"DecimalsTooMany", "tabelvariable\nt:@7", 23, "Heltal forventet"},
    {"DecimalsNotWhole", "tabelvariable\nt:@1.5", 23, "Heltal forventet"},
    {"StyleMissing", "grafvariable\nt, t, @l7", 24, "Datanavn forventet"},
    {"NameAfterComma", "tabelvariable\nt, @3", 24, "Datanavn forventet"},
    {"GraphYMissing", "grafvariable\nt, @3, l1", 24, "Datanavn forventet"},
    // A value computed while the script is read names what is declared: there is no t to blame.
    {"ConstantCannotBeComputed", "konstanter\na = ln(0)@", 25, "a kan ikke udregnes"},
    {"ListValueCannotBeComputed", "konstanter\na = <1, ln(0)@>", 25, "a kan ikke udregnes"},
    {"StopInConstant", "konstanter\na = hvis(1 < 2, stop, 1)@", 25, "a kan ikke udregnes"},
    {"TablePointCannotBeComputed", "tabeller\nd = <(0, ln(0)@)>", 25, "d kan ikke udregnes"},
    {"InitialValueCannotBeComputed", "differentialligninger\ny' = y <ln(0)@>", 25, "y kan ikke udregnes"},
    {"DomainCannotBeComputed", "funktioner\nf = t <0, ln(0)@>", 25, "f kan ikke udregnes"},
    {"PointBeyondTheBound", Points(MaxTablePoints + 1), 28, "Tabel for stor"},
    {"XNotIncreasing", "tabeller\nd = <(0, 0), (0, @1)>", 29, "Tabel i uorden"},
    {"StopInLastTable", "funktioner\nf = hvis(t < 3, 1, stop)\ntabelvariable\nt, f@", 19, "Stopbetingelse opfyldt i 3"},
};

// The script without its marker, and the marker's offset with CR LF line ends.
std::pair<std::string, int> SplitMarker(const std::string& marked)
{
    std::string script;
    int offset = -1, crlfOffset = 0;
    for (char c : marked) {
        if (c == '@') {
            offset = crlfOffset;
            continue;
        }
        script += c;
        crlfOffset += c == '\n' ? 2 : 1;
    }
    return {script, offset};
}

class ScriptErrors : public testing::TestWithParam<ErrorCase> {};

TEST_P(ScriptErrors, CodeMessageAndCaret)
{
    const ErrorCase& c = GetParam();
    auto [script, caret] = SplitMarker(c.script);
    ScriptCompiler compiler;
    RecordingHost host;
    RunResult r = RunScript(compiler, script, host);
    EXPECT_EQ(r.error, static_cast<ScriptError>(c.code));
    EXPECT_EQ(r.message, c.message);
    EXPECT_EQ(r.caretOffset, caret);
    EXPECT_FALSE(r.abandoned);
    ASSERT_EQ(host.statuses.size(), 1u);
    EXPECT_EQ(host.statuses[0], c.message);
}

INSTANTIATE_TEST_SUITE_P(Compiler, ScriptErrors, testing::ValuesIn(Cases),
                         [](const testing::TestParamInfo<ErrorCase>& info) { return std::string(info.param.name); });

TEST(ScriptErrors, CaretLineAndColumn)
{
    ScriptCompiler compiler;
    RecordingHost host;
    RunResult r = RunScript(compiler, "konstanter\n  a = 1\n  b 2", host);
    EXPECT_EQ(r.error, ScriptError::EqualsExpected);
    EXPECT_EQ(r.caretLine, 2);
    EXPECT_EQ(r.caretColumn, 4);
    r = RunScript(compiler, "konstanter\na = <1", host);
    EXPECT_EQ(r.caretLine, 1);
    EXPECT_EQ(r.caretColumn, 6);  // the end of the text: after the last line's last character
}

TEST(ScriptErrors, SuccessfulRunsShowNothing)
{
    for (const char* script : {"", "(* only a comment *)", "konstanter\nk = 2 ; b = 3", "KONSTANTER\nK = PI"}) {
        ScriptCompiler compiler;
        RecordingHost host;
        RunResult r = RunScript(compiler, script, host);
        EXPECT_EQ(r.error, ScriptError::None) << script;
        EXPECT_EQ(r.caretOffset, -1) << script;
        EXPECT_TRUE(host.statuses.empty()) << script;
        EXPECT_TRUE(host.tables.empty() && host.graphs.empty()) << script;
    }
}

// One compiler serves every run and check of a page: a message must come from its own script alone.
TEST(ScriptErrors, NothingOfAnEarlierRunReachesTheNext)
{
    const struct {
        const char* earlier;
        const char* script;
        std::string message;
    } rows[] = {
        {"funktioner\nf = arctn(t)", "/hej", std::string("/") + CannotStand},
        {"differentialligninger\ny' = sqr(1 - t) <0>\ntabelvariable\nt, y", "konstanter\nk = ln(0)",
         "k kan ikke udregnes"},
    };
    for (const auto& row : rows) {
        ScriptCompiler compiler;
        RecordingHost host;
        RunScript(compiler, row.earlier, host);
        EXPECT_EQ(RunScript(compiler, row.script, host).message, row.message) << row.script;
        compiler.check(ScriptLines(row.earlier), std::chrono::seconds(1));
        EXPECT_EQ(compiler.check(ScriptLines(row.script), std::chrono::seconds(1)).message, row.message);
    }
}

TEST(ScriptErrors, TextsAreCutAtTheirLengths)
{
    const std::string long40(40, 'a');
    EXPECT_EQ(errorMessage(ScriptError::UnknownName, long40, "", 0), std::string(32, 'a'));
    EXPECT_EQ(errorMessage(ScriptError::NameUsedBefore, long40, "", 0), std::string(35, 'a'));
    EXPECT_EQ(errorMessage(ScriptError::CannotCompute, long40, "", 0), std::string(40, 'a') + " kan i0");
    EXPECT_EQ(errorMessage(ScriptError::CannotCompute, "abc", "", 0), "abc kan ikke udregnes i 0");
    EXPECT_EQ(errorMessage(ScriptError::StackOverflow, "x", "", 0),
              "Internt stakoverl\xF8"
              "b");
    EXPECT_EQ(errorMessage(ScriptError::ToleranceNotMet, "x", "", 2.5), "Beregningsusikkerhed for stor i 2,5");
    EXPECT_EQ(errorMessage(ScriptError::CannotStandHere, "x", "navn", 0), std::string("navn") + CannotStand);
    EXPECT_EQ(errorMessage(static_cast<ScriptError>(30), "x", "", 0), "");
    EXPECT_STREQ(expectedTokenText(ScriptError::DataNameExpected), "Datanavn");
    EXPECT_EQ(expectedTokenText(ScriptError::UnknownName), nullptr);
}

// Errors the engine meets while it makes a page: the code is taken over, the t is wherever it failed.
struct EngineErrorCase {
    const char* name;
    std::string script;
    int code;
    std::string messageStart;
};

void PrintTo(const EngineErrorCase& c, std::ostream* os)
{
    *os << c.name;
}

const EngineErrorCase EngineCases[] = {
    {"ToleranceCannotBeMet", "differentialligninger\ny' = y^2 <1>\ntabelvariable\nt, y", 22,
     "Beregningsusikkerhed for stor i "},
    {"DerivativeFails", "differentialligninger\ny' = sqr(1 - t) <0>\ntabelvariable\nt, y", 25,
     "y kan ikke udregnes i "},
    {"StopInDerivative", "differentialligninger\ny' = hvis(t < 2, 1, stop) <0>\ngrafvariable\nt, y, l1", 19,
     "Stopbetingelse opfyldt i "},
    {"StackFull", StackChain(StackSize + 1), 13,
     "Internt stakoverl\xF8"
     "b"},
};

class EngineErrors : public testing::TestWithParam<EngineErrorCase> {};

TEST_P(EngineErrors, TakenOverAtTheEnd)
{
    const EngineErrorCase& c = GetParam();
    ScriptCompiler compiler;
    RecordingHost host;
    RunResult r = RunScript(compiler, c.script, host);
    EXPECT_EQ(r.error, static_cast<ScriptError>(c.code));
    EXPECT_EQ(r.message.substr(0, c.messageStart.size()), c.messageStart) << r.message;
    EXPECT_EQ(host.tables.size() + host.graphs.size(), 1u);  // the page stays
    // With another section after it, only the stop condition lets the run go on (and the next
    // page, following the same equation, meets it again).
    RecordingHost host2;
    RunResult r2 = RunScript(compiler, c.script + "\ntabelvariable\nt", host2);
    EXPECT_EQ(r2.error, static_cast<ScriptError>(c.code));
    EXPECT_EQ(host2.tables.size() + host2.graphs.size(), c.code == 19 ? 2u : 1u);
}

INSTANTIATE_TEST_SUITE_P(Compiler, EngineErrors, testing::ValuesIn(EngineCases),
                         [](const testing::TestParamInfo<EngineErrorCase>& info) {
                             return std::string(info.param.name);
                         });

}  // namespace
