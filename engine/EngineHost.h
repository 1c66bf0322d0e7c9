// The only way the engine reaches the world outside the core: result pages, notices, errors, the status line.
#pragma once

#include <string>
#include <string_view>

// A table page's grid as the generation fills it. Texts are Windows-1252 bytes.
class TableTarget {
public:
    virtual ~TableTarget() = default;
    virtual void SetColCount(int n) = 0;
    virtual void SetRowCount(int n) = 0;
    virtual int RowCount() const = 0;
    virtual void SetFixedRows(int n) = 0;
    virtual void SetCell(int col, int row, std::string_view text) = 0;
    virtual void MakeVisible() = 0;
};

// A graph page as the generation feeds it.
class GraphTarget {
public:
    virtual ~GraphTarget() = default;
    virtual void SetSettings(const double (&settings)[16]) = 0;
    virtual void begynd() = 0;
    virtual void myrepaint() = 0;
    // Adds a curve of the given kind (0-5 line styles, 7-12 mark styles); curves count from 1.
    virtual void Makekurve(int kind) = 0;
    virtual void Draw2(int curve, double x, double y) = 0;
};

// Implemented by the main window (Qt widgets) and by the batch mode (files).
class EngineHost {
public:
    virtual ~EngineHost() = default;
    // A new result page; the caption is Windows-1252. May return nullptr when no page can be made.
    virtual TableTarget* LavTabel(const std::string& caption) = 0;
    virtual GraphTarget* LavGraf(const std::string& caption) = 0;
    // The evaluator's notice boxes: "1a", "2", "3" or "1".
    virtual void Notice(const char* text) = 0;
    // The general error report: a platform fault that abandons the command (text in Windows-1252).
    virtual void GeneralError(const std::string& text) = 0;
    // A script error: beep and show the composed message in the status line (Windows-1252).
    virtual void ShowStatus(const std::string& message) = 0;
    // Called between output points; lets pending events run (at most every 0.2 s).
    // Returns false when the user or the window wants the run abandoned.
    virtual bool KeepGoing() { return true; }
    // The decimal separator of table cells: the window uses the locale's; files use '.'.
    virtual char DecimalSeparator() const { return '.'; }
};

// Does nothing: for tests and for runs nobody watches.
class NullHost : public EngineHost {
public:
    TableTarget* LavTabel(const std::string&) override { return nullptr; }
    GraphTarget* LavGraf(const std::string&) override { return nullptr; }
    void Notice(const char*) override {}
    void GeneralError(const std::string&) override {}
    void ShowStatus(const std::string&) override {}
};
