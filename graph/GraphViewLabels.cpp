// The graph view's text labels: placing one with the label tool, selecting, moving, editing in place, deleting.
#include "graph/GraphView.h"

#include <QEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>

#include <algorithm>

namespace {

// A press that moves less than this many pixels (either way together) selects a label without moving it.
constexpr int MoveThreshold = 3;
// The selection frame stands this far outside the text, and a press this close still hits the label.
constexpr int FrameMargin = 2;

}  // namespace

bool GraphView::labelExists(int index) const
{
    return labels_ && index >= 0 && index < static_cast<int>(labels_->size());
}

QRect GraphView::labelRectAt(const QString& text, int left, int top) const
{
    return QRect(left, top, fontMetrics().horizontalAdvance(text), geometry().charHeight());
}

QRect GraphView::labelRect(int index) const
{
    if (!labelExists(index) || !geometry().rangesUsable())
        return {};
    // Where the renderer writes it: the text starts at x and is centred on y.
    const TextLabel& label = (*labels_)[static_cast<std::size_t>(index)];
    const GraphGeometry& g = geometry();
    return labelRectAt(QString::fromStdString(label.text), g.toPixelX(label.x),
                       g.toPixelY(label.y) - g.charHeight() / 2);
}

int GraphView::labelAt(int x, int y) const
{
    if (!labels_)
        return -1;
    // The last drawn is on top.
    for (int i = static_cast<int>(labels_->size()) - 1; i >= 0; --i)
        if (labelExists(i) &&
            labelRect(i).adjusted(-FrameMargin, -FrameMargin, FrameMargin, FrameMargin).contains(x, y))
            return i;
    return -1;
}

void GraphView::selectLabel(int index)
{
    const int selected = labelExists(index) ? index : -1;
    if (selected == selectedLabel_)
        return;
    selectedLabel_ = selected;
    update();
}

void GraphView::deleteSelectedLabel()
{
    if (!labelExists(selectedLabel_))
        return;
    if (editedLabel_ == selectedLabel_)
        finishLabelEdit(false);
    labels_->erase(labels_->begin() + selectedLabel_);
    selectedLabel_ = -1;
    labelDrag_.active = false;
    redraw();
}

void GraphView::placeLabel(int x, int y)
{
    const QString text = labelTool_.takeText ? labelTool_.takeText() : QString();
    setCursor(Qt::ArrowCursor);
    if (text.isEmpty() || !labels_)
        return;
    const GraphGeometry& g = geometry();
    const double vx = g.toValueX(x), vy = g.toValueY(y);
    if (!g.insideView(vx, vy))
        return;
    if (renderer_.painter()) {
        renderer_.drawLabelAt(text, x, y - g.charHeight() / 2);
        markDirty();
    }
    labels_->push_back({vx, vy, text.toStdString()});
    emit labelPlaced();
}

void GraphView::pressOnLabel(int index, int x, int y)
{
    selectLabel(index);
    setFocus(Qt::MouseFocusReason);
    const QPoint at(x, y);
    labelDrag_ = {true, at - labelRect(index).topLeft(), at, at};
    setCursor(Qt::SizeAllCursor);
}

void GraphView::dropLabel(int x, int y)
{
    labelDrag_.active = false;
    restCursor();
    update();
    if ((QPoint(x, y) - labelDrag_.start).manhattanLength() < MoveThreshold || !labelExists(selectedLabel_))
        return;
    const GraphGeometry& g = geometry();
    const QPoint topLeft = QPoint(x, y) - labelDrag_.grab;
    const double vx = g.toValueX(topLeft.x()), vy = g.toValueY(topLeft.y() + g.charHeight() / 2);
    // As when placing one: a label stays within the view.
    if (!g.insideView(vx, vy))
        return;
    TextLabel& label = (*labels_)[static_cast<std::size_t>(selectedLabel_)];
    label.x = vx;
    label.y = vy;
    redraw();
}

void GraphView::paintLabelSelection(QPainter& p)
{
    if (!labelExists(selectedLabel_) || editedLabel_ == selectedLabel_)
        return;
    QRect frame = labelRect(selectedLabel_);
    if (labelDrag_.active && labelDrag_.at != labelDrag_.start) {
        // The label follows the pointer as an outline with its text; the picture changes when it is dropped.
        frame.moveTopLeft(labelDrag_.at - labelDrag_.grab);
        p.setPen(Qt::darkGray);
        const TextLabel& label = (*labels_)[static_cast<std::size_t>(selectedLabel_)];
        p.drawText(frame.left(), frame.top() + fontMetrics().ascent(), QString::fromStdString(label.text));
    }
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    p.setPen(QPen(Qt::black, 0, Qt::DotLine));
    p.setBrush(Qt::NoBrush);
    p.drawRect(frame.adjusted(-FrameMargin, -FrameMargin, FrameMargin, FrameMargin));
}

void GraphView::editLabel(int index)
{
    if (!labelExists(index))
        return;
    finishLabelEdit(true);
    selectLabel(index);
    if (!labelEditor_) {
        labelEditor_ = new QLineEdit(this);
        labelEditor_->setObjectName(QStringLiteral("labelEditor"));
        labelEditor_->setAccessibleName(QStringLiteral("Rediger tekst"));
        labelEditor_->setToolTip(QStringLiteral("Rediger tekst: Enter gemmer, Esc fortryder"));
        labelEditor_->installEventFilter(this);
        connect(labelEditor_, &QLineEdit::returnPressed, this, [this] { finishLabelEdit(true); });
    }
    const QString text = QString::fromStdString((*labels_)[static_cast<std::size_t>(index)].text);
    const QRect at = labelRect(index);
    const int height = labelEditor_->sizeHint().height();
    labelEditor_->setGeometry(at.left() - FrameMargin, at.center().y() - height / 2,
                              std::max(at.width() + 6 * geometry().charWidth(), 120), height);
    labelEditor_->setText(text);
    labelEditor_->selectAll();
    editedLabel_ = index;
    labelEditor_->show();
    labelEditor_->setFocus(Qt::OtherFocusReason);
    update();
}

void GraphView::finishLabelEdit(bool keep)
{
    if (editedLabel_ < 0 || !labelEditor_)
        return;
    const int index = editedLabel_;
    editedLabel_ = -1;
    const bool hadFocus = labelEditor_->hasFocus();
    // Hiding takes the focus away, which would finish the edit again: it is over already.
    labelEditor_->hide();
    if (hadFocus)
        setFocus(Qt::OtherFocusReason);
    update();
    if (!keep || !labelExists(index))
        return;
    const QString text = labelEditor_->text();
    if (text.isEmpty()) {
        selectedLabel_ = index;
        deleteSelectedLabel();
        return;
    }
    (*labels_)[static_cast<std::size_t>(index)].text = text.toStdString();
    redraw();
}

bool GraphView::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != labelEditor_)
        return QWidget::eventFilter(watched, event);
    const bool escape = (event->type() == QEvent::KeyPress || event->type() == QEvent::ShortcutOverride) &&
                        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape;
    if (escape && event->type() == QEvent::ShortcutOverride) {
        // Escape belongs to the editor here, not to the window's stop command.
        event->accept();
        return true;
    }
    if (escape) {
        finishLabelEdit(false);
        return true;
    }
    // Clicking elsewhere keeps what was typed; a menu or another window taking the focus for a while does not end it.
    if (event->type() == QEvent::FocusOut) {
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            finishLabelEdit(true);
    }
    return QWidget::eventFilter(watched, event);
}
