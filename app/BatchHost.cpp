// The batch mode's pages and messages: tables stream into TSV files, graphs keep their points for the files.
#include "app/BatchHost.h"

#include "graph/GraphExport.h"
#include "support/MemoryUse.h"
#include "engine/RunLimits.h"
#include "workspace/QtCp1252.h"

#include <QString>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <iostream>

std::string Utf8FromCp1252(const std::string& bytes)
{
    return QtCp1252::toQString(bytes).toUtf8().toStdString();
}

std::string Cp1252FromUtf8(const std::string& utf8)
{
    return QtCp1252::fromQString(QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())));
}

BatchTable::~BatchTable()
{
    Close();
}

void BatchTable::SetColCount(int n)
{
    Cols = n;
    Cells.resize(static_cast<std::size_t>(n));
}

void BatchTable::SetRowCount(int n)
{
    if (static_cast<long long>(n) * std::max(Cols, 1) > Host.MaxCells)
        Host.StopRun("Tabellen \"" + Utf8FromCp1252(Caption) + "\" er blevet for stor (over " +
                     std::to_string(Host.MaxCells) + " celler). Kørslen er stoppet; de beregnede rækker er "
                     "bevaret. Vælg færre punkter (TAntal) eller et større skridt (TDelta), eller "
                     "hæv grænsen med --max-cells.");
    Rows = n;
}

void BatchTable::SetCell(int col, int row, std::string_view text)
{
    if (row < CurrentRow || col < 0 || col >= Cols)
        return;
    if (row > CurrentRow) {
        FlushRow();
        CurrentRow = row;
    }
    const std::size_t start = std::min(text.find_first_not_of(' '), text.size());
    const std::string_view shown = text.substr(start);
    std::string& cell = Cells[static_cast<std::size_t>(col)];
    cell.assign(shown);
    if (std::any_of(shown.begin(), shown.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; }))
        cell = Utf8FromCp1252(cell);  // the files are UTF-8, like the messages
}

// One line per row that holds text: its cells joined by TAB.
void BatchTable::FlushRow()
{
    bool any = false;
    Line.clear();
    for (std::size_t c = 0; c < Cells.size(); ++c) {
        if (c > 0)
            Line += '\t';
        Line += Cells[c];
        any = any || !Cells[c].empty();
        Cells[c].clear();
    }
    if (any && File) {
        Line += '\n';
        std::fwrite(Line.data(), 1, Line.size(), File);
    }
}

bool BatchTable::Close()
{
    if (!File)
        return true;
    FlushRow();
    const bool ok = !std::ferror(File);
    const bool closed = std::fclose(File) == 0;
    File = nullptr;
    return ok && closed;
}

void BatchGraph::SetSettings(const double (&settings)[16])
{
    std::memcpy(Settings, settings, sizeof Settings);
}

void BatchGraph::Makekurve(int kind)
{
    Recorder.addCurve(curveStyleOfKind(kind));
}

void BatchGraph::Draw2(int curve, double x, double y)
{
    CurveRecorder::Step step;
    if (Recorder.addPoint(curve, x, y, step) == CurveRecorder::Added::OverLimit) {
        Host.StopRun("Grafen \"" + Utf8FromCp1252(Caption) + "\" er blevet for stor (over " +
                     std::to_string(Host.MaxPoints) + " punkter). Kørslen er stoppet; de beregnede punkter er "
                     "bevaret. Vælg færre punkter (TAntal) eller et større skridt (TDelta), eller "
                     "hæv grænsen med --max-points.");
    }
}

BatchHost::BatchHost(std::string fileLabel, std::string outDir)
    : MaxCells(tavlix::RunLimits{}.maxTableCells), MaxPoints(tavlix::RunLimits{}.maxGraphPoints), FileLabel(std::move(fileLabel)),
      OutDir(std::move(outDir))
{
}

void BatchHost::StopRun(const std::string& utf8Reason)
{
    if (StopReason.empty())
        StopReason = utf8Reason;
}

bool BatchHost::KeepGoing()
{
    // The last guard of memory, looked at now and then: reading it costs more than a point.
    static constexpr int MemoryCheckEvery = 4096;
    if (++PointsSinceMemoryCheck >= MemoryCheckEvery) {
        PointsSinceMemoryCheck = 0;
        if (MemoryUse::NearlyExhausted())
            StopRun("Kørslen er stoppet, fordi hukommelsen er ved at slippe op (" +
                    std::to_string(MemoryUse::ResidentBytes() >> 20) + " MB i brug). De beregnede sider er skrevet.");
    }
    // Points that are never drawn (undefined everywhere) cost time too: a graph computes at most MaxPoints of them.
    if (CurrentGraph && ++GraphPoints > MaxPoints)
        StopRun("Grafen \"" + Utf8FromCp1252(CurrentGraph->Caption) + "\" har beregnet over " +
                std::to_string(MaxPoints) + " punkter. Kørslen er stoppet. Vælg færre punkter (TAntal) eller et "
                "større skridt (TDelta), eller hæv grænsen med --max-points.");
    if (StopReason.empty())
        return true;
    if (!Faulted) {
        Faulted = true;
        Error(StopReason);
    }
    return false;
}

BatchHost::~BatchHost() = default;

std::string BatchHost::PathFor(const std::string& caption, const char* extension) const
{
    std::string name = Utf8FromCp1252(caption) + extension;
    return OutDir.empty() ? name : OutDir + "/" + name;
}

void BatchHost::Error(const std::string& utf8Text)
{
    std::cerr << FileLabel << ": error: " << utf8Text << '\n';
}

std::FILE* BatchHost::Open(const std::string& path)
{
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) {
        Error("kan ikke skrive " + path + ": " + std::strerror(errno));
        WriteFailed = true;
        return nullptr;
    }
    static constexpr std::size_t BufferBytes = 1 << 16;
    std::setvbuf(f, nullptr, _IOFBF, BufferBytes);
    return f;
}

TableTarget* BatchHost::LavTabel(const std::string& caption)
{
    FinishPages();
    CurrentGraph = nullptr;
    std::FILE* f = Open(PathFor(caption, ".tsv"));
    if (!f)
        return nullptr;
    Tables.push_back(std::make_unique<BatchTable>(f, *this, caption));
    return Tables.back().get();
}

GraphTarget* BatchHost::LavGraf(const std::string& caption)
{
    FinishPages();
    auto graph = std::make_unique<BatchGraph>(*this, MaxPoints);
    graph->Caption = caption;
    graph->PathStem = PathFor(caption, "");
    CurrentGraph = graph.get();
    GraphPoints = 0;
    Graphs.push_back(std::move(graph));
    return Graphs.back().get();
}

void BatchHost::Notice(const char* text)
{
    std::cerr << FileLabel << ": notice: " << Utf8FromCp1252(text) << '\n';
}

void BatchHost::GeneralError(const std::string& text)
{
    Faulted = true;
    Error(Utf8FromCp1252(text));
}

// curve<TAB>x<TAB>y, 17 significant digits, curves from 1 in creation order, points in storage order.
bool BatchHost::WriteGraphTsv(const BatchGraph& graph)
{
    const std::string path = graph.PathStem + ".tsv";
    std::FILE* f = Open(path);
    if (!f)
        return false;
    char line[96];
    const tavlix::CurveList& curves = graph.Recorder.curves();
    for (std::size_t c = 0; c < curves.size(); ++c) {
        for (const tavlix::CurvePoint& p : curves[c].points) {
            if (p.breaksStroke)
                continue;
            char* out = std::to_chars(line, line + 20, c + 1).ptr;
            *out++ = '\t';
            out = std::to_chars(out, out + 32, p.x, std::chars_format::general, 17).ptr;
            *out++ = '\t';
            out = std::to_chars(out, out + 32, p.y, std::chars_format::general, 17).ptr;
            *out++ = '\n';
            std::fwrite(line, 1, static_cast<std::size_t>(out - line), f);
        }
    }
    const bool ok = !std::ferror(f) && std::fclose(f) == 0;
    if (!ok)
        Error("kan ikke skrive " + path);
    return ok;
}

void BatchHost::FinishPages()
{
    for (auto& table : Tables)
        if (!table->Close())
            WriteFailed = true;
    for (const auto& graph : Graphs) {
        if (graph->Written)
            continue;
        graph->Written = true;
        if (!WriteGraphTsv(*graph))
            WriteFailed = true;
        std::string error;
        tavlix::CoordinateSettings settings;
        std::copy(std::begin(graph->Settings), std::end(graph->Settings), settings.values.begin());
        if (!exportGraph(graph->PathStem, settings, graph->Recorder.curves(), error)) {
            Error(error);
            WriteFailed = true;
        }
        graph->Recorder.release();
    }
}

bool BatchHost::Finish()
{
    FinishPages();
    return !WriteFailed;
}
