// The coordinates dialog: checks on leaving a field, the t range following x, minimum and maximum, OK and Cancel.
#include "workspace/CoordinatesDialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include <functional>

using tavlix::Setting;

namespace {

tavlix::SettingsTexts Defaults()
{
    return {"-5", "10", "1", "0", "-5", "5", "1", "0", "-5", "10", "200", "0", "0", "0.00005", "0", "0"};
}

}  // namespace

class CoordinatesDialogTest : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        dlg = new CoordinatesDialog;
        dlg->load(Defaults());
        dlg->show();
        QApplication::setActiveWindow(dlg);
        QVERIFY(QTest::qWaitForWindowActive(dlg));
        QCOMPARE(QApplication::focusWidget(), Ok());
    }

    void cleanup()
    {
        delete dlg;
        dlg = nullptr;
    }

    void opensWithDefaults()
    {
        QVERIFY(TFollowsX()->isChecked());
        QVERIFY(!dlg->field(Setting::Tmin)->isEnabled());
        QVERIFY(!dlg->field(Setting::Tmax)->isEnabled());
        QCOMPARE(Message()->text(), QString());
        QCOMPARE(dlg->windowTitle(), QStringLiteral("Indtast koordinater"));
        QCOMPARE(dlg->texts(), Defaults());
        // Settings 0 and 8 differing leaves t free.
        tavlix::SettingsTexts texts = Defaults();
        texts[8] = "0";
        dlg->load(texts);
        QVERIFY(!TFollowsX()->isChecked());
        QVERIFY(dlg->field(Setting::Tmin)->isEnabled());
    }

    void layoutAndTabOrder()
    {
        const QStringList expected = {"okButton", "cancelButton", "Xmin",    "Xmax",        "XEnhed",
                                      "YCross",   "XGitter",      "YMin",    "YMax",        "YEnhed",
                                      "XCross",   "YGitter",      "TMin",    "TMax",        "TAntal",
                                      "TDelta",   "Absolut",      "Relativ", "tFollowsXBox"};
        TFollowsX()->setChecked(false);
        QStringList order;
        QWidget* w = Ok();
        for (int i = 0; i < expected.size(); ++i) {
            order << w->objectName();
            w = w->nextInFocusChain();
            while (w->focusPolicy() == Qt::NoFocus)
                w = w->nextInFocusChain();
        }
        QCOMPARE(order, expected);
        // The x column left of the y column, t above the tolerances.
        QVERIFY(dlg->field(Setting::Xmin)->mapTo(dlg, QPoint()).x() <
                dlg->field(Setting::Ymin)->mapTo(dlg, QPoint()).x());
        QVERIFY(dlg->field(Setting::Tmin)->mapTo(dlg, QPoint()).x() <
                dlg->field(Setting::AbsTolerance)->mapTo(dlg, QPoint()).x());
        QVERIFY(dlg->field(Setting::Xmin)->mapTo(dlg, QPoint()).y() <
                dlg->field(Setting::Tmin)->mapTo(dlg, QPoint()).y());
    }

    void leavingShowsTheValue()
    {
        Leave(dlg->field(Setting::Xmax), QStringLiteral("2*pi"));
        QCOMPARE(Message()->text(), QStringLiteral("6,2831853071796"));
        QCOMPARE(dlg->field(Setting::Xmax)->text(), QStringLiteral("2*pi"));
        // t follows x while coupled.
        QCOMPARE(dlg->field(Setting::Tmax)->text(), QStringLiteral("2*pi"));
        QVERIFY(!dlg->keepsOpen());
    }

    void fieldChecks_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("message");
        QTest::newRow("TAntal 2.5") << "TAntal"
                                    << "2.5"
                                    << "Fejl i udtryk";
        QTest::newRow("TAntal 0") << "TAntal"
                                  << "0"
                                  << "Fejl i udtryk";
        QTest::newRow("TAntal -3") << "TAntal"
                                   << "-3"
                                   << "Fejl i udtryk";
        QTest::newRow("TAntal 1e2") << "TAntal"
                                    << "1e2"
                                    << "100";
        QTest::newRow("TDelta -1") << "TDelta"
                                   << "-1"
                                   << "Fejl i udtryk";
        QTest::newRow("TDelta 0") << "TDelta"
                                  << "0"
                                  << "0";
        QTest::newRow("any expression for a step") << "XEnhed"
                                                   << "1/4"
                                                   << "0,25";
        QTest::newRow("not an expression") << "YCross"
                                           << "2+"
                                           << "Fejl i udtryk";
        QTest::newRow("a negative step is accepted") << "YGitter"
                                                     << "-1"
                                                     << "-1";
    }

    void fieldChecks()
    {
        QFETCH(QString, field);
        QFETCH(QString, text);
        QFETCH(QString, message);
        auto* edit = dlg->findChild<QLineEdit*>(field);
        QVERIFY(edit);
        Leave(edit, text);
        QCOMPARE(Message()->text(), message);
        const bool failed = message == QStringLiteral("Fejl i udtryk");
        QCOMPARE(dlg->keepsOpen(), failed);
        QCOMPARE(QApplication::focusWidget() == edit, failed);
    }

    void caretAtTheError()
    {
        Leave(dlg->field(Setting::Ymax), QStringLiteral("2+*3"));
        QCOMPARE(QApplication::focusWidget(), dlg->field(Setting::Ymax));
        QCOMPARE(dlg->field(Setting::Ymax)->cursorPosition(), 2);
        QVERIFY(!dlg->field(Setting::Ymax)->hasSelectedText());
        // A failed whole number puts the caret at the start.
        Leave(dlg->field(Setting::Ymax), QStringLiteral("3"));
        Leave(dlg->field(Setting::TCount), QStringLiteral("12.5"));
        QCOMPARE(dlg->field(Setting::TCount)->cursorPosition(), 0);
    }

    void leavingForCancelChecksNothing()
    {
        dlg->field(Setting::Ymax)->setFocus(Qt::TabFocusReason);
        dlg->field(Setting::Ymax)->setText(QStringLiteral("2+"));
        Cancel()->setFocus(Qt::MouseFocusReason);
        QCOMPARE(Message()->text(), QString());
        QVERIFY(!dlg->keepsOpen());
    }

    void minimumBelowMaximum_data()
    {
        QTest::addColumn<QString>("minimum");
        QTest::addColumn<QString>("maximum");
        QTest::addColumn<bool>("passes");
        QTest::newRow("equal") << "3"
                               << "3" << false;
        QTest::newRow("just below") << "3"
                                    << "3.0001" << true;
        QTest::newRow("above") << "4"
                               << "3" << false;
    }

    void minimumBelowMaximum()
    {
        QFETCH(QString, minimum);
        QFETCH(QString, maximum);
        QFETCH(bool, passes);
        QSignalSpy accepted(dlg, &QDialog::accepted);
        dlg->field(Setting::Xmin)->setText(minimum);
        dlg->field(Setting::Xmax)->setText(maximum);
        TFollowsX()->setChecked(false);
        TFollowsX()->setChecked(true);
        Ok()->setFocus();
        Ok()->click();
        QCOMPARE(accepted.count(), passes ? 1 : 0);
        if (!passes) {
            QCOMPARE(Message()->text(), QStringLiteral("Minimum skal være mindre end maksimum"));
            QCOMPARE(dlg->field(Setting::Xmin)->selectedText(), minimum);
            QCOMPARE(QApplication::focusWidget(), dlg->field(Setting::Xmin));
            QVERIFY(dlg->isVisible());
        }
    }

    void enterChecksTheFieldAndCouplesT()
    {
        QSignalSpy accepted(dlg, &QDialog::accepted);
        dlg->field(Setting::Xmin)->setFocus(Qt::TabFocusReason);
        dlg->field(Setting::Xmin)->setText(QStringLiteral("0"));
        QTest::keyClick(dlg->field(Setting::Xmin), Qt::Key_Return);
        QCOMPARE(accepted.count(), 1);
        QCOMPARE(dlg->texts()[0], std::string("0"));
        QCOMPARE(dlg->texts()[8], std::string("0"));
        // Enter on a bad field keeps the dialog open.
        dlg->show();
        QApplication::setActiveWindow(dlg);
        QVERIFY(QTest::qWaitForWindowActive(dlg));
        dlg->field(Setting::Ymin)->setFocus(Qt::TabFocusReason);
        dlg->field(Setting::Ymin)->setText(QStringLiteral("(1"));
        QTest::keyClick(dlg->field(Setting::Ymin), Qt::Key_Return);
        QCOMPARE(accepted.count(), 1);
        QCOMPARE(Message()->text(), QStringLiteral("Fejl i udtryk"));
    }

    void uncouplingKeepsTexts()
    {
        dlg->field(Setting::Xmin)->setText(QStringLiteral("-1"));
        TFollowsX()->setChecked(false);
        TFollowsX()->setChecked(true);
        QCOMPARE(dlg->field(Setting::Tmin)->text(), QStringLiteral("-1"));
        TFollowsX()->setChecked(false);
        QVERIFY(dlg->field(Setting::Tmin)->isEnabled());
        QVERIFY(dlg->field(Setting::Tmax)->isEnabled());
        QCOMPARE(dlg->field(Setting::Tmin)->text(), QStringLiteral("-1"));
        QCOMPARE(dlg->field(Setting::Tmax)->text(), QStringLiteral("10"));
    }

    void cancelKeepsTheTexts()
    {
        dlg->hide();
        tavlix::SettingsTexts texts = Defaults();
        WhenActive([this] {
            Leave(dlg->field(Setting::Ymax), QStringLiteral("2+"));
            QVERIFY(dlg->keepsOpen());
            QTest::mouseClick(Cancel(), Qt::LeftButton);
        });
        QVERIFY(!dlg->edit(texts));
        QCOMPARE(texts, Defaults());
    }

    void okStoresEveryText()
    {
        dlg->hide();
        tavlix::SettingsTexts texts = Defaults();
        texts[8] = "-1";  // t not coupled
        WhenActive([this] {
            dlg->field(Setting::XGridStep)->setText(QStringLiteral("0.5"));
            dlg->field(Setting::Tmax)->setText(QStringLiteral("pi"));
            dlg->field(Setting::YAxisAtX)->setText(QStringLiteral("Æ"));  // not checked unless left
            QTest::mouseClick(Ok(), Qt::LeftButton);
        });
        QVERIFY(dlg->edit(texts));
        QCOMPARE(texts[14], std::string("0.5"));
        QCOMPARE(texts[9], std::string("pi"));
        QCOMPARE(texts[3], std::string("\xC6"));
        QCOMPARE(texts[8], std::string("-1"));
    }

    void closeRefusedAfterAFailure()
    {
        Leave(dlg->field(Setting::Ymax), QStringLiteral("2+"));
        QVERIFY(!dlg->close());
        QVERIFY(dlg->isVisible());
        Cancel()->click();
        QVERIFY(!dlg->isVisible());
    }

private:
    QPushButton* Ok() const { return dlg->findChild<QPushButton*>(QStringLiteral("okButton")); }
    QPushButton* Cancel() const { return dlg->findChild<QPushButton*>(QStringLiteral("cancelButton")); }
    QCheckBox* TFollowsX() const { return dlg->findChild<QCheckBox*>(QStringLiteral("tFollowsXBox")); }
    QLabel* Message() const { return dlg->findChild<QLabel*>(QStringLiteral("messageLabel")); }

    // Runs f once the modal dialog is active, and presses Cancel should f return early.
    void WhenActive(const std::function<void()>& f)
    {
        QTimer::singleShot(0, dlg, [this, f] {
            QApplication::setActiveWindow(dlg);
            QVERIFY(QTest::qWaitForWindowActive(dlg));
            f();
            if (dlg->isVisible())
                Cancel()->click();
        });
    }

    // Types text into a field and leaves it with Tab.
    void Leave(QLineEdit* field, const QString& text)
    {
        field->setFocus(Qt::TabFocusReason);
        field->setText(text);
        QTest::keyClick(field, Qt::Key_Tab);
    }

    CoordinatesDialog* dlg = nullptr;
};

QTEST_MAIN(CoordinatesDialogTest)
#include "CoordinatesDialogTest.moc"
