// tavlix --batch: runs documents without a window and writes every result page to files.
#include "app/BatchAnalysis.h"
#include "app/BatchHost.h"
#include "app/CommandLine.h"
#include "app/EntryPoints.h"

#include "compiler/Keywords.h"
#include "compiler/ScriptCompiler.h"
#include "engine/RunLimits.h"
#include "support/Cp1252Table.h"
#include "support/DocumentFile.h"

#include <QFile>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <iostream>
#include <string>
#include <utility>
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
    bool axesThroughOrigin = false;
    bool accuracy = false;                           // an accuracy file beside every page from differential equations
    std::vector<std::pair<std::string, int>> picks;  // --pick, the names in Windows-1252 as typed
    std::string family;                              // --family, Windows-1252 as typed; empty for none
    bool slopeField = false;
    std::vector<std::pair<double, double>> throughPoints;
    AnalysisRequest analysis;
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
    args.axesThroughOrigin = line.axesThroughOrigin;
    args.accuracy = line.accuracy;
    for (const auto& [name, n] : line.picks)
        args.picks.emplace_back(cp1252FromUtf8(name.toStdString()), n);
    args.family = cp1252FromUtf8(line.family.toStdString());
    args.slopeField = line.slopeField;
    args.throughPoints = line.throughPoints;
    for (const QString& name : line.fitConstants)
        args.analysis.fitConstants.push_back(cp1252FromUtf8(name.toStdString()));
    args.analysis.fitData = cp1252FromUtf8(line.fitData.toStdString());
    args.analysis.fitModel = cp1252FromUtf8(line.fitModel.toStdString());
    args.analysis.points = line.points;
    args.analysis.tangentAt = line.tangentAt;
    args.analysis.area = line.area;
    return args;
}

// The script page's caption: the file's name without its folder.
std::string captionOf(const std::string& path)
{
    return cp1252FromUtf8(std::filesystem::path(path).filename().string());
}

// Measures the run's pages from differential equations against their references and writes the files.
bool writeAccuracy(const BatchHost& host, const Document& doc, const std::string& path, const ListPicks& picks)
{
    std::vector<std::string> errors, notices;
    const bool ok = writeAccuracyFiles(
        host.integratedPages(), doc.settings, doc.lines,
        [&host](const std::string& caption) { return host.pathFor(caption, ".accuracy.tsv"); }, errors, notices, picks);
    for (const std::string& notice : notices)
        std::cerr << path << ": notice: " << notice << '\n';
    for (const std::string& error : errors)
        std::cerr << path << ": error: " << error << '\n';
    return ok;
}

// A failed analysis is the document's error, as a script error is: exit 1 with its message.
bool writeAnalyses(const AnalysisRequest& request, const BatchHost& host, const Document& doc, const std::string& path,
                   const ListPicks& picks)
{
    std::vector<std::string> errors;
    const bool ok = writeAnalysisFiles(
        request, doc, captionOf(path), picks,
        [&host](const std::string& caption, const char* extension) { return host.pathFor(caption, extension); },
        errors);
    for (const std::string& error : errors)
        std::cerr << path << ": error: " << error << '\n';
    return ok;
}

std::string lowerCase(const std::string& name)
{
    std::string lower = name;
    for (char& c : lower)
        c = static_cast<char>(LowerCaseMap[static_cast<std::uint8_t>(c)]);
    return lower;
}

// Matches the --pick options with the document's list constants; false (with the usage error told) when one names
// no list constant or a value beyond its list.
bool readPicks(const BatchArgs& args, const Document& doc, const std::string& path, ListPicks& picks)
{
    if (args.picks.empty() && args.family.empty())
        return true;
    ScriptCompiler compiler;
    compiler.check(doc.lines, std::chrono::hours(1));
    for (const auto& [name, n] : args.picks) {
        const std::string key = lowerCase(name);
        const std::vector<ListParameter>& found = compiler.listParameters();
        const auto p =
            std::find_if(found.begin(), found.end(), [&key](const ListParameter& q) { return q.key == key; });
        const std::string option = "--pick " + utf8FromCp1252(name) + "=" + std::to_string(n);
        if (p == found.end()) {
            std::cerr << path << ": error: " << option << ": " << utf8FromCp1252(name) << " is not a list constant\n";
            return false;
        }
        if (n > static_cast<int>(p->values.size())) {
            std::cerr << path << ": error: " << option << ": " << utf8FromCp1252(name) << " has " << p->values.size()
                      << " values\n";
            return false;
        }
        picks[key] = n;
    }
    const std::vector<ListParameter>& found = compiler.listParameters();
    const std::string family = lowerCase(args.family);
    if (!family.empty() &&
        std::none_of(found.begin(), found.end(), [&family](const ListParameter& q) { return q.key == family; })) {
        std::cerr << path << ": error: --family " << utf8FromCp1252(args.family) << ": " << utf8FromCp1252(args.family)
                  << " is not a list constant\n";
        return false;
    }
    return true;
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
    ListPicks picks;
    if (!readPicks(args, read.doc, path, picks))
        return ExitFault;
    BatchHost host(path, args.outDir, args.limits);
    host.setLegendShown(args.legend);
    host.setAxesThroughOrigin(args.axesThroughOrigin);
    host.setFamily(!args.family.empty());
    host.setSlopeField(args.slopeField);
    host.setThroughPoints(args.throughPoints);
    ScriptCompiler compiler;
    compiler.setPicks(picks);
    compiler.setFamily(lowerCase(args.family));
    const RunResult result = compiler.run(read.doc.settings, read.doc.lines, captionOf(path), host);
    host.finish();
    int status = ExitOk;
    if (args.accuracy && !result.abandoned && !writeAccuracy(host, read.doc, path, picks))
        status = ExitFault;
    if (args.analysis.any() && !result.abandoned && result.error == ScriptError::None &&
        !writeAnalyses(args.analysis, host, read.doc, path, picks))
        status = ExitScriptError;
    if (result.error != ScriptError::None) {
        std::cerr << path << ':' << std::max(result.caretLine, 0) + FirstScriptLine << ':'
                  << std::max(result.caretColumn, 0) + 1 << ": " << utf8FromCp1252(result.message) << '\n';
        // The message line stays as scripts and stored expectations read it; the hint gets a line of its own.
        if (!result.hint.empty())
            std::cerr << "hint: " << utf8FromCp1252(result.hint) << '\n';
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
