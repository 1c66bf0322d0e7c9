// A run keeps an integration for its later sections only when it ran to its end, and hands it only to a section
// with the same output times, tolerances and initial values.
#include "engine/OutputGenerator.h"
#include "tests/engine/EngineTestSupport.h"

#include <gtest/gtest.h>

#include <functional>

using namespace tavlix;
using namespace tavlix::test;

namespace {

struct KeepRow {
    const char* name;
    long stopAfter;  // the host refuses to go on after this many output points; -1 never
    bool keeping;
    std::function<void(Model&)> change;  // made before the next section looks for a kept integration
    bool found;
};

class IntegrationStoreTest : public ::testing::TestWithParam<KeepRow> {};

TEST_P(IntegrationStoreTest, FindsOnlyAWholeIntegrationOfTheSameTimes)
{
    const KeepRow& row = GetParam();
    RecordingHost host;
    host.stopAfter = row.stopAfter;
    RunState run;
    auto m = FreshModel(host, run);
    run.integrations.setKeeping(row.keeping);
    AddRecord(*m, "y", Code().ref(1), 1, BigValue, true);
    m->script.lastOdeRecord = 1;
    m->script.lastPlainRecord = 0;
    m->script.outputCount = 1;
    growTo(m->script.outputs, 1) = TableColumn(1);
    const double settings[16] = {0, 1, 1, 0, 0, 1, 1, 0, 0, 2, 20, 0, 0, 1e-6, 0, 0};
    std::copy(std::begin(settings), std::end(settings), m->script.settings.values.begin());
    int pages = 0;
    generateTable(*m, run, "doc", pages);
    row.change(*m);
    prepareGeneration(*m, run);
    EXPECT_EQ(run.integrations.find(*m) != nullptr, row.found);
}

void Nothing(Model&) {}

INSTANTIATE_TEST_SUITE_P(
    Integrations, IntegrationStoreTest,
    ::testing::Values(KeepRow{"Whole", -1, true, Nothing, true}, KeepRow{"Abandoned", 5, true, Nothing, false},
                      KeepRow{"NotKeeping", -1, false, Nothing, false},
                      KeepRow{"OtherEnd", -1, true, [](Model& m) { m.script.settings[Setting::Tmax] = 3; }, false},
                      KeepRow{"OtherCount", -1, true, [](Model& m) { m.script.settings[Setting::TCount] = 21; }, false},
                      KeepRow{"OtherTolerance", -1, true,
                              [](Model& m) { m.script.settings[Setting::RelTolerance] = 1e-7; }, false},
                      KeepRow{"OtherStart", -1, true, [](Model& m) { m.script.records[1].domainLo = 2; }, false}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
