// The window's per-user memory: recent documents, drawing size, the two switches, damaged settings, and
// "Filer > Seneste".
#include "MainWindowFixture.h"

#include "workspace/GraphPage.h"
#include "workspace/WindowSettings.h"

#include <QAction>
#include <QMenu>

class TestWindowSettings : public QObject {
    Q_OBJECT
private slots:
    void recentFilesNewestFirstOnceAtMostEight()
    {
        QTemporaryDir dir;
        WindowSettings s(dir.filePath("t.conf"));
        for (int i = 1; i <= 10; ++i)
            s.addRecentFile(dir.filePath(QString("d%1.tvx").arg(i)));
        s.addRecentFile(dir.filePath("d5.tvx"));
        // Relative names are stored as absolute paths.
        QDir::setCurrent(dir.path());
        s.addRecentFile("d9.tvx");
        QStringList want;
        for (int i : {9, 5, 10, 8, 7, 6, 4, 3})
            want << dir.filePath(QString("d%1.tvx").arg(i));
        QCOMPARE(WindowSettings(dir.filePath("t.conf")).recentFiles(), want);
        s.clearRecentFiles();
        QVERIFY(WindowSettings(dir.filePath("t.conf")).recentFiles().isEmpty());
    }

    void damagedOrOddValuesFallBackToDefaults_data()
    {
        QTest::addColumn<QByteArray>("contents");
        QTest::newRow("binary garbage") << QByteArray("\x01\xff[\x00\x02=\n\xfe", 9);
        QTest::newRow("sizes no numbers") << QByteArray("[graph]\nprintWidthCm=abc\nprintHeightCm=5\n");
        QTest::newRow("sizes negative") << QByteArray("[graph]\nprintWidthCm=-3\nprintHeightCm=5\n");
        QTest::newRow("sizes absurd") << QByteArray("[graph]\nprintWidthCm=1e300\nprintHeightCm=5\n");
        QTest::newRow("relative recent") << QByteArray("[General]\nrecentFiles=a.tvx, \n");
        QTest::newRow("geometry garbage") << QByteArray("[window]\ngeometry=zzz\nstate=@ByteArray(\\x1)\n");
    }

    void damagedOrOddValuesFallBackToDefaults()
    {
        QFETCH(QByteArray, contents);
        QTemporaryDir dir;
        QVERIFY(WriteBytes(dir.filePath("t.conf"), contents));
        auto settings = std::make_unique<WindowSettings>(dir.filePath("t.conf"));
        double w = 0, h = 0;
        QVERIFY(!settings->printSize(w, h));
        QVERIFY(settings->recentFiles().isEmpty());
        MainWindowFixture f;
        const QSize before = f.window->size();
        f.window->memory().attachSettings(std::move(settings));
        QCOMPARE(f.window->size(), before);
        f.window->memory().settings()->addRecentFile(dir.filePath("x.tvx"));
        QCOMPARE(f.window->memory().settings()->recentFiles(), QStringList{dir.filePath("x.tvx")});
    }

    void windowAndDrawingSizeSurviveARestart()
    {
        QTemporaryDir dir;
        const QString conf = dir.filePath("t.conf");
        {
            MainWindowFixture f;
            f.window->memory().attachSettings(std::make_unique<WindowSettings>(conf));
            f.window->resize(700, 480);
            f.window->memory().settings()->setPrintSize(12.5, 8);
            f.window->close();
        }
        MainWindowFixture f;
        f.window->memory().attachSettings(std::make_unique<WindowSettings>(conf));
        QCOMPARE(f.window->size(), QSize(700, 480));
        // A new graph page takes the drawing size chosen last.
        auto* graph = dynamic_cast<GraphPage*>(f.window->createGraphPage("g-1"));
        QVERIFY(graph && graph->printSizeChosen());
    }

    void switchesSurviveARestart_data()
    {
        QTest::addColumn<int>("command");
        QTest::newRow("keep results") << static_cast<int>(Command::KeepResults);
        QTest::newRow("axes through origin") << static_cast<int>(Command::AxesThroughOrigin);
    }

    void switchesSurviveARestart()
    {
        QFETCH(int, command);
        const auto which = static_cast<Command>(command);
        QTemporaryDir dir;
        const QString conf = dir.filePath("t.conf");
        {
            MainWindowFixture f;
            f.window->memory().attachSettings(std::make_unique<WindowSettings>(conf));
            QVERIFY(!f.window->action(which)->isChecked());
            // As a click does; the axes' command is off until a graph page is entered.
            f.window->action(which)->setChecked(true);
        }
        MainWindowFixture f;
        f.window->memory().attachSettings(std::make_unique<WindowSettings>(conf));
        QVERIFY(f.window->action(which)->isChecked());
    }

    void recentMenuOpensDisablesMissingAndClears()
    {
        QTemporaryDir dir;
        const QString present = dir.filePath("here.tvx"), gone = dir.filePath("gone.tvx");
        QVERIFY(QFile::copy(QString(TAVLIX_EXAMPLES_DIR) + "/2sin.tvx", present));
        MainWindowFixture f;
        f.window->memory().attachSettings(std::make_unique<WindowSettings>(dir.filePath("t.conf")));
        QVERIFY(!f.window->isCommandEnabled(Command::ClearRecent));
        f.window->memory().settings()->addRecentFile(gone);
        QVERIFY(f.window->documents().openDocument(present));
        emit f.window->memory().recentMenu()->aboutToShow();
        QList<QAction*> entries = f.window->memory().recentMenu()->actions();
        QCOMPARE(entries.size(), 4);  // two documents, a separator, the clear command
        QVERIFY(entries[0]->text().endsWith(present) && entries[0]->isEnabled());
        QVERIFY(entries[1]->text().endsWith(gone) && !entries[1]->isEnabled());
        QVERIFY(f.window->isCommandEnabled(Command::ClearRecent));
        entries[0]->trigger();
        QCOMPARE(f.window->pageCount(), 2);
        QCOMPARE(f.scriptPage()->fileName(), present);
        f.window->action(Command::ClearRecent)->trigger();
        QCOMPARE(f.window->memory().recentMenu()->actions().size(), 2);
        QVERIFY(WindowSettings(dir.filePath("t.conf")).recentFiles().isEmpty());
    }
};

QTEST_MAIN(TestWindowSettings)
#include "WindowSettingsTest.moc"
