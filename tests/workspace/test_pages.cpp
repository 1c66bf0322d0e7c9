// The table page's grid and storage, and the script page's editor, lines and printing.
#include "FormFixture.h"

#include "workspace/TCellStore.h"
#include "workspace/TTabTabel.h"
#include "workspace/TTabelModel.h"

#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QMimeData>
#include <QPrinter>
#include <QTableView>

class TestPages : public QObject {
    Q_OBJECT
private slots:
    void cellStore_data()
    {
        QTest::addColumn<int>("cols");
        QTest::addColumn<int>("rows");
        QTest::newRow("one cell") << 1 << 1;
        QTest::newRow("wide") << 10 << 3;
        QTest::newRow("long") << 4 << 100000;
    }

    void cellStore()
    {
        QFETCH(int, cols);
        QFETCH(int, rows);
        TCellStore s;
        s.SetColCount(cols);
        s.SetRowCount(rows);
        for (int r = 0; r < rows; ++r)
            for (int c = 0; c < cols; ++c)
                s.SetCell(c, r, std::to_string(r * 31 + c));
        for (int r = 0; r < rows; r += std::max(1, rows / 97))
            for (int c = 0; c < cols; ++c)
                QCOMPARE(std::string(s.Cell(c, r)), std::to_string(r * 31 + c));
        QVERIFY(s.Cell(cols, 0).empty());
        QVERIFY(s.Cell(0, rows).empty());
        QVERIFY(s.Cell(-1, 0).empty());
    }

    void cellStoreReshapes()
    {
        TCellStore s;
        s.SetColCount(2);
        s.SetRowCount(2);
        s.SetCell(0, 0, "a");
        s.SetCell(1, 1, "d");
        s.SetCell(1, 1, "dd");  // rewritten
        s.SetCell(5, 5, "ignored");
        s.SetColCount(3);
        QCOMPARE(std::string(s.Cell(0, 0)), std::string("a"));
        QCOMPARE(std::string(s.Cell(1, 1)), std::string("dd"));
        QVERIFY(s.Cell(2, 1).empty());
        s.SetRowCount(1);
        s.SetRowCount(2);
        QVERIFY(s.Cell(1, 1).empty());
        s.SetColCount(1);
        QCOMPARE(std::string(s.Cell(0, 0)), std::string("a"));
        // A text longer than a storage chunk still comes back whole.
        std::string big(3 << 20, 'x');
        s.SetCell(0, 1, big);
        QCOMPARE(s.Cell(0, 1).size(), big.size());
        QCOMPARE(std::string(s.Cell(0, 0)), std::string("a"));
    }

    // A million rows of four cells stay well inside the memory budget.
    void cellStoreIsCompact()
    {
        TCellStore s;
        s.SetColCount(4);
        for (int r = 0; r < 1000000; ++r) {
            s.SetRowCount(r + 1);
            for (int c = 0; c < 4; ++c)
                s.SetCell(c, r, "   -0.123456");
        }
        QVERIFY(s.Footprint() < 120u * 1024 * 1024);
    }

    void tableGrid()
    {
        FormFixture f;
        f.script({});
        auto* page = static_cast<TTabTabel*>(f.form->LavTabel("x-1"));
        QVERIFY(!page->Grid->isVisibleTo(page));
        page->setColumnCount(3);
        page->setRowCount(2);
        page->setCell(0, 0, "t");
        page->setCell(1, 0, "y\xE6");
        page->show();
        QVERIFY(page->Grid->isVisibleTo(page));
        for (int r = 0; r < 50; ++r) {
            page->setRowCount(page->rowCount() + 1);
            page->setCell(0, page->rowCount() - 2, "  " + std::to_string(r));
        }
        // The rows reach the view in one batch once events are handled.
        QCOMPARE(page->Model->rowCount(), 1);
        QTRY_COMPARE(page->Model->rowCount(), 51);
        QCOMPARE(page->Model->data(page->Model->index(0, 0), Qt::DisplayRole).toString(), QString("0"));
        QCOMPARE(page->Model->data(page->Model->index(49, 0), Qt::DisplayRole).toString(), QString("49"));
        QCOMPARE(page->Model->headerData(1, Qt::Horizontal, Qt::DisplayRole).toString(), QString::fromUtf8("yæ"));
        QCOMPARE(page->CellText(1, 0), QString::fromUtf8("yæ"));
        QCOMPARE(page->Grid->columnWidth(2), 80);
        QCOMPARE(page->Grid->rowHeight(10), 24);
        QCOMPARE(page->Grid->horizontalHeader()->height(), 24);
        QVERIFY(!page->Grid->verticalHeader()->isVisible());
        QCOMPARE(page->Grid->editTriggers(), QAbstractItemView::NoEditTriggers);
        QCOMPARE(page->Grid->selectionMode(), QAbstractItemView::ContiguousSelection);
        QCOMPARE(page->Grid->horizontalHeader()->sectionResizeMode(0), QHeaderView::Fixed);
        QVERIFY(!(page->Model->flags(page->Model->index(3, 1)) & Qt::ItemIsEditable));

        // Typing on a selected cell changes nothing.
        page->Grid->setCurrentIndex(page->Model->index(3, 0));
        QTest::keyClicks(page->Grid, "99");
        QTest::keyClick(page->Grid, Qt::Key_Return);
        QCOMPARE(page->CellText(0, 4), QString("  3"));

        // A cell written after its row was shown is shown too.
        page->setCell(2, 4, "late");
        QTRY_COMPARE(page->Model->data(page->Model->index(3, 2), Qt::DisplayRole).toString(), QString("late"));
    }

    void scriptLines_data()
    {
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("none") << QStringList{};
        QTest::newRow("one") << QStringList{"Konstanter"};
        QTest::newRow("one empty") << QStringList{""};
        QTest::newRow("last empty") << QStringList{"a", ""};
        QTest::newRow("blank inside") << QStringList{"a", "", "", "b"};
        QTest::newRow("tabs and long") << QStringList{"\ta\tb", QString(5000, 'x')};
    }

    // The lines put into the editor come back unchanged: a final empty editor line is not a line.
    void scriptLines()
    {
        QFETCH(QStringList, lines);
        FormFixture f;
        TTabMemo* m = f.script(lines);
        QCOMPARE(m->Lines(), lines);
    }

    void editorBehaviour()
    {
        FormFixture f;
        TTabMemo* m = f.script({});
        QCOMPARE(m->Editor->lineWrapMode(), QPlainTextEdit::NoWrap);
        m->Editor->setFocus();
        QTest::keyClick(m->Editor, Qt::Key_Tab);
        QCOMPARE(m->Lines(), QStringList{"\t"});
        QVERIFY(m->Modified);
        QVERIFY(m->Editor->hasFocus());
        QCOMPARE(m->Editor->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);

        // Formatted text arrives as its characters only.
        auto* mime = new QMimeData;
        mime->setHtml("<b>fed</b> <i>kursiv</i>");
        mime->setText("fed kursiv");
        QApplication::clipboard()->setMimeData(mime);
        f.form->Marker1Click();
        f.form->Stind1Click();
        QCOMPARE(m->Lines(), QStringList{"fed kursiv"});

        // Copy takes the selection; delete leaves the clipboard alone.
        QTextCursor c = m->Editor->textCursor();
        c.setPosition(0);
        c.setPosition(3, QTextCursor::KeepAnchor);
        m->Editor->setTextCursor(c);
        f.form->Kopier1Click();
        QCOMPARE(QApplication::clipboard()->text(), QString("fed"));
        c.setPosition(4);
        c.setPosition(10, QTextCursor::KeepAnchor);
        m->Editor->setTextCursor(c);
        f.form->Ryd1Click();
        QCOMPARE(m->Lines(), QStringList{"fed "});
        QCOMPARE(QApplication::clipboard()->text(), QString("fed"));
        f.form->Marker1Click();
        f.form->Klip1Click();
        QCOMPARE(m->Lines(), QStringList{});
        QCOMPARE(QApplication::clipboard()->text(), QString("fed "));
    }

    // The caption and an empty line on the first page, then the script with page breaks as needed.
    void printPages_data()
    {
        QTest::addColumn<int>("lines");
        QTest::addColumn<bool>("severalPages");
        QTest::newRow("empty script") << 0 << false;
        QTest::newRow("short") << 10 << false;
        QTest::newRow("long") << 400 << true;
    }

    void printPages()
    {
        QFETCH(int, lines);
        QFETCH(bool, severalPages);
        FormFixture f;
        QStringList script;
        for (int i = 0; i < lines; ++i)
            script << QString("  linje %1").arg(i);
        TTabMemo* m = f.script(script);
        QTemporaryDir dir;
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(dir.filePath("ud.pdf"));
        printer.setPdfVersion(QPagedPaintDevice::PdfVersion_1_4);
        m->Print(printer);
        QByteArray pdf = FileBytes(dir.filePath("ud.pdf"));
        QVERIFY(pdf.startsWith("%PDF"));
        int pages = pdf.count("/Type /Page\n") + pdf.count("/Type /Page\r") + pdf.count("/Type /Page ")
                    + pdf.count("/Type /Page/") + pdf.count("/Type /Page>");
        QVERIFY2(pages >= 1, pdf.left(2000).constData());
        QCOMPARE(pages > 1, severalPages);
        QVERIFY(f.errors.isEmpty());
    }
};

QTEST_MAIN(TestPages)
#include "test_pages.moc"
