// A graph page: keeps the curves and labels of one graph of a run and draws them on its view (its output in
// GraphPageOutput.cpp, its direction field and solutions in GraphPageField.cpp).
#include "workspace/GraphPage.h"

#include "graph/GraphExport.h"
#include "graph/GraphRenderer.h"
#include "graph/GraphView.h"
#include "support/FormatNumber.h"
#include "workspace/GraphAnalysis.h"
#include "workspace/PageHost.h"
#include "workspace/ResultFile.h"

#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QPainter>
#include <QPrinter>
#include <QScrollArea>
#include <QTimer>

#include <algorithm>

using tavlix::CoordinateSettings;
using tavlix::CurveRecorder;
using tavlix::CurveStyle;

namespace {

// The commands a graph page offers.
constexpr Command GraphCommands[] = {Command::PrintNow, Command::Copy,       Command::FitGraph,
                                     Command::AddLabel, Command::PrintSize,  Command::Print,
                                     Command::SaveAs,   Command::ShowLegend, Command::AxesThroughOrigin};
// What the status bar says while the label tool waits for its click.
const char* const PlaceLabelHint =
    "Klik i grafen, hvor teksten skal stå, eller flyt krydset med piletasterne og tryk Enter";

QString latin(const std::string& s)
{
    // FormatNumber writes digits, signs, 'E' and the comma only.
    return QString::fromLatin1(s.data(), static_cast<qsizetype>(s.size()));
}

}  // namespace

GraphPage::GraphPage(PageHost& host, int width, int height, const tavlix::RunLimits& limits, QWidget* parent)
    : Page(PageKind::Graph, host, parent), recorder_(limits.maxGraphPoints),
      analysis_(std::make_unique<GraphAnalysis>())
{
    scrollArea_ = new QScrollArea(this);
    scrollArea_->setObjectName(QStringLiteral("scrollArea"));
    scrollArea_->setWidgetResizable(false);
    scrollArea_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    scrollArea_->setBackgroundRole(QPalette::Window);
    view_ = new GraphView(width, height);
    view_->setObjectName(QStringLiteral("graphView"));
    view_->setCurves(&recorder_.curves());
    view_->setLabels(&labels_);
    view_->setAreas(&areas_);
    view_->setLabelTool({[this] { return labelToolArmed(); }, [this] { return takeLabelText(); }});
    view_->setPointTool({[this] { return solutionArmed_ || pickTool_ != PickTool::None; },
                         [this](double x, double y) { pickPoint(x, y); }, [this] { cancelPick(); }});
    connect(view_, &GraphView::pointerMoved, this, &GraphPage::showPointer);
    connect(view_, &GraphView::zoomed, this, &GraphPage::updateZoomBack);
    view_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(view_, &QWidget::customContextMenuRequested, this, &GraphPage::showContextMenu);
    scrollArea_->setWidget(view_);
    // Keys given to the page (Delete on a selected label) go to the graph.
    setFocusProxy(view_);
    // The "Punkter" pane, when shown, stands right of the graph.
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(scrollArea_);
    // Laid out anew once the size has settled, so dragging the window's edge stays smooth.
    relayoutTimer_ = new QTimer(this);
    relayoutTimer_->setSingleShot(true);
    relayoutTimer_->setInterval(RelayoutDelayMs);
    connect(relayoutTimer_, &QTimer::timeout, this, &GraphPage::relayoutWhenSettled);
    // Computed once the events of a gesture are handled, so a drag stays smooth.
    resampleTimer_ = new QTimer(this);
    resampleTimer_->setSingleShot(true);
    connect(resampleTimer_, &QTimer::timeout, this, &GraphPage::resampleForView);
    connect(view_, &GraphView::zoomed, this, &GraphPage::scheduleResample);
}

GraphPage::~GraphPage() = default;

void GraphPage::showPointer(double x, double y, bool inside)
{
    host().setStatus(StatusField::X, inside ? QStringLiteral("x: ") + latin(tavlix::formatNumber(6, x)) : QString());
    host().setStatus(StatusField::Y, inside ? QStringLiteral("y: ") + latin(tavlix::formatNumber(6, y)) : QString());
}

bool GraphPage::labelToolArmed()
{
    // The tool is armed while the host shows its label field.
    QLineEdit* edit = host().labelTextEdit();
    return edit && !edit->isHidden();
}

QString GraphPage::takeLabelText()
{
    QLineEdit* edit = host().labelTextEdit();
    edit->hide();
    const QString text = edit->text();
    edit->clear();
    host().setStatus(StatusField::Message, QString());
    return text;
}

void GraphPage::showContextMenu(const QPoint& at)
{
    QMenu* shared = host().resultContextMenu(PageKind::Graph);
    if (!shared)
        return;
    // A menu of its own each time, so the solutions' removal items belong to this page only.
    auto* menu = new QMenu(this);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->setToolTipsVisible(true);
    menu->addActions(shared->actions());
    addSolutionMenu(*menu);
    addAnalysisMenu(*menu);
    menu->popup(view_->mapToGlobal(at));
}

void GraphPage::updateZoomBack()
{
    // Only the page shown owns the window's commands.
    if (isVisible())
        host().setCommandEnabled(Command::ZoomBack, view_->canStepBack());
}

void GraphPage::stepBack()
{
    view_->stepBack();
}

void GraphPage::attachView()
{
    view_->setCurves(&recorder_.curves());
    view_->setLabels(&labels_);
    view_->setAreas(&areas_);
    view_->setInteractive(true);
}

void GraphPage::begin()
{
    begun_ = true;
    // A refresh by a run with the same settings keeps the user's view; other settings start from the run's.
    refresh_.keepView = refresh_.pending && runSettings_ == refresh_.lastRunSettings;
    if (refresh_.pending && !refresh_.keepView)
        view_->clearZoomHistory();
    refresh_.pending = false;
    view_->setRunSettings(runSettings_);
    view_->beginOnScreen(refresh_.keepView ? refresh_.view : runSettings_);
    attachView();
}

void GraphPage::fitToWindow()
{
    if (refresh_.keepView) {
        refresh_.keepView = false;
        layOut(refresh_.view);
        return;
    }
    view_->clearZoomHistory();
    layOut(runSettings_);
}

void GraphPage::prepareForRefresh()
{
    view_->finishLabelEdit(true);
    view_->cancelDrag();
    view_->selectLabel(-1);
    recorder_.release();
    runPoints_.clear();
    sampler_.reset();
    refresh_ = {begun_, false, runSettings_, view_->view()};
    // The next run brings its own equations, if any; solutions and tangents went with the curves, areas go too.
    field_.reset();
    view_->renderer().setDirectionField(nullptr);
    cancelPick();
    analysis_->forget();
    areas_.clear();
    std::erase_if(labels_, [](const TextLabel& label) { return !label.owner.empty(); });
    points_.clear();
    view_->setMarks({});
}

QSize GraphPage::viewSizeForPage() const
{
    // A page not laid out yet takes the size of the place it is shown in.
    QSize client = size();
    if (!testAttribute(Qt::WA_Resized) && !isVisible() && parentWidget())
        client = parentWidget()->size();
    return {std::max(client.width() - pointsPanelRoom() - ViewInset, 1), std::max(client.height() - ViewInset, 1)};
}

void GraphPage::layOut(const CoordinateSettings& view)
{
    const CoordinateSettings shown = view;  // it may be the view's own, which a new picture resets
    const QSize size = viewSizeForPage();
    view_->finishLabelEdit(true);
    view_->resetPicture(size.width(), size.height());
    view_->cancelDrag();
    view_->beginOnScreen(shown);
    attachView();
    view_->replay();
    updateZoomBack();
    scheduleResample();
}

void GraphPage::resizeEvent(QResizeEvent* event)
{
    Page::resizeEvent(event);
    relayoutTimer_->start();
}

void GraphPage::relayoutWhenSettled()
{
    if (!begun_)
        return;
    // A run lays the page out itself when it begins and draws on the view it made; the new size waits for its end.
    if (host().running()) {
        relayoutTimer_->start();
        return;
    }
    if (viewSizeForPage() != view_->size())
        layOut(view_->view());
}

void GraphPage::addCurve(CurveStyle style)
{
    recorder_.addCurve(style);
}

void GraphPage::addPoint(int curve, double x, double y)
{
    CurveRecorder::Step step;
    switch (recorder_.addPoint(curve, x, y, &step)) {
    case CurveRecorder::Added::OverLimit:
        // The point is dropped; the run ends at its next pause and the page keeps what it has.
        host().stopRun(QString("Grafen \"%1\" er blevet for stor (over %L2 punkter). Kørslen er stoppet; "
                               "de beregnede punkter er bevaret. Vælg færre punkter (TAntal) eller "
                               "et større skridt (TDelta).")
                           .arg(caption())
                           .arg(recorder_.maxPoints()));
        break;
    case CurveRecorder::Added::Step: {
        const tavlix::Curve& c = recorder_.curves()[static_cast<std::size_t>(curve - 1)];
        view_->renderer().setFaint(GraphRenderer::isFaint(c));
        view_->renderer().drawClippedStep(c.style, step.x0, step.y0, step.x1, step.y1);
        break;
    }
    case CurveRecorder::Added::First: {
        // A line's first point only places the pen; a mark is drawn at once.
        const tavlix::Curve& c = recorder_.curves()[static_cast<std::size_t>(curve - 1)];
        if (!tavlix::isMarkStyle(c.style))
            break;
        view_->renderer().setFaint(GraphRenderer::isFaint(c));
        view_->renderer().drawClippedStep(c.style, x, y, x, y);
        break;
    }
    default: break;
    }
}

void GraphPage::endStroke(int curve)
{
    recorder_.endStroke(curve);
}

void GraphPage::updateCommands()
{
    host().resetCommands();
    for (Command command : GraphCommands)
        host().setCommandEnabled(command, true);
    host().setCommandEnabled(Command::ZoomBack, view_->canStepBack());
    host().setCommandChecked(Command::ShowLegend, legendShown());
    updateFieldCommands();
    updateAnalysisCommands();
    showIntegration();
    if (!labelToolArmed())
        view_->setCursor(Qt::ArrowCursor);
    view_->cancelDrag();
}

void GraphPage::armLabelTool()
{
    view_->setCursor(Qt::IBeamCursor);
    if (QLineEdit* edit = host().labelTextEdit()) {
        edit->show();
        edit->setFocus();
    }
}

void GraphPage::awaitLabelClick()
{
    if (!labelToolArmed() || host().labelTextEdit()->text().isEmpty())
        return;
    host().setStatus(StatusField::Message, QString::fromUtf8(PlaceLabelHint));
    view_->setCursor(Qt::IBeamCursor);
    view_->setFocus(Qt::OtherFocusReason);
    view_->update();  // the keyboard's cross
}
