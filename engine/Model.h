// The model of one run: the compiled script, the solver's own state, the pages the run fills and its stack.
#pragma once

#include "engine/CurveStyle.h"
#include "engine/ScriptError.h"
#include "engine/ShortString.h"
#include "engine/SolverStatistics.h"
#include "support/CoordinateSettings.h"

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace tavlix {

class TableSink;
class GraphSink;

// The unbounded end of domains and tables, and the mark of an invalid cached value.
inline constexpr double BigValue = 1e37;

// The bounds of one script, each refused with its own error beyond it. The lists hold what a script declares, not
// the bound, so a small script stays small when its model is copied.
inline constexpr int MaxConsts = 1000;  // pi among them
inline constexpr int MaxRecords = 10000;
inline constexpr int MaxTables = 1000;
inline constexpr int MaxTablePoints = 100000;
inline constexpr int MaxOutputs = 100;
inline constexpr int StackSize = 1000;
inline constexpr int MaxListValues = 1000;

// Reverse-polish code: each operation is one word, followed by its operands (a pool entry, a constant, a record or
// a table), and the whole ended by End.
using CodeWords = std::vector<std::int32_t>;

// A function, differential-equation variable or branch of `hvis`.
struct FunctionRecord {
    ShortString<31> name;
    CodeWords code{0};          // only End until compiled
    double cachedT = BigValue;  // the t at which value was computed, or BigValue when nothing is cached
    double domainLo = 0;        // domain start; the initial value of a differential-equation variable
    double domainHi = 0;
    double value = 0;
    bool compiled = false;  // its code is complete (a declared name may be used before it is)
    bool isOdeVariable = false;
};

// One variable of an output section.
struct OutputVariable {
    std::int32_t xRecord = 0;              // a table's record
    std::int32_t yRecord = 0;              // graphs only
    std::uint8_t decimals = 255;           // tables only: 0-6, or 255 when not given
    CurveStyle style = CurveStyle::Line1;  // graphs only
    std::int32_t table = 0;                // graphs only: a table of points drawn as it is, not sampled (0: none)
    bool wasUndefined = false;
    bool started = false;  // graphs only: the generation's first call has seen the entry (it draws nothing)
    // Graphs only: the previous output point, between which and the next a pole may lie.
    double lastX = 0;
    double lastY = 0;
    double lastT = 0;
    ShortString<31> xName;  // graphs only: the names as written in the output section, for the legend
    ShortString<31> yName;
};

struct TablePoint {
    double x = 0;
    double y = 0;
};

// A table of points; entries 0 and pointCount+1 are the ends at -BigValue and BigValue.
struct PointTable {
    int pointCount = 0;
    ShortString<31> name;
    std::vector<TablePoint> points;  // pointCount + 2
};

// The values of a list constant, entries 1 to count (entry 0 is unused).
struct ListConstant {
    std::int32_t count = 0;
    std::vector<double> values{0.0};
};

// What the compiler makes of a script. Vectors keep the script language's numbering: index 0 is unused where
// counting starts at 1. Each holds what the script declares, so a copy costs what the script is.
struct CompiledScript {
    std::vector<ShortString<31>> constantNames{1};
    std::vector<double> constantValues{0.0};
    std::vector<std::optional<ListConstant>> listConstants{1};
    int constantCount = 0;
    std::vector<FunctionRecord> records{1};  // 0 is t (and, while compiling, a constant expression)
    int recordCount = 0;
    int lastPlainRecord = 0;  // records after it are differential-equation variables or later
    int lastOdeRecord = 0;    // the last record declared before the functions section
    std::vector<PointTable> tables{1};
    int tableCount = 0;
    std::vector<OutputVariable> outputs{1};  // of the output section being generated
    int outputCount = 0;
    std::vector<double> numbers;  // the code's numbers, by the pool entry that follows Num
    CoordinateSettings settings;
};

// The Runge-Kutta-Fehlberg stepper's own state: the states before and during a step and the six stage increments,
// each with an entry per record of the script.
struct RkfState {
    std::vector<double> y0;
    std::vector<double> y;
    std::array<std::vector<double>, 6> k;  // k[5] receives each stage's derivatives
    double h = 0;
    double hMin = 0;
    double hMax = 0;
    double hNext = 0;
    double stepStart = 0;
    double stepEnd = 0;
    double absTol = 0;
    double relTol = 0;
    double direction = 1;  // +1 forwards in t, -1 backwards; h is signed, hMin, hMax and hNext are sizes
    int stepRecordCount = 0;
    // A safety net: an integration that has not ended after this many accepted steps stops with code 22.
    long long maxSteps = 100'000'000;
    bool mayDouble = false;
    bool accepted = false;

    // Room for the records 0 to count, at 0.
    void resize(int count)
    {
        const auto n = static_cast<std::size_t>(count + 1);
        y0.assign(n, 0.0);
        y.assign(n, 0.0);
        for (std::vector<double>& stage : k)
            stage.assign(n, 0.0);
    }
};

// The page the output section being generated fills.
struct PageSinks {
    TableSink* table = nullptr;
    GraphSink* graph = nullptr;
};

// Entry i of a list the compiler fills in declaration order, made when first needed.
template <typename T>
T& growTo(std::vector<T>& list, int i)
{
    if (list.size() <= static_cast<std::size_t>(i))
        list.resize(static_cast<std::size_t>(i) + 1);
    return list[static_cast<std::size_t>(i)];
}

struct Model {
    CompiledScript script;
    RkfState rkf;
    PageSinks pages;
    double stack[StackSize + 1] = {};
    int stackTop = 0;
    ScriptError error = ScriptError::None;
    double tStart = 0;
    double tEnd = 0;
    double tStep = 0;
    double nextOutputT = 0;
    SolverStatistics statistics;  // of the generation under way

    // Takes a copy of a compiled script, with a solver state to match it.
    void adoptScript(const CompiledScript& compiled)
    {
        script = compiled;
        rkf.resize(static_cast<int>(script.records.size()) - 1);
    }
};

}  // namespace tavlix
