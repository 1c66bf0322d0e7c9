// The "Punkter" pane beside a graph: its points of interest as rows (kind, curve(s), x, y) that can be selected,
// copied as text and read by a screen reader.
#pragma once

#include <QStringList>
#include <QWidget>

class QTableWidget;

class PointsPanel : public QWidget {
    Q_OBJECT
public:
    struct Row {
        QString kind;    // "nulpunkt", "maksimum", "minimum", "skæring"
        QString curves;  // "f", or "f og g" for an intersection
        double x = 0;
        double y = 0;
    };

    explicit PointsPanel(QWidget* parent = nullptr);

    void setRows(const QList<Row>& rows);
    int rowCount() const;
    // The rows as copied: a header, then one tab-separated line per row (the selected ones, or all when none is
    // selected), numbers in the locale's format.
    QString text() const;
    void copy() const;
    QTableWidget* table() const { return table_; }
    // Selects the row of point index (-1: none), as the graph's pointer comes onto its mark.
    void selectPoint(int index);

    // The width the pane takes beside the graph.
    static constexpr int PanelWidth = 360;

signals:
    // A row was chosen with the keyboard or the mouse.
    void pointChosen(int index);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QTableWidget* table_;
    QList<Row> rows_;
};
