// The drawing-size dialog ("Tegneområde"): width and height in centimetres for printing and copying.
#include "workspace/PrintSizeDialog.h"

#include <QApplication>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <cmath>

namespace {

// Centimetres to the hundredth, with the decimal comma the user types.
QString sizeText(double x)
{
    return QString::number(x, 'f', 2).replace(QLatin1Char('.'), QLatin1Char(','));
}

}  // namespace

PrintSizeDialog::PrintSizeDialog(QWidget* parent) : CheckedDialog(parent)
{
    setObjectName(QStringLiteral("printSizeDialog"));
    setWindowTitle(QStringLiteral("Tegneområde"));

    sizeFrame_ = new QFrame(this);
    sizeFrame_->setObjectName(QStringLiteral("sizeFrame"));
    sizeFrame_->setFrameShape(QFrame::Box);
    sizeFrame_->setFrameShadow(QFrame::Sunken);
    widthLabel_ = new QLabel(QStringLiteral("&Bredde"), sizeFrame_);
    widthEdit_ = new QLineEdit(sizeFrame_);
    widthUnit_ = new QLabel(QStringLiteral("cm"), sizeFrame_);
    heightLabel_ = new QLabel(QStringLiteral("&Højde"), sizeFrame_);
    heightEdit_ = new QLineEdit(sizeFrame_);
    heightUnit_ = new QLabel(QStringLiteral("cm"), sizeFrame_);
    widthLabel_->setObjectName(QStringLiteral("widthLabel"));
    widthUnit_->setObjectName(QStringLiteral("widthUnit"));
    heightLabel_->setObjectName(QStringLiteral("heightLabel"));
    heightUnit_->setObjectName(QStringLiteral("heightUnit"));
    widthEdit_->setObjectName(QStringLiteral("widthEdit"));
    heightEdit_->setObjectName(QStringLiteral("heightEdit"));
    widthLabel_->setBuddy(widthEdit_);
    heightLabel_->setBuddy(heightEdit_);
    auto* grid = new QGridLayout(sizeFrame_);
    grid->addWidget(widthLabel_, 0, 0);
    grid->addWidget(widthEdit_, 0, 1);
    grid->addWidget(widthUnit_, 0, 2);
    grid->addWidget(heightLabel_, 1, 0);
    grid->addWidget(heightEdit_, 1, 1);
    grid->addWidget(heightUnit_, 1, 2);

    okButton_ = new QPushButton(QStringLiteral("OK"), this);
    cancelButton_ = new QPushButton(QStringLiteral("Annuller"), this);
    okButton_->setObjectName(QStringLiteral("okButton"));
    cancelButton_->setObjectName(QStringLiteral("cancelButton"));
    okButton_->setDefault(true);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(okButton_);
    buttons->addWidget(cancelButton_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(sizeFrame_);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(okButton_, &QPushButton::clicked, this, &PrintSizeDialog::onOk);
    connect(cancelButton_, &QPushButton::clicked, this, &PrintSizeDialog::onCancel);
}

bool PrintSizeDialog::parseSize(const QString& text, double& value)
{
    // The decimal comma the numbers are shown with, or a point.
    QString s = text.trimmed();
    s.replace(QLatin1Char(','), QLatin1Char('.'));
    bool ok = false;
    const double v = s.toDouble(&ok);
    if (!ok || !std::isfinite(v) || v <= 0)
        return false;
    value = v;
    return true;
}

bool PrintSizeDialog::edit(double& widthCm, double& heightCm)
{
    widthEdit_->setText(sizeText(widthCm));
    heightEdit_->setText(sizeText(heightCm));
    if (exec() != QDialog::Accepted)
        return false;
    double w = 0, h = 0;
    if (!parseSize(widthEdit_->text(), w) || !parseSize(heightEdit_->text(), h))
        return false;
    widthCm = w;
    heightCm = h;
    return true;
}

void PrintSizeDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    keepOpen_ = false;
    widthEdit_->setFocus();
    widthEdit_->selectAll();
}

void PrintSizeDialog::onOk()
{
    keepOpen_ = false;
    double v = 0;
    // A size that is not a number above 0 keeps the dialog open with the focus on it.
    for (QLineEdit* edit : {widthEdit_, heightEdit_}) {
        if (!parseSize(edit->text(), v)) {
            QApplication::beep();
            edit->setFocus();
            edit->selectAll();
            keepOpen_ = true;
        }
    }
    if (!keepOpen_)
        accept();
}
