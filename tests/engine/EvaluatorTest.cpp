// The evaluator on hand-assembled code: operations, failures and notices, cache, domains, hvis, overflow.
#include "engine/Evaluator.h"

#include "EngineTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace tavlix;
using namespace tavlix::test;

namespace {

// A fresh model with a recording host for every test.
class EvaluatorTest : public ::testing::Test {
protected:
    RecordingHost host;
    RunState run;
    std::unique_ptr<Model> m = FreshModel(host, run);
};

constexpr double Failed = -12345.678;  // marks a case that must fail

struct ExprCase {
    const char* name;
    Code code;
    double expected;  // Failed: the evaluation fails
    std::vector<std::string> notices;
    double t = 0;
    double tolerance = 0;  // relative; 0 means exact
};

class EvaluatorExpr : public EvaluatorTest, public ::testing::WithParamInterface<ExprCase> {};

TEST_P(EvaluatorExpr, ValueFailureAndNotices)
{
    const ExprCase& c = GetParam();
    const int r = AddRecord(*m, "f", c.code);
    run.t = c.t;
    const double v = valueAt(*m, run, r);
    EXPECT_EQ(m->stackTop, 0);
    EXPECT_EQ(host.notices, c.notices);
    EXPECT_FALSE(run.abandoned);
    if (c.expected == Failed) {
        EXPECT_TRUE(run.failed);
        EXPECT_EQ(m->script.records[r].value, 0);
        EXPECT_EQ(m->script.records[r].cachedT, BigValue);
        EXPECT_EQ(m->error, ScriptError::CannotCompute);
        EXPECT_EQ(run.failedName.view(), "f");
        return;
    }
    EXPECT_FALSE(run.failed);
    if (c.tolerance == 0)
        EXPECT_EQ(v, c.expected);
    else
        EXPECT_NEAR(v, c.expected, std::fabs(c.expected) * c.tolerance);
}

const double E = std::exp(1.0);

INSTANTIATE_TEST_SUITE_P(
    Semantics, EvaluatorExpr,
    ::testing::Values(
        // bytes 0 0 0 0 0 0 240 63: zero bytes inside an operand do not end the code
        ExprCase{"ZeroBytesInOperand", Code().num(1.0), 1.0, {}}, ExprCase{"RefZeroIsT", Code().ref(0), 2.5, {}, 2.5},
        ExprCase{"ConstPi", Code().cnst(1), 3.14159265358979323846, {}},
        ExprCase{"SubLeftToRight", Code().num(1).num(2).op(OpCode::Sub).num(3).op(OpCode::Sub), -4, {}},
        ExprCase{"ApproxEqualTrue", Code().num(0.1).num(0.2).op(OpCode::Add).num(0.3).op(OpCode::Eq), 1, {}},
        ExprCase{"ApproxEqualFalse", Code().num(1).num(1.00000001).op(OpCode::Eq), 0, {}},
        ExprCase{"NotEqual", Code().num(1).num(1.00000001).op(OpCode::Ne), 1, {}},
        ExprCase{"LessEqual", Code().num(2).num(2).op(OpCode::Le), 1, {}},
        ExprCase{"Greater", Code().num(2).num(2).op(OpCode::Gt), 0, {}},
        ExprCase{"NegCubeWhole", Code().num(-2).num(3).op(OpCode::Pow), -8, {}},
        ExprCase{"MinusEightCubed", Code().num(-8).num(3).op(OpCode::Pow), -512, {}},
        ExprCase{"NegativeWholeExponent", Code().num(2).num(-2).op(OpCode::Pow), 0.25, {}},
        ExprCase{"ZeroToZero", Code().num(0).num(0).op(OpCode::Pow), 1, {}},
        ExprCase{"FractionalPower", Code().num(2).num(0.5).op(OpCode::Pow), std::sqrt(2.0), {}, 0, 1e-15},
        ExprCase{"NegBaseFraction",
                 Code().num(-2).num(0.5).op(OpCode::Pow),
                 Failed,
                 {noticeText(Notice::NegativeBaseFractionalPower)}},
        ExprCase{"CubeRootOfNegative",
                 Code().num(-8).num(1.0 / 3).op(OpCode::Pow),
                 Failed,
                 {noticeText(Notice::NegativeBaseFractionalPower)}},
        ExprCase{"ZeroNegativePower",
                 Code().num(0).num(-2).op(OpCode::Pow),
                 Failed,
                 {noticeText(Notice::ZeroToNegativePower)}},
        ExprCase{"ExpTooLarge", Code().num(88.5).op(OpCode::Exp), Failed, {noticeText(Notice::Overflow)}},
        ExprCase{"ExpUnderflowConstant", Code().num(-100.5).op(OpCode::Exp), 2e-39, {}},
        ExprCase{"ExpWholeBySquaring", Code().num(100).op(OpCode::Exp), std::exp(100.0), {}, 0, 1e-13},
        ExprCase{"ExpNegativeWhole", Code().num(-100).op(OpCode::Exp), std::exp(-100.0), {}, 0, 1e-13},
        ExprCase{"ExpFraction", Code().num(0.5).op(OpCode::Exp), std::sqrt(E), {}, 0, 1e-15},
        ExprCase{"DivByZero", Code().num(1).num(0).op(OpCode::Div), Failed, {noticeText(Notice::DivisionByZero)}},
        ExprCase{"LnZero", Code().num(0).op(OpCode::Ln), Failed, {}},
        ExprCase{"LogNegative", Code().num(-1).op(OpCode::Log), Failed, {}},
        ExprCase{"SqrtNegative", Code().num(-0.0001).op(OpCode::Sqrt), Failed, {}},
        ExprCase{"SqrtZero", Code().num(0).op(OpCode::Sqrt), 0, {}},
        ExprCase{"ArcsinBeyondOne", Code().num(1.0000001).op(OpCode::Arcsin), Failed, {}},
        ExprCase{"ArcsinOne", Code().num(1).op(OpCode::Arcsin), 1.5707963267948966, {}},
        ExprCase{"ArcsinHalf", Code().num(0.5).op(OpCode::Arcsin), std::asin(0.5), {}, 0, 1e-15},
        ExprCase{"ArccosZero", Code().num(0).op(OpCode::Arccos), 1.5707963267948966, {}},
        ExprCase{"ArccosBeyond", Code().num(-1.5).op(OpCode::Arccos), Failed, {}},
        ExprCase{"Arccot", Code().num(1).op(OpCode::Arccot), std::atan(1.0), {}, 0, 1e-15},
        ExprCase{"SinHuge", Code().num(1e19).op(OpCode::Sin), 0, {}},
        ExprCase{"TanHugeFails", Code().num(1e19).op(OpCode::Tan), Failed, {}},
        ExprCase{"CotZeroFails", Code().num(0).op(OpCode::Cot), Failed, {}},
        ExprCase{"Tan", Code().num(1).op(OpCode::Tan), std::tan(1.0), {}, 0, 1e-15},
        ExprCase{"AbsNeg", Code().num(-3).op(OpCode::Abs).op(OpCode::Neg), -3, {}},
        ExprCase{"UnknownByteSkipped", Code().num(4).op(OpCode(1)).op(OpCode::Sqrt), 2, {}}),
    [](const auto& info) { return std::string(info.param.name); });

// log is the base-10 logarithm to the last bit: whole at powers of ten, so that hvis(log(100) >= 2, 1, 0) is 1.
TEST_F(EvaluatorTest, LogIsExactAtPowersOfTen)
{
    const struct {
        double x, log;
    } cases[] = {{1, 0},
                 {10, 1},
                 {100, 2},
                 {1000, 3},
                 {1e-3, -3},
                 {0.1, -1},
                 {1e22, 22},
                 {1e300, 300},
                 {2, 0.30102999566398120},
                 {0.5, -0.30102999566398120}};
    for (const auto& c : cases) {
        const int r = AddRecord(*m, "f", Code().num(c.x).op(OpCode::Log));
        EXPECT_EQ(valueAt(*m, run, r), c.log) << "log(" << c.x << ")";
    }
    const int r = AddRecord(*m, "g", Code().num(100).op(OpCode::Log).num(2).op(OpCode::Ge));
    EXPECT_EQ(valueAt(*m, run, r), 1);  // log(100) >= 2
}

TEST_F(EvaluatorTest, StopRecordsNineteenNotTwentyFive)
{
    const int r = AddRecord(*m, "f", Code().op(OpCode::Stop));
    valueAt(*m, run, r);
    EXPECT_EQ(m->error, ScriptError::StopConditionMet);
    EXPECT_TRUE(run.stopped);
}

TEST_F(EvaluatorTest, DomainIsClosedAndNamesTheRecord)
{
    const int r = AddRecord(*m, "g", Code().ref(0).ref(0).op(OpCode::Mul), 0, 1);
    run.t = 1;
    EXPECT_EQ(valueAt(*m, run, r), 1);
    EXPECT_FALSE(run.failed);
    run.t = 1.5;
    valueAt(*m, run, r);
    EXPECT_TRUE(run.failed);
    EXPECT_EQ(m->error, ScriptError::CannotCompute);
    EXPECT_EQ(run.failedName.view(), "g");
    EXPECT_EQ(m->script.records[r].cachedT, BigValue);
}

TEST_F(EvaluatorTest, OutOfDomainOverridesEarlierErrorAndNameIsCut)
{
    const int r = AddRecord(*m, "abcdefghijklmnopqrstuvwxyz0123", Code().num(1), 0, 1);
    m->error = ScriptError::StopConditionMet;
    run.t = 2;
    valueAt(*m, run, r);
    EXPECT_EQ(m->error, ScriptError::CannotCompute);
    EXPECT_EQ(run.failedName.view(), "abcdefghijklmnopqrstuvwxy");
}

TEST_F(EvaluatorTest, CacheKeyedByTAlone)
{
    const int r = AddRecord(*m, "f", Code().ref(0).num(1).op(OpCode::Add));
    run.t = 2;
    EXPECT_EQ(valueAt(*m, run, r), 3);
    m->script.records[r].value = 42;  // a stale value is served while t has not changed
    EXPECT_EQ(valueAt(*m, run, r), 42);
    run.t = 3;
    EXPECT_EQ(valueAt(*m, run, r), 4);
}

TEST_F(EvaluatorTest, ReferencedRecordComputedOncePerT)
{
    const int g = AddRecord(*m, "g", Code().num(1).num(0).op(OpCode::Div));  // notice "1a" on every computation
    const int f = AddRecord(*m, "f", Code().ref(g).ref(g).op(OpCode::Add));
    run.t = 1;
    valueAt(*m, run, f);
    EXPECT_EQ(host.notices.size(), 1u);
    EXPECT_EQ(run.failedName.view(), "g");  // the first failing record names the message
    EXPECT_EQ(m->script.records[f].value, 0);
}

TEST_F(EvaluatorTest, FailedFlagShortCircuitsValueAt)
{
    const int r = AddRecord(*m, "f", Code().num(7));
    run.failed = true;
    EXPECT_EQ(valueAt(*m, run, r), 0);
    EXPECT_EQ(valueAt(*m, run, 0), 0);
}

TEST_F(EvaluatorTest, OdeVariableYieldsSolverState)
{
    const int r = AddRecord(*m, "y", Code().op(OpCode::Stop), 1, BigValue, true);
    m->rkf.y[r] = 7.25;
    EXPECT_EQ(valueAt(*m, run, r), 7.25);
    EXPECT_FALSE(run.failed);
}

// hvis(t = 0, 1, 1/t): only the chosen branch is computed.
TEST_F(EvaluatorTest, HvisComputesOnlyTheChosenBranch)
{
    const int f = AddRecord(*m, "f", Code());
    const int b1 = AddRecord(*m, "f", Code().num(1));
    const int b2 = AddRecord(*m, "f", Code().num(1).ref(0).op(OpCode::Div));
    SetCode(*m, f, Code().ref(0).num(0).op(OpCode::Eq).hvis(b1, b2).num(0).op(OpCode::Add));
    run.t = 0;
    EXPECT_EQ(valueAt(*m, run, f), 1);
    EXPECT_TRUE(host.notices.empty());
    run.t = -1;
    EXPECT_EQ(valueAt(*m, run, f), -1);
    EXPECT_FALSE(run.failed);
}

// hvis(t, stop, 5)
TEST_F(EvaluatorTest, HvisStopsWhenConditionPositive)
{
    const int f = AddRecord(*m, "f", Code());
    const int b1 = AddRecord(*m, "f", Code().op(OpCode::Stop));
    const int b2 = AddRecord(*m, "f", Code().num(5));
    SetCode(*m, f, Code().ref(0).hvis(b1, b2));
    run.t = 0;
    EXPECT_EQ(valueAt(*m, run, f), 5);
    run.t = 0.001;
    valueAt(*m, run, f);
    EXPECT_TRUE(run.failed);
    EXPECT_TRUE(run.stopped);
    EXPECT_EQ(m->error, ScriptError::StopConditionMet);
}

TEST_F(EvaluatorTest, FullStackNoticesAndRecordsThirteen)
{
    const int r = AddRecord(*m, "f", Code().num(1).num(2).op(OpCode::Add));
    m->stackTop = StackSize - 1;
    valueAt(*m, run, r);
    EXPECT_TRUE(run.failed);
    EXPECT_EQ(m->error, ScriptError::StackOverflow);
    EXPECT_EQ(host.notices, std::vector<std::string>{noticeText(Notice::Overflow)});
    EXPECT_EQ(m->stackTop, StackSize - 1);
}

struct TableCase {
    double x, y;
};
class TableLookup : public EvaluatorTest, public ::testing::WithParamInterface<TableCase> {};

TEST_P(TableLookup, InterpolatesAndHoldsTheEnds)
{
    PointTable& tab = growTo(m->script.tables, 1);
    m->script.tableCount = 1;
    const TablePoint pts[] = {{-BigValue, 1}, {0, 1}, {1, 10}, {2, 4}, {BigValue, 4}};
    tab.points.assign(std::begin(pts), std::end(pts));
    tab.pointCount = 3;
    const int r = AddRecord(*m, "f", Code().ref(0).table(1));
    run.t = GetParam().x;
    EXPECT_DOUBLE_EQ(valueAt(*m, run, r), GetParam().y);
}

INSTANTIATE_TEST_SUITE_P(Points, TableLookup,
                         ::testing::Values(TableCase{-1e30, 1}, TableCase{-1, 1}, TableCase{0, 1}, TableCase{0.5, 5.5},
                                           TableCase{1, 10}, TableCase{1.5, 7}, TableCase{2, 4}, TableCase{3, 4},
                                           TableCase{1e36, 4}));

struct OverflowCase {
    const char* name;
    Code code;
};
class EvaluatorOverflow : public EvaluatorTest, public ::testing::WithParamInterface<OverflowCase> {};

TEST_P(EvaluatorOverflow, AbandonsTheRunWithAText)
{
    const int r = AddRecord(*m, "f", GetParam().code);
    const double v = valueAt(*m, run, r);
    EXPECT_EQ(v, 0);
    EXPECT_TRUE(run.failed);
    EXPECT_TRUE(run.abandoned);
    EXPECT_FALSE(run.faultText.empty());
    EXPECT_TRUE(host.errors.empty());  // the run's end reports it
    EXPECT_EQ(m->stackTop, 0);
}

INSTANTIATE_TEST_SUITE_P(Faults, EvaluatorOverflow,
                         ::testing::Values(OverflowCase{"RepeatedSquaring", Code().num(10).num(400).op(OpCode::Pow)},
                                           OverflowCase{"NegativeWholePower",
                                                        Code().num(0.1).num(-400).op(OpCode::Pow)},
                                           OverflowCase{"Product", Code().num(1e300).num(1e300).op(OpCode::Mul)},
                                           OverflowCase{"Sum", Code().num(1.7e308).num(1.7e308).op(OpCode::Add)},
                                           OverflowCase{"Quotient", Code().num(1e300).num(1e-300).op(OpCode::Div)},
                                           OverflowCase{"ExpWhole", Code().num(1000).op(OpCode::Exp)}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(EvaluatorNumeric, ApproxEqualIsSymmetricAndRelative)
{
    const struct {
        double a, b;
        bool eq;
    } rows[] = {{0, 0, true},         {1e-37, 0, true},     {1e-30, 0, false},
                {1, 1 + 1e-10, true}, {1, 1 + 2e-9, false}, {1e20, 1e20 * (1 + 1e-10), true},
                {-1, 1, false}};
    for (const auto& row : rows) {
        EXPECT_EQ(approxEqual(row.a, row.b), row.eq) << row.a << " " << row.b;
        EXPECT_EQ(approxEqual(row.b, row.a), row.eq) << row.b << " " << row.a;
    }
}

}  // namespace

// A notice box keeps the code the documentation lists and says in Danish what it means.
TEST(NoticeText, KeepsTheCodeAndExplainsIt)
{
    const struct {
        Notice notice;
        const char* text;
    } rows[] = {
        {Notice::DivisionByZero, "1a: division med 0"},
        {Notice::ZeroToNegativePower,
         "2: 0 opl\xF8"
         "ftet til en negativ potens"},
        {Notice::NegativeBaseFractionalPower,
         "3: negativt tal opl\xF8"
         "ftet til en brudden potens"},
        {Notice::Overflow, "1: tallet bliver for stort"},
    };
    for (const auto& row : rows)
        EXPECT_STREQ(noticeText(row.notice), row.text);
}
