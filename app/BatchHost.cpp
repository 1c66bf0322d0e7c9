// The batch mode's pages and messages: tables stream into TSV files, graphs keep their points for the files.
#include "app/BatchHost.h"

#include "graph/GraphExport.h"
#include "graph/GraphRenderer.h"
#include "support/Cp1252Table.h"
#include "support/MemoryUse.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QImageWriter>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <iostream>
#include <map>

using namespace tavlix;

namespace {

// Qt's own notes (no runtime folder, fonts) would only clutter the batch mode's error output.
void quiet(QtMsgType, const QMessageLogContext&, const QString&) {}

// The pictures' text needs Qt's font machinery, which only a QGuiApplication provides. The batch mode starts
// one on the offscreen platform when its first graph is written (a family's, when its first graph page is set up),
// so a run of tables loads no graphics at all.
void startGraphics()
{
    if (QCoreApplication::instance())
        return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(quiet);
    static int argc = 1;
    static char name[] = "tavlix";
    static char* argv[] = {name, nullptr};
    // Lives until the program ends; tearing it down after main would race Qt's own clean-up.
    new QGuiApplication(argc, argv);
    // The font and the image writers load on first use; a family loads them here, while its members work.
    (void)QFontMetrics(GraphRenderer::screenFont()).height();
    (void)QImageWriter::supportedImageFormats();
}

}  // namespace

BatchTable::~BatchTable() = default;

void BatchGraph::setSettings(const CoordinateSettings& s)
{
    settings = s;
    // A family's members are already at work on the other cores, and have learnt of this page, so the graphics
    // start now, beside them, rather than alone after the run when the pictures are written.
    if (host.family())
        startGraphics();
}

void BatchTable::setColumnCount(int n)
{
    columns_ = n;
    cells_.resize(static_cast<std::size_t>(n));
}

void BatchTable::setRowCount(int n)
{
    const long long maxCells = host_.limits().maxTableCells;
    if (static_cast<long long>(n) * std::max(columns_, 1) > maxCells)
        host_.stopRun("Tabellen \"" + utf8FromCp1252(caption_) + "\" er blevet for stor (over " +
                      std::to_string(maxCells) +
                      " celler). Kørslen er stoppet; de beregnede rækker er "
                      "bevaret. Vælg færre punkter (TAntal) eller et større skridt (TDelta), eller "
                      "hæv grænsen med --max-cells.");
    rows_ = n;
}

void BatchTable::setCell(int col, int row, std::string_view text)
{
    if (row < currentRow_ || col < 0 || col >= columns_)
        return;
    if (row > currentRow_) {
        flushRow();
        currentRow_ = row;
    }
    const std::size_t start = std::min(text.find_first_not_of(' '), text.size());
    const std::string_view shown = text.substr(start);
    std::string& cell = cells_[static_cast<std::size_t>(col)];
    cell.assign(shown);
    if (std::any_of(shown.begin(), shown.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; }))
        cell = utf8FromCp1252(cell);  // the files are UTF-8, like the messages
}

// One line per row that holds text: its cells joined by TAB.
void BatchTable::flushRow()
{
    bool any = false;
    line_.clear();
    for (std::size_t c = 0; c < cells_.size(); ++c) {
        if (c > 0)
            line_ += '\t';
        line_ += cells_[c];
        any = any || !cells_[c].empty();
        cells_[c].clear();
    }
    if (any && file_) {
        line_ += '\n';
        std::fwrite(line_.data(), 1, line_.size(), file_->stream());
    }
}

bool BatchTable::close(std::string& error)
{
    if (!file_)
        return true;
    flushRow();
    const bool ok = file_->commit(error);
    file_.reset();
    return ok;
}

void BatchGraph::addPoint(int curve, double x, double y)
{
    if (recorder.addPoint(curve, x, y) != CurveRecorder::Added::OverLimit)
        return;
    host.stopRun("Grafen \"" + utf8FromCp1252(caption) + "\" er blevet for stor (over " +
                 std::to_string(recorder.maxPoints()) +
                 " punkter). Kørslen er stoppet; de beregnede punkter er "
                 "bevaret. Vælg færre punkter (TAntal) eller et større skridt (TDelta), eller "
                 "hæv grænsen med --max-points.");
}

BatchHost::BatchHost(std::string fileLabel, std::string outDir, const RunLimits& limits)
    : fileLabel_(std::move(fileLabel)), outDir_(std::move(outDir)), limits_(limits)
{}

void BatchHost::stopRun(const std::string& utf8Reason)
{
    if (stopReason_.empty())
        stopReason_ = utf8Reason;
}

bool BatchHost::keepGoing()
{
    // The last guard of memory, looked at now and then: reading it costs more than a point.
    static constexpr int MemoryCheckEvery = 4096;
    if (++pointsSinceMemoryCheck_ >= MemoryCheckEvery) {
        pointsSinceMemoryCheck_ = 0;
        if (memory::exceeds(memoryLimit_))
            stopRun("Kørslen er stoppet, fordi hukommelsen er ved at slippe op (" +
                    std::to_string(memory::residentBytes() >> 20) + " MB i brug). De beregnede sider er skrevet.");
    }
    // Points that are never drawn (undefined everywhere) cost time too: a graph computes at most maxGraphPoints.
    if (currentGraph_ && ++graphPoints_ > limits_.maxGraphPoints)
        stopRun("Grafen \"" + utf8FromCp1252(currentGraph_->caption) + "\" har beregnet over " +
                std::to_string(limits_.maxGraphPoints) +
                " punkter. Kørslen er stoppet. Vælg færre punkter (TAntal) "
                "eller et større skridt (TDelta), eller hæv grænsen med --max-points.");
    if (stopReason_.empty())
        return true;
    if (!faulted_) {
        faulted_ = true;
        error(stopReason_);
    }
    return false;
}

BatchHost::~BatchHost() = default;

std::string BatchHost::pathFor(const std::string& caption, const char* extension) const
{
    std::string name = utf8FromCp1252(caption) + extension;
    return outDir_.empty() ? name : outDir_ + "/" + name;
}

void BatchHost::error(const std::string& utf8Text)
{
    std::cerr << fileLabel_ << ": error: " << utf8Text << '\n';
}

std::unique_ptr<OutputFile> BatchHost::open(const std::string& path)
{
    auto file = std::make_unique<OutputFile>();
    std::string message;
    if (!file->open(path, message)) {
        error(message);
        writeFailed_ = true;
        return nullptr;
    }
    return file;
}

TableSink* BatchHost::createTablePage(const std::string& caption)
{
    ++pagesMade_;
    lastCaption_ = caption;
    finishPages();
    currentGraph_ = nullptr;
    std::unique_ptr<OutputFile> file = open(pathFor(caption, ".tsv"));
    if (!file)
        return nullptr;
    tables_.push_back(std::make_unique<BatchTable>(std::move(file), *this, caption));
    return tables_.back().get();
}

GraphSink* BatchHost::createGraphPage(const std::string& caption)
{
    ++pagesMade_;
    lastCaption_ = caption;
    finishPages();
    auto graph = std::make_unique<BatchGraph>(*this, limits_.maxGraphPoints);
    graph->caption = caption;
    graph->pathStem = pathFor(caption, "");
    currentGraph_ = graph.get();
    graphPoints_ = 0;
    graphs_.push_back(std::move(graph));
    return graphs_.back().get();
}

void BatchHost::integrationFinished(const SolverStatistics& statistics)
{
    integratedPages_.push_back({lastCaption_, pagesMade_, statistics});
}

void BatchHost::showNoticeText(const std::string& text)
{
    std::cerr << fileLabel_ << ": notice: " << utf8FromCp1252(text) << '\n';
}

void BatchHost::reportFault(const std::string& text)
{
    faulted_ = true;
    error(utf8FromCp1252(text));
}

// curve<TAB>x<TAB>y, 17 significant digits, curves from 1 in creation order, points in storage order. A family
// writes curve<TAB>member<TAB>x<TAB>y, the curve counted within its member.
bool BatchHost::writeGraphTsv(const BatchGraph& graph)
{
    const std::string path = graph.pathStem + ".tsv";
    std::unique_ptr<OutputFile> file = open(path);
    if (!file)
        return false;
    std::FILE* f = file->stream();
    char line[96];
    const CurveList& curves = graph.recorder.curves();
    std::map<int, int> perMember;
    for (std::size_t c = 0; c < curves.size(); ++c) {
        const int number = family_ ? ++perMember[curves[c].familyMember] : static_cast<int>(c + 1);
        // An empty line before a point that starts a new stroke: plotting programs read it as "do not join".
        bool broken = false, written = false;
        for (const CurvePoint& p : curves[c].points) {
            if (p.breaksStroke) {
                broken = written;
                continue;
            }
            char* out = line;
            if (broken)
                *out++ = '\n';
            broken = false;
            written = true;
            out = std::to_chars(out, out + 20, number).ptr;
            *out++ = '\t';
            if (family_) {
                out = std::to_chars(out, out + 20, curves[c].familyMember).ptr;
                *out++ = '\t';
            }
            out = std::to_chars(out, out + 32, p.x, std::chars_format::general, 17).ptr;
            *out++ = '\t';
            out = std::to_chars(out, out + 32, p.y, std::chars_format::general, 17).ptr;
            *out++ = '\n';
            std::fwrite(line, 1, static_cast<std::size_t>(out - line), f);
        }
    }
    std::string message;
    if (file->commit(message))
        return true;
    error(message);
    return false;
}

tavlix::DirectionField* BatchHost::shownField(const BatchGraph& graph) const
{
    return slopeField_ && graph.field && graph.field->kind() != FieldKind::None ? graph.field.get() : nullptr;
}

void BatchHost::addSolutions(BatchGraph& graph)
{
    if (!graph.field || graph.field->kind() == FieldKind::None)
        return;
    const CoordinateSettings& s = graph.settings;
    const ValueRect area{s[Setting::Xmin], s[Setting::Xmax], s[Setting::Ymin], s[Setting::Ymax]};
    CurveList& curves = graph.recorder.curves();
    for (const auto& [x, y] : throughPoints_) {
        Curve curve;
        curve.points = graph.field->solveThrough(x, y, area);
        curve.style = nextFreeLineStyle(curves);
        char name[80];
        std::snprintf(name, sizeof name, "gennem (%g; %g)", x, y);
        curve.name = name;
        curve.origin = CurveOrigin::Solution;
        curves.push_back(std::move(curve));
    }
}

// x<TAB>y<TAB>dx<TAB>dy: each element's centre and unit direction as the PNG shows them, 17 significant digits.
bool BatchHost::writeFieldTsv(const BatchGraph& graph)
{
    std::unique_ptr<OutputFile> file = open(graph.pathStem + ".field.tsv");
    if (!file)
        return false;
    char line[160];
    const GraphLook look(legendShown_, axesThroughOrigin_);
    for (const FieldElement& e :
         pictureFieldElements(graph.settings, graph.recorder.curves(), *graph.field, ExportWidth, ExportHeight, look)) {
        char* out = line;
        for (double v : {e.x, e.y, e.dx, e.dy}) {
            out = std::to_chars(out, out + 32, v, std::chars_format::general, 17).ptr;
            *out++ = '\t';
        }
        out[-1] = '\n';
        std::fwrite(line, 1, static_cast<std::size_t>(out - line), file->stream());
    }
    std::string message;
    if (file->commit(message))
        return true;
    error(message);
    return false;
}

void BatchHost::finishPages()
{
    for (auto& table : tables_) {
        std::string message;
        if (!table->close(message)) {
            error(message);
            writeFailed_ = true;
        }
    }
    for (const auto& graph : graphs_) {
        if (graph->written || (family_ && !finishing_))
            continue;
        graph->written = true;
        addSolutions(*graph);
        if (!writeGraphTsv(*graph))
            writeFailed_ = true;
        std::string message;
        startGraphics();
        if (shownField(*graph) && !writeFieldTsv(*graph))
            writeFailed_ = true;
        if (!exportGraph(graph->pathStem, graph->settings, graph->recorder.curves(), message,
                         GraphLook(legendShown_, axesThroughOrigin_), shownField(*graph))) {
            error(message);
            writeFailed_ = true;
        }
        graph->recorder.release();
        graph->field.reset();
    }
}

bool BatchHost::finish()
{
    finishing_ = true;
    finishPages();
    return !writeFailed_;
}
