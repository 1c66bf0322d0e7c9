// The script editor: colouring, the check while typing with its mark and status, completion, brackets, undo and
// the language help.
#include "MainWindowFixture.h"

#include "workspace/HelpWindow.h"
#include "workspace/ScriptChecker.h"
#include "workspace/ScriptHighlighter.h"

#include <QAbstractItemView>
#include <QAction>
#include <QCompleter>
#include <QFontDatabase>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextLayout>

namespace {

// The foreground colour the highlighter gave the character at a line and column.
QColor ColourAt(ScriptPage* page, int line, int column)
{
    const QTextBlock block = page->editor()->document()->findBlockByNumber(line);
    for (const QTextLayout::FormatRange& r : block.layout()->formats())
        if (column >= r.start && column < r.start + r.length)
            return r.format.foreground().color();
    return {};
}

// Checks at once and waits for the result.
void CheckAndWait(ScriptPage* page)
{
    QSignalSpy done(page->checker(), &ScriptChecker::checked);
    page->checkNow();
    QVERIFY(done.wait(5000));
}

QLabel* MessageField(MainWindow& window)
{
    for (QLabel* l : window.statusBar()->findChildren<QLabel*>())
        if (l->accessibleName() == "Meddelelse")
            return l;
    return nullptr;
}

}  // namespace

class ScriptEditorTest : public QObject {
    Q_OBJECT
private slots:
    void usesFixedFontAndNumbersLines()
    {
        MainWindowFixture f;
        ScriptPage* page = f.script({"Funktioner", "  f = t"});
        QCOMPARE(page->editor()->font().family(), QFontDatabase::systemFont(QFontDatabase::FixedFont).family());
        QVERIFY(page->editor()->viewport()->geometry().left() >= page->editor()->gutterWidth());
    }

    void coloursEachTokenKind()
    {
        MainWindowFixture f;
        ScriptPage* page = f.script({"Konstanter", "  a = 2.5  (* opens", "still", "", "closes *) b = 1", "Funktioner",
                                     "  f = hvis(t<a, sin(t), stop)", "GrafVariable", "  t, f, l2"});
        CheckAndWait(page);
        const ScriptHighlighter* h = page->highlighter();
        using C = tavlix::ColourClass;
        const struct {
            int line;
            int column;
            QColor colour;
        } rows[] = {
            {0, 0, h->format(C::Section).foreground().color()},
            {1, 2, h->declaredNameFormat().foreground().color()},
            {1, 6, h->format(C::Number).foreground().color()},
            {1, 11, h->format(C::Comment).foreground().color()},
            {2, 0, h->format(C::Comment).foreground().color()},
            {4, 7, h->format(C::Comment).foreground().color()},
            {4, 10, h->declaredNameFormat().foreground().color()},
            {6, 6, h->format(C::Keyword).foreground().color()},
            {6, 17, h->format(C::Function).foreground().color()},
            {6, 25, h->format(C::Keyword).foreground().color()},
            {8, 2, QColor()},  // t is no declared name
            {8, 8, h->format(C::Style).foreground().color()},
        };
        for (const auto& row : rows)
            QVERIFY2(ColourAt(page, row.line, row.column) == row.colour,
                     qPrintable(QString("line %1 column %2").arg(row.line).arg(row.column)));
    }

    void marksTheErrorWhileTypingAndRemovesItWhenMended()
    {
        MainWindowFixture f;
        ScriptPage* page = f.script({"Funktioner", "  f = 2*x", "TabelVariable", "  t, f"});
        f.window->activatePage(page);
        const int undoSteps = page->editor()->document()->availableUndoSteps();
        const int pages = f.window->pageCount();
        CheckAndWait(page);
        ScriptEditor* editor = page->editor();
        QVERIFY(editor->hasErrorMark());
        QCOMPARE(editor->errorStart(), editor->document()->findBlockByNumber(1).position() + 8);
        QCOMPARE(editor->errorLength(), 1);
        QVERIFY(page->checkMessage().startsWith("x ukendt\n"));
        QVERIFY(f.window->status(StatusField::Message).startsWith("x ukendt"));
        QVERIFY(f.window->status(StatusField::Message).contains("hedder t"));
        QVERIFY(MessageField(*f.window)->accessibleDescription().startsWith("x ukendt"));
        // The check left the document, the pages, the run's page count and the undo history as they were.
        QCOMPARE(editor->document()->availableUndoSteps(), undoSteps);
        QCOMPARE(f.window->pageCount(), pages);
        QCOMPARE(page->resultPageCount(), 0);
        QVERIFY(!page->isModified());

        // Mending it: the next check after the pause removes the mark.
        QTextCursor c(editor->document()->findBlockByNumber(1));
        c.movePosition(QTextCursor::EndOfBlock);
        c.deletePreviousChar();
        c.insertText("t");
        QSignalSpy done(page->checker(), &ScriptChecker::checked);
        QVERIFY(done.wait(ScriptPage::CheckDelayMs + 5000));
        QVERIFY(!editor->hasErrorMark());
        QVERIFY(f.window->status(StatusField::Message).isEmpty());
    }

    // A run's error keeps the typing check's hint: in the status bar and on the line mark.
    void runKeepsTheHint()
    {
        MainWindowFixture f;
        ScriptPage* page = f.script({"Funktioner", "  f = 2sin(t)", "TabelVariable", "  t, f"});
        f.window->activatePage(page);
        QVERIFY(f.run());
        const QString shown = QString::fromUtf8("sin kan ikke stå her  –  Der mangler et gangetegn: 2*sin(t)");
        QCOMPARE(f.window->status(StatusField::Message), shown);
        ScriptEditor* editor = page->editor();
        QVERIFY(editor->hasErrorMark());
        QCOMPARE(editor->errorStart(), editor->document()->findBlockByNumber(1).position() + 7);
        QVERIFY(page->checkMessage().endsWith("\nDer mangler et gangetegn: 2*sin(t)"));

        // A run-time error mended by the settings alone: the next run takes its mark away.
        ScriptPage* ode = f.script({"DifferentialLigninger", "  y' = sqr(1 - t)  <0>", "TabelVariable", "  t, y"});
        f.window->activatePage(ode);
        QVERIFY(f.run());
        QVERIFY(ode->editor()->hasErrorMark());
        ode->settings()[9] = "0.5";
        f.window->activatePage(ode);
        QVERIFY(f.run());
        QVERIFY(!ode->editor()->hasErrorMark());
        QVERIFY(ode->checkMessage().isEmpty());
    }

    void marksCharactersTheFileCannotStore()
    {
        MainWindowFixture f;
        ScriptPage* page = f.script({"Funktioner", "  f = t \u2192 2"});
        CheckAndWait(page);
        QVERIFY(page->editor()->hasErrorMark());
        QCOMPARE(page->editor()->errorStart(), page->editor()->document()->findBlockByNumber(1).position() + 8);
        QVERIFY(page->checkMessage().startsWith("Tegnet \"\u2192\" kan ikke gemmes"));
    }

    void completesDeclaredNamesAndBuiltInWords()
    {
        MainWindowFixture f;
        ScriptPage* page = f.script({"Konstanter", "  eksponent = 2", "Funktioner", "  f = eks"});
        CheckAndWait(page);
        ScriptEditor* editor = page->editor();
        editor->setFocus();
        page->placeCaret(3, 9);
        QTest::keyClick(editor, Qt::Key_Space, Qt::ControlModifier);
        QVERIFY(editor->completer()->popup()->isVisible());
        QCOMPARE(editor->completer()->currentCompletion(), QString("eksponent"));
        QTest::keyClick(editor->completer()->popup(), Qt::Key_Return);
        QCOMPARE(editor->document()->findBlockByNumber(3).text(), QString("  f = eksponent"));

        page->placeCaret(3, 15);
        editor->textCursor().insertText("*DIFF");
        QTest::keyClick(editor, Qt::Key_Space, Qt::ControlModifier);
        QCOMPARE(editor->completer()->currentCompletion(), QString("DifferentialLigninger"));
        QTest::keyClick(editor->completer()->popup(), Qt::Key_Tab);
        QCOMPARE(editor->document()->findBlockByNumber(3).text(), QString("  f = eksponent*DifferentialLigninger"));
    }

    void highlightsMatchingBrackets()
    {
        MainWindowFixture f;
        ScriptPage* page = f.script({"Funktioner", "  f = (sin(t) + 1)", "  g = <1, 2>"});
        const struct {
            int line;
            int column;
            int from;
            int to;  // columns of the two brackets on the line; -1 when none is highlighted
        } rows[] = {{1, 6, 6, 17}, {1, 18, 17, 6}, {1, 10, 10, 12}, {2, 6, 6, 11}, {1, 3, -1, -1}};
        for (const auto& row : rows) {
            page->placeCaret(row.line, row.column);
            QList<int> marked;
            for (const QTextEdit::ExtraSelection& s : page->editor()->extraSelections())
                if (s.cursor.hasSelection())
                    marked << s.cursor.selectionStart() -
                                  page->editor()->document()->findBlockByNumber(row.line).position();
            const QList<int> expected = row.from < 0 ? QList<int>{} : QList<int>{row.from, row.to};
            QCOMPARE(marked, expected);
        }
    }

    void undoAndRedoOutliveRunAndSave()
    {
        MainWindowFixture f;
        QTemporaryDir dir;
        ScriptPage* page = f.script({"Funktioner", "  f = t", "TabelVariable", "  t, f"});
        page->setFileName(dir.filePath("a.tvx"));
        f.window->activatePage(page);
        page->editor()->setFocus();
        page->placeCaret(1, 7);
        QTest::keyClicks(page->editor(), "+1");
        QTRY_VERIFY(f.window->isCommandEnabled(Command::Undo));
        QVERIFY(!f.window->isCommandEnabled(Command::Redo));
        QVERIFY(f.run());
        f.window->activatePage(page);
        QVERIFY(page->save());
        f.window->action(Command::Undo)->trigger();
        QCOMPARE(page->lines().value(1), QString("  f = t"));
        QTRY_VERIFY(f.window->isCommandEnabled(Command::Redo));
        f.window->action(Command::Redo)->trigger();
        QCOMPARE(page->lines().value(1), QString("  f = t+1"));
        const QList<QKeySequence> redoKeys = f.window->action(Command::Redo)->shortcuts();
        QVERIFY(redoKeys.contains(QKeySequence("Ctrl+Y")) && redoKeys.contains(QKeySequence("Ctrl+Shift+Z")));
    }

    void helpOpensAtTheWordUnderTheCaret()
    {
        MainWindowFixture f;
        ScriptPage* page = f.script({"Funktioner", "  f = arctan(t)"});
        f.window->activatePage(page);
        page->placeCaret(1, 9);
        f.window->onLanguageHelp();
        auto* help = f.window->findChild<HelpWindow*>();
        QVERIFY(help && help->isVisible());
        QVERIFY(help->browser()->verticalScrollBar()->value() > 0);
        // Every word F1 may meet in a script has its entry in the help text.
        for (const char* word : {"Konstanter", "Tabeller",     "DifferentialLigninger",
                                 "Funktioner", "GrafVariable", "TabelVariable",
                                 "hvis",       "og",           "eller",
                                 "stop",       "sin",          "cos",
                                 "tan",        "cot",          "arcsin",
                                 "asin",       "arccos",       "acos",
                                 "arctan",     "atan",         "atn",
                                 "arccot",     "acot",         "ln",
                                 "log",        "exp",          "sqr",
                                 "abs",        "pi",           "t",
                                 "l1",         "l6",           "m1",
                                 "m6",         "Xmin",         "Xmax",
                                 "XEnhed",     "YCross",       "YMin",
                                 "YMax",       "YEnhed",       "XCross",
                                 "TMin",       "TMax",         "TAntal",
                                 "TDelta",     "Absolut",      "Relativ",
                                 "XGitter",    "YGitter"})
            QVERIFY2(help->showEntry(word), word);
        QVERIFY(!help->showEntry("ukendtord"));
        QCOMPARE(f.window->action(Command::LanguageHelp)->shortcut(), QKeySequence(Qt::Key_F1));
    }

    // F1 on a result page opens that page's chapter; the search keeps the chapters that hold its words.
    void helpOnAGraphPageOpensItsChapter()
    {
        MainWindowFixture f;
        f.script({"Funktioner", "  f = t", "GrafVariable", "  t, f, l1"});
        QVERIFY(f.run());
        QTRY_COMPARE(f.window->activePage()->kind(), PageKind::Graph);
        QTest::keyClick(f.window->activePage(), Qt::Key_F1);
        auto* help = f.window->findChild<HelpWindow*>();
        QTRY_VERIFY(help && help->isVisible());
        QCOMPARE(help->chapter(), HelpChapter::GraphPage);
        QVERIFY(help->browser()->toPlainText().contains("Zoom tilbage"));
        QTest::keyClicks(help->searchField(), "hældningsfelt");
        QVERIFY(help->visibleChapters().contains("Grafblade"));
        QVERIFY(!help->visibleChapters().contains("Tabelblade"));
        help->searchField()->clear();
        QCOMPARE(help->visibleChapters().size(), 6);
        QVERIFY(help->showEntry("TAntal"));
        QCOMPARE(help->chapter(), HelpChapter::Settings);
    }
};

QTEST_MAIN(ScriptEditorTest)
#include "ScriptEditorTest.moc"
