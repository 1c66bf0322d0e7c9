// The batch mode's pages and messages: tables stream into TSV files, graphs keep their points for the files.
#pragma once

#include "engine/EngineHost.h"
#include "graph/CurveRecorder.h"

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

// A table page written as CAPTION.tsv while it fills: rows arrive in order, so each row is written when the
// next one starts and nothing but the current row is kept in memory.
class BatchHost;

class BatchTable : public TableTarget {
public:
    BatchTable(std::FILE* file, BatchHost& host, std::string caption)
        : File(file), Host(host), Caption(std::move(caption)) {}
    ~BatchTable() override;
    void SetColCount(int n) override;
    // A table beyond the host's MaxCells stops the run; the row being written is still kept.
    void SetRowCount(int n) override;
    int RowCount() const override { return Rows; }
    void SetFixedRows(int) override {}
    // Cells of an earlier row than the current one are not taken (the generation never writes them).
    void SetCell(int col, int row, std::string_view text) override;
    void MakeVisible() override {}
    // Writes the last row and closes the file; false when any write failed.
    bool Close();

private:
    void FlushRow();
    std::FILE* File;
    BatchHost& Host;
    std::string Caption;  // Windows-1252
    int Cols = 0;
    int Rows = 0;
    int CurrentRow = -1;
    std::vector<std::string> Cells;
    std::string Line;
};

// A graph page as data: what the window would store, kept for CAPTION.tsv and the pictures beside it.
struct BatchGraph : GraphTarget {
    BatchGraph(BatchHost& host, long long maxPoints) : Host(host), Recorder(maxPoints) {}
    BatchHost& Host;
    bool Written = false;  // its files are written and its points let go
    std::string Caption;   // Windows-1252
    std::string PathStem;  // the output path without ".tsv" (UTF-8)
    double Settings[16] = {};
    CurveRecorder Recorder;

    void SetSettings(const double (&settings)[16]) override;
    void begynd() override {}
    void myrepaint() override {}
    void Makekurve(int kind) override;
    // A point beyond the host's MaxPoints is dropped and stops the run.
    void Draw2(int curve, double x, double y) override;
};

// The host of one document's run in the batch mode. Messages go to stderr in UTF-8, prefixed by the file.
// Table cells keep the engine's default "." as decimal separator on purpose: the files are read by programs
// and must not change with the machine's locale.
class BatchHost : public EngineHost {
public:
    BatchHost(std::string fileLabel, std::string outDir);
    ~BatchHost() override;

    TableTarget* LavTabel(const std::string& caption) override;
    GraphTarget* LavGraf(const std::string& caption) override;
    void Notice(const char* text) override;
    void GeneralError(const std::string& text) override;
    // The batch mode prints the script error itself, with its file position.
    void ShowStatus(const std::string&) override {}
    // False once a page has grown beyond its bound; the reason is then reported as an error.
    bool KeepGoing() override;

    // A page that would hold more than this stops the run, as in the window: memory and disk stay bounded.
    long long MaxCells;
    long long MaxPoints;
    // Asks the run to stop at its next pause, with the reason (UTF-8); the first reason is kept.
    void StopRun(const std::string& utf8Reason);

    // Closes the tables and writes every graph's files; false when a file could not be written.
    // A page is also finished as soon as the next one is made, so that a script of thousands of output sections
    // holds one open file and one page's points at a time.
    bool Finish();

    std::vector<std::unique_ptr<BatchGraph>> Graphs;
    bool Faulted = false;       // the general error report was used
    bool WriteFailed = false;   // an output file could not be written

private:
    std::string PathFor(const std::string& caption, const char* extension) const;
    std::FILE* Open(const std::string& path);
    bool WriteGraphTsv(const BatchGraph& graph);
    void FinishPages();
    void Error(const std::string& utf8Text);

    std::string FileLabel;
    std::string OutDir;
    std::string StopReason;
    int PointsSinceMemoryCheck = 0;
    BatchGraph* CurrentGraph = nullptr;  // the graph being made, if the page being made is one
    long long GraphPoints = 0;           // output points computed for it, drawn or not
    std::vector<std::unique_ptr<BatchTable>> Tables;
};

// Windows-1252 bytes as UTF-8, and UTF-8 as Windows-1252 ('?' for what it cannot hold).
std::string Utf8FromCp1252(const std::string& bytes);
std::string Cp1252FromUtf8(const std::string& utf8);
