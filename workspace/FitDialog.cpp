// The fit dialog's layout and choices, and its edits of the script; the fit's display is in FitDialogResult.cpp.
#include "workspace/FitDialog.h"

#include "workspace/ConstantLines.h"
#include "workspace/FitPreview.h"
#include "workspace/QtCp1252.h"
#include "workspace/ScriptEditor.h"
#include "workspace/ScriptPage.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpression>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace {

QString latin(std::string_view s)
{
    return qt_cp1252::toQString(s);
}

// The template choices in the order of FitTemplate.
const char* const TemplateNames[] = {"lineær", "eksponentiel", "potens", "logistisk"};

QComboBox* labelledBox(QWidget* parent, const QString& name)
{
    auto* box = new QComboBox(parent);
    box->setAccessibleName(name);
    return box;
}

// Refills a box, keeping the chosen text when it is still offered.
void refill(QComboBox& box, const QStringList& items)
{
    const QString chosen = box.currentText();
    box.clear();
    box.addItems(items);
    if (const int at = box.findText(chosen); at >= 0)
        box.setCurrentIndex(at);
}

}  // namespace

FitDialog::FitDialog(QWidget* parent) : QDialog(parent)
{
    setWindowTitle("Tilpas konstanter");
    auto* form = new QFormLayout;
    tables_ = labelledBox(this, "Data");
    form->addRow("&Data:", tables_);
    models_ = labelledBox(this, "Model");
    form->addRow("&Model:", models_);
    templates_ = labelledBox(this, "Skabelon");
    for (const char* name : TemplateNames)
        templates_->addItem(QString::fromUtf8(name));
    auto* insert = new QPushButton("&Indsæt model", this);
    insert->setAccessibleName("Indsæt model");
    auto* templateRow = new QHBoxLayout;
    templateRow->addWidget(templates_, 1);
    templateRow->addWidget(insert);
    form->addRow("&Skabelon:", templateRow);
    constants_ = new QListWidget(this);
    constants_->setAccessibleName("Konstanter der tilpasses");
    constants_->setMaximumHeight(110);
    form->addRow("&Konstanter:", constants_);
    for (QWidget* w : {static_cast<QWidget*>(tables_), static_cast<QWidget*>(models_),
                       static_cast<QWidget*>(templates_), static_cast<QWidget*>(constants_)})
        if (auto* label = qobject_cast<QLabel*>(form->labelForField(w)))
            label->setBuddy(w);
    if (auto* label = qobject_cast<QLabel*>(form->labelForField(templateRow)))
        label->setBuddy(templates_);

    results_ = new QTableWidget(0, 3, this);
    results_->setHorizontalHeaderLabels({"Konstant", "Værdi", "Standardfejl"});
    results_->setAccessibleName("Tilpassede værdier");
    results_->verticalHeader()->hide();
    results_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    results_->horizontalHeader()->setStretchLastSection(true);
    results_->setMaximumHeight(120);
    summary_ = new QLabel(this);
    summary_->setWordWrap(true);
    summary_->setAccessibleName("Tilpasningens mål");
    summary_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    preview_ = new FitPreview(this);

    fitButton_ = new QPushButton("&Tilpas", this);
    fitButton_->setAccessibleName("Tilpas");
    fitButton_->setDefault(true);
    useButton_ = new QPushButton("&Brug værdierne", this);
    useButton_->setAccessibleName("Brug værdierne");
    useButton_->setEnabled(false);
    auto* close = new QPushButton("&Luk", this);
    close->setAccessibleName("Luk");
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    for (QPushButton* b : {fitButton_, useButton_, close})
        buttons->addWidget(b);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(results_);
    layout->addWidget(summary_);
    layout->addWidget(preview_, 1);
    layout->addLayout(buttons);

    connect(insert, &QPushButton::clicked, this, &FitDialog::insertTemplate);
    connect(fitButton_, &QPushButton::clicked, this, &FitDialog::fit);
    connect(useButton_, &QPushButton::clicked, this, &FitDialog::useValues);
    connect(close, &QPushButton::clicked, this, &FitDialog::reject);
    connect(models_, &QComboBox::currentTextChanged, this, [this] {
        tickModelConstants();
        clearResult(QString());
    });
    connect(tables_, &QComboBox::currentTextChanged, this, [this] {
        showData();
        clearResult(QString());
    });
}

void FitDialog::showFor(ScriptPage* script)
{
    if (script != script_) {
        tables_->clear();
        models_->clear();
        constants_->clear();
    }
    script_ = script;
    reload();
    show();
    raise();
    activateWindow();
}

void FitDialog::reload()
{
    if (!script_)
        return;
    const auto source = script_->runSource();
    tavlix::CompiledDocument document(source->settings, source->lines, source->picks);
    const QSignalBlocker blockTables(tables_), blockModels(models_);
    if (!document.compile()) {
        refill(*tables_, {});
        refill(*models_, {});
        constants_->clear();
        fitButton_->setEnabled(false);
        clearResult("Scriptet kan ikke oversættes: " + latin(document.errorMessage()));
        return;
    }
    const tavlix::CompiledScript& s = document.model().script;
    QStringList tables, models;
    for (int i = 1; i <= s.tableCount; ++i)
        tables << latin(s.tables[i].name.view());
    // A branch of "hvis" carries its owner's name: each name once.
    for (int r = 1; r <= s.recordCount; ++r)
        if (const QString name = latin(s.records[r].name.view()); !name.isEmpty() && !models.contains(name))
            models << name;
    refill(*tables_, tables);
    refill(*models_, models);
    QStringList ticked;
    for (int i = 0; i < constants_->count(); ++i)
        if (constants_->item(i)->checkState() == Qt::Checked)
            ticked << constants_->item(i)->data(Qt::UserRole).toString();
    constants_->clear();
    for (const tavlix::PlainConstant& c : document.plainConstants()) {
        auto* item = new QListWidgetItem(latin(c.name) + " = " + ConstantLines::numberText(c.value), constants_);
        item->setData(Qt::UserRole, latin(c.name));
        item->setFlags(Qt::ItemIsUserCheckable | Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        item->setCheckState(ticked.contains(latin(c.name)) ? Qt::Checked : Qt::Unchecked);
    }
    if (ticked.isEmpty())
        tickModelConstants();
    fitButton_->setEnabled(!tables.isEmpty() && !models.isEmpty());
    clearResult(tables.isEmpty() ? QString("Scriptet har ingen tabel med data") : QString());
    showData();
}

void FitDialog::tickModelConstants()
{
    if (!script_)
        return;
    // The model's line: its name (with a prime for an equation) first, then "=".
    const QRegularExpression head("^\\s*" + QRegularExpression::escape(models_->currentText()) + "'?\\s*=(.*)$",
                                  QRegularExpression::CaseInsensitiveOption);
    QString body;
    for (const QString& line : script_->lines())
        if (const QRegularExpressionMatch m = head.match(line); m.hasMatch())
            body = m.captured(1);
    for (int i = 0; i < constants_->count(); ++i) {
        QListWidgetItem* item = constants_->item(i);
        const QRegularExpression word("\\b" + QRegularExpression::escape(item->data(Qt::UserRole).toString()) + "\\b",
                                      QRegularExpression::CaseInsensitiveOption);
        item->setCheckState(word.match(body).hasMatch() ? Qt::Checked : Qt::Unchecked);
    }
}

tavlix::FitRequest FitDialog::request() const
{
    tavlix::FitRequest r;
    r.table = qt_cp1252::fromQString(tables_->currentText());
    r.model = qt_cp1252::fromQString(models_->currentText());
    for (int i = 0; i < constants_->count(); ++i)
        if (constants_->item(i)->checkState() == Qt::Checked)
            r.constants.push_back(qt_cp1252::fromQString(constants_->item(i)->data(Qt::UserRole).toString()));
    return r;
}

void FitDialog::useValues()
{
    if (!script_ || !last_.converged())
        return;
    ConstantLines::Values values;
    for (const tavlix::FittedConstant& c : last_.constants)
        values.append({latin(c.name), c.value});
    ScriptEditor& editor = *script_->editor();
    ConstantLines::apply(editor, ConstantLines::withValues(ConstantLines::linesOf(editor), values));
    ScriptPage* script = script_;
    reload();
    summary_->setText("Værdierne står nu i scriptet; Fortryd tager dem tilbage.");
    emit valuesUsed(script);
}

void FitDialog::insertTemplate()
{
    if (!script_)
        return;
    const auto shape = static_cast<FitTemplate>(templates_->currentIndex());
    QString name = "model";
    for (int n = 2; models_->findText(name) >= 0; ++n)
        name = "model" + QString::number(n);
    double first = 0, largest = 0;
    // The starts follow the chosen table's data, so a logistic model starts near its level.
    if (const QVector<double>& ys = preview_->dataY(); !ys.isEmpty()) {
        first = ys.front();
        largest = *std::max_element(ys.begin(), ys.end());
    }
    const ConstantLines::Values starts = ConstantLines::startValues(shape, first, largest);
    ScriptEditor& editor = *script_->editor();
    ConstantLines::apply(editor, ConstantLines::withModel(ConstantLines::linesOf(editor), name,
                                                          ConstantLines::expression(shape), starts));
    constants_->clear();
    reload();
    models_->setCurrentText(name);
    tickModelConstants();
}
