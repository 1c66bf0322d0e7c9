// Fuzzes whole script runs: the input is a document (16 settings lines, then the script), run to the end.
#include "compiler/ScriptCompiler.h"
#include "support/DocumentFile.h"
#include "support/SettingsCalculator.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

using namespace tavlix;

namespace {

// Bounds that keep one input short: the sampled range and the number of output points.
constexpr double MaxTRange = 1000;
constexpr double MaxPoints = 2000;
constexpr int MaxKeepGoingCalls = 20000;

enum SettingIndex { TMin = 8, TMax = 9, TAntal = 10, TDelta = 11 };

// A grid that keeps nothing but checks that cells stay inside the size it was given.
class FuzzTable : public TableSink {
public:
    void setColumnCount(int n) override { cols_ = n; }
    void setRowCount(int n) override { rows_ = n; }
    int rowCount() const override { return rows_; }
    void setCell(int col, int row, std::string_view) override
    {
        if (col < 0 || row < 0 || col >= cols_ || row >= rows_)
            std::abort();
    }
    void showGrid() override {}

private:
    int cols_ = 0;
    int rows_ = 0;
};

// A graph that checks that points go to curves that exist.
class FuzzGraph : public GraphSink {
public:
    void setSettings(const CoordinateSettings&) override {}
    void begin() override {}
    void fitToWindow() override {}
    void addCurve(CurveStyle) override { ++curves_; }
    void addPoint(int curve, double, double) override
    {
        if (curve < 1 || curve > curves_)
            std::abort();
    }
    void endStroke(int curve) override
    {
        if (curve < 1 || curve > curves_)
            std::abort();
    }

private:
    int curves_ = 0;
};

// Result pages that exist, and a run that is stopped after a fixed amount of work.
class FuzzHost : public NullHost {
public:
    TableSink* createTablePage(const std::string&) override { return &tables_.emplace_back(); }
    GraphSink* createGraphPage(const std::string&) override { return &graphs_.emplace_back(); }
    bool keepGoing() override { return ++calls_ < MaxKeepGoingCalls; }
    bool keepStepping() override { return keepGoing(); }

private:
    std::vector<FuzzTable> tables_;
    std::vector<FuzzGraph> graphs_;
    int calls_ = 0;
};

double Value(const std::string& text)
{
    CalcResult r = evaluate(text);
    return r.error == CalcError::None ? r.value : 0;
}

std::string Text(double v)
{
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%.17g", v);
    return buffer;
}

// Keeps the fuzzer's settings where they are harmless and narrows only what would make a run long.
void Clamp(SettingsTexts& s)
{
    double lo = Value(s[TMin]);
    double hi = Value(s[TMax]);
    if (std::fabs(lo) > MaxTRange)
        s[TMin] = Text(lo = std::copysign(MaxTRange, lo));
    if (std::fabs(hi) > MaxTRange)
        s[TMax] = Text(hi = std::copysign(MaxTRange, hi));
    double count = Value(s[TAntal]);
    if (std::fabs(count) > MaxPoints)
        s[TAntal] = Text(std::copysign(MaxPoints, count));
    double delta = Value(s[TDelta]);
    if (delta != 0 && std::fabs(hi - lo) / std::fabs(delta) > MaxPoints)
        s[TDelta] = Text(std::copysign(std::fabs(hi - lo) / MaxPoints, delta));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::vector<std::string> lines = splitLines(std::string_view(reinterpret_cast<const char*>(data), size));
    SettingsTexts settings = defaultSettings();
    std::size_t given = std::min<std::size_t>(lines.size(), settings.size());
    for (std::size_t i = 0; i < given; ++i)
        settings[i] = lines[i];
    Clamp(settings);
    std::vector<std::string> script(lines.begin() + static_cast<std::ptrdiff_t>(given), lines.end());

    FuzzHost host;
    ScriptCompiler compiler;
    compiler.run(settings, script, "fuzz", host);
    return 0;
}
