// tavlix --batch: runs documents without a window and writes every result page to files.
#include "app/BatchHost.h"
#include "app/Commands.h"

#include "compiler/ScriptCompiler.h"
#include "engine/Model.h"
#include "support/DocumentFile.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

namespace {

// A script line is the document's line after the sixteen settings lines.
constexpr int FirstScriptLine = 17;

enum ExitStatus { Ok = 0, ScriptError = 1, Fault = 2 };

struct BatchArgs {
    std::string OutDir;
    std::vector<std::string> Files;
    long long MaxCells = 0;   // 0: the window's bound
    long long MaxPoints = 0;
    bool Valid = true;
};

// A positive whole number, or 0 when the text is none.
long long Count(const char* text)
{
    char* end = nullptr;
    errno = 0;
    const long long n = std::strtoll(text, &end, 10);
    return end != text && *end == '\0' && errno == 0 && n > 0 ? n : 0;
}

// "--max-cells N" and "--max-points N": the option's count, or false when it is missing or no count.
bool TakeCount(int argc, char** argv, int& i, long long& count)
{
    if (i + 1 >= argc)
        return false;
    count = Count(argv[++i]);
    return count > 0;
}

BatchArgs ParseArgs(int argc, char** argv)
{
    BatchArgs args;
    for (int i = 2; i < argc; ++i) {
        if (std::strcmp(argv[i], "--out") == 0) {
            if (i + 1 >= argc) {
                args.Valid = false;
                break;
            }
            args.OutDir = argv[++i];
        } else if (std::strcmp(argv[i], "--max-cells") == 0) {
            args.Valid = args.Valid && TakeCount(argc, argv, i, args.MaxCells);
        } else if (std::strcmp(argv[i], "--max-points") == 0) {
            args.Valid = args.Valid && TakeCount(argc, argv, i, args.MaxPoints);
        } else {
            args.Files.emplace_back(argv[i]);
        }
    }
    args.Valid = args.Valid && !args.Files.empty();
    return args;
}

// The script page's caption: the file's name without its folder.
std::string CaptionOf(const std::string& path)
{
    return Cp1252FromUtf8(std::filesystem::path(path).filename().string());
}

// One document: read, run as "Kør" does, write its pages; returns its exit status.
int RunDocument(const std::string& argument, const BatchArgs& args)
{
    const std::string path = CompleteFileName(argument);
    const ReadResult read = ReadDocument(path);
    if (!read.ok) {
        std::cerr << path << ": error: " << Utf8FromCp1252(read.error) << '\n';
        return Fault;
    }
    BatchHost host(path, args.OutDir);
    if (args.MaxCells > 0)
        host.MaxCells = args.MaxCells;
    if (args.MaxPoints > 0)
        host.MaxPoints = args.MaxPoints;
    ScriptCompiler compiler;
    const RunResult result = compiler.Run(read.doc.Settings, read.doc.Lines, CaptionOf(path), host);
    Eng.Host = nullptr;
    host.Finish();
    int status = Ok;
    if (result.ErrorCode > 0) {
        std::cerr << path << ':' << std::max(result.CaretLine, 0) + FirstScriptLine << ':'
                  << std::max(result.CaretColumn, 0) + 1 << ": " << Utf8FromCp1252(result.Message) << '\n';
        status = ScriptError;
    }
    if (result.Abandoned || host.Faulted || host.WriteFailed)
        status = Fault;
    return status;
}

}  // namespace

int RunBatch(int argc, char** argv)
{
    const BatchArgs args = ParseArgs(argc, argv);
    if (!args.Valid) {
        std::cerr << "brug: tavlix --batch [--out MAPPE] [--max-cells N] [--max-points N] FIL...\n";
        return Fault;
    }
    if (!args.OutDir.empty()) {
        std::error_code ec;
        std::filesystem::create_directories(args.OutDir, ec);
        if (ec) {
            std::cerr << args.OutDir << ": error: " << ec.message() << '\n';
            return Fault;
        }
    }
    int status = Ok;
    for (const std::string& file : args.Files)
        status = std::max(status, RunDocument(file, args));
    return status;
}
