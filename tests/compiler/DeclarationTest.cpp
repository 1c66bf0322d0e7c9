// What the section parser puts into the model, and the result pages a run makes through its host.
#include "CompilerTestSupport.h"
#include "engine/Opcodes.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

using namespace tavlix;
using namespace tavlix::test;

namespace {

using namespace compiler_test;

struct Compiled {
    ScriptCompiler compiler;
    RecordingHost host;
    RunResult result;
    explicit Compiled(const std::string& script, const SettingsTexts& settings = TestSettings())
    {
        result = RunScript(compiler, script, host, settings);
    }
    const Model& m() const { return *compiler.lastModel(); }
};

TEST(CompilerConstants, ValuesUseEarlierConstantsAndPi)
{
    Compiled c("konstanter\na = 2\nb = a*3 (* note *) ; c = pi\nd = d + 1\ne = t + 4");
    ASSERT_EQ(c.result.error, ScriptError::None);
    EXPECT_EQ(c.m().script.constantCount, 6);
    EXPECT_EQ(c.m().script.constantNames[3].view(), "b");
    EXPECT_EQ(c.m().script.constantValues[3], 6.0);
    EXPECT_EQ(c.m().script.constantValues[4], std::acos(-1.0));
    EXPECT_EQ(c.m().script.constantValues[5], 1.0);  // its own name stands for 0 until stored
    EXPECT_EQ(c.m().script.constantValues[6], 4.0);  // t is 0 in a constant
    EXPECT_FALSE(c.m().script.listConstants[2].has_value());
}

TEST(CompilerConstants, ListKeepsEveryValueAndStandsForItsFirst)
{
    Compiled c("konstanter\na = <1, 2, 1+2>\nb = a*10");
    ASSERT_EQ(c.result.error, ScriptError::None);
    ASSERT_TRUE(c.m().script.listConstants[2].has_value());
    const ListConstant* list = &*c.m().script.listConstants[2];
    EXPECT_EQ(list->count, 3);
    EXPECT_EQ(list->values[1], 1.0);
    EXPECT_EQ(list->values[3], 3.0);
    EXPECT_EQ(c.m().script.constantValues[2], 1.0);
    EXPECT_EQ(c.m().script.constantValues[3], 10.0);
}

TEST(CompilerConstants, ListHoldsItsBoundOfValuesAndNoMore)
{
    std::string full = "konstanter\na = <1";
    for (int i = 2; i <= MaxListValues; ++i)
        full += ", " + std::to_string(i);
    Compiled ok(full + ">");
    ASSERT_EQ(ok.result.error, ScriptError::None);
    EXPECT_EQ(ok.m().script.listConstants[2]->count, MaxListValues);
    EXPECT_EQ(ok.m().script.listConstants[2]->values[MaxListValues], MaxListValues);
    Compiled over(full + ", 0>");
    EXPECT_EQ(over.result.error, ScriptError::TooManyNames);
    EXPECT_EQ(over.m().script.listConstants[2]->count, MaxListValues);
}

TEST(CompilerTables, EndsReachToTheUnboundedValue)
{
    Compiled c("tabeller\nd = <(0, 1), (2, 3)>\ne = <(5, 7)>");
    ASSERT_EQ(c.result.error, ScriptError::None);
    const PointTable& d = c.m().script.tables[1];
    EXPECT_EQ(d.name.view(), "d");
    EXPECT_EQ(d.pointCount, 2);
    EXPECT_EQ(d.points[0].x, -BigValue);
    EXPECT_EQ(d.points[0].y, 1.0);
    EXPECT_EQ(d.points[2].x, 2.0);
    EXPECT_EQ(d.points[3].x, BigValue);
    EXPECT_EQ(d.points[3].y, 3.0);
    const PointTable& e = c.m().script.tables[2];
    EXPECT_EQ(e.pointCount, 1);
    EXPECT_EQ(e.points[0].y, 7.0);
    EXPECT_EQ(e.points[2].y, 7.0);
}

TEST(CompilerTables, TheBoundOfPointsFits)
{
    std::string s = "tabeller\nd = <(1, 1)";
    for (int i = 2; i <= MaxTablePoints; ++i)
        s += ", (" + std::to_string(i) + ", " + std::to_string(i) + ")";
    Compiled c(s + ">");
    ASSERT_EQ(c.result.error, ScriptError::None);
    EXPECT_EQ(c.m().script.tables[1].pointCount, MaxTablePoints);
    EXPECT_EQ(c.m().script.tables[1].points[MaxTablePoints + 1].y, MaxTablePoints);
}

TEST(CompilerForwardReferences, PendingUntilDefined)
{
    Compiled defined("differentialligninger\ny' = y*z <1>\nfunktioner\nz = 2");
    ASSERT_EQ(defined.result.error, ScriptError::None);
    EXPECT_EQ(defined.m().script.records[2].name.view(), "z");
    Compiled undefined("differentialligninger\ny' = y*z + w <1>\nu' = z <0>");
    EXPECT_EQ(undefined.result.error, ScriptError::NeverDefined);
    EXPECT_EQ(undefined.result.message, "*z**w* ukendt");  // every name still pending
    Compiled laterEquation("differentialligninger\ny' = z <1>\nz' = y <0>");
    EXPECT_EQ(laterEquation.result.error, ScriptError::None);
    EXPECT_EQ(laterEquation.m().script.records[2].isOdeVariable, true);
}

// Ten names of 30 characters fill more than the 255 characters of the pending text.
TEST(CompilerForwardReferences, PendingTextLongerThanItsFieldStillCounts)
{
    std::string sum, definitions;
    for (int i = 0; i < 10; ++i) {
        const std::string name = std::string(29, 'p') + static_cast<char>('a' + i);
        sum += (i ? " + " : "") + name;
        if (i < 9)
            definitions += name + " = 1\n";
    }
    const std::string equations = "differentialligninger\ny' = " + sum + " <0>\nfunktioner\n";
    Compiled missingLast(equations + definitions);
    EXPECT_EQ(missingLast.result.error, ScriptError::NeverDefined);
    EXPECT_EQ(missingLast.result.message, "*" + std::string(24, 'p') + " ukendt");
    Compiled all(equations + definitions + std::string(29, 'p') + "j = 2");
    EXPECT_EQ(all.result.error, ScriptError::None);
}

TEST(CompilerForwardReferences, OnlyInDifferentialEquations)
{
    Compiled c("differentialligninger\ny' = 1 <z>\nfunktioner\nz = 1");
    EXPECT_EQ(c.result.error, ScriptError::UnknownName);  // an initial value is a constant expression
    EXPECT_EQ(c.result.message, "z ukendt");
}

TEST(CompilerNames, LongNamesAreToldApartInFull)
{
    const std::string stem(25, 'a');
    Compiled c("konstanter\n" + stem + "x = 1\n" + stem + "y = 2\nfunktioner\nf = " + stem + "y");
    ASSERT_EQ(c.result.error, ScriptError::None);
    EXPECT_EQ(c.m().script.constantCount, 3);
    EXPECT_EQ(c.m().script.constantValues[3], 2.0);
    EXPECT_EQ(c.m().script.records[1].code[0], opByte(OpCode::Const));
    EXPECT_EQ(c.m().script.records[1].code[1], 3);
    const std::string name40(40, 'b');
    Compiled longName("funktioner\n" + name40 + " = 1\n" + name40 + " = 2");
    EXPECT_EQ(longName.result.error, ScriptError::NameUsedBefore);
    EXPECT_EQ(longName.result.message, std::string(25, 'b') + " brugt f\xF8r");
    EXPECT_EQ(longName.m().script.records[1].name.view(), std::string(31, 'b'));
}

TEST(CompilerFunctions, ABoundMayUseAnEarlierFunction)
{
    Compiled c("funktioner\nf = 2\ng = t <0, f+1>\nh = f + g");
    ASSERT_EQ(c.result.error, ScriptError::None) << c.result.message;
    EXPECT_EQ(c.m().script.records[2].domainHi, 3.0);
    EXPECT_TRUE(c.m().script.records[1].compiled);
}

TEST(CompilerFunctions, ConstantExpressionsReuseTheirBranchRecords)
{
    Compiled c("konstanter\na = hvis(1 < 2, 5, 6)\nfunktioner\nf = 1");
    ASSERT_EQ(c.result.error, ScriptError::None);
    EXPECT_EQ(c.m().script.constantValues[2], 5.0);
    EXPECT_EQ(c.m().script.recordCount, 1);
    EXPECT_EQ(c.m().script.records[1].name.view(), "f");
}

TEST(CompilerRun, TableSectionMakesACaptionedPage)
{
    Compiled c("funktioner\nf = 2*t\ntabelvariable\nt, f:2", TestSettings("0", "1", "2"));
    ASSERT_EQ(c.result.error, ScriptError::None);
    ASSERT_EQ(c.host.tables.size(), 1u);
    const RecordedTable& page = *c.host.tables[0];
    EXPECT_EQ(page.caption, "doc-1");
    EXPECT_EQ(page.cells[0][0], "t");
    EXPECT_EQ(page.cells[0][1], "f");
    EXPECT_EQ(page.rows, 5);  // header, three rows, the empty last row
    EXPECT_EQ(c.m().script.outputs[2].decimals, 2);
    EXPECT_EQ(c.m().script.outputs[1].decimals, 255);
    EXPECT_EQ(c.compiler.resultPageCount(), 1);
}

TEST(CompilerRun, EverySectionGetsItsOwnPageNumberedAcrossRuns)
{
    ScriptCompiler compiler;
    RecordingHost host;
    const std::string script =
        "funktioner\nf = t\ntabelvariable\nt, f\ngrafvariable\nt, f, l2 t, t, m3\ntabelvariable\nf";
    ASSERT_EQ(RunScript(compiler, script, host, TestSettings("0", "1", "2")).error, ScriptError::None);
    ASSERT_EQ(RunScript(compiler, script, host, TestSettings("0", "1", "2")).error, ScriptError::None);
    ASSERT_EQ(host.tables.size(), 4u);
    ASSERT_EQ(host.graphs.size(), 2u);
    EXPECT_EQ(host.tables[1]->caption, "doc-3");
    EXPECT_EQ(host.graphs[1]->caption, "doc-5");
    EXPECT_EQ(host.tables[1]->cols, 1);  // only its own section's variables
    EXPECT_EQ(host.tables[1]->cells[0][0], "f");
    ASSERT_EQ(host.graphs[0]->curves.size(), 2u);
    EXPECT_EQ(host.graphs[0]->curves[0].style, CurveStyle::Line2);
    EXPECT_EQ(host.graphs[0]->curves[1].style, CurveStyle::Mark3);
    EXPECT_EQ(compiler.resultPageCount(), 6);
}

TEST(CompilerRun, StopFollowedByMoreSectionsGoesOn)
{
    Compiled c("funktioner\nf = hvis(t < 3, 1, stop)\ntabelvariable\nf\ntabelvariable\nt");
    EXPECT_EQ(c.result.error, ScriptError::None);
    ASSERT_EQ(c.host.tables.size(), 2u);
    EXPECT_EQ(c.host.tables[1]->rows, 13);
}

TEST(CompilerRun, SettingsThatCannotBeEvaluatedAreZero)
{
    SettingsTexts s = TestSettings();
    s[0] = "2*";
    s[1] = "3+4";
    Compiled c("", s);
    EXPECT_EQ(c.m().script.settings.values[0], 0.0);
    EXPECT_EQ(c.m().script.settings.values[1], 7.0);
    EXPECT_EQ(c.m().script.settings.values[9], 10.0);
    // A damaged setting is not silent: one notice names every setting that became 0.
    EXPECT_EQ(c.host.notices,
              std::vector<std::string>{"Koordinatindstillingen Xmin kan ikke beregnes; 0 bruges i stedet. Ret den "
                                       "under Koordinater (F8)."});
    s[13] = "";
    s[10] = std::string(10000, '(') + "200" + std::string(10000, ')');
    Compiled several("", s);
    EXPECT_EQ(several.host.notices,
              std::vector<std::string>{"Koordinatindstillingerne Xmin, TAntal og Relativ kan ikke beregnes; 0 bruges "
                                       "i stedet. Ret dem under Koordinater (F8)."});
    EXPECT_EQ(several.m().script.settings.values[10], 0.0);
    Compiled fine("");
    EXPECT_TRUE(fine.host.notices.empty());
}

TEST(CompilerRun, AnOverflowAbandonsTheRunWithoutAStatusMessage)
{
    Compiled c("konstanter\na = 10^400\nb = 1/0");
    EXPECT_TRUE(c.result.abandoned);
    EXPECT_EQ(c.result.error, ScriptError::None);
    EXPECT_TRUE(c.host.statuses.empty());
    EXPECT_EQ(c.host.errors.size(), 1u);
    EXPECT_TRUE(c.host.notices.empty());  // parsing stopped before b
    Compiled next("konstanter\na = 1");   // the next run starts clean
    EXPECT_FALSE(next.result.abandoned);
}

TEST(CompilerRun, NestingOfConditionsIsBounded)
{
    std::string deep = "funktioner\nf = hvis(" + std::string(300, '(') + "t < 1" + std::string(300, ')') + ", 1, 0)";
    Compiled c(deep);
    EXPECT_EQ(c.result.error, ScriptError::ExpressionTooComplex);
    Compiled ok("funktioner\nf = hvis(" + std::string(20, '(') + "t < 1" + std::string(20, ')') + ", 1, 0)");
    EXPECT_EQ(ok.result.error, ScriptError::None);
}

}  // namespace
