// The bar above the pages: a slider per list constant of the active document, and its family check box.
#pragma once

#include "compiler/ListParameters.h"

#include <QWidget>

#include <vector>

class QCheckBox;
class QGridLayout;
class QLabel;
class QSlider;

class ParameterBar : public QWidget {
    Q_OBJECT
public:
    explicit ParameterBar(QWidget* parent = nullptr);

    // Shows these parameters, or hides the bar when there are none. The sliders are made anew only when the
    // names or lists change, so a slider being moved keeps the focus while its run goes on.
    // family: the parameter whose "Skare" is on, or -1.
    void setParameters(const std::vector<tavlix::ListParameter>& parameters, int family = -1);
    int sliderCount() const { return static_cast<int>(sliders_.size()); }
    QSlider* slider(int parameter) const { return sliders_[static_cast<std::size_t>(parameter)]; }
    QLabel* valueLabel(int parameter) const { return values_[static_cast<std::size_t>(parameter)]; }
    QCheckBox* familyBox(int parameter) const { return families_[static_cast<std::size_t>(parameter)]; }
    // The slider with the keyboard focus, or -1; gives a slider the focus.
    int focusedSlider() const;
    void focusSlider(int parameter);

    // "k = 0,5": the value as the table page shows numbers, with the locale's decimal separator.
    static QString valueText(const tavlix::ListParameter& parameter, int pick);

signals:
    // The user moved a slider to a value, counted from 1.
    void pickChanged(int parameter, int pick);
    // The user turned a parameter's family on or off; turning one on has turned the others off.
    void familyChanged(int parameter, bool on);

private:
    void rebuild(const std::vector<tavlix::ListParameter>& parameters);
    void addRow(int index, const tavlix::ListParameter& parameter);
    void onSliderMoved(int parameter, int pick);
    void onFamilyToggled(int parameter, bool on);

    QGridLayout* layout_ = nullptr;
    std::vector<tavlix::ListParameter> parameters_;
    std::vector<QSlider*> sliders_;
    std::vector<QLabel*> values_;
    std::vector<QCheckBox*> families_;
};
