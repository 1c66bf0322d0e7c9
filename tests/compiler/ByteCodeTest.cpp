// The exact reverse-polish code the compiler writes into the records.
#include "CompilerTestSupport.h"
#include "compiler/Disassembler.h"

#include <gtest/gtest.h>

#include <string>

using namespace tavlix;
using namespace tavlix::test;

namespace {

using namespace compiler_test;

struct CodeCase {
    const char* name;
    std::string script;  // compiled; the code of `record` is compared
    int record;
    std::string code;  // disassembled, one operation per line
};

void PrintTo(const CodeCase& c, std::ostream* os)
{
    *os << c.name;
}

std::string Sum(int n)
{
    std::string s = "1";
    for (int i = 1; i < n; ++i)
        s += "+1";
    return s;
}

std::string SumCode(int n)
{
    std::string s = "num 1\n";
    for (int i = 1; i < n; ++i)
        s += "num 1\nadd\n";
    return s;
}

const CodeCase Cases[] = {
    {"PowerIsRightAssociative", "funktioner\nf = 2^3^2", 1, "num 2\nnum 3\nnum 2\npow\npow\n"},
    {"SignAppliesToThePower", "funktioner\nf = -2^2", 1, "num 2\nnum 2\npow\nneg\n"},
    {"MinusIsLeftAssociative", "funktioner\nf = 1-2-3", 1, "num 1\nnum 2\nsub\nnum 3\nsub\n"},
    {"ApostropheIsPower", "funktioner\nf = t'2", 1, "ref 0\nnum 2\npow\n"},
    {"ProductBeforeSum", "funktioner\nf = 1+2*3/4", 1, "num 1\nnum 2\nnum 3\nmul\nnum 4\ndiv\nadd\n"},
    {"PlusSignAddsNothing", "funktioner\nf = +t", 1, "ref 0\n"},
    {"SignAfterParenthesis", "funktioner\nf = 2*(-3)", 1, "num 2\nnum 3\nneg\nmul\n"},
    {"ConstantTableAndFunctions", "konstanter\nk = 2\ntabeller\nd = <(0, 0), (1, 1)>\nfunktioner\nf = k*d(t) + sin(pi)",
     1, "const 2\nref 0\ntable 1\nmul\nconst 1\nsin\nadd\n"},
    {"EveryFunctionName", "funktioner\nf = cos(acos(asin(arccot(atn(log(ln(exp(sqr(abs(tan(cot(1))))))))))))", 1,
     "num 1\ncot\ntan\nabs\nsqrt\nexp\nln\nlog\narctan\narccot\narcsin\narccos\ncos\n"},
    {"EarlierFunction", "funktioner\ng = 1\nf = g*t", 2, "ref 1\nref 0\nmul\n"},
    {"HvisWithStop", "funktioner\nf = hvis(t<1, 0, stop)", 1, "ref 0\nnum 1\nlt\nif 2 3\n"},
    {"HvisFirstBranch", "funktioner\nf = hvis(t<1, 0, stop)", 2, "num 0\n"},
    {"HvisSecondBranchIsStop", "funktioner\nf = hvis(t<1, 0, stop)", 3, "stop\n"},
    {"ConditionsInParentheses", "funktioner\nf = hvis((t<1) og (t>-1), 1, 0)", 1,
     "ref 0\nnum 1\nlt\nref 0\nnum 1\nneg\ngt\nmul\nif 2 3\n"},
    {"ArithmeticParenthesisInCondition", "funktioner\nf = hvis((t+1)*2 < 3, 1, 0)", 1,
     "ref 0\nnum 1\nadd\nnum 2\nmul\nnum 3\nlt\nif 2 3\n"},
    {"EllerAndComparisons", "funktioner\nf = hvis(t <= 1 eller t >< 2 og t >= 3, 1, 0)", 1,
     "ref 0\nnum 1\nle\nref 0\nnum 2\nne\nref 0\nnum 3\nge\nmul\nadd\nif 2 3\n"},
    {"NestedHvisUsesFourRecords", "funktioner\nf = 1 + hvis(t = 0, hvis(t > 1, 2, 3), 4)", 1,
     "num 1\nref 0\nnum 0\neq\nif 2 5\nadd\n"},
    {"NestedHvisInner", "funktioner\nf = 1 + hvis(t = 0, hvis(t > 1, 2, 3), 4)", 2, "ref 0\nnum 1\ngt\nif 3 4\n"},
    {"NineteenNumbers", "funktioner\nf = " + Sum(19), 1, SumCode(19)},
    {"CaretForApostropheSingularKeyword", "DifferentialLigning\ny^ = -y <1>", 1, "ref 1\nneg\n"},
    {"ForwardReferenceInEquation", "differentialligninger\ny' = y*z <1>\nfunktioner\nz = 2", 1, "ref 1\nref 2\nmul\n"},
};

class ByteCode : public testing::TestWithParam<CodeCase> {};

TEST_P(ByteCode, Disassembled)
{
    const CodeCase& c = GetParam();
    ScriptCompiler compiler;
    NullHost host;
    RunResult r = RunScript(compiler, c.script, host);
    ASSERT_EQ(r.error, ScriptError::None) << r.message;
    const CompiledScript& script = compiler.lastModel()->script;
    EXPECT_EQ(disassemble(script.records[c.record].code, script.numbers), c.code);
}

INSTANTIATE_TEST_SUITE_P(Compiler, ByteCode, testing::ValuesIn(Cases),
                         [](const testing::TestParamInfo<CodeCase>& info) { return std::string(info.param.name); });

TEST(ByteCode, ExactWordsOfANumberAndTheEnd)
{
    ScriptCompiler compiler;
    NullHost host;
    ASSERT_EQ(RunScript(compiler, "funktioner\nf = 1\ng = hvis(f > 0, stop, 1)", host).error, ScriptError::None);
    const Model& m = *compiler.lastModel();
    // Numbers stand in the pool in the order they are read; the code names their entries.
    EXPECT_EQ(m.script.numbers, (std::vector<double>{1, 0, 1}));
    EXPECT_EQ(m.script.records[1].code, (CodeWords{'d', 0, 0}));
    EXPECT_EQ(m.script.records[2].code, (CodeWords{'x', 1, 'd', 1, '>', 0x86, 3, 4, 0}));
    EXPECT_EQ(m.script.records[3].code, (CodeWords{0x87, 0}));
    // Branches carry the name of their function and are never differential equations.
    EXPECT_EQ(m.script.records[3].name.view(), "g");
    EXPECT_EQ(m.script.records[4].name.view(), "g");
    EXPECT_EQ(m.script.recordCount, 4);
}

TEST(ByteCode, RecordMarks)
{
    ScriptCompiler compiler;
    NullHost host;
    ASSERT_EQ(
        RunScript(compiler, "differentialligninger\ny' = hvis(t < 1, y, 0) <2>\nfunktioner\nf = y <0, 5>", host).error,
        ScriptError::None);
    const Model& m = *compiler.lastModel();
    EXPECT_EQ(m.script.records[1].isOdeVariable, true);
    EXPECT_EQ(m.script.records[1].domainLo, 2.0);         // the initial value
    EXPECT_EQ(m.script.records[2].isOdeVariable, false);  // branches
    EXPECT_EQ(m.script.records[3].isOdeVariable, false);
    EXPECT_EQ(m.script.records[4].isOdeVariable, false);
    EXPECT_TRUE(m.script.records[4].compiled);
    EXPECT_EQ(m.script.records[4].domainLo, 0.0);
    EXPECT_EQ(m.script.records[4].domainHi, 5.0);
    EXPECT_EQ(m.script.lastPlainRecord, 0);
    EXPECT_EQ(m.script.lastOdeRecord, 3);
}

TEST(Disassembler, StopsAtTheEndButNotInsideOperands)
{
    const std::vector<double> pool{2.5};
    EXPECT_EQ(disassemble({'k', 0, 'm', 0, 'n'}, pool), "const 0\nneg\n");
    EXPECT_EQ(disassemble({0xE7, 2, 1}, pool), "table 2\nword 1\n");
    EXPECT_EQ(disassemble({'d', 0, 'd', 7}, pool), "num 2.5\nnum ?\n");  // an entry beyond the pool
    EXPECT_EQ(disassemble({0x86, 1}, pool), "word 134\nword 1\n");       // a conditional cut short
}

}  // namespace
