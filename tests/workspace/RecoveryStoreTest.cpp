// Crash recovery: the files of unsaved pages, who may take them, and restoring them into the window.
#include "MainWindowFixture.h"

#include "workspace/RecoveryStore.h"

#include <QSysInfo>

namespace {

RecoveredDocument sample(const QString& fileName)
{
    RecoveredDocument doc{
        fileName, "cap", tavlix::defaultSettings(), {"Funktioner", "", QString::fromUtf8("  ø = 1 ∑ €")}};
    doc.settings[0] = "-2*pi";
    return doc;
}

// The recovery files under root, wherever they lie.
QStringList filesUnder(const QString& root)
{
    QStringList files;
    for (const QString& dir : QDir(root).entryList(QDir::Dirs | QDir::NoDotAndDotDot))
        for (const QString& f : QDir(root + "/" + dir).entryList({"*.tvr"}, QDir::Files))
            files << dir + "/" + f;
    return files;
}

}  // namespace

class TestRecoveryStore : public QObject {
    Q_OBJECT
private slots:
    void writesAndReadsBackEveryCharacter()
    {
        QTemporaryDir dir;
        RecoveryStore store(dir.path());
        QVERIFY(store.write(1, sample("/tmp/a b.tvx")));
        QVERIFY(store.write(2, sample(QString())));
        RecoveredDocument back;
        QString error;
        QVERIFY(RecoveryStore::read(store.folder() + "/page-1.tvr", back, error));
        QCOMPARE(back.fileName, QString("/tmp/a b.tvx"));
        QCOMPARE(back.caption, QString("cap"));
        QCOMPARE(back.settings, sample("").settings);
        QCOMPARE(back.lines, sample("").lines);
        QVERIFY(RecoveryStore::read(store.folder() + "/page-2.tvr", back, error));
        QVERIFY(back.fileName.isEmpty());
        store.remove(1);
        QCOMPARE(filesUnder(dir.path()).size(), 1);
    }

    void brokenFilesAreRefused_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("other file") << QByteArray("-5\r\n10\r\n");
        QTest::newRow("cut short") << QByteArray("TavlixRecovery 1\n/a.tvx\na.tvx\n1\n2\n");
        QTest::newRow("no final line end")
            << QByteArray("TavlixRecovery 1\nf\nc\n") + QByteArray("0\n").repeated(16) + "x";
    }

    void brokenFilesAreRefused()
    {
        QFETCH(QByteArray, bytes);
        QTemporaryDir dir;
        QVERIFY(WriteBytes(dir.filePath("p.tvr"), bytes));
        RecoveredDocument doc;
        QString error;
        QVERIFY(!RecoveryStore::read(dir.filePath("p.tvr"), doc, error));
        QVERIFY(!error.isEmpty());
    }

    void aRunningInstanceKeepsItsFilesADeadOneLosesThem()
    {
        QTemporaryDir dir;
        auto running = std::make_unique<RecoveryStore>(dir.path());
        QVERIFY(running->write(1, sample("/a.tvx")));
        // A folder whose lock names no live process: what SIGKILL leaves behind.
        QDir().mkpath(dir.filePath("99999999-dead"));
        QVERIFY(WriteBytes(dir.filePath("99999999-dead/instance.lock"),
                           "99999999\ntavlix\n" + QSysInfo::machineHostName().toUtf8() + "\n"));
        QVERIFY(WriteBytes(dir.filePath("99999999-dead/page-3.tvr"), "x"));
        QDir().mkpath(dir.filePath("nolock"));
        QVERIFY(WriteBytes(dir.filePath("nolock/page-1.tvr"), "y"));

        RecoveryStore second(dir.path());
        const QStringList taken = second.orphanedFiles();
        QCOMPARE(taken.size(), 2);
        QVERIFY(!taken.join(' ').contains(running->folder()));
        // A third instance starting meanwhile finds nothing left to take.
        QVERIFY(RecoveryStore(dir.path()).orphanedFiles().isEmpty());
        second.discardOrphans();
        QCOMPARE(filesUnder(dir.path()), QStringList{QFileInfo(running->folder()).fileName() + "/page-1.tvr"});
        // A normal end leaves nothing.
        running.reset();
        QVERIFY(filesUnder(dir.path()).isEmpty());
    }

    void restoreOpensModifiedPagesUnderTheirNames()
    {
        QTemporaryDir dir;
        {
            RecoveryStore dead(dir.path());
            QVERIFY(dead.write(1, sample(dir.filePath("named.tvx"))));
            QVERIFY(dead.write(2, sample(QString())));
            // The instance dies: its lock goes, its files stay.
            QFile::remove(dead.folder() + "/instance.lock");
            QDir().rename(dead.folder(), dir.filePath("1-gone"));
        }
        QVERIFY(WriteBytes(dir.filePath("1-gone/page-9.tvr"), "broken"));
        MainWindowFixture f;
        f.restoreAnswer = true;
        f.window->documents().attachRecovery(std::make_unique<RecoveryStore>(dir.path()));
        QVERIFY(f.window->documents().offerRecovery());
        QCOMPARE(f.restoreQuestions,
                 QStringList{"Tavlix blev ikke afsluttet normalt. Gendan 3 ikke-gemte dokumenter?"});
        QCOMPARE(f.window->pageCount(), 2);
        QCOMPARE(f.errors.size(), 1);
        QVERIFY(f.errors[0].contains("page-9.tvr"));
        auto* named = qobject_cast<ScriptPage*>(f.window->page(0));
        QCOMPARE(named->fileName(), dir.filePath("named.tvx"));
        QCOMPARE(named->caption(), QString("named.tvx"));
        QVERIFY(named->isModified());
        QCOMPARE(named->lines(), sample("").lines);
        QCOMPARE(named->settings()[0], std::string("-2*pi"));
        QCOMPARE(f.window->page(1)->caption(), QString("(Uden navn - 2)"));
        // The restored work is this instance's now; the dead one's folder is gone.
        QVERIFY(!QDir(dir.filePath("1-gone")).exists());
        QCOMPARE(filesUnder(dir.path()).size(), 2);
        // A save removes the page's recovery file ("∑" has no place in a document file).
        named->setLines({"Funktioner"});
        f.window->activatePage(named);
        QVERIFY(f.window->documents().saveActive());
        QCOMPARE(filesUnder(dir.path()).size(), 1);
    }

    void noDeletesTheFilesAndAsksOnce()
    {
        QTemporaryDir dir;
        QDir().mkpath(dir.filePath("1-gone"));
        RecoveredDocument doc = sample("/x.tvx");
        {
            RecoveryStore tmp(dir.filePath("other"));
            QVERIFY(tmp.write(1, doc));
            QVERIFY(QFile::copy(tmp.folder() + "/page-1.tvr", dir.filePath("1-gone/page-1.tvr")));
        }
        MainWindowFixture f;
        f.window->documents().attachRecovery(std::make_unique<RecoveryStore>(dir.path()));
        QVERIFY(!f.window->documents().offerRecovery());
        QVERIFY(!f.window->documents().offerRecovery());
        QCOMPARE(f.restoreQuestions.size(), 1);
        QCOMPARE(f.window->pageCount(), 0);
        QVERIFY(filesUnder(dir.path()).isEmpty());
    }

    void pagesAreWrittenWhenTypingPausesAndForgottenOnClose()
    {
        QTemporaryDir dir;
        MainWindowFixture f;
        f.window->documents().attachRecovery(std::make_unique<RecoveryStore>(dir.path()));
        ScriptPage* page = f.script({"Konstanter"});
        QTest::keyClicks(page->editor(), "  k = 2");
        QVERIFY(filesUnder(dir.path()).isEmpty());
        QTRY_COMPARE_WITH_TIMEOUT(filesUnder(dir.path()).size(), 1, 4000);
        f.answers.push_back(QMessageBox::No);
        f.window->documents().closePage();
        QVERIFY(filesUnder(dir.path()).isEmpty());
    }

    void anUnwritableFolderWarnsOnceInTheStatusBar()
    {
        QTemporaryDir dir;
        QVERIFY(WriteBytes(dir.filePath("file"), "x"));
        MainWindowFixture f;
        // A plain file where the folder should be: nothing can be written under it.
        f.window->documents().attachRecovery(std::make_unique<RecoveryStore>(dir.filePath("file")));
        ScriptPage* page = f.script({"a"});
        page->editor()->insertPlainText("b");
        f.window->documents().writeRecoveryFiles();
        QVERIFY(f.window->status(StatusField::Message).contains("sikkerhedskopier"));
        f.window->setStatus(StatusField::Message, QString());
        page->editor()->insertPlainText("c");
        f.window->documents().writeRecoveryFiles();
        QVERIFY(f.window->status(StatusField::Message).isEmpty());
        QVERIFY(f.errors.isEmpty() && f.messages.isEmpty());
    }
};

QTEST_MAIN(TestRecoveryStore)
#include "RecoveryStoreTest.moc"
