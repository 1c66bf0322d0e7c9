// The window's runs: one at a time on a worker thread, and every request that meets a run under way (run, stop,
// closing a page or the window, a slider move, an accuracy measurement) decided in one place.
#pragma once

#include "support/MemoryUse.h"
#include "workspace/RunBatch.h"
#include "workspace/RunPagePlan.h"

#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>

#include <atomic>
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

namespace tavlix {
class EngineHost;
struct RunResult;
}  // namespace tavlix
class Page;
class QWidget;
class RunWindow;
class ScriptPage;
class WindowEngineHost;

class RunController : public QObject {
    Q_OBJECT
public:
    RunController(RunWindow& window, QObject* parent);
    // Stops the run under way and waits for its thread; its remaining calls are dropped.
    ~RunController() override;

    bool active() const { return active_; }
    // No run under way and none waiting to start.
    bool idle() const;
    // Whether the run under way was asked to stop (by the user, a page's limit or a request that waits for its end).
    bool stopping() const { return stopping_; }

    // Requests.
    // One run of the document; refresh: into its last run's pages.
    void runDocument(ScriptPage* script, bool refresh);
    // Escape or "Afbryd".
    void requestStop();
    // A page's or the memory's limit: the run stops, and the reason is reported once it has.
    void stopRun(const QString& reason);
    // True when the page is closed after the run under way, which stops for it.
    bool deferPageClose(Page* page);
    // True when the window closes after the run under way, which stops for it; the unsaved-changes question
    // comes then.
    bool deferWindowClose();
    // A slider moved: the latest values run once the run or measurement under way has stopped.
    void parametersChanged(ScriptPage* script);
    // Measures the page against a finer run, on the worker, interruptible like a run.
    void measureAccuracy(Page* page);
    // Stops the run under way and waits for it, dropping what it has not delivered (the window is going).
    void shutdown();

    // Where the run's calls are replayed, on the window's thread.
    WindowEngineHost& engineHost() { return *engineHost_; }
    // What the run's pages need while it fills them.
    RunPagePlan& pagePlan() { return pagePlan_; }
    // The page a run from the parameter bar keeps in front: its pages fill without being brought forward.
    Page* keptView() const { return keptView_; }
    // For tests: the memory a run may hold before it is stopped (0: the machine's limit again).
    void setMemoryLimit(std::size_t bytes) { memoryLimit_ = bytes > 0 ? bytes : tavlix::memory::limitBytes(); }

    // Counts a result page the run makes; false (and the run stopped) beyond the limit.
    bool mayMakePage();

signals:
    // A run or measurement started or ended.
    void activeChanged(bool active);

private:
    // Runs work on the worker thread with a host that feeds the window; finished runs on the window's thread
    // once every call of the work has been replayed.
    void start(std::function<void(tavlix::EngineHost&)> work, std::function<void()> finished);
    void serveJobs();
    void waitForJob();
    void receive(std::shared_ptr<RunBatch> batch);
    void replayPending();
    // True when the run's last batch has been replayed.
    bool replaySlice();
    void end();
    void finishDocumentRun(ScriptPage* script, const tavlix::RunResult& result);
    void finishDeferredCloses();
    void keepSliderInHand(QWidget* focus, int sliderInHand);
    void runPickedValues(ScriptPage* script);
    // After a run or measurement: the slider run waiting for its end, once the event loop has the window again.
    void runParkedPick();
    bool closeWaiting() const { return closeAfterRun_ || !pagesToCloseAfterRun_.isEmpty(); }

    RunWindow& window_;
    std::unique_ptr<WindowEngineHost> engineHost_;
    std::thread worker_;
    std::mutex jobMutex_;
    std::condition_variable jobReady_;
    std::condition_variable jobDone_;
    std::function<void()> job_;  // the run under way on the worker, until it has returned
    bool quit_ = false;
    std::atomic<bool> stop_{false};
    bool active_ = false;
    bool stopping_ = false;
    QString stopReason_;
    std::function<void()> finished_;
    std::deque<std::shared_ptr<RunBatch>> pending_;
    std::atomic<int> batchesInFlight_{0};
    std::size_t nextStep_ = 0;
    bool replayScheduled_ = false;
    bool replaying_ = false;
    QElapsedTimer replayClock_;

    RunPagePlan pagePlan_;
    int pagesMade_ = 0;
    QPointer<Page> keptView_;
    bool closeAfterRun_ = false;
    QList<QPointer<Page>> pagesToCloseAfterRun_;
    // A slider moved during a run: the document runs its latest values once the run has stopped.
    QPointer<ScriptPage> pendingPickRun_;
    std::size_t memoryLimit_ = tavlix::memory::limitBytes();  // beyond it a run is stopped
};
