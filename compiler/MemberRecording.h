// What one family member's run gave, recorded on its own thread and passed on later, in member order.
#pragma once

#include "compiler/FamilyPageGate.h"
#include "engine/EngineHost.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace tavlix {

// The host of one member's run: its graph calls, notices and messages are kept as they come (a member makes no
// table pages), and it goes on as long as the stop flag is down. It calls nothing outside itself, so that the
// member may run on a thread of its own; replay passes the calls on to the family's host on the owner's thread.
class MemberRecording : public EngineHost, public GraphSink {
public:
    // pages: the first run's graph pages; a member has nowhere to draw a graph beyond those.
    MemberRecording(const std::atomic<bool>& stop, FamilyPageGate& pages, char decimalSeparator);

    // Passes the calls on, in order; returns false when keepGoing, asked between points, refused.
    bool replay(EngineHost& host) const;
    // The member's own fault and error message, which the family's run reports once all are passed on.
    const std::string& faultText() const { return fault_; }

    TableSink* createTablePage(const std::string&) override { return nullptr; }
    GraphSink* createGraphPage(const std::string& caption) override;
    void showNotice(Notice notice, double t) override;
    void showNoticeText(const std::string& text) override;
    void reportFault(const std::string& text) override { fault_ = text; }
    void showScriptError(const std::string&) override {}
    bool keepGoing() override { return !stop_.load(std::memory_order_relaxed); }
    bool keepStepping() override { return keepGoing(); }
    char decimalSeparator() const override { return separator_; }

    void setSettings(const CoordinateSettings& settings) override;
    void begin() override { add(Kind::Begin); }
    void fitToWindow() override { add(Kind::FitToWindow); }
    void addCurve(CurveStyle style) override { add(Kind::AddCurve, static_cast<int>(style)); }
    void nameCurve(int curve, std::string_view name) override;
    void addPoint(int curve, double x, double y) override;
    void endStroke(int curve) override { add(Kind::EndStroke, curve); }
    void setDirectionField(std::shared_ptr<DirectionField> field) override;

private:
    enum class Kind : std::uint8_t {
        GraphPage,
        SetSettings,
        Begin,
        FitToWindow,
        AddCurve,
        NameCurve,
        EndStroke,
        DirectionField,
        Notice,
        NoticeText
    };
    // One call other than a point, after the first `points` points; a is the curve or an index into texts_,
    // settings_ or fields_, x the t of a notice or the index of a curve's name.
    struct Call {
        std::size_t points = 0;
        std::int32_t a = 0;
        Kind kind = Kind::Begin;
        double x = 0;
    };
    // The points are the bulk: 17 bytes each, in two lists.
    struct Point {
        double x = 0;
        double y = 0;
    };
    void add(Kind kind, int a = 0, double x = 0) { calls_.push_back({points_.size(), a, kind, x}); }
    // Passes on the points up to `end`; false when keepGoing refused after one.
    bool passPoints(std::size_t& next, std::size_t end, EngineHost& host, GraphSink* page) const;
    int text(std::string_view s);
    void pass(const Call& call, EngineHost& host, GraphSink*& page) const;

    const std::atomic<bool>& stop_;
    FamilyPageGate& firstRunPages_;
    std::size_t pages_ = 0;
    char separator_;
    std::vector<Call> calls_;
    std::vector<Point> points_;
    std::vector<std::uint8_t> pointCurves_;  // a section has at most MaxOutputs curves
    std::vector<std::string> texts_;
    std::vector<CoordinateSettings> settings_;
    std::vector<std::shared_ptr<DirectionField>> fields_;
    std::string fault_;
};

}  // namespace tavlix
