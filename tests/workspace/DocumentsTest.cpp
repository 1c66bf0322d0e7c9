// Documents: new, open, save, save as, closing a page and the program, section buttons and examples.
#include "MainWindowFixture.h"

#include "workspace/QtCp1252.h"
#include "workspace/TablePage.h"

#include <QTextBlock>

#include <QFileInfo>
#include <QTabWidget>
#include <QToolButton>

namespace {

const QByteArray DefaultLines =
    "-5\r\n10\r\n1\r\n0\r\n-5\r\n5\r\n1\r\n0\r\n-5\r\n10\r\n200\r\n0\r\n0\r\n0.00005\r\n0\r\n0\r\n";

}  // namespace

class TestDocuments : public QObject {
    Q_OBJECT
private slots:
    // Untitled documents count 1, 2, 3 whatever other pages there are, past a caption still open.
    void newCaptionsCountTheDocumentsMade()
    {
        MainWindowFixture f;
        f.window->documents().newUntitled();
        QCOMPARE(f.window->activePage()->caption(), QString("(Uden navn - 1)"));
        f.window->createGraphPage("g-1");
        f.window->documents().newDocument("(Uden navn - 2)");  // restored after a crash
        f.window->documents().newUntitled();
        QCOMPARE(f.window->activePage()->caption(), QString("(Uden navn - 3)"));
        QCOMPARE(f.scriptPage()->fileName(), QString("udennavn.tvx"));
        QVERIFY(!f.scriptPage()->isModified());
        QCOMPARE(f.scriptPage()->settings(), tavlix::defaultSettings());
        QCOMPARE(f.window->tabs()->tabText(3), QString("(Uden navn - 3)"));
        f.window->documents().newUntitled();
        QCOMPARE(f.window->activePage()->caption(), QString("(Uden navn - 4)"));
    }

    void open_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("script");
        QTest::newRow("crlf") << DefaultLines + "Konstanter\r\n  a = 2\r\n" << QStringList{"Konstanter", "  a = 2"};
        QTest::newRow("lf only") << QByteArray(DefaultLines).replace("\r\n", "\n") + "a\nb" << QStringList{"a", "b"};
        QTest::newRow("cr only") << QByteArray(DefaultLines).replace("\r\n", "\r") + "a\r\rb\r"
                                 << QStringList{"a", "", "b"};
        QTest::newRow("exactly 16 lines") << DefaultLines << QStringList{};
        QTest::newRow("blank lines kept") << DefaultLines + "\r\n\r\nx\r\n\r\n" << QStringList{"", "", "x", ""};
        QTest::newRow("nul ends the text")
            << DefaultLines + QByteArray("a\r\nb\0c\r\nd\r\n", 12) << QStringList{"a", "b"};
        QTest::newRow("windows-1252") << DefaultLines + "v\xE6kst \x80 \xF8\r\n"
                                      << QStringList{QString::fromUtf8("vækst € ø")};
    }

    void open()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, script);
        QTemporaryDir dir;
        QString path = dir.filePath("doc.tvx");
        QVERIFY(WriteBytes(path, bytes));
        MainWindowFixture f;
        ScriptPage* m = f.window->documents().openDocument(path);
        QVERIFY(m);
        QCOMPARE(m->lines(), script);
        QCOMPARE(m->caption(), QString("doc.tvx"));
        QCOMPARE(m->fileName(), path);
        QVERIFY(!m->isModified());
        QCOMPARE(m->settings()[13], std::string("0.00005"));
        QCOMPARE(m->editor()->textCursor().position(), 0);
        QVERIFY(f.errors.isEmpty());
        // Saving writes it back with CR LF line ends.
        QVERIFY(m->save());
        QByteArray expected = DefaultLines;
        for (const QString& line : script)
            expected += QByteArray::fromStdString(qt_cp1252::fromQString(line)) + "\r\n";
        QCOMPARE(FileBytes(path), expected);
    }

    void openAddsExtensionOnlyWithoutAnyDot()
    {
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir("sub.d"));
        QVERIFY(WriteBytes(dir.filePath("plain.tvx"), DefaultLines + "a\r\n"));
        QVERIFY(WriteBytes(dir.filePath("sub.d/plain"), DefaultLines + "b\r\n"));
        MainWindowFixture f;
        // The temporary directory's own name may hold a dot; then nothing is appended either.
        QString noDot = dir.filePath("plain");
        ScriptPage* a = f.window->documents().openDocument(noDot);
        if (noDot.contains('.')) {
            QVERIFY(!a);
        } else {
            QVERIFY(a);
            QCOMPARE(a->fileName(), noDot + ".tvx");
            QCOMPARE(a->lines(), QStringList{"a"});
        }
        ScriptPage* b = f.window->documents().openDocument(dir.filePath("sub.d/plain"));
        QVERIFY(b);
        QCOMPARE(b->lines(), QStringList{"b"});
        QCOMPARE(b->caption(), QString("plain"));
    }

    // The window reads documents as the batch mode does: the same limit and the same messages ("%1" is the path).
    void unreadableFilesLeaveNoPage_data()
    {
        QTest::addColumn<QString>("kind");  // file, missing or folder
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("message");
        const QString notADocument =
            "Filen \"%1\" er ikke et dokument: den har %2, men et dokument begynder med 16 linjer med "
            "koordinatindstillinger.";
        QTest::newRow("missing") << "missing" << QByteArray()
                                 << QString::fromUtf8("Kan ikke åbne filen \"%1\": filen eller mappen findes ikke.");
        QTest::newRow("folder") << "folder" << QByteArray()
                                << QString::fromUtf8("Kan ikke læse filen \"%1\": det er en mappe.");
        QTest::newRow("three lines") << "file" << QByteArray("1\r\n2\r\n3\r\n") << notADocument.arg("%1", "3 linjer");
        QTest::newRow("fifteen lines") << "file" << QByteArray(DefaultLines).left(DefaultLines.lastIndexOf("0\r\n"))
                                       << notADocument.arg("%1", "15 linjer");
        QTest::newRow("empty") << "file" << QByteArray() << notADocument.arg("%1", "0 linjer");
        QTest::newRow("binary") << "file"
                                << QByteArray(
                                       "\x7f"
                                       "ELF\x02\x01\x01\0\0\0\0",
                                       12)
                                << notADocument.arg("%1", "1 linje");
        QTest::newRow("far too large") << "file" << DefaultLines + QByteArray(51 * 1024 * 1024, 'x')
                                       << QString::fromUtf8(
                                              "Filen \"%1\" er for stor til at være et dokument "
                                              "(over 50 MB).");
    }

    void unreadableFilesLeaveNoPage()
    {
        QFETCH(QString, kind);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, message);
        QTemporaryDir dir;
        QString path = dir.filePath("bad.tvx");
        if (kind == "file")
            QVERIFY(WriteBytes(path, bytes));
        else if (kind == "folder")
            QVERIFY(QDir(dir.path()).mkdir("bad.tvx"));
        MainWindowFixture f;
        f.script({});
        QVERIFY(!f.window->documents().openDocument(path));
        QCOMPARE(f.window->pageCount(), 1);
        QCOMPARE(f.errors, QStringList{message.arg(path)});
    }

    // Just under the limit a document still opens: the window's old, smaller limit is gone.
    void largeDocumentUnderTheLimitOpens()
    {
        QTemporaryDir dir;
        QString path = dir.filePath("stor.tvx");
        QByteArray line(1000, 'x');
        line += "\r\n";
        QByteArray bytes = DefaultLines;
        while (bytes.size() < 20 * 1024 * 1024)
            bytes += line;
        QVERIFY(WriteBytes(path, bytes));
        MainWindowFixture f;
        ScriptPage* page = f.window->documents().openDocument(path);
        QVERIFY(page);
        QVERIFY(f.errors.isEmpty());
        QCOMPARE(page->lines().size(), (bytes.size() - DefaultLines.size()) / line.size());
    }

    void startDocumentsOpenInOrder()
    {
        QTemporaryDir dir;
        QVERIFY(WriteBytes(dir.filePath("a.tvx"), DefaultLines));
        QVERIFY(WriteBytes(dir.filePath("b.tvx"), DefaultLines));
        MainWindowFixture f;
        f.window->documents().openStartDocuments(
            {dir.filePath("a.tvx"), dir.filePath("missing.tvx"), dir.filePath("b.tvx")});
        QCOMPARE(f.window->pageCount(), 2);
        QCOMPARE(f.window->page(0)->caption(), QString("a.tvx"));
        QCOMPARE(f.window->page(1)->caption(), QString("b.tvx"));
        QCOMPARE(f.errors.size(), 1);
    }

    void noStartDocumentsMakesANewOne()
    {
        MainWindowFixture f;
        f.window->documents().openStartDocuments({});
        QCOMPARE(f.window->pageCount(), 1);
        QCOMPARE(f.window->activePage()->caption(), QString("(Uden navn - 1)"));
    }

    void newDocumentSavesDefaultLines()
    {
        QTemporaryDir dir;
        MainWindowFixture f;
        f.window->documents().newUntitled();
        f.saveNames.push_back(dir.filePath("ny.tvx"));
        f.window->documents().saveActive();
        QCOMPARE(f.savePresets.size(), 1);
        QCOMPARE(QFileInfo(f.savePresets[0]).fileName(), QString("udennavn.tvx"));
        QCOMPARE(FileBytes(dir.filePath("ny.tvx")), DefaultLines);
        QCOMPARE(f.scriptPage()->caption(), QString("ny.tvx"));
        QCOMPARE(f.scriptPage()->fileName(), dir.filePath("ny.tvx"));
    }

    void saveAsWithoutDotAppendsExtension()
    {
        QTemporaryDir dir;
        MainWindowFixture f;
        f.script({"Konstanter"});
        f.saveNames.push_back(dir.filePath("opgave"));
        f.window->onSaveAs();
        QCOMPARE(f.scriptPage()->caption(), QString("opgave"));
        QCOMPARE(f.scriptPage()->fileName(), dir.filePath("opgave.tvx"));
        QCOMPARE(FileBytes(dir.filePath("opgave.tvx")), DefaultLines + "Konstanter\r\n");
    }

    void cancelledSaveAsChangesNothing()
    {
        MainWindowFixture f;
        ScriptPage* m = f.script({"a"});
        m->editor()->insertPlainText("x");
        f.window->onSaveAs();
        QCOMPARE(m->caption(), QString("test.tvx"));
        QVERIFY(m->isModified());
    }

    // A failed write keeps the old file, the old name and caption, and the changes marked.
    void failedSaveKeepsEverything()
    {
        QTemporaryDir dir;
        QString path = dir.filePath("gammel.tvx");
        QVERIFY(WriteBytes(path, DefaultLines + "gammel\r\n"));
        MainWindowFixture f;
        ScriptPage* m = f.window->documents().openDocument(path);
        m->setLines({"ny"});
        QVERIFY(m->isModified());
        f.saveNames.push_back(dir.filePath("findes/ikke/ny.tvx"));
        f.window->onSaveAs();
        QCOMPARE(f.errors.size(), 1);
        QCOMPARE(m->fileName(), path);
        QCOMPARE(m->caption(), QString("gammel.tvx"));
        QVERIFY(m->isModified());
        QCOMPARE(FileBytes(path), DefaultLines + "gammel\r\n");
    }

    void unstorableTextIsRefused_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("reported");
        QTest::newRow("pi") << QString::fromUtf8("x = π") << QString::fromUtf8("\"π\"");
        QTest::newRow("arrow twice and pi") << QString::fromUtf8("→ π →") << QString::fromUtf8("\"→\" \"π\"");
        QTest::newRow("emoji") << QString::fromUtf8("y = 1 😀") << QString::fromUtf8("\"😀\"");
    }

    void unstorableTextIsRefused()
    {
        QFETCH(QString, text);
        QFETCH(QString, reported);
        QTemporaryDir dir;
        QString path = dir.filePath("a.tvx");
        QVERIFY(WriteBytes(path, DefaultLines + "gammel\r\n"));
        MainWindowFixture f;
        ScriptPage* m = f.window->documents().openDocument(path);
        m->setLines({text});
        f.window->documents().saveActive();
        QCOMPARE(f.errors.size(), 1);
        QVERIFY2(f.errors[0].contains(reported), qPrintable(f.errors[0]));
        QVERIFY(m->isModified());
        QCOMPARE(FileBytes(path), DefaultLines + "gammel\r\n");
    }

    void closePage_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<QString>("saveName");  // what the save dialog returns for the untitled page
        QTest::addColumn<bool>("closed");
        QTest::addColumn<bool>("saved");
        QTest::newRow("yes") << int(QMessageBox::Yes) << "gemt.tvx" << true << true;
        QTest::newRow("yes, dialog cancelled") << int(QMessageBox::Yes) << "" << false << false;
        QTest::newRow("yes, write fails") << int(QMessageBox::Yes) << "mappe/findes/ikke.tvx" << false << false;
        QTest::newRow("no") << int(QMessageBox::No) << "" << true << false;
        QTest::newRow("abort") << int(QMessageBox::Abort) << "" << false << false;
    }

    void closePage()
    {
        QFETCH(int, answer);
        QFETCH(QString, saveName);
        QFETCH(bool, closed);
        QFETCH(bool, saved);
        QTemporaryDir dir;
        MainWindowFixture f;
        f.window->documents().newUntitled();
        ScriptPage* m = f.scriptPage();
        m->editor()->insertPlainText("Konstanter\n");
        f.answers.push_back(QMessageBox::StandardButton(answer));
        if (!saveName.isEmpty())
            f.saveNames.push_back(dir.filePath(saveName));
        f.window->documents().closePage();
        QCOMPARE(f.questions, QStringList{QString::fromUtf8("Skal ændringerne i \"(Uden navn - 1)\" gemmes?")});
        QCOMPARE(f.window->pageCount(), closed ? 0 : 1);
        QCOMPARE(QFileInfo::exists(dir.filePath("gemt.tvx")), saved);
        if (!closed) {
            QVERIFY(m->isModified());
            QCOMPARE(m->lines(), QStringList{"Konstanter"});
            QVERIFY(f.window->sectionPanel()->isVisibleTo(m));
        } else {
            for (Command c : {Command::ClosePage, Command::Run, Command::SaveAs, Command::Print})
                QVERIFY2(!f.window->isCommandEnabled(c), qPrintable(QString::number(int(c))));
        }
    }

    void closingActivatesRightNeighbourOrFirst()
    {
        MainWindowFixture f;
        f.script({});
        f.window->createTablePage("t-1");
        f.window->createGraphPage("t-2");
        f.window->activatePage(f.window->page(1));
        f.window->documents().closePage();  // a table page: no question
        QVERIFY(f.questions.isEmpty());
        QCOMPARE(f.window->activePage()->caption(), QString("t-2"));
        QCOMPARE(f.window->activePage()->kind(), PageKind::Graph);
        QVERIFY(f.window->isCommandEnabled(Command::AddLabel));
        f.window->documents().closePage();  // the right-most page: the first becomes active
        QCOMPARE(f.window->activePage()->kind(), PageKind::Script);
        QVERIFY(f.window->isCommandEnabled(Command::Run));
        QVERIFY(f.window->sectionPanel()->isVisible());
    }

    // The editor keeps Tab, so the panel's buttons answer to Alt and their number.
    void sectionButtonsFromTheKeyboard()
    {
        MainWindowFixture f;
        ScriptPage* m = f.script({});
        m->editor()->setFocus();
        // A button's key presses it visibly first, so the click comes a moment later.
        QTest::keyClick(m->editor(), Qt::Key_4, Qt::AltModifier);
        QTRY_COMPARE(m->lines(), (QStringList{"Funktioner", "  f = t"}));
        QTest::keyClick(m->editor(), Qt::Key_9, Qt::AltModifier);
        QTRY_COMPARE(f.scriptPage()->caption(), QString("Eksempel 2"));
    }

    void exampleButtonsOpenCopies_data()
    {
        QTest::addColumn<Section>("button");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("saveName");  // "" cancels the save dialog
        QTest::newRow("Eksempel 1, saved under a new name") << Section::FirstExample << "2sin.tvx"
                                                            << "Eksempel 1"
                                                            << "lektion.tvx";
        QTest::newRow("Eksempel 2, save cancelled") << Section::SecondExample << "simpel.tvx"
                                                    << "Eksempel 2"
                                                    << "";
    }

    // A copy, untitled and unchanged: saving asks for a name, and the shipped file is never written.
    void exampleButtonsOpenCopies()
    {
        QFETCH(Section, button);
        QFETCH(QString, file);
        QFETCH(QString, caption);
        QFETCH(QString, saveName);
        QTemporaryDir dir;
        QVERIFY(QFile::copy(QString(TAVLIX_EXAMPLES_DIR) + "/" + file, dir.filePath(file)));
        const QByteArray shipped = FileBytes(dir.filePath(file));
        MainWindowFixture f;
        f.window->documents().exampleDir = dir.path() + "/";
        f.script({});
        f.window->sectionButton(button)->click();
        QCOMPARE(f.window->pageCount(), 2);
        ScriptPage* copy = f.scriptPage();
        QCOMPARE(copy->caption(), caption);
        QCOMPARE(copy->fileName(), QString("udennavn.tvx"));
        QVERIFY(!copy->isModified());
        QVERIFY(!f.window->isCommandEnabled(Command::Save));
        QCOMPARE(copy->lines().join("\r\n").toLatin1(), shipped.mid(shipped.indexOf("(*")).trimmed());

        copy->editor()->insertPlainText("(* min *)\n");
        f.saveNames.push_back(saveName.isEmpty() ? QString() : dir.filePath(saveName));
        QCOMPARE(f.window->documents().saveActive(), !saveName.isEmpty());
        // The save dialog suggests the example's name.
        QCOMPARE(f.savePresets.size(), 1);
        QCOMPARE(QFileInfo(f.savePresets[0]).fileName(), caption + ".tvx");
        QCOMPARE(FileBytes(dir.filePath(file)), shipped);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(), saveName.isEmpty() ? 1 : 2);
        QCOMPARE(copy->isModified(), saveName.isEmpty());
        QCOMPARE(copy->caption(), saveName.isEmpty() ? caption : saveName);
    }

    void openCommandUsesTheDialog()
    {
        QTemporaryDir dir;
        QVERIFY(WriteBytes(dir.filePath("x.tvx"), DefaultLines + "x\r\n"));
        MainWindowFixture f;
        f.openName = dir.filePath("x.tvx");
        f.window->documents().open();
        QCOMPARE(f.window->pageCount(), 1);
        f.openName.clear();
        f.window->documents().open();
        QCOMPARE(f.window->pageCount(), 1);
    }
};

QTEST_MAIN(TestDocuments)
#include "DocumentsTest.moc"
