// The drawing-size dialog ("Tegneområde"): width and height in centimetres for printing and copying.
#include "graph/TOKBottomDlg.h"

#include "support/FormatNumber.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <cmath>

TOKBottomDlg* OKBottomDlg = nullptr;

namespace {

QString Number(double x)
{
    const std::string s = tavlix::formatNumber(8, x);
    return QString::fromLatin1(s.data(), static_cast<qsizetype>(s.size())).trimmed();
}

}  // namespace

TOKBottomDlg::TOKBottomDlg(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("OKBottomDlg"));
    setWindowTitle(QStringLiteral("Tegneområde"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setModal(true);

    Bevel1 = new QFrame(this);
    Bevel1->setObjectName(QStringLiteral("Bevel1"));
    Bevel1->setFrameShape(QFrame::Box);
    Bevel1->setFrameShadow(QFrame::Sunken);
    Label1 = new QLabel(QStringLiteral("&Bredde"), Bevel1);
    Edit1 = new QLineEdit(Bevel1);
    Label2 = new QLabel(QStringLiteral("Cm"), Bevel1);
    Label3 = new QLabel(QStringLiteral("&Højde"), Bevel1);
    Edit2 = new QLineEdit(Bevel1);
    Label4 = new QLabel(QStringLiteral("Cm"), Bevel1);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label2->setObjectName(QStringLiteral("Label2"));
    Label3->setObjectName(QStringLiteral("Label3"));
    Label4->setObjectName(QStringLiteral("Label4"));
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit2->setObjectName(QStringLiteral("Edit2"));
    Label1->setBuddy(Edit1);
    Label3->setBuddy(Edit2);
    auto* grid = new QGridLayout(Bevel1);
    grid->addWidget(Label1, 0, 0);
    grid->addWidget(Edit1, 0, 1);
    grid->addWidget(Label2, 0, 2);
    grid->addWidget(Label3, 1, 0);
    grid->addWidget(Edit2, 1, 1);
    grid->addWidget(Label4, 1, 2);

    OKBtn = new QPushButton(QStringLiteral("OK"), this);
    CancelBtn = new QPushButton(QStringLiteral("Cancel"), this);
    OKBtn->setObjectName(QStringLiteral("OKBtn"));
    CancelBtn->setObjectName(QStringLiteral("CancelBtn"));
    OKBtn->setDefault(true);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(OKBtn);
    buttons->addWidget(CancelBtn);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Bevel1);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(OKBtn, &QPushButton::clicked, this, &TOKBottomDlg::OKBtnClick);
    connect(CancelBtn, &QPushButton::clicked, this, &TOKBottomDlg::CancelBtnClick);
}

bool TOKBottomDlg::ParseSize(const QString& text, double& value)
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

bool TOKBottomDlg::Execute(double& widthCm, double& heightCm)
{
    Edit1->setText(Number(widthCm));
    Edit2->setText(Number(heightCm));
    if (exec() != QDialog::Accepted)
        return false;
    double w = 0, h = 0;
    if (!ParseSize(Edit1->text(), w) || !ParseSize(Edit2->text(), h))
        return false;
    widthCm = w;
    heightCm = h;
    return true;
}

void TOKBottomDlg::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    closeAction = Hide;
    Edit1->setFocus();
    Edit1->selectAll();
}

void TOKBottomDlg::OKBtnClick()
{
    closeAction = Hide;
    double v = 0;
    // A size that is not a number above 0 keeps the dialog open with the focus on it.
    for (QLineEdit* edit : {Edit1, Edit2}) {
        if (!ParseSize(edit->text(), v)) {
            QApplication::beep();
            edit->setFocus();
            edit->selectAll();
            closeAction = LeaveOpen;
        }
    }
    if (closeAction == Hide)
        accept();
}

void TOKBottomDlg::CancelBtnClick()
{
    closeAction = Hide;
    reject();
}

void TOKBottomDlg::done(int result)
{
    if (result == QDialog::Rejected)
        closeAction = Hide;
    if (closeAction == LeaveOpen)
        return;
    QDialog::done(result);
}

void TOKBottomDlg::closeEvent(QCloseEvent* event)
{
    if (closeAction == LeaveOpen) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}
