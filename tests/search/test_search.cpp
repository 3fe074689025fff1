// Search inside the pages: what a reader types finds the pages that print
// it, however it was typed (letter case, accents, the dictionary's rules,
// Latin, Cyrillic and Greek); nothing typed is taken for the index's own
// syntax; an index file that is damaged (inside its data too), of another
// layout or of another document is made anew, and one whose document was
// replaced is not searched; a build cut short goes on where it stopped, and
// what it has done is searchable meanwhile.
#include "DjvuFixture.h"
#include "search/PageTextIndex.h"
#include "search/TextQuery.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QtTest>
#include <sqlite3.h>
#include <sys/stat.h>

using namespace lexifol;
using namespace lexifol::search;

class SearchTest : public QObject
{
    Q_OBJECT
    QTemporaryDir dir_;
    TextSource source_;
    QString cache_;

    static QStringList Pages(const QList<PageResult>& found)
    {
        QStringList pages;
        for (const PageResult& r : found)
            pages << r.pageReference;
        pages.sort();
        return pages;
    }

private slots:
    void initTestCase()
    {
        if (!testing::HaveDjvuTools())
            QSKIP("cjb2, djvused and djvm are needed");
        const QList<QStringList> text = {
            {"apple the round fruit", "caf\u00e9 au lait", "\u0451\u043b\u043a\u0430 \u0437\u0438\u043c\u043e\u0439"},
            {"fruitful full of fruit", "a red apple"},
            {"\u0391\u039b\u03a6\u0391 beta gamma", "to be or not to be"},
        };
        source_.name = "Doc";
        source_.title = "Doc";
        source_.folder = dir_.filePath("Data/Doc.files/");
        QDir().mkpath(source_.folder);
        QStringList files;
        QString error;
        for (int i = 0; i < text.size(); ++i) {
            files << dir_.filePath(QStringLiteral("p%1.djvu").arg(i));
            QVERIFY2(testing::MakeDjvuPage(files.last(), text[i], 1400, nullptr, &error), qPrintable(error));
        }
        QVERIFY2(testing::BundleDjvu(source_.folder + "Doc.djvu", files, &error), qPrintable(error));
        cache_ = dir_.filePath("cache/");
        bool complete = false;
        const Status built = BuildTextIndex(source_, cache_, {}, &complete);
        QVERIFY2(built, qPrintable(built.error()));
        QVERIFY(complete);
    }

    // Best first: more hits on a page, and hits of the rarer word, count for more.
    void bestFirst_data()
    {
        // clang-format off
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QList<int>>("order");
        QTest::newRow("a word: the page printing it most") << "common" << QList<int>{1};
        QTest::newRow("the rarer word weighs more") << "common rare" << QList<int>{2, 1};
        QTest::newRow("each page once") << "rare" << QList<int>{2, 1};
        // clang-format on
    }
    void bestFirst()
    {
        QFETCH(QString, typed);
        QFETCH(QList<int>, order);
        QTemporaryDir dir;
        QStringList refs;
        QList<QStringList> pages = {{"common word here"}, {"common common common rare"}, {"common rare rare rare"}};
        for (int i = 0; i < 10; ++i)
            pages.append({QStringLiteral("filler text number %1").arg(i)});
        for (int i = 0; i < pages.size(); ++i)
            refs << QString::number(i + 1);
        auto index = TextIndex::open(dir.filePath("rank.sqlite"), "ranked", refs);
        QVERIFY2(index, qPrintable(index.error()));
        for (const QStringList& page : pages)
            QVERIFY(index.value()->addPage(page));
        const auto hits = index.value()->search(ParseQuery(typed, {}).match, 20);
        QVERIFY2(hits, qPrintable(hits.error()));
        QVERIFY(hits->size() >= order.size());
        for (int i = 0; i < order.size(); ++i)
            QCOMPARE(hits->at(i).page, order[i]);
        for (int i = 1; i < hits->size(); ++i)
            QVERIFY(hits->at(i - 1).rank <= hits->at(i).rank);
        // A query no one waits for any more is interrupted inside SQLite.
        const std::atomic<bool> cancelled{true};
        const auto dropped = index.value()->search(ParseQuery(typed, {}).match, 20, &cancelled);
        QVERIFY(!dropped && dropped.error() == u"Cancelled");
    }

    void findsHoweverTyped_data()
    {
        // clang-format off
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("rules");
        QTest::addColumn<QStringList>("pages");
        QTest::newRow("a word") << "apple" << "" << QStringList{"1", "2"};
        QTest::newRow("capitals") << "APPLE" << "" << QStringList{"1", "2"};
        QTest::newRow("without its accent") << "cafe" << "" << QStringList{"1"};
        QTest::newRow("with an accent not printed") << "\u00e0pple" << "" << QStringList{"1", "2"};
        QTest::newRow("prefix") << "fruit*" << "" << QStringList{"1", "2"};
        QTest::newRow("a word, not its prefix") << "fruit" << "" << QStringList{"1", "2"};
        QTest::newRow("two words on a line") << "round apple" << "" << QStringList{"1"};
        QTest::newRow("a phrase") << "\"to be or not\"" << "" << QStringList{"3"};
        QTest::newRow("a phrase out of order") << "\"be to or\"" << "" << QStringList{};
        QTest::newRow("Greek in small letters") << "\u03b1\u03bb\u03c6\u03b1" << "" << QStringList{"3"};
        QTest::newRow("Cyrillic by the rules") << "\u0415\u041b\u041a\u0410" << "\u0451=\u0435\n\u0401=\u0415" << QStringList{"1"};
        QTest::newRow("Cyrillic without them") << "\u0435\u043b\u043a\u0430" << "" << QStringList{};
        QTest::newRow("the index's syntax typed") << "apple OR NEAR( \"\"\"^ -lait" << "" << QStringList{};
        QTest::newRow("a column filter typed") << "text:apple" << "" << QStringList{};
        QTest::newRow("nothing but signs") << "*** \" -" << "" << QStringList{};
        // clang-format on
    }
    void findsHoweverTyped()
    {
        QFETCH(QString, typed);
        QFETCH(QString, rules);
        QFETCH(QStringList, pages);
        TextSource s = source_;
        if (!rules.isEmpty()) {
            QByteArrayList lines;
            for (const QString& l : rules.split('\n'))
                lines << l.toUtf8();
            s.rules.setLines(lines);
            // The stored text is folded by the same rules: made anew with them.
            s.folder = source_.folder;
            QTemporaryDir other;
            bool complete = false;
            QVERIFY(BuildTextIndex(s, other.path() + "/", {}, &complete));
            const auto found = SearchPages(s, other.path() + "/", typed, 20);
            QVERIFY2(found, qPrintable(found.error()));
            QCOMPARE(Pages(found.value()), pages);
            return;
        }
        const auto found = SearchPages(s, cache_, typed, 20);
        QVERIFY2(found, qPrintable(found.error()));
        QCOMPARE(Pages(found.value()), pages);
        for (const PageResult& r : found.value())
            QVERIFY2(!r.marks.isEmpty(), qPrintable(r.lineText)); // the line shown holds the hit
        // Searching a complete index leaves no log files in the cache.
        const QStringList left = QDir(cache_).entryList({"*-wal", "*-shm"}, QDir::Files);
        QVERIFY2(left.isEmpty(), qPrintable(left.join(' ')));
    }

    // Dictionaries over one document (a copy of it): each page listed once,
    // under the first; a dictionary with other pages keeps its own.
    void eachPageOnceAcrossDictionaries()
    {
        TextSource copy = source_, other = source_;
        copy.name = copy.title = "Copy";
        copy.folder = dir_.filePath("Data/Copy.files/");
        other.name = other.title = "Other";
        other.folder = dir_.filePath("Data/Other.files/");
        QDir().mkpath(copy.folder);
        QDir().mkpath(other.folder);
        QVERIFY(QFile::copy(source_.folder + "Doc.djvu", copy.folder + "Copy.djvu"));
        QString error;
        QVERIFY2(testing::MakeDjvuPage(other.folder + "Other.djvu", {"an apple a day"}, 1400, nullptr, &error),
                 qPrintable(error));
        QList<PageResult> all;
        QHash<QString, QByteArray> keyOf;
        for (const TextSource& s : {source_, copy, other}) {
            bool complete = false;
            QVERIFY(BuildTextIndex(s, cache_, {}, &complete));
            all += SearchPages(s, cache_, "apple", 20).value();
            keyOf.insert(s.name, ContentKey(s));
        }
        QCOMPARE(all.size(), 5);
        KeepEachPageOnce(all, keyOf);
        QStringList left;
        for (const PageResult& r : all)
            left << r.dictionary + ' ' + r.pageReference;
        left.sort();
        QCOMPARE(left, (QStringList{"Doc 1", "Doc 2", "Other 1"}));
    }

    // What is typed is bounded: a page pasted into the field is cut, and says so.
    void queryIsBounded_data()
    {
        // clang-format off
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("cut");
        QTest::newRow("a few words") << "apple round fruit" << false;
        QTest::newRow("a page of words") << QString("apple ").repeated(2000) << true;
        QTest::newRow("a long phrase") << (u'"' + QString("be ").repeated(40) + u'"') << true;
        QTest::newRow("one endless word") << QString(10000, u'a') << true;
        // clang-format on
    }
    void queryIsBounded()
    {
        QFETCH(QString, typed);
        QFETCH(bool, cut);
        const TextQuery q = ParseQuery(typed, {});
        QCOMPARE(q.cut, cut);
        QVERIFY(q.words.size() <= kMostQueryWords);
        QVERIFY(q.match.size() <= kMostQueryChars + 4 * kMostQueryWords);
        QVERIFY(SearchPages(source_, cache_, typed, 20));
    }

    // Damaged, foreign, older or of another document: made anew, never a
    // wrong hit or a failure.
    void indexFileIsMadeAnew_data()
    {
        QTest::addColumn<QByteArray>("spoil");
        QTest::newRow("garbage") << QByteArray("garbage");
        QTest::newRow("another layout") << QByteArray("PRAGMA user_version=0");
        QTest::newRow("another program's database") << QByteArray("DROP TABLE pages; CREATE TABLE pages(x)");
        QTest::newRow("another document") << QByteArray("UPDATE meta SET value='elsewhere' WHERE key='identity'");
        // Sound to SQLite, wrong inside the index's own data: found by FTS5's check.
        QTest::newRow("damage inside the data")
            << QByteArray("UPDATE lines_data SET block = zeroblob(length(block)) WHERE id > 10");
    }
    void indexFileIsMadeAnew()
    {
        QFETCH(QByteArray, spoil);
        QTemporaryDir cache;
        const QString folder = cache.path() + "/";
        bool complete = false;
        QVERIFY(BuildTextIndex(source_, folder, {}, &complete));
        const QString path = IndexPathFor(folder, source_);
        if (spoil == "garbage") {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(QByteArray(8192, 'x'));
        } else {
            sqlite3* db = nullptr;
            QCOMPARE(sqlite3_open(QFile::encodeName(path).constData(), &db), SQLITE_OK);
            QCOMPARE(sqlite3_exec(db, spoil.constData(), nullptr, nullptr, nullptr), SQLITE_OK);
            sqlite3_close(db);
        }
        BuildProgress checked;
        checked.verify = true;
        const Status again = BuildTextIndex(source_, folder, checked, &complete);
        QVERIFY2(again, qPrintable(again.error()));
        QVERIFY(complete);
        const auto found = SearchPages(source_, folder, "apple", 20);
        QVERIFY2(found, qPrintable(found.error()));
        QCOMPARE(Pages(found.value()), QStringList({"1", "2"}));
    }

    // A document replaced by another: the old index is not searched, and the
    // build makes it anew from the new pages.
    void documentReplaced()
    {
        QTemporaryDir other;
        TextSource s = source_;
        s.folder = other.path() + "/Doc.files/";
        QDir().mkpath(s.folder);
        QVERIFY(QFile::copy(source_.folder + "Doc.djvu", s.folder + "Doc.djvu"));
        const QString cache = other.path() + "/cache/";
        bool complete = false;
        QVERIFY(BuildTextIndex(s, cache, {}, &complete));
        QVERIFY(SearchPages(s, cache, "apple", 20));
        QVERIFY(QFile::remove(s.folder + "Doc.djvu"));
        QVERIFY(QFile::copy(dir_.filePath("p2.djvu"), s.folder + "Doc.djvu"));
        const auto stale = SearchPages(s, cache, "apple", 20);
        QVERIFY(!stale);
        QVERIFY2(stale.error().contains("changed"), qPrintable(stale.error()));
        QVERIFY(BuildTextIndex(s, cache, {}, &complete));
        QCOMPARE(Pages(SearchPages(s, cache, "gamma", 20).value()), QStringList{"1"});
        QCOMPARE(Pages(SearchPages(s, cache, "apple", 20).value()), QStringList{});
    }

    // A dictionary stored page by page: its files in the order of their
    // numbers, each searched as a page of its own.
    void pageByPage()
    {
        TextSource s;
        s.name = "Paged";
        s.title = "Paged";
        s.wholeFile = false;
        s.folder = dir_.filePath("Data/Paged.files/");
        QDir().mkpath(s.folder);
        const QStringList names = {"1", "2", "10"};
        for (int i = 0; i < 3; ++i)
            QVERIFY(QFile::copy(dir_.filePath(QStringLiteral("p%1.djvu").arg(i)), s.folder + names[i] + ".djvu"));
        const auto pages = ListPages(s);
        QVERIFY2(pages, qPrintable(pages.error()));
        QCOMPARE(pages->pages, names);
        bool complete = false;
        QVERIFY(BuildTextIndex(s, cache_, {}, &complete));
        const auto found = SearchPages(s, cache_, "gamma", 20);
        QVERIFY2(found, qPrintable(found.error()));
        QCOMPARE(Pages(found.value()), QStringList{"10"});
        QCOMPARE(found->at(0).lineText, QStringLiteral("\u0391\u039b\u03a6\u0391 beta gamma"));
    }

    void fifoWhereTheFileShouldBeIsRefused()
    {
        QTemporaryDir cache;
        const QString folder = cache.path() + "/";
        QVERIFY(::mkfifo(QFile::encodeName(IndexPathFor(folder, source_)).constData(), 0600) == 0);
        bool complete = true;
        const Status built = BuildTextIndex(source_, folder, {}, &complete);
        QVERIFY(!built);
        QVERIFY2(built.error().contains("not a regular file"), qPrintable(built.error()));
        const auto found = SearchPages(source_, folder, "apple", 20);
        QVERIFY(!found);
    }

    void buildCutShortGoesOn()
    {
        QTemporaryDir cache;
        const QString folder = cache.path() + "/";
        std::atomic<bool> cancel{false};
        BuildProgress p;
        p.cancel = &cancel;
        p.step = [&](int done, int) { cancel = done >= 1; };
        bool complete = true;
        QVERIFY(BuildTextIndex(source_, folder, p, &complete));
        QVERIFY(!complete);
        int done = 0, total = 0;
        auto found = SearchPages(source_, folder, "apple", 20, &done, &total);
        QVERIFY(found);
        QCOMPARE(done, 1);
        QCOMPARE(total, 3);
        QCOMPARE(Pages(found.value()), QStringList({"1"})); // what is done is searchable
        QVERIFY(BuildTextIndex(source_, folder, {}, &complete));
        QVERIFY(complete);
        found = SearchPages(source_, folder, "apple", 20, &done, &total);
        QCOMPARE(done, 3);
        QCOMPARE(Pages(found.value()), QStringList({"1", "2"}));
    }

    void storesNoTextOfItsOwn()
    {
        // The words are found through the index alone: the printed text is
        // read back from the page, not from the file.
        sqlite3* db = nullptr;
        QCOMPARE(sqlite3_open(QFile::encodeName(IndexPathFor(cache_, source_)).constData(), &db), SQLITE_OK);
        sqlite3_stmt* s = nullptr;
        QCOMPARE(sqlite3_prepare_v2(db, "SELECT text FROM lines WHERE lines MATCH 'apple'", -1, &s, nullptr),
                 SQLITE_OK);
        QCOMPARE(sqlite3_step(s), SQLITE_ROW);
        QCOMPARE(sqlite3_column_type(s, 0), SQLITE_NULL);
        sqlite3_finalize(s);
        sqlite3_close(db);
    }
};

int main(int argc, char** argv)
{
    QApplication app(argc, argv); // the pages are drawn with Qt
    SearchTest t;
    return QTest::qExec(&t, argc, argv);
}
#include "test_search.moc"
