// Placed labels on the graph view: a click selects one, a drag moves it, a double-click edits it, Delete removes it.
#include "graph/GraphView.h"

#include <QLineEdit>
#include <QtTest>

#include <cmath>

using tavlix::CurveStyle;

namespace {

const tavlix::CoordinateSettings Defaults{{-5, 10, 1, 0, -5, 5, 1, 0, -5, 10, 200, 0, 0, 0.00005, 0, 0}};

// A view with one curve and two labels after it, "Top" at (2, 1) and "Bund" at (-3, -2).
struct Fixture {
    tavlix::CurveList curves;
    GraphView view{760, 424};
    Fixture()
    {
        curves.resize(3);
        curves[0].style = CurveStyle::Line1;
        curves[0].points = {{-5, 0, false}, {10, 0, false}};
        setLabel(curves[1], "Top", 2, 1);
        setLabel(curves[2], "Bund", -3, -2);
        view.setCurves(&curves);
        view.beginOnScreen(Defaults);
        view.replay();
    }
    static void setLabel(tavlix::Curve& c, const char* text, double x, double y)
    {
        c.isLabel = true;
        c.labelText = text;
        c.points = {{x, y, false}};
    }
    QPoint inside(int label) const { return view.labelRect(label).center(); }
    int labelCount() const
    {
        return static_cast<int>(std::count_if(curves.begin(), curves.end(), [](auto& c) { return c.isLabel; }));
    }
};

}  // namespace

class GraphViewLabelsTest : public QObject {
    Q_OBJECT
private slots:
    // A press on a label selects it and starts no zoom; a press beside it drops the selection.
    void clickSelects()
    {
        Fixture f;
        GraphView& v = f.view;
        QVERIFY(v.labelRect(1).width() > 10);
        QCOMPARE(v.labelAt(f.inside(2).x(), f.inside(2).y()), 2);
        QCOMPARE(v.labelAt(5, 5), -1);
        QCOMPARE(v.labelAt(f.inside(0).x(), f.inside(0).y()), -1);  // a curve is no label
        const QImage before = v.picture().copy();
        v.handlePress(Qt::LeftButton, {}, f.inside(1).x(), f.inside(1).y());
        v.handleRelease(Qt::LeftButton, {}, f.inside(1).x(), f.inside(1).y());
        QCOMPARE(v.selectedLabel(), 1);
        QVERIFY(!v.dragging());
        QCOMPARE(v.picture(), before);
        // The selection shows as a frame around the text, over the picture.
        const QImage shown = v.grab().toImage();
        const QRect frame = v.labelRect(1).adjusted(-2, -2, 2, 2);
        int dark = 0;
        for (int x = frame.left(); x <= frame.right(); ++x)
            dark += qGray(shown.pixel(x * shown.devicePixelRatio(), frame.top() * shown.devicePixelRatio())) < 128;
        QVERIFY(dark > frame.width() / 4);
        v.handlePress(Qt::LeftButton, {}, v.geometry().toPixelX(8), v.geometry().toPixelY(4));
        QCOMPARE(v.selectedLabel(), -1);
        QVERIFY(v.dragging());
    }

    void dragMoves_data()
    {
        QTest::addColumn<QPoint>("by");
        QTest::addColumn<bool>("moves");
        QTest::newRow("a wobble selects only") << QPoint(1, 1) << false;
        QTest::newRow("right and up") << QPoint(120, -40) << true;
        QTest::newRow("off the plot stays") << QPoint(-600, 0) << false;
    }

    void dragMoves()
    {
        QFETCH(QPoint, by);
        QFETCH(bool, moves);
        Fixture f;
        GraphView& v = f.view;
        const QRect was = v.labelRect(1);
        const QPoint from = f.inside(1), to = from + by;
        v.handlePress(Qt::LeftButton, {}, from.x(), from.y());
        v.handleMove({}, to.x(), to.y());
        v.handleRelease(Qt::LeftButton, {}, to.x(), to.y());
        QVERIFY(!v.rubberBandVisible());
        QCOMPARE(v.selectedLabel(), 1);
        const QRect now = v.labelRect(1);
        QVERIFY2((now.topLeft() - was.topLeft() - (moves ? by : QPoint())).manhattanLength() <= 2,
                 qPrintable(QString("%1,%2").arg(now.x()).arg(now.y())));
        // The value position moved with it, so a zoom keeps the label where the user put it.
        const tavlix::CurvePoint p = f.curves[1].points[0];
        QCOMPARE(std::fabs(p.x - 2) > 0.5, moves);
        QCOMPARE(f.labelCount(), 2);
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
        GraphView& v = f.view;
        v.show();
        QVERIFY(QTest::qWaitForWindowExposed(&v));
        v.handleDoubleClick(f.inside(1).x(), f.inside(1).y());
        QLineEdit* editor = v.labelEditor();
        QVERIFY(editor && editor->isVisible());
        QCOMPARE(editor->accessibleName(), QStringLiteral("Rediger tekst"));
        QCOMPARE(editor->text(), QStringLiteral("Top"));
        QCOMPARE(editor->selectedText(), QStringLiteral("Top"));
        editor->setText(typed);
        QTest::keyClick(editor, Qt::Key(key));
        QVERIFY(!editor->isVisible());
        if (text.isEmpty()) {
            QCOMPARE(f.labelCount(), 1);
            QCOMPARE(f.curves[1].labelText, std::string("Bund"));
        } else {
            QCOMPARE(QString::fromStdString(f.curves[1].labelText), text);
        }
        // Double-clicking the plot beside any label opens nothing.
        v.handleDoubleClick(v.geometry().toPixelX(8), v.geometry().toPixelY(4));
        QVERIFY(!editor->isVisible());
    }

    // Delete removes the selected label and leaves the curve and the other label; Backspace never does.
    void deleteKey_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("labelsLeft");
        QTest::newRow("delete") << int(Qt::Key_Delete) << 1;
        QTest::newRow("backspace") << int(Qt::Key_Backspace) << 2;
    }

    void deleteKey()
    {
        QFETCH(int, key);
        QFETCH(int, labelsLeft);
        Fixture f;
        GraphView& v = f.view;
        v.show();
        QVERIFY(QTest::qWaitForWindowExposed(&v));
        v.handlePress(Qt::LeftButton, {}, f.inside(1).x(), f.inside(1).y());
        v.handleRelease(Qt::LeftButton, {}, f.inside(1).x(), f.inside(1).y());
        QTest::keyClick(&v, Qt::Key(key));
        QCOMPARE(f.labelCount(), labelsLeft);
        QCOMPARE(f.curves[0].points.size(), size_t(2));
        QCOMPARE(f.curves.back().labelText, std::string("Bund"));
        QCOMPARE(v.selectedLabel(), labelsLeft == 1 ? -1 : 1);
    }
};

QTEST_MAIN(GraphViewLabelsTest)
#include "GraphViewLabelsTest.moc"
