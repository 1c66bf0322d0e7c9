// The coordinates dialog ("Indtast koordinater"): the sixteen coordinate-setting texts of a script page.
#include "workspace/CoordinatesDialog.h"

#include "support/FormatNumber.h"
#include "support/SettingsCalculator.h"
#include "workspace/QtCp1252.h"

#include <QApplication>
#include <QCheckBox>
#include <QFocusEvent>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace {

struct FieldInfo {
    const char* name;
    const char* label;
};

// The sixteen fields in the stored order of the settings, with their labels.
const FieldInfo FieldInfos[16] = {
    {"Xmin", "Minimum"},    {"Xmax", "Maksimum"},   {"XEnhed", "Enhed"},   {"YCross", "Y-Skæring"},
    {"YMin", "Minimum"},    {"YMax", "Maksimum"},   {"YEnhed", "Enhed"},   {"XCross", "X-Skæring"},
    {"TMin", "Minimum"},    {"TMax", "Maksimum"},   {"TAntal", "Antal"},   {"TDelta", "Delta T"},
    {"Absolut", "Absolut"}, {"Relativ", "Relativ"}, {"XGitter", "Gitter"}, {"YGitter", "Gitter"},
};

struct Group {
    const char* title;
    int fields[5];
    int count;
    int row, column;
};

// The four groups, their fields top to bottom in tab order, and their place in the dialog.
const Group Groups[4] = {
    {"&X-akse", {0, 1, 2, 3, 14}, 5, 0, 0},
    {"&Y-akse", {4, 5, 6, 7, 15}, 5, 0, 1},
    {"&T-parameter", {8, 9, 10, 11, 0}, 4, 1, 0},
    {"&Fejl-tolerance", {12, 13, 0, 0, 0}, 2, 1, 1},
};

// The most characters a failed minimum selects.
constexpr int MaxSelect = 255;

using tavlix::Setting;

QString fromCp1252(const std::string& s)
{
    return qt_cp1252::toQString(s);
}

}  // namespace

CoordinatesDialog::CoordinatesDialog(QWidget* parent) : CheckedDialog(parent)
{
    setObjectName(QStringLiteral("coordinatesDialog"));
    setWindowTitle(QStringLiteral("Indtast koordinater"));
    QFont f = font();
    f.setBold(true);
    setFont(f);

    for (std::size_t i = 0; i < fields_.size(); ++i) {
        fields_[i] = new QLineEdit(this);
        fields_[i]->setObjectName(QString::fromLatin1(FieldInfos[i].name));
        fields_[i]->installEventFilter(this);
        connect(fields_[i], &QLineEdit::textEdited, this, [this] { checkedField_ = nullptr; });
    }

    // Every label as wide as the widest and every field alike, so the four groups line up.
    int labelWidth = 0;
    for (const FieldInfo& info : FieldInfos)
        labelWidth = std::max(labelWidth, fontMetrics().horizontalAdvance(QString::fromUtf8(info.label)));
    const int fieldWidth = fontMetrics().horizontalAdvance(QStringLiteral("0,000000000000"));
    auto* groups = new QGridLayout;
    for (const Group& g : Groups) {
        auto* box = new QGroupBox(QString::fromUtf8(g.title), this);
        auto* form = new QFormLayout(box);
        for (int k = 0; k < g.count; ++k) {
            QLineEdit* field = fields_[g.fields[k]];
            field->setParent(box);
            field->setFixedWidth(fieldWidth);
            auto* label = new QLabel(QString::fromUtf8(FieldInfos[g.fields[k]].label), box);
            label->setMinimumWidth(labelWidth);
            form->addRow(label, field);
        }
        groups->addWidget(box, g.row, g.column);
    }

    tFollowsXBox_ = new QCheckBox(QStringLiteral("T &som X"), this);
    tFollowsXBox_->setObjectName(QStringLiteral("tFollowsXBox"));
    messageLabel_ = new QLabel(this);
    messageLabel_->setObjectName(QStringLiteral("messageLabel"));
    messageLabel_->setMinimumWidth(
        messageLabel_->fontMetrics().horizontalAdvance(QStringLiteral("Minimum skal være mindre end maksimum")));
    okButton_ = new QPushButton(QStringLiteral("OK"), this);
    cancelButton_ = new QPushButton(QStringLiteral("Annuller"), this);
    okButton_->setObjectName(QStringLiteral("okButton"));
    cancelButton_->setObjectName(QStringLiteral("cancelButton"));
    okButton_->setDefault(true);
    okButton_->setAutoDefault(true);
    cancelButton_->setAutoDefault(false);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(tFollowsXBox_);
    bottom->addStretch();
    bottom->addWidget(okButton_);
    bottom->addWidget(cancelButton_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(groups);
    layout->addWidget(messageLabel_);
    layout->addLayout(bottom);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    // Tab order: the buttons, the x column, the y column, t, the tolerances, then the check box.
    QWidget* order[] = {okButton_,
                        cancelButton_,
                        field(Setting::Xmin),
                        field(Setting::Xmax),
                        field(Setting::XTickStep),
                        field(Setting::YAxisAtX),
                        field(Setting::XGridStep),
                        field(Setting::Ymin),
                        field(Setting::Ymax),
                        field(Setting::YTickStep),
                        field(Setting::XAxisAtY),
                        field(Setting::YGridStep),
                        field(Setting::Tmin),
                        field(Setting::Tmax),
                        field(Setting::TCount),
                        field(Setting::TStep),
                        field(Setting::AbsTolerance),
                        field(Setting::RelTolerance),
                        tFollowsXBox_};
    for (size_t i = 0; i + 1 < std::size(order); ++i)
        setTabOrder(order[i], order[i + 1]);

    connect(okButton_, &QPushButton::clicked, this, &CoordinatesDialog::onOk);
    connect(cancelButton_, &QPushButton::clicked, this, &CoordinatesDialog::onCancel);
    connect(tFollowsXBox_, &QCheckBox::toggled, this, &CoordinatesDialog::onTFollowsXToggled);
}

void CoordinatesDialog::load(const tavlix::SettingsTexts& texts)
{
    for (std::size_t i = 0; i < fields_.size(); ++i)
        fields_[i]->setText(fromCp1252(texts[i]));
    {
        const QSignalBlocker block(tFollowsXBox_);
        tFollowsXBox_->setChecked(false);
    }
    field(Setting::Tmin)->setEnabled(true);
    field(Setting::Tmax)->setEnabled(true);
    if (texts[0] == texts[8] && texts[1] == texts[9])
        tFollowsXBox_->setChecked(true);
    messageLabel_->clear();
    checkedField_ = nullptr;
}

tavlix::SettingsTexts CoordinatesDialog::texts() const
{
    tavlix::SettingsTexts texts;
    for (std::size_t i = 0; i < fields_.size(); ++i)
        texts[i] = qt_cp1252::fromQString(fields_[i]->text());
    return texts;
}

bool CoordinatesDialog::edit(tavlix::SettingsTexts& texts)
{
    load(texts);
    if (exec() != QDialog::Accepted)
        return false;
    texts = this->texts();
    return true;
}

void CoordinatesDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    resetForShow();
}

void CoordinatesDialog::resetForShow()
{
    keepOpen_ = false;
    moveFocus(okButton_);
    messageLabel_->clear();
}

void CoordinatesDialog::beep()
{
    QApplication::beep();
}

void CoordinatesDialog::moveFocus(QWidget* target)
{
    // A focus move of our own checks nothing on the way.
    restoringFocus_ = true;
    target->setFocus(Qt::OtherFocusReason);
    restoringFocus_ = false;
}

bool CoordinatesDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusOut && !restoringFocus_) {
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        // Another window or a menu taking the focus is not leaving the field.
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason &&
            reason != Qt::MenuBarFocusReason && isVisible()) {
            if (auto* field = qobject_cast<QLineEdit*>(watched))
                checkField(field);
        }
    }
    return QDialog::eventFilter(watched, event);
}

void CoordinatesDialog::checkField(QLineEdit* checked)
{
    checkExpression(checked);
    // While t follows x, an x end that passed is copied to t.
    if (!tFollowsXBox_->isChecked() || keepOpen_)
        return;
    if (checked == field(Setting::Xmin))
        field(Setting::Tmin)->setText(checked->text());
    else if (checked == field(Setting::Xmax))
        field(Setting::Tmax)->setText(checked->text());
}

void CoordinatesDialog::checkExpression(QLineEdit* checked)
{
    keepOpen_ = false;
    if (QApplication::focusWidget() == cancelButton_)
        return;
    tavlix::CalcResult r = tavlix::evaluate(qt_cp1252::fromQString(checked->text()));
    if (r.error == tavlix::CalcError::None && checked == field(Setting::TCount) &&
        !(std::trunc(r.value + 0.5) == r.value && r.value >= 1))
        r = tavlix::CalcResult{r.value, tavlix::CalcError::NotAllowedHere, 1};
    if (r.error == tavlix::CalcError::None && checked == field(Setting::TStep) && !(r.value >= 0))
        r = tavlix::CalcResult{r.value, tavlix::CalcError::NotAllowedHere, 1};
    checkedField_ = checked;
    checkedText_ = checked->text();
    if (r.error != tavlix::CalcError::None) {
        const int position = r.position == 0 ? 1 : r.position;
        checked->deselect();
        checked->setCursorPosition(position - 1);
        keepOpen_ = true;
        messageLabel_->setText(QStringLiteral("Fejl i udtryk"));
        beep();
        moveFocus(checked);
        return;
    }
    messageLabel_->setText(fromCp1252(tavlix::formatNumber(15, r.value)).trimmed());
}

void CoordinatesDialog::onTFollowsXToggled()
{
    const bool coupled = tFollowsXBox_->isChecked();
    if (coupled) {
        field(Setting::Tmin)->setText(field(Setting::Xmin)->text());
        field(Setting::Tmax)->setText(field(Setting::Xmax)->text());
    }
    field(Setting::Tmin)->setEnabled(!coupled);
    field(Setting::Tmax)->setEnabled(!coupled);
}

bool CoordinatesDialog::checkRange(QLineEdit* minField, QLineEdit* maxField)
{
    const tavlix::CalcResult lo = tavlix::evaluate(qt_cp1252::fromQString(minField->text()));
    const tavlix::CalcResult hi = tavlix::evaluate(qt_cp1252::fromQString(maxField->text()));
    if (lo.error != tavlix::CalcError::None || hi.error != tavlix::CalcError::None)
        beep();
    if (lo.value < hi.value)
        return true;
    keepOpen_ = true;
    minField->setSelection(0, std::min<int>(MaxSelect, minField->text().size()));
    beep();
    messageLabel_->setText(QStringLiteral("Minimum skal være mindre end maksimum"));
    return false;
}

void CoordinatesDialog::onOk()
{
    // Enter confirms without leaving the field, so the field is checked now; a check that just failed stands.
    QWidget* focus = QApplication::focusWidget();
    for (QLineEdit* f : fields_) {
        if (focus == f && !(f == checkedField_ && f->text() == checkedText_ && keepOpen_))
            checkField(f);
    }
    const std::pair<Setting, Setting> ranges[] = {
        {Setting::Xmin, Setting::Xmax}, {Setting::Ymin, Setting::Ymax}, {Setting::Tmin, Setting::Tmax}};
    for (const auto& [lo, hi] : ranges) {
        if (!keepOpen_ && !checkRange(field(lo), field(hi))) {
            keepOpen_ = true;
            // A disabled minimum (t following x) cannot take the focus; x has failed before it then.
            moveFocus(field(lo)->isEnabled() ? field(lo) : field(Setting::Xmin));
        }
    }
    if (!keepOpen_)
        accept();
}
