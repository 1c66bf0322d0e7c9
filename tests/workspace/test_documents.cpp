// Documents: new, open, save, save as, closing a page and the program, section buttons and examples.
#include "FormFixture.h"

#include "workspace/Cp1252.h"
#include "workspace/TTabTabel.h"

#include <QTextBlock>

#include <QFileInfo>
#include <QTabWidget>
#include <QToolButton>

namespace {

const QByteArray DefaultLines = "-5\r\n10\r\n1\r\n0\r\n-5\r\n5\r\n1\r\n0\r\n-5\r\n10\r\n200\r\n0\r\n0\r\n0.00005\r\n0\r\n0\r\n";

}  // namespace

class TestDocuments : public QObject {
    Q_OBJECT
private slots:
    void newCaptionsFollowPageCount()
    {
        FormFixture f;
        f.form->Ny1Click();
        QCOMPARE(f.form->ActivePage()->Caption(), QString("(Uden navn - 1)"));
        f.form->LavGraf("g-1");
        f.form->Ny1Click();
        QCOMPARE(f.form->ActivePage()->Caption(), QString("(Uden navn - 3)"));
        QCOMPARE(f.memo()->FileName, QString("udennavn.tvx"));
        QVERIFY(!f.memo()->Modified);
        QCOMPARE(f.memo()->Settings, tavlix::defaultSettings());
        QCOMPARE(f.form->PageControl1->tabText(2), QString("(Uden navn - 3)"));
    }

    void open_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("script");
        QTest::newRow("crlf") << DefaultLines + "Konstanter\r\n  a = 2\r\n" << QStringList{"Konstanter", "  a = 2"};
        QTest::newRow("lf only") << QByteArray(DefaultLines).replace("\r\n", "\n") + "a\nb"
                                 << QStringList{"a", "b"};
        QTest::newRow("cr only") << QByteArray(DefaultLines).replace("\r\n", "\r") + "a\r\rb\r"
                                 << QStringList{"a", "", "b"};
        QTest::newRow("exactly 16 lines") << DefaultLines << QStringList{};
        QTest::newRow("blank lines kept") << DefaultLines + "\r\n\r\nx\r\n\r\n" << QStringList{"", "", "x", ""};
        QTest::newRow("nul ends the text") << DefaultLines + QByteArray("a\r\nb\0c\r\nd\r\n", 12)
                                           << QStringList{"a", "b"};
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
        FormFixture f;
        TTabMemo* m = f.form->Open(path);
        QVERIFY(m);
        QCOMPARE(m->Lines(), script);
        QCOMPARE(m->Caption(), QString("doc.tvx"));
        QCOMPARE(m->FileName, path);
        QVERIFY(!m->Modified);
        QCOMPARE(m->Settings[13], std::string("0.00005"));
        QCOMPARE(m->Editor->textCursor().position(), 0);
        QVERIFY(f.errors.isEmpty());
        // Saving writes it back with CR LF line ends.
        QVERIFY(m->Gem());
        QByteArray expected = DefaultLines;
        for (const QString& line : script)
            expected += QByteArray::fromStdString(Cp1252::FromQString(line)) + "\r\n";
        QCOMPARE(FileBytes(path), expected);
    }

    void openAddsExtensionOnlyWithoutAnyDot()
    {
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir("sub.d"));
        QVERIFY(WriteBytes(dir.filePath("plain.tvx"), DefaultLines + "a\r\n"));
        QVERIFY(WriteBytes(dir.filePath("sub.d/plain"), DefaultLines + "b\r\n"));
        FormFixture f;
        // The temporary directory's own name may hold a dot; then nothing is appended either.
        QString noDot = dir.filePath("plain");
        TTabMemo* a = f.form->Open(noDot);
        if (noDot.contains('.')) {
            QVERIFY(!a);
        } else {
            QVERIFY(a);
            QCOMPARE(a->FileName, noDot + ".tvx");
            QCOMPARE(a->Lines(), QStringList{"a"});
        }
        TTabMemo* b = f.form->Open(dir.filePath("sub.d/plain"));
        QVERIFY(b);
        QCOMPARE(b->Lines(), QStringList{"b"});
        QCOMPARE(b->Caption(), QString("plain"));
    }

    void unreadableFilesLeaveNoPage_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("exists");
        QTest::newRow("missing") << QByteArray() << false;
        QTest::newRow("three lines") << QByteArray("1\r\n2\r\n3\r\n") << true;
        QTest::newRow("fifteen lines") << QByteArray(DefaultLines).left(DefaultLines.lastIndexOf("0\r\n")) << true;
        QTest::newRow("empty") << QByteArray() << true;
        QTest::newRow("binary") << QByteArray("\x7f" "ELF\x02\x01\x01\0\0\0\0", 12) << true;
        QTest::newRow("far too large") << DefaultLines + QByteArray(17 * 1024 * 1024, 'x') << true;
    }

    void unreadableFilesLeaveNoPage()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, exists);
        QTemporaryDir dir;
        QString path = dir.filePath("bad.tvx");
        if (exists)
            QVERIFY(WriteBytes(path, bytes));
        FormFixture f;
        f.script({});
        QVERIFY(!f.form->Open(path));
        QCOMPARE(f.form->PageCount(), 1);
        QCOMPARE(f.errors.size(), 1);
        QVERIFY(f.errors[0].contains("bad.tvx"));
        if (!exists)
            QVERIFY(f.errors[0].contains("findes ikke"));
    }

    void startDocumentsOpenInOrder()
    {
        QTemporaryDir dir;
        QVERIFY(WriteBytes(dir.filePath("a.tvx"), DefaultLines));
        QVERIFY(WriteBytes(dir.filePath("b.tvx"), DefaultLines));
        FormFixture f;
        f.form->OpenStartDocuments({dir.filePath("a.tvx"), dir.filePath("missing.tvx"), dir.filePath("b.tvx")});
        QCOMPARE(f.form->PageCount(), 2);
        QCOMPARE(f.form->Page(0)->Caption(), QString("a.tvx"));
        QCOMPARE(f.form->Page(1)->Caption(), QString("b.tvx"));
        QCOMPARE(f.errors.size(), 1);
    }

    void noStartDocumentsMakesANewOne()
    {
        FormFixture f;
        f.form->OpenStartDocuments({});
        QCOMPARE(f.form->PageCount(), 1);
        QCOMPARE(f.form->ActivePage()->Caption(), QString("(Uden navn - 1)"));
    }

    void newDocumentSavesDefaultLines()
    {
        QTemporaryDir dir;
        FormFixture f;
        f.form->Ny1Click();
        f.saveNames.push_back(dir.filePath("ny.tvx"));
        f.form->Gem1Click();
        QCOMPARE(f.savePresets, QStringList{"udennavn.tvx"});
        QCOMPARE(FileBytes(dir.filePath("ny.tvx")), DefaultLines);
        QCOMPARE(f.memo()->Caption(), QString("ny.tvx"));
        QCOMPARE(f.memo()->FileName, dir.filePath("ny.tvx"));
    }

    void saveAsWithoutDotAppendsExtension()
    {
        QTemporaryDir dir;
        FormFixture f;
        f.script({"Konstanter"});
        f.saveNames.push_back(dir.filePath("opgave"));
        f.form->GemSom1Click();
        QCOMPARE(f.memo()->Caption(), QString("opgave"));
        QCOMPARE(f.memo()->FileName, dir.filePath("opgave.tvx"));
        QCOMPARE(FileBytes(dir.filePath("opgave.tvx")), DefaultLines + "Konstanter\r\n");
    }

    void cancelledSaveAsChangesNothing()
    {
        FormFixture f;
        TTabMemo* m = f.script({"a"});
        m->Editor->insertPlainText("x");
        f.form->GemSom1Click();
        QCOMPARE(m->Caption(), QString("test.tvx"));
        QVERIFY(m->Modified);
    }

    // A failed write keeps the old file, the old name and caption, and the changes marked.
    void failedSaveKeepsEverything()
    {
        QTemporaryDir dir;
        QString path = dir.filePath("gammel.tvx");
        QVERIFY(WriteBytes(path, DefaultLines + "gammel\r\n"));
        FormFixture f;
        TTabMemo* m = f.form->Open(path);
        m->SetLines({"ny"});
        QVERIFY(m->Modified);
        f.saveNames.push_back(dir.filePath("findes/ikke/ny.tvx"));
        f.form->GemSom1Click();
        QCOMPARE(f.errors.size(), 1);
        QCOMPARE(m->FileName, path);
        QCOMPARE(m->Caption(), QString("gammel.tvx"));
        QVERIFY(m->Modified);
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
        FormFixture f;
        TTabMemo* m = f.form->Open(path);
        m->SetLines({text});
        f.form->Gem1Click();
        QCOMPARE(f.errors.size(), 1);
        QVERIFY2(f.errors[0].contains(reported), qPrintable(f.errors[0]));
        QVERIFY(m->Modified);
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
        FormFixture f;
        f.form->Ny1Click();
        TTabMemo* m = f.memo();
        m->Editor->insertPlainText("Konstanter\n");
        f.answers.push_back(QMessageBox::StandardButton(answer));
        if (!saveName.isEmpty())
            f.saveNames.push_back(dir.filePath(saveName));
        f.form->Luk1Click();
        QCOMPARE(f.questions, QStringList{QString::fromUtf8("Skal ændringerne i \"udennavn.tvx\" gemmes?")});
        QCOMPARE(f.form->PageCount(), closed ? 0 : 1);
        QCOMPARE(QFileInfo::exists(dir.filePath("gemt.tvx")), saved);
        if (!closed) {
            QVERIFY(m->Modified);
            QCOMPARE(m->Lines(), QStringList{"Konstanter"});
            QVERIFY(f.form->Panel2->isVisibleTo(m));
        } else {
            for (const char* name : {"Luk1", "SbLuk", "Run1", "GemSom1", "Print1"})
                QVERIFY2(!f.form->IsEnabled(name), name);
        }
    }

    void closingActivatesRightNeighbourOrFirst()
    {
        FormFixture f;
        f.script({});
        f.form->LavTabel("t-1");
        f.form->LavGraf("t-2");
        f.form->ActivatePage(f.form->Page(1));
        f.form->Luk1Click();  // a table page: no question
        QVERIFY(f.questions.isEmpty());
        QCOMPARE(f.form->ActivePage()->Caption(), QString("t-2"));
        QCOMPARE(f.form->ActivePage()->Tag, 3);
        QVERIFY(f.form->IsEnabled("Tekst1"));
        f.form->Luk1Click();  // the right-most page: the first becomes active
        QCOMPARE(f.form->ActivePage()->Tag, 1);
        QVERIFY(f.form->IsEnabled("Run1"));
        QVERIFY(f.form->Panel2->isVisible());
    }

    void programCloseAsksRightMostFirst()
    {
        QTemporaryDir dir;
        FormFixture f;
        TTabMemo* a = f.script({"a"});
        a->FileName = dir.filePath("a.tvx");
        a->Editor->insertPlainText("1");
        f.script({"unchanged"});
        TTabMemo* c = f.script({"c"});
        c->FileName = dir.filePath("c.tvx");
        c->Editor->insertPlainText("2");
        f.answers = {QMessageBox::Yes, QMessageBox::No};
        QList<TTabGen*> shown;
        f.form->AskSaveChanges = [&](const QString& text) {
            f.questions << text;
            shown << f.form->ActivePage();
            auto answer = f.answers.front();
            f.answers.pop_front();
            return answer;
        };
        QVERIFY(f.form->close());
        QCOMPARE(f.questions.size(), 2);
        QVERIFY(f.questions[0].contains("c.tvx"));
        QVERIFY(f.questions[1].contains("a.tvx"));
        // Each page is shown while it is asked about.
        QCOMPARE(shown[0], static_cast<TTabGen*>(c));
        QCOMPARE(shown[1], static_cast<TTabGen*>(a));
        QVERIFY(QFileInfo::exists(dir.filePath("c.tvx")));
        QVERIFY(!QFileInfo::exists(dir.filePath("a.tvx")));
    }

    void programCloseAbortKeepsEverything_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<QString>("saveName");
        QTest::newRow("abort") << int(QMessageBox::Abort) << "";
        QTest::newRow("yes, dialog cancelled") << int(QMessageBox::Yes) << "";
        QTest::newRow("yes, write fails") << int(QMessageBox::Yes) << "x/y/z.tvx";
    }

    void programCloseAbortKeepsEverything()
    {
        QFETCH(int, answer);
        QFETCH(QString, saveName);
        QTemporaryDir dir;
        FormFixture f;
        TTabMemo* a = f.script({"a"});
        a->Editor->insertPlainText("1");
        TTabMemo* b = f.script({"b"});
        b->Editor->insertPlainText("2");
        f.answers = {QMessageBox::StandardButton(answer), QMessageBox::No};
        if (!saveName.isEmpty())
            f.saveNames.push_back(dir.filePath(saveName));
        QVERIFY(!f.form->close());
        QVERIFY(f.form->isVisible());
        QCOMPARE(f.questions.size(), 1);
        QCOMPARE(f.form->PageCount(), 2);
        QVERIFY(a->Modified);
        QVERIFY(b->Modified);
    }

    void sectionButtons_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("header");
        QTest::newRow("1") << "SpeedButton1" << "Konstanter";
        QTest::newRow("2") << "SpeedButton2" << "Tabeller";
        QTest::newRow("3") << "SpeedButton3" << "DifferentialLigninger";
        QTest::newRow("4") << "SpeedButton4" << "Funktioner";
        QTest::newRow("5") << "SpeedButton5" << "GrafVariable";
        QTest::newRow("6") << "SpeedButton6" << "TabelVariable";
    }

    void sectionButtons()
    {
        QFETCH(QString, button);
        QFETCH(QString, header);
        FormFixture f;
        TTabMemo* m = f.script({"ab", "cd"});
        // Replaces the selection "b" on the first line.
        QTextCursor c = m->Editor->textCursor();
        c.setPosition(1);
        c.setPosition(2, QTextCursor::KeepAnchor);
        m->Editor->setTextCursor(c);
        f.form->SectionButton(button.toLatin1())->click();
        QCOMPARE(m->Lines(), (QStringList{"a" + header, "", "cd"}));
        QCOMPARE(m->Editor->textCursor().position(), 2 + header.size());
        QCOMPARE(m->Editor->textCursor().block().blockNumber(), 1);
        QVERIFY(m->Modified);
        QVERIFY(f.form->IsEnabled("SbGem"));
    }

    // The editor keeps Tab, so the panel's buttons answer to Alt and their number.
    void sectionButtonsFromTheKeyboard()
    {
        FormFixture f;
        TTabMemo* m = f.script({});
        m->Editor->setFocus();
        // A button's key presses it visibly first, so the click comes a moment later.
        QTest::keyClick(m->Editor, Qt::Key_4, Qt::AltModifier);
        QTRY_COMPARE(m->Lines(), QStringList{"Funktioner"});
        QTest::keyClick(m->Editor, Qt::Key_9, Qt::AltModifier);
        QTRY_COMPARE(f.memo()->Caption(), QString("simpel.tvx"));
    }

    void exampleButtonsOpenExamples_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("file");
        QTest::newRow("Eksempel 1") << "SpeedButton8" << "2sin.tvx";
        QTest::newRow("Eksempel 2") << "SpeedButton9" << "simpel.tvx";
    }

    void exampleButtonsOpenExamples()
    {
        QFETCH(QString, button);
        QFETCH(QString, file);
        FormFixture f;
        f.script({});
        f.form->SectionButton(button.toLatin1())->click();
        QCOMPARE(f.form->PageCount(), 2);
        QCOMPARE(f.memo()->Caption(), file);
        QCOMPARE(f.memo()->FileName, f.form->ExampleDir + file);
        QVERIFY(!f.memo()->Lines().isEmpty());
        QVERIFY(!f.memo()->Modified);
    }

    void openCommandUsesTheDialog()
    {
        QTemporaryDir dir;
        QVERIFY(WriteBytes(dir.filePath("x.tvx"), DefaultLines + "x\r\n"));
        FormFixture f;
        f.openName = dir.filePath("x.tvx");
        f.form->bn1Click();
        QCOMPARE(f.form->PageCount(), 1);
        f.openName.clear();
        f.form->bn1Click();
        QCOMPARE(f.form->PageCount(), 1);
    }
};

QTEST_MAIN(TestDocuments)
#include "test_documents.moc"
