// Runs that refresh their document's result pages: replacement, failed refreshes, ownership, and the tabs.
#include "MainWindowFixture.h"

#include "workspace/TablePage.h"

#include <QAction>
#include <QPointer>
#include <QTabBar>
#include <QTabWidget>

namespace {

// A script whose output sections are given by letters: G a graph of f, T a table of f.
QStringList Script(const QString& sections)
{
    QStringList lines{"Funktioner", "  f = t*t"};
    for (QChar c : sections)
        lines << (c == 'G' ? QStringList{"GrafVariable", "  t, f, l1"} : QStringList{"TabelVariable", "  t, f"});
    return lines;
}

tavlix::SettingsTexts FewPoints()
{
    tavlix::SettingsTexts s = tavlix::defaultSettings();
    s[10] = "4";
    return s;
}

// The kinds and captions of the result pages, in tab order: "G:test.tvx-1 T:test.tvx-2".
QString ResultTabs(MainWindow& window)
{
    QStringList tabs;
    for (int i = 0; i < window.pageCount(); ++i)
        if (Page* p = window.page(i); p->kind() != PageKind::Script)
            tabs << QString(p->kind() == PageKind::Graph ? "G:" : "T:") + p->caption();
    return tabs.join(' ');
}

}  // namespace

class TestRefresh : public QObject {
    Q_OBJECT
private slots:
    void runsReplaceThePreviousPages_data()
    {
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("second");
        QTest::addColumn<bool>("keep");
        QTest::addColumn<QString>("tabs");
        QTest::newRow("same pages") << "GT"
                                    << "GT" << false << "G:test.tvx-1 T:test.tvx-2";
        QTest::newRow("one fewer") << "GT"
                                   << "G" << false << "G:test.tvx-1";
        QTest::newRow("one more") << "G"
                                  << "GT" << false << "G:test.tvx-1 T:test.tvx-3";
        QTest::newRow("another kind") << "GT"
                                      << "TT" << false << "T:test.tvx-3 T:test.tvx-2";
        QTest::newRow("none") << "GT"
                              << "" << false << "";
        QTest::newRow("kept") << "G"
                              << "G" << true << "G:test.tvx-1 G:test.tvx-2";
    }

    void runsReplaceThePreviousPages()
    {
        QFETCH(QString, first);
        QFETCH(QString, second);
        QFETCH(bool, keep);
        QFETCH(QString, tabs);
        MainWindowFixture f;
        f.window->action(Command::KeepResults)->setChecked(keep);
        tavlix::SettingsTexts s = FewPoints();
        ScriptPage* script = f.script(Script(first), &s);
        QVERIFY(f.run());
        QPointer<Page> firstPage = f.window->page(1);
        script->setLines(Script(second));
        QVERIFY(f.run());
        QCOMPARE(ResultTabs(*f.window), tabs);
        // A page made again is the same page, so what the user did to it stays.
        QCOMPARE(!firstPage.isNull() && f.window->page(1) == firstPage, !second.isEmpty() && first[0] == second[0]);
        if (second.isEmpty())
            QCOMPARE(f.window->status(StatusField::Message),
                     QString("Scriptet har ingen GrafVariable eller TabelVariable, så der er intet at vise"));
    }

    // A refresh that fails leaves the previous pages as they were, greyed, until a run succeeds.
    void aFailedRefreshKeepsThePagesOutOfDate()
    {
        MainWindowFixture f;
        tavlix::SettingsTexts s = FewPoints();
        ScriptPage* script = f.script(Script("TG"), &s);
        QVERIFY(f.run());
        auto* table = qobject_cast<TablePage*>(f.window->page(1));
        QVERIFY(table);
        const QString cell = table->cellText(1, 2);
        QStringList broken = Script("TG");
        broken[1] = "  f = t*";
        script->setLines(broken);
        QVERIFY(f.run());
        QCOMPARE(f.window->pageCount(), 3);
        QCOMPARE(table->cellText(1, 2), cell);
        QCOMPARE(f.window->activePage(), static_cast<Page*>(script));
        QVERIFY(!f.window->status(StatusField::Message).isEmpty());
        QTabBar* bar = f.window->tabs()->tabBar();
        for (int i : {1, 2}) {
            QVERIFY(f.window->page(i)->isOutOfDate());
            QVERIFY(bar->tabToolTip(i).contains("forældet"));
            QVERIFY(bar->tabTextColor(i).isValid());
        }
        script->setLines(Script("TG"));
        QVERIFY(f.run());
        QCOMPARE(f.window->pageCount(), 3);
        QVERIFY(!table->isOutOfDate() && !f.window->page(2)->isOutOfDate());
        QVERIFY(!bar->tabTextColor(1).isValid());
    }

    // Result pages belong to their document: F9 and F8 act on it, and closing it closes them.
    void resultPagesBelongToTheirDocument()
    {
        MainWindowFixture f;
        tavlix::SettingsTexts s = FewPoints();
        ScriptPage* other = f.script(Script("T"), &s);
        QVERIFY(f.run());
        ScriptPage* script = f.script(Script("G"), &s);
        QVERIFY(f.run());
        Page* graph = f.window->activePage();
        QCOMPARE(graph->kind(), PageKind::Graph);
        QCOMPARE(f.window->documentOf(graph), script);
        QVERIFY(f.window->isCommandEnabled(Command::Run));
        QVERIFY(f.window->isCommandEnabled(Command::Coordinates));
        QCOMPARE(f.window->tabs()->tabBar()->tabToolTip(f.window->tabs()->indexOf(graph)), "Resultat af test.tvx");
        QVERIFY(!f.window->tabs()->tabBar()->tabIcon(f.window->tabs()->indexOf(graph)).isNull());
        QTest::keyClick(f.window.get(), Qt::Key_F9);
        QVERIFY(f.waitIdle());
        QCOMPARE(f.window->pageCount(), 4);
        QCOMPARE(f.window->activePage(), graph);
        f.window->activatePage(script);
        f.answers.push_back(QMessageBox::No);
        f.window->documents().closePage();
        QCOMPARE(f.window->pageCount(), 2);
        QCOMPARE(f.window->documentOf(f.window->page(1)), other);
        QVERIFY(f.questions.isEmpty());
    }

    // The tabs switch whatever has the focus; a modified document shows "*" on its tab and in the title.
    void tabsAndTitle()
    {
        MainWindowFixture f;
        tavlix::SettingsTexts s = FewPoints();
        ScriptPage* script = f.script(Script("T"), &s);
        QVERIFY(f.run());
        f.window->activatePage(script);
        QCOMPARE(f.window->windowTitle(), "test.tvx[*] – Tavlix");
        QVERIFY(!f.window->isWindowModified());
        QTest::keyClicks(script->editor(), "x");
        QCOMPARE(f.window->tabs()->tabText(0), "test.tvx*");
        QVERIFY(f.window->isWindowModified());
        QTest::keyClick(script->editor(), Qt::Key_Tab, Qt::ControlModifier);
        QCOMPARE(f.window->activePage(), f.window->page(1));
        QTest::keyClick(f.window->activePage(), Qt::Key_PageUp, Qt::ControlModifier);
        QCOMPARE(f.window->activePage(), static_cast<Page*>(script));
        QTest::keyClick(script->editor(), Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(f.window->activePage(), f.window->page(1));
        QCOMPARE(f.window->windowTitle(), "test.tvx[*] – Tavlix");
        QVERIFY(f.window->isWindowModified());
    }
};

QTEST_MAIN(TestRefresh)
#include "RefreshTest.moc"
