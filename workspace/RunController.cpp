// Runs on a worker thread: the work gets a host that records the engine's calls, the window replays them in order
// a slice at a time, and what waits for a run's end (closes, a slider's run, a measurement) is done once it has.
#include "workspace/RunController.h"

#include "compiler/AccuracyCheck.h"
#include "engine/RunLimits.h"
#include "workspace/AccuracyDialog.h"
#include "workspace/NoticePanel.h"
#include "workspace/ParameterBar.h"
#include "workspace/RunWindow.h"
#include "workspace/ScriptPage.h"
#include "workspace/TableModel.h"
#include "workspace/TablePage.h"
#include "workspace/WindowEngineHost.h"
#include "workspace/WorkerEngineHost.h"

#include <QApplication>
#include <QTabWidget>
#include <QTimer>

#include <chrono>

namespace {

// The longest the window replays a run's calls before it looks at its other events again.
constexpr qint64 ReplayBudgetMs = 20;
// Batches posted and not yet replayed, at most: a few dozen milliseconds of a run's calls.
constexpr int MaxBatchesInFlight = 16;

}  // namespace

RunController::RunController(RunWindow& window, QObject* parent)
    : QObject(parent), window_(window), engineHost_(std::make_unique<WindowEngineHost>(window))
{}

RunController::~RunController()
{
    shutdown();
}

bool RunController::idle() const
{
    return !active_ && pendingPickRun_.isNull();
}

void RunController::shutdown()
{
    stop_ = true;
    {
        std::unique_lock lock(jobMutex_);
        jobDone_.wait(lock, [this] { return !job_; });
        quit_ = true;
    }
    jobReady_.notify_one();
    if (worker_.joinable())
        worker_.join();
    pending_.clear();
    finished_ = nullptr;
    active_ = false;
}

void RunController::start(std::function<void(tavlix::EngineHost&)> work, std::function<void()> finished)
{
    active_ = true;
    stopping_ = false;
    stop_ = false;
    stopReason_.clear();
    finished_ = std::move(finished);
    pending_.clear();
    batchesInFlight_ = 0;
    nextStep_ = 0;
    emit activeChanged(true);
    const WorkerEngineHost::Limits limits{window_.runLimits().maxPages, window_.runLimits().maxTableCells,
                                          engineHost().decimalSeparator(), memoryLimit_};
    auto job = [this, work = std::move(work), limits] {
        // Queued to this object: dropped by Qt should it be gone, and it cannot be while a job runs.
        WorkerEngineHost host(stop_, limits, [this](std::unique_ptr<RunBatch> batch) {
            // A run that outpaces the window waits for it, so that its calls do not pile up in memory.
            while (batchesInFlight_ >= MaxBatchesInFlight && !stop_)
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            ++batchesInFlight_;
            std::shared_ptr<RunBatch> shared(std::move(batch));
            QMetaObject::invokeMethod(
                this, [this, shared] { receive(shared); }, Qt::QueuedConnection);
        });
        try {
            work(host);
        } catch (const std::exception&) {
            host.reportFault("K\xf8rslen stoppede ved en uventet fejl; de beregnede sider er bevaret.");
        }
        host.finish();
    };
    // One thread for every run: it sleeps between runs, so the system wakes it promptly for the next.
    if (!worker_.joinable())
        worker_ = std::thread([this] { serveJobs(); });
    {
        const std::lock_guard lock(jobMutex_);
        job_ = std::move(job);
    }
    jobReady_.notify_one();
}

void RunController::serveJobs()
{
    std::unique_lock lock(jobMutex_);
    for (;;) {
        jobReady_.wait(lock, [this] { return job_ || quit_; });
        if (!job_)
            return;
        lock.unlock();
        job_();
        lock.lock();
        job_ = nullptr;
        jobDone_.notify_all();
    }
}

// The job has posted its last batch; it is returning, or has returned.
void RunController::waitForJob()
{
    std::unique_lock lock(jobMutex_);
    jobDone_.wait(lock, [this] { return !job_; });
}

void RunController::receive(std::shared_ptr<RunBatch> batch)
{
    pending_.push_back(std::move(batch));
    if (!replayScheduled_) {
        replayScheduled_ = true;
        QTimer::singleShot(0, this, &RunController::replayPending);
    }
}

// A slice at a time, so that keys, paints and timers get their turn between slices however fast the run feeds.
void RunController::replayPending()
{
    replayScheduled_ = false;
    // A replayed call that shows a box runs the event loop: the replay goes on after the box, in order.
    if (replaying_)
        return;
    replaying_ = true;
    const bool ended = replaySlice();
    replaying_ = false;
    if (ended)
        end();
    else if (!pending_.empty() && !replayScheduled_) {
        replayScheduled_ = true;
        QTimer::singleShot(0, this, &RunController::replayPending);
    }
}

bool RunController::replaySlice()
{
    replayClock_.start();
    while (!pending_.empty() && replayClock_.elapsed() < ReplayBudgetMs) {
        const std::shared_ptr<RunBatch> batch = pending_.front();
        if (!engineHost().replay(*batch, nextStep_, replayClock_, ReplayBudgetMs))
            return false;
        pending_.pop_front();
        --batchesInFlight_;
        nextStep_ = 0;
        if (batch->last)
            return true;
    }
    return false;
}

void RunController::end()
{
    waitForJob();
    active_ = false;
    std::function<void()> finished = std::move(finished_);
    finished_ = nullptr;
    emit activeChanged(false);
    if (finished)
        finished();
}

void RunController::requestStop()
{
    if (!active_)
        return;
    stopping_ = true;
    stop_ = true;
}

void RunController::stopRun(const QString& reason)
{
    if (!stopping_ && stopReason_.isEmpty())
        stopReason_ = reason;
    stopping_ = true;
    stop_ = true;
}

bool RunController::mayMakePage()
{
    if (stopping_)
        return false;
    if (++pagesMade_ <= window_.runLimits().maxPages)
        return true;
    stopRun(QString("Kørslen laver mere end %L1 resultatsider og er stoppet; de lavede sider er bevaret.")
                .arg(window_.runLimits().maxPages));
    return false;
}

bool RunController::deferPageClose(Page* page)
{
    if (!active_)
        return false;
    requestStop();
    pagesToCloseAfterRun_ << page;
    return true;
}

bool RunController::deferWindowClose()
{
    if (!active_)
        return false;
    requestStop();
    closeAfterRun_ = true;
    return true;
}

void RunController::runDocument(ScriptPage* script, bool refresh)
{
    if (active_ || (refresh && !window_.refreshCheckPasses(script)))
        return;
    pagePlan_.start(script, refresh ? script->resultPages() : QList<QPointer<Page>>());
    pagesMade_ = 0;
    closeAfterRun_ = false;
    pagesToCloseAfterRun_.clear();
    ScriptPage::Run run = script->startRun();
    engineHost().errorShown = false;
    engineHost().beginRun(run.source);
    window_.noticePanel()->startRun();
    struct Outcome {
        tavlix::RunResult result;
        std::vector<tavlix::ListParameter> found;
    };
    auto outcome = std::make_shared<Outcome>();
    const QPointer<ScriptPage> page = script;
    auto work = [run = std::move(run), outcome](tavlix::EngineHost& host) {
        outcome->result = ScriptPage::execute(run, host, outcome->found);
    };
    auto finished = [this, page, outcome] {
        const QPointer<QWidget> focus = QApplication::focusWidget();
        const int sliderInHand = window_.parameterBar()->focusedSlider();
        if (page)
            page->finishRun(outcome->result, std::move(outcome->found));
        finishDocumentRun(page, outcome->result);
        keepSliderInHand(focus, sliderInHand);
    };
    start(std::move(work), std::move(finished));
}

void RunController::finishDocumentRun(ScriptPage* script, const tavlix::RunResult& result)
{
    window_.noticePanel()->endRun();
    const bool stoppedByUser = stopping_ && !closeWaiting();
    for (int i = 0; i < window_.pageCount(); ++i)
        if (auto* table = qobject_cast<TablePage*>(window_.page(i)))
            table->model()->sync();
    window_.settleRunPages(result);
    // Shown again after the result page was shown, which empties the status bar.
    if (script && result.error != tavlix::ScriptError::None) {
        if (!engineHost().errorShown)
            QApplication::beep();
        window_.setStatus(StatusField::Error, script->statusText());
    }
    if (!stopReason_.isEmpty())
        window_.reportError(stopReason_);
    else if (stoppedByUser && result.abandoned && !pendingPickRun_)
        window_.setStatus(StatusField::Message, "Kørslen blev afbrudt");
    else if (result.error == tavlix::ScriptError::None && !closeWaiting() && !pendingPickRun_)
        // Not when something waits for the run's end: a measurement would keep it waiting, or lose it.
        window_.followRunWithAccuracy();
    keptView_.clear();
    finishDeferredCloses();
    runParkedPick();
}

// The user goes on where they were, the slider still in hand; one the run's new lists replaced is out of sight,
// and its successor takes the keys.
void RunController::keepSliderInHand(QWidget* focus, int sliderInHand)
{
    if (sliderInHand < 0 || QApplication::focusWidget() == focus)
        return;
    if (focus && focus->isVisible())
        focus->setFocus();
    else
        window_.parameterBar()->focusSlider(sliderInHand);
}

void RunController::finishDeferredCloses()
{
    const QList<QPointer<Page>> pages = pagesToCloseAfterRun_;
    pagesToCloseAfterRun_.clear();
    for (const QPointer<Page>& page : pages) {
        if (!page || window_.tabs()->indexOf(page) < 0)
            continue;
        window_.activatePage(page);
        window_.closeActivePage();
    }
    if (closeAfterRun_) {
        closeAfterRun_ = false;
        window_.closeWindow();
    }
}

void RunController::measureAccuracy(Page* page)
{
    if (active_ || !page || !page->integration())
        return;
    // Copied: the page may be closed while the reference runs. A close asked for during the run this measurement
    // follows is still to be done after it.
    const ResultOrigin origin = *page->integration();
    const QString caption = page->caption();
    window_.accuracyDialog().showMeasuring(caption);
    auto report = std::make_shared<tavlix::AccuracyReport>();
    start(
        [origin, report](tavlix::EngineHost& host) {
            *report = tavlix::measureAccuracy(origin.source->settings, origin.source->lines, origin.pageNumber, host,
                                              origin.source->picks);
        },
        [this, caption, report] {
            if (report->complete)
                window_.accuracyDialog().showReport(caption, *report);
            else
                window_.accuracyDialog().showInterrupted(caption);
            if (!stopReason_.isEmpty())
                window_.reportError(stopReason_);
            finishDeferredCloses();
            runParkedPick();
        });
}

void RunController::parametersChanged(ScriptPage* script)
{
    if (active_) {
        // The run or measurement under way stops; the latest position runs once it has, so no backlog builds up.
        pendingPickRun_ = script;
        requestStop();
        return;
    }
    runPickedValues(script);
}

void RunController::runParkedPick()
{
    if (!pendingPickRun_)
        return;
    QTimer::singleShot(0, this, [this] {
        ScriptPage* next = pendingPickRun_;
        pendingPickRun_.clear();
        if (next && !active_ && window_.windowShown())
            runPickedValues(next);
    });
}

// Into the last run's pages unless the script changed since and the user keeps earlier results: then it is "Kør".
// The user goes on where they were: the run fills the pages behind the page in front, the slider still in hand.
void RunController::runPickedValues(ScriptPage* script)
{
    const bool keep = window_.keepsResults() && script->editedSinceRun();
    keptView_ = window_.activePage();
    runDocument(script, !keep && window_.hasResultPages(script));
    if (!active_)
        keptView_.clear();
}
