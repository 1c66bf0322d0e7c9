// The drawing-size dialog: centimetres with two decimals and a decimal comma, refusals with the focus on the field, OK and Cancel.
#include "workspace/PrintSizeDialog.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include <functional>

namespace {

QLineEdit* Edit(PrintSizeDialog& d, const char* name)
{
    return d.findChild<QLineEdit*>(QString::fromLatin1(name));
}

QPushButton* Button(PrintSizeDialog& d, const char* name)
{
    return d.findChild<QPushButton*>(QString::fromLatin1(name));
}

}  // namespace

class PrintSizeDialogTest : public QObject {
    Q_OBJECT
private slots:
    void parse_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<double>("value");
        QTest::newRow("whole") << "12" << true << 12.0;
        QTest::newRow("decimal comma") << "15,875" << true << 15.875;
        QTest::newRow("decimal point") << "10.5" << true << 10.5;
        QTest::newRow("spaces around") << " 8 " << true << 8.0;
        QTest::newRow("not a number") << "abc" << false << 0.0;
        QTest::newRow("empty") << "" << false << 0.0;
        QTest::newRow("zero is refused") << "0" << false << 0.0;
        QTest::newRow("negative is refused") << "-3" << false << 0.0;
        QTest::newRow("overflow is refused") << "1e400" << false << 0.0;
    }

    void parse()
    {
        QFETCH(QString, text);
        QFETCH(bool, ok);
        QFETCH(double, value);
        double v = 0;
        QCOMPARE(PrintSizeDialog::parseSize(text, v), ok);
        if (ok)
            QCOMPARE(v, value);
    }

    void showsTheSizes()
    {
        double w = 15.875, h = 10.583333333;
        QString shown1, shown2;
        QString focus;
        const bool ok = Run(w, h, [&](PrintSizeDialog& d) {
            shown1 = Edit(d, "widthEdit")->text();
            shown2 = Edit(d, "heightEdit")->text();
            focus = QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : QString();
            Edit(d, "widthEdit")->setText(QStringLiteral("12"));
            Edit(d, "heightEdit")->setText(QStringLiteral("8,5"));
            Button(d, "okButton")->click();
        });
        QCOMPARE(shown1, QStringLiteral("15,88"));
        QCOMPARE(shown2, QStringLiteral("10,58"));
        QCOMPARE(focus, QStringLiteral("widthEdit"));
        QVERIFY(ok);
        QCOMPARE(w, 12.0);
        QCOMPARE(h, 8.5);
    }

    void refusals_data()
    {
        QTest::addColumn<QString>("width");
        QTest::addColumn<QString>("height");
        QTest::addColumn<QString>("focus");
        QTest::newRow("height not a number") << "12"
                                             << "x"
                                             << "heightEdit";
        QTest::newRow("width zero") << "0"
                                    << "8"
                                    << "widthEdit";
        QTest::newRow("both bad: the focus ends on the height") << "-1"
                                                                << "y"
                                                                << "heightEdit";
    }

    void refusals()
    {
        QFETCH(QString, width);
        QFETCH(QString, height);
        QFETCH(QString, focus);
        double w = 5, h = 6;
        bool stayed = false;
        QString focused;
        const bool ok = Run(w, h, [&](PrintSizeDialog& d) {
            Edit(d, "widthEdit")->setText(width);
            Edit(d, "heightEdit")->setText(height);
            Button(d, "okButton")->click();
            stayed = d.isVisible() && d.keepsOpen();
            focused = QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : QString();
            // The window's close button is refused too, until Cancel.
            d.close();
            stayed = stayed && d.isVisible();
            Button(d, "cancelButton")->click();
        });
        QVERIFY(stayed);
        QCOMPARE(focused, focus);
        QVERIFY(!ok);
        QCOMPARE(w, 5.0);
        QCOMPARE(h, 6.0);
    }

    void cancelChangesNothing()
    {
        double w = 5, h = 6;
        const bool ok = Run(w, h, [](PrintSizeDialog& d) {
            Edit(d, "widthEdit")->setText(QStringLiteral("20"));
            QTest::keyClick(&d, Qt::Key_Escape);
        });
        QVERIFY(!ok);
        QCOMPARE(w, 5.0);
    }

private:
    // Executes the dialog and acts on it once it shows.
    bool Run(double& w, double& h, const std::function<void(PrintSizeDialog&)>& act)
    {
        PrintSizeDialog dialog;
        QTimer::singleShot(0, &dialog, [&] {
            QApplication::setActiveWindow(&dialog);
            if (!QTest::qWaitForWindowActive(&dialog))
                qWarning("the dialog did not become active");
            act(dialog);
        });
        return dialog.edit(w, h);
    }
};

QTEST_MAIN(PrintSizeDialogTest)
#include "PrintSizeDialogTest.moc"
