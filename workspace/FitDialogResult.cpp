// The fit dialog's fit and what it shows of it: the values with their standard errors, the measures, the preview.
#include "workspace/FitDialog.h"

#include "analysis/CurveFunction.h"
#include "workspace/AccuracyTexts.h"
#include "workspace/FitPreview.h"
#include "workspace/QtCp1252.h"
#include "workspace/ScriptPage.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>

#include <cmath>
#include <limits>

namespace {

// The preview draws the model at this many ts across the data.
constexpr int CurveSamples = 200;
// Values as precise as a teacher compares them; errors and measures need only their size.
constexpr int ValueDigits = 8;
constexpr int ErrorDigits = 3;
constexpr int MeasureDigits = 6;

QString number(double v, int digits = ValueDigits)
{
    return accuracy_texts::shortNumber(v, digits);
}

std::unique_ptr<tavlix::CompiledDocument> compiledDocument(const ScriptPage& script)
{
    const auto source = script.runSource();
    return std::make_unique<tavlix::CompiledDocument>(source->settings, source->lines, source->picks);
}

}  // namespace

void FitDialog::clearResult(const QString& text)
{
    last_ = {};
    results_->setRowCount(0);
    summary_->setText(text);
    useButton_->setEnabled(false);
    preview_->setCurve({}, {});
}

void FitDialog::showData()
{
    QVector<double> xs, ys;
    if (script_ && !tables_->currentText().isEmpty()) {
        const auto document = compiledDocument(*script_);
        const tavlix::PointTable* table =
            document->compile() ? document->tableOf(qt_cp1252::fromQString(tables_->currentText())) : nullptr;
        for (int i = 1; table && i <= table->pointCount; ++i) {
            xs << table->points[i].x;
            ys << table->points[i].y;
        }
    }
    preview_->setData(xs, ys);
}

void FitDialog::fit()
{
    if (!script_)
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const auto document = compiledDocument(*script_);
    tavlix::ConstantFit fitter(*document);
    lastRequest_ = request();
    last_ = fitter.fit(lastRequest_);
    QApplication::restoreOverrideCursor();
    showResult();
}

void FitDialog::showResult()
{
    results_->setRowCount(static_cast<int>(last_.constants.size()));
    for (int row = 0; row < results_->rowCount(); ++row) {
        const tavlix::FittedConstant& c = last_.constants[static_cast<std::size_t>(row)];
        results_->setItem(row, 0, new QTableWidgetItem(qt_cp1252::toQString(c.name)));
        results_->setItem(row, 1, new QTableWidgetItem(number(c.value)));
        results_->setItem(row, 2, new QTableWidgetItem(last_.converged() ? number(c.standardError, ErrorDigits) : "–"));
    }
    useButton_->setEnabled(last_.converged());
    if (last_.converged()) {
        summary_->setText(QString("RMS: %1    R²: %2    Iterationer: %3")
                              .arg(number(last_.rms, MeasureDigits), number(last_.r2, MeasureDigits),
                                   QString::number(last_.iterations)));
        drawFittedCurve();
        return;
    }
    const QString why = qt_cp1252::toQString(last_.message);
    summary_->setText(last_.outcome == tavlix::FitOutcome::Refused
                          ? why
                          : "Tilpasningen konvergerede ikke; intet er ændret. Sidste værdier står ovenfor. " + why);
    preview_->setCurve({}, {});
}

void FitDialog::drawFittedCurve()
{
    const auto document = compiledDocument(*script_);
    tavlix::ConstantValues values;
    for (const tavlix::FittedConstant& c : last_.constants)
        values[tavlix::CompiledDocument::keyOf(c.name)] = c.value;
    const int record = document->compile(values) ? document->recordOf(lastRequest_.model) : -1;
    const tavlix::PointTable* table = record > 0 ? document->tableOf(lastRequest_.table) : nullptr;
    if (!table || table->pointCount < 1) {
        preview_->setCurve({}, {});
        return;
    }
    const double lo = table->points[1].x, hi = table->points[table->pointCount].x;
    tavlix::CurveFunction model(*document, record);
    QVector<double> ts, ys;
    for (int i = 0; i < CurveSamples; ++i) {
        const double t = lo + (hi - lo) * i / (CurveSamples - 1);
        double y = 0;
        ts << t;
        ys << (model.valueAt(t, y) ? y : std::numeric_limits<double>::quiet_NaN());
    }
    preview_->setCurve(ts, ys);
}
