// Taking results out of the window: selecting and copying a table, saving tables and graphs as files, the
// legend's command, and printing a table.
#include "MainWindowFixture.h"

#include "graph/GraphExport.h"
#include "graph/GraphView.h"
#include "workspace/GraphPage.h"
#include "workspace/TableModel.h"
#include "workspace/TablePage.h"
#include "workspace/TablePrinter.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QImage>
#include <QMenu>
#include <QMimeData>
#include <QPrinter>
#include <QTableView>

Q_DECLARE_METATYPE(QList<int>)

class TestResultPages : public QObject {
    Q_OBJECT
private:
    // A table page of rows × 2 cells: "t", "y" over "i" and "i*i" (padded as the generation pads them).
    static TablePage* table(MainWindowFixture& f, int rows)
    {
        f.script({});
        auto* page = static_cast<TablePage*>(f.window->createTablePage("test.tvx-1"));
        page->setColumnCount(2);
        page->setRowCount(rows + 1);
        page->setCell(0, 0, "t");
        page->setCell(1, 0, "y");
        for (int r = 1; r <= rows; ++r) {
            page->setCell(0, r, QString("%1").arg(r, 6).toStdString());
            page->setCell(1, r, QString("%1").arg(r * r, 6).toStdString());
        }
        page->showGrid();
        page->model()->sync();
        f.window->activatePage(page);
        return page;
    }

    static GraphPage* graph(MainWindowFixture& f)
    {
        f.script({});
        auto* page = static_cast<GraphPage*>(f.window->createGraphPage("test.tvx-1"));
        page->addCurve(tavlix::CurveStyle::Line2);
        page->addPoint(1, -4, -4);
        page->addPoint(1, 8, 4);
        page->setPrintSize(10, 5);
        f.window->activatePage(page);
        return page;
    }

private slots:
    // Keys and clicks select cells, ranges and columns; "Kopier" copies the block with its header row.
    void selectAndCopy()
    {
        MainWindowFixture f;
        TablePage* page = table(f, 5);
        QTableView* view = page->view();
        view->setFocus();
        view->setCurrentIndex(page->model()->index(1, 0));
        QTest::keyClick(view, Qt::Key_Down, Qt::ShiftModifier);
        QTest::keyClick(view, Qt::Key_Right, Qt::ShiftModifier);
        f.window->onCopy();
        const QMimeData* data = QApplication::clipboard()->mimeData();
        QCOMPARE(data->text(), QString("t\ty\n2\t4\n3\t9\n"));
        QVERIFY(data->html().contains("<td>3</td><td>9</td>"));

        // A click on a column's header selects the column.
        QHeaderView* head = view->horizontalHeader();
        QTest::mouseClick(head->viewport(), Qt::LeftButton, {}, QPoint(head->sectionViewportPosition(1) + 5, 5));
        QCOMPARE(page->selectedRange().firstColumn, 1);
        QCOMPARE(page->selectedRange().lastRow, 4);
        f.window->onCopy();
        QCOMPARE(QApplication::clipboard()->text(), QString("y\n1\n4\n9\n16\n25\n"));

        // Ctrl+A reaches the view: the window's "Marker alt" is no table command.
        view->setFocus();
        QTest::keyClick(view, Qt::Key_A, Qt::ControlModifier);
        const CellRange all = page->selectedRange();
        QCOMPARE(all.cellCount(), 10LL);
        QCOMPARE(all.firstColumn, 0);
    }

    // Ctrl+A and Kopier on a run's table: every row the run wrote, not the empty one the page keeps below them.
    void selectAllCopiesNoEmptyRow()
    {
        MainWindowFixture f;
        tavlix::SettingsTexts s = tavlix::defaultSettings();
        s[8] = "0";
        s[9] = "1";
        s[10] = "4";
        f.script({"Funktioner", "  f = t*t", "TabelVariable", "  t, f"}, &s);
        QVERIFY(f.run());
        auto* page = qobject_cast<TablePage*>(f.window->activePage());
        QVERIFY(page);
        page->view()->setFocus();
        QTest::keyClick(page->view(), Qt::Key_A, Qt::ControlModifier);
        QCOMPARE(page->view()->model()->rowCount(), 6);  // the view shows the kept row
        f.window->onCopy();
        QStringList lines = QApplication::clipboard()->text().split('\n');
        QCOMPARE(lines.takeLast(), QString());
        QCOMPARE(lines.size(), 1 + 5);  // the header, t = 0 to 1 by 0.25
        for (const QString& line : lines)
            QVERIFY2(!QString(line).remove('\t').trimmed().isEmpty(), qPrintable(line));
        QVERIFY(!QApplication::clipboard()->mimeData()->html().contains("<tr><td></td><td></td></tr>"));
    }

    void saveTable_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QByteArray>("start");
        QTest::newRow("csv by ending") << "a.csv"
                                       << "" << QByteArray("\xEF\xBB\xBFt");
        QTest::newRow("tsv by filter") << "a"
                                       << "Tabulatorseparerede filer (*.tsv)" << QByteArray("t\ty\n1\t1\n");
        QTest::newRow("txt by ending beats the filter") << "a.txt"
                                                        << "CSV-filer (*.csv)" << QByteArray("t\ty\n");
    }

    void saveTable()
    {
        QFETCH(QString, name);
        QFETCH(QString, filter);
        QFETCH(QByteArray, start);
        MainWindowFixture f;
        table(f, 3);
        QTemporaryDir dir;
        f.resultName = dir.filePath(name);
        f.resultFilter = filter;
        f.window->action(Command::SaveAs)->trigger();
        QCOMPARE(f.resultFilters.size(), 3);
        const QStringList written = QDir(dir.path()).entryList(QDir::Files);
        QCOMPARE(written.size(), 1);
        QVERIFY(FileBytes(dir.filePath(written[0])).startsWith(start));
        QVERIFY(f.errors.isEmpty());
    }

    // A folder of the chosen name, or one that cannot be written: a Danish message naming the file.
    void unwritableFileIsReported()
    {
        MainWindowFixture f;
        table(f, 3);
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir("a.csv"));
        f.resultName = dir.filePath("a.csv");
        f.window->onSaveAs();
        QCOMPARE(f.errors.size(), 1);
        QVERIFY(f.errors[0].contains("a.csv") && f.errors[0].contains("kan ikke gemmes"));
        f.resultName = dir.filePath("ingen/b.csv");
        f.window->onSaveAs();
        QCOMPARE(f.errors.size(), 2);
        QVERIFY(f.errors[1].contains("b.csv"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList());
    }

    // A 10 × 5 cm drawing with its margins: every format the picture's own size, at 150 dpi for the picture.
    void saveGraph_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("png") << "g.png";
        QTest::newRow("svg") << "g.svg";
        QTest::newRow("pdf") << "g.pdf";
    }

    void saveGraph()
    {
        QFETCH(QString, name);
        MainWindowFixture f;
        graph(f);
        QTemporaryDir dir;
        f.resultName = dir.filePath(name);
        f.window->onSaveAs();
        QVERIFY(f.errors.isEmpty());
        const QByteArray bytes = FileBytes(f.resultName);
        GraphPage* page = static_cast<GraphPage*>(f.window->activePage());
        const auto frame = [page](double dpi) {
            return measurePicture(page->view().view(), page->curves(), 10, 5, dpi).size;
        };
        // Tenths of a millimetre.
        const QSize mm = frame(254);
        QVERIFY2(mm.width() > 1000 && mm.width() < 1200 && mm.height() > 500 && mm.height() < 700,
                 qPrintable(QStringLiteral("%1 x %2").arg(mm.width()).arg(mm.height())));
        if (name.endsWith("png")) {
            const QImage image = QImage::fromData(bytes, "PNG");
            QCOMPARE(image.size(), frame(150));
            QCOMPARE(image.pixelColor(2, 2), QColor(Qt::white));
        } else if (name.endsWith("svg")) {
            QVERIFY(bytes.contains(QStringLiteral("width=\"%1mm\" height=\"%2mm\"")
                                       .arg(mm.width() / 10.0)
                                       .arg(mm.height() / 10.0)
                                       .toUtf8()));
        } else {
            QVERIFY(bytes.startsWith("%PDF"));
            const qsizetype box = bytes.indexOf("/MediaBox");
            QVERIFY2(box > 0, "no page size");
            const QList<QByteArray> numbers = bytes.mid(box + 10, 40).split(']').first().trimmed().split(' ');
            QCOMPARE(numbers.size(), 4);
            QVERIFY2(qAbs(numbers[2].toDouble() - mm.width() / 254.0 * 72) < 0.5, numbers[2].constData());
            QVERIFY2(qAbs(numbers[3].toDouble() - mm.height() / 254.0 * 72) < 0.5, numbers[3].constData());
        }
    }

    // "Vis forklaring" is kept per page and its check mark follows the page entered.
    void legendCommandPerPage()
    {
        MainWindowFixture f;
        GraphPage* first = graph(f);
        QAction* legend = f.window->action(Command::ShowLegend);
        QVERIFY(legend->isChecked() && first->legendShown());
        legend->trigger();
        QVERIFY(!first->legendShown());
        QVERIFY(!first->view().legendShown());
        GraphPage* second = graph(f);
        QVERIFY(second->legendShown());
        QVERIFY(legend->isChecked());
        f.window->activatePage(first);
        QVERIFY(!legend->isChecked());
        QVERIFY(f.window->resultContextMenu(PageKind::Graph)->actions().contains(legend));
        QVERIFY(f.window->resultContextMenu(PageKind::Table)->actions().contains(f.window->action(Command::Copy)));
    }

    // A run's graph page knows its curves by the names the legend shows.
    void runNamesTheCurves()
    {
        MainWindowFixture f;
        f.script({"Funktioner", "  f = t", "  g = 2*t", "GrafVariable", "  t, F, l1   f, g, m2"});
        QVERIFY(f.run());
        auto* page = qobject_cast<GraphPage*>(f.window->activePage());
        QVERIFY(page);
        QCOMPARE(page->curves().size(), std::size_t(2));
        QCOMPARE(page->curves()[0].name, std::string("F"));
        QCOMPARE(page->curves()[1].name, std::string("(f, g)"));
    }

    void columnBands_data()
    {
        QTest::addColumn<QList<int>>("widths");
        QTest::addColumn<int>("room");
        QTest::addColumn<QList<int>>("lastOfEach");
        QTest::newRow("all fit") << QList<int>{10, 10, 10} << 30 << QList<int>{2};
        QTest::newRow("continued") << QList<int>{10, 10, 10} << 25 << QList<int>{1, 2};
        QTest::newRow("one too wide") << QList<int>{40, 10} << 30 << QList<int>{0, 1};
    }

    void columnBands()
    {
        QFETCH(QList<int>, widths);
        QFETCH(int, room);
        QFETCH(QList<int>, lastOfEach);
        QList<int> lasts;
        for (const TablePrinter::Band& b : TablePrinter::columnBands(widths, room))
            lasts << b.last;
        QCOMPARE(lasts, lastOfEach);
    }

    // 120 rows on A4: several sheets, each with "side N af M".
    void printTableToPdf()
    {
        MainWindowFixture f;
        TablePage* page = table(f, 120);
        QTemporaryDir dir;
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(dir.filePath("t.pdf"));
        printer.setPageSize(QPageSize(QPageSize::A4));
        page->print(printer);
        const QByteArray pdf = FileBytes(dir.filePath("t.pdf"));
        const int sheets = static_cast<int>(pdf.count("/Type /Page\n") + pdf.count("/Type /Page\r") +
                                            pdf.count("/Type /Page/") + pdf.count("/Type /Page "));
        QVERIFY2(sheets >= 2 && sheets <= 4, qPrintable(QString::number(sheets)));
        QCOMPARE(TablePrinter::rowBands(120, 50).size(), 3);
        QCOMPARE(TablePrinter::rowBands(0, 50).size(), 1);
    }
};

QTEST_MAIN(TestResultPages)
#include "ResultPagesTest.moc"
