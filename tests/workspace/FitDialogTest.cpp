// "Tilpas konstanter" in the window: the script edits of a fit, a fit written back as one undo step and run again,
// a failed fit that changes nothing, and a template that gives a script its model.
#include "MainWindowFixture.h"

#include "workspace/ConstantLines.h"
#include "workspace/FitDialog.h"
#include "workspace/FitPreview.h"
#include "workspace/GraphPage.h"

#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>

#include <cmath>

namespace {

const QStringList Line = {
    "Konstanter", "  a = 1   b = 0   c = 5", "Tabeller",          "  d = <(0, 1), (1, 3), (2, 5), (3, 7)>",
    "Funktioner", "  f = a*t + b",           "  g = ln(c - 6)*t", "GrafVariable",
    "  t, f, l1"};

GraphPage* firstGraph(MainWindow& window)
{
    for (int i = 0; i < window.pageCount(); ++i)
        if (auto* graph = qobject_cast<GraphPage*>(window.page(i)))
            return graph;
    return nullptr;
}

QStringList ticked(const QListWidget& list)
{
    QStringList names;
    for (int i = 0; i < list.count(); ++i)
        if (list.item(i)->checkState() == Qt::Checked)
            names << list.item(i)->data(Qt::UserRole).toString();
    return names;
}

FitDialog& openFit(MainWindowFixture& f, const QStringList& script)
{
    f.script(script);
    if (!f.run())
        qFatal("The run before the fit never ended");
    f.window->activatePage(firstGraph(*f.window));
    f.window->action(Command::FitConstants)->trigger();
    return *f.window->fitDialog();
}

}  // namespace

class TestFitDialog : public QObject {
    Q_OBJECT
private slots:
    void valuesReplaceOnlyPlainNumbersInTheConstantsSection()
    {
        struct Case {
            QStringList lines;
            QStringList expected;
        };
        const Case cases[] = {
            {{"Konstanter", "  a = 1   B = -2.5e-3", "Funktioner", "  f = a*t"},
             {"Konstanter", "  a = 2.5   B = 0.125", "Funktioner", "  f = a*t"}},
            // A longer name that ends in the same letters and a computed constant stay.
            {{"Konstanter", "  ka = 7  b = 2*ka", "  a = 3 (* start *)"},
             {"Konstanter", "  ka = 7  b = 2*ka", "  a = 2.5 (* start *)"}},
            // A function of the same name is no constant.
            {{"Funktioner", "  a = 1"}, {"Funktioner", "  a = 1"}},
        };
        for (const Case& c : cases)
            QCOMPARE(ConstantLines::withValues(c.lines, {{"a", 2.5}, {"b", 0.125}}), c.expected);
    }

    void templateAddsItsMissingConstantsAndFunctionInOrder()
    {
        struct Case {
            QStringList lines;
            QStringList expected;
        };
        const Case cases[] = {
            {{"Tabeller", "  d = <(0, 1), (1, 2)>", "GrafVariable", "  t, d, m1"},
             {"Konstanter", "  a = 1   b = 0", "Tabeller", "  d = <(0, 1), (1, 2)>", "Funktioner", "  model = a*t + b",
              "GrafVariable", "  t, d, m1"}},
            {{"Konstanter", "  a = 4", "", "Funktioner", "  f = t", ""},
             {"Konstanter", "  a = 4", "  b = 0", "", "Funktioner", "  f = t", "  model = a*t + b", ""}},
        };
        const auto starts = ConstantLines::startValues(FitTemplate::Linear, 1, 2);
        for (const Case& c : cases)
            QCOMPARE(ConstantLines::withModel(c.lines, "model", "a*t + b", starts), c.expected);
    }

    void editorTakesTheLinesAsOneUndoStep()
    {
        const QStringList before = {"a", "b", "c"};
        const QStringList cases[] = {
            {"a", "B", "c"}, {"x", "a", "b", "c"}, {"a", "b", "c", "x", "y"}, {"a", "c"}, {"a", "b", "x", "c"},
        };
        for (const QStringList& after : cases) {
            QPlainTextEdit editor;
            editor.setPlainText(before.join('\n'));
            ConstantLines::apply(editor, after);
            QCOMPARE(ConstantLines::linesOf(editor), after);
            editor.undo();
            QCOMPARE(ConstantLines::linesOf(editor), before);
        }
    }

    void fittedValuesAreWrittenAsOneUndoStepAndRun()
    {
        MainWindowFixture f;
        FitDialog& dialog = openFit(f, Line);
        QVERIFY(dialog.isVisible());
        dialog.modelBox()->setCurrentText("f");
        QCOMPARE(ticked(*dialog.constantList()), QStringList({"a", "b"}));
        QCOMPARE(dialog.preview()->dataY().size(), 4);
        dialog.fit();
        QVERIFY2(dialog.lastResult().converged(), dialog.summaryLabel()->text().toUtf8());
        QCOMPARE(dialog.resultTable()->rowCount(), 2);
        QVERIFY(dialog.summaryLabel()->text().contains("Iterationer"));
        QVERIFY(dialog.preview()->curvePointCount() > 0);
        QVERIFY(dialog.useButton()->isEnabled());
        ScriptPage* script = f.window->documentOf(firstGraph(*f.window));
        dialog.useButton()->click();
        QVERIFY(f.waitIdle());
        QCOMPARE(script->lines()[1], QString("  a = 2   b = 1   c = 5"));
        // The run again drew the fitted line: 2t + 1 at the graph's last point.
        const tavlix::Curve& curve = firstGraph(*f.window)->curves().front();
        QCOMPARE(curve.points.back().y, 2 * curve.points.back().x + 1);
        script->editor()->undo();
        QCOMPARE(script->lines(), Line);
    }

    void failedFitSaysSoAndChangesNothing()
    {
        MainWindowFixture f;
        FitDialog& dialog = openFit(f, Line);
        dialog.modelBox()->setCurrentText("g");
        QCOMPARE(ticked(*dialog.constantList()), QStringList({"c"}));
        dialog.fit();
        QVERIFY(!dialog.lastResult().converged());
        QVERIFY(dialog.summaryLabel()->text().contains("konvergerede ikke"));
        QVERIFY(!dialog.useButton()->isEnabled());
        dialog.useValues();
        QVERIFY(f.waitIdle());
        QCOMPARE(f.window->documentOf(firstGraph(*f.window))->lines(), Line);
    }

    void templateGivesTheScriptAFittableModel()
    {
        MainWindowFixture f;
        const QStringList data = {"Tabeller",     "  d = <(0, 1), (1, 2), (2, 4), (3, 8)>",
                                  "Funktioner",   "  data = d(t)",
                                  "GrafVariable", "  t, data, m1"};
        FitDialog& dialog = openFit(f, data);
        dialog.templateBox()->setCurrentIndex(static_cast<int>(FitTemplate::Exponential));
        dialog.insertTemplate();
        QCOMPARE(dialog.modelBox()->currentText(), QString("model"));
        QCOMPARE(ticked(*dialog.constantList()), QStringList({"a", "b"}));
        dialog.fit();
        QVERIFY2(dialog.lastResult().converged(), dialog.summaryLabel()->text().toUtf8());
        QVERIFY(std::abs(dialog.lastResult().constants[0].value - 2) < 1e-9);
        ScriptPage* script = dialog.script();
        script->editor()->undo();
        QCOMPARE(script->lines(), data);
    }
};

QTEST_MAIN(TestFitDialog)
#include "FitDialogTest.moc"
