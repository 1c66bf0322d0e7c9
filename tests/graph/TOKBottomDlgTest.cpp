// The drawing-size dialog: numbers with a decimal comma, refusals with the focus on the field, OK and Cancel.
#include "graph/TOKBottomDlg.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include <functional>

class TOKBottomDlgTest : public QObject {
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
        QCOMPARE(TOKBottomDlg::ParseSize(text, v), ok);
        if (ok)
            QCOMPARE(v, value);
    }

    void showsTheSizes()
    {
        double w = 15.875, h = 10.583333333;
        QString shown1, shown2;
        QString focus;
        const bool ok = Run(w, h, [&](TOKBottomDlg& d) {
            shown1 = d.Edit1->text();
            shown2 = d.Edit2->text();
            focus = QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : QString();
            d.Edit1->setText(QStringLiteral("12"));
            d.Edit2->setText(QStringLiteral("8,5"));
            d.OKBtn->click();
        });
        QCOMPARE(shown1, QStringLiteral("15,875"));
        QCOMPARE(shown2, QStringLiteral("10,58333"));
        QCOMPARE(focus, QStringLiteral("Edit1"));
        QVERIFY(ok);
        QCOMPARE(w, 12.0);
        QCOMPARE(h, 8.5);
    }

    void refusals_data()
    {
        QTest::addColumn<QString>("width");
        QTest::addColumn<QString>("height");
        QTest::addColumn<QString>("focus");
        QTest::newRow("height not a number") << "12" << "x" << "Edit2";
        QTest::newRow("width zero") << "0" << "8" << "Edit1";
        QTest::newRow("both bad: the focus ends on the height") << "-1" << "y" << "Edit2";
    }

    void refusals()
    {
        QFETCH(QString, width);
        QFETCH(QString, height);
        QFETCH(QString, focus);
        double w = 5, h = 6;
        bool stayed = false;
        QString focused;
        const bool ok = Run(w, h, [&](TOKBottomDlg& d) {
            d.Edit1->setText(width);
            d.Edit2->setText(height);
            d.OKBtn->click();
            stayed = d.isVisible() && d.closeAction == TOKBottomDlg::LeaveOpen;
            focused = QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : QString();
            // The window's close button is refused too, until Cancel.
            d.close();
            stayed = stayed && d.isVisible();
            d.CancelBtn->click();
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
        const bool ok = Run(w, h, [](TOKBottomDlg& d) {
            d.Edit1->setText(QStringLiteral("20"));
            QTest::keyClick(&d, Qt::Key_Escape);
        });
        QVERIFY(!ok);
        QCOMPARE(w, 5.0);
    }

private:
    // Executes the dialog and acts on it once it shows.
    bool Run(double& w, double& h, const std::function<void(TOKBottomDlg&)>& act)
    {
        TOKBottomDlg dialog;
        QTimer::singleShot(0, &dialog, [&] {
            QApplication::setActiveWindow(&dialog);
            if (!QTest::qWaitForWindowActive(&dialog))
                qWarning("the dialog did not become active");
            act(dialog);
        });
        return dialog.Execute(w, h);
    }
};

QTEST_MAIN(TOKBottomDlgTest)
#include "TOKBottomDlgTest.moc"
