// One parser for every mode, so that an option is never mistaken for a document and each mistake is a usage error.
#include "app/CommandLine.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QRegularExpression>

#include <cmath>

#ifndef TAVLIX_VERSION
#define TAVLIX_VERSION "0.0.0"
#endif

namespace {

struct Options {
    QCommandLineOption help{{"h", "help"}};
    QCommandLineOption version{{"v", "version"}};
    QCommandLineOption batch{"batch"};
    QCommandLineOption calc{"calc", QString(), "EXPR"};
    QCommandLineOption out{"out", QString(), "DIR"};
    QCommandLineOption maxCells{"max-cells", QString(), "N"};
    QCommandLineOption maxPoints{"max-points", QString(), "N"};
    QCommandLineOption noLegend{"no-legend"};
    QCommandLineOption axesOrigin{"axes-origin"};
    QCommandLineOption accuracy{"accuracy"};
    QCommandLineOption pick{"pick", QString(), "NAME=N"};
    QCommandLineOption family{"family", QString(), "NAME"};
    QCommandLineOption slopeField{"slope-field"};
    QCommandLineOption through{"through", QString(), "T0,Y0"};
    QCommandLineOption fit{"fit", QString(), "NAME,NAME..."};
    QCommandLineOption data{"data", QString(), "TABLE"};
    QCommandLineOption model{"model", QString(), "NAME"};
    QCommandLineOption points{"points"};
    QCommandLineOption tangent{"tangent", QString(), "T0"};
    QCommandLineOption area{"area", QString(), "A,B"};
    QCommandLineOption platform{"platform", QString(), "NAME"};
};

// A whole number above 0, or 0 when the text is none.
long long positiveCount(const QString& text)
{
    bool ok = false;
    const long long n = text.toLongLong(&ok);
    return ok && n > 0 ? n : 0;
}

// The first rule of the modes that the parsed options break, or an empty text.
QString modeError(const QCommandLineParser& parser, const Options& o, const CommandLine& line)
{
    const bool batch = parser.isSet(o.batch), calc = parser.isSet(o.calc);
    if (batch && calc)
        return "--batch and --calc cannot be combined";
    for (const QCommandLineOption* option :
         {&o.out, &o.maxCells, &o.maxPoints, &o.noLegend, &o.axesOrigin, &o.accuracy, &o.pick, &o.family, &o.slopeField,
          &o.through, &o.fit, &o.data, &o.model, &o.points, &o.tangent, &o.area})
        if (!batch && parser.isSet(*option))
            return QString("--%1 belongs to --batch").arg(option->names().constFirst());
    if ((batch || calc) && parser.isSet(o.platform))
        return "-platform belongs to the window";
    if (calc && !line.files.isEmpty())
        return QString("--calc takes one expression; unexpected '%1'").arg(line.files.constFirst());
    if (batch && line.files.isEmpty())
        return "--batch needs at least one document";
    return QString();
}

// Reads a count option; false with the error set when its value is no whole number above 0.
bool readCount(const QCommandLineParser& parser, const QCommandLineOption& option, long long& n, QString& error)
{
    if (!parser.isSet(option))
        return true;
    n = positiveCount(parser.value(option));
    if (n == 0)
        error = QString("--%1 needs a whole number above 0, not '%2'")
                    .arg(option.names().constFirst(), parser.value(option));
    return n > 0;
}

// The parser's own complaint, naming the argument as it was typed.
QString parseError(const QCommandLineParser& parser, const QStringList& arguments)
{
    const QStringList unknown = parser.unknownOptionNames();
    if (unknown.isEmpty()) {
        QString text = parser.errorText();
        text.remove(QRegularExpression("\\.$"));
        return text.isEmpty() ? text : text.front().toLower() + text.mid(1);
    }
    const QString& name = unknown.constFirst();
    for (const QString& a : arguments.mid(1))
        if (a == "-" + name || a == "--" + name || a.startsWith("--" + name + "="))
            return QString("unknown option '%1'").arg(a.section('=', 0, 0));
    return QString("unknown option '%1'").arg(name);
}

// Reads every --pick NAME=N; false with the error set at the first that is not a name, "=" and a whole number above 0.
bool readPicks(const QCommandLineParser& parser, const QCommandLineOption& option, CommandLine& line, QString& error)
{
    const QRegularExpression form("^([^=\\s]+)=([0-9]+)$");
    for (const QString& value : parser.values(option)) {
        const QRegularExpressionMatch m = form.match(value);
        const long long n = m.hasMatch() ? positiveCount(m.captured(2)) : 0;
        if (n == 0 || n > 1000) {
            error = QString("--pick needs NAME=N with N a whole number from 1, not '%1'").arg(value);
            return false;
        }
        line.picks.append({m.captured(1), static_cast<int>(n)});
    }
    return true;
}

// The points of --through, each two numbers with a point as decimal separator and a comma between them;
// false with the error set on the first that is not.
bool readThroughPoints(const QStringList& values, std::vector<std::pair<double, double>>& points, QString& error)
{
    for (const QString& value : values) {
        const QStringList parts = value.split(',');
        bool okX = false, okY = false;
        const double x = parts.size() == 2 ? parts[0].trimmed().toDouble(&okX) : 0;
        const double y = parts.size() == 2 ? parts[1].trimmed().toDouble(&okY) : 0;
        if (!okX || !okY || !std::isfinite(x) || !std::isfinite(y)) {
            error = QString("--through needs two numbers as T0,Y0, not '%1'").arg(value);
            return false;
        }
        points.emplace_back(x, y);
    }
    return true;
}

// A number with a point as decimal separator; false when the text is none.
bool readNumber(const QString& text, double& v)
{
    bool ok = false;
    v = text.trimmed().toDouble(&ok);
    return ok && std::isfinite(v);
}

// --fit, --data and --model go together; --tangent takes a number and --area two. False with the error set.
bool readAnalyses(const QCommandLineParser& parser, const Options& o, CommandLine& line, QString& error)
{
    const bool fit = parser.isSet(o.fit), data = parser.isSet(o.data), model = parser.isSet(o.model);
    if ((fit || data || model) && !(fit && data && model)) {
        error = "--fit, --data and --model go together";
        return false;
    }
    if (fit) {
        line.fitConstants = parser.value(o.fit).split(',', Qt::SkipEmptyParts);
        for (QString& name : line.fitConstants)
            name = name.trimmed();
        line.fitData = parser.value(o.data);
        line.fitModel = parser.value(o.model);
        if (line.fitConstants.isEmpty()) {
            error = "--fit needs the names of constants, NAME,NAME...";
            return false;
        }
    }
    double t0 = 0;
    if (parser.isSet(o.tangent)) {
        if (!readNumber(parser.value(o.tangent), t0)) {
            error = QString("--tangent needs a number, not '%1'").arg(parser.value(o.tangent));
            return false;
        }
        line.tangentAt = t0;
    }
    if (parser.isSet(o.area)) {
        const QStringList parts = parser.value(o.area).split(',');
        double a = 0, b = 0;
        if (parts.size() != 2 || !readNumber(parts[0], a) || !readNumber(parts[1], b)) {
            error = QString("--area needs two numbers as A,B, not '%1'").arg(parser.value(o.area));
            return false;
        }
        line.area = std::make_pair(a, b);
    }
    line.points = parser.isSet(o.points);
    return true;
}

CommandLine usageError(const QString& text)
{
    CommandLine line;
    line.mode = RunMode::UsageError;
    line.error = text;
    return line;
}

}  // namespace

CommandLine parseCommandLine(const QStringList& arguments)
{
    Options o;
    QCommandLineParser parser;
    // "-platform xcb" as the toolkit has always spelled it; single letters stay (-h, -v).
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.addOptions({o.help,     o.version,    o.batch,    o.calc,   o.out,     o.maxCells,   o.maxPoints,
                       o.noLegend, o.axesOrigin, o.accuracy, o.pick,   o.family,  o.slopeField, o.through,
                       o.fit,      o.data,       o.model,    o.points, o.tangent, o.area,       o.platform});
    if (!parser.parse(arguments))
        return usageError(parseError(parser, arguments));
    CommandLine line;
    if (parser.isSet(o.help) || parser.isSet(o.version)) {
        line.mode = parser.isSet(o.help) ? RunMode::Help : RunMode::Version;
        return line;
    }
    line.files = parser.positionalArguments();
    if (const QString error = modeError(parser, o, line); !error.isEmpty())
        return usageError(error);
    QString error;
    if (!readCount(parser, o.maxCells, line.maxCells, error) ||
        !readCount(parser, o.maxPoints, line.maxPoints, error) || !readPicks(parser, o.pick, line, error))
        return usageError(error);
    if (!readThroughPoints(parser.values(o.through), line.throughPoints, error) ||
        !readAnalyses(parser, o, line, error))
        return usageError(error);
    line.mode = parser.isSet(o.batch) ? RunMode::Batch : parser.isSet(o.calc) ? RunMode::Calc : RunMode::Window;
    line.outDir = parser.value(o.out);
    line.expression = parser.value(o.calc);
    line.platform = parser.value(o.platform);
    line.legend = !parser.isSet(o.noLegend);
    line.axesThroughOrigin = parser.isSet(o.axesOrigin);
    line.accuracy = parser.isSet(o.accuracy);
    line.family = parser.value(o.family);
    line.slopeField = parser.isSet(o.slopeField);
    return line;
}

QString usageText()
{
    return QStringLiteral(
        "Usage:\n"
        "  tavlix [-platform NAME] [--] [FILE...]\n"
        "      Opens the window with the given documents (.tvx), or with one new document.\n"
        "  tavlix --batch [--out DIR] [--max-cells N] [--max-points N] [--no-legend] [--axes-origin] [--accuracy]\n"
        "         [--pick NAME=N]... [--family NAME] [--slope-field] [--through T0,Y0]...\n"
        "         [--fit NAME,NAME... --data TABLE --model NAME] [--points] [--tangent T0] [--area A,B] [--] FILE...\n"
        "      Runs each document without a window and writes every result page to files.\n"
        "  tavlix --calc EXPR\n"
        "      Prints the value of one expression of the settings calculator.\n"
        "\n"
        "Options:\n"
        "  -h, --help          print this text and exit\n"
        "  -v, --version       print the version and exit\n"
        "  --batch             run documents without a window (needs no display)\n"
        "  --out DIR           --batch: the folder for the result files (default: the current folder)\n"
        "  --max-cells N       --batch: stop a table page at N cells (default 50000000)\n"
        "  --max-points N      --batch: stop a graph page at N points (default 10000000)\n"
        "  --no-legend         --batch: graph pictures without their legend\n"
        "  --axes-origin       --batch: graph pictures with the axes through (0; 0) where the view holds it\n"
        "  --accuracy          --batch: write CAPTION.accuracy.tsv beside each page from differential equations\n"
        "  --pick NAME=N       --batch: run with list constant NAME at its N-th value (repeatable)\n"
        "  --family NAME       --batch: graphs draw one curve per value of list constant NAME\n"
        "  --slope-field       --batch: draw the slope field (or phase plane) in each graph of differential\n"
        "                      equations and write CAPTION.field.tsv, one element a line: x, y, dx, dy\n"
        "  --through T0,Y0     --batch: add the solution through this point to each such graph (repeatable;\n"
        "                      X0,Y0 for a phase plane)\n"
        "  --fit NAME,NAME...  --batch: fit these constants (given as plain numbers) so that --model meets the\n"
        "                      table --data; writes CAPTION.fit.tsv: NAME, value, standard error a line, then\n"
        "                      rms, r2 and iterations\n"
        "  --data TABLE        --batch: the table of points a fit meets (x read as t)\n"
        "  --model NAME        --batch: the function or differential-equation variable a fit adjusts\n"
        "  --points            --batch: write each graph's zeros, extremes and intersections of curves against t\n"
        "                      to CAPTION.points.tsv: kind, curve, other curve, x, y\n"
        "  --tangent T0        --batch: write each graph's tangents at t = T0 to CAPTION.tangent.tsv: curve, t,\n"
        "                      y, slope\n"
        "  --area A,B          --batch: write each graph's integrals from A to B to CAPTION.area.tsv: curve, a,\n"
        "                      b, integral\n"
        "  --calc EXPR         evaluate EXPR and print it with 17 significant digits\n"
        "  -platform NAME      the window's display platform (xcb, wayland, offscreen)\n"
        "  --                  ends the options: every later argument is a file\n"
        "\n"
        "Exit status: 0 success; 1 a script error (--batch) or an expression error (--calc);\n"
        "2 a usage error, no display for the window, an unreadable file or an abandoned run.\n");
}

QString versionText()
{
    return QStringLiteral("tavlix " TAVLIX_VERSION);
}
