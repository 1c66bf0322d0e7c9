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

QString statisticsText(const tavlix::SolverStatistics& s)
{
    return QString(
               "Skridt: %1, heraf %2 bestemt af udskriftspunkterne.\n"
               "Forkastede skridt: %3 (for lange til tolerancerne; taget om med det halve skridt).\n"
               "Mindste skridt: %4, største skridt: %5.\n"
               "Beregninger af højresiderne: %6.")
        .arg(count(s.acceptedSteps), count(s.stepsSetByOutput), count(s.rejectedSteps), shortNumber(s.smallestStep),
             shortNumber(s.largestStep), count(s.rhsEvaluations));
}

QString verdictText(const tavlix::AccuracyReport& report)
{
    const tavlix::SolverStatistics& s = report.statistics;
    QString text;
    if (s.acceptedSteps == 0)
        text = "Der blev ikke taget nogen skridt: siden har kun sit første punkt.";
    else if (report.allStepsSetByOutput())
        text =
            "Tolerancerne afgjorde ikke nøjagtigheden: hvert skridt var afstanden mellem to udskriftspunkter. "
            "Færre udskriftspunkter (TAntal) eller mindre tolerancer (Absolut, Relativ) ville ændre den.";
    else
        text = QString(
                   "Tolerancerne bestemte længden af %1 af %2 skridt. Mindre tolerancer (Absolut, Relativ) "
                   "giver mere nøjagtige tal; flere udskriftspunkter ændrer dem næppe.")
                   .arg(count(s.acceptedSteps - s.stepsSetByOutput), count(s.acceptedSteps));
    if (report.referenceFailed)
        text +=
            "\nGenberegningen nåede ikke til ende, fordi de mindre tolerancer ikke kunne overholdes; "
            "afvigelserne gælder kun punkterne indtil da.";
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

void AccuracyDialog::fillTable(const tavlix::AccuracyReport& report)
{
    table_->setRowCount(static_cast<int>(report.outputs.size()));
    int row = 0;
    for (const tavlix::OutputDeviation& output : report.outputs) {
        const bool ranged = output.high > output.low;
        const QString cells[5] = {
            qt_cp1252::toQString(output.name),
            output.measured ? shortNumber(output.deviation) : QString("–"),
            shortNumber(output.low, 4),
            shortNumber(output.high, 4),
            output.measured && ranged ? shortNumber(100 * output.relative()) + " %" : QString("–"),
        };
        for (int col = 0; col < 5; ++col) {
            auto* item = new QTableWidgetItem(cells[col]);
            item->setTextAlignment(col == 0 ? Qt::AlignLeft | Qt::AlignVCenter : Qt::AlignRight | Qt::AlignVCenter);
            table_->setItem(row, col, item);
        }
        ++row;
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
