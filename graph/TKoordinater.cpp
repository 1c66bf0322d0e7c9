// The coordinates dialog ("Indtast koordinater"): the sixteen coordinate-setting texts of a script page.
#include "graph/TKoordinater.h"

#include "support/SettingsCalculator.h"
#include "support/FormatNumber.h"
#include "workspace/Cp1252.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
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

TKoordinater* Koordinater = nullptr;

namespace {

struct FieldInfo {
    const char* name;
    const char* label;
};

// The sixteen fields in the stored order of the settings, with their labels.
const FieldInfo FieldInfos[16] = {
    {"Xmin", "Minimum"},   {"Xmax", "Maksimum"}, {"XEnhed", "Enhed"},        {"YCross", "Y-Skæring"},
    {"YMin", "Minimum"},   {"YMax", "Maksimum"}, {"YEnhed", "Enhed"},        {"XCross", "X-Skæring"},
    {"TMin", "Minimum"},   {"TMax", "Maksimum"}, {"TAntal", "Antal"},        {"TDelta", "Delta T"},
    {"Absolut", "Absolut"}, {"Relativ", "Relativ"}, {"XGitter", "Gitter"},   {"YGitter", "Gitter"},
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

constexpr int iTAntal = 10;
constexpr int iTDelta = 11;
// The most characters a failed minimum selects.
constexpr int MaxSelect = 255;

QString Text(const std::string& s)
{
    return Cp1252::ToQString(s);
}

}  // namespace

TKoordinater::TKoordinater(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Koordinater"));
    setWindowTitle(QStringLiteral("Indtast koordinater"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setModal(true);
    QFont f = font();
    f.setBold(true);
    setFont(f);

    for (int i = 0; i < 16; ++i) {
        Fields[i] = new QLineEdit(this);
        Fields[i]->setObjectName(QString::fromLatin1(FieldInfos[i].name));
        Fields[i]->installEventFilter(this);
        connect(Fields[i], &QLineEdit::textEdited, this, [this] { checkedField = nullptr; });
    }
    Xmin = Fields[0], Xmax = Fields[1], XEnhed = Fields[2], YCross = Fields[3];
    YMin = Fields[4], YMax = Fields[5], YEnhed = Fields[6], XCross = Fields[7];
    TMin = Fields[8], TMax = Fields[9], TAntal = Fields[10], TDelta = Fields[11];
    Absolut = Fields[12], Relativ = Fields[13], XGitter = Fields[14], YGitter = Fields[15];

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
            QLineEdit* field = Fields[g.fields[k]];
            field->setParent(box);
            field->setFixedWidth(fieldWidth);
            auto* label = new QLabel(QString::fromUtf8(FieldInfos[g.fields[k]].label), box);
            label->setMinimumWidth(labelWidth);
            form->addRow(label, field);
        }
        groups->addWidget(box, g.row, g.column);
    }

    TsomX = new QCheckBox(QStringLiteral("T &som X"), this);
    TsomX->setObjectName(QStringLiteral("TsomX"));
    Error = new QLabel(this);
    Error->setObjectName(QStringLiteral("Error"));
    Error->setMinimumWidth(Error->fontMetrics().horizontalAdvance(QStringLiteral("Minimum skal være mindre end maksimum")));
    OKBtn = new QPushButton(QStringLiteral("OK"), this);
    CancelBtn = new QPushButton(QStringLiteral("Cancel"), this);
    OKBtn->setObjectName(QStringLiteral("OKBtn"));
    CancelBtn->setObjectName(QStringLiteral("CancelBtn"));
    OKBtn->setDefault(true);
    OKBtn->setAutoDefault(true);
    CancelBtn->setAutoDefault(false);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(TsomX);
    bottom->addStretch();
    bottom->addWidget(OKBtn);
    bottom->addWidget(CancelBtn);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(groups);
    layout->addWidget(Error);
    layout->addLayout(bottom);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    // Tab order: the buttons, the x column, the y column, t, the tolerances, then the check box.
    QWidget* order[] = {OKBtn, CancelBtn, Xmin, Xmax, XEnhed, YCross, XGitter, YMin, YMax, YEnhed, XCross, YGitter,
                        TMin, TMax, TAntal, TDelta, Absolut, Relativ, TsomX};
    for (size_t i = 0; i + 1 < std::size(order); ++i)
        setTabOrder(order[i], order[i + 1]);

    connect(OKBtn, &QPushButton::clicked, this, &TKoordinater::OKBtnClick);
    connect(CancelBtn, &QPushButton::clicked, this, &TKoordinater::CancelBtnClick);
    connect(TsomX, &QCheckBox::toggled, this, &TKoordinater::TsomXClick);
}

void TKoordinater::Load(const tavlix::SettingsTexts& texts)
{
    for (int i = 0; i < 16; ++i)
        Fields[i]->setText(Text(texts[i]));
    {
        const QSignalBlocker block(TsomX);
        TsomX->setChecked(false);
    }
    TMin->setEnabled(true);
    TMax->setEnabled(true);
    if (texts[0] == texts[8] && texts[1] == texts[9])
        TsomX->setChecked(true);
    Error->clear();
    checkedField = nullptr;
}

tavlix::SettingsTexts TKoordinater::Texts() const
{
    tavlix::SettingsTexts texts;
    for (int i = 0; i < 16; ++i)
        texts[i] = Cp1252::FromQString(Fields[i]->text());
    return texts;
}

bool TKoordinater::Execute(tavlix::SettingsTexts& texts)
{
    Load(texts);
    if (exec() != QDialog::Accepted)
        return false;
    texts = Texts();
    return true;
}

void TKoordinater::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    FormActivate();
}

void TKoordinater::FormActivate()
{
    closeAction = Hide;
    MoveFocus(OKBtn);
    Error->clear();
}

void TKoordinater::Beep()
{
    QApplication::beep();
}

void TKoordinater::MoveFocus(QWidget* target)
{
    // A focus move of our own checks nothing on the way.
    restoringFocus = true;
    target->setFocus(Qt::OtherFocusReason);
    restoringFocus = false;
}

bool TKoordinater::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusOut && !restoringFocus) {
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        // Another window or a menu taking the focus is not leaving the field.
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason &&
            reason != Qt::MenuBarFocusReason && isVisible()) {
            if (auto* field = qobject_cast<QLineEdit*>(watched))
                FieldExit(field);
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TKoordinater::FieldExit(QLineEdit* field)
{
    if (field == Xmin)
        XminExit();
    else if (field == Xmax)
        XmaxExit();
    else
        AllExit(field);
}

void TKoordinater::AllExit(QLineEdit* field)
{
    closeAction = Hide;
    if (QApplication::focusWidget() == CancelBtn)
        return;
    tavlix::CalcResult r = tavlix::evaluate(Cp1252::FromQString(field->text()));
    if (r.error == tavlix::CalcError::None && field == Fields[iTAntal] && !(std::trunc(r.value + 0.5) == r.value && r.value >= 1))
        r = tavlix::CalcResult{r.value, tavlix::CalcError::NotAllowedHere, 1};
    if (r.error == tavlix::CalcError::None && field == Fields[iTDelta] && !(r.value >= 0))
        r = tavlix::CalcResult{r.value, tavlix::CalcError::NotAllowedHere, 1};
    checkedField = field;
    checkedText = field->text();
    if (r.error != tavlix::CalcError::None) {
        const int position = r.position == 0 ? 1 : r.position;
        field->deselect();
        field->setCursorPosition(position - 1);
        closeAction = LeaveOpen;
        Error->setText(QStringLiteral("Fejl i udtryk"));
        Beep();
        MoveFocus(field);
        return;
    }
    Error->setText(Text(tavlix::formatNumber(15, r.value)).trimmed());
}

void TKoordinater::XminExit()
{
    AllExit(Xmin);
    if (TsomX->isChecked() && closeAction == Hide)
        TMin->setText(Xmin->text());
}

void TKoordinater::XmaxExit()
{
    AllExit(Xmax);
    if (TsomX->isChecked() && closeAction == Hide)
        TMax->setText(Xmax->text());
}

void TKoordinater::TsomXClick()
{
    const bool coupled = TsomX->isChecked();
    if (coupled) {
        TMin->setText(Xmin->text());
        TMax->setText(Xmax->text());
    }
    TMin->setEnabled(!coupled);
    TMax->setEnabled(!coupled);
}

bool TKoordinater::CheckMinMax(QLineEdit* minField, QLineEdit* maxField)
{
    const tavlix::CalcResult lo = tavlix::evaluate(Cp1252::FromQString(minField->text()));
    const tavlix::CalcResult hi = tavlix::evaluate(Cp1252::FromQString(maxField->text()));
    if (lo.error != tavlix::CalcError::None || hi.error != tavlix::CalcError::None)
        Beep();
    if (lo.value < hi.value)
        return true;
    closeAction = LeaveOpen;
    minField->setSelection(0, std::min<int>(MaxSelect, minField->text().size()));
    Beep();
    Error->setText(QStringLiteral("Minimum skal være mindre end maksimum"));
    return false;
}

void TKoordinater::OKBtnClick()
{
    // Enter confirms without leaving the field, so the field is checked now; a check that just failed stands.
    QWidget* focus = QApplication::focusWidget();
    for (QLineEdit* field : Fields) {
        if (focus == field && !(field == checkedField && field->text() == checkedText && closeAction == LeaveOpen))
            FieldExit(field);
    }
    const std::pair<QLineEdit*, QLineEdit*> ranges[] = {{Xmin, Xmax}, {YMin, YMax}, {TMin, TMax}};
    for (const auto& [lo, hi] : ranges) {
        if (closeAction == Hide && !CheckMinMax(lo, hi)) {
            closeAction = LeaveOpen;
            // A disabled minimum (t following x) cannot take the focus; x has failed before it then.
            MoveFocus(lo->isEnabled() ? lo : Xmin);
        }
    }
    if (closeAction == Hide)
        accept();
}

void TKoordinater::CancelBtnClick()
{
    closeAction = Hide;
    reject();
}

void TKoordinater::done(int result)
{
    if (result == QDialog::Rejected)
        closeAction = Hide;
    if (closeAction == LeaveOpen)
        return;
    QDialog::done(result);
}

void TKoordinater::closeEvent(QCloseEvent* event)
{
    if (closeAction == LeaveOpen) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}
