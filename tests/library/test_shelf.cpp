// What each other dictionary has for a word: exact, nearest, a page of a
// page index, under its own collation and rules; a broken one says why.
#include "Files.h"
#include "index/IndexTools.h"
#include "index/Replacement.h"
#include "library/Shelf.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace lexifol;
using Kind = ShelfHit::Kind;

class ShelfTest : public QObject
{
    Q_OBJECT
    QTemporaryDir dir_;
    QString root_;

    void add(const QString& name, const QByteArray& list, const QByteArray& ini = {})
    {
        QVERIFY(writeBytes(root_ + "Data/" + name + ".list", list));
        if (!ini.isEmpty()) {
            QDir().mkpath(root_ + "Data/" + name + ".files");
            QVERIFY(writeBytes(root_ + "Data/" + name + ".files/" + name + ".ini", ini));
        }
    }

private slots:
    void initTestCase()
    {
        root_ = dir_.path() + "/";
        QDir().mkpath(root_ + "Data");
        add("Plain", "apple\t1\r\nbread\t2\r\ncandle\t3\r\n");
        add("Pages", "apple\t1\r\nmilk\t2\r\n", "[main]\r\npage_index=yes\r\n");
        add("Swedish", "apa\t1\r\nzebra\t2\r\n\xc3\xb6l\t3\r\n", "[main]\r\ncollation=sv\r\n");
        add("Rules", "caf\xc3\xa9\t4\r\nna\xc3\xafve\t5\r\n");
        ReplacementList rules;
        rules.setLines({QByteArray("\xc3\xa9=e"), QByteArray("\xc3\xaf=i")});
        IndexList first;
        first.setLines({QStringLiteral("caf\u00e9\t4"), QStringLiteral("na\u00efve\t5")});
        QDir().mkpath(root_ + "Data/Rules.files");
        QVERIFY(WriteSecondIndexFiles(root_ + "Data/Rules.files", ReplacementFileBytes(rules.lines()),
                                      SecondIndexFileBytes(first, rules)));
        QDir().mkpath(root_ + "Data/Broken.list"); // a folder where the index should be
        QVERIFY(writeBytes(dir_.filePath("Plugin.dat"), "zoom=width\r\n"));
        QDir::setCurrent(dir_.path());
    }

    void whatEachHas_data()
    {
        // clang-format off
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("headword");
        QTest::addColumn<QString>("page");
        QTest::newRow("exact") << "Plain" << "bread" << int(Kind::Exact) << "bread" << "2";
        QTest::newRow("case ignored") << "Plain" << "BREAD" << int(Kind::Exact) << "bread" << "2";
        QTest::newRow("nearest") << "Plain" << "brea" << int(Kind::Nearest) << "bread" << "2";
        QTest::newRow("past the last") << "Plain" << "zzz" << int(Kind::Nothing) << "" << "";
        QTest::newRow("page index") << "Pages" << "cheese" << int(Kind::Page) << "apple" << "1";
        QTest::newRow("its own collation: ö after z") << "Swedish" << "\u00f6l" << int(Kind::Exact) << "\u00f6l" << "3";
        QTest::newRow("its own collation: zz before ö") << "Swedish" << "zz" << int(Kind::Nearest) << "\u00f6l" << "3";
        QTest::newRow("its rules") << "Rules" << "naive" << int(Kind::Exact) << "na\u00efve" << "5";
        // clang-format on
    }
    void whatEachHas()
    {
        QFETCH(QString, name);
        QFETCH(QString, text);
        Shelf shelf;
        const QList<ShelfEntry> entries{{name, root_}};
        shelf.open(entries);
        const QList<ShelfHit> hits = shelf.lookUp(entries, text);
        QCOMPARE(hits.size(), 1);
        QTEST(int(hits[0].kind), "kind");
        QTEST(hits[0].headword, "headword");
        QTEST(hits[0].page, "page");
    }

    void brokenSaysWhyAndTheRestWork()
    {
        Shelf shelf;
        const QList<ShelfEntry> entries{{"Broken", root_}, {"Plain", root_}, {"Unopened", root_}};
        shelf.open(entries.mid(0, 2));
        const QList<ShelfHit> hits = shelf.lookUp(entries, "apple");
        QCOMPARE(int(hits[0].kind), int(Kind::Broken));
        QVERIFY2(hits[0].why.contains("Broken.list"), qPrintable(hits[0].why));
        QCOMPARE(int(hits[1].kind), int(Kind::Exact));
        QCOMPARE(int(hits[2].kind), int(Kind::Opening));
    }

    void sharesTheWindowsLists()
    {
        IndexCache cache;
        ActiveDictionary window;
        window.cache = &cache;
        QVERIFY(window.open({root_, "Rules", false, false}).opened);
        const size_t one = window.first.memoryBytes() + window.second.memoryBytes();
        QVERIFY(window.second.count() == 2);
        Shelf shelf(cache);
        const QList<ShelfEntry> entries{{"Rules", root_}};
        shelf.open(entries);
        QCOMPARE(int(shelf.lookUp(entries, "naive")[0].kind), int(Kind::Exact));
        QCOMPARE(shelf.heldBytes(), one);
        QCOMPARE(cache.heldBytes(), one);
        // The window moving on leaves them to the shelf, still counted.
        window.clear();
        cache.setBudget(0);
        QCOMPARE(cache.heldBytes(), one);
    }

    void budgetKeepsTheRestClosed()
    {
        Shelf shelf(1);
        const QList<ShelfEntry> entries{{"Plain", root_}};
        shelf.open(entries);
        QCOMPARE(int(shelf.lookUp(entries, "apple")[0].kind), int(Kind::Broken));
        QCOMPARE(shelf.heldBytes(), size_t(0));
    }
};

QTEST_GUILESS_MAIN(ShelfTest)
#include "test_shelf.moc"
