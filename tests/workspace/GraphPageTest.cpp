// The graph page: drawing as points arrive, replay rules, zoom by mouse, text labels, copy and print.
#include "GraphPageFixture.h"
#include "graph/GraphExport.h"
#include "graph/GraphView.h"
#include "workspace/GraphPage.h"
#include "workspace/PageHost.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMimeData>
#include <QPrinter>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include <cmath>
#include <memory>

using tavlix::CurveStyle;
using tavlix::Setting;

namespace {

int CountNot(const QImage& picture, const QImage& before)
{
    int n = 0;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            n += picture.pixel(x, y) != before.pixel(x, y);
    return n;
}

bool Marked(GraphPage& page, double x, double y)
{
    const GraphGeometry& g = page.view().geometry();
    const int px = g.toPixelX(x), py = g.toPixelY(y), o = g.charWidth() / 4;
    const QImage& p = page.view().picture();
    const int r = qRound(p.devicePixelRatio());
    for (int dy = -o * r; dy <= o * r; ++dy)
        for (int dx = -o * r; dx <= o * r; ++dx)
            if (p.pixelColor(px * r + dx, py * r + dy) == QColor(255, 0, 0))
                return true;
    return false;
}

// A drag on the view from one value position to another, as the mouse reports it.
void Drag(GraphView& v, double x0, double y0, double x1, double y1)
{
    const GraphGeometry& g = v.geometry();
    v.handlePress(Qt::LeftButton, {}, g.toPixelX(x0), g.toPixelY(y0));
    v.handleMove({}, g.toPixelX((x0 + x1) / 2), g.toPixelY((y0 + y1) / 2));
    v.handleMove({}, g.toPixelX(x1), g.toPixelY(y1));
    v.handleRelease(Qt::LeftButton, {}, g.toPixelX(x1), g.toPixelY(y1));
}

}  // namespace

class GraphPageTest : public QObject {
    Q_OBJECT
private slots:
    void singlePointDrawsNothing()
    {
        FakeHost host;
        auto page = NewPage(host);
        page->addCurve(CurveStyle::Line2);
        const QImage blank = page->view().picture().copy();
        page->addPoint(1, 0, 0);
        QCOMPARE(page->view().picture(), blank);
        page->fitToWindow();
        QCOMPARE(CountNot(page->view().picture(), blank), 0);
    }

    // Marks have no strokes: the curve's first point is a mark too, live and after a redraw.
    void markCurveFromItsFirstPoint()
    {
        FakeHost host;
        auto page = NewPage(host);
        page->addCurve(CurveStyle::Line2);
        page->addCurve(CurveStyle::Mark2);  // red, as l2 is
        page->addPoint(1, -4, 4);
        page->addPoint(1, -3, 4);
        page->addPoint(2, 0, 0);
        page->addPoint(2, 2, 2);
        page->addPoint(2, 4, -2);
        for (int pass = 0; pass < 2; ++pass) {
            QVERIFY(Marked(*page, 0, 0));
            QVERIFY(Marked(*page, 2, 2));
            QVERIFY(Marked(*page, 4, -2));
            QVERIFY(!Marked(*page, -2, 0));
            page->fitToWindow();
        }
    }

    void breakStartsANewStroke()
    {
        FakeHost host;
        auto page = NewPage(host);
        page->addCurve(CurveStyle::Line2);
        page->addPoint(1, -4, 0);
        page->addPoint(1, -2, 0);
        page->endStroke(1);
        page->addPoint(1, 2, 0);
        page->addPoint(1, 4, 0);
        QCOMPARE(page->curves()[0].points.size(), size_t(5));
        QVERIFY(page->curves()[0].points[2].breaksStroke);
        GraphView& v = page->view();
        const GraphGeometry& g = v.geometry();
        const QColor red(255, 0, 0);
        // Nothing joins -2 to 2 once the pen was lifted, live or replayed.
        for (int pass = 0; pass < 2; ++pass) {
            int gap = 0;
            for (int x = g.toPixelX(-1.5); x <= g.toPixelX(1.5); ++x)
                gap += v.picture().pixelColor(x, g.toPixelY(0)) == red;
            QCOMPARE(gap, 0);
            page->fitToWindow();
        }
    }

    void replayMatchesLiveDrawing_data()
    {
        QTest::addColumn<int>("style");
        QTest::newRow("solid") << int(CurveStyle::Line1);
        QTest::newRow("dashed") << int(CurveStyle::Line2);
        QTest::newRow("dash-dot-dot") << int(CurveStyle::Line5);
    }

    void replayMatchesLiveDrawing()
    {
        QFETCH(int, style);
        FakeHost host;
        auto page = NewPage(host);
        page->addCurve(CurveStyle(style));
        for (int i = 0; i <= 300; ++i) {
            const double t = -6 + 17.0 * i / 300;
            page->addPoint(1, t, 6 * std::sin(t));
        }
        const QImage live = page->view().picture().copy();
        page->fitToWindow();
        // The same steps and the same run of dashes: the replay may differ only where clipped steps meet, and
        // where the wide smoothed pen's dashes, restarted at each live step, fall a pixel apart from the
        // polyline's (a few in a hundred of the inked pixels).
        const auto inked = [](const QImage& picture) {
            return picture.convertToFormat(QImage::Format_Grayscale8)
                .convertToFormat(QImage::Format_Mono, Qt::ThresholdDither);
        };
        const QImage replayed = inked(page->view().picture());
        QImage blank(replayed.size(), QImage::Format_RGB32);
        blank.fill(Qt::white);
        const int ink = CountNot(replayed, inked(blank));
        const int differ = CountNot(replayed, inked(live));
        QVERIFY2(differ < 12 + ink / 20, qPrintable(QString("%1 of %2").arg(differ).arg(ink)));
    }

    void pointsBeyondTheLimitStopTheRun()
    {
        FakeHost host;
        auto page = NewPage(host, Defaults(), 3);
        page->setCaption(QStringLiteral("Graf"));
        page->addCurve(CurveStyle::Line1);
        for (int i = 0; i < 5; ++i)
            page->addPoint(1, i, i);
        QCOMPARE(page->curves()[0].points.size(), size_t(3));
        QCOMPARE(host.stops.size(), 2);
        QVERIFY2(host.stops[0].startsWith(QStringLiteral("Grafen \"Graf\" er blevet for stor (over 3 punkter).")),
                 qPrintable(host.stops[0]));
    }

    void zoomThresholds_data()
    {
        QTest::addColumn<double>("width");
        QTest::addColumn<double>("height");
        QTest::addColumn<bool>("zooms");
        QTest::newRow("a click") << 0.0 << 0.0 << false;
        QTest::newRow("1.4 wide is too narrow") << 1.4 << 2.0 << false;
        QTest::newRow("1.5 wide and 1 high zooms") << 1.52 << 1.02 << true;
        QTest::newRow("0.9 high is too low") << 3.0 << 0.9 << false;
    }

    void zoomThresholds()
    {
        QFETCH(double, width);
        QFETCH(double, height);
        QFETCH(bool, zooms);
        FakeHost host;
        auto page = NewPage(host);
        page->addCurve(CurveStyle::Line1);
        page->addPoint(1, -5, -5);
        page->addPoint(1, 10, 5);
        const QImage before = page->view().picture().copy();
        Drag(page->view(), 0, 0, width, height);
        QVERIFY(!page->view().dragging());
        QVERIFY(!page->view().rubberBandVisible());
        QCOMPARE(page->view().view()[Setting::Xmin] != -5.0, zooms);
        if (!zooms)
            QCOMPARE(page->view().picture(), before);
        // The page's own settings never change.
        QCOMPARE(page->runSettings()[Setting::Xmin], -5.0);
    }

    void zoomDirection()
    {
        FakeHost host;
        auto a = NewPage(host);
        auto b = NewPage(host);
        Drag(a->view(), -2, -3, 4, 2);
        Drag(b->view(), 4, 2, -2, -3);
        const tavlix::CoordinateSettings& va = a->view().view();
        for (Setting s : {Setting::Xmin, Setting::Xmax, Setting::Ymin, Setting::Ymax})
            QCOMPARE(va[s], b->view().view()[s]);
        QVERIFY(va[Setting::Xmin] < va[Setting::Xmax]);
        QVERIFY(std::fabs(va[Setting::Xmin] + 2) < 0.05);
        QVERIFY(std::fabs(va[Setting::Ymax] - 2) < 0.05);
        QCOMPARE(a->view().geometry().clip().xmin, va[Setting::Xmin]);
    }

    void zoomInMarginStartsNothing()
    {
        FakeHost host;
        auto page = NewPage(host);
        GraphView& v = page->view();
        v.handlePress(Qt::LeftButton, {}, 2, v.geometry().toPixelY(0));
        QVERIFY(!v.dragging());
        // A drag that ends beyond the plot zooms to the last reported position.
        Drag(v, 0, 0, 12, 3);
        QVERIFY(v.view()[Setting::Xmax] > 10);
    }

    // A zoom between two x ticks: steps that fit the view (the grid keeps its share), the same anchors; the step
    // back restores the document's steps.
    void zoomFitsStepsAndKeepsAnchors()
    {
        tavlix::CoordinateSettings settings = Defaults();
        settings[Setting::XGridStep] = 1;
        FakeHost host;
        auto page = NewPage(host, settings);
        page->view().zoom(2.2, 2.8, 0.5, 3.5);
        const tavlix::CoordinateSettings& v = page->view().view();
        QCOMPARE(v[Setting::XTickStep], 0.1);
        QCOMPARE(v[Setting::XGridStep], 0.1);
        QCOMPARE(v[Setting::YTickStep], 0.5);
        for (Setting s : {Setting::YAxisAtX, Setting::XAxisAtY, Setting::TCount})
            QCOMPARE(v[s], settings[s]);
        const QImage& p = page->view().picture();
        // Grid lines, which the document's step of 1 left out between 2.2 and 2.8.
        int silver = 0;
        for (int y = page->view().geometry().toPixelY(3); y < page->view().geometry().toPixelY(1); ++y)
            for (int x = 0; x < p.width(); ++x)
                silver += p.pixelColor(x, y) == QColor(192, 192, 192);
        QVERIFY(silver > 0);
        QVERIFY(page->view().stepBack());
        QCOMPARE(page->view().view(), settings);
    }

    void statusPanels()
    {
        FakeHost host;
        auto page = NewPage(host);
        GraphView& v = page->view();
        v.handleMove({}, v.geometry().toPixelX(2.5), v.geometry().toPixelY(1));
        QVERIFY(host.status[0].startsWith(QStringLiteral("x: 2,")));
        QVERIFY(host.status[1].startsWith(QStringLiteral("y: ")));
        // Over the margins both fields are empty.
        v.handleMove({}, 1, v.geometry().toPixelY(1));
        QCOMPARE(host.status[0], QString());
        QCOMPARE(host.status[1], QString());
    }

    void textLabels_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("x");
        QTest::addColumn<bool>("placed");
        QTest::newRow("inside") << QStringLiteral("Top") << 2.0 << true;
        QTest::newRow("empty text") << QString() << 2.0 << false;
        QTest::newRow("outside the plot") << QStringLiteral("Top") << -7.0 << false;
    }

    void textLabels()
    {
        QFETCH(QString, text);
        QFETCH(double, x);
        QFETCH(bool, placed);
        FakeHost host;
        auto page = NewPage(host);
        page->addCurve(CurveStyle::Line1);
        page->armLabelTool();
        GraphView& v = page->view();
        QCOMPARE(v.cursor().shape(), Qt::IBeamCursor);
        QVERIFY(!host.labelEdit.isHidden());
        host.labelEdit.setText(text);
        const GraphGeometry& g = v.geometry();
        // The press is ignored while the tool is armed; the release places the label.
        v.handlePress(Qt::LeftButton, {}, g.toPixelX(x), g.toPixelY(1));
        QVERIFY(!v.dragging());
        v.handleRelease(Qt::LeftButton, {}, g.toPixelX(x), g.toPixelY(1));
        QVERIFY(host.labelEdit.isHidden());
        QCOMPARE(host.labelEdit.text(), QString());
        QCOMPARE(v.cursor().shape(), Qt::ArrowCursor);
        QCOMPARE(page->curves().size(), size_t(1));
        QCOMPARE(page->labels().size(), size_t(placed ? 1 : 0));
        if (placed) {
            const TextLabel& label = page->labels()[0];
            QCOMPARE(QString::fromStdString(label.text), text);
            QVERIFY(std::fabs(label.x - x) < 0.05);
        }
    }

    void labelSurvivesTilpas()
    {
        FakeHost host;
        auto page = NewPage(host);
        GraphView& v = page->view();
        v.zoom(0, 5, 0, 5);
        page->armLabelTool();
        host.labelEdit.setText(QStringLiteral("Her æ"));
        v.handleRelease(Qt::LeftButton, {}, v.geometry().toPixelX(2), v.geometry().toPixelY(2));
        QCOMPARE(page->labels().size(), size_t(1));
        page->fitToWindow();
        QCOMPARE(v.view()[Setting::Xmin], -5.0);
        QCOMPARE(page->labels().size(), size_t(1));
        QCOMPARE(page->labels()[0].text, std::string("Her \xc3\xa6"));
        // The label stands at its value position in the wider view.
        const GraphGeometry& g = v.geometry();
        const int left = g.toPixelX(page->labels()[0].x);
        const int row = g.toPixelY(page->labels()[0].y);
        int black = 0;
        const int r = qRound(v.picture().devicePixelRatio());
        for (int x = left * r; x < (left + 3 * g.charWidth()) * r; ++x)
            for (int y = (row - g.charHeight() / 2) * r; y < (row + g.charHeight() / 2) * r; ++y)
                black += v.picture().pixelColor(x, y) == QColor(Qt::black);
        QVERIFY(black > 5);
    }

    void tilpasFitsThePage()
    {
        FakeHost host;
        auto page = NewPage(host);
        page->resize(900, 500);
        page->fitToWindow();
        QCOMPARE(page->view().size(), QSize(896, 496));
    }

    // Entering a graph page offers its commands and ends a drag.
    void enteringEndsADrag()
    {
        FakeHost host;
        auto page = NewPage(host);
        GraphView& v = page->view();
        v.handlePress(Qt::LeftButton, {}, v.geometry().toPixelX(0), v.geometry().toPixelY(0));
        QVERIFY(v.dragging());
        page->updateCommands();
        QVERIFY(!v.dragging());
        QVERIFY(page->kind() == PageKind::Graph);
        for (Command c : {Command::PrintNow, Command::Print, Command::Copy, Command::FitGraph, Command::AddLabel,
                          Command::PrintSize, Command::SaveAs, Command::ShowLegend, Command::AxesThroughOrigin})
            QVERIFY(host.enabled.contains(c));
        QCOMPARE(host.enabled.size(), 9);
    }

    void sizeFromThePage()
    {
        FakeHost host;
        auto page = NewPage(host);
        page->resize(600, 400);
        const double P = page->view().logicalDpiX();
        page->defaultPrintSize();
        QCOMPARE(page->printWidthCm(), 600 / P * 2.54);
        QCOMPARE(page->printHeightCm(), 400 / P * 2.54);
        QVERIFY(!page->printSizeChosen());
    }

    void sizeDialogSetsTheSize_data()
    {
        QTest::addColumn<bool>("confirm");
        QTest::newRow("OK") << true;
        QTest::newRow("Cancel") << false;
    }

    void sizeDialogSetsTheSize()
    {
        QFETCH(bool, confirm);
        FakeHost host;
        auto page = NewPage(host);
        QTimer::singleShot(0, page.get(), [confirm] {
            auto* dialog = qobject_cast<PrintSizeDialog*>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            dialog->findChild<QLineEdit*>(QStringLiteral("widthEdit"))->setText(QStringLiteral("12"));
            dialog->findChild<QLineEdit*>(QStringLiteral("heightEdit"))->setText(QStringLiteral("8"));
            dialog->findChild<QPushButton*>(confirm ? QStringLiteral("okButton") : QStringLiteral("cancelButton"))
                ->click();
        });
        page->askPrintSize();
        QCOMPARE(page->printSizeChosen(), confirm);
        // The drawing area 12 by 8 cm (or the page's own size), its numbers and half a centimetre all round.
        const QSize frame =
            measurePicture(page->view().view(), page->curves(), page->printWidthCm(), page->printHeightCm(), 254).size;
        if (confirm)
            QVERIFY2(frame.width() > 1100 && frame.width() < 1300, qPrintable(QString::number(frame.width())));
        QVERIFY(page->copySvg().contains(QStringLiteral("width=\"%1mm\" height=\"%2mm\"")
                                             .arg(frame.width() / 10.0)
                                             .arg(frame.height() / 10.0)
                                             .toUtf8()));
    }

    // The size in whole centimetres is shown by the size dialog test; here fractions of a millimetre, zoomed.
    void copyKeepsTheSizeAndTheZoom()
    {
        FakeHost host;
        auto page = NewPage(host);
        page->view().zoom(1, 3, 1, 3);
        page->setPrintSize(15.875, 10.58333);
        const QString svg = QString::fromUtf8(page->copySvg());
        // Tick numbers of the zoomed view only.
        QVERIFY(svg.contains(QStringLiteral(">2<")));
        QVERIFY(!svg.contains(QStringLiteral(">-5<")));
    }

    void copyPutsSvgAndPicture()
    {
        FakeHost host;
        auto page = NewPage(host);
        page->addCurve(CurveStyle::Line1);
        page->addPoint(1, 0, 0);
        page->addPoint(1, 3, 3);
        page->copyToClipboard();
        const QMimeData* data = QApplication::clipboard()->mimeData();
        QVERIFY(data);
        QVERIFY(data->hasFormat(QStringLiteral("image/svg+xml")));
        QVERIFY(data->data(QStringLiteral("image/svg+xml")).contains("<svg"));
        QVERIFY(data->hasImage());
    }

    void printsToPdf()
    {
        QTemporaryDir dir;
        FakeHost host;
        auto page = NewPage(host);
        page->addCurve(CurveStyle::Line3);
        page->addPoint(1, -5, -5);
        page->addPoint(1, 10, 5);
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        const QString file = dir.filePath(QStringLiteral("graf.pdf"));
        printer.setOutputFileName(file);
        page->print(printer);
        QFile pdf(file);
        QVERIFY(pdf.open(QIODevice::ReadOnly));
        const QByteArray bytes = pdf.readAll();
        QVERIFY(bytes.startsWith("%PDF"));
        static const QRegularExpression pageObject(QStringLiteral("/Type\\s*/Page[^s]"));
        QCOMPARE(QString::fromLatin1(bytes).count(pageObject), 1);
    }

    void printFitsThePaper_data()
    {
        QTest::addColumn<double>("width");
        QTest::addColumn<double>("height");
        QTest::addColumn<double>("scale");
        // Room of 15.5 by 25.2 cm: the drawing grows or shrinks to fill it, keeping its proportions.
        QTest::newRow("grows to the width") << 7.75 << 5.0 << 2.0;
        QTest::newRow("exactly the room") << 15.5 << 25.2 << 1.0;
        QTest::newRow("too wide") << 31.0 << 10.0 << 0.5;
        QTest::newRow("too high") << 10.0 << 50.4 << 0.5;
    }

    void printFitsThePaper()
    {
        QFETCH(double, width);
        QFETCH(double, height);
        QFETCH(double, scale);
        QCOMPARE(GraphPage::printScale(width, height, 15.5, 25.2), scale);
    }
};

QTEST_MAIN(GraphPageTest)
#include "GraphPageTest.moc"
