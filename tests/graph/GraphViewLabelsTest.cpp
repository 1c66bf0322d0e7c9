// Placed labels on the graph view: a click selects one, a drag moves it, a double-click edits it, Delete removes it.
#include "graph/GraphView.h"

#include <QLineEdit>
#include <QtTest>

#include <cmath>

namespace {

const tavlix::CoordinateSettings Defaults{{-5, 10, 1, 0, -5, 5, 1, 0, -5, 10, 200, 0, 0, 0.00005, 0, 0}};

// A shown view with one curve and two labels: "Top" at (2, 1) and "Bund" at (-3, -2).
struct Fixture {
    tavlix::CurveList curves{1};
    LabelList labels{{2, 1, "Top"}, {-3, -2, "Bund"}};
    GraphView view{760, 424};
    Fixture()
    {
        curves[0].points = {{-5, 0, false}, {10, 0, false}};
        view.setCurves(&curves);
        view.setLabels(&labels);
        view.beginOnScreen(Defaults);
        view.replay();
        view.show();
        (void)QTest::qWaitForWindowExposed(&view);
    }
    QPoint top() const { return view.labelRect(0).center(); }
    void click(QPoint at)
    {
        view.handlePress(Qt::LeftButton, {}, at.x(), at.y());
        view.handleRelease(Qt::LeftButton, {}, at.x(), at.y());
    }
};

}  // namespace

class GraphViewLabelsTest : public QObject {
    Q_OBJECT
private slots:
    void dragMoves_data()
    {
        QTest::addColumn<QPoint>("by");
        QTest::addColumn<bool>("moves");
        QTest::newRow("a click selects only") << QPoint(1, 1) << false;
        QTest::newRow("a drag moves") << QPoint(120, -40) << true;
        QTest::newRow("off the plot it stays") << QPoint(-600, 0) << false;
    }

    // A press on a label selects it (a dotted frame over the picture) and starts no zoom; a drag moves its value
    // position; a press beside every label drops the selection.
    void dragMoves()
    {
        QFETCH(QPoint, by);
        QFETCH(bool, moves);
        Fixture f;
        GraphView& v = f.view;
        const QRect was = v.labelRect(0);
        const QPoint from = f.top(), to = from + by;
        v.handlePress(Qt::LeftButton, {}, from.x(), from.y());
        v.handleMove({}, to.x(), to.y());
        v.handleRelease(Qt::LeftButton, {}, to.x(), to.y());
        QVERIFY(!v.rubberBandVisible());
        QCOMPARE(v.selectedLabel(), 0);
        QVERIFY((v.labelRect(0).topLeft() - was.topLeft() - (moves ? by : QPoint())).manhattanLength() <= 2);
        QCOMPARE(std::fabs(f.labels[0].x - 2) > 0.5, moves);
        const QImage shown = v.grab().toImage();
        const QRect frame = v.labelRect(0).adjusted(-2, -2, 2, 2);
        int dark = 0;
        for (int x = frame.left(); x <= frame.right(); ++x)
            dark += qGray(shown.pixel(x, frame.top())) < 128;
        QVERIFY(dark > frame.width() / 4);
        f.click({v.geometry().toPixelX(8), v.geometry().toPixelY(4)});
        QCOMPARE(v.selectedLabel(), -1);
    }

    void doubleClickEdits_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("text");  // the label's text afterwards; empty: the label is gone
        QTest::newRow("enter keeps") << QStringLiteral("Højde ø") << int(Qt::Key_Return) << QStringLiteral("Højde ø");
        QTest::newRow("escape cancels") << QStringLiteral("Ny") << int(Qt::Key_Escape) << QStringLiteral("Top");
        QTest::newRow("empty removes") << QString() << int(Qt::Key_Return) << QString();
    }

    void doubleClickEdits()
    {
        QFETCH(QString, typed);
        QFETCH(int, key);
        QFETCH(QString, text);
        Fixture f;
        f.view.handleDoubleClick(f.top().x(), f.top().y());
        QLineEdit* editor = f.view.labelEditor();
        QVERIFY(editor && editor->isVisible());
        QCOMPARE(editor->accessibleName(), QStringLiteral("Rediger tekst"));
        QCOMPARE(editor->selectedText(), QStringLiteral("Top"));
        editor->setText(typed);
        QTest::keyClick(editor, Qt::Key(key));
        QVERIFY(!editor->isVisible());
        QCOMPARE(QString::fromStdString(f.labels[0].text), text.isEmpty() ? QStringLiteral("Bund") : text);
        QCOMPARE(f.labels.size(), size_t(text.isEmpty() ? 1 : 2));
    }

    // Delete removes the selected label only, and redraws without it; Backspace never removes one.
    void deleteKey_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<bool>("removes");
        QTest::newRow("delete") << int(Qt::Key_Delete) << true;
        QTest::newRow("backspace") << int(Qt::Key_Backspace) << false;
    }

    void deleteKey()
    {
        QFETCH(int, key);
        QFETCH(bool, removes);
        Fixture f;
        const QRect at = f.view.labelRect(0);
        f.click(f.top());
        QTest::keyClick(&f.view, Qt::Key(key));
        QCOMPARE(f.labels.size(), size_t(removes ? 1 : 2));
        QCOMPARE(f.labels.back().text, std::string("Bund"));
        int dark = 0;
        for (int x = at.left(); x <= at.right(); ++x)
            for (int y = at.top(); y <= at.bottom(); ++y)
                dark += qGray(f.view.picture().pixel(x, y)) < 128;
        QCOMPARE(dark == 0, removes);
    }
};

QTEST_MAIN(GraphViewLabelsTest)
#include "GraphViewLabelsTest.moc"
