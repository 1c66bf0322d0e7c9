// The Lorenz system through the engine (byte code, solver, table rows) against a native RKF45 with the same step
// control and the same rows: sigma 10, rho 28, beta 8/3 from (1, 1, 1), t 0..100, 100,000 rows. Then a whole
// script with a graph of it, alone and with a table of the same output times (one integration between them).
#include "tests/engine/EngineTestSupport.h"  // the byte-code assembler of the engine tests

#include "compiler/ScriptCompiler.h"
#include "engine/OutputGenerator.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

using namespace tavlix;
using namespace tavlix::test;

namespace {

constexpr double TEnd = 100;
constexpr int Rows = 100000;
constexpr double AbsTol = 1e-9;
constexpr double RelTol = 1e-8;

// The rows as the batch mode writes them: cells without their leading spaces, joined by TAB.
class RowWriter {
public:
    RowWriter() : File(std::tmpfile()) { std::setvbuf(File, nullptr, _IOFBF, 1 << 16); }
    ~RowWriter() { std::fclose(File); }
    void Cell(int col, std::string_view text)
    {
        if (col > 0)
            Line += '\t';
        Line.append(text.substr(std::min(text.find_first_not_of(' '), text.size())));
    }
    void EndRow()
    {
        Line += '\n';
        std::fwrite(Line.data(), 1, Line.size(), File);
        Line.clear();
    }
    void Rewind() { std::rewind(File); }

private:
    std::FILE* File;
    std::string Line;
};

class WriterTable : public TableSink {
public:
    explicit WriterTable(RowWriter& w) : Out(w) {}
    void setColumnCount(int n) override { Cols = n; }
    void setRowCount(int n) override { RowsNow = n; }
    int rowCount() const override { return RowsNow; }
    void setCell(int col, int, std::string_view text) override
    {
        Out.Cell(col, text);
        if (col == Cols - 1)
            Out.EndRow();
    }
    void showGrid() override {}

private:
    RowWriter& Out;
    int Cols = 0;
    int RowsNow = 0;
};

class WriterHost : public NullHost {
public:
    explicit WriterHost(RowWriter& w) : Table(w) {}
    TableSink* createTablePage(const std::string&) override { return &Table; }
    WriterTable Table;
};

std::unique_ptr<Model> LorenzModel()
{
    auto m = std::make_unique<Model>();
    m->script.records[0].name = "t";
    const int x = 1, y = 2, z = 3;
    AddRecord(*m, "x", Code().num(10).ref(y).ref(x).op(OpCode::Sub).op(OpCode::Mul), 1, BigValue, true);
    AddRecord(*m, "y", Code().ref(x).num(28).ref(z).op(OpCode::Sub).op(OpCode::Mul).ref(y).op(OpCode::Sub), 1, BigValue,
              true);
    AddRecord(*m, "z",
              Code().ref(x).ref(y).op(OpCode::Mul).num(8).num(3).op(OpCode::Div).ref(z).op(OpCode::Mul).op(OpCode::Sub),
              1, BigValue, true);
    m->script.lastOdeRecord = 3;
    m->script.lastPlainRecord = 0;
    m->script.outputCount = 4;
    for (int e = 1; e <= 4; ++e)
        growTo(m->script.outputs, e) = TableColumn(e - 1);
    const double settings[16] = {-5, 10, 1, 0, -5, 5, 1, 0, 0, TEnd, Rows, 0, AbsTol, RelTol, 0, 0};
    std::copy(std::begin(settings), std::end(settings), m->script.settings.values.begin());
    return m;
}

void BM_EngineLorenz(benchmark::State& state)
{
    RowWriter writer;
    WriterHost host(writer);
    for (auto _ : state) {
        auto m = LorenzModel();
        RunState run;
        run.host = &host;
        writer.Rewind();
        int resultCount = 0;
        benchmark::DoNotOptimize(generateTable(*m, run, "lorenz", resultCount));
    }
}
BENCHMARK(BM_EngineLorenz)->Unit(benchmark::kMillisecond);

// The same Runge-Kutta-Fehlberg 4(5) step control with the right-hand side in C++.
constexpr double C[7] = {0, 0, 1.0 / 4, 3.0 / 8, 12.0 / 13, 1, 1.0 / 2};
constexpr double A[7][5] = {{},
                            {},
                            {1.0 / 4},
                            {3.0 / 32, 9.0 / 32},
                            {1932.0 / 2197, -7200.0 / 2197, 7296.0 / 2197},
                            {439.0 / 216, -8, 3680.0 / 513, -845.0 / 4104},
                            {-8.0 / 27, 2, -3544.0 / 2565, 1859.0 / 4104, -11.0 / 40}};
constexpr int ETerm[5] = {0, 2, 3, 4, 5};
constexpr double EWeight[5] = {1.0 / 360, -128.0 / 4275, -2197.0 / 75240, 1.0 / 50, 2.0 / 55};
constexpr int BTerm[4] = {0, 2, 3, 4};
constexpr double BWeight[4] = {25.0 / 216, 1408.0 / 2565, 2197.0 / 4104, -1.0 / 5};

struct Native {
    double y[3] = {1, 1, 1}, y0[3] = {}, k[6][3] = {};
    double h = 0, hNext = 0, hMin = 0, hMax = 0;
    bool mayGrow = false;

    void Rhs(const double* v, double* out) const
    {
        out[0] = (10 * (v[1] - v[0])) * h;
        out[1] = (v[0] * (28 - v[2]) - v[1]) * h;
        out[2] = (v[0] * v[1] - 8.0 / 3 * v[2]) * h;
    }
    bool Step()
    {
        double s[3];
        Rhs(y0, k[0]);
        for (int st = 2; st <= 6; ++st) {
            for (int i = 0; i < 3; ++i) {
                long double sum = 0;
                for (int j = 0; j < st - 1; ++j)
                    sum += static_cast<long double>(A[st][j]) * k[j][i];
                s[i] = static_cast<double>(sum + y0[i]);
            }
            Rhs(s, k[st - 1]);
        }
        mayGrow = true;
        for (int i = 0; i < 3; ++i) {
            long double e = 0, b = 0;
            for (int j = 0; j < 5; ++j)
                e += static_cast<long double>(EWeight[j]) * k[ETerm[j]][i];
            for (int j = 0; j < 4; ++j)
                b += static_cast<long double>(BWeight[j]) * k[BTerm[j]][i];
            const double err = static_cast<double>(e);
            y[i] = static_cast<double>(b + err + y0[i]);
            const double tol = std::fabs(y[i]) * RelTol + AbsTol;
            if (std::fabs(err) > tol)
                return false;
            mayGrow = mayGrow && tol / 50 > std::fabs(err);
        }
        return true;
    }
};

void WriteRow(RowWriter& w, double t, const double* y)
{
    w.Cell(0, formatCell(t, '.'));
    for (int i = 0; i < 3; ++i)
        w.Cell(i + 1, formatCell(y[i], '.'));
    w.EndRow();
}

void NativeLorenz(RowWriter& w)
{
    Native n;
    const double step = TEnd / Rows;
    n.hMax = n.h = n.hNext = step;
    n.hMin = step / 10000;
    double t = 0, tOut = 0;
    for (;;) {
        if (t >= TEnd) {
            WriteRow(w, t, n.y);
            return;
        }
        if (t == tOut) {
            WriteRow(w, t, n.y);
            tOut = t + step;
        }
        n.h = n.hNext;
        double target = t + n.h;
        if (target > TEnd)
            target = TEnd, n.h = target - t;
        else if (target > tOut)
            target = tOut, n.h = target - t;
        std::copy(n.y, n.y + 3, n.y0);
        while (!n.Step()) {
            if (n.h <= n.hMin)
                return;
            n.h = std::fmax(n.h / 2, n.hMin);
            n.hNext = n.h;
            target = t + n.h;
        }
        t = target;
        if (n.mayGrow && n.h < n.hMax && n.h == n.hNext)
            n.hNext = std::fmin(2 * n.hNext, n.hMax);
    }
}

void BM_NativeLorenz(benchmark::State& state)
{
    RowWriter writer;
    for (auto _ : state) {
        writer.Rewind();
        NativeLorenz(writer);
    }
}
BENCHMARK(BM_NativeLorenz)->Unit(benchmark::kMillisecond);

// A graph alone and a graph with a table of the same output times, at a tolerance where the steps dominate.
class PageHost : public NullHost {
public:
    TableSink* createTablePage(const std::string&) override { return &Table; }
    GraphSink* createGraphPage(const std::string&) override { return &Graph; }

private:
    class CountingTable : public TableSink {
    public:
        void setColumnCount(int) override {}
        void setRowCount(int n) override { Rows = n; }
        int rowCount() const override { return Rows; }
        void setCell(int, int, std::string_view) override {}
        void showGrid() override {}

    private:
        int Rows = 0;
    };
    CountingTable Table;
    NullGraphSink Graph;
};

enum class Sections { Graph, GraphAndTable, TableThenGraphApart };

void RunLorenzScript(benchmark::State& state, Sections sections)
{
    SettingsTexts settings = {"-30", "30", "10",   "0", "0",     "80",    "10", "0",
                              "0",   "20", "1000", "0", "1e-12", "1e-12", "0",  "0"};
    std::vector<std::string> lines = {"DifferentialLigninger",   "  x' = 10*(y - x)  <1>", "  y' = x*(28 - z) - y  <1>",
                                      "  z' = x*y - 8/3*z  <1>", "GrafVariable",           "  x, z, l1"};
    std::vector<std::string> tableLines(lines.begin(), lines.begin() + 4);
    tableLines.push_back("TabelVariable");
    tableLines.push_back("  t, x, y, z");
    if (sections == Sections::GraphAndTable)
        lines.insert(lines.end(), tableLines.end() - 2, tableLines.end());
    PageHost host;
    for (auto _ : state) {
        ScriptCompiler compiler;
        // Two runs integrate twice, as each section of one run did before they shared the integration.
        if (sections == Sections::TableThenGraphApart)
            compiler.run(settings, tableLines, "lorenz", host);
        const RunResult result = compiler.run(settings, lines, "lorenz", host);
        if (result.error != ScriptError::None || result.abandoned)
            state.SkipWithError("the script did not run");
    }
}

void BM_LorenzGraph(benchmark::State& state)
{
    RunLorenzScript(state, Sections::Graph);
}
BENCHMARK(BM_LorenzGraph)->Unit(benchmark::kMillisecond);

void BM_LorenzGraphAndTable(benchmark::State& state)
{
    RunLorenzScript(state, Sections::GraphAndTable);
}
BENCHMARK(BM_LorenzGraphAndTable)->Unit(benchmark::kMillisecond);

void BM_LorenzTableThenGraphApart(benchmark::State& state)
{
    RunLorenzScript(state, Sections::TableThenGraphApart);
}
BENCHMARK(BM_LorenzTableThenGraphApart)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
