// The bar above the pages: a slider per list constant of the active document, and its family check box.
#include "workspace/ParameterBar.h"

#include "engine/OutputGenerator.h"
#include "workspace/QtCp1252.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLocale>
#include <QSignalBlocker>
#include <QSlider>

#include <algorithm>

namespace {

// Sliders side by side before the bar starts another row.
constexpr int ParametersPerRow = 3;
constexpr int ColumnsPerParameter = 4;

}  // namespace

ParameterBar::ParameterBar(QWidget* parent) : QWidget(parent)
{
    setObjectName("parameterBar");
    setAccessibleName("Parametre");
    layout_ = new QGridLayout(this);
    layout_->setContentsMargins(6, 2, 6, 2);
    layout_->setVerticalSpacing(2);
    hide();
}

QString ParameterBar::valueText(const tavlix::ListParameter& parameter, int pick)
{
    const double value = parameter.values[static_cast<std::size_t>(pick - 1)];
    // The separator the run's table cells get from the window.
    const char separator = QLocale().decimalPoint() == "," ? ',' : '.';
    return qt_cp1252::toQString(parameter.name) + " = " +
           qt_cp1252::toQString(tavlix::formatCell(value, separator)).trimmed();
}

void ParameterBar::setParameters(const std::vector<tavlix::ListParameter>& parameters, int family)
{
    const auto same = [](const tavlix::ListParameter& a, const tavlix::ListParameter& b) {
        return a.name == b.name && a.values == b.values;
    };
    if (!std::equal(parameters.begin(), parameters.end(), parameters_.begin(), parameters_.end(), same))
        rebuild(parameters);
    parameters_ = parameters;
    for (std::size_t i = 0; i < parameters.size(); ++i) {
        const QSignalBlocker quiet(sliders_[i]);
        sliders_[i]->setValue(parameters[i].pick);
        values_[i]->setText(valueText(parameters[i], parameters[i].pick));
        const QSignalBlocker quietBox(families_[i]);
        families_[i]->setChecked(static_cast<int>(i) == family);
    }
    setVisible(!parameters.empty());
}

void ParameterBar::rebuild(const std::vector<tavlix::ListParameter>& parameters)
{
    // The slider whose move started the run that changed the lists is still inside its own signal: the old
    // widgets go quietly out of sight now and are deleted once the event loop has them again.
    while (QLayoutItem* item = layout_->takeAt(0)) {
        if (QWidget* widget = item->widget()) {
            widget->disconnect(this);
            widget->hide();
            widget->deleteLater();
        }
        delete item;
    }
    sliders_.clear();
    values_.clear();
    families_.clear();
    for (std::size_t i = 0; i < parameters.size(); ++i)
        addRow(static_cast<int>(i), parameters[i]);
}

int ParameterBar::focusedSlider() const
{
    for (std::size_t i = 0; i < sliders_.size(); ++i)
        if (sliders_[i]->hasFocus())
            return static_cast<int>(i);
    return -1;
}

void ParameterBar::focusSlider(int parameter)
{
    if (parameter < 0 || parameter >= sliderCount() || !isVisible())
        return;
    // A new slider waits for the layout to show it, and a hidden one takes no focus.
    QSlider* slider = sliders_[static_cast<std::size_t>(parameter)];
    slider->show();
    slider->setFocus();
}

void ParameterBar::addRow(int index, const tavlix::ListParameter& parameter)
{
    const QString name = qt_cp1252::toQString(parameter.name);
    const int row = index / ParametersPerRow;
    const int column = (index % ParametersPerRow) * ColumnsPerParameter;
    auto* label = new QLabel(name, this);
    auto* slider = new QSlider(Qt::Horizontal, this);
    slider->setRange(1, static_cast<int>(parameter.values.size()));
    slider->setSingleStep(1);
    slider->setPageStep(std::max(1, static_cast<int>(parameter.values.size()) / 4));
    slider->setTickPosition(QSlider::TicksBelow);
    slider->setTickInterval(1);
    slider->setMinimumWidth(120);
    slider->setAccessibleName("Parameter " + name);
    label->setBuddy(slider);
    auto* value = new QLabel(this);
    value->setMinimumWidth(80);
    layout_->addWidget(label, row, column);
    layout_->addWidget(slider, row, column + 1);
    auto* family = new QCheckBox("Skare", this);
    family->setAccessibleName("Skare over " + name);
    family->setToolTip(QString("Tegn hver kurve én gang for hver værdi af %1").arg(name));
    layout_->addWidget(value, row, column + 2);
    layout_->addWidget(family, row, column + 3);
    sliders_.push_back(slider);
    values_.push_back(value);
    families_.push_back(family);
    connect(family, &QCheckBox::toggled, this, [this, index](bool on) { onFamilyToggled(index, on); });
    connect(slider, &QSlider::valueChanged, this, [this, index](int pick) { onSliderMoved(index, pick); });
}

void ParameterBar::onSliderMoved(int parameter, int pick)
{
    tavlix::ListParameter& p = parameters_[static_cast<std::size_t>(parameter)];
    p.pick = pick;
    values_[static_cast<std::size_t>(parameter)]->setText(valueText(p, pick));
    emit pickChanged(parameter, pick);
}

void ParameterBar::onFamilyToggled(int parameter, bool on)
{
    // One family at a time: the others go off.
    if (on)
        for (std::size_t i = 0; i < families_.size(); ++i)
            if (static_cast<int>(i) != parameter) {
                const QSignalBlocker quiet(families_[i]);
                families_[i]->setChecked(false);
            }
    emit familyChanged(parameter, on);
}
