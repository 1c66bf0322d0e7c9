// The accuracy dialog: a result page's step statistics and, per output variable, its deviation from a finer run.
#pragma once

#include <QDialog>

namespace tavlix {
struct AccuracyReport;
struct CoordinateDeviation;
}  // namespace tavlix
class QLabel;
class QPushButton;
class QTableWidget;

class AccuracyDialog : public QDialog {
    Q_OBJECT
public:
    explicit AccuracyDialog(QWidget* parent = nullptr);

    // The reference run of the page with this caption is under way: the button interrupts it.
    void showMeasuring(const QString& caption);
    void showReport(const QString& caption, const tavlix::AccuracyReport& report);
    void showInterrupted(const QString& caption);
    bool measuring() const { return measuring_; }
    // Escape while measuring interrupts the measurement; the dialog stays.
    void reject() override;

    QTableWidget* table() const { return table_; }
    QLabel* statisticsLabel() const { return statistics_; }
    QLabel* verdictLabel() const { return verdict_; }

signals:
    // "Beregn igen": measure the active page once more.
    void measureAgain();
    // "Afbryd" while measuring.
    void stopRequested();

private:
    void setMeasuring(bool on);
    void fillTable(const tavlix::AccuracyReport& report);
    void addRow(const QString& name, const tavlix::CoordinateDeviation& c, bool measured);

    QLabel* heading_ = nullptr;
    QLabel* statistics_ = nullptr;
    QTableWidget* table_ = nullptr;
    QLabel* verdict_ = nullptr;
    QPushButton* againButton_ = nullptr;
    bool measuring_ = false;
};
