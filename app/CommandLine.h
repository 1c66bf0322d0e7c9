// The command line of every mode (window, --batch, --calc), read by one parser before anything else starts.
#pragma once

#include <QString>
#include <QStringList>

#include <optional>
#include <utility>
#include <vector>

enum class RunMode { Window, Batch, Calc, Help, Version, UsageError };

struct CommandLine {
    RunMode mode = RunMode::Window;
    // The documents: opened by the window, run by --batch.
    QStringList files;
    // The window's toolkit platform (-platform NAME); empty when the environment decides.
    QString platform;
    QString outDir;
    // Page bounds of --batch; 0 keeps the default.
    long long maxCells = 0;
    long long maxPoints = 0;
    // --batch: draw no legend (--no-legend); write an accuracy file beside each page from differential equations.
    bool legend = true;
    bool accuracy = false;
    // --batch --axes-origin: graph pictures with the axes through (0; 0).
    bool axesThroughOrigin = false;
    // --batch --pick NAME=N: list constant NAME at its N-th value (from 1), checked against each document.
    QList<QPair<QString, int>> picks;
    // --batch --family NAME: every graph draws one curve per value of list constant NAME.
    QString family;
    // --batch: the direction field in each graph's pictures and CAPTION.field.tsv (--slope-field); the solutions
    // through these points as further curves (--through T0,Y0, repeatable).
    bool slopeField = false;
    std::vector<std::pair<double, double>> throughPoints;
    // --batch analyses: --fit NAME,... with --data TABLE and --model NAME fits constants (CAPTION.fit.tsv);
    // --points, --tangent T0 and --area A,B write each graph page's points, tangents and areas.
    QStringList fitConstants;
    QString fitData;
    QString fitModel;
    bool points = false;
    std::optional<double> tangentAt;
    std::optional<std::pair<double, double>> area;
    QString expression;
    // The usage error in one line, naming the offending argument.
    QString error;
};

// arguments[0] is the program; no argument that looks like an option is ever taken as a file ("--" ends them).
CommandLine parseCommandLine(const QStringList& arguments);
// The usage of every mode and option, as --help prints it.
QString usageText();
// "tavlix X.Y.Z".
QString versionText();
