// Helpers for the compiler tests: a host that records what a run shows, and a one-call script run.
#pragma once

#include "compiler/ScriptCompiler.h"
#include "engine/EngineHost.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

// A namespace of its own: other test folders have recording hosts of the same name in the same program.
namespace compiler_test {

// A table page that keeps its cells.
class RecordingTable : public TableTarget {
public:
    std::string Caption;
    int Cols = 0, Rows = 0, Fixed = 0;
    std::map<std::pair<int, int>, std::string> Cells;  // (col, row) -> text
    void SetColCount(int n) override { Cols = n; }
    void SetRowCount(int n) override { Rows = n; }
    int RowCount() const override { return Rows; }
    void SetFixedRows(int n) override { Fixed = n; }
    void SetCell(int col, int row, std::string_view text) override { Cells[{col, row}] = std::string(text); }
    void MakeVisible() override {}
    std::string Cell(int col, int row) const {
        auto it = Cells.find({col, row});
        return it == Cells.end() ? "" : it->second;
    }
};

class RecordingGraph : public GraphTarget {
public:
    std::string Caption;
    std::vector<int> Curves;  // kinds, in creation order
    int Points = 0;
    void SetSettings(const double (&)[16]) override {}
    void begynd() override {}
    void myrepaint() override {}
    void Makekurve(int kind) override { Curves.push_back(kind); }
    void Draw2(int, double, double) override { ++Points; }
};

class RecordingHost : public EngineHost {
public:
    std::vector<std::unique_ptr<RecordingTable>> Tables;
    std::vector<std::unique_ptr<RecordingGraph>> Graphs;
    std::vector<std::string> Statuses, Errors, Notices;
    TableTarget* LavTabel(const std::string& caption) override {
        Tables.push_back(std::make_unique<RecordingTable>());
        Tables.back()->Caption = caption;
        return Tables.back().get();
    }
    GraphTarget* LavGraf(const std::string& caption) override {
        Graphs.push_back(std::make_unique<RecordingGraph>());
        Graphs.back()->Caption = caption;
        return Graphs.back().get();
    }
    void Notice(const char* text) override { Notices.emplace_back(text); }
    void GeneralError(const std::string& text) override { Errors.push_back(text); }
    void ShowStatus(const std::string& message) override { Statuses.push_back(message); }
};

// The script's lines, split at "\n".
inline std::vector<std::string> ScriptLines(const std::string& text) {
    std::vector<std::string> lines;
    std::string line;
    for (char c : text) {
        if (c == '\n') {
            lines.push_back(line);
            line.clear();
        } else {
            line += c;
        }
    }
    lines.push_back(line);
    return lines;
}

// t from tMin to tMax in `steps` steps; the other settings are the defaults.
inline SettingsTexts TestSettings(const char* tMin = "0", const char* tMax = "10", const char* steps = "10") {
    SettingsTexts s = DefaultSettings();
    s[8] = tMin;
    s[9] = tMax;
    s[10] = steps;
    s[11] = "0";
    return s;
}

inline RunResult RunScript(ScriptCompiler& compiler, const std::string& text, EngineHost& host,
                           const SettingsTexts& settings = TestSettings()) {
    return compiler.Run(settings, ScriptLines(text), "doc", host);
}

}  // namespace compiler_test
