// The drawing-size dialog ("Tegneområde"): width and height in centimetres for printing and copying.
#pragma once

#include "workspace/CheckedDialog.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QFrame;

class PrintSizeDialog : public CheckedDialog {
    Q_OBJECT
public:
    explicit PrintSizeDialog(QWidget* parent = nullptr);

    // Shows the sizes in cm with two decimals and asks; on OK stores the typed sizes and returns true.
    bool edit(double& widthCm, double& heightCm);

    // A size text as a number: decimal comma or point; false when it is not a number above 0.
    static bool parseSize(const QString& text, double& value);

protected:
    void showEvent(QShowEvent* event) override;

private slots:
    void onOk();

private:
    QFrame* sizeFrame_ = nullptr;
    QLabel* widthLabel_ = nullptr;
    QLineEdit* widthEdit_ = nullptr;
    QLabel* widthUnit_ = nullptr;
    QLabel* heightLabel_ = nullptr;
    QLineEdit* heightEdit_ = nullptr;
    QLabel* heightUnit_ = nullptr;
    QPushButton* okButton_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
};
