// The views a graph showed before each zoom and pan, so "Zoom tilbage" can step back through them.
#pragma once

#include "graph/GraphGeometry.h"

#include <cstddef>
#include <vector>

// Plain data without Qt: the view passes the time, so a test can tell bursts apart without waiting.
class ZoomHistory {
public:
    // What changed the view: a wheel notch (zoom or sideways pan) or anything else (a drag zoom, a pan by dragging).
    enum class Change { Wheel, Other };

    // Keeps the view shown before a change. Wheel notches less than BurstMs apart make one step, as a quick turn
    // of the wheel is one gesture.
    void record(const ValueRect& before, Change change, long long nowMs);
    bool canStepBack() const { return !views_.empty(); }
    // The view before the latest step, which is forgotten; canStepBack() must hold.
    ValueRect stepBack();
    void clear();
    std::size_t size() const { return views_.size(); }

    static constexpr long long BurstMs = 300;
    // The oldest steps go beyond this many; nobody steps back further by hand.
    static constexpr std::size_t MaxSteps = 200;

private:
    std::vector<ValueRect> views_;
    bool inWheelBurst_ = false;
    long long lastWheelMs_ = 0;
};
