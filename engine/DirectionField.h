// The differential equations of one graph page, kept after its run: their directions at any point and the
// solution through a chosen point, for slope fields and phase planes.
#pragma once

#include "engine/Curve.h"
#include "engine/EngineHost.h"
#include "engine/Model.h"
#include "engine/RunState.h"
#include "support/ValueRect.h"

#include <memory>
#include <optional>
#include <vector>

namespace tavlix {

// What a page's field shows: y' = f(t, y) over (t, y), or two equations against each other (a phase plane).
enum class FieldKind { None, Slope, Phase };

// Why a page has no field (FieldKind::None).
enum class NoFieldReason { None, NoEquations, TooManyEquations, NotDrawnAgainstEquation };

// A line element: its centre and its unit direction, in the page's value coordinates.
struct FieldElement {
    double x = 0;
    double y = 0;
    double dx = 0;
    double dy = 0;
};

class DirectionField {
public:
    // A copy of the model's compiled script as its graph generation starts; nullptr when the script has no
    // differential equations at all.
    static std::unique_ptr<DirectionField> fromModel(const Model& model);
    ~DirectionField();

    FieldKind kind() const { return kind_; }
    NoFieldReason reason() const { return reason_; }

    // The unit direction at (x, y) in value coordinates; nothing where the right-hand side is undefined.
    std::optional<FieldElement> direction(double x, double y);
    // A grid of elements over the area: columns across, as many rows as keep the cells square in a picture
    // aspect (height / width) times as high as wide. Undefined points are left out.
    std::vector<FieldElement> elements(const ValueRect& area, double aspect, int columns = DefaultColumns);

    // The solution through (x, y), backwards then forwards in t, with the document's solver and tolerances:
    // over the area's t range for a slope field, over [TMin, TMax] from TMin for a phase plane. It stops where
    // it leaves the area, blows up or fails. The points run in increasing t.
    std::vector<CurvePoint> solveThrough(double x, double y, const ValueRect& area);

    static constexpr int DefaultColumns = 25;
    // Solution steps are at most this share of the t range, so the curve is smooth.
    static constexpr int MinStepsPerRange = 400;

private:
    DirectionField();
    void classify();
    // Sets t and the state for a point; false when the point gives no state (never for a valid kind).
    void placeAt(double x, double y);
    bool derivatives(double& dx, double& dy);
    // One direction of a solution from t0 to t1 with the solver's step loop; appends the points after the start.
    void follow(double t0, double t1, const ValueRect& area, std::vector<CurvePoint>& points);
    void clearCaches();
    bool inside(const ValueRect& area) const;

    std::unique_ptr<Model> model_;
    NullHost quietHost_;  // nobody watches these evaluations: a notice only fails a value
    RunState run_;
    FieldKind kind_ = FieldKind::None;
    NoFieldReason reason_ = NoFieldReason::NoEquations;
    int xRecord_ = 0;  // 0: t across (a slope field)
    int yRecord_ = 0;
};

}  // namespace tavlix
