// Replacement rules, the second index built from them, and the order check.
#include "base/CodePage.h"
#include "index/IndexOps.h"
#include "index/IndexTools.h"
#include "common/FileSizeLimit.h"
#include "common/TestFiles.h"

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QTemporaryDir>
#include <QtTest>

using namespace lexifol;

namespace {
QByteArray utf16(const QString& s)
{
    QByteArray b("\xFF\xFE", 2);
    for (QChar c : s) {
        b.append(char(c.unicode() & 0xFF));
        b.append(char(c.unicode() >> 8));
    }
    return b;
}

} // namespace

class TestTools : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { IndexCollation::SetDefaultLocale(QStringLiteral("en_US")); }

    void ruleLines_data()
    {
        // clang-format off
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("bad");
        QTest::addColumn<int>("accepted");
        QTest::newRow("three rules") << QStringLiteral("é=e\nё=е\nß=ss") << -1 << 3;
        QTest::newRow("single character first") << QStringLiteral("a\nb=c") << 0 << 0;
        QTest::newRow("bad third line") << QStringLiteral("a=b\nc=d\nef") << 2 << 0;
        QTest::newRow("no = second") << QStringLiteral("a-b") << 0 << 0;
        QTest::newRow("empty middle line") << QStringLiteral("a=b\n\nc=d") << 1 << 0;
        QTest::newRow("final break") << QStringLiteral("a=b\nc=d\n") << -1 << 2;
        QTest::newRow("==x") << QStringLiteral("==x") << -1 << 1;
        QTest::newRow("empty") << QString() << -1 << 0;
        // clang-format on
    }
    void ruleLines()
    {
        QFETCH(QString, text);
        const RuleCheck r = CheckRules(text);
        QTEST(r.badLine, "bad");
        QTEST(int(r.accepted.size()), "accepted");
        QCOMPARE(r.encoded.size(), r.accepted.size());
    }

    void unitsEncodedAlone()
    {
        QCOMPARE(EncodeUnits(u"é=e"), QByteArray("\xC3\xA9=e"));
        // A surrogate pair: two three-byte sequences.
        QCOMPARE(EncodeUnits(QString::fromUtf16(u"\U0001F600")), QByteArray("\xED\xA0\xBD\xED\xB8\x80"));
    }

    void secondIndex_data()
    {
        // clang-format off
        QTest::addColumn<QString>("rules");
        QTest::addColumn<QStringList>("first");
        QTest::addColumn<QString>("second");   // lines joined by CR LF, each ended
        QTest::newRow("café") << "é=e" << QStringList{"café\t3"} << "cafe\r\n";
        QTest::newRow("drop the hyphen") << "-=" << QStringList{"co-op\t1"} << "coop\r\n";
        QTest::newRow("first position") << "Ä=f/A" << QStringList{"ÄÄx\t1"} << "AÄx\r\n";
        QTest::newRow("f/ alone") << "x=f/" << QStringList{"axe\t1"} << "af/e\r\n";
        QTest::newRow("the later rule wins") << "a=b\na=c" << QStringList{"a\t1"} << "c\r\n";
        QTest::newRow("case is kept apart") << "e=1\nE=2" << QStringList{"eE\t1"} << "12\r\n";
        QTest::newRow("==x changes nothing") << "==x" << QStringList{"a=b\t1"} << "a=b\r\n";
        QTest::newRow("no TAB, empty line") << "a=b" << QStringList{"abc", "a\t2"} << "\r\nb\r\n";
        QTest::newRow("order kept") << "a=b" << QStringList{"Zebra\t1", "apple\t2"} << "Zebrb\r\nbpple\r\n";
        // clang-format on
        // Written a piece at a time: lines across the pieces' seams.
        QStringList many;
        QString normalised;
        for (int i = 0; i < 70000; ++i) {
            many << QStringLiteral("caf\u00e9%1\t1").arg(i);
            normalised += QStringLiteral("cafe%1\r\n").arg(i);
        }
        QTest::newRow("many lines") << "\u00e9=e" << many << normalised;
    }
    void secondIndex()
    {
        QFETCH(QString, rules);
        QFETCH(QStringList, first);
        QFETCH(QString, second);
        const RuleCheck check = CheckRules(rules);
        QCOMPARE(check.badLine, -1);
        ReplacementList list;
        list.setLines(check.encoded);
        IndexList index;
        index.setLines(first);
        QCOMPARE(SecondIndexFileBytes(index, list), utf16(second));
        QCOMPARE(ReplacementFileBytes(check.encoded), (check.encoded.join("\r\n") + "\r\n"));
    }

    void bothFilesOrNeither()
    {
        QTemporaryDir dir;
        const QString rules = dir.filePath("replacelist.dat"), index = dir.filePath("secondindex.list");
        QVERIFY(WriteSecondIndexFiles(dir.path(), "old=rules\r\n", utf16("old\r\n")).ok());
        {
            // The rules fit, the index does not.
            FileSizeLimit full{100};
            QVERIFY(!WriteSecondIndexFiles(dir.path(), "a=b\r\n", QByteArray(5000, 'x')).ok());
        }
        QCOMPARE(get(rules), QByteArray("old=rules\r\n"));
        QCOMPARE(get(index), utf16("old\r\n"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 2);
        QVERIFY(WriteSecondIndexFiles(dir.path(), "a=b\r\n", utf16("b\r\n")).ok());
        QCOMPARE(get(rules), QByteArray("a=b\r\n"));
        QCOMPARE(get(index), utf16("b\r\n"));
    }

    void orderErrors_data()
    {
        // clang-format off
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<bool>("whole");
        QTest::addColumn<QList<int>>("errors");
        QTest::newRow("in order") << QStringList{"apple\t1", "banana\t1", "cherry\t2"} << false << QList<int>{};
        QTest::newRow("one pair") << QStringList{"apple\t1", "cherry\t1", "banana\t2"} << false << QList<int>{2};
        QTest::newRow("at the start") << QStringList{"banana\t1", "apple\t1", "cherry\t2"} << false << QList<int>{1};
        QTest::newRow("duplicates") << QStringList{"apple\t1", "apple\t2"} << false << QList<int>{};
        QTest::newRow("Apple after apple") << QStringList{"apple\t1", "Apple\t1"} << false << QList<int>{1};
        QTest::newRow("apple after Apple") << QStringList{"Apple\t1", "apple\t1"} << false << QList<int>{1};
        QTest::newRow("case ignored in order") << QStringList{"apple\t1", "Banana\t1"} << false << QList<int>{};
        QTest::newRow("no TAB sorts first") << QStringList{"apple\t1", "nokey"} << false << QList<int>{1};
        QTest::newRow("empty line in a second index") << QStringList{"a", "", "b"} << true << QList<int>{1};
        QTest::newRow("every pair examined") << QStringList{"c", "b", "a"} << true << QList<int>{1, 2};
        // clang-format on
    }
    void orderErrors()
    {
        QFETCH(QStringList, lines);
        QFETCH(bool, whole);
        IndexList list;
        list.setLines(lines);
        QTEST(FindOrderErrors(list, whole), "errors");
    }

    void logHeaderInDayMonthYear()
    {
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        const QDateTime when(QDate(2026, 12, 7), QTime(14, 5, 9));
        QCOMPARE(CheckLogHeader("English", when), QStringLiteral("English (14:05:09|07.12.2026)"));
        QLocale::setDefault(QLocale::system());
        QCOMPARE(OrderErrorLine(2), QStringLiteral("Error: item on line 2 must be lower than item on line 3"));
    }
};

QTEST_GUILESS_MAIN(TestTools)
#include "test_tools.moc"
