// A table's cells as clipboard text and HTML and as CSV: separators, "Fejl" and empty cells, quoting.
#include "workspace/CellStore.h"
#include "workspace/TableExport.h"

#include <QTest>

Q_DECLARE_METATYPE(CellRange)

namespace {

// Two columns under the header "t", "y": the cells as the generation writes them, padded, in the given
// decimal separator; the y of row 2 failed and the y of row 3 was never written.
CellStore sample(char separator)
{
    CellStore cells;
    cells.setColumnCount(2);
    cells.setRowCount(4);
    const QByteArray half = QByteArray("     0") + separator + "5";
    const QByteArray quarter = QByteArray("    0") + separator + "25";
    const QByteArray oneHalf = QByteArray("     1") + separator + "5";
    const QList<QByteArray> texts = {"t", "y", half, quarter, "       1", "Fejl", oneHalf};
    for (int i = 0; i < texts.size(); ++i)
        cells.setCell(i % 2, i / 2, texts[i].toStdString());
    return cells;
}

}  // namespace

class TestTableExport : public QObject {
    Q_OBJECT
private slots:
    void clipboard_data()
    {
        QTest::addColumn<char>("separator");
        QTest::addColumn<CellRange>("range");
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QByteArray>("htmlRow");
        QTest::newRow("comma, everything")
            << ',' << CellRange{0, 2, 0, 1} << QByteArray("t\ty\n0,5\t0,25\n1\tFejl\n1,5\t\n")
            << QByteArray("<tr><td>1,5</td><td></td></tr>");
        QTest::newRow("point, everything")
            << '.' << CellRange{0, 2, 0, 1} << QByteArray("t\ty\n0.5\t0.25\n1\tFejl\n1.5\t\n")
            << QByteArray("<tr><td>0.5</td><td>0.25</td></tr>");
        QTest::newRow("one column, the failed and the empty cell")
            << ',' << CellRange{1, 2, 1, 1} << QByteArray("y\nFejl\n\n") << QByteArray("<tr><td>Fejl</td></tr>");
        QTest::newRow("one cell") << '.' << CellRange{0, 0, 0, 0} << QByteArray("t\n0.5\n")
                                  << QByteArray("<tr><th>t</th></tr>");
    }

    // The header row comes first; each cell as the page shows it, without padding.
    void clipboard()
    {
        QFETCH(char, separator);
        QFETCH(CellRange, range);
        QFETCH(QByteArray, text);
        QFETCH(QByteArray, htmlRow);
        const CellStore cells = sample(separator);
        QCOMPARE(TableExport::text(cells, range), text);
        const QByteArray html = TableExport::html(cells, range);
        QVERIFY2(html.contains(htmlRow), html.constData());
        QVERIFY(html.contains("<table>") && html.contains("</table>") && html.contains("charset=\"utf-8\""));
        QCOMPARE(html.count("<tr>"), text.count('\n'));
    }

    void csv_data()
    {
        QTest::addColumn<char>("separator");
        QTest::addColumn<QByteArray>("header");  // the cells of the header row, Windows-1252
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("comma decimals: semicolons")
            << ',' << QByteArray("t") << QByteArray("t;y\r\n0,5;0,25\r\n1;Fejl\r\n1,5;\r\n");
        QTest::newRow("point decimals: commas")
            << '.' << QByteArray("t") << QByteArray("t,y\r\n0.5,0.25\r\n1,Fejl\r\n1.5,\r\n");
        QTest::newRow("the separator in a field is quoted")
            << '.' << QByteArray("a,b") << QByteArray("\"a,b\",y\r\n0.5,0.25\r\n1,Fejl\r\n1.5,\r\n");
        QTest::newRow("a quote is doubled")
            << ',' << QByteArray("a\"b") << QByteArray("\"a\"\"b\";y\r\n0,5;0,25\r\n1;Fejl\r\n1,5;\r\n");
        QTest::newRow("a comma is no separator with comma decimals")
            << ',' << QByteArray("a,b") << QByteArray("a,b;y\r\n0,5;0,25\r\n1;Fejl\r\n1,5;\r\n");
        QTest::newRow("Danish letters in UTF-8")
            << ',' << QByteArray("\xE6\xF8\xE5") << QByteArray("æøå;y\r\n0,5;0,25\r\n1;Fejl\r\n1,5;\r\n");
    }

    void csv()
    {
        QFETCH(char, separator);
        QFETCH(QByteArray, header);
        QFETCH(QByteArray, expected);
        CellStore cells = sample(separator);
        cells.setCell(0, 0, header.toStdString());
        // The empty row the generation keeps below the last one is no part of the file.
        cells.setRowCount(5);
        QCOMPARE(TableExport::csv(cells, separator), QByteArray("\xEF\xBB\xBF") + expected);
    }
};

QTEST_MAIN(TestTableExport)
#include "TableExportTest.moc"
