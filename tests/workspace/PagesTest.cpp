// The table page's grid and storage, and the script page's editor, lines and printing.
#include "MainWindowFixture.h"

#include "workspace/CellStore.h"
#include "workspace/TableModel.h"
#include "workspace/TablePage.h"

#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QLineEdit>
#include <QMimeData>
#include <QPrinter>
#include <QTableView>

#include <vector>

namespace {

// A window stand-in that records what a page asks of it: pages need nothing but their host.
class RecordingHost : public PageHost {
public:
    void resetCommands() override { calls.push_back("reset"); }
    void setCommandEnabled(Command command, bool on) override
    {
        calls.push_back(QString("%1 %2").arg(int(command)).arg(on ? "on" : "off"));
    }
    void setStatus(StatusField, const QString&) override {}
    void stopRun(const QString& reason) override { stops << reason; }
    void reportError(const QString& text) override { errors << text; }
    QLineEdit* labelTextEdit() override { return &labelText; }
    QMenu* contextMenu() override { return nullptr; }
    void pageCaptionChanged(QWidget*, const QString& caption) override { captions << caption; }
    void dockSectionPanel(QWidget*, QBoxLayout*) override { calls.push_back("dock"); }
    void startEditCommandPoll() override { calls.push_back("poll"); }
    bool askPrintSize(double&, double&) override { return false; }

    bool enabled(Command command) const { return calls.contains(QString("%1 on").arg(int(command))); }

    QStringList calls;
    QStringList stops;
    QStringList errors;
    QStringList captions;
    QLineEdit labelText;
};

}  // namespace

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
        CellStore s;
        s.setColumnCount(cols);
        s.setRowCount(rows);
        for (int r = 0; r < rows; ++r)
            for (int c = 0; c < cols; ++c)
                s.setCell(c, r, std::to_string(r * 31 + c));
        for (int r = 0; r < rows; r += std::max(1, rows / 97))
            for (int c = 0; c < cols; ++c)
                QCOMPARE(std::string(s.cell(c, r)), std::to_string(r * 31 + c));
        QVERIFY(s.cell(cols, 0).empty());
        QVERIFY(s.cell(0, rows).empty());
        QVERIFY(s.cell(-1, 0).empty());
    }

    void cellStoreReshapes()
    {
        CellStore s;
        s.setColumnCount(2);
        s.setRowCount(2);
        s.setCell(0, 0, "a");
        s.setCell(1, 1, "d");
        s.setCell(1, 1, "dd");  // rewritten
        s.setCell(5, 5, "ignored");
        s.setColumnCount(3);
        QCOMPARE(std::string(s.cell(0, 0)), std::string("a"));
        QCOMPARE(std::string(s.cell(1, 1)), std::string("dd"));
        QVERIFY(s.cell(2, 1).empty());
        s.setRowCount(1);
        s.setRowCount(2);
        QVERIFY(s.cell(1, 1).empty());
        s.setColumnCount(1);
        QCOMPARE(std::string(s.cell(0, 0)), std::string("a"));
        // A text longer than a storage chunk still comes back whole.
        std::string big(3 << 20, 'x');
        s.setCell(0, 1, big);
        QCOMPARE(s.cell(0, 1).size(), big.size());
        QCOMPARE(std::string(s.cell(0, 0)), std::string("a"));
    }

    // A million rows of four cells stay well inside the memory budget.
    void cellStoreIsCompact()
    {
        CellStore s;
        s.setColumnCount(4);
        for (int r = 0; r < 1000000; ++r) {
            s.setRowCount(r + 1);
            for (int c = 0; c < 4; ++c)
                s.setCell(c, r, "   -0.123456");
        }
        QVERIFY(s.bytesHeld() < 120u * 1024 * 1024);
    }

    void tableGrid()
    {
        MainWindowFixture f;
        f.script({});
        auto* page = static_cast<TablePage*>(f.window->createTablePage("x-1"));
        QVERIFY(!page->view()->isVisibleTo(page));
        page->setColumnCount(3);
        page->setRowCount(2);
        page->setCell(0, 0, "t");
        page->setCell(1, 0, "y\xE6");
        page->showGrid();
        QVERIFY(page->view()->isVisibleTo(page));
        for (int r = 0; r < 50; ++r) {
            page->setRowCount(page->rowCount() + 1);
            page->setCell(0, page->rowCount() - 2, "  " + std::to_string(r));
        }
        // The rows reach the view in one batch once events are handled.
        QCOMPARE(page->model()->rowCount(), 1);
        QTRY_COMPARE(page->model()->rowCount(), 51);
        QCOMPARE(page->model()->data(page->model()->index(0, 0), Qt::DisplayRole).toString(), QString("0"));
        QCOMPARE(page->model()->data(page->model()->index(49, 0), Qt::DisplayRole).toString(), QString("49"));
        QCOMPARE(page->model()->headerData(1, Qt::Horizontal, Qt::DisplayRole).toString(), QString::fromUtf8("yæ"));
        QCOMPARE(page->cellText(1, 0), QString::fromUtf8("yæ"));
        QCOMPARE(page->view()->columnWidth(2), 80);
        QCOMPARE(page->view()->rowHeight(10), 24);
        QCOMPARE(page->view()->horizontalHeader()->height(), 24);
        QVERIFY(!page->view()->verticalHeader()->isVisible());
        QCOMPARE(page->view()->editTriggers(), QAbstractItemView::NoEditTriggers);
        QCOMPARE(page->view()->selectionMode(), QAbstractItemView::ContiguousSelection);
        QCOMPARE(page->view()->horizontalHeader()->sectionResizeMode(0), QHeaderView::Fixed);
        QVERIFY(!(page->model()->flags(page->model()->index(3, 1)) & Qt::ItemIsEditable));

        // Typing on a selected cell changes nothing.
        page->view()->setCurrentIndex(page->model()->index(3, 0));
        QTest::keyClicks(page->view(), "99");
        QTest::keyClick(page->view(), Qt::Key_Return);
        QCOMPARE(page->cellText(0, 4), QString("  3"));

        // A cell written after its row was shown is shown too.
        page->setCell(2, 4, "late");
        QTRY_COMPARE(page->model()->data(page->model()->index(3, 2), Qt::DisplayRole).toString(), QString("late"));
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
        MainWindowFixture f;
        ScriptPage* m = f.script(lines);
        QCOMPARE(m->lines(), lines);
    }

    void editorBehaviour()
    {
        MainWindowFixture f;
        ScriptPage* m = f.script({});
        QCOMPARE(m->editor()->lineWrapMode(), QPlainTextEdit::NoWrap);
        m->editor()->setFocus();
        QTest::keyClick(m->editor(), Qt::Key_Tab);
        QCOMPARE(m->lines(), QStringList{"\t"});
        QVERIFY(m->isModified());
        QVERIFY(m->editor()->hasFocus());
        QCOMPARE(m->editor()->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);

        // Formatted text arrives as its characters only.
        auto* mime = new QMimeData;
        mime->setHtml("<b>fed</b> <i>kursiv</i>");
        mime->setText("fed kursiv");
        QApplication::clipboard()->setMimeData(mime);
        f.window->onSelectAll();
        f.window->onPaste();
        QCOMPARE(m->lines(), QStringList{"fed kursiv"});

        // Copy takes the selection; delete leaves the clipboard alone.
        QTextCursor c = m->editor()->textCursor();
        c.setPosition(0);
        c.setPosition(3, QTextCursor::KeepAnchor);
        m->editor()->setTextCursor(c);
        f.window->onCopy();
        QCOMPARE(QApplication::clipboard()->text(), QString("fed"));
        c.setPosition(4);
        c.setPosition(10, QTextCursor::KeepAnchor);
        m->editor()->setTextCursor(c);
        f.window->onDelete();
        QCOMPARE(m->lines(), QStringList{"fed "});
        QCOMPARE(QApplication::clipboard()->text(), QString("fed"));
        f.window->onSelectAll();
        f.window->onCut();
        QCOMPARE(m->lines(), QStringList{});
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
        MainWindowFixture f;
        QStringList script;
        for (int i = 0; i < lines; ++i)
            script << QString("  linje %1").arg(i);
        ScriptPage* m = f.script(script);
        QTemporaryDir dir;
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(dir.filePath("ud.pdf"));
        printer.setPdfVersion(QPagedPaintDevice::PdfVersion_1_4);
        m->print(printer);
        QByteArray pdf = FileBytes(dir.filePath("ud.pdf"));
        QVERIFY(pdf.startsWith("%PDF"));
        int pages = pdf.count("/Type /Page\n") + pdf.count("/Type /Page\r") + pdf.count("/Type /Page ") +
                    pdf.count("/Type /Page/") + pdf.count("/Type /Page>");
        QVERIFY2(pages >= 1, pdf.left(2000).constData());
        QCOMPARE(pages > 1, severalPages);
        QVERIFY(f.errors.isEmpty());
    }

    // The table's bound comes from whoever makes the page and stops the run through the host, keeping the row.
    void tableBoundStopsTheRunThroughItsHost()
    {
        RecordingHost host;
        TablePage page(host, 10);
        page.setCaption("t-1");
        QCOMPARE(host.captions, QStringList{"t-1"});
        page.setColumnCount(2);
        page.setRowCount(5);
        QVERIFY(host.stops.isEmpty());
        page.setRowCount(6);
        QCOMPARE(host.stops.size(), 1);
        QVERIFY2(host.stops[0].startsWith("Tabellen \"t-1\" er blevet for stor (over 4 r"), qPrintable(host.stops[0]));
        QCOMPARE(page.rowCount(), 6);
    }

    // Entering a page first resets every command, then turns on its own.
    void pagesSetTheirCommandsThroughTheHost()
    {
        RecordingHost host;
        ScriptPage script(host);
        script.updateCommands();
        QCOMPARE(host.calls.first(), QString("reset"));
        QVERIFY(host.calls.contains("dock"));
        QVERIFY(host.calls.contains("poll"));
        for (Command c : {Command::Run, Command::Print, Command::PrintNow, Command::SaveAs, Command::Find,
                          Command::SelectAll, Command::Coordinates})
            QVERIFY2(host.enabled(c), qPrintable(QString::number(int(c))));
        QVERIFY(!host.enabled(Command::Cut));
        host.calls.clear();
        script.editor()->insertPlainText("a");
        QVERIFY(script.isModified());
        QCOMPARE(host.calls, QStringList{QString("%1 on").arg(int(Command::Save))});

        host.calls.clear();
        TablePage table(host, 100);
        table.updateCommands();
        QCOMPARE(
            host.calls,
            (QStringList{"reset", QString("%1 on").arg(int(Command::ClosePage)),
                         QString("%1 on").arg(int(Command::Copy)), QString("%1 on").arg(int(Command::SaveAs)),
                         QString("%1 on").arg(int(Command::Print)), QString("%1 on").arg(int(Command::PrintNow))}));
    }
};

QTEST_MAIN(TestPages)
#include "PagesTest.moc"
