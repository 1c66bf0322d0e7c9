// The area dialog: a small form; OK checks the limits before it closes, so a typing slip is said at once.
#include "workspace/AreaDialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QVBoxLayout>

AreaDialog::AreaDialog(QWidget* parent)
    : QDialog(parent), curve_(new QComboBox(this)), other_(new QComboBox(this)), from_(new QLineEdit(this)),
      to_(new QLineEdit(this)), error_(new QLabel(this))
{
    setObjectName(QStringLiteral("areaDialog"));
    setWindowTitle(QStringLiteral("Areal under graf"));
    curve_->setObjectName(QStringLiteral("areaCurve"));
    other_->setObjectName(QStringLiteral("areaOther"));
    from_->setObjectName(QStringLiteral("areaFrom"));
    to_->setObjectName(QStringLiteral("areaTo"));
    curve_->setAccessibleName(QStringLiteral("Graf"));
    other_->setAccessibleName(QStringLiteral("Arealet går til"));
    from_->setAccessibleName(QStringLiteral("Fra x"));
    to_->setAccessibleName(QStringLiteral("Til x"));
    error_->setStyleSheet(QStringLiteral("color: #b00000"));
    error_->hide();
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("&Graf:"), curve_);
    form->addRow(QStringLiteral("&Ned til:"), other_);
    form->addRow(QStringLiteral("&Fra x:"), from_);
    form->addRow(QStringLiteral("&Til x:"), to_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Annullér"));
    QPushButton* pick = buttons->addButton(QStringLiteral("&Vælg i grafen"), QDialogButtonBox::ActionRole);
    pick->setToolTip(QStringLiteral("Klik i grafen ved de to grænser"));
    connect(pick, &QPushButton::clicked, this, [this] {
        reject();
        emit pickInGraph();
    });
    connect(buttons, &QDialogButtonBox::accepted, this, [this] {
        double a = 0, b = 0;
        if (!limits(a, b))
            return showError(QStringLiteral("Skriv to tal som grænser, fx 0 og 3,14"));
        if (other() == curve())
            return showError(QStringLiteral("Vælg to forskellige grafer"));
        accept();
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(error_);
    layout->addWidget(buttons);
}

void AreaDialog::fill(const QStringList& curves, int chosen, const QString& from, const QString& to)
{
    curve_->clear();
    curve_->addItems(curves);
    curve_->setCurrentIndex(std::max(chosen, 0));
    other_->clear();
    other_->addItem(QStringLiteral("x-aksen"));
    other_->addItems(curves);
    from_->setText(from);
    to_->setText(to);
    error_->hide();
    (from.isEmpty() ? static_cast<QWidget*>(from_) : curve_)->setFocus();
}

int AreaDialog::curve() const
{
    return curve_->currentIndex();
}

int AreaDialog::other() const
{
    return other_->currentIndex() - 1;
}

bool AreaDialog::limits(double& from, double& to) const
{
    const QLocale locale;
    bool okFrom = false, okTo = false;
    from = locale.toDouble(from_->text().trimmed(), &okFrom);
    to = locale.toDouble(to_->text().trimmed(), &okTo);
    // A point works too, as scripts write numbers.
    if (!okFrom)
        from = from_->text().trimmed().toDouble(&okFrom);
    if (!okTo)
        to = to_->text().trimmed().toDouble(&okTo);
    return okFrom && okTo && from != to;
}

void AreaDialog::showError(const QString& text)
{
    error_->setText(text);
    error_->show();
}
