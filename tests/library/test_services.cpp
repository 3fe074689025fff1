// The services the window binds to: catalogue, history, bookmarks, the index
// cache and the one lookup, each without a window.
#include "Files.h"

#include "index/Bookmarks.h"
#include "library/BookmarkList.h"
#include "library/Catalogue.h"
#include "library/History.h"
#include "index/IndexOps.h"
#include "library/IndexCache.h"
#include "library/Profile.h"
#include "library/WordLookup.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace lexifol;

class ServicesTest : public QObject
{
    Q_OBJECT
private slots:
    void catalogueOrderMarksAndMoves();
    void historyPositionIsANumber();
    void bookmarksMergeWithAnotherWriter();
    void bookmarksUnchangedAreNotWritten();
    void indexCacheHandsBackOnlyUnchangedFiles();
    void indexCacheKeepsWithinItsBudget();
    void indexCachePrefetchIsTakenOnlyWhenStillTrue();
    void lookup_data();
    void lookup();
    void homographsMarkTheirOwnArticle();
};

void ServicesTest::catalogueOrderMarksAndMoves()
{
    QTemporaryDir dir;
    QDir().mkpath(dir.filePath("Data"));
    for (const char* name : {"A", "B", "C", "D"})
        QVERIFY(writeBytes(dir.filePath(QStringLiteral("Data/%1.list").arg(QLatin1String(name))), "a\t1"));
    QVERIFY(writeBytes(dir.filePath("diclist.dat"), "C\t1\r\nA\t0\r\nB\t1\r\n"));
    Catalogue c;
    c.load({dir.path() + "/"}, dir.filePath("diclist.dat"));
    QCOMPARE(c.names(), (QStringList{"C", "A", "B", "D"}));
    QCOMPARE(c.firstChecked(), 0);
    QVERIFY(!c.checked(3));
    QCOMPARE(c.find("b"), 2);

    c.setCurrent(1); // A, unchecked
    QVERIFY(c.moveCurrent(-1));
    QCOMPARE(c.names(), (QStringList{"A", "C", "B", "D"}));
    QVERIFY(!c.checked(0) && c.checked(1));
    QCOMPARE(c.current(), 0);
    QVERIFY(!c.moveCurrent(-1));

    // Ctrl+Down from A: C is the next checked one, one step away.
    const auto step = c.checkedNeighbour(false);
    QVERIFY(step);
    QCOMPARE(step->target, 1);
    QCOMPARE(c.savedOrder(), (QStringList{"A\t0", "C\t1", "B\t1", "D\t0"}));

    QVERIFY(writeBytes(dir.filePath("Lexifol.ini"), "[Shortcuts]\r\n3=d\r\n4=Nobody\r\n"));
    ProfileFile settings(dir.filePath("Lexifol.ini"));
    QCOMPARE(c.shortcutRow(settings, 3), 3);
    QCOMPARE(c.shortcutRow(settings, 4), -1);
    QCOMPARE(c.shortcutRow(settings, 5), -1);
}

void ServicesTest::historyPositionIsANumber()
{
    History h;
    QVERIFY(!h.back().act);
    for (int i = 0; i < kHistoryLimit + 3; ++i)
        h.add(QStringLiteral("w%1\tD").arg(i));
    QCOMPARE(h.size(), kHistoryLimit);
    QCOMPARE(h.position(), kHistoryLimit - 1);
    QCOMPARE(h.entries().first(), QStringLiteral("w3\tD"));
    HistoryStep s = h.back();
    QVERIFY(s.open);
    QCOMPARE(h.position(), kHistoryLimit - 2);
    QVERIFY(h.buttons().back && h.buttons().forward);
    h.setPosition(0);
    s = h.back();
    QVERIFY(s.act && !s.open);
    QCOMPARE(h.position(), 0);
    s = h.forward();
    QCOMPARE(h.position(), 1);
    h.setPosition(99);
    QCOMPARE(h.position(), -1);
}

void ServicesTest::bookmarksMergeWithAnotherWriter()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("Bookmarks.dat");
    Bookmarks a, b;
    a.load(path);
    b.load(path);
    QVERIFY(a.add("apple\tA"));
    QVERIFY(b.add("zebra\tA"));
    QVERIFY(a.add("bake\tA"));
    Bookmarks reader;
    reader.load(path);
    QCOMPARE(reader.entries(), (QStringList{"apple\tA", "zebra\tA", "bake\tA"}));
    // A removal by the other writer is kept too.
    int next = -1;
    QVERIFY(b.remove(1, &next)); // b held apple, zebra: zebra goes
    QVERIFY(a.add("cake\tA"));
    reader.load(path);
    QCOMPARE(reader.entries(), (QStringList{"apple\tA", "bake\tA", "cake\tA"}));
}

void ServicesTest::bookmarksUnchangedAreNotWritten()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("Bookmarks.dat");
    Bookmarks b;
    b.load(path);
    QVERIFY(b.save());
    QVERIFY(!QFile::exists(path));
    QVERIFY(b.add("a\tD"));
    const QByteArray written = readBytes(path);
    QVERIFY(QFile::remove(path));
    QVERIFY(b.save()); // nothing changed since it was written
    QVERIFY(!QFile::exists(path));
    QVERIFY(b.clear());
    QVERIFY(b.restore({"a\tD"}));
    QCOMPARE(readBytes(path), written);
}

void ServicesTest::indexCacheHandsBackOnlyUnchangedFiles()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("x.list");
    QVERIFY(writeBytes(path, "a\t1\r\nb\t2\r\n"));
    IndexCache cache;
    IndexList list;
    list.setLines({"a\t1", "b\t2"});
    const FileStamp stamp = FileStamp::Of(path);
    cache.put(path, stamp, list);
    IndexList back, again;
    QVERIFY(cache.share(path, FileStamp::Of(path), back));
    QVERIFY(cache.share(path, FileStamp::Of(path), again));
    QCOMPARE(again.count(), 2);
    QCOMPARE(again.line(1).toString(), "b\t2");
    // One copy however many hold it.
    QCOMPARE(cache.heldBytes(), list.memoryBytes());
    QCOMPARE(again.headword(0).data(), list.headword(0).data());

    // Replaced through a rename with the same size: a new file.
    QVERIFY(writeBytes(path + ".new", "c\t1\r\nd\t2\r\n"));
    QVERIFY(QFile::remove(path) && QFile::rename(path + ".new", path));
    IndexList stale;
    QVERIFY(!cache.share(path, FileStamp::Of(path), stale));
    QCOMPARE(stale.count(), 0);
}

void ServicesTest::indexCachePrefetchIsTakenOnlyWhenStillTrue()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("x.list"), bad = dir.filePath("bad.list");
    QVERIFY(writeBytes(path, "a\t1\r\nb\t2\r\n"));
    QVERIFY(writeBytes(bad, "a\t1\r\n"));
    auto load = [](const QString& p, IndexList& l) { return LoadFirstIndex(p, l).ok(); };
    IndexCache cache;
    cache.prefetch(path, load);
    cache.prefetch(bad, [](const QString&, IndexList&) { return false; });
    IndexList out;
    QVERIFY(cache.share(path, FileStamp::Of(path), out));
    QCOMPARE(out.count(), 2);
    QVERIFY(!cache.share(bad, FileStamp::Of(bad), out)); // a read that failed is no entry
    // Changed after it was read ahead: the prefetch is not handed out.
    cache.prefetch(path, load);
    QVERIFY(writeBytes(path + ".new", "c\t1\r\n"));
    QVERIFY(QFile::remove(path) && QFile::rename(path + ".new", path));
    IndexList stale;
    QVERIFY(!cache.share(path, FileStamp::Of(path), stale));
    QCOMPARE(stale.count(), 0);
    cache.prefetch(path, load);
    cache.clear(); // waits for the reading, holds nothing
    QCOMPARE(cache.heldBytes(), size_t(0));
}

void ServicesTest::indexCacheKeepsWithinItsBudget()
{
    IndexList big;
    QStringList lines;
    for (int i = 0; i < 1000; ++i)
        lines << QStringLiteral("headword%1\t%1").arg(i);
    big.setLines(lines);
    const size_t one = big.memoryBytes();
    IndexCache cache(one * 2 + one / 2);
    for (const char* name : {"a", "b", "c"}) {
        IndexList copy;
        copy.setLines(lines);
        cache.put(QString::fromLatin1(name), {1, 1, 1}, copy);
    }
    QVERIFY(cache.heldBytes() <= cache.budget());
    IndexList out;
    QVERIFY(!cache.share("a", {1, 1, 1}, out)); // the oldest went
    QVERIFY(cache.share("c", {1, 1, 1}, out));
    // A list in use is counted and stays: dropping it would free nothing.
    cache.setBudget(0);
    QCOMPARE(cache.heldBytes(), one);
    QVERIFY(!cache.fits());
    out.clear();
    QVERIFY(cache.fits());
    QCOMPARE(cache.heldBytes(), size_t(0));
}

void ServicesTest::lookup_data()
{
    // clang-format off
    QTest::addColumn<bool>("pageIndex");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("page");
    QTest::addColumn<QString>("mark");
    QTest::addColumn<QString>("kept");
    QTest::newRow("exact") << false << "bread" << 1 << "12" << "bread" << "bread";
    QTest::newRow("nearest") << false << "brea" << 1 << "12" << "bread" << "bread";
    QTest::newRow("cross-reference followed") << false << "cake" << 3 << "30" << "candle" << "candle";
    QTest::newRow("no page") << false << "dud" << -1 << "" << "" << "";
    QTest::newRow("page index keeps the typed word") << true << "bun" << 1 << "12" << "bun" << "bun";
    // clang-format on
}

void ServicesTest::lookup()
{
    QFETCH(bool, pageIndex);
    QFETCH(QString, text);
    QFETCH(int, row);
    QFETCH(QString, page);
    QFETCH(QString, mark);
    QFETCH(QString, kept);
    ActiveDictionary d;
    d.first.setLines({"apple\t5", "bread\t12", "cake\t>candle", "candle\t30", "dud\t"});
    d.pageIndex = pageIndex;
    const std::optional<Hit> hit = LookUp(d, text);
    QCOMPARE(hit.has_value(), row >= 0);
    if (!hit)
        return;
    QCOMPARE(hit->row, row);
    QCOMPARE(hit->page, page);
    QCOMPARE(hit->mark, mark);
    QCOMPARE(hit->entryWord, kept);
    const std::optional<Hit> again = HeadwordHit(d, kept);
    QVERIFY(again);
    QCOMPARE(again->page, page);
}

// The index's second "bank" on a page marks the page's second article.
void ServicesTest::homographsMarkTheirOwnArticle()
{
    ActiveDictionary d;
    d.first.setLines({"bank\t12", "bank\t12", "bank\t13", "bark\t13"});
    QList<int> seen;
    for (int row = 0; row < 4; ++row)
        seen << EntryHit(d, row, QString())->markOccurrence;
    QCOMPARE(seen, (QList<int>{0, 1, 0, 0}));
}

QTEST_GUILESS_MAIN(ServicesTest)
#include "test_services.moc"
