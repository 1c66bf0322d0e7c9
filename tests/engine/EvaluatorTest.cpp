// The evaluator on hand-assembled code: operations, failures and notices, cache, domains, hvis, overflow.
#include "engine/Evaluator.h"

#include "EngineTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

// A fresh model with a recording host for every test.
class EvaluatorTest : public ::testing::Test {
protected:
    RecordingHost host;
    std::unique_ptr<datarec> m = FreshModel(host);
};

constexpr double Failed = -12345.678;  // marks a case that must fail

struct ExprCase {
    const char* name;
    Code code;
    double expected;            // Failed: the evaluation fails
    std::vector<std::string> notices;
    double t = 0;
    double tolerance = 0;       // relative; 0 means exact
};

class EvaluatorExpr : public EvaluatorTest, public ::testing::WithParamInterface<ExprCase> {};

TEST_P(EvaluatorExpr, ValueFailureAndNotices)
{
    const ExprCase& c = GetParam();
    const int r = AddRecord(*m, "f", c.code);
    Eng.T = c.t;
    const double v = ValueAt(*m, r);
    EXPECT_EQ(m->StackTop, 0);
    EXPECT_EQ(host.notices, c.notices);
    EXPECT_FALSE(Eng.Abandoned);
    if (c.expected == Failed) {
        EXPECT_TRUE(Eng.EvalFailed);
        EXPECT_EQ(m->Records[r].Value, 0);
        EXPECT_EQ(m->Records[r].CacheT, BigValue);
        EXPECT_EQ(m->EngineError, 25);
        EXPECT_EQ(Eng.TokenText.view(), "f");
        return;
    }
    EXPECT_FALSE(Eng.EvalFailed);
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
        ExprCase{"ZeroBytesInOperand", Code().num(1.0), 1.0, {}},
        ExprCase{"RefZeroIsT", Code().ref(0), 2.5, {}, 2.5},
        ExprCase{"ConstPi", Code().cnst(1), 3.14159265358979323846, {}},
        ExprCase{"SubLeftToRight", Code().num(1).num(2).op(OpSub).num(3).op(OpSub), -4, {}},
        ExprCase{"ApproxEqualTrue", Code().num(0.1).num(0.2).op(OpAdd).num(0.3).op(OpEq), 1, {}},
        ExprCase{"ApproxEqualFalse", Code().num(1).num(1.00000001).op(OpEq), 0, {}},
        ExprCase{"NotEqual", Code().num(1).num(1.00000001).op(OpNe), 1, {}},
        ExprCase{"LessEqual", Code().num(2).num(2).op(OpLe), 1, {}},
        ExprCase{"Greater", Code().num(2).num(2).op(OpGt), 0, {}},
        ExprCase{"NegCubeWhole", Code().num(-2).num(3).op(OpPow), -8, {}},
        ExprCase{"MinusEightCubed", Code().num(-8).num(3).op(OpPow), -512, {}},
        ExprCase{"NegativeWholeExponent", Code().num(2).num(-2).op(OpPow), 0.25, {}},
        ExprCase{"ZeroToZero", Code().num(0).num(0).op(OpPow), 1, {}},
        ExprCase{"FractionalPower", Code().num(2).num(0.5).op(OpPow), std::sqrt(2.0), {}, 0, 1e-15},
        ExprCase{"NegBaseFraction", Code().num(-2).num(0.5).op(OpPow), Failed, {"3"}},
        ExprCase{"CubeRootOfNegative", Code().num(-8).num(1.0 / 3).op(OpPow), Failed, {"3"}},
        ExprCase{"ZeroNegativePower", Code().num(0).num(-2).op(OpPow), Failed, {"2"}},
        ExprCase{"ExpTooLarge", Code().num(88.5).op(OpExp), Failed, {"1"}},
        ExprCase{"ExpUnderflowConstant", Code().num(-100.5).op(OpExp), 2e-39, {}},
        ExprCase{"ExpWholeBySquaring", Code().num(100).op(OpExp), std::exp(100.0), {}, 0, 1e-13},
        ExprCase{"ExpNegativeWhole", Code().num(-100).op(OpExp), std::exp(-100.0), {}, 0, 1e-13},
        ExprCase{"ExpFraction", Code().num(0.5).op(OpExp), std::sqrt(E), {}, 0, 1e-15},
        ExprCase{"DivByZero", Code().num(1).num(0).op(OpDiv), Failed, {"1a"}},
        ExprCase{"LnZero", Code().num(0).op(OpLn), Failed, {}},
        ExprCase{"LogNegative", Code().num(-1).op(OpLog), Failed, {}},
        ExprCase{"LogTenDecimalFactor", Code().num(1000).op(OpLog), std::log(1000.0) * 0.4342944819, {}, 0, 1e-15},
        ExprCase{"SqrtNegative", Code().num(-0.0001).op(OpSqrt), Failed, {}},
        ExprCase{"SqrtZero", Code().num(0).op(OpSqrt), 0, {}},
        ExprCase{"ArcsinBeyondOne", Code().num(1.0000001).op(OpArcsin), Failed, {}},
        ExprCase{"ArcsinOne", Code().num(1).op(OpArcsin), 1.5707963267948966, {}},
        ExprCase{"ArcsinHalf", Code().num(0.5).op(OpArcsin), std::asin(0.5), {}, 0, 1e-15},
        ExprCase{"ArccosZero", Code().num(0).op(OpArccos), 1.5707963267948966, {}},
        ExprCase{"ArccosBeyond", Code().num(-1.5).op(OpArccos), Failed, {}},
        ExprCase{"Arccot", Code().num(1).op(OpArccot), std::atan(1.0), {}, 0, 1e-15},
        ExprCase{"SinHuge", Code().num(1e19).op(OpSin), 0, {}},
        ExprCase{"TanHugeFails", Code().num(1e19).op(OpTan), Failed, {}},
        ExprCase{"CotZeroFails", Code().num(0).op(OpCot), Failed, {}},
        ExprCase{"Tan", Code().num(1).op(OpTan), std::tan(1.0), {}, 0, 1e-15},
        ExprCase{"AbsNeg", Code().num(-3).op(OpAbs).op(OpNeg), -3, {}},
        ExprCase{"UnknownByteSkipped", Code().num(4).op(OpCode(1)).op(OpSqrt), 2, {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(EvaluatorTest, StopRecordsNineteenNotTwentyFive)
{
    const int r = AddRecord(*m, "f", Code().op(OpStop));
    ValueAt(*m, r);
    EXPECT_EQ(m->EngineError, 19);
    EXPECT_TRUE(Eng.StopFlag);
}

TEST_F(EvaluatorTest, DomainIsClosedAndNamesTheRecord)
{
    const int r = AddRecord(*m, "g", Code().ref(0).ref(0).op(OpMul), 0, 1);
    Eng.T = 1;
    EXPECT_EQ(ValueAt(*m, r), 1);
    EXPECT_FALSE(Eng.EvalFailed);
    Eng.T = 1.5;
    ValueAt(*m, r);
    EXPECT_TRUE(Eng.EvalFailed);
    EXPECT_EQ(m->EngineError, 25);
    EXPECT_EQ(Eng.TokenText.view(), "g");
    EXPECT_EQ(m->Records[r].CacheT, BigValue);
}

TEST_F(EvaluatorTest, OutOfDomainOverridesEarlierErrorAndNameIsCut)
{
    const int r = AddRecord(*m, "abcdefghijklmnopqrstuvwxyz0123", Code().num(1), 0, 1);
    m->EngineError = 19;
    Eng.T = 2;
    ValueAt(*m, r);
    EXPECT_EQ(m->EngineError, 25);
    EXPECT_EQ(Eng.TokenText.view(), "abcdefghijklmnopqrstuvwxy");
}

TEST_F(EvaluatorTest, CacheKeyedByTAlone)
{
    const int r = AddRecord(*m, "f", Code().ref(0).num(1).op(OpAdd));
    Eng.T = 2;
    EXPECT_EQ(ValueAt(*m, r), 3);
    m->Records[r].Value = 42;  // a stale value is served while t has not changed
    EXPECT_EQ(ValueAt(*m, r), 42);
    Eng.T = 3;
    EXPECT_EQ(ValueAt(*m, r), 4);
}

TEST_F(EvaluatorTest, ReferencedRecordComputedOncePerT)
{
    const int g = AddRecord(*m, "g", Code().num(1).num(0).op(OpDiv));  // notice "1a" on every computation
    const int f = AddRecord(*m, "f", Code().ref(g).ref(g).op(OpAdd));
    Eng.T = 1;
    ValueAt(*m, f);
    EXPECT_EQ(host.notices.size(), 1u);
    EXPECT_EQ(Eng.TokenText.view(), "g");  // the first failing record names the message
    EXPECT_EQ(m->Records[f].Value, 0);
}

TEST_F(EvaluatorTest, FailedFlagShortCircuitsValueAt)
{
    const int r = AddRecord(*m, "f", Code().num(7));
    Eng.EvalFailed = 1;
    EXPECT_EQ(ValueAt(*m, r), 0);
    EXPECT_EQ(ValueAt(*m, 0), 0);
}

TEST_F(EvaluatorTest, OdeVariableYieldsSolverState)
{
    const int r = AddRecord(*m, "y", Code().op(OpStop), 1, BigValue, true);
    m->Y[r] = 7.25;
    EXPECT_EQ(ValueAt(*m, r), 7.25);
    EXPECT_FALSE(Eng.EvalFailed);
}

// hvis(t = 0, 1, 1/t): only the chosen branch is computed.
TEST_F(EvaluatorTest, HvisComputesOnlyTheChosenBranch)
{
    const int f = AddRecord(*m, "f", Code());
    const int b1 = AddRecord(*m, "f", Code().num(1));
    const int b2 = AddRecord(*m, "f", Code().num(1).ref(0).op(OpDiv));
    SetCode(m->Records[f], Code().ref(0).num(0).op(OpEq).hvis(b1, b2).num(0).op(OpAdd));
    Eng.T = 0;
    EXPECT_EQ(ValueAt(*m, f), 1);
    EXPECT_TRUE(host.notices.empty());
    Eng.T = -1;
    EXPECT_EQ(ValueAt(*m, f), -1);
    EXPECT_FALSE(Eng.EvalFailed);
}

// hvis(t, stop, 5)
TEST_F(EvaluatorTest, HvisStopsWhenConditionPositive)
{
    const int f = AddRecord(*m, "f", Code());
    const int b1 = AddRecord(*m, "f", Code().op(OpStop));
    const int b2 = AddRecord(*m, "f", Code().num(5));
    SetCode(m->Records[f], Code().ref(0).hvis(b1, b2));
    Eng.T = 0;
    EXPECT_EQ(ValueAt(*m, f), 5);
    Eng.T = 0.001;
    ValueAt(*m, f);
    EXPECT_TRUE(Eng.EvalFailed);
    EXPECT_TRUE(Eng.StopFlag);
    EXPECT_EQ(m->EngineError, 19);
}

TEST_F(EvaluatorTest, FullStackNoticesAndRecordsThirteen)
{
    const int r = AddRecord(*m, "f", Code().num(1).num(2).op(OpAdd));
    m->StackTop = 99;
    ValueAt(*m, r);
    EXPECT_TRUE(Eng.EvalFailed);
    EXPECT_EQ(m->EngineError, 13);
    EXPECT_EQ(host.notices, std::vector<std::string>{"1"});
    EXPECT_EQ(m->StackTop, 99);
}

struct TableCase {
    double x, y;
};
class TableLookup : public EvaluatorTest, public ::testing::WithParamInterface<TableCase> {};

TEST_P(TableLookup, InterpolatesAndHoldsTheEnds)
{
    TableRec& tab = m->Tables[1];
    m->TableCount = 1;
    const TablePoint pts[] = {{-BigValue, 1}, {0, 1}, {1, 10}, {2, 4}, {BigValue, 4}};
    std::copy(std::begin(pts), std::end(pts), tab.Points);
    tab.DataBytes = 16 * 5;
    const int r = AddRecord(*m, "f", Code().ref(0).table(1));
    Eng.T = GetParam().x;
    EXPECT_DOUBLE_EQ(ValueAt(*m, r), GetParam().y);
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
    const double v = ValueAt(*m, r);
    EXPECT_EQ(v, 0);
    EXPECT_TRUE(Eng.EvalFailed);
    EXPECT_TRUE(Eng.Abandoned);
    EXPECT_FALSE(Eng.FaultText.empty());
    EXPECT_TRUE(host.errors.empty());  // the run's end reports it
    EXPECT_EQ(m->StackTop, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Faults, EvaluatorOverflow,
    ::testing::Values(OverflowCase{"RepeatedSquaring", Code().num(10).num(400).op(OpPow)},
                      OverflowCase{"NegativeWholePower", Code().num(0.1).num(-400).op(OpPow)},
                      OverflowCase{"Product", Code().num(1e300).num(1e300).op(OpMul)},
                      OverflowCase{"Sum", Code().num(1.7e308).num(1.7e308).op(OpAdd)},
                      OverflowCase{"Quotient", Code().num(1e300).num(1e-300).op(OpDiv)},
                      OverflowCase{"ExpWhole", Code().num(1000).op(OpExp)}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(EvaluatorNumeric, ApproxEqualIsSymmetricAndRelative)
{
    const struct {
        double a, b;
        bool eq;
    } rows[] = {{0, 0, true}, {1e-37, 0, true}, {1e-30, 0, false}, {1, 1 + 1e-10, true}, {1, 1 + 2e-9, false},
                {1e20, 1e20 * (1 + 1e-10), true}, {-1, 1, false}};
    for (const auto& row : rows) {
        EXPECT_EQ(ApproxEqual(row.a, row.b), row.eq) << row.a << " " << row.b;
        EXPECT_EQ(ApproxEqual(row.b, row.a), row.eq) << row.b << " " << row.a;
    }
}

}  // namespace
