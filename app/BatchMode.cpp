// tavlix --batch: runs documents without a window and writes every result page to files.
#include "app/BatchHost.h"
#include "app/CommandLine.h"
#include "app/EntryPoints.h"

#include "compiler/ScriptCompiler.h"
#include "engine/RunLimits.h"
#include "support/Cp1252Table.h"
#include "support/DocumentFile.h"

#include <QFile>

#include <algorithm>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

using namespace tavlix;

namespace {

// A script line is the document's line after the sixteen settings lines.
constexpr int FirstScriptLine = 17;

// The exit status: the worst of all documents.
constexpr int ExitOk = 0;
constexpr int ExitScriptError = 1;
constexpr int ExitFault = 2;

struct BatchArgs {
    std::string outDir;
    std::vector<std::string> files;
    RunLimits limits;
    bool legend = true;
    bool accuracy = false;  // an accuracy file beside every page from differential equations
    bool slopeField = false;
    std::vector<std::pair<double, double>> throughPoints;
};

BatchArgs batchArgs(const CommandLine& line)
{
    BatchArgs args;
    args.outDir = QFile::encodeName(line.outDir).toStdString();
    for (const QString& file : line.files)
        args.files.push_back(QFile::encodeName(file).toStdString());
    if (line.maxCells > 0)
        args.limits.maxTableCells = line.maxCells;
    if (line.maxPoints > 0)
        args.limits.maxGraphPoints = line.maxPoints;
    args.legend = line.legend;
    args.accuracy = line.accuracy;
    args.slopeField = line.slopeField;
    args.throughPoints = line.throughPoints;
    return args;
}

// The script page's caption: the file's name without its folder.
std::string captionOf(const std::string& path)
{
    return cp1252FromUtf8(std::filesystem::path(path).filename().string());
}

// Measures the run's pages from differential equations against their references and writes the files.
bool writeAccuracy(const BatchHost& host, const Document& doc, const std::string& path)
{
    std::vector<std::string> errors;
    const bool ok = writeAccuracyFiles(
        host.integratedPages(), doc.settings, doc.lines,
        [&host](const std::string& caption) { return host.pathFor(caption, ".accuracy.tsv"); }, errors);
    for (const std::string& error : errors)
        std::cerr << path << ": error: " << error << '\n';
    return ok;
}

// One document: read, run as "Kør" does, write its pages; returns its exit status.
int runDocument(const std::string& argument, const BatchArgs& args)
{
    const std::string path = completeFileName(argument);
    const DocumentReadResult read = readDocument(path);
    if (!read.ok) {
        std::cerr << path << ": error: " << utf8FromCp1252(read.error) << '\n';
        return ExitFault;
    }
    BatchHost host(path, args.outDir, args.limits);
    host.setLegendShown(args.legend);
    host.setSlopeField(args.slopeField);
    host.setThroughPoints(args.throughPoints);
    ScriptCompiler compiler;
    const RunResult result = compiler.run(read.doc.settings, read.doc.lines, captionOf(path), host);
    host.finish();
    int status = ExitOk;
    if (args.accuracy && !result.abandoned && !writeAccuracy(host, read.doc, path))
        status = ExitFault;
    if (result.error != ScriptError::None) {
        std::cerr << path << ':' << std::max(result.caretLine, 0) + FirstScriptLine << ':'
                  << std::max(result.caretColumn, 0) + 1 << ": " << utf8FromCp1252(result.message) << '\n';
        status = ExitScriptError;
    }
    if (result.abandoned || host.faulted() || host.writeFailed())
        status = ExitFault;
    return status;
}

}  // namespace

int runBatch(const CommandLine& line)
{
    const BatchArgs args = batchArgs(line);
    if (!args.outDir.empty()) {
        std::error_code ec;
        std::filesystem::create_directories(args.outDir, ec);
        if (ec) {
            std::cerr << args.outDir << ": error: " << ec.message() << '\n';
            return ExitFault;
        }
    }
    int status = ExitOk;
    for (const std::string& file : args.files)
        status = std::max(status, runDocument(file, args));
    return status;
}
