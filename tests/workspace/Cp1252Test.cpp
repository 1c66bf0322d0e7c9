// The conversion between Qt text and Windows-1252 bytes, both ways, and the characters it cannot store.
#include "workspace/QtCp1252.h"

#include <QTest>

class TestCp1252 : public QObject {
    Q_OBJECT
private slots:
    void roundTrip_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");
        QTest::newRow("ascii") << QByteArray("y' = y*(1-y)") << QString("y' = y*(1-y)");
        QTest::newRow("danish") << QByteArray("\xE6\xF8\xE5\xC6\xD8\xC5") << QString::fromUtf8("æøåÆØÅ");
        QTest::newRow("euro and quotes") << QByteArray("\x80\x93\x94\x85") << QString::fromUtf8("€“”…");
        QTest::newRow("dashes and trademark") << QByteArray("\x96\x97\x99") << QString::fromUtf8("–—™");
        QTest::newRow("undefined bytes kept")
            << QByteArray("\x81\x8D\x8F\x90\x9D")
            << QString(QChar(0x81)) + QChar(0x8D) + QChar(0x8F) + QChar(0x90) + QChar(0x9D);
        QTest::newRow("latin-1 top") << QByteArray("\xA0\xB5\xFF") << QString::fromUtf8("\u00A0µÿ");
        QTest::newRow("tab and line end") << QByteArray("a\tb\r\n") << QString("a\tb\r\n");
    }

    void roundTrip()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        std::string_view view(bytes.constData(), static_cast<std::size_t>(bytes.size()));
        QCOMPARE(qt_cp1252::toQString(view), text);
        QCOMPARE(QByteArray::fromStdString(qt_cp1252::fromQString(text)), bytes);
        QCOMPARE(qt_cp1252::unstorableChars(text), QString());
    }

    void everyByteSurvives()
    {
        std::string all;
        for (int b = 1; b < 256; ++b)
            all.push_back(static_cast<char>(b));
        QCOMPARE(qt_cp1252::fromQString(qt_cp1252::toQString(all)), all);
    }

    void unstorable_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("bad");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("pi") << QString::fromUtf8("2π") << QString::fromUtf8("π") << QByteArray("2?");
        QTest::newRow("repeats once") << QString::fromUtf8("→a→π") << QString::fromUtf8("→π") << QByteArray("?a??");
        // A character beyond the basic plane is reported whole but keeps one byte per unit, so columns line up.
        QTest::newRow("emoji") << QString::fromUtf8("x😀y") << QString::fromUtf8("😀") << QByteArray("x??y");
        QTest::newRow("latin-1 control block is not windows-1252")
            << QString(QChar(0x80)) << QString(QChar(0x80)) << QByteArray("?");
    }

    void unstorable()
    {
        QFETCH(QString, text);
        QFETCH(QString, bad);
        QFETCH(QByteArray, bytes);
        QCOMPARE(qt_cp1252::unstorableChars(text), bad);
        QCOMPARE(QByteArray::fromStdString(qt_cp1252::fromQString(text)), bytes);
    }
};

QTEST_MAIN(TestCp1252)
#include "Cp1252Test.moc"
