// The curve store shared by the graph page and the batch mode: strokes, the point bound, labels, the engine's kinds.
#include "graph/CurveRecorder.h"

#include <QtTest>

using tavlix::CurveStyle;

class CurveRecorderTest : public QObject {
    Q_OBJECT
private slots:
    void stepsJoinPointsOfAStroke()
    {
        CurveRecorder r(100);
        r.addCurve(CurveStyle::Line2);
        r.addCurve(CurveStyle::Mark1);
        CurveRecorder::Step step;
        QCOMPARE(r.addPoint(1, 0, 0, step), CurveRecorder::Added::First);
        // Curves keep their own strokes: the other curve's first point does not join this one's.
        QCOMPARE(r.addPoint(2, 5, 5, step), CurveRecorder::Added::First);
        QCOMPARE(r.addPoint(1, 1, 2, step), CurveRecorder::Added::Step);
        QCOMPARE(step.x0, 0.0);
        QCOMPARE(step.y0, 0.0);
        QCOMPARE(step.x1, 1.0);
        QCOMPARE(step.y1, 2.0);
        r.endStroke(1);
        QCOMPARE(r.addPoint(1, 3, 3, step), CurveRecorder::Added::First);
        QCOMPARE(r.addPoint(1, 4, 4, step), CurveRecorder::Added::Step);
        QCOMPARE(step.x0, 3.0);
        const std::vector<tavlix::CurvePoint>& points = r.curves()[0].points;
        QCOMPARE(points.size(), size_t(5));
        QVERIFY(points[2].breaksStroke);
        QCOMPARE(r.curves()[1].style, CurveStyle::Mark1);
        QCOMPARE(r.storedPoints(), 5LL);
    }

    void unknownCurvesAndLabelsTakeNoPoints()
    {
        CurveRecorder r(100);
        r.addCurve(CurveStyle::Line1);
        tavlix::Curve label;
        label.isLabel = true;
        label.points = {{1, 1, false}};
        r.curves().push_back(label);
        CurveRecorder::Step step;
        QCOMPARE(r.addPoint(0, 1, 1, step), CurveRecorder::Added::Ignored);
        QCOMPARE(r.addPoint(3, 1, 1, step), CurveRecorder::Added::Ignored);
        QCOMPARE(r.addPoint(2, 1, 1, step), CurveRecorder::Added::Ignored);
        r.endStroke(3);
        QCOMPARE(r.curves()[1].points.size(), size_t(1));
        QCOMPARE(r.storedPoints(), 0LL);
        // A curve made after a label still draws.
        r.addCurve(CurveStyle::Line3);
        QCOMPARE(r.addPoint(3, 1, 1, step), CurveRecorder::Added::First);
        QCOMPARE(r.addPoint(3, 2, 2, step), CurveRecorder::Added::Step);
    }

    void pointsBeyondTheBoundAreDropped()
    {
        CurveRecorder r(3);
        r.addCurve(CurveStyle::Line1);
        CurveRecorder::Step step;
        for (int i = 0; i < 3; ++i)
            QVERIFY(r.addPoint(1, i, i, step) != CurveRecorder::Added::OverLimit);
        QCOMPARE(r.addPoint(1, 9, 9, step), CurveRecorder::Added::OverLimit);
        QCOMPARE(r.addPoint(1, 9, 9, step), CurveRecorder::Added::OverLimit);
        QCOMPARE(r.curves()[0].points.size(), size_t(3));
        QCOMPARE(r.curves()[0].points.back().x, 2.0);
        r.release();
        QVERIFY(r.curves().empty());
    }

    void engineKinds_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("style");
        QTest::newRow("0 is l1") << 0 << int(CurveStyle::Line1);
        QTest::newRow("5 is l6") << 5 << int(CurveStyle::Line6);
        QTest::newRow("7 is m1") << 7 << int(CurveStyle::Mark1);
        QTest::newRow("12 is m6") << 12 << int(CurveStyle::Mark6);
    }

    void engineKinds()
    {
        QFETCH(int, kind);
        QFETCH(int, style);
        QCOMPARE(int(curveStyleOfKind(kind)), style);
    }
};

QTEST_GUILESS_MAIN(CurveRecorderTest)
#include "CurveRecorderTest.moc"
