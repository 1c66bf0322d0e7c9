// A graph page's direction field and the solutions drawn through points the user clicks.
#include "workspace/GraphPage.h"

#include "graph/GraphView.h"
#include "workspace/PageHost.h"

#include <QLocale>
#include <QMenu>

namespace {

// What the status bar says while the solution tool waits for its click.
const char* const PickPointHint =
    "Klik i grafen, hvor løsningen skal gå igennem, eller flyt krydset med piletasterne og tryk Enter";

// The legend's name of a solution: "gennem (t0; y0)" with the locale's decimal separator.
std::string solutionName(double x, double y)
{
    const QLocale locale;
    return QStringLiteral("gennem (%1; %2)").arg(locale.toString(x, 'g', 4), locale.toString(y, 'g', 4)).toStdString();
}

}  // namespace

void GraphPage::setDirectionField(std::shared_ptr<tavlix::DirectionField> field)
{
    field_ = std::move(field);
    view_->renderer().setDirectionField(shownField());
    if (isVisible())
        updateFieldCommands();
}

QString GraphPage::fieldUnavailableReason() const
{
    using tavlix::NoFieldReason;
    switch (field_ ? field_->reason() : NoFieldReason::NoEquations) {
    case NoFieldReason::None: return {};
    case NoFieldReason::NoEquations: return QStringLiteral("Grafen kommer ikke fra differentialligninger");
    case NoFieldReason::TooManyEquations:
        return QStringLiteral("Hældningsfelt kræver én eller to differentialligninger");
    case NoFieldReason::NotDrawnAgainstEquation:
        return QStringLiteral("Grafen skal vise y mod t for én ligning eller x mod y for to");
    }
    return {};
}

void GraphPage::updateFieldCommands()
{
    const QString reason = fieldUnavailableReason();
    const bool offered = reason.isEmpty() && !host().running();
    host().setCommandEnabled(Command::SlopeField, offered);
    host().setCommandEnabled(Command::SolveThrough, offered);
    host().setCommandChecked(Command::SlopeField, fieldShown_);
    host().setCommandHint(Command::SlopeField, reason);
    host().setCommandHint(Command::SolveThrough, reason);
}

void GraphPage::setFieldShown(bool on)
{
    fieldShown_ = on && field_ && field_->kind() != tavlix::FieldKind::None;
    view_->renderer().setDirectionField(shownField());
    view_->redraw();
    if (isVisible())
        host().setCommandChecked(Command::SlopeField, fieldShown_);
}

void GraphPage::armSolutionTool()
{
    if (!field_ || field_->kind() == tavlix::FieldKind::None)
        return;
    pickTool_ = PickTool::None;
    solutionArmed_ = true;
    view_->setCursor(Qt::CrossCursor);
    view_->setFocus(Qt::OtherFocusReason);
    view_->update();  // the keyboard's cross
    host().setStatus(StatusField::Message, QString::fromUtf8(PickPointHint));
}

bool GraphPage::addSolutionThrough(double x, double y)
{
    solutionArmed_ = false;
    view_->setCursor(Qt::ArrowCursor);
    host().setStatus(StatusField::Message, QString());
    if (!field_ || field_->kind() == tavlix::FieldKind::None)
        return false;
    tavlix::Curve curve;
    curve.points = field_->solveThrough(x, y, view_->geometry().ranges());
    if (curve.points.empty())
        return false;
    tavlix::CurveList& curves = recorder_.curves();
    curve.style = tavlix::nextFreeLineStyle(curves);
    curve.name = solutionName(x, y);
    curve.origin = tavlix::CurveOrigin::Solution;
    curves.push_back(std::move(curve));
    view_->redraw();
    return true;
}

void GraphPage::removeSolution(int index)
{
    tavlix::CurveList& curves = recorder_.curves();
    if (index < 0 || index >= static_cast<int>(curves.size()) ||
        curves[static_cast<std::size_t>(index)].origin != tavlix::CurveOrigin::Solution)
        return;
    curves.erase(curves.begin() + index);
    view_->redraw();
}

void GraphPage::addSolutionMenu(QMenu& menu)
{
    const tavlix::CurveList& curves = recorder_.curves();
    bool first = true;
    for (int i = 0; i < static_cast<int>(curves.size()); ++i) {
        const tavlix::Curve& c = curves[static_cast<std::size_t>(i)];
        if (c.origin != tavlix::CurveOrigin::Solution)
            continue;
        if (first)
            menu.addSeparator();
        first = false;
        // Removing shifts the indices after it, so each item finds its curve by name when chosen.
        const std::string name = c.name;
        menu.addAction(QStringLiteral("Fjern %1").arg(QString::fromStdString(name)), this, [this, name] {
            const tavlix::CurveList& now = recorder_.curves();
            for (int j = 0; j < static_cast<int>(now.size()); ++j)
                if (now[static_cast<std::size_t>(j)].origin == tavlix::CurveOrigin::Solution &&
                    now[static_cast<std::size_t>(j)].name == name)
                    return removeSolution(j);
        });
    }
}
