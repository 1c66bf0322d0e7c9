// The coordinates dialog: checks on leaving a field, the t range following x, minimum and maximum, OK and Cancel.
#include "graph/TKoordinater.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include <functional>

namespace {

tavlix::SettingsTexts Defaults()
{
    return {"-5", "10", "1", "0", "-5", "5", "1", "0", "-5", "10", "200", "0", "0", "0.00005", "0", "0"};
}

}  // namespace

class TKoordinaterTest : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        dlg = new TKoordinater;
        dlg->Load(Defaults());
        dlg->show();
        QApplication::setActiveWindow(dlg);
        QVERIFY(QTest::qWaitForWindowActive(dlg));
        QCOMPARE(QApplication::focusWidget(), dlg->OKBtn);
    }

    void cleanup()
    {
        delete dlg;
        dlg = nullptr;
    }

    void opensWithDefaults()
    {
        QVERIFY(dlg->TsomX->isChecked());
        QVERIFY(!dlg->TMin->isEnabled());
        QVERIFY(!dlg->TMax->isEnabled());
        QCOMPARE(dlg->Error->text(), QString());
        QCOMPARE(dlg->windowTitle(), QStringLiteral("Indtast koordinater"));
        QCOMPARE(dlg->Texts(), Defaults());
        // Settings 0 and 8 differing leaves t free.
        tavlix::SettingsTexts texts = Defaults();
        texts[8] = "0";
        dlg->Load(texts);
        QVERIFY(!dlg->TsomX->isChecked());
        QVERIFY(dlg->TMin->isEnabled());
    }

    void layoutAndTabOrder()
    {
        const QStringList expected = {"OKBtn", "CancelBtn", "Xmin", "Xmax", "XEnhed", "YCross", "XGitter",
                                      "YMin", "YMax", "YEnhed", "XCross", "YGitter", "TMin", "TMax",
                                      "TAntal", "TDelta", "Absolut", "Relativ", "TsomX"};
        dlg->TsomX->setChecked(false);
        QStringList order;
        QWidget* w = dlg->OKBtn;
        for (int i = 0; i < expected.size(); ++i) {
            order << w->objectName();
            w = w->nextInFocusChain();
            while (w->focusPolicy() == Qt::NoFocus)
                w = w->nextInFocusChain();
        }
        QCOMPARE(order, expected);
        // The x column left of the y column, t above the tolerances.
        QVERIFY(dlg->Xmin->mapTo(dlg, QPoint()).x() < dlg->YMin->mapTo(dlg, QPoint()).x());
        QVERIFY(dlg->TMin->mapTo(dlg, QPoint()).x() < dlg->Absolut->mapTo(dlg, QPoint()).x());
        QVERIFY(dlg->Xmin->mapTo(dlg, QPoint()).y() < dlg->TMin->mapTo(dlg, QPoint()).y());
    }

    void leavingShowsTheValue()
    {
        Leave(dlg->Xmax, QStringLiteral("2*pi"));
        QCOMPARE(dlg->Error->text(), QStringLiteral("6,2831853071796"));
        QCOMPARE(dlg->Xmax->text(), QStringLiteral("2*pi"));
        // t follows x while coupled.
        QCOMPARE(dlg->TMax->text(), QStringLiteral("2*pi"));
        QCOMPARE(dlg->closeAction, TKoordinater::Hide);
    }

    void fieldChecks_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("message");
        QTest::newRow("TAntal 2.5") << "TAntal" << "2.5" << "Fejl i udtryk";
        QTest::newRow("TAntal 0") << "TAntal" << "0" << "Fejl i udtryk";
        QTest::newRow("TAntal -3") << "TAntal" << "-3" << "Fejl i udtryk";
        QTest::newRow("TAntal 1e2") << "TAntal" << "1e2" << "100";
        QTest::newRow("TDelta -1") << "TDelta" << "-1" << "Fejl i udtryk";
        QTest::newRow("TDelta 0") << "TDelta" << "0" << "0";
        QTest::newRow("any expression for a step") << "XEnhed" << "1/4" << "0,25";
        QTest::newRow("not an expression") << "YCross" << "2+" << "Fejl i udtryk";
        QTest::newRow("a negative step is accepted") << "YGitter" << "-1" << "-1";
    }

    void fieldChecks()
    {
        QFETCH(QString, field);
        QFETCH(QString, text);
        QFETCH(QString, message);
        auto* edit = dlg->findChild<QLineEdit*>(field);
        QVERIFY(edit);
        Leave(edit, text);
        QCOMPARE(dlg->Error->text(), message);
        const bool failed = message == QStringLiteral("Fejl i udtryk");
        QCOMPARE(dlg->closeAction == TKoordinater::LeaveOpen, failed);
        QCOMPARE(QApplication::focusWidget() == edit, failed);
    }

    void caretAtTheError()
    {
        Leave(dlg->YMax, QStringLiteral("2+*3"));
        QCOMPARE(QApplication::focusWidget(), dlg->YMax);
        QCOMPARE(dlg->YMax->cursorPosition(), 2);
        QVERIFY(!dlg->YMax->hasSelectedText());
        // A failed whole number puts the caret at the start.
        Leave(dlg->YMax, QStringLiteral("3"));
        Leave(dlg->TAntal, QStringLiteral("12.5"));
        QCOMPARE(dlg->TAntal->cursorPosition(), 0);
    }

    void leavingForCancelChecksNothing()
    {
        dlg->YMax->setFocus(Qt::TabFocusReason);
        dlg->YMax->setText(QStringLiteral("2+"));
        dlg->CancelBtn->setFocus(Qt::MouseFocusReason);
        QCOMPARE(dlg->Error->text(), QString());
        QCOMPARE(dlg->closeAction, TKoordinater::Hide);
    }

    void minimumBelowMaximum_data()
    {
        QTest::addColumn<QString>("minimum");
        QTest::addColumn<QString>("maximum");
        QTest::addColumn<bool>("passes");
        QTest::newRow("equal") << "3" << "3" << false;
        QTest::newRow("just below") << "3" << "3.0001" << true;
        QTest::newRow("above") << "4" << "3" << false;
    }

    void minimumBelowMaximum()
    {
        QFETCH(QString, minimum);
        QFETCH(QString, maximum);
        QFETCH(bool, passes);
        QSignalSpy accepted(dlg, &QDialog::accepted);
        dlg->Xmin->setText(minimum);
        dlg->Xmax->setText(maximum);
        dlg->TsomXClick();
        dlg->OKBtn->setFocus();
        dlg->OKBtnClick();
        QCOMPARE(accepted.count(), passes ? 1 : 0);
        if (!passes) {
            QCOMPARE(dlg->Error->text(), QStringLiteral("Minimum skal være mindre end maksimum"));
            QCOMPARE(dlg->Xmin->selectedText(), minimum);
            QCOMPARE(QApplication::focusWidget(), dlg->Xmin);
            QVERIFY(dlg->isVisible());
        }
    }

    void enterChecksTheFieldAndCouplesT()
    {
        QSignalSpy accepted(dlg, &QDialog::accepted);
        dlg->Xmin->setFocus(Qt::TabFocusReason);
        dlg->Xmin->setText(QStringLiteral("0"));
        QTest::keyClick(dlg->Xmin, Qt::Key_Return);
        QCOMPARE(accepted.count(), 1);
        QCOMPARE(dlg->Texts()[0], std::string("0"));
        QCOMPARE(dlg->Texts()[8], std::string("0"));
        // Enter on a bad field keeps the dialog open.
        dlg->show();
        QApplication::setActiveWindow(dlg);
        QVERIFY(QTest::qWaitForWindowActive(dlg));
        dlg->YMin->setFocus(Qt::TabFocusReason);
        dlg->YMin->setText(QStringLiteral("(1"));
        QTest::keyClick(dlg->YMin, Qt::Key_Return);
        QCOMPARE(accepted.count(), 1);
        QCOMPARE(dlg->Error->text(), QStringLiteral("Fejl i udtryk"));
    }

    void uncouplingKeepsTexts()
    {
        dlg->Xmin->setText(QStringLiteral("-1"));
        dlg->TsomX->setChecked(false);
        dlg->TsomX->setChecked(true);
        QCOMPARE(dlg->TMin->text(), QStringLiteral("-1"));
        dlg->TsomX->setChecked(false);
        QVERIFY(dlg->TMin->isEnabled());
        QVERIFY(dlg->TMax->isEnabled());
        QCOMPARE(dlg->TMin->text(), QStringLiteral("-1"));
        QCOMPARE(dlg->TMax->text(), QStringLiteral("10"));
    }

    void cancelKeepsTheTexts()
    {
        dlg->hide();
        tavlix::SettingsTexts texts = Defaults();
        WhenActive([this] {
            Leave(dlg->YMax, QStringLiteral("2+"));
            QCOMPARE(dlg->closeAction, TKoordinater::LeaveOpen);
            QTest::mouseClick(dlg->CancelBtn, Qt::LeftButton);
        });
        QVERIFY(!dlg->Execute(texts));
        QCOMPARE(texts, Defaults());
    }

    void okStoresEveryText()
    {
        dlg->hide();
        tavlix::SettingsTexts texts = Defaults();
        texts[8] = "-1";  // t not coupled
        WhenActive([this] {
            dlg->XGitter->setText(QStringLiteral("0.5"));
            dlg->TMax->setText(QStringLiteral("pi"));
            dlg->YCross->setText(QStringLiteral("Æ"));  // not checked unless left
            QTest::mouseClick(dlg->OKBtn, Qt::LeftButton);
        });
        QVERIFY(dlg->Execute(texts));
        QCOMPARE(texts[14], std::string("0.5"));
        QCOMPARE(texts[9], std::string("pi"));
        QCOMPARE(texts[3], std::string("\xC6"));
        QCOMPARE(texts[8], std::string("-1"));
    }

    void closeRefusedAfterAFailure()
    {
        Leave(dlg->YMax, QStringLiteral("2+"));
        QVERIFY(!dlg->close());
        QVERIFY(dlg->isVisible());
        dlg->CancelBtnClick();
        QVERIFY(!dlg->isVisible());
    }

private:
    // Runs f once the modal dialog is active, and presses Cancel should f return early.
    void WhenActive(const std::function<void()>& f)
    {
        QTimer::singleShot(0, dlg, [this, f] {
            QApplication::setActiveWindow(dlg);
            QVERIFY(QTest::qWaitForWindowActive(dlg));
            f();
            if (dlg->isVisible())
                dlg->CancelBtnClick();
        });
    }

    // Types text into a field and leaves it with Tab.
    void Leave(QLineEdit* field, const QString& text)
    {
        field->setFocus(Qt::TabFocusReason);
        field->setText(text);
        QTest::keyClick(field, Qt::Key_Tab);
    }

    TKoordinater* dlg = nullptr;
};

QTEST_MAIN(TKoordinaterTest)
#include "TKoordinaterTest.moc"
