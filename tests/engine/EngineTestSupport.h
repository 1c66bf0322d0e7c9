// Shared helpers of the engine tests: a byte-code assembler, a host that records everything, a fresh model.
#pragma once

#include "engine/EngineHost.h"
#include "engine/Model.h"
#include "engine/Opcodes.h"
#include "engine/RunState.h"

#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace tavlix::test {

// Builds reverse-polish code word by word, as the compiler would emit it; its numbers go to the model's pool when
// the code is set.
struct Code {
    tavlix::CodeWords words;
    std::vector<double> numbers;
    Code& num(double v)
    {
        words.push_back(opByte(OpCode::Num));
        words.push_back(static_cast<std::int32_t>(numbers.size()));
        numbers.push_back(v);
        return *this;
    }
    Code& op(OpCode c)
    {
        words.push_back(opByte(c));
        return *this;
    }
    Code& operand(OpCode c, int i)
    {
        words.push_back(opByte(c));
        words.push_back(i);
        return *this;
    }
    Code& ref(int r) { return operand(OpCode::Ref, r); }
    Code& cnst(int i) { return operand(OpCode::Const, i); }
    Code& table(int j) { return operand(OpCode::Table, j); }
    Code& hvis(int r1, int r2)
    {
        words.push_back(opByte(OpCode::If));
        words.push_back(r1);
        words.push_back(r2);
        return *this;
    }
};

struct RecordedTable : TableSink {
    std::string caption;
    int cols = 0, rows = 0;
    bool visible = false;
    std::vector<std::vector<std::string>> cells;  // [row][col]
    void setColumnCount(int n) override
    {
        cols = n;
        fit();
    }
    void setRowCount(int n) override
    {
        rows = n;
        fit();
    }
    int rowCount() const override { return rows; }
    void setCell(int col, int row, std::string_view text) override
    {
        fit();
        cells[row][col] = std::string(text);
    }
    void showGrid() override { visible = true; }
    void fit()
    {
        cells.resize(rows);
        for (auto& row : cells)
            row.resize(cols);
    }
};

struct RecordedPoint {
    double x, y;
};
struct RecordedCurve {
    CurveStyle style;
    std::vector<RecordedPoint> points;
    std::vector<std::size_t> strokeStarts;  // the index of each point that starts a new stroke after a break
};
struct RecordedGraph : GraphSink {
    std::string caption;
    CoordinateSettings settings;
    int begun = 0, fitted = 0;
    std::vector<RecordedCurve> curves;
    std::vector<std::string> names;  // the legend's names, in the order given
    void setSettings(const CoordinateSettings& s) override { settings = s; }
    void begin() override { ++begun; }
    void fitToWindow() override { ++fitted; }
    void addCurve(CurveStyle style) override { curves.push_back({style, {}, {}}); }
    void nameCurve(int, std::string_view name) override { names.emplace_back(name); }
    void addPoint(int curve, double x, double y) override { curves.at(curve - 1).points.push_back({x, y}); }
    void endStroke(int curve) override
    {
        RecordedCurve& c = curves.at(curve - 1);
        c.strokeStarts.push_back(c.points.size());
    }
};

struct RecordingHost : EngineHost {
    std::vector<std::string> notices, errors, statuses, captions;
    std::vector<std::unique_ptr<RecordedTable>> tables;
    std::vector<std::unique_ptr<RecordedGraph>> graphs;
    bool refusePages = false;
    long keepGoingCalls = 0;
    long stopAfter = -1;  // keepGoing answers false after this many calls
    long keepSteppingCalls = 0;
    long stopSteppingAfter = -1;  // keepStepping answers false after this many calls
    TableSink* createTablePage(const std::string& caption) override
    {
        captions.push_back(caption);
        if (refusePages)
            return nullptr;
        tables.push_back(std::make_unique<RecordedTable>());
        tables.back()->caption = caption;
        return tables.back().get();
    }
    GraphSink* createGraphPage(const std::string& caption) override
    {
        captions.push_back(caption);
        if (refusePages)
            return nullptr;
        graphs.push_back(std::make_unique<RecordedGraph>());
        graphs.back()->caption = caption;
        return graphs.back().get();
    }
    void showNoticeText(const std::string& text) override { notices.push_back(text); }
    void reportFault(const std::string& text) override { errors.push_back(text); }
    void showScriptError(const std::string& message) override { statuses.push_back(message); }
    bool keepGoing() override { return stopAfter < 0 || ++keepGoingCalls <= stopAfter; }
    bool keepStepping() override
    {
        return ++keepSteppingCalls, stopSteppingAfter < 0 || keepSteppingCalls <= stopSteppingAfter;
    }
};

// Sets the record's code, its numbers added to the model's pool.
inline void SetCode(Model& m, int r, const Code& code)
{
    FunctionRecord& rec = growTo(m.script.records, r);
    rec.code = code.words;
    const auto base = static_cast<std::int32_t>(m.script.numbers.size());
    for (std::size_t i = 0; i < rec.code.size(); i += 1 + static_cast<std::size_t>(operandCount(OpCode(rec.code[i]))))
        if (rec.code[i] == opByte(OpCode::Num))
            rec.code[i + 1] += base;
    m.script.numbers.insert(m.script.numbers.end(), code.numbers.begin(), code.numbers.end());
    rec.code.push_back(opByte(OpCode::End));
}

// A model as the compiler leaves it before the first declaration, and a fresh run state for it.
inline std::unique_ptr<Model> FreshModel(EngineHost& host, RunState& run)
{
    auto model = std::make_unique<Model>();
    model->script.constantCount = 1;
    growTo(model->script.constantNames, 1) = "pi";
    growTo(model->script.constantValues, 1) = 3.14159265358979323846;
    growTo(model->script.listConstants, 1);
    model->rkf.resize(MaxRecords);
    model->script.records[0].name = "t";
    model->script.records[0].compiled = true;
    model->script.lastPlainRecord = 80;
    run = RunState{};
    run.host = &host;
    return model;
}

// An output variable as the compiler makes it for a table column and for a curve.
inline OutputVariable TableColumn(int record)
{
    OutputVariable out;
    out.xRecord = record;
    out.wasUndefined = true;
    return out;
}
inline OutputVariable CurveOutput(int x, int y, CurveStyle style)
{
    OutputVariable out;
    out.xRecord = x;
    out.yRecord = y;
    out.style = style;
    out.wasUndefined = true;
    return out;
}

// Adds a function record with the given code and domain; returns its index.
inline int AddRecord(Model& m, const std::string& name, const Code& code, double lo = -BigValue, double hi = BigValue,
                     bool ode = false)
{
    const int r = ++m.script.recordCount;
    SetCode(m, r, code);
    if (m.rkf.y.size() <= static_cast<std::size_t>(r))
        m.rkf.resize(r);
    FunctionRecord& rec = m.script.records[r];
    rec.name = name;
    rec.compiled = true;
    rec.domainLo = lo;
    rec.domainHi = hi;
    rec.isOdeVariable = ode ? 1 : 0;
    return r;
}

}  // namespace tavlix::test
