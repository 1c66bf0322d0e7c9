// Records the engine's calls on the worker thread and posts them to the window every few milliseconds.
#include "workspace/WorkerEngineHost.h"

#include "engine/CurveSampler.h"
#include "engine/DirectionField.h"
#include "support/MemoryUse.h"

#include <algorithm>
#include <string>

namespace {

using Clock = std::chrono::steady_clock;

// Often enough that a run's pages fill smoothly, seldom enough that the window's share stays small.
constexpr auto PostInterval = std::chrono::milliseconds(15);
// A batch is posted at this many calls even sooner: small blocks the allocator hands back, where a table of a
// million rows would otherwise grow blocks of megabytes that stay with the worker.
constexpr std::size_t MaxBatchSteps = 4096;
// The memory guard reads /proc; at this pace it costs nothing.
constexpr auto MemoryCheckInterval = std::chrono::milliseconds(200);
// Calls recorded between two looks at the clock.
constexpr unsigned ClockReadEvery = 256;

}  // namespace

// Answers the engine's row count itself, and stops the run where the window's table would refuse more cells,
// so the run stops after the same row as it would without a worker.
class WorkerEngineHost::TableProxy : public tavlix::TableSink {
public:
    TableProxy(WorkerEngineHost& host, int page) : host_(host), page_(page) {}
    void setColumnCount(int n) override
    {
        columns_ = n;
        host_.record(RunCall::SetColumnCount, page_).a = n;
    }
    void setRowCount(int n) override
    {
        if (static_cast<long long>(n) * std::max(columns_, 1) > host_.limits_.maxTableCells)
            host_.stop_ = true;
        rows_ = n;
        host_.record(RunCall::SetRowCount, page_).a = n;
    }
    int rowCount() const override { return rows_; }
    void setCell(int col, int row, std::string_view text) override
    {
        RunStep& step = host_.recordText(RunCall::SetCell, page_, text);
        step.a = col;
        step.b = row;
    }
    void showGrid() override { host_.record(RunCall::ShowGrid, page_); }

private:
    WorkerEngineHost& host_;
    int page_;
    int columns_ = 0;
    int rows_ = 0;
};

class WorkerEngineHost::GraphProxy : public tavlix::GraphSink {
public:
    GraphProxy(WorkerEngineHost& host, int page) : host_(host), page_(page) {}
    void setSettings(const tavlix::CoordinateSettings& settings) override
    {
        host_.recordObject(RunCall::SetSettings, page_, &RunBatch::settings, settings);
    }
    void begin() override { host_.record(RunCall::Begin, page_); }
    void fitToWindow() override { host_.record(RunCall::FitToWindow, page_); }
    void addCurve(tavlix::CurveStyle style) override
    {
        host_.record(RunCall::AddCurve, page_).a = static_cast<int>(style);
    }
    void nameCurve(int curve, std::string_view name) override
    {
        host_.recordText(RunCall::NameCurve, page_, name).a = curve;
    }
    void setCurveFamily(int curve, int member, bool current, std::string_view label) override
    {
        RunStep& step = host_.recordText(RunCall::SetCurveFamily, page_, label);
        step.a = curve;
        step.b = member;
        step.flag = current;
    }
    void addPoint(int curve, double x, double y) override
    {
        RunStep& step = host_.record(RunCall::AddPoint, page_);
        step.a = curve;
        step.x = x;
        step.y = y;
    }
    void endStroke(int curve) override { host_.record(RunCall::EndStroke, page_).a = curve; }
    // The field and the sampler are the page's from here on: the worker keeps no reference.
    void setDirectionField(std::shared_ptr<tavlix::DirectionField> field) override
    {
        host_.recordObject(RunCall::SetDirectionField, page_, &RunBatch::fields, std::move(field));
    }
    void keepRunModel(const tavlix::Model& model) override
    {
        host_.recordObject(RunCall::KeepSampler, page_, &RunBatch::samplers, tavlix::CurveSampler::fromModel(model));
    }

private:
    WorkerEngineHost& host_;
    int page_;
};

WorkerEngineHost::WorkerEngineHost(std::atomic<bool>& stop, const Limits& limits, Post post)
    : stop_(stop), limits_(limits), post_(std::move(post)), batch_(std::make_unique<RunBatch>()),
      lastPost_(Clock::now()), lastMemoryCheck_(lastPost_)
{}

WorkerEngineHost::~WorkerEngineHost() = default;

RunStep& WorkerEngineHost::record(RunCall call, int page)
{
    if (++sinceClockRead_ >= ClockReadEvery) {
        sinceClockRead_ = 0;
        postIfDue();
    }
    RunStep& step = batch_->steps.emplace_back();
    step.call = call;
    step.page = page;
    return step;
}

RunStep& WorkerEngineHost::recordText(RunCall call, int page, std::string_view text)
{
    RunStep& step = record(call, page);
    step.textAt = static_cast<std::uint32_t>(batch_->texts.size());
    step.textLength = static_cast<std::uint32_t>(text.size());
    batch_->texts.append(text);
    return step;
}

// A page the run may not make is still asked for in the window, which counts it and tells why.
template <class Proxy, class Sink>
Sink* WorkerEngineHost::createPage(std::vector<std::unique_ptr<Sink>>& pages, RunCall call, const std::string& caption)
{
    Sink* sink = nullptr;
    int page = -1;
    if (!stop_ && ++pagesAsked_ <= limits_.maxPages) {
        page = nextPage_++;
        sink = pages.emplace_back(std::make_unique<Proxy>(*this, page)).get();
    } else {
        stop_ = true;
    }
    recordText(call, page, caption);
    return sink;
}

tavlix::TableSink* WorkerEngineHost::createTablePage(const std::string& caption)
{
    return createPage<TableProxy>(tables_, RunCall::CreateTable, caption);
}

tavlix::GraphSink* WorkerEngineHost::createGraphPage(const std::string& caption)
{
    return createPage<GraphProxy>(graphs_, RunCall::CreateGraph, caption);
}

void WorkerEngineHost::showNotice(tavlix::Notice notice, double t)
{
    RunStep& step = record(RunCall::Notice);
    step.a = static_cast<int>(notice);
    step.x = t;
}

void WorkerEngineHost::showNoticeText(const std::string& text)
{
    recordText(RunCall::NoticeText, -1, text);
}

void WorkerEngineHost::reportFault(const std::string& text)
{
    recordText(RunCall::Fault, -1, text);
}

void WorkerEngineHost::showScriptError(const std::string& message)
{
    recordText(RunCall::ScriptError, -1, message);
}

void WorkerEngineHost::integrationFinished(const tavlix::SolverStatistics& statistics)
{
    recordObject(RunCall::IntegrationFinished, -1, &RunBatch::statistics, statistics);
}

bool WorkerEngineHost::keepGoing()
{
    const Clock::time_point now = Clock::now();
    if (now - lastMemoryCheck_ >= MemoryCheckInterval) {
        lastMemoryCheck_ = now;
        // The last guard of memory, whatever the run fills: pages, points or cells.
        if (tavlix::memory::exceeds(limits_.memoryLimit))
            stopForMemory();
    }
    postIfDue();
    return !stop_;
}

void WorkerEngineHost::stopForMemory()
{
    if (stop_)
        return;
    stop_ = true;
    record(RunCall::StopReason).a = static_cast<int>(tavlix::memory::residentBytes() >> 20);
}

void WorkerEngineHost::postIfDue()
{
    if (batch_->steps.size() >= MaxBatchSteps || Clock::now() - lastPost_ >= PostInterval)
        post(false);
}

void WorkerEngineHost::post(bool last)
{
    lastPost_ = Clock::now();
    if (batch_->steps.empty() && !last)
        return;
    batch_->last = last;
    auto full = std::make_unique<RunBatch>();
    full->steps.reserve(MaxBatchSteps);
    full.swap(batch_);
    post_(std::move(full));
}

void WorkerEngineHost::finish()
{
    post(true);
}
