// The batch mode's pages and messages: tables stream into TSV files, graphs keep their points for the files.
#pragma once

#include "app/BatchAccuracy.h"
#include "app/OutputFile.h"
#include "engine/CurveRecorder.h"
#include "engine/DirectionField.h"
#include "engine/EngineHost.h"
#include "engine/RunLimits.h"
#include "support/CoordinateSettings.h"
#include "support/MemoryUse.h"

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

class BatchHost;

// A table page written as CAPTION.tsv while it fills: rows arrive in order, so each row is written when the
// next one starts and nothing but the current row is kept in memory.
class BatchTable : public tavlix::TableSink {
public:
    BatchTable(std::unique_ptr<OutputFile> file, BatchHost& host, std::string caption)
        : file_(std::move(file)), host_(host), caption_(std::move(caption))
    {}
    ~BatchTable() override;
    void setColumnCount(int n) override;
    // A table beyond the run's maxTableCells stops the run; the row being written is still kept.
    void setRowCount(int n) override;
    int rowCount() const override { return rows_; }
    // Cells of an earlier row than the current one are not taken (the generation never writes them).
    void setCell(int col, int row, std::string_view text) override;
    void showGrid() override {}
    // Writes the last row and puts the file in place; false with the reason (UTF-8) when any write failed.
    bool close(std::string& error);

private:
    void flushRow();
    std::unique_ptr<OutputFile> file_;
    BatchHost& host_;
    std::string caption_;  // Windows-1252
    int columns_ = 0;
    int rows_ = 0;
    int currentRow_ = -1;
    std::vector<std::string> cells_;
    std::string line_;
};

// A graph page as data: what the window would store, kept for CAPTION.tsv and the pictures beside it.
struct BatchGraph : tavlix::GraphSink {
    BatchGraph(BatchHost& host, long long maxPoints) : host(host), recorder(maxPoints) {}
    BatchHost& host;
    bool written = false;  // its files are written and its points let go
    std::string caption;   // Windows-1252
    std::string pathStem;  // the output path without ".tsv" (UTF-8)
    tavlix::CoordinateSettings settings;
    tavlix::CurveRecorder recorder;

    void setSettings(const tavlix::CoordinateSettings& s) override;
    void begin() override {}
    void fitToWindow() override {}
    void addCurve(tavlix::CurveStyle style) override { recorder.addCurve(style); }
    void nameCurve(int curve, std::string_view name) override { recorder.nameCurve(curve, name); }
    void setCurveFamily(int curve, int member, bool current, std::string_view label) override
    {
        recorder.setCurveFamily(curve, member, current, label);
    }
    // A point beyond the run's maxGraphPoints is dropped and stops the run.
    void addPoint(int curve, double x, double y) override;
    void endStroke(int curve) override { recorder.endStroke(curve); }
    void setDirectionField(std::shared_ptr<tavlix::DirectionField> f) override { field = std::move(f); }
    // The run's differential equations, when the page comes from them.
    std::shared_ptr<tavlix::DirectionField> field;
};

// The host of one document's run in the batch mode. Messages go to stderr in UTF-8, prefixed by the file.
// Table cells keep the engine's default "." as decimal separator on purpose: the files are read by programs
// and must not change with the machine's locale.
class BatchHost : public tavlix::EngineHost {
public:
    // A page that would hold more than the limits allow stops the run, as in the window: memory and disk stay
    // bounded.
    BatchHost(std::string fileLabel, std::string outDir, const tavlix::RunLimits& limits);
    ~BatchHost() override;

    tavlix::TableSink* createTablePage(const std::string& caption) override;
    tavlix::GraphSink* createGraphPage(const std::string& caption) override;
    void showNoticeText(const std::string& text) override;
    void reportFault(const std::string& text) override;
    // The batch mode prints the script error itself, with its file position.
    void showScriptError(const std::string&) override {}
    // False once a page has grown beyond its bound; the reason is then reported as an error.
    bool keepGoing() override;
    // Notes the page made last as one from differential equations, for the accuracy files.
    void integrationFinished(const tavlix::SolverStatistics& statistics) override;
    const std::vector<IntegratedPage>& integratedPages() const { return integratedPages_; }
    // Where a file of the page with this caption (Windows-1252) goes, in UTF-8.
    std::string pathFor(const std::string& caption, const char* extension) const;

    const tavlix::RunLimits& limits() const { return limits_; }
    // Whether the graph pictures carry the legend ("--no-legend" leaves it out).
    void setLegendShown(bool on) { legendShown_ = on; }
    // Whether the graph pictures draw the axes through (0; 0) ("--axes-origin").
    void setAxesThroughOrigin(bool on) { axesThroughOrigin_ = on; }
    // A family run draws into its graph pages until the end, so they are written only then, with member columns.
    void setFamily(bool on) { family_ = on; }
    bool family() const { return family_; }
    // "--slope-field": the field in the pictures and CAPTION.field.tsv; "--through": solutions as further curves.
    void setSlopeField(bool on) { slopeField_ = on; }
    void setThroughPoints(std::vector<std::pair<double, double>> points) { throughPoints_ = std::move(points); }
    // Asks the run to stop at its next pause, with the reason (UTF-8); the first reason is kept.
    void stopRun(const std::string& utf8Reason);

    // Closes the tables and writes every graph's files; false when a file could not be written.
    // A page is also finished as soon as the next one is made, so that a script of thousands of output sections
    // holds one open file and one page's points at a time.
    bool finish();

    bool faulted() const { return faulted_; }          // the fault report was used
    bool writeFailed() const { return writeFailed_; }  // an output file could not be written

private:
    std::unique_ptr<OutputFile> open(const std::string& path);
    bool writeGraphTsv(const BatchGraph& graph);
    bool writeFieldTsv(const BatchGraph& graph);
    // Appends the solutions through the --through points to a graph of differential equations.
    void addSolutions(BatchGraph& graph);
    // The field drawn in the graph's pictures: only with --slope-field and only for a field there is.
    tavlix::DirectionField* shownField(const BatchGraph& graph) const;
    void finishPages();
    void error(const std::string& utf8Text);

    std::string fileLabel_;
    std::string outDir_;
    tavlix::RunLimits limits_;
    std::string stopReason_;
    bool faulted_ = false;
    bool writeFailed_ = false;
    bool family_ = false;
    bool finishing_ = false;
    bool legendShown_ = true;
    bool axesThroughOrigin_ = false;
    bool slopeField_ = false;
    std::vector<std::pair<double, double>> throughPoints_;
    int pointsSinceMemoryCheck_ = 0;
    // Beyond it the run is stopped.
    std::size_t memoryLimit_ = tavlix::memory::limitBytes();
    BatchGraph* currentGraph_ = nullptr;  // the graph being made, if the page being made is one
    long long graphPoints_ = 0;           // output points computed for it, drawn or not
    std::vector<std::unique_ptr<BatchTable>> tables_;
    std::vector<std::unique_ptr<BatchGraph>> graphs_;
    int pagesMade_ = 0;  // result pages asked for, made or not
    std::string lastCaption_;
    std::vector<IntegratedPage> integratedPages_;
};
