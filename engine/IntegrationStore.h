// The integrations of one run, kept so that a later output section with the same output times replays them.
#pragma once

#include "engine/Model.h"
#include "engine/Notice.h"

#include <cstddef>
#include <vector>

namespace tavlix {

struct RunState;

// A record's value that the steps left cached at an output point's t: the outputs there read it, not a fresh one.
struct KeptValue {
    std::size_t point = 0;
    int record = 0;
    double value = 0;
};

// A notice the steps gave, with the t it came at; it came before output point `point` (or after the last one).
struct KeptNotice {
    std::size_t point = 0;
    Notice notice = Notice::Overflow;
    double t = 0;
};

// One integration as its output points saw it, and how it ended.
struct KeptIntegration {
    std::vector<double> key;     // what fixes it: output times, tolerances, step limit, initial values
    std::vector<int> records;    // the differential-equation variables, in record order
    std::vector<double> points;  // per output point: t, then each variable's value
    std::vector<KeptValue> cachedValues;
    std::vector<KeptNotice> notices;
    // The end: the steps' failure (with where and what), their statistics and the solver as they left it.
    bool failed = false;
    bool stoppedInSteps = false;
    ScriptError error = ScriptError::None;
    double t = 0;
    ShortString<25> failedName;
    SolverStatistics statistics;
    RkfState solver;
    double nextOutputT = 0;

    std::size_t pointCount() const { return points.size() / (records.size() + 1); }
    std::size_t bytes() const;
};

class IntegrationStore {
public:
    // All kept integrations together hold at most this much; beyond it a section integrates on its own.
    // A million output points of three variables take 32 MB.
    static constexpr std::size_t MaxBytes = std::size_t{256} << 20;

    // Off for runs that have one section and redo it piecewise (the zoom resampler): nothing is kept.
    void setKeeping(bool keeping) { keeping_ = keeping; }
    bool keeping() const { return keeping_; }
    // The kept integration of a prepared generation with these output times and initial values, or nullptr.
    const KeptIntegration* find(const Model& model) const;
    // Whether one more integration of this size may be kept.
    bool hasRoomFor(std::size_t bytes) const { return keeping_ && bytes_ + bytes <= MaxBytes; }
    void keep(KeptIntegration integration);
    void clear();

    static std::vector<double> keyOf(const Model& model);

private:
    std::vector<KeptIntegration> kept_;
    std::size_t bytes_ = 0;
    bool keeping_ = true;
};

// Feeds a generation's output points from a kept integration instead of stepping: the same pages, notices,
// end code and statistics as the integration gave.
void replayIntegration(Model& model, RunState& run, const KeptIntegration& kept);

}  // namespace tavlix
