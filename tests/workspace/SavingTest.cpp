// Opening, saving and quitting: examples stay copies, the save keys on result pages, the dialogs' folder, and one
// question for several unsaved documents.
#include "MainWindowFixture.h"

#include "workspace/WindowSettings.h"

#include <QFileInfo>
#include <QMenu>
#include <QToolButton>

namespace {

const QByteArray Settings = "-5\r\n10\r\n1\r\n0\r\n-5\r\n5\r\n1\r\n0\r\n0\r\n1\r\n4\r\n0\r\n0\r\n0.00005\r\n0\r\n0\r\n";

}  // namespace

class TestSaving : public QObject {
    Q_OBJECT
private slots:
    void examplesStayCopiesOutOfTheRecentList_data()
    {
        QTest::addColumn<QString>("way");
        for (const char* way : {"button", "open dialog", "recent list", "command line"})
            QTest::newRow(way) << way;
    }

    // However an installed example is chosen, it opens untitled, and only the user's own documents are listed.
    void examplesStayCopiesOutOfTheRecentList()
    {
        QFETCH(QString, way);
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir("ex"));
        const QString example = dir.filePath("ex/simpel.tvx"), mine = dir.filePath("mine.tvx");
        QVERIFY(QFile::copy(QString(TAVLIX_EXAMPLES_DIR) + "/simpel.tvx", example));
        QVERIFY(QFile::copy(example, mine));
        MainWindowFixture f;
        f.window->documents().exampleDir = dir.filePath("ex") + "/";
        auto settings = std::make_unique<WindowSettings>(dir.filePath("t.conf"));
        if (way == "recent list")
            settings->addRecentFile(example);  // listed by an earlier version
        f.window->memory().attachSettings(std::move(settings));
        if (way == "button")
            f.window->sectionButton(Section::SecondExample)->click();
        else if (way == "open dialog")
            f.openName = example, f.window->documents().open();
        else if (way == "recent list")
            f.window->documents().openDocument(example);  // what its entry did
        else
            f.window->documents().openStartDocuments({example});
        QCOMPARE(f.scriptPage()->caption(), QString("Eksempel 2"));
        QCOMPARE(f.scriptPage()->fileName(), Documents::UntitledFileName);
        QVERIFY(f.window->documents().openDocument(mine));
        emit f.window->memory().recentMenu()->aboutToShow();
        const QList<QAction*> entries = f.window->memory().recentMenu()->actions();
        QCOMPARE(entries.size(), 3);  // mine.tvx, a separator, the clear command
        QVERIFY(entries[0]->text().endsWith(mine));
    }

    // Ctrl+S on a result page saves its document; Ctrl+Shift+S saves it under a new name.
    void saveKeysOnAResultPageSaveItsDocument()
    {
        QTemporaryDir dir;
        const QString file = dir.filePath("opgave.tvx");
        QVERIFY(WriteBytes(file, Settings + "Funktioner\r\n  f = t\r\nTabelVariable\r\n  t, f\r\n"));
        MainWindowFixture f;
        ScriptPage* script = f.window->documents().openDocument(file);
        script->editor()->moveCursor(QTextCursor::End);
        script->editor()->insertPlainText("\n(* ny *)");
        QVERIFY(f.run());
        Page* table = f.window->activePage();
        QCOMPARE(table->kind(), PageKind::Table);
        QVERIFY(f.window->isCommandEnabled(Command::Save));
        QTest::keyClick(f.window.get(), Qt::Key_S, Qt::ControlModifier);
        QTRY_VERIFY(!script->isModified());
        QVERIFY(FileBytes(file).endsWith("(* ny *)\r\n"));
        QVERIFY(!f.window->isCommandEnabled(Command::Save));
        QCOMPARE(f.window->activePage(), table);

        f.saveNames.push_back(dir.filePath("kopi.tvx"));
        QTest::keyClick(f.window.get(), Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
        QTRY_COMPARE(script->fileName(), dir.filePath("kopi.tvx"));
        QCOMPARE(FileBytes(dir.filePath("kopi.tvx")), FileBytes(file));
        QCOMPARE(f.savePresets, QStringList{file});  // a document with a file starts at it
    }

    // The documents folder the first time; then the folder of the file last opened or saved, also after a restart.
    void dialogsStartInTheFolderLastUsed()
    {
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir("a"));
        QVERIFY(WriteBytes(dir.filePath("a/x.tvx"), Settings));
        {
            MainWindowFixture f;
            f.window->memory().attachSettings(std::make_unique<WindowSettings>(dir.filePath("t.conf")));
            f.window->documents().open();
            QCOMPARE(f.openFolders, QStringList{QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation)});
            f.openName = dir.filePath("a/x.tvx");
            f.window->documents().open();
            f.window->documents().newUntitled();
            f.saveNames.push_back(QString());
            f.window->onSaveAs();
            QCOMPARE(f.savePresets, QStringList{dir.filePath("a/udennavn.tvx")});
        }
        MainWindowFixture again;
        again.window->memory().attachSettings(std::make_unique<WindowSettings>(dir.filePath("t.conf")));
        again.window->documents().open();
        QCOMPARE(again.openFolders, QStringList{dir.filePath("a")});
    }

    void oneQuestionForSeveralUnsavedDocuments_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<QString>("saveName");  // for the untitled document; "" cancels its dialog
        QTest::addColumn<bool>("closed");
        QTest::addColumn<int>("savedFiles");
        QTest::newRow("Gem alle") << int(QMessageBox::SaveAll) << "ny.tvx" << true << 2;
        QTest::newRow("Gem alle, a name cancelled") << int(QMessageBox::SaveAll) << "" << false << 1;
        QTest::newRow("Gem ingen") << int(QMessageBox::Discard) << "" << true << 0;
        QTest::newRow("Annuller") << int(QMessageBox::Cancel) << "" << false << 0;
    }

    void oneQuestionForSeveralUnsavedDocuments()
    {
        QFETCH(int, answer);
        QFETCH(QString, saveName);
        QFETCH(bool, closed);
        QFETCH(int, savedFiles);
        QTemporaryDir dir;
        MainWindowFixture f;
        ScriptPage* a = f.script({"a"});
        a->setFileName(dir.filePath("a.tvx"));
        a->editor()->insertPlainText("1");
        f.script({"unchanged"});
        f.window->documents().newUntitled();
        ScriptPage* untitled = f.scriptPage();
        untitled->editor()->insertPlainText("2");
        f.saveAllAnswer = QMessageBox::StandardButton(answer);
        f.saveNames.push_back(saveName.isEmpty() ? QString() : dir.filePath(saveName));
        QCOMPARE(f.window->close(), closed);
        QCOMPARE(f.questions, QStringList());  // no question per document
        QCOMPARE(f.saveAllQuestions.size(), 1);
        QVERIFY(f.saveAllQuestions[0].contains(dir.filePath("a.tvx")));
        QVERIFY(f.saveAllQuestions[0].contains("(Uden navn - 1)"));
        QVERIFY(!f.saveAllQuestions[0].contains("test.tvx"));  // the unchanged one
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(), savedFiles);
        if (!closed) {
            QCOMPARE(f.window->pageCount(), 3);
            QCOMPARE(untitled->isModified(), true);
        }
    }

    // A single unsaved document gets the question it always got.
    void oneUnsavedDocumentGetsItsOwnQuestion()
    {
        MainWindowFixture f;
        f.script({"a"})->editor()->insertPlainText("1");
        f.script({"b"});
        f.answers = {QMessageBox::No};
        QVERIFY(f.window->close());
        QCOMPARE(f.questions, QStringList{"Skal ændringerne i \"test.tvx\" gemmes?"});
        QVERIFY(f.saveAllQuestions.isEmpty());
    }
};

QTEST_MAIN(TestSaving)
#include "SavingTest.moc"
