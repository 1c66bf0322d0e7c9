// The model of one run: the compiled script, the solver's own state, the pages the run fills and its stack.
#pragma once

#include "engine/CurveStyle.h"
#include "engine/ScriptError.h"
#include "engine/ShortString.h"
#include "engine/SolverStatistics.h"
#include "support/CoordinateSettings.h"

#include <cstdint>
#include <memory>

namespace tavlix {

class TableSink;
class GraphSink;

// The unbounded end of domains and tables, and the mark of an invalid cached value.
inline constexpr double BigValue = 1e37;

inline constexpr int MaxConsts = 40;
inline constexpr int MaxRecords = 80;
inline constexpr int MaxTables = 40;
inline constexpr int MaxTablePoints = 39;
inline constexpr int MaxOutputs = 10;
inline constexpr int StackSize = 100;
inline constexpr int MaxListValues = 40;
inline constexpr int MaxCodeBytes = 197;

// A function, differential-equation variable or branch of `hvis`.
struct FunctionRecord {
    ShortString<31> name;
    ShortString<198> code;      // at most 197 code bytes, then one byte 0
    double cachedT = BigValue;  // the t at which value was computed, or BigValue when nothing is cached
    double domainLo = 0;        // domain start; the initial value of a differential-equation variable
    double domainHi = 0;
    double value = 0;
    bool compiled = false;  // its code is complete (a declared name may be used before it is)
    bool isOdeVariable = false;
};

// One variable of an output section.
struct OutputVariable {
    std::uint8_t xRecord = 0;              // a table's record
    std::uint8_t yRecord = 0;              // graphs only
    std::uint8_t decimals = 255;           // tables only: 0-6, or 255 when not given
    CurveStyle style = CurveStyle::Line1;  // graphs only
    std::uint8_t table = 0;                // graphs only: a table of points drawn as it is, not sampled (0: none)
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
    TablePoint points[MaxTablePoints + 2];
};

// The values of a list constant, entries 1 to 40.
struct ListConstant {
    std::int32_t count = 0;
    double values[MaxListValues + 1] = {};
};

// What the compiler makes of a script. Arrays keep the script language's numbering: index 0 is unused where
// counting starts at 1.
struct CompiledScript {
    ShortString<31> constantNames[MaxConsts + 1];
    double constantValues[MaxConsts + 1] = {};
    std::unique_ptr<ListConstant> listConstants[MaxConsts + 1];
    int constantCount = 0;
    FunctionRecord records[MaxRecords + 1];  // 0 is t (and, while compiling, a constant expression)
    int recordCount = 0;
    int lastPlainRecord = 0;  // records after it are differential-equation variables or later
    int lastOdeRecord = 0;    // the last record declared before the functions section
    PointTable tables[MaxTables + 1];
    int tableCount = 0;
    OutputVariable outputs[MaxOutputs + 1];  // of the output section being generated
    int outputCount = 0;
    CoordinateSettings settings;
};

// The Runge-Kutta-Fehlberg stepper's own state: the states before and during a step and the six stage increments.
struct RkfState {
    double y0[MaxRecords + 1] = {};
    double y[MaxRecords + 1] = {};
    double k[6][MaxRecords + 1] = {};  // k[5] receives each stage's derivatives
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
};

// The page the output section being generated fills.
struct PageSinks {
    TableSink* table = nullptr;
    GraphSink* graph = nullptr;
};

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
};

}  // namespace tavlix
