// Runs beside the window: the event loop turns and the editor takes keys during a long run, Escape ends it, the
// run uses the script as it was when it started, and a close asked for during a run comes once it has ended.
#include "MainWindowFixture.h"

#include "workspace/TablePage.h"

#include <QTimer>

namespace {

tavlix::SettingsTexts LongRange()
{
    tavlix::SettingsTexts s = tavlix::defaultSettings();
    s[8] = "0";
    s[9] = "1";
    s[10] = "5000000";
    return s;
}

const QStringList LongTable = {"Funktioner", "  f = sin(t)", "TabelVariable", "  t, f"};

TablePage* RunTable(MainWindowFixture& f)
{
    for (int i = 0; i < f.window->pageCount(); ++i)
        if (auto* table = qobject_cast<TablePage*>(f.window->page(i)))
            return table;
    return nullptr;
}

}  // namespace

class TestRunController : public QObject {
    Q_OBJECT
private slots:
    void windowAnswersDuringARun()
    {
        MainWindowFixture f;
        tavlix::SettingsTexts s = LongRange();
        ScriptPage* script = f.script(LongTable, &s);
        int ticks = 0;
        QTimer timer;
        QObject::connect(&timer, &QTimer::timeout, [&ticks] { ++ticks; });
        timer.start(10);
        f.window->onRun();
        QVERIFY(f.window->running());
        // The timer ticks and the table fills while the run goes on.
        QTRY_VERIFY(ticks >= 5 && RunTable(f) && RunTable(f)->rowCount() > 100);
        QVERIFY(f.window->running());
        // The editor takes keys; the run goes on with the script it started with.
        f.window->activatePage(script);
        QTest::keyClick(script->editor(), Qt::Key_End, Qt::ControlModifier);
        QTest::keyClick(script->editor(), Qt::Key_Return);
        QTest::keyClicks(script->editor(), "  g = 1/0");
        QVERIFY(script->lines().last().endsWith("g = 1/0"));
        QVERIFY(f.window->running());
        QTest::keyClick(f.window.get(), Qt::Key_Escape);
        QVERIFY(f.waitIdle());
        QCOMPARE(f.window->status(StatusField::Message), QString("Kørslen blev afbrudt"));
        TablePage* table = RunTable(f);
        QVERIFY(table->rowCount() > 100 && table->rowCount() < 5000000);
        QCOMPARE(table->columnCount(), 2);
        QVERIFY(script->editedSinceRun());
    }

    // The window closes once the run has stopped, and the unsaved document's question comes then: answered
    // "Annuller", the window and the document stay.
    void closeDuringARunAsksAfterIt_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("closes");
        QTest::newRow("no") << int(QMessageBox::No) << true;
        QTest::newRow("cancel") << int(QMessageBox::Abort) << false;
    }
    void closeDuringARunAsksAfterIt()
    {
        QFETCH(int, answer);
        QFETCH(bool, closes);
        MainWindowFixture f;
        tavlix::SettingsTexts s = LongRange();
        ScriptPage* script = f.script(LongTable, &s);
        script->markModified();
        f.answers.push_back(static_cast<QMessageBox::StandardButton>(answer));
        f.window->onRun();
        QTRY_VERIFY(RunTable(f) && RunTable(f)->rowCount() > 100);
        QVERIFY(!f.window->close());
        QVERIFY(f.questions.isEmpty());
        QVERIFY(f.waitIdle());
        QTRY_COMPARE(f.questions.size(), 1);
        QCOMPARE(f.window->isVisible(), !closes);
        QVERIFY(script->isModified());
    }

    // Closing a page during a run stops the run; the page goes once it has, the others stay.
    void closePageDuringARun()
    {
        MainWindowFixture f;
        tavlix::SettingsTexts s = LongRange();
        f.script(LongTable, &s);
        f.window->onRun();
        QTRY_VERIFY(RunTable(f) && RunTable(f)->rowCount() > 100);
        f.window->activatePage(RunTable(f));
        f.window->documents().closePage();
        QCOMPARE(f.window->pageCount(), 2);
        QVERIFY(f.waitIdle());
        QCOMPARE(f.window->pageCount(), 1);
        QVERIFY(f.window->activeScriptPage());
    }
};

QTEST_MAIN(TestRunController)
#include "RunControllerTest.moc"
