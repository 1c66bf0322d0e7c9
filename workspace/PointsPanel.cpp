// The "Punkter" pane: a read-only table with a caption; Ctrl+C copies the chosen rows as tab-separated lines.
#include "workspace/PointsPanel.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLocale>
#include <QTableWidget>
#include <QVBoxLayout>

#include <set>

namespace {

const char* const Headers[] = {"Slags", "Kurve", "x", "y"};
// Significant digits shown and copied: enough to read a zero to the precision a lesson needs.
constexpr int ShownDigits = 8;

QString number(double v)
{
    return QLocale().toString(v, 'g', ShownDigits);
}

}  // namespace

PointsPanel::PointsPanel(QWidget* parent) : QWidget(parent), table_(new QTableWidget(this))
{
    setObjectName(QStringLiteral("pointsPanel"));
    auto* caption = new QLabel(QStringLiteral("&Punkter"), this);
    caption->setBuddy(table_);
    table_->setObjectName(QStringLiteral("pointsTable"));
    table_->setColumnCount(4);
    QStringList headers;
    for (const char* h : Headers)
        headers << QString::fromUtf8(h);
    table_->setHorizontalHeaderLabels(headers);
    table_->verticalHeader()->hide();
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    table_->setTabKeyNavigation(false);
    table_->horizontalHeader()->setStretchLastSection(true);
    table_->setAccessibleName(QStringLiteral("Punkter"));
    table_->setAccessibleDescription(
        QStringLiteral("Nulpunkter, maksima, minima og skæringer på grafen; Ctrl+C kopierer dem som tekst"));
    auto* copyAction = new QAction(QStringLiteral("&Kopiér"), table_);
    copyAction->setShortcut(QKeySequence::Copy);
    copyAction->setShortcutContext(Qt::WidgetShortcut);
    connect(copyAction, &QAction::triggered, this, &PointsPanel::copy);
    table_->addAction(copyAction);
    table_->setContextMenuPolicy(Qt::ActionsContextMenu);
    // The table would copy its current cell only: the whole rows go instead.
    table_->installEventFilter(this);
    connect(table_, &QTableWidget::currentCellChanged, this, [this](int row) {
        if (row >= 0)
            emit pointChosen(row);
    });
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(caption);
    layout->addWidget(table_);
    setFixedWidth(PanelWidth);
}

void PointsPanel::setRows(const QList<Row>& rows)
{
    rows_ = rows;
    const QSignalBlocker block(table_);
    table_->clearContents();
    table_->setRowCount(static_cast<int>(rows.size()));
    for (int r = 0; r < rows.size(); ++r) {
        const Row& row = rows[r];
        const QString cells[] = {row.kind, row.curves, number(row.x), number(row.y)};
        for (int c = 0; c < 4; ++c) {
            auto* item = new QTableWidgetItem(cells[c]);
            if (c >= 2)
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            // A screen reader reads the whole point on any of its cells.
            item->setData(
                Qt::AccessibleTextRole,
                QStringLiteral("%1 %2: x = %3, y = %4").arg(row.kind, row.curves, number(row.x), number(row.y)));
            table_->setItem(r, c, item);
        }
    }
    table_->resizeColumnsToContents();
}

int PointsPanel::rowCount() const
{
    return static_cast<int>(rows_.size());
}

QString PointsPanel::text() const
{
    std::set<int> chosen;
    for (const QModelIndex& index : table_->selectionModel()->selectedRows())
        chosen.insert(index.row());
    QString text = QStringLiteral("Slags\tKurve\tx\ty\n");
    for (int r = 0; r < rows_.size(); ++r) {
        if (!chosen.empty() && !chosen.count(r))
            continue;
        const Row& row = rows_[r];
        text += row.kind + '\t' + row.curves + '\t' + number(row.x) + '\t' + number(row.y) + '\n';
    }
    return text;
}

void PointsPanel::copy() const
{
    QApplication::clipboard()->setText(text());
}

void PointsPanel::selectPoint(int index)
{
    const QSignalBlocker block(table_);
    if (index < 0 || index >= table_->rowCount()) {
        table_->clearSelection();
        return;
    }
    table_->selectRow(index);
    table_->scrollToItem(table_->item(index, 0));
}

bool PointsPanel::eventFilter(QObject* watched, QEvent* event)
{
    const bool key = event->type() == QEvent::KeyPress || event->type() == QEvent::ShortcutOverride;
    if (watched != table_ || !key || !static_cast<QKeyEvent*>(event)->matches(QKeySequence::Copy))
        return QWidget::eventFilter(watched, event);
    event->accept();
    if (event->type() == QEvent::KeyPress)
        copy();
    return true;
}
