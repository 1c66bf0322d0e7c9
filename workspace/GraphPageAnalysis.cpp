// A graph page's points of interest, tangents and areas: the click tools that ask for them, the marks and the
// "Punkter" pane, and the curves, shades and labels they add, removable from the graph's pop-up menu.
#include "workspace/GraphPage.h"

#include "graph/GraphView.h"
#include "workspace/AreaDialog.h"
#include "workspace/GraphAnalysis.h"
#include "workspace/PageHost.h"
#include "workspace/PointsPanel.h"

#include <QBoxLayout>
#include <QLocale>
#include <QMenu>

#include <algorithm>
#include <cmath>

using tavlix::Setting;

namespace {

const char* const TangentHint =
    "Klik ved grafen, hvor tangenten skal røre den, eller flyt krydset med piletasterne og tryk Enter (Esc fortryder)";
const char* const AreaFirstHint = "Klik i grafen ved arealets første grænse (Esc fortryder)";
const char* const AreaSecondHint = "Klik i grafen ved arealets anden grænse (Esc fortryder)";
// Points along the outline of a shaded area, each way.
constexpr int AreaOutlinePoints = 400;
// Significant digits of the numbers in labels and names: what a pupil copies from the board.
constexpr int LabelDigits = 6;

QString number(double v)
{
    // -0 reads as 0.
    return QLocale().toString(v == 0 ? 0.0 : v, 'g', LabelDigits);
}

QString kindText(tavlix::PointKind kind)
{
    return QString::fromLatin1(tavlix::pointKindName(kind));
}

// "y = a·x + b" with the sign of b written out.
QString lineEquation(double slope, double intercept)
{
    const QString b = intercept < 0 ? QStringLiteral(" - ") + number(-intercept)
                                    : (intercept > 0 ? QStringLiteral(" + ") + number(intercept) : QString());
    return QStringLiteral("y = %1·x%2").arg(number(slope), b);
}

}  // namespace

bool GraphPage::analysable() const
{
    return !host().running() && !analysis_->analysedCurves(recorder_.curves()).empty();
}

void GraphPage::updateAnalysisCommands()
{
    const bool on = analysable();
    for (Command c : {Command::ShowPoints, Command::TangentAt, Command::AreaUnder})
        host().setCommandEnabled(c, on);
    host().setCommandChecked(Command::ShowPoints, pointsShown_);
    const QString reason = on ? QString() : QStringLiteral("Grafen har ingen kurver mod t fra en afsluttet kørsel");
    for (Command c : {Command::ShowPoints, Command::TangentAt, Command::AreaUnder})
        host().setCommandHint(c, reason);
}

QString GraphPage::curveLabel(int curve) const
{
    return QString::fromStdString(recorder_.curves()[static_cast<std::size_t>(curve)].name);
}

int GraphPage::pointsPanelRoom() const
{
    return pointsShown_ && pointsPanel_ ? PointsPanel::PanelWidth : 0;
}

void GraphPage::setPointsShown(bool on)
{
    if (on == pointsShown_)
        return;
    pointsShown_ = on;
    if (on && !pointsPanel_) {
        pointsPanel_ = new PointsPanel(this);
        static_cast<QBoxLayout*>(layout())->addWidget(pointsPanel_);
        connect(pointsPanel_, &PointsPanel::pointChosen, this, [this](int index) {
            const tavlix::InterestPoint& p = points_[static_cast<std::size_t>(index)];
            host().setStatus(StatusField::Message,
                             QStringLiteral("%1: (%2; %3)").arg(kindText(p.kind), number(p.x), number(p.y)));
        });
        connect(view_, &GraphView::markHovered, pointsPanel_, &PointsPanel::selectPoint);
    }
    if (pointsPanel_)
        pointsPanel_->setVisible(on);
    refreshPoints();
    if (begun_)
        layOut(view_->view());
    if (isVisible())
        host().setCommandChecked(Command::ShowPoints, on);
}

void GraphPage::refreshPoints()
{
    points_.clear();
    if (pointsShown_ && !host().running()) {
        const tavlix::CoordinateSettings& v = view_->view();
        // The view's x range within [TMin, TMax].
        const double lo = std::max(runSettings_[Setting::Tmin], v[Setting::Xmin]);
        const double hi = std::min(runSettings_[Setting::Tmax], v[Setting::Xmax]);
        points_ = analysis_->points(recorder_.curves(), lo, hi);
    }
    // A zero refined to within its tolerance of 0 is 0, as a pupil expects to read it.
    const double tiny =
        tavlix::InterestPoints::RootTolerance * std::fabs(view_->view()[Setting::Xmax] - view_->view()[Setting::Xmin]);
    for (tavlix::InterestPoint& p : points_) {
        p.x = std::fabs(p.x) <= tiny ? 0.0 : p.x;
        p.y = std::fabs(p.y) <= tiny ? 0.0 : p.y;
    }
    std::vector<GraphView::ValueMark> marks;
    QList<PointsPanel::Row> rows;
    for (const tavlix::InterestPoint& p : points_) {
        marks.push_back({p.x, p.y, QStringLiteral("(%1; %2)").arg(number(p.x), number(p.y))});
        QString curves = curveLabel(p.curve);
        if (p.other >= 0)
            curves += QStringLiteral(" og ") + curveLabel(p.other);
        rows.append({kindText(p.kind), curves, p.x, p.y});
    }
    view_->setMarks(std::move(marks));
    if (pointsPanel_)
        pointsPanel_->setRows(rows);
}

void GraphPage::cancelPick()
{
    const bool armed = solutionArmed_ || pickTool_ != PickTool::None;
    solutionArmed_ = false;
    pickTool_ = PickTool::None;
    areaStart_.reset();
    if (armed) {
        view_->setCursor(Qt::ArrowCursor);
        host().setStatus(StatusField::Message, QString());
    }
}

void GraphPage::pickPoint(double x, double y)
{
    if (solutionArmed_) {
        addSolutionThrough(x, y);
    } else if (pickTool_ == PickTool::Tangent) {
        cancelPick();
        addTangentNear(x, y);
    } else if (pickTool_ == PickTool::Area && !areaStart_) {
        areaStart_ = x;
        areaCurve_ = analysis_->nearestCurve(recorder_.curves(), x, y);
        host().setStatus(StatusField::Message, QString::fromUtf8(AreaSecondHint));
    } else if (pickTool_ == PickTool::Area) {
        const double a = *areaStart_;
        const int curve = areaCurve_;
        cancelPick();
        showArea(curve, std::min(a, x), std::max(a, x));
    }
}

void GraphPage::armTangentTool()
{
    if (!analysable())
        return;
    cancelPick();
    pickTool_ = PickTool::Tangent;
    view_->setCursor(Qt::CrossCursor);
    view_->setFocus(Qt::OtherFocusReason);
    view_->update();  // the keyboard's cross
    host().setStatus(StatusField::Message, QString::fromUtf8(TangentHint));
}

bool GraphPage::addTangentNear(double x, double y)
{
    const int curve = analysis_->nearestCurve(recorder_.curves(), x, y);
    return curve >= 0 && addTangent(curve, x);
}

bool GraphPage::addTangent(int curve, double t)
{
    const auto tangent = analysis_->tangentAt(curve, t);
    if (!tangent || !std::isfinite(tangent->slope)) {
        host().setStatus(StatusField::Error, QStringLiteral("Grafen har ingen tangent i t = %1").arg(number(t)));
        return false;
    }
    const ValueRect r = view_->geometry().ranges();
    tavlix::CurveList& curves = recorder_.curves();
    tavlix::Curve line;
    line.style = tavlix::nextFreeLineStyle(curves);
    line.origin = tavlix::CurveOrigin::Tangent;
    line.name = QStringLiteral("tangent til %1 i t = %2").arg(curveLabel(curve), number(t)).toStdString();
    // Across the whole run's x range, so a zoom out still shows it; the renderer clips it to the view.
    const double from = std::min(r.xmin, runSettings_[Setting::Xmin]),
                 to = std::max(r.xmax, runSettings_[Setting::Xmax]);
    line.points = {{from, tangent->y + tangent->slope * (from - t), false},
                   {to, tangent->y + tangent->slope * (to - t), false}};
    const QString text = QStringLiteral("hældning %1: %2")
                             .arg(number(tangent->slope), lineEquation(tangent->slope, tangent->intercept()));
    curves.push_back(std::move(line));
    const QPointF spot = freeLabelSpot(t, tangent->y, view_->fontMetrics().horizontalAdvance(text));
    labels_.push_back({spot.x(), spot.y(), text.toStdString(), curves.back().name});
    view_->redraw();
    return true;
}

QPointF GraphPage::freeLabelSpot(double x, double y, int width) const
{
    // Beside the point: right or left of it, above or below, wherever the fewest curve pixels lie under the text.
    const GraphGeometry& g = view_->geometry();
    const ValueRect r = g.ranges();
    const QRect plot =
        QRect(QPoint(g.toPixelX(r.xmin), g.toPixelY(r.ymax)), QPoint(g.toPixelX(r.xmax), g.toPixelY(r.ymin)))
            .normalized();
    const int h = g.charHeight(), c = g.charWidth();
    const QPoint at(g.toPixelX(x), g.toPixelY(y));
    const QPoint corners[] = {{c, h / 2}, {c, -2 * h},         {-c - width, h / 2}, {-c - width, -2 * h},
                              {c, 2 * h}, {-c - width, 2 * h}, {c, -4 * h},         {-c - width, -4 * h}};
    QRect best;
    long long fewest = -1;
    for (const QPoint& corner : corners) {
        QRect box(at + corner, QSize(width, h));
        // Within the plot, or moved into it.
        box.moveLeft(std::clamp(box.left(), plot.left() + 2, std::max(plot.left() + 2, plot.right() - width - 2)));
        box.moveTop(std::clamp(box.top(), plot.top() + 2, std::max(plot.top() + 2, plot.bottom() - h - 2)));
        long long hits = 0;
        for (const tavlix::Curve& curve : recorder_.curves()) {
            for (std::size_t i = 1; i < curve.points.size(); ++i) {
                // Each step sampled every few pixels, so steep and sparse curves count too.
                const tavlix::CurvePoint &p = curve.points[i - 1], &q = curve.points[i];
                const QPointF a(g.toPixelX(p.x), g.toPixelY(p.y)), b(g.toPixelX(q.x), g.toPixelY(q.y));
                const int steps = std::clamp(static_cast<int>(std::hypot(b.x() - a.x(), b.y() - a.y()) / 3), 1, 400);
                for (int k = 0; k <= steps; ++k)
                    hits += box.contains((a + (b - a) * k / steps).toPoint());
            }
        }
        if (fewest < 0 || hits < fewest) {
            fewest = hits;
            best = box;
        }
    }
    // A label's y is the middle of its text.
    return {g.toValueX(best.left()), g.toValueY(best.top() + h / 2)};
}

void GraphPage::askArea()
{
    if (!analysable())
        return;
    cancelPick();
    showArea(-1, 0, 0);
}

void GraphPage::showArea(int curve, double a, double b)
{
    const std::vector<int> analysed = analysis_->analysedCurves(recorder_.curves());
    if (!areaDialog_) {
        areaDialog_ = new AreaDialog(this);
        connect(areaDialog_, &AreaDialog::pickInGraph, this, &GraphPage::armAreaTool);
    }
    QStringList names;
    for (int c : analysed)
        names << curveLabel(c);
    const auto at = std::find(analysed.begin(), analysed.end(), curve);
    const bool picked = a != b;
    areaDialog_->fill(names, at == analysed.end() ? 0 : static_cast<int>(at - analysed.begin()),
                      picked ? number(a) : QString(), picked ? number(b) : QString());
    // The list given to the dialog changes with every run: the choice is taken as it closes.
    disconnect(areaDialog_, &QDialog::accepted, this, nullptr);
    connect(areaDialog_, &QDialog::accepted, this, [this, analysed] {
        double from = 0, to = 0;
        areaDialog_->limits(from, to);
        const int other = areaDialog_->other();
        addArea(analysed[static_cast<std::size_t>(areaDialog_->curve())],
                other < 0 ? -1 : analysed[static_cast<std::size_t>(other)], from, to);
    });
    areaDialog_->open();
}

void GraphPage::armAreaTool()
{
    if (!analysable())
        return;
    cancelPick();
    pickTool_ = PickTool::Area;
    view_->setCursor(Qt::CrossCursor);
    view_->setFocus(Qt::OtherFocusReason);
    view_->update();
    host().setStatus(StatusField::Message, QString::fromUtf8(AreaFirstHint));
}

bool GraphPage::addArea(int curve, int other, double a, double b)
{
    const auto value = analysis_->integral(curve, other, a, b);
    if (!value) {
        host().setStatus(StatusField::Error,
                         QStringLiteral("Grafen har ikke en værdi overalt fra %1 til %2").arg(number(a), number(b)));
        return false;
    }
    ShadedArea area;
    area.name = QStringLiteral("areal fra %1 til %2").arg(number(a), number(b)).toStdString();
    std::vector<QPointF> lower;
    // The label goes where the shade is widest, so it stands inside it and off the curves.
    QPointF widest((a + b) / 2, 0);
    double widestGap = -1;
    for (int i = 0; i <= AreaOutlinePoints; ++i) {
        const double t = a + (b - a) * i / AreaOutlinePoints;
        double upper = 0, below = 0;
        if (!analysis_->valueAt(curve, t, upper) || (other >= 0 && !analysis_->valueAt(other, t, below)))
            continue;
        area.outline.emplace_back(t, upper);
        lower.emplace_back(t, below);
        if (std::fabs(upper - below) > widestGap) {
            widestGap = std::fabs(upper - below);
            widest = QPointF(t, (upper + below) / 2);
        }
    }
    area.outline.insert(area.outline.end(), lower.rbegin(), lower.rend());
    const QString text = QStringLiteral("Areal = %1").arg(number(*value));
    // The text's middle stands there, within the view.
    const GraphGeometry& g = view_->geometry();
    const ValueRect r = g.ranges();
    const int width = view_->fontMetrics().horizontalAdvance(text);
    const int left = std::clamp(g.toPixelX(widest.x()) - width / 2, g.toPixelX(r.xmin) + 2,
                                std::max(g.toPixelX(r.xmin) + 2, g.toPixelX(r.xmax) - width - 2));
    labels_.push_back({g.toValueX(left), widest.y(), text.toStdString(), area.name});
    areas_.push_back(std::move(area));
    view_->redraw();
    return true;
}

void GraphPage::removeAddition(std::string name)
{
    // By value: the name may be the very curve's or area's that goes first.
    std::erase_if(recorder_.curves(),
                  [&](const tavlix::Curve& c) { return c.origin == tavlix::CurveOrigin::Tangent && c.name == name; });
    std::erase_if(areas_, [&](const ShadedArea& area) { return area.name == name; });
    std::erase_if(labels_, [&](const TextLabel& label) { return label.owner == name; });
    view_->selectLabel(-1);
    view_->redraw();
}

void GraphPage::addAnalysisMenu(QMenu& menu)
{
    std::vector<std::string> names;
    for (const tavlix::Curve& c : recorder_.curves())
        if (c.origin == tavlix::CurveOrigin::Tangent)
            names.push_back(c.name);
    for (const ShadedArea& area : areas_)
        names.push_back(area.name);
    if (!names.empty())
        menu.addSeparator();
    for (const std::string& name : names)
        menu.addAction(QStringLiteral("Fjern %1").arg(QString::fromStdString(name)), this,
                       [this, name] { removeAddition(name); });
}
