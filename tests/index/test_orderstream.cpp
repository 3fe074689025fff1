// The order checked while reading a block at a time must find exactly what
// the check of the whole loaded list finds: the same lines, the same pairs,
// whatever the encoding, the line ends, or where the blocks and the two
// threads' seam fall.
#include "index/IndexList.h"
#include "index/IndexTools.h"
#include "index/OrderStream.h"
#include "base/TextFile.h"
#include "index/IndexFile.h"

#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

using namespace lexifol;

namespace {

QByteArray Encode(const QString& text, const QString& coding)
{
    if (coding.startsWith("utf16")) {
        const bool be = coding == "utf16be";
        QByteArray out = be ? QByteArray("\xFE\xFF", 2) : QByteArray("\xFF\xFE", 2);
        for (QChar c : text) {
            const char hi = char(c.unicode() >> 8), lo = char(c.unicode() & 0xFF);
            out.append(be ? hi : lo).append(be ? lo : hi);
        }
        return out;
    }
    if (coding == "utf8bom")
        return "\xEF\xBB\xBF" + text.toUtf8();
    if (coding == "utf8")
        return text.toUtf8();
    return text.toLatin1(); // the C locale's 8-bit page reads Latin-1 back
}

} // namespace

class OrderStreamTest : public QObject
{
    Q_OBJECT
    QTemporaryDir dir_;

private slots:
    void sameAsTheWholeList_data()
    {
        // clang-format off
        QTest::addColumn<QString>("coding");
        QTest::addColumn<QString>("end");
        QTest::addColumn<int>("lines");
        for (const char* coding : {"utf16le", "utf16be", "utf8bom", "utf8", "8bit"})
            for (const char* end : {"\r\n", "\n", "\r"})
                QTest::newRow(qPrintable(QStringLiteral("%1 %2 small").arg(coding, QString(end).toUtf8().toHex())))
                    << coding << end << 300;
        // Large enough for two threads and many blocks.
        QTest::newRow("utf16le crlf large") << "utf16le" << "\r\n" << 700000;
        QTest::newRow("utf8 lf large") << "utf8" << "\n" << 900000;
        // clang-format on
    }
    void sameAsTheWholeList()
    {
        QFETCH(QString, coding);
        QFETCH(QString, end);
        QFETCH(int, lines);
        QRandomGenerator rng(7);
        QString text;
        QString last = "a";
        for (int i = 0; i < lines; ++i) {
            // Mostly ascending, with pairs out of order, pairs equal but for
            // letter case, lines without TAB and empty lines.
            const int r = int(rng.bounded(100));
            QString word = r < 3 ? QString::number(rng.bounded(100000))
                : r < 5          ? last.toUpper()
                                 : last + QChar(u'a' + int(rng.bounded(26)));
            if (word.size() > 12)
                word = word.left(3) + QChar(u'b' + int(rng.bounded(24)));
            if (coding != "8bit" && r == 7)
                word += QChar(0x00e9);
            text += r == 9 ? QString() : r == 11 ? word : word + "\t" + QString::number(i);
            if (i + 1 < lines || r % 2)
                text += end;
            last = word;
        }
        const QByteArray bytes = Encode(text, coding);
        const QString path = dir_.filePath(QStringLiteral("%1.list").arg(QTest::currentDataTag()));
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size());
        f.close();

        IndexList whole;
        DecodeLines(bytes, whole);
        for (bool wholeLine : {false, true}) {
            const OrderScan expected = ScanOrder(whole, wholeLine);
            const Result<StreamedOrder> streamed = ScanOrderInFile(path, wholeLine);
            QVERIFY2(streamed, qPrintable(streamed.error()));
            QCOMPARE(streamed->lines, whole.count());
            QList<long long> out(expected.outOfOrder.begin(), expected.outOfOrder.end());
            QCOMPARE(streamed->outOfOrder, out);
            QCOMPARE(streamed->equal.size(), expected.equal.size());
            for (qsizetype i = 0; i < expected.equal.size(); ++i)
                QCOMPARE(streamed->equal[i].k, expected.equal[i]);
        }
    }

    // Without a mark, one byte that is not UTF-8 late in the file makes the
    // whole file 8-bit, its first blocks included.
    void lateEightBitByteDecidesTheWholeFile()
    {
        // Read as UTF-8, "a\u00e9" sorts after "ab"; read as 8-bit ("a\u00c3\u00a9"), before.
        QByteArray bytes = QStringLiteral("a\u00e9\t1\r\nab\t1\r\n").toUtf8();
        for (int i = 0; bytes.size() < (3 << 20); ++i)
            bytes += QStringLiteral("w%1\u00e9\t1\r\n").arg(i, 7, 10, QChar(u'0')).toUtf8();
        bytes += "x\xE9\t1\r\n";
        const QString path = dir_.filePath("late.list");
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size());
        f.close();
        IndexList whole;
        DecodeLines(bytes, whole);
        const OrderScan expected = ScanOrder(whole, false);
        const Result<StreamedOrder> streamed = ScanOrderInFile(path, false);
        QVERIFY2(streamed, qPrintable(streamed.error()));
        QCOMPARE(streamed->lines, whole.count());
        QVERIFY(!expected.outOfOrder.contains(1));
        QCOMPARE(streamed->outOfOrder, QList<long long>(expected.outOfOrder.begin(), expected.outOfOrder.end()));
        QCOMPARE(streamed->equal.size(), expected.equal.size());
    }

    void refusesWhatTheLoaderWouldLose_data()
    {
        // clang-format off
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("message");
        QByteArray late(3 << 20, 'a');
        for (qsizetype i = 100; i < late.size(); i += 100)
            late[i] = '\n';
        QTest::newRow("NUL after the first blocks") << late + QByteArray("b\0c\n", 4) << "byte offset 3145729";
        QTest::newRow("unpaired surrogate") << QByteArray("\xFF\xFE" "a\0\n\0\x00\xD8\n\0", 10) << "unpaired";
        QTest::newRow("half a unit") << QByteArray("\xFF\xFE" "a\0b", 5) << "half a UTF-16 unit";
        // clang-format on
    }
    void refusesWhatTheLoaderWouldLose()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, message);
        const QString path = dir_.filePath("bad.list");
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size());
        f.close();
        const Result<StreamedOrder> r = ScanOrderInFile(path, false);
        QVERIFY(!r);
        QVERIFY2(r.error().contains(message), qPrintable(r.error()));
    }
};

QTEST_GUILESS_MAIN(OrderStreamTest)
#include "test_orderstream.moc"
