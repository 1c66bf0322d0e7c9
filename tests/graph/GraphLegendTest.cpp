// The legend: which curves it lists and how, where its box stands, and that a hidden legend changes nothing.
#include "graph/GraphExport.h"
#include "graph/GraphLegend.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QPainter>
#include <QtTest>

using tavlix::CurveStyle;

Q_DECLARE_METATYPE(tavlix::CurveList)

namespace {

const tavlix::CoordinateSettings Defaults{{-5, 10, 1, 0, -5, 5, 1, 0, -5, 10, 200, 0, 0, 0.00005, 0, 0}};

tavlix::Curve curve(CurveStyle style, const char* name)
{
    tavlix::Curve c;
    c.style = style;
    c.name = name;
    c.points = {{-4, -4, false}, {8, 4, false}};
    return c;
}

tavlix::Curve member(const char* name, int member, const char* value)
{
    tavlix::Curve c = curve(CurveStyle::Line1, name);
    c.origin = tavlix::CurveOrigin::FamilyMember;
    c.familyMember = member;
    c.familyCurrent = member == 2;
    c.familyLabel = value;
    return c;
}

QStringList names(const QList<GraphLegend::Entry>& entries)
{
    QStringList list;
    for (const GraphLegend::Entry& e : entries)
        list << e.name;
    return list;
}

}  // namespace

class GraphLegendTest : public QObject {
    Q_OBJECT
private slots:
    void entries_data()
    {
        QTest::addColumn<tavlix::CurveList>("curves");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("t-curves, (x, y)-curves and marks in order")
            << tavlix::CurveList{curve(CurveStyle::Line1, "y"), curve(CurveStyle::Mark3, "(x, y)"),
                                 curve(CurveStyle::Line2, "f")}
            << QStringList{"y", "(x, y)", "f"};
        QTest::newRow("a family by value, the current one first in the list of curves")
            << tavlix::CurveList{member("y", 2, "k = 1"), member("y", 1, "k = 0,5"), member("y", 3, "k = 2")}
            << QStringList{"k = 0,5", "k = 1", "k = 2"};
        QTest::newRow("a family of two curves names both")
            << tavlix::CurveList{member("f", 2, "k = 1"), member("g", 2, "k = 1"), member("f", 1, "k = 0,5"),
                                 member("g", 1, "k = 0,5")}
            << QStringList{"f, k = 0,5", "g, k = 0,5", "f, k = 1", "g, k = 1"};
        tavlix::CurveList withSolution{member("y", 2, "k = 1"), member("y", 1, "k = 0,5")};
        withSolution.insert(withSolution.begin(), curve(CurveStyle::Line2, "gennem (0; 2)"));
        withSolution.front().origin = tavlix::CurveOrigin::Solution;
        QTest::newRow("solutions through a point after the family")
            << withSolution << QStringList{"k = 0,5", "k = 1", "gennem (0; 2)"};
        tavlix::CurveList twelve;
        QStringList firstTen;
        for (int i = 1; i <= 12; ++i) {
            twelve.push_back(curve(CurveStyle::Line1, qPrintable(QString("f%1").arg(i))));
            if (i <= 10)
                firstTen << QString("f%1").arg(i);
        }
        QTest::newRow("more than ten curves") << twelve << (firstTen << "… og 2 mere");
    }

    void entries()
    {
        QFETCH(tavlix::CurveList, curves);
        QFETCH(QStringList, expected);
        const QList<GraphLegend::Entry> list = GraphLegend::entries(curves);
        QCOMPARE(names(list), expected);
        for (int i = 0; i < list.size(); ++i)
            QCOMPARE(list[i].more, i == GraphLegend::MaxEntries);
    }

    void longNamesAreShortened()
    {
        const QFontMetrics fm{QFont()};
        const QString name = QString("a").repeated(200);
        const QString shown = GraphLegend::fitted(name, fm, 100);
        QVERIFY(shown.endsWith(QChar(0x2026)));
        QVERIFY(fm.horizontalAdvance(shown) <= 100);
        QCOMPARE(GraphLegend::fitted("y", fm, 100), QString("y"));
    }

    // The box stands in the upper right quarter of the picture, framed and white; hidden, nothing else changes.
    void boxInTheUpperRightCorner()
    {
        const tavlix::CurveList curves{curve(CurveStyle::Line2, "y"), curve(CurveStyle::Mark6, "(x, y)")};
        const QImage with = graphScreenImage(Defaults, curves, 800, 600, true);
        const QImage without = graphScreenImage(Defaults, curves, 800, 600, false);
        QRect changed;
        for (int y = 0; y < with.height(); ++y)
            for (int x = 0; x < with.width(); ++x)
                if (with.pixel(x, y) != without.pixel(x, y))
                    changed |= QRect(x, y, 1, 1);
        QVERIFY(!changed.isEmpty());
        QVERIFY2(
            changed.left() > 600 && changed.bottom() < 150,
            qPrintable(
                QString("%1,%2 %3x%4").arg(changed.x()).arg(changed.y()).arg(changed.width()).arg(changed.height())));
        // Labels alone draw no legend: the two pictures are the same.
        const LabelList labels{{0, 0, "top"}};
        QCOMPARE(graphScreenImage(Defaults, {}, 400, 300, {true, false, &labels}),
                 graphScreenImage(Defaults, {}, 400, 300, {false, false, &labels}));
    }
};

QTEST_MAIN(GraphLegendTest)
#include "GraphLegendTest.moc"
