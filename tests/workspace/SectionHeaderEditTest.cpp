// The section buttons: a missing section goes where it belongs with a template line, an existing one is gone to.
#include "MainWindowFixture.h"

#include "compiler/ScriptCompiler.h"
#include "engine/EngineHost.h"
#include "workspace/QtCp1252.h"

#include <QTextBlock>
#include <QToolButton>

class SectionHeaderEditTest : public QObject {
    Q_OBJECT
private slots:
    void insertOrGo_data()
    {
        QTest::addColumn<QStringList>("script");
        QTest::addColumn<int>("caret");  // where the caret stands before the click
        QTest::addColumn<Section>("section");
        QTest::addColumn<QStringList>("expected");  // empty: the script is unchanged
        QTest::addColumn<QString>("selected");
        QTest::addColumn<int>("caretLine");
        QTest::addColumn<int>("caretColumn");
        const QStringList twoSections = {"Konstanter", "  a = 2", "", "Funktioner", "  f = a*t", "", ""};
        QTest::newRow("empty script") << QStringList{} << 0 << Section::Functions
                                      << QStringList{"Funktioner", "  f = t"} << "t" << 1 << 7;
        QTest::newRow("missing: between the sections before and after it")
            << QStringList{"Konstanter", "  a = 2", "GrafVariable", "  t, a, l1"} << 0 << Section::Functions
            << QStringList{"Konstanter", "  a = 2", "Funktioner", "  f = t", "GrafVariable", "  t, a, l1"} << "t" << 3
            << 7;
        QTest::newRow("missing: first, after a leading comment")
            << QStringList{"(* lektion 1 *)", "Funktioner", "  f = t"} << 0 << Section::Constants
            << QStringList{"(* lektion 1 *)", "Konstanter", "  a = 1", "Funktioner", "  f = t"} << "1" << 2 << 7;
        QTest::newRow("missing: last") << QStringList{"Funktioner", "  f = t"} << 0 << Section::TableVariables
                                       << QStringList{"Funktioner", "  f = t", "TabelVariable", "  t, f"} << "f" << 3
                                       << 6;
        QTest::newRow("missing: graph output before table output")
            << QStringList{"Funktioner", "  f = t", "TabelVariable", "  t, f"} << 0 << Section::GraphVariables
            << QStringList{"Funktioner", "  f = t", "GrafVariable", "  t, f, l1", "TabelVariable", "  t, f"} << "f" << 3
            << 6;
        QTest::newRow("missing: a keyword in mid-line gets a line break first")
            << QStringList{"Konstanter a = 1 Funktioner f = t"} << 0 << Section::Tables
            << QStringList{"Konstanter a = 1 ", "Tabeller", "  tab = <(0, 0), (1, 1)>", "Funktioner f = t"}
            << "(0, 0), (1, 1)" << 2 << 23;
        QTest::newRow("missing: a word in a comment is no section")
            << QStringList{"(* Funktioner *)", "Konstanter", "  a = 1"} << 0 << Section::Functions
            << QStringList{"(* Funktioner *)", "Konstanter", "  a = 1", "Funktioner", "  f = t"} << "t" << 4 << 7;
        QTest::newRow("missing: the caret in a line's middle does not split it")
            << QStringList{"Konstanter", "  a = 2"} << 14 << Section::DifferentialEquations
            << QStringList{"Konstanter", "  a = 2", "DifferentialLigninger", "  y' = -y   <1>"} << "-y" << 3 << 9;
        QTest::newRow("there: the caret goes to the end of its last non-empty line")
            << twoSections << 0 << Section::Constants << QStringList{} << "" << 1 << 7;
        QTest::newRow("there: the last section, trailing empty lines skipped")
            << twoSections << 0 << Section::Functions << QStringList{} << "" << 4 << 9;
        QTest::newRow("there: any case, the singular word")
            << QStringList{"differentialligning", "  y' = y <1>", "FUNKTIONER", "  g = y"} << 30
            << Section::DifferentialEquations << QStringList{} << "" << 1 << 12;
        QTest::newRow("there: the last of several output sections")
            << QStringList{"Funktioner", "  f = t",      "GrafVariable", "  t, f, l1", "TabelVariable",
                           "  t, f",     "GrafVariable", "  t, f, m1",   "",           "(* slut *)"}
            << 0 << Section::GraphVariables << QStringList{} << "" << 9 << 10;
    }

    void insertOrGo()
    {
        QFETCH(QStringList, script);
        QFETCH(int, caret);
        QFETCH(Section, section);
        QFETCH(QStringList, expected);
        QFETCH(QString, selected);
        QFETCH(int, caretLine);
        QFETCH(int, caretColumn);
        MainWindowFixture f;
        ScriptPage* page = f.script(script);
        const QString before = page->editor()->toPlainText();
        QTextCursor c = page->editor()->textCursor();
        c.setPosition(caret);
        page->editor()->setTextCursor(c);
        f.window->sectionButton(section)->click();
        const bool changes = !expected.isEmpty();
        QCOMPARE(page->lines(), changes ? expected : script);
        QCOMPARE(page->isModified(), changes);
        c = page->editor()->textCursor();
        QCOMPARE(c.selectedText(), selected);
        QCOMPARE(c.block().blockNumber(), caretLine);
        QCOMPARE(c.positionInBlock(), caretColumn);
        // The insertion is one step back.
        page->editor()->undo();
        QCOMPARE(page->editor()->toPlainText(), before);
    }

    // Every template line compiles as it stands, whatever order the buttons are pressed in.
    void allSixInAnyOrderMakeARunnableScript()
    {
        const QList<Section> reverse = {Section::TableVariables,        Section::GraphVariables, Section::Functions,
                                        Section::DifferentialEquations, Section::Tables,         Section::Constants};
        MainWindowFixture f;
        ScriptPage* page = f.script({});
        for (Section s : reverse)
            f.window->sectionButton(s)->click();
        const QStringList lines = page->lines();
        const QStringList headers = {lines[0], lines[2], lines[4], lines[6], lines[8], lines[10]};
        QCOMPARE(headers, (QStringList{"Konstanter", "Tabeller", "DifferentialLigninger", "Funktioner", "GrafVariable",
                                       "TabelVariable"}));
        std::vector<std::string> script;
        for (const QString& line : lines)
            script.push_back(qt_cp1252::fromQString(line));
        tavlix::NullHost host;
        tavlix::ScriptCompiler compiler;
        const tavlix::RunResult r = compiler.run(tavlix::defaultSettings(), script, "test", host);
        QCOMPARE(int(r.error), int(tavlix::ScriptError::None));
    }
};

QTEST_MAIN(SectionHeaderEditTest)
#include "SectionHeaderEditTest.moc"
