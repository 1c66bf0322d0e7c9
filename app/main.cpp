// The main routine: reads the command line once, then starts the window, the batch mode or the calculator.
#include "app/CommandLine.h"
#include "app/EntryPoints.h"

#include <cstdio>

namespace {

constexpr int ExitUsage = 2;

void print(std::FILE* stream, const QString& text)
{
    std::fputs(text.toLocal8Bit().constData(), stream);
}

}  // namespace

int main(int argc, char** argv)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    if (arguments.isEmpty())
        arguments << "tavlix";
    const CommandLine line = parseCommandLine(arguments);
    switch (line.mode) {
    case RunMode::Help: print(stdout, usageText()); return 0;
    case RunMode::Version: print(stdout, versionText() + '\n'); return 0;
    case RunMode::UsageError:
        print(stderr, QString("tavlix: %1 (see tavlix --help)\n").arg(line.error));
        return ExitUsage;
    case RunMode::Batch: return runBatch(line);
    case RunMode::Calc: return runCalc(line);
    case RunMode::Window: break;
    }
    return runGui(arguments.constFirst(), line);
}
