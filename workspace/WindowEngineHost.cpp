// Hands the engine's requests on to the main window, converting its Windows-1252 texts.
#include "workspace/WindowEngineHost.h"

#include "engine/CurveSampler.h"
#include "engine/DirectionField.h"
#include "support/FormatNumber.h"
#include "workspace/GraphPage.h"
#include "workspace/NoticePanel.h"
#include "workspace/QtCp1252.h"
#include "workspace/RunBatch.h"
#include "workspace/RunWindow.h"
#include "workspace/TablePage.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLocale>

namespace {

// Steps replayed between two looks at the clock.
constexpr std::size_t ClockReadEvery = 64;

std::string bytes(std::string_view text)
{
    return std::string(text);
}

}  // namespace

tavlix::TableSink* WindowEngineHost::createTablePage(const std::string& caption)
{
    ++pagesMade_;
    return madePage(window_.createTablePage(qt_cp1252::toQString(caption)));
}

tavlix::GraphSink* WindowEngineHost::createGraphPage(const std::string& caption)
{
    ++pagesMade_;
    return madePage(window_.createGraphPage(qt_cp1252::toQString(caption)));
}

void WindowEngineHost::showNotice(tavlix::Notice notice, double t)
{
    // "1a: division med 0" becomes "Division med 0 ved t = 0,5 på doc.tvx-1 (1a)": what, when, where, then the code.
    const QString text = qt_cp1252::toQString(tavlix::noticeText(notice));
    const qsizetype colon = text.indexOf(": ");
    QString what = text.mid(colon + 2);
    what[0] = what[0].toUpper();
    QString line = what + " ved t = " + qt_cp1252::toQString(tavlix::formatNumber(10, t)).trimmed();
    if (lastPage_)
        line += " på " + lastPage_->caption();
    window_.noticePanel()->collect(line + " (" + text.left(colon) + ")");
}

void WindowEngineHost::showNoticeText(const std::string& text)
{
    window_.noticePanel()->collect(qt_cp1252::toQString(text));
}

void WindowEngineHost::reportFault(const std::string& text)
{
    window_.reportError(qt_cp1252::toQString(text));
}

void WindowEngineHost::showScriptError(const std::string& message)
{
    QApplication::beep();
    window_.setStatus(StatusField::Error, qt_cp1252::toQString(message));
    errorShown = true;
}

char WindowEngineHost::decimalSeparator() const
{
    QString point = QLocale().decimalPoint();
    return point == "," ? ',' : '.';
}

tavlix::TableSink* WindowEngineHost::madePage(tavlix::TableSink* sink)
{
    lastPage_ = dynamic_cast<TablePage*>(sink);
    return sink;
}

tavlix::GraphSink* WindowEngineHost::madePage(tavlix::GraphSink* sink)
{
    lastPage_ = dynamic_cast<GraphPage*>(sink);
    return sink;
}

void WindowEngineHost::integrationFinished(const tavlix::SolverStatistics& statistics)
{
    if (lastPage_ && source_)
        lastPage_->setIntegration({source_, pagesMade_, statistics});
}

void WindowEngineHost::beginRun(std::shared_ptr<const RunSource> source)
{
    source_ = std::move(source);
    pagesMade_ = 0;
    lastPage_ = nullptr;
    runPages_.clear();
}

bool WindowEngineHost::replay(RunBatch& batch, std::size_t& next, const QElapsedTimer& clock, qint64 budgetMs)
{
    while (next < batch.steps.size()) {
        replayStep(batch, batch.steps[next++]);
        if (next % ClockReadEvery == 0 && clock.elapsed() >= budgetMs)
            break;
    }
    return next >= batch.steps.size();
}

void WindowEngineHost::addRunPage(int number, tavlix::TableSink* table, tavlix::GraphSink* graph)
{
    if (number < 0)
        return;
    if (static_cast<std::size_t>(number) >= runPages_.size())
        runPages_.resize(static_cast<std::size_t>(number) + 1);
    RunPage& page = runPages_[static_cast<std::size_t>(number)];
    page.page = lastPage_;
    page.table = table;
    page.graph = graph;
}

void WindowEngineHost::replayStep(RunBatch& batch, const RunStep& step)
{
    switch (step.call) {
    case RunCall::CreateTable: {
        tavlix::TableSink* table = createTablePage(bytes(batch.text(step)));
        addRunPage(step.page, table, nullptr);
        return;
    }
    case RunCall::CreateGraph: {
        tavlix::GraphSink* graph = createGraphPage(bytes(batch.text(step)));
        addRunPage(step.page, nullptr, graph);
        return;
    }
    case RunCall::Notice: showNotice(static_cast<tavlix::Notice>(step.a), step.x); return;
    case RunCall::NoticeText: showNoticeText(bytes(batch.text(step))); return;
    case RunCall::Fault: reportFault(bytes(batch.text(step))); return;
    case RunCall::ScriptError: showScriptError(bytes(batch.text(step))); return;
    case RunCall::StopReason:
        window_.stopRun(
            QString("Kørslen er stoppet, fordi hukommelsen er ved at slippe op (%L1 MB i brug). De "
                    "beregnede sider er bevaret; luk nogle resultatsider eller vælg færre punkter (TAntal).")
                .arg(step.a));
        return;
    case RunCall::IntegrationFinished: integrationFinished(batch.statistics[static_cast<std::size_t>(step.a)]); return;
    default: break;
    }
    if (step.page < 0 || static_cast<std::size_t>(step.page) >= runPages_.size())
        return;
    const RunPage& page = runPages_[static_cast<std::size_t>(step.page)];
    if (!page.page)
        return;
    if (page.table)
        replayTableStep(batch, step, *page.table);
    else if (page.graph)
        replayGraphStep(batch, step, *page.graph);
}

void WindowEngineHost::replayTableStep(const RunBatch& batch, const RunStep& step, tavlix::TableSink& table)
{
    switch (step.call) {
    case RunCall::SetColumnCount: table.setColumnCount(step.a); break;
    case RunCall::SetRowCount: table.setRowCount(step.a); break;
    case RunCall::SetCell: table.setCell(step.a, step.b, batch.text(step)); break;
    case RunCall::ShowGrid: table.showGrid(); break;
    default: break;
    }
}

void WindowEngineHost::replayGraphStep(RunBatch& batch, const RunStep& step, tavlix::GraphSink& graph)
{
    const auto at = static_cast<std::size_t>(step.a);
    switch (step.call) {
    case RunCall::AddPoint: graph.addPoint(step.a, step.x, step.y); break;
    case RunCall::EndStroke: graph.endStroke(step.a); break;
    case RunCall::SetSettings: graph.setSettings(batch.settings[at]); break;
    case RunCall::Begin: graph.begin(); break;
    case RunCall::FitToWindow: graph.fitToWindow(); break;
    case RunCall::AddCurve: graph.addCurve(static_cast<tavlix::CurveStyle>(step.a)); break;
    case RunCall::NameCurve: graph.nameCurve(step.a, batch.text(step)); break;
    case RunCall::SetCurveFamily: graph.setCurveFamily(step.a, step.b, step.flag, batch.text(step)); break;
    case RunCall::SetDirectionField: graph.setDirectionField(batch.fields[at]); break;
    case RunCall::KeepSampler:
        if (auto* page = dynamic_cast<GraphPage*>(&graph))
            page->keepSampler(std::move(batch.samplers[at]));
        break;
    default: break;
    }
}
