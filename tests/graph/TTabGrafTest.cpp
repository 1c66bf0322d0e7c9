// The graph page: drawing as points arrive, replay rules, zoom by mouse, text labels, copy and print.
#include "graph/GraphExport.h"
#include "graph/TGraf.h"
#include "graph/TOKBottomDlg.h"
#include "graph/TTabGraf.h"
#include "workspace/MainWindow.h"

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

namespace {

const double Defaults[16] = {-5, 10, 1, 0, -5, 5, 1, 0, -5, 10, 200, 0, 0, 0.00005, 0, 0};

// The window the pages report to, made once for the whole test.
MainWindow* Window = nullptr;

std::unique_ptr<TTabGraf> NewPage(const double (&settings)[16] = Defaults)
{
    auto page = std::make_unique<TTabGraf>(*Window, 600, 400);
    page->resize(604, 404);
    page->SetSettings(settings);
    page->begynd();
    return page;
}

int CountNot(const QImage& picture, const QImage& before)
{
    int n = 0;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            n += picture.pixel(x, y) != before.pixel(x, y);
    return n;
}

bool Marked(TTabGraf& page, double x, double y)
{
    TGraf& g = *page.graf;
    const int px = g.xCalc(x), py = g.yCalc(y), o = g.charW / 4;
    const QImage& p = g.Picture();
    const int r = qRound(p.devicePixelRatio());
    for (int dy = -o * r; dy <= o * r; ++dy)
        for (int dx = -o * r; dx <= o * r; ++dx)
            if (p.pixelColor(px * r + dx, py * r + dy) == QColor(255, 0, 0))
                return true;
    return false;
}

// A drag on the surface from one value position to another, as the mouse reports it.
void Drag(TGraf& g, double x0, double y0, double x1, double y1)
{
    g.MouseDownProc(Qt::LeftButton, {}, g.xCalc(x0), g.yCalc(y0));
    g.MouseMoveProc({}, g.xCalc((x0 + x1) / 2), g.yCalc((y0 + y1) / 2));
    g.MouseMoveProc({}, g.xCalc(x1), g.yCalc(y1));
    g.myMouseUp(Qt::LeftButton, {}, g.xCalc(x1), g.yCalc(y1));
}

}  // namespace

class TTabGrafTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        form = std::make_unique<MainWindow>();
        form->openStartFilesOnShow = false;
        Window = form.get();
    }

    void cleanupTestCase()
    {
        Window = nullptr;
        form.reset();
    }

    void singlePointDrawsNothing()
    {
        auto page = NewPage();
        page->Makekurve(1);
        const QImage blank = page->graf->Picture().copy();
        page->Draw2(1, 0, 0);
        QCOMPARE(page->graf->Picture(), blank);
        page->myrepaint();
        QCOMPARE(CountNot(page->graf->Picture(), blank), 0);
    }

    void markCurveFromItsSecondPoint()
    {
        auto page = NewPage();
        page->Makekurve(1);  // a red line first, so the marks are red
        page->Makekurve(10);
        page->Draw2(1, -4, 4);
        page->Draw2(1, -3, 4);
        page->Draw2(2, 0, 0);
        page->Draw2(2, 2, 2);
        page->Draw2(2, 4, -2);
        QVERIFY(!Marked(*page, 0, 0));
        QVERIFY(Marked(*page, 2, 2));
        QVERIFY(Marked(*page, 4, -2));
        page->myrepaint();
        QVERIFY(!Marked(*page, 0, 0));
        QVERIFY(Marked(*page, 2, 2));
        QVERIFY(Marked(*page, 4, -2));
    }

    void breakStartsANewStroke()
    {
        auto page = NewPage();
        page->Makekurve(1);
        page->Draw2(1, -4, 0);
        page->Draw2(1, -2, 0);
        page->Penup(1);
        page->Draw2(1, 2, 0);
        page->Draw2(1, 4, 0);
        QCOMPARE(page->curves[0].points.size(), size_t(5));
        QVERIFY(!page->curves[0].points[2].isPoint);
        TGraf& g = *page->graf;
        const QColor red(255, 0, 0);
        // Nothing joins -2 to 2 once the pen was lifted, live or replayed.
        for (int pass = 0; pass < 2; ++pass) {
            int gap = 0;
            for (int x = g.xCalc(-1.5); x <= g.xCalc(1.5); ++x)
                gap += g.Picture().pixelColor(x, g.yCalc(0)) == red;
            QCOMPARE(gap, 0);
            page->myrepaint();
        }
    }

    void replayMatchesLiveDrawing_data()
    {
        QTest::addColumn<int>("kind");
        QTest::newRow("solid") << 0;
        QTest::newRow("dashed") << 1;
        QTest::newRow("dash-dot-dot") << 4;
    }

    void replayMatchesLiveDrawing()
    {
        QFETCH(int, kind);
        auto page = NewPage();
        page->Makekurve(kind);
        for (int i = 0; i <= 300; ++i) {
            const double t = -6 + 17.0 * i / 300;
            page->Draw2(1, t, 6 * std::sin(t));
        }
        const QImage live = page->graf->Picture().copy();
        page->myrepaint();
        // The same steps and the same run of dashes: the replay may differ only where clipped steps meet.
        QVERIFY(CountNot(page->graf->Picture(), live) < 12);
    }

    void unknownCurveIsIgnored()
    {
        auto page = NewPage();
        page->Makekurve(0);
        page->Draw2(0, 1, 1);
        page->Draw2(2, 1, 1);
        page->Penup(3);
        QCOMPARE(page->curves.size(), size_t(1));
        QVERIFY(page->curves[0].points.empty());
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
        auto page = NewPage();
        page->Makekurve(0);
        page->Draw2(1, -5, -5);
        page->Draw2(1, 10, 5);
        const QImage before = page->graf->Picture().copy();
        Drag(*page->graf, 0, 0, width, height);
        QVERIFY(!page->graf->dragging);
        QVERIFY(!page->graf->BandVisible());
        QCOMPARE(page->graf->Settings[TGraf::iXmin] != -5.0, zooms);
        if (!zooms)
            QCOMPARE(page->graf->Picture(), before);
        // The page's own settings never change.
        QCOMPARE(page->Settings[TGraf::iXmin], -5.0);
    }

    void zoomDirection()
    {
        auto a = NewPage();
        auto b = NewPage();
        Drag(*a->graf, -2, -3, 4, 2);
        Drag(*b->graf, 4, 2, -2, -3);
        for (int i : {TGraf::iXmin, TGraf::iXmax, TGraf::iYMin, TGraf::iYMax})
            QCOMPARE(a->graf->Settings[i], b->graf->Settings[i]);
        QVERIFY(a->graf->Settings[TGraf::iXmin] < a->graf->Settings[TGraf::iXmax]);
        QVERIFY(std::fabs(a->graf->Settings[TGraf::iXmin] + 2) < 0.05);
        QVERIFY(std::fabs(a->graf->Settings[TGraf::iYMax] - 2) < 0.05);
        QCOMPARE(a->graf->clipXmin, a->graf->Settings[TGraf::iXmin]);
    }

    void zoomInMarginStartsNothing()
    {
        auto page = NewPage();
        TGraf& g = *page->graf;
        g.MouseDownProc(Qt::LeftButton, {}, 2, g.yCalc(0));
        QVERIFY(!g.dragging);
        // A drag that ends beyond the plot zooms to the last reported position.
        Drag(g, 0, 0, 12, 3);
        QVERIFY(g.Settings[TGraf::iXmax] > 10);
    }

    void zoomKeepsStepsAndAnchors()
    {
        double settings[16];
        std::copy(Defaults, Defaults + 16, settings);
        settings[TGraf::iXGitter] = 1;
        auto page = NewPage(settings);
        page->graf->Zoom(2.2, 2.8, 0.5, 3.5);
        for (int i : {TGraf::iXEnhed, TGraf::iYCross, TGraf::iXGitter, TGraf::iTAntal})
            QCOMPARE(page->graf->Settings[i], settings[i]);
        // Between two x ticks (an empty walk, as the surface tests show): no vertical grid lines.
        const QImage& p = page->graf->Picture();
        int silver = 0;
        for (int x = 0; x < p.width(); ++x)
            silver += p.pixelColor(x, page->graf->yCalc(2.25)) == QColor(192, 192, 192);
        QCOMPARE(silver, 0);
    }

    void statusPanels()
    {
        auto page = NewPage();
        TGraf& g = *page->graf;
        g.MouseMoveProc({}, g.xCalc(2.5), g.yCalc(1));
        QVERIFY(Window->status(StatusField::X).startsWith(QStringLiteral("x: 2,")));
        QVERIFY(Window->status(StatusField::Y).startsWith(QStringLiteral("y: ")));
        // Over the margins both panels are empty.
        g.MouseMoveProc({}, 1, g.yCalc(1));
        QCOMPARE(Window->status(StatusField::X), QString());
        QCOMPARE(Window->status(StatusField::Y), QString());
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
        auto page = NewPage();
        page->Makekurve(0);
        page->BeginText();
        QCOMPARE(page->graf->cursor().shape(), Qt::IBeamCursor);
        Window->labelTextEdit()->setText(text);
        TGraf& g = *page->graf;
        // The press is ignored while the tool is armed; the release places the label.
        g.MouseDownProc(Qt::LeftButton, {}, g.xCalc(x), g.yCalc(1));
        QVERIFY(!g.dragging);
        g.myMouseUp(Qt::LeftButton, {}, g.xCalc(x), g.yCalc(1));
        QVERIFY(Window->labelTextEdit()->isHidden());
        QCOMPARE(Window->labelTextEdit()->text(), QString());
        QCOMPARE(g.cursor().shape(), Qt::ArrowCursor);
        QCOMPARE(page->curves.size(), size_t(placed ? 2 : 1));
        if (placed) {
            QCOMPARE(page->curves[1].kind, TKurve::TextKind);
            QCOMPARE(page->curves[1].text, text);
            QVERIFY(std::fabs(page->curves[1].lastX - x) < 0.05);
        }
    }

    void labelSurvivesTilpas()
    {
        auto page = NewPage();
        TGraf& g = *page->graf;
        g.Zoom(0, 5, 0, 5);
        page->BeginText();
        Window->labelTextEdit()->setText(QStringLiteral("Her"));
        g.myMouseUp(Qt::LeftButton, {}, g.xCalc(2), g.yCalc(2));
        QCOMPARE(page->curves.size(), size_t(1));
        page->myrepaint();
        QCOMPARE(page->graf->Settings[TGraf::iXmin], -5.0);
        QCOMPARE(page->curves.size(), size_t(1));
        // The label stands at its value position in the wider view.
        const int left = page->graf->xCalc(page->curves[0].lastX);
        const int row = page->graf->yCalc(page->curves[0].lastY);
        int black = 0;
        const int r = qRound(page->graf->Picture().devicePixelRatio());
        for (int x = left * r; x < (left + 3 * page->graf->charW) * r; ++x)
            for (int y = (row - page->graf->charH / 2) * r; y < (row + page->graf->charH / 2) * r; ++y)
                black += page->graf->Picture().pixelColor(x, y) == QColor(Qt::black);
        QVERIFY(black > 5);
    }

    void tilpasFitsThePage()
    {
        auto page = NewPage();
        page->resize(900, 500);
        page->myrepaint();
        QCOMPARE(page->graf->size(), QSize(896, 496));
    }

    // Which commands a graph page offers is in the window's availability table; entering one also ends a drag.
    void enteringEndsADrag()
    {
        auto page = NewPage();
        page->graf->dragging = true;
        page->updateCommands();
        QVERIFY(!page->graf->dragging);
        QCOMPARE(page->kind(), PageKind::Graph);
    }

    void sizeFromThePage()
    {
        auto page = NewPage();
        page->resize(600, 400);
        const double P = page->graf->logicalDpiX();
        page->ComputeSize();
        QCOMPARE(page->printWidth, 600 / P * 2.54);
        QCOMPARE(page->printHeight, 400 / P * 2.54);
        QVERIFY(!page->sizeSet);
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
        auto page = NewPage();
        QTimer::singleShot(0, page.get(), [confirm] {
            auto* dialog = qobject_cast<TOKBottomDlg*>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            dialog->Edit1->setText(QStringLiteral("12"));
            dialog->Edit2->setText(QStringLiteral("8"));
            (confirm ? dialog->OKBtn : dialog->CancelBtn)->click();
        });
        page->NySize();
        QCOMPARE(page->sizeSet, confirm);
        const QByteArray svg = page->MetaSvg();
        QCOMPARE(svg.contains("width=\"144mm\" height=\"96mm\""), confirm);
    }

    // The size in whole centimetres is shown by the size dialog test; here fractions of a millimetre, zoomed.
    void copyKeepsTheSizeAndTheZoom()
    {
        auto page = NewPage();
        page->graf->Zoom(1, 3, 1, 3);
        page->sizeSet = true;
        page->printWidth = 15.875;
        page->printHeight = 10.58333;
        const QString svg = QString::fromUtf8(page->MetaSvg());
        QVERIFY2(svg.contains(QStringLiteral("width=\"190.5mm\" height=\"127mm\"")), qPrintable(svg.left(400)));
        // Tick numbers of the zoomed view only.
        QVERIFY(svg.contains(QStringLiteral(">2<")));
        QVERIFY(!svg.contains(QStringLiteral(">-5<")));
    }

    void copyPutsSvgAndPicture()
    {
        auto page = NewPage();
        page->Makekurve(0);
        page->Draw2(1, 0, 0);
        page->Draw2(1, 3, 3);
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
        auto page = NewPage();
        page->Makekurve(2);
        page->Draw2(1, -5, -5);
        page->Draw2(1, 10, 5);
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
        // A4 printable area of 19 by 27.7 cm leaves 15.5 by 25.2 cm beside the offsets and the frame.
        QTest::newRow("fits") << 12.0 << 8.0 << 1.0;
        QTest::newRow("exactly the room") << 15.5 << 25.2 << 1.0;
        QTest::newRow("too wide") << 31.0 << 10.0 << 0.5;
        QTest::newRow("too high") << 10.0 << 50.4 << 0.5;
    }

    void printFitsThePaper()
    {
        QFETCH(double, width);
        QFETCH(double, height);
        QFETCH(double, scale);
        QCOMPARE(TTabGraf::PrintScale(width, height, 19, 27.7), scale);
    }

    void batchPictures()
    {
        QTemporaryDir dir;
        TKurveList curves(1);
        curves[0].kind = 0;
        curves[0].points = {{-5, -5, true}, {10, 5, true}};
        std::string error;
        const std::string stem = dir.filePath(QStringLiteral("demo.tvx-1")).toStdString();
        QVERIFY(ExportGraph(stem, Defaults, curves, error));
        QImage png(QString::fromStdString(stem + ".png"));
        QCOMPARE(png.size(), QSize(ExportWidth, ExportHeight));
        QFile svg(QString::fromStdString(stem + ".svg"));
        QVERIFY(svg.open(QIODevice::ReadOnly));
        QVERIFY(svg.readAll().contains("<svg"));
        QVERIFY(!ExportGraph("/nonexistent/dir/x", Defaults, curves, error));
        QVERIFY(!error.empty());
    }

private:
    std::unique_ptr<MainWindow> form;
};

QTEST_MAIN(TTabGrafTest)
#include "TTabGrafTest.moc"
