// Fitting constants of functions and differential equations to tables, against known answers.
#include "AnalysisTestSupport.h"
#include "analysis/ConstantFit.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace {

using namespace analysis_test;
using tavlix::CompiledDocument;
using tavlix::ConstantFit;
using tavlix::FitOutcome;

// The logistic solution with r = 0.8, k = 10 and y(0) = 1 at t = 0 .. 11. Each value may be scaled by the noise
// pattern: +2 % at even t, -2 % at odd t.
std::string logisticTable(bool noisy)
{
    std::string table = "  data = <";
    for (int t = 0; t < 12; ++t) {
        double y = 10 / (1 + 9 * std::exp(-0.8 * t));
        if (noisy)
            y *= t % 2 == 0 ? 1.02 : 0.98;
        table += (t ? ", (" : "(") + std::to_string(t) + ", " + exact(y) + ")";
    }
    return table + ">\n";
}

std::string logisticScript(bool noisy)
{
    return "Konstanter\n  r = 0.5  k = 5  y0 = 1\nTabeller\n" + logisticTable(noisy) +
           "DifferentialLigninger\n  y' = r*y*(1 - y/k)  <y0>\nGrafVariable\n  t, y, l1\n";
}

struct FitCase {
    const char* name;
    std::string script;
    std::string model;
    std::vector<double> expected;  // the values of r and k, or a and b
    double tolerance;              // relative, absolute below 1
};

void PrintTo(const FitCase& c, std::ostream* os)
{
    *os << c.name;
}

class FitsConstants : public testing::TestWithParam<FitCase> {};

TEST_P(FitsConstants, RecoversTheValuesBehindTheData)
{
    const FitCase& c = GetParam();
    // Tolerances far below the fit's own accuracy, so that the integration does not decide it.
    CompiledDocument document(settingsFor(0, 11, 110, 1e-12, 1e-10), linesOf(c.script));
    ConstantFit fit(document);
    const bool line = c.model == "f";
    const tavlix::FitResult result =
        fit.fit({"data", c.model, line ? std::vector<std::string>{"a", "b"} : std::vector<std::string>{"r", "K"}});
    ASSERT_TRUE(result.converged()) << result.message;
    ASSERT_EQ(result.constants.size(), c.expected.size());
    for (std::size_t i = 0; i < c.expected.size(); ++i)
        EXPECT_NEAR(result.constants[i].value, c.expected[i], c.tolerance * std::max(1.0, std::fabs(c.expected[i])))
            << result.constants[i].name;
    EXPECT_GT(result.iterations, 0);
    EXPECT_GT(result.r2, 0.99);
}

INSTANTIATE_TEST_SUITE_P(
    Data, FitsConstants,
    testing::Values(FitCase{"logistic_exact", logisticScript(false), "y", {0.8, 10}, 1e-6},
                    FitCase{"logistic_noisy", logisticScript(true), "y", {0.8, 10}, 0.05},
                    FitCase{"straight_line",
                            "Konstanter\n  a = 1  b = 0\nTabeller\n  data = <(-2, -6), (0.5, 1.5), (3, 9), (7.25, "
                            "21.75)>\nFunktioner\n  f = a*t + b\nGrafVariable\n  t, f, l1\n",
                            "f",
                            {3, 0},
                            1e-12}),
    [](const testing::TestParamInfo<FitCase>& info) { return std::string(info.param.name); });

// Exact data leave no residual; noisy data a spread the standard errors cover.
TEST(FitMeasures, ResidualsAndStandardErrorsFollowTheNoise)
{
    CompiledDocument exactDoc(settingsFor(0, 11, 110, 1e-12, 1e-10), linesOf(logisticScript(false)));
    CompiledDocument noisyDoc(settingsFor(0, 11, 110, 1e-12, 1e-10), linesOf(logisticScript(true)));
    const auto exactFit = ConstantFit(exactDoc).fit({"data", "y", {"r", "k"}});
    const auto noisyFit = ConstantFit(noisyDoc).fit({"data", "y", {"r", "k"}});
    EXPECT_LT(exactFit.rms, 1e-8);
    EXPECT_GT(noisyFit.rms, 1e-3);
    for (const auto& c : noisyFit.constants) {
        EXPECT_GT(c.standardError, 0) << c.name;
        EXPECT_LT(c.standardError, 0.05 * c.value) << c.name;
    }
}

struct RefusalCase {
    const char* name;
    tavlix::FitRequest request;
    FitOutcome outcome;
    std::string message;  // a part of it
};

class RefusesFits : public testing::TestWithParam<RefusalCase> {};

TEST_P(RefusesFits, SaysWhyAndKeepsTheScriptsValues)
{
    const RefusalCase& c = GetParam();
    CompiledDocument document(settingsFor(0, 4, 40),
                              linesOf("Konstanter\n  a = 1  b = 2*a  c = 5\nTabeller\n  data = <(0, 1), (1, 2), (2, "
                                      "4)>\n  one = <(0, 1)>\nFunktioner\n  f = a*t + 0*c\n  g = ln(t - c)\n"));
    const tavlix::FitResult result = ConstantFit(document).fit(c.request);
    EXPECT_EQ(result.outcome, c.outcome);
    EXPECT_NE(result.message.find(c.message), std::string::npos) << result.message;
    ASSERT_TRUE(document.compile());
    EXPECT_EQ(document.plainConstants().front().value, 1);
}

INSTANTIATE_TEST_SUITE_P(
    Requests, RefusesFits,
    testing::Values(RefusalCase{"no_table", {"nodata", "f", {"a"}}, FitOutcome::Refused, "findes ikke"},
                    RefusalCase{"no_model", {"data", "h", {"a"}}, FitOutcome::Refused, "ingen funktion"},
                    RefusalCase{"computed", {"data", "f", {"b"}}, FitOutcome::Refused, "givet som et tal"},
                    RefusalCase{"twice", {"data", "f", {"a", "A"}}, FitOutcome::Refused, "to gange"},
                    RefusalCase{"few_points", {"one", "f", {"a", "c"}}, FitOutcome::Refused, "for f\xE5 punkter"},
                    RefusalCase{"no_effect", {"data", "f", {"a", "c"}}, FitOutcome::Refused, "afh\xE6nger ikke af c"},
                    RefusalCase{"undefined", {"data", "g", {"c"}}, FitOutcome::ModelUndefined, "c = 5"}),
    [](const testing::TestParamInfo<RefusalCase>& info) { return std::string(info.param.name); });

}  // namespace
