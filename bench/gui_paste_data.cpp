// "Indsæt data" with 10,000 rows of a Danish spreadsheet (x and two columns, decimal commas) on the clipboard: from
// the command to the table lines in the script, then taken back with Fortryd for the next round.
#include "gui_bench.h"

#include <QClipboard>

namespace {

QString spreadsheet(int rows)
{
    QString text = "Tid;Højde;Fart\r\n";
    for (int i = 0; i < rows; ++i)
        text += QString("%1;%2;%3\r\n")
                    .arg(QString::number(i * 0.01, 'g', 10).replace('.', ','),
                         QString::number(1.5 + i * 0.125, 'g', 10).replace('.', ','),
                         QString::number(-0.25 * i, 'g', 10).replace('.', ','));
    return text;
}

void PasteData(benchmark::State& state)
{
    BenchWindow bench;
    ScriptPage* page = bench.window.documents().newDocument("data.tvx");
    page->setLines({"Funktioner", "  f = t"});
    QApplication::clipboard()->setText(spreadsheet(static_cast<int>(state.range(0))));
    for (auto _ : state) {
        bench.window.onPasteData();
        state.PauseTiming();
        if (page->lines().size() != 5)
            state.SkipWithError("the table lines did not arrive");
        page->setLines({"Funktioner", "  f = t"});
        state.ResumeTiming();
    }
    page->setModified(false);
}
BENCHMARK(PasteData)->Arg(10000)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv)
{
    return RunWindowBenchmarks(argc, argv);
}
