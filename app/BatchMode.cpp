// tavlix --batch: runs documents without a window and writes every result page to files.
#include "app/BatchHost.h"
#include "app/EntryPoints.h"

#include "compiler/ScriptCompiler.h"
#include "engine/RunLimits.h"
#include "support/Cp1252Table.h"
#include "support/DocumentFile.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
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
    bool valid = true;
};

// A positive whole number, or 0 when the text is none.
long long count(const char* text)
{
    char* end = nullptr;
    errno = 0;
    const long long n = std::strtoll(text, &end, 10);
    return end != text && *end == '\0' && errno == 0 && n > 0 ? n : 0;
}

// "--max-cells N" and "--max-points N": the option's count, or false when it is missing or no count.
bool takeCount(int argc, char** argv, int& i, long long& n)
{
    if (i + 1 >= argc)
        return false;
    n = count(argv[++i]);
    return n > 0;
}

BatchArgs parseArgs(int argc, char** argv)
{
    BatchArgs args;
    for (int i = 2; i < argc; ++i) {
        if (std::strcmp(argv[i], "--out") == 0) {
            if (i + 1 >= argc) {
                args.valid = false;
                break;
            }
            args.outDir = argv[++i];
        } else if (std::strcmp(argv[i], "--no-legend") == 0) {
            args.legend = false;
        } else if (std::strcmp(argv[i], "--max-cells") == 0) {
            args.valid = args.valid && takeCount(argc, argv, i, args.limits.maxTableCells);
        } else if (std::strcmp(argv[i], "--max-points") == 0) {
            args.valid = args.valid && takeCount(argc, argv, i, args.limits.maxGraphPoints);
        } else if (std::strcmp(argv[i], "--accuracy") == 0) {
            args.accuracy = true;
        } else {
            args.files.emplace_back(argv[i]);
        }
    }
    args.valid = args.valid && !args.files.empty();
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

int runBatch(int argc, char** argv)
{
    const BatchArgs args = parseArgs(argc, argv);
    if (!args.valid) {
        std::cerr << "brug: tavlix --batch [--out MAPPE] [--max-cells N] [--max-points N] [--no-legend] [--accuracy] "
                     "FIL...\n";
        return ExitFault;
    }
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
