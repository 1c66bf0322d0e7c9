// The program model of one run: fixed arrays for constants, records, tables, outputs, stack and solver state.
#pragma once

#include "engine/ShortString.h"

#include <cstdint>
#include <memory>

class TableTarget;
class GraphTarget;
class EngineHost;

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
struct FuncRec {
    ShortString<31> Name;
    ShortString<198> Code;  // at most 197 code bytes, then one byte 0
    double CacheT = 0;      // compiling: 0 declared, 1 compiled; generating: t of Value, or BigValue
    double Lo = 0;          // domain start; initial value for a differential-equation variable
    double Hi = 0;
    double Value = 0;
    std::uint8_t IsOde = 0;
};

// One variable of an output section.
struct OutputRec {
    std::uint8_t F1 = 0;
    std::uint8_t F2 = 0;     // graph: y record; table: decimals 0-6 or 255
    std::uint8_t Style = 0;  // graph: 1-6 lines, 7-12 marks; table: 0
    std::uint8_t WasUndefined = 0;
};

struct TablePoint {
    double x = 0;
    double y = 0;
};

// A table of points; entries 0 and n+1 are the ends at -BigValue and BigValue.
struct TableRec {
    std::uint16_t DataBytes = 0;
    ShortString<31> Name;
    TablePoint Points[MaxTablePoints + 2];
    int PointCount() const { return DataBytes / 16 - 2; }
};

// The values of a list constant, entries 1 to 40.
struct SkareRec {
    std::int32_t Count = 0;
    double Values[MaxListValues + 1] = {};
};

// Arrays keep the script language's numbering: index 0 is unused where counting starts at 1.
struct datarec {
    ShortString<31> ConstNames[MaxConsts + 1];
    double ConstValues[MaxConsts + 1] = {};
    std::unique_ptr<SkareRec> ConstLists[MaxConsts + 1];
    FuncRec Records[MaxRecords + 1];  // 0 is t
    OutputRec Outputs[MaxOutputs + 1];
    double Stack[StackSize + 1] = {};
    double Y0[MaxRecords + 1] = {};
    double KStage[MaxRecords + 1] = {};
    double Y[MaxRecords + 1] = {};
    double K1[MaxRecords + 1] = {};
    double K2[MaxRecords + 1] = {};
    double K3[MaxRecords + 1] = {};
    double K4[MaxRecords + 1] = {};
    double K5[MaxRecords + 1] = {};
    double Settings[16] = {};
    TableTarget* TableGrid = nullptr;
    GraphTarget* GraphPage = nullptr;
    std::uint8_t ConstCount = 0;
    std::uint8_t CodeTarget = 0;
    std::uint8_t PlainLimit = 0;
    std::uint8_t OutputCount = 0;
    ShortString<255> Pending;
    std::uint8_t InOdeSection = 0;
    std::int32_t OdeLimit = 0;
    std::int32_t RecordCount = 0;
    std::int32_t LastRecord = 0;
    std::int32_t StackTop = 0;
    std::int32_t EngineError = 0;
    std::int32_t TableCount = 0;
    std::unique_ptr<TablePoint[]> TableBuffer;  // 41 points while the tables section is read
    std::int32_t StepRecordCount = 0;
    double TEnd = 0;
    double TStep = 0;
    double TStart = 0;
    double HMin = 0;
    double HMax = 0;
    double HNext = 0;
    double TNextOut = 0;
    double H = 0;
    double TTarget = 0;
    double TBase = 0;
    double AbsTol = 0;
    double RelTol = 0;
    std::uint8_t MayGrow = 0;
    std::uint8_t Accepted = 0;
    TableRec Tables[MaxTables + 1];
};

// The five program-wide values of the engine, plus the platform-fault state of a run.
struct EngineWide {
    double T = 0;
    std::uint8_t EvalFailed = 0;
    std::uint8_t StopFlag = 0;
    std::uint8_t GraphMode = 0;
    ShortString<25> TokenText;
    // A fault no check catches (a floating-point overflow) or an interrupted run: the run is abandoned.
    // FaultText is Windows-1252; empty for a plain interruption by the user.
    std::uint8_t Abandoned = 0;
    ShortString<120> FaultText;
    // Where notices and pages go; never null during a run.
    EngineHost* Host = nullptr;
};

extern EngineWide Eng;
