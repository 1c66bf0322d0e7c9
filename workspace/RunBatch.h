// The engine's calls of a few milliseconds, recorded on the run's worker thread and replayed in order on the window's.
#pragma once

#include "engine/CurveSampler.h"
#include "engine/CurveStyle.h"
#include "engine/Notice.h"
#include "engine/SolverStatistics.h"
#include "support/CoordinateSettings.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace tavlix {
class DirectionField;
}  // namespace tavlix

// One call of the engine host or of a page it made. Page calls name their page by the number the worker gave it.
enum class RunCall : std::uint8_t {
    CreateTable,
    CreateGraph,
    Notice,
    NoticeText,
    Fault,
    ScriptError,
    StopReason,
    IntegrationFinished,
    SetColumnCount,
    SetRowCount,
    SetCell,
    ShowGrid,
    SetSettings,
    Begin,
    FitToWindow,
    AddCurve,
    NameCurve,
    SetCurveFamily,
    AddPoint,
    EndStroke,
    SetDirectionField,
    KeepSampler,
};

// Plain numbers only, so a million points are a million small records; texts and objects lie beside them.
struct RunStep {
    RunCall call;
    bool flag = false;  // SetCurveFamily: current
    int page = -1;      // the page's number, or -1 for the host and for a page the worker refused
    int a = 0;          // a count, a column, a curve, a notice or an index into the batch's objects
    int b = 0;          // a row or a family member
    double x = 0;       // a point, or a notice's t
    double y = 0;
    std::uint32_t textAt = 0;
    std::uint32_t textLength = 0;
};

struct RunBatch {
    std::vector<RunStep> steps;
    std::string texts;  // Windows-1252, as the engine gave them
    std::vector<tavlix::CoordinateSettings> settings;
    std::vector<tavlix::SolverStatistics> statistics;
    std::vector<std::shared_ptr<tavlix::DirectionField>> fields;
    std::vector<std::unique_ptr<tavlix::CurveSampler>> samplers;  // made from the run's model on its thread
    // The run's work has returned: nothing follows this batch.
    bool last = false;

    std::string_view text(const RunStep& step) const
    {
        return std::string_view(texts).substr(step.textAt, step.textLength);
    }
};
