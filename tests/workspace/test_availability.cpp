// Which commands are available with no page, a script page, a table page and a graph page, and the poll.
#include "FormFixture.h"

#include "workspace/TTabTabel.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QTabWidget>
#include <QLineEdit>
#include <QTimer>
#include <QToolButton>

namespace {

enum State { NoPage, Script, Table, Graph };

}  // namespace

class TestAvailability : public QObject {
    Q_OBJECT
private:
    void enter(FormFixture& f, State state)
    {
        switch (state) {
        case NoPage:
            break;
        case Script:
            f.script({"Konstanter", "  a = 2"});
            break;
        case Table: {
            f.script({});
            tavlix::TableSink* t = f.form->LavTabel("test.tvx-1");
            t->setColumnCount(2);
            t->setRowCount(2);
            t->show();
            break;
        }
        case Graph:
            f.script({});
            QVERIFY(f.form->LavGraf("test.tvx-1") != nullptr);
            break;
        }
    }

private slots:
    void table_data()
    {
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QList<bool>>("on");  // no page, script, table, graph
        auto row = [](const char* tag, QStringList names, QList<bool> on) {
            QTest::newRow(tag) << names << on;
        };
        row("new", {"Ny1", "SbNy"}, {true, true, true, true});
        row("open", {"bn1", "SbOpen"}, {true, true, true, true});
        row("always", {"Afslut1", "BrugMetafile1", "OmTavlix1"}, {true, true, true, true});
        row("close", {"Luk1", "SbLuk"}, {false, true, true, true});
        row("save", {"Gem1", "SbGem"}, {false, false, false, false});
        row("save as", {"GemSom1"}, {false, true, false, false});
        row("print", {"Print1", "SbPrint"}, {false, true, false, true});
        row("cut", {"Klip1", "Klip2", "SbKlip"}, {false, false, false, false});
        row("copy", {"Kopier1", "Kopier2", "SbCopy"}, {false, false, false, true});
        row("delete", {"Ryd1", "Ryd2"}, {false, false, false, false});
        row("paste", {"Stind1", "Stind2", "SbPaste"}, {false, false, false, false});
        row("select all", {"Marker1", "Marker2"}, {false, true, false, false});
        row("find", {"Sg1", "Sg2"}, {false, true, false, false});
        row("run", {"Run1", "SbRun"}, {false, true, false, false});
        row("coordinates", {"Koord1", "sbKoord"}, {false, true, false, false});
        row("size", {"Size1", "sbSize"}, {false, false, false, true});
        row("text", {"Tekst1", "SbTekst"}, {false, false, false, true});
        row("fit", {"Tilpas1", "SbTilpas"}, {false, false, false, true});
    }

    // Each row holds in each state as the page is entered (an unmodified page, nothing selected).
    void table()
    {
        QFETCH(QStringList, names);
        QFETCH(QList<bool>, on);
        for (State state : {NoPage, Script, Table, Graph}) {
            FormFixture f;
            enter(f, state);
            for (const QString& name : names)
                QVERIFY2(f.form->IsEnabled(name.toLatin1()) == on[state],
                         qPrintable(QString("%1 in state %2").arg(name).arg(int(state))));
        }
    }

    void noPageShowsNothing()
    {
        FormFixture f;
        for (int i = 0; i < 3; ++i)
            QCOMPARE(f.form->StatusText(i), QString());
        QVERIFY(!f.form->Panel2->isVisible());
        QVERIFY(!f.form->Timer1->isActive());
    }

    void sectionPanelOnlyOnScriptPage()
    {
        FormFixture f;
        TTabMemo* m = f.script({});
        QVERIFY(f.form->Panel2->isVisible());
        QCOMPARE(f.form->Panel2->parentWidget(), static_cast<QWidget*>(m));
        QVERIFY(f.form->Timer1->isActive());
        f.form->LavGraf("x-1");
        QVERIFY(!f.form->Panel2->isVisible());
        QVERIFY(!f.form->Timer1->isActive());
    }

    void pollFollowsSelection()
    {
        FormFixture f;
        TTabMemo* m = f.script({"Konstanter", "  a = 2"});
        QVERIFY(!f.form->IsEnabled("SbKlip"));
        m->Editor->selectAll();
        QTRY_VERIFY_WITH_TIMEOUT(f.form->IsEnabled("SbKlip"), 1000);
        for (const char* name : {"SbCopy", "Kopier1", "Kopier2", "Klip1", "Klip2", "Ryd1", "Ryd2"})
            QVERIFY2(f.form->IsEnabled(name), name);
        QTextCursor c = m->Editor->textCursor();
        c.clearSelection();
        m->Editor->setTextCursor(c);
        QTRY_VERIFY_WITH_TIMEOUT(!f.form->IsEnabled("SbKlip"), 1000);
        QVERIFY(!f.form->IsEnabled("Ryd2"));
    }

    void pollFollowsClipboard()
    {
        FormFixture f;
        QApplication::clipboard()->setText("k = 2");
        f.script({});
        // Entering the page leaves paste off; the next tick turns it on.
        QVERIFY(!f.form->IsEnabled("SbPaste"));
        QTRY_VERIFY_WITH_TIMEOUT(f.form->IsEnabled("Stind2"), 1000);
        QVERIFY(f.form->IsEnabled("Stind1"));
        QApplication::clipboard()->clear();
        QTRY_VERIFY_WITH_TIMEOUT(!f.form->IsEnabled("SbPaste"), 1000);
    }

    void saveFollowsModified()
    {
        FormFixture f;
        TTabMemo* m = f.script({});
        QTemporaryDir dir;
        m->FileName = dir.filePath("a.tvx");
        QVERIFY(!f.form->IsEnabled("Gem1"));
        m->Editor->insertPlainText("Konstanter\n");
        // The change turns saving on at once, without waiting for the poll.
        QVERIFY(f.form->IsEnabled("Gem1"));
        QVERIFY(f.form->IsEnabled("SbGem"));
        f.form->Gem1Click();
        QVERIFY(!m->Modified);
        QTRY_VERIFY_WITH_TIMEOUT(!f.form->IsEnabled("Gem1"), 1000);
    }

    void switchingTabsEmptiesStatusBar()
    {
        FormFixture f;
        f.script({});
        f.script({});
        f.form->SetStatusText(2, "a ukendt");
        f.form->PageControl1->setCurrentIndex(0);
        QCOMPARE(f.form->StatusText(2), QString());
        QCOMPARE(f.form->ActivePage(), f.form->Page(0));
    }

    void metafileCheckToggles()
    {
        FormFixture f;
        QAction* a = f.form->Action("BrugMetafile1");
        QVERIFY(a->isChecked());
        a->trigger();
        QVERIFY(!a->isChecked());
        a->trigger();
        QVERIFY(a->isChecked());
    }

    void graphSurfaceIsFourPixelsSmaller()
    {
        FormFixture f;
        TTabMemo* m = f.script({});
        QSize area = m->size();
        f.form->LavGraf("g-1");
        QCOMPARE(f.form->GraphWidth, area.width() - 4);
        QCOMPARE(f.form->GraphHeight, area.height() - 4);
    }

    void everyControlHasAnAccessibleName()
    {
        FormFixture f;
        f.script({});
        for (const char* name : {"SbNy", "SbOpen", "SbGem", "SbLuk", "SbPrint", "SbKlip", "SbCopy", "SbPaste", "SbRun",
                                 "sbKoord", "SbTilpas", "sbSize", "SbTekst"}) {
            auto* w = f.form->findChild<QWidget*>(name);
            QVERIFY2(w, name);
            QVERIFY2(!w->accessibleName().isEmpty(), name);
            QCOMPARE(w->accessibleName(), w->toolTip());
        }
        for (auto* w : f.form->Panel2->findChildren<QToolButton*>())
            QVERIFY(!w->accessibleName().isEmpty());
        QVERIFY(!f.form->Edit1->accessibleName().isEmpty());
        QVERIFY(!f.memo()->Editor->accessibleName().isEmpty());
    }
};

QTEST_MAIN(TestAvailability)
#include "test_availability.moc"
