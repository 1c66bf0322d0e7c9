// "Tilpas konstanter": choose a data table, a model of the script and the constants to fit; shows the fit and
// writes its values into the script.
#pragma once

#include "analysis/ConstantFit.h"

#include <QDialog>
#include <QPointer>

class FitPreview;
class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;
class QTableWidget;
class ScriptPage;

class FitDialog : public QDialog {
    Q_OBJECT
public:
    explicit FitDialog(QWidget* parent = nullptr);

    // Shows the dialog for a document, with the tables, models and plain-number constants its script has now.
    void showFor(ScriptPage* script);
    ScriptPage* script() const { return script_; }

    // "Tilpas": fits the chosen constants; nothing in the script changes.
    void fit();
    // "Brug værdierne": the fitted values into the Konstanter lines as one undo step.
    void useValues();
    // "Indsæt model": the chosen template as a new function, with the constants it needs.
    void insertTemplate();

    QComboBox* tableBox() const { return tables_; }
    QComboBox* modelBox() const { return models_; }
    QComboBox* templateBox() const { return templates_; }
    QListWidget* constantList() const { return constants_; }
    QTableWidget* resultTable() const { return results_; }
    QLabel* summaryLabel() const { return summary_; }
    QPushButton* useButton() const { return useButton_; }
    FitPreview* preview() const { return preview_; }
    const tavlix::FitResult& lastResult() const { return last_; }

signals:
    // The script took the fitted values: the window runs the document again.
    void valuesUsed(ScriptPage* script);

private:
    // Compiles the script as it stands and fills the choices, keeping those still there.
    void reload();
    // Ticks the constants the model's own line uses.
    void tickModelConstants();
    void showResult();
    void showData();
    void drawFittedCurve();
    void clearResult(const QString& text);
    tavlix::FitRequest request() const;

    QPointer<ScriptPage> script_;
    tavlix::FitResult last_;
    tavlix::FitRequest lastRequest_;
    QComboBox* tables_ = nullptr;
    QComboBox* models_ = nullptr;
    QComboBox* templates_ = nullptr;
    QListWidget* constants_ = nullptr;
    QTableWidget* results_ = nullptr;
    QLabel* summary_ = nullptr;
    FitPreview* preview_ = nullptr;
    QPushButton* fitButton_ = nullptr;
    QPushButton* useButton_ = nullptr;
};
