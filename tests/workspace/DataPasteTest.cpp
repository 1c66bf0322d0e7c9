// "Indsæt data" and "Importér data ...": a Danish spreadsheet's clipboard and a CSV file become table lines in the
// Tabeller section, as one undo step; a refused table changes nothing and says which row.
#include "MainWindowFixture.h"

#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QTextDocument>
#include <QToolBar>

class DataPasteTest : public QObject {
    Q_OBJECT
private slots:
    void pastesIntoTheTablesSection_data()
    {
        QTest::addColumn<QStringList>("script");
        QTest::addColumn<QString>("clipboard");
        QTest::addColumn<QStringList>("expected");  // empty: unchanged, with a message
        // A Danish spreadsheet copies text/plain with ";" or tabs and decimal commas.
        const QString sheet = "Tid;Højde (m)\r\n0;1,5\r\n0,5;2,25\r\n";
        QTest::newRow("new section before the functions")
            << QStringList{"Funktioner", "  f = t"} << sheet
            << QStringList{"Tabeller", "  højde__m_ = <(0, 1.5), (0.5, 2.25)>", "Funktioner", "  f = t"};
        QTest::newRow("after the section's last table")
            << QStringList{"Tabeller", "  a = <(0, 1)>", "", "Funktioner", "  f = t"} << "x\ty\n1\t2\n"
            << QStringList{"Tabeller", "  a = <(0, 1)>", "  y = <(1, 2)>", "", "Funktioner", "  f = t"};
        QTest::newRow("x does not grow") << QStringList{"Funktioner", "  f = t"} << "t;y\n1;2\n1;3\n" << QStringList{};
    }

    void pastesIntoTheTablesSection()
    {
        QFETCH(QStringList, script);
        QFETCH(QString, clipboard);
        QFETCH(QStringList, expected);
        MainWindowFixture f;
        ScriptPage* page = f.script(script);
        auto* mime = new QMimeData;
        mime->setText(clipboard);
        QApplication::clipboard()->setMimeData(mime);
        QTRY_VERIFY(f.window->action(Command::PasteData)->isEnabled());
        f.window->action(Command::PasteData)->trigger();
        if (expected.isEmpty()) {
            QCOMPARE(page->lines(), script);
            QCOMPARE(f.messages.size(), 1);
            QVERIFY2(f.messages[0].contains("Række 3"), qPrintable(f.messages[0]));
            return;
        }
        QCOMPARE(page->lines(), expected);
        // One Fortryd takes the whole paste back.
        QTRY_VERIFY(f.window->action(Command::Undo)->isEnabled());
        f.window->action(Command::Undo)->trigger();
        QCOMPARE(page->lines(), script);
    }

    // Without a header the user names the column; from a file the same lines come.
    void importsAFileAndAsksForNames()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("måling.csv");
        QVERIFY(WriteBytes(path, "0,10\n1,12.5\n"));
        MainWindowFixture f;
        QStringList asked;
        f.window->prompts().askImportFileName = [&] { return path; };
        f.window->prompts().askText = [&](const QString& label) {
            asked << label;
            return QString("Temp");
        };
        ScriptPage* page = f.script({"Funktioner", "  f = t"});
        QTRY_VERIFY(f.window->action(Command::ImportData)->isEnabled());
        f.window->action(Command::ImportData)->trigger();
        QCOMPARE(asked, QStringList{"Navn på tabellen i kolonne 2:"});
        QCOMPARE(page->lines(), (QStringList{"Tabeller", "  temp = <(0, 10), (1, 12.5)>", "Funktioner", "  f = t"}));
    }

    // The commands a keyboard and a screen reader reach: in the menus and on the tool bar, with a name.
    void reachableAndNamed()
    {
        MainWindowFixture f;
        f.script({"Funktioner", "  f = t"});
        auto* toolBar = f.window->findChild<QToolBar*>();
        QVERIFY(toolBar);
        QWidget* button = toolBar->widgetForAction(f.window->action(Command::PasteData));
        QVERIFY(button);
        QCOMPARE(button->accessibleName(), QString("Indsæt data fra udklipsholderen i Tabeller"));
        QCOMPARE(f.window->action(Command::ImportData)->text(), QString("&Importér data ..."));
    }
};

QTEST_MAIN(DataPasteTest)
#include "DataPasteTest.moc"
