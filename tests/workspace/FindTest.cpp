// Find in the script editor: the search range by direction, match case, whole word and the not-found message.
#include "MainWindowFixture.h"

#include "workspace/FindDialog.h"

class TestFind : public QObject {
    Q_OBJECT
private slots:
    void search_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("begin");
        QTest::addColumn<int>("length");
        QTest::addColumn<QString>("what");
        QTest::addColumn<bool>("matchCase");
        QTest::addColumn<bool>("wholeWord");
        QTest::addColumn<int>("found");
        QTest::newRow("plain") << "abc abc" << 0 << 7 << "abc" << false << false << 0;
        QTest::newRow("from inside") << "abc abc" << 1 << 6 << "abc" << false << false << 4;
        QTest::newRow("must lie wholly inside") << "abc abc" << 0 << 6 << "abc" << false << false << 0;
        QTest::newRow("cut by the range end") << "xx abc" << 0 << 5 << "abc" << false << false << -1;
        QTest::newRow("case blind") << "Konstanter" << 0 << 10 << "konstanter" << false << false << 0;
        QTest::newRow("match case") << "Konstanter" << 0 << 10 << "konstanter" << true << false << -1;
        QTest::newRow("match case finds later") << "Ab ab" << 0 << 5 << "ab" << true << false << 3;
        QTest::newRow("whole word skips part") << "tab t ta" << 0 << 8 << "t" << false << true << 4;
        QTest::newRow("whole word at ends") << "t" << 0 << 1 << "t" << false << true << 0;
        QTest::newRow("underscore joins words") << "a_b b" << 0 << 5 << "b" << false << true << 4;
        QTest::newRow("digit joins words") << "b2 b" << 0 << 4 << "b" << false << true << 3;
        QTest::newRow("danish letters are letters") << "bø b" << 0 << 4 << "b" << false << true << 3;
        QTest::newRow("empty range") << "abc" << 0 << 0 << "a" << false << false << -1;
        QTest::newRow("empty text") << "" << 0 << 0 << "a" << false << false << -1;
    }

    void search()
    {
        QFETCH(QString, text);
        QFETCH(int, begin);
        QFETCH(int, length);
        QFETCH(QString, what);
        QFETCH(bool, matchCase);
        QFETCH(bool, wholeWord);
        QFETCH(int, found);
        QCOMPARE(FindDialog::findInRange(text, begin, length, what, matchCase, wholeWord), found);
    }

    // Down steps through the occurrences after the selection; up takes the first from the top before it.
    void stepping()
    {
        MainWindowFixture f;
        ScriptPage* m = f.script({"sin start", "midt sin", "slut sin"});
        FindDialog* d = &f.window->findDialog();
        d->setFindText("sin");
        d->setSearchesForward(true);
        d->setMatchCase(false);
        d->setWholeWord(false);
        QTextCursor c = m->editor()->textCursor();
        c.movePosition(QTextCursor::Start);
        m->editor()->setTextCursor(c);
        QList<int> hits;
        for (int i = 0; i < 3; ++i) {
            f.window->findNext();
            hits << m->editor()->textCursor().selectionStart();
            QCOMPARE(m->editor()->textCursor().selectedText(), QString("sin"));
        }
        QCOMPARE(hits, (QList<int>{0, 15, 24}));
        f.window->findNext();
        QCOMPARE(f.messages, QStringList{"Kan ikke finde \"sin\""});
        QCOMPARE(m->editor()->textCursor().selectionStart(), 24);

        // With the caret at the end, up finds the first occurrence at the top, then nothing above it.
        d->setSearchesForward(false);
        c.movePosition(QTextCursor::End);
        m->editor()->setTextCursor(c);
        f.window->findNext();
        QCOMPARE(m->editor()->textCursor().selectionStart(), 0);
        f.window->findNext();
        QCOMPARE(f.messages.size(), 2);
        QCOMPARE(m->editor()->textCursor().selectionStart(), 0);
    }

    void downMissesWhatLiesBefore()
    {
        MainWindowFixture f;
        ScriptPage* m = f.script({"Konstanter", "  a = 2"});
        FindDialog* d = &f.window->findDialog();
        d->setFindText("Konstanter");
        d->setSearchesForward(true);
        d->setMatchCase(true);
        QTextCursor c = m->editor()->textCursor();
        c.movePosition(QTextCursor::End);
        m->editor()->setTextCursor(c);
        f.window->findNext();
        QCOMPARE(f.messages, QStringList{"Kan ikke finde \"Konstanter\""});
        d->setSearchesForward(false);
        f.window->findNext();
        QCOMPARE(m->editor()->textCursor().selectedText(), QString("Konstanter"));
        d->setFindText("konstanter");
        c.movePosition(QTextCursor::End);
        m->editor()->setTextCursor(c);
        f.window->findNext();
        QCOMPARE(f.messages.size(), 2);
    }

    void ignoredOnOtherPages()
    {
        MainWindowFixture f;
        f.script({"a"});
        f.window->createTablePage("t-1");
        f.window->findDialog().setFindText("a");
        f.window->findNext();
        QVERIFY(f.messages.isEmpty());
    }

    void dialogKeepsItsChoices()
    {
        MainWindowFixture f;
        f.script({});
        f.window->onFind();
        FindDialog* d = &f.window->findDialog();
        QVERIFY(d->isVisible());
        QVERIFY(!d->isModal());
        QVERIFY(d->searchesForward());
        d->setWholeWord(true);
        d->hide();
        f.window->onFind();
        QVERIFY(d->wholeWord());
    }
};

QTEST_MAIN(TestFind)
#include "FindTest.moc"
