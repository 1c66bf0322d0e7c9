// Lays out the statistics, the deviations and a plain-Danish verdict on what decided the page's accuracy.
#include "workspace/AccuracyDialog.h"

#include "compiler/AccuracyCheck.h"
#include "workspace/AccuracyTexts.h"
#include "workspace/QtCp1252.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

using accuracy_texts::count;
using accuracy_texts::shortNumber;

namespace {

const char* const Explanation =
    "Siden er regnet igen med 100 gange mindre tolerancer (Absolut og Relativ) og dobbelt så mange "
    "udskriftspunkter. Afvigelsen er den største forskel mellem sidens tal og genberegningens i sidens punkter: "
    "et skøn over, hvor meget sidens tal højst er forkerte.";

QLabel* wrappedLabel(QWidget* parent, const QString& accessibleName)
{
    auto* label = new QLabel(parent);
    label->setWordWrap(true);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    label->setAccessibleName(accessibleName);
    return label;
}

// The counts only: what decided the steps is said once, in the verdict.
QString statisticsText(const tavlix::SolverStatistics& s)
{
    return QString(
               "Skridt: %1.\n"
               "Forkastede skridt: %2 (for lange til tolerancerne; taget om med det halve skridt).\n"
               "Mindste skridt: %3, største skridt: %4.\n"
               "Beregninger af højresiderne: %5.")
        .arg(count(s.acceptedSteps), count(s.rejectedSteps), shortNumber(s.smallestStep), shortNumber(s.largestStep),
             count(s.rhsEvaluations));
}

QString stepsVerdict(const tavlix::AccuracyReport& report)
{
    const tavlix::SolverStatistics& s = report.statistics;
    if (s.acceptedSteps == 0)
        return "Der blev ikke taget nogen skridt: siden har kun sit første punkt.";
    if (report.allStepsSetByOutput())
        return "Tolerancerne afgjorde ikke nøjagtigheden: hvert skridt var afstanden mellem to udskriftspunkter. "
               "Færre udskriftspunkter (TAntal) eller mindre tolerancer (Absolut, Relativ) ville ændre den.";
    const long long byTolerance = s.acceptedSteps - s.stepsSetByOutput;
    return QString(
               "Tolerancerne bestemte længden af %1 af %2 skridt, udskriftspunkterne de øvrige %3. Mindre "
               "tolerancer (Absolut, Relativ) giver mere nøjagtige tal.")
        .arg(count(byTolerance), count(s.acceptedSteps), count(s.stepsSetByOutput));
}

// The largest deviation relative to its range, over every measured coordinate.
QString deviationVerdict(const tavlix::AccuracyReport& report)
{
    double largest = -1;
    QString name;
    auto consider = [&](const tavlix::CoordinateDeviation& c, const std::string& variable) {
        if (c.high > c.low && c.relative() > largest) {
            largest = c.relative();
            name = qt_cp1252::toQString(variable);
        }
    };
    for (const tavlix::OutputDeviation& output : report.outputs) {
        if (!output.measured)
            continue;
        consider(output.y, output.yName);
        if (output.inPlane)
            consider(output.x, output.xName);
    }
    if (largest < 0)
        return {};
    return QString("\nDen største afvigelse i forhold til spændvidden er %1 % (%2).")
        .arg(shortNumber(100 * largest), name);
}

QString verdictText(const tavlix::AccuracyReport& report)
{
    if (report.pageFailed)
        return QString("Siden nåede ikke til ende: %1. Dens tal er ikke målt.")
            .arg(qt_cp1252::toQString(report.pageError));
    QString text = stepsVerdict(report) + deviationVerdict(report);
    if (report.referenceFailed)
        text += "\n" + qt_cp1252::toQString(tavlix::referenceFailureText(report)) +
                ". Afvigelserne gælder kun punkterne indtil da.";
    return text;
}

}  // namespace

AccuracyDialog::AccuracyDialog(QWidget* parent) : QDialog(parent)
{
    setWindowTitle("Nøjagtighed");
    setObjectName("accuracyDialog");
    auto* layout = new QVBoxLayout(this);
    heading_ = wrappedLabel(this, "Side");
    QFont bold = heading_->font();
    bold.setBold(true);
    heading_->setFont(bold);
    layout->addWidget(heading_);
    QLabel* explanation = wrappedLabel(this, "Forklaring");
    explanation->setText(Explanation);
    layout->addWidget(explanation);
    statistics_ = wrappedLabel(this, "Skridt");
    layout->addWidget(statistics_);

    table_ = new QTableWidget(0, 5, this);
    table_->setAccessibleName("Afvigelser");
    table_->setHorizontalHeaderLabels(
        {"Variabel", "Afvigelse", "Mindste værdi", "Største værdi", "Afvigelse i forhold\ntil spændvidden"});
    table_->verticalHeader()->hide();
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    table_->setMinimumHeight(120);
    layout->addWidget(table_, 1);

    verdict_ = wrappedLabel(this, "Vurdering");
    layout->addWidget(verdict_);

    auto* buttons = new QDialogButtonBox(this);
    againButton_ = buttons->addButton("Beregn igen", QDialogButtonBox::ActionRole);
    againButton_->setAccessibleName("Beregn igen");
    QPushButton* close = buttons->addButton("Luk", QDialogButtonBox::RejectRole);
    close->setAccessibleName("Luk");
    layout->addWidget(buttons);
    connect(againButton_, &QPushButton::clicked, this, [this] {
        if (measuring_)
            emit stopRequested();
        else
            emit measureAgain();
    });
    connect(close, &QPushButton::clicked, this, &AccuracyDialog::reject);
    resize(620, 440);
}

void AccuracyDialog::setMeasuring(bool on)
{
    measuring_ = on;
    againButton_->setText(on ? "Afbryd" : "Beregn igen");
    againButton_->setAccessibleName(againButton_->text());
}

void AccuracyDialog::showMeasuring(const QString& caption)
{
    setMeasuring(true);
    heading_->setText(QString("Nøjagtighed af siden %1").arg(caption));
    statistics_->clear();
    table_->setRowCount(0);
    verdict_->setText("Regner siden igen med finere skridt ...");
    show();
    raise();
}

void AccuracyDialog::showReport(const QString& caption, const tavlix::AccuracyReport& report)
{
    setMeasuring(false);
    heading_->setText(QString("Nøjagtighed af siden %1").arg(caption));
    statistics_->setText(statisticsText(report.statistics));
    fillTable(report);
    verdict_->setText(verdictText(report));
    show();
    raise();
}

void AccuracyDialog::showInterrupted(const QString& caption)
{
    setMeasuring(false);
    heading_->setText(QString("Nøjagtighed af siden %1").arg(caption));
    verdict_->setText("Beregningen blev afbrudt. Tryk på \"Beregn igen\" for at prøve igen.");
}

// A curve in the plane takes two rows, one per variable, each with its own deviation and range.
void AccuracyDialog::fillTable(const tavlix::AccuracyReport& report)
{
    table_->setRowCount(0);
    if (report.pageFailed)
        return;
    for (const tavlix::OutputDeviation& output : report.outputs) {
        if (!output.inPlane) {
            addRow(qt_cp1252::toQString(output.name), output.y, output.measured);
            continue;
        }
        const QString curve =
            QString(" i (%1, %2)").arg(qt_cp1252::toQString(output.xName), qt_cp1252::toQString(output.yName));
        addRow(qt_cp1252::toQString(output.xName) + curve, output.x, output.measured);
        addRow(qt_cp1252::toQString(output.yName) + curve, output.y, output.measured);
    }
}

void AccuracyDialog::addRow(const QString& name, const tavlix::CoordinateDeviation& c, bool measured)
{
    const int row = table_->rowCount();
    table_->setRowCount(row + 1);
    const QString cells[5] = {
        name,
        measured ? shortNumber(c.deviation) : QString("–"),
        shortNumber(c.low, 4),
        shortNumber(c.high, 4),
        measured && c.high > c.low ? shortNumber(100 * c.relative()) + " %" : QString("–"),
    };
    for (int col = 0; col < 5; ++col) {
        auto* item = new QTableWidgetItem(cells[col]);
        item->setTextAlignment(col == 0 ? Qt::AlignLeft | Qt::AlignVCenter : Qt::AlignRight | Qt::AlignVCenter);
        table_->setItem(row, col, item);
    }
}

void AccuracyDialog::reject()
{
    if (measuring_) {
        emit stopRequested();
        return;
    }
    QDialog::reject();
}
