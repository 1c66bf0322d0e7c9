// Shared helpers of the engine tests: a byte-code assembler, a host that records everything, a fresh model.
#pragma once

#include "engine/EngineHost.h"
#include "engine/Model.h"
#include "engine/Opcodes.h"

#include <cstring>
#include <memory>
#include <string>
#include <vector>

// Builds reverse-polish code byte by byte, as the compiler would emit it.
struct Code {
    std::string bytes;
    Code& num(double v)
    {
        char b[8];
        std::memcpy(b, &v, 8);
        bytes += char(OpNum);
        bytes.append(b, 8);
        return *this;
    }
    Code& op(OpCode c) { bytes += char(c); return *this; }
    Code& ref(int r) { bytes += char(OpRef); bytes += char(r); return *this; }
    Code& cnst(int i) { bytes += char(OpConst); bytes += char(i); return *this; }
    Code& table(int j) { bytes += char(OpTable); bytes += char(j); return *this; }
    Code& hvis(int r1, int r2)
    {
        bytes += char(OpIf);
        bytes += 'x';
        bytes += char(r1);
        bytes += 'x';
        bytes += char(r2);
        return *this;
    }
};

struct RecordedTable : TableTarget {
    std::string caption;
    int cols = 0, rows = 0, fixed = 0;
    bool visible = false;
    std::vector<std::vector<std::string>> cells;  // [row][col]
    void SetColCount(int n) override { cols = n; fit(); }
    void SetRowCount(int n) override { rows = n; fit(); }
    int RowCount() const override { return rows; }
    void SetFixedRows(int n) override { fixed = n; }
    void SetCell(int col, int row, std::string_view text) override { fit(); cells[row][col] = std::string(text); }
    void MakeVisible() override { visible = true; }
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
    int kind;
    std::vector<RecordedPoint> points;
};
struct RecordedGraph : GraphTarget {
    std::string caption;
    double settings[16] = {};
    int begun = 0, repainted = 0;
    std::vector<RecordedCurve> curves;
    void SetSettings(const double (&s)[16]) override { std::memcpy(settings, s, sizeof settings); }
    void begynd() override { ++begun; }
    void myrepaint() override { ++repainted; }
    void Makekurve(int kind) override { curves.push_back({kind, {}}); }
    void Draw2(int curve, double x, double y) override { curves.at(curve - 1).points.push_back({x, y}); }
};

struct RecordingHost : EngineHost {
    std::vector<std::string> notices, errors, statuses, captions;
    std::vector<std::unique_ptr<RecordedTable>> tables;
    std::vector<std::unique_ptr<RecordedGraph>> graphs;
    bool refusePages = false;
    long keepGoingCalls = 0;
    long stopAfter = -1;  // KeepGoing answers false after this many calls
    TableTarget* LavTabel(const std::string& caption) override
    {
        captions.push_back(caption);
        if (refusePages)
            return nullptr;
        tables.push_back(std::make_unique<RecordedTable>());
        tables.back()->caption = caption;
        return tables.back().get();
    }
    GraphTarget* LavGraf(const std::string& caption) override
    {
        captions.push_back(caption);
        if (refusePages)
            return nullptr;
        graphs.push_back(std::make_unique<RecordedGraph>());
        graphs.back()->caption = caption;
        return graphs.back().get();
    }
    void Notice(const char* text) override { notices.push_back(text); }
    void GeneralError(const std::string& text) override { errors.push_back(text); }
    void ShowStatus(const std::string& message) override { statuses.push_back(message); }
    bool KeepGoing() override { return stopAfter < 0 || ++keepGoingCalls <= stopAfter; }
};

inline void SetCode(FuncRec& rec, const Code& code)
{
    rec.Code.assign(code.bytes);
    rec.Code.push_back('\0');
}

// A model as the compiler leaves it before the first declaration, with the engine-wide values reset.
inline std::unique_ptr<datarec> FreshModel(EngineHost& host)
{
    auto model = std::make_unique<datarec>();
    model->ConstCount = 1;
    model->ConstNames[1] = "pi";
    model->ConstValues[1] = 3.14159265358979323846;
    model->Records[0].Name = "t";
    model->Records[0].CacheT = 1.0;
    model->PlainLimit = 80;
    Eng = EngineWide{};
    Eng.Host = &host;
    return model;
}

// Adds a function record with the given code and domain; returns its index.
inline int AddRecord(datarec& m, const std::string& name, const Code& code, double lo = -BigValue,
                     double hi = BigValue, bool ode = false)
{
    const int r = ++m.RecordCount;
    FuncRec& rec = m.Records[r];
    rec.Name = name;
    SetCode(rec, code);
    rec.CacheT = BigValue;  // as a generation leaves it: nothing cached
    rec.Lo = lo;
    rec.Hi = hi;
    rec.IsOde = ode ? 1 : 0;
    return r;
}
