// Find in the script editor: the search range by direction, match case, whole word and the not-found message.
#include "FormFixture.h"

#include "workspace/TFindDialog.h"

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
        QCOMPARE(TFindDialog::Search(text, begin, length, what, matchCase, wholeWord), found);
    }

    // Down steps through the occurrences after the selection; up takes the first from the top before it.
    void stepping()
    {
        FormFixture f;
        TTabMemo* m = f.script({"sin start", "midt sin", "slut sin"});
        TFindDialog* d = f.form->FindDialog1;
        d->SetFindText("sin");
        d->SetDown(true);
        d->SetMatchCase(false);
        d->SetWholeWord(false);
        QTextCursor c = m->Editor->textCursor();
        c.movePosition(QTextCursor::Start);
        m->Editor->setTextCursor(c);
        QList<int> hits;
        for (int i = 0; i < 3; ++i) {
            f.form->FindDialog1Find();
            hits << m->Editor->textCursor().selectionStart();
            QCOMPARE(m->Editor->textCursor().selectedText(), QString("sin"));
        }
        QCOMPARE(hits, (QList<int>{0, 15, 24}));
        f.form->FindDialog1Find();
        QCOMPARE(f.messages, QStringList{"Kan ikke finde \"sin\""});
        QCOMPARE(m->Editor->textCursor().selectionStart(), 24);

        // With the caret at the end, up finds the first occurrence at the top, then nothing above it.
        d->SetDown(false);
        c.movePosition(QTextCursor::End);
        m->Editor->setTextCursor(c);
        f.form->FindDialog1Find();
        QCOMPARE(m->Editor->textCursor().selectionStart(), 0);
        f.form->FindDialog1Find();
        QCOMPARE(f.messages.size(), 2);
        QCOMPARE(m->Editor->textCursor().selectionStart(), 0);
    }

    void downMissesWhatLiesBefore()
    {
        FormFixture f;
        TTabMemo* m = f.script({"Konstanter", "  a = 2"});
        TFindDialog* d = f.form->FindDialog1;
        d->SetFindText("Konstanter");
        d->SetDown(true);
        d->SetMatchCase(true);
        QTextCursor c = m->Editor->textCursor();
        c.movePosition(QTextCursor::End);
        m->Editor->setTextCursor(c);
        f.form->FindDialog1Find();
        QCOMPARE(f.messages, QStringList{"Kan ikke finde \"Konstanter\""});
        d->SetDown(false);
        f.form->FindDialog1Find();
        QCOMPARE(m->Editor->textCursor().selectedText(), QString("Konstanter"));
        d->SetFindText("konstanter");
        c.movePosition(QTextCursor::End);
        m->Editor->setTextCursor(c);
        f.form->FindDialog1Find();
        QCOMPARE(f.messages.size(), 2);
    }

    void ignoredOnOtherPages()
    {
        FormFixture f;
        f.script({"a"});
        f.form->LavTabel("t-1");
        f.form->FindDialog1->SetFindText("a");
        f.form->FindDialog1Find();
        QVERIFY(f.messages.isEmpty());
    }

    void dialogKeepsItsChoices()
    {
        FormFixture f;
        f.script({});
        f.form->Sg1Click();
        TFindDialog* d = f.form->FindDialog1;
        QVERIFY(d->isVisible());
        QVERIFY(!d->isModal());
        QVERIFY(d->Down());
        d->SetWholeWord(true);
        d->hide();
        f.form->Sg1Click();
        QVERIFY(d->WholeWord());
    }
};

QTEST_MAIN(TestFind)
#include "test_find.moc"
