// Index order and the bisection: the collation's facts, the documented
// examples, and random sorted lists against a linear reference.
#include "index/IndexOps.h"
#include "index/Lookup.h"

#include <QRandomGenerator>
#include <QtTest>

#include <algorithm>

using namespace lexifol;

class TestSearch : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { IndexCollation::SetDefaultLocale(QStringLiteral("en_US")); }
    void collation_data();
    void collation();
    void collationFollowsLocale();
    void findPosition_data();
    void findPosition();
    void randomListsAgainstLinearScan();
    void pageRule_data();
    void pageRule();
    void accents_data();
    void accents();
    void declaredCollation();
    void knownLocales_data();
    void knownLocales();
};

void TestSearch::collation_data()
{
    // clang-format off
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("a");
    QTest::addColumn<QString>("b");
    QTest::addColumn<int>("sign");
    QTest::newRow("case ignored") << "en_US" << "apple" << "APPLE" << 0;
    QTest::newRow("case ignored, Cyrillic") << "ru" << "\u0451\u0436" << "\u0401\u0416" << 0;
    QTest::newRow("key before its entry") << "en_US" << "apple" << "apple\t12" << -1;
    QTest::newRow("entry before longer headword") << "en_US" << "apple\t12" << "applesauce\t3" << -1;
    QTest::newRow("TAB before blank") << "en_US" << "a\tz" << "a z" << -1;
    QTest::newRow("blank before punctuation") << "en_US" << "a z" << "a-a" << -1;
    QTest::newRow("punctuation before digit") << "en_US" << "a-z" << "a0" << -1;
    QTest::newRow("digit before letter") << "en_US" << "a9" << "aa" << -1;
    QTest::newRow("hyphen not ignored") << "en_US" << "a-b" << "ab" << -1;
    QTest::newRow("accents count") << "en_US" << "cote" << "cot\u00e9" << -1;
    QTest::newRow("accents count, Russian") << "ru" << "\u0435" << "\u0451" << -1;
    QTest::newRow("linguistic, not code order") << "en_US" << "\u00e9clair" << "zebra" << -1;
    // ICU's locale for C/POSIX puts capitals first as a primary difference.
    QTest::newRow("POSIX locale still ignores case") << "en_US_POSIX" << "apple" << "APPLE" << 0;
    // clang-format on
}

void TestSearch::collation()
{
    QFETCH(QString, locale);
    QFETCH(QString, a);
    QFETCH(QString, b);
    QFETCH(int, sign);
    const IndexCollation c(locale);
    auto sgn = [](int v) { return (v > 0) - (v < 0); };
    QCOMPARE(sgn(c.compare(a, b)), sign);
    QCOMPARE(sgn(c.compare(b, a)), -sign);
}

void TestSearch::collationFollowsLocale()
{
    // Swedish sorts "ö" after "z"; English with "o".
    QVERIFY(IndexCollation("sv").compare(u"\u00f6l", u"zebra") > 0);
    QVERIFY(IndexCollation("en").compare(u"\u00f6l", u"zebra") < 0);
    IndexCollation::SetDefaultLocale(QStringLiteral("sv"));
    IndexList list;
    list.setLines({"ol", "zebra"});
    QCOMPARE(FindPosition(list, u"\u00f6l"), 2);
    IndexCollation::SetDefaultLocale(QStringLiteral("en_US"));
    QCOMPARE(FindPosition(list, u"\u00f6l"), 1);
    // The locale's options are honoured, in either spelling: letter by letter
    // ("break-in" after "breakfasting"), blanks and hyphens ignored.
    for (const char* locale : {"en-u-ka-shifted", "en@colAlternate=shifted"}) {
        QVERIFY2(IndexCollation(QString::fromLatin1(locale)).compare(u"break-in", u"breakfasting") > 0, locale);
        QVERIFY2(IndexCollation(QString::fromLatin1(locale)).compare(u"Apple", u"apple") == 0,
                 locale); // case still aside
    }
    QVERIFY(IndexCollation("en").compare(u"break-in", u"breakfasting") < 0);
}

void TestSearch::findPosition_data()
{
    // clang-format off
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QString>("key");
    QTest::addColumn<int>("position");
    const QStringList first{"apple\t12", "apple\t13", "applesauce\t3", "banana\t20"};
    QTest::newRow("headword finds its first entry") << first << "apple" << 0;
    QTest::newRow("case ignored") << first << "APPLE" << 0;
    QTest::newRow("prefix") << first << "appl" << 0;
    QTest::newRow("between") << first << "applet" << 3;
    QTest::newRow("whole line") << first << "apple\t13" << 1;
    QTest::newRow("after last") << first << "zebra" << 4;
    QTest::newRow("empty key") << first << "" << 0;
    QTest::newRow("empty list") << QStringList() << "apple" << 0;
    QTest::newRow("two equal lines") << QStringList{"apple", "apple"} << "apple" << 0;
    QTest::newRow("three equal lines") << QStringList{"apple", "apple", "apple"} << "apple" << 1;
    QTest::newRow("equal met in the middle")
        << QStringList{"a", "b", "c", "c", "c", "c", "d"} << "c" << 3;
    // Unsorted input: whatever the bisection reaches, no error.
    QTest::newRow("unsorted") << QStringList{"z", "a", "y", "b"} << "b" << 2;
    // clang-format on
}

void TestSearch::findPosition()
{
    QFETCH(QStringList, lines);
    QFETCH(QString, key);
    QFETCH(int, position);
    IndexList list;
    list.setLines(lines);
    QCOMPARE(FindPosition(list, key), position);
}

void TestSearch::randomListsAgainstLinearScan()
{
    const IndexCollation& coll = IndexCollation::Default();
    QRandomGenerator rng(7);
    const QString letters = QStringLiteral("aAbBe\u00e9\u00c9 -\t1");
    auto word = [&](int maxLen) {
        QString w;
        const int n = int(rng.bounded(maxLen + 1));
        for (int i = 0; i < n; ++i)
            w += letters[int(rng.bounded(letters.size()))];
        return w;
    };
    for (int round = 0; round < 200; ++round) {
        QStringList lines;
        const int n = int(rng.bounded(60));
        for (int i = 0; i < n; ++i)
            lines << word(4);
        std::stable_sort(lines.begin(), lines.end(),
                         [&](const QString& a, const QString& b) { return coll.compare(a, b) < 0; });
        IndexList list;
        list.setLines(lines);
        for (int k = 0; k < 30; ++k) {
            const QString key = (k % 3 == 0 && n > 0) ? lines[int(rng.bounded(n))].toUpper() : word(4);
            const int pos = FindPosition(list, key);
            int first = 0; // first line that does not sort before the key
            while (first < n && coll.compare(lines[first], key) < 0)
                ++first;
            int equalEnd = first;
            while (equalEnd < n && coll.compare(lines[equalEnd], key) == 0)
                ++equalEnd;
            if (equalEnd == first)
                QCOMPARE(pos, first);
            else // some line of the equal run, where the bisection met it
                QVERIFY2(pos >= first && pos < equalEnd,
                         qPrintable(QStringLiteral("%1 not in [%2,%3)").arg(pos).arg(first).arg(equalEnd)));
        }
    }
}

// A page index: one line per page, the first headword printed on it.
void TestSearch::pageRule_data()
{
    // clang-format off
    QTest::addColumn<bool>("throughSecond");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("row");
    const struct { const char* name; const char* text; int row; } cases[] = {
        {"before the first entry", "aardvark", 0},
        {"equal to the first entry", "about", 0},
        {"equal to an entry", "candle", 2},
        {"equal, other case", "CANDLE", 2},
        {"between two entries", "cat", 2},
        {"just before an entry", "candl", 1},
        {"prefix of the next entry", "bat", 0},
        {"after the last entry", "zebra", 4},
        {"several pages begin with it", "dog", 3},
    };
    for (bool second : {false, true})
        for (const auto& c : cases)
            QTest::addRow("%s%s", c.name, second ? ", second index" : "") << second << c.text << c.row;
    // The rules delete hyphens: "can-dle" lands where "candle" does.
    QTest::newRow("rules applied, second index") << true << "can-dle" << 2;
    // clang-format on
}

void TestSearch::pageRule()
{
    QFETCH(bool, throughSecond);
    QFETCH(QString, text);
    QFETCH(int, row);
    IndexList first, second;
    first.setLines({"about\t1", "bath\t2", "candle\t3", "dog\t4", "dog\t5"});
    ReplacementList rules;
    rules.setLines({QByteArray("-=")});
    if (throughSecond)
        second.setLines({"about", "bath", "candle", "dog", "dog"});
    const LookupIndexes ix{first, second, rules, IndexCollation::Default(), true};
    QCOMPARE(SearchRow(ix, text), row);
    // Opening a history entry applies the same rule.
    QCOMPARE(FindExactRow(ix, text), std::optional<int>(row));
}

// Words that differ only by accents are different words: the one typed is
// found when the index has it, the nearest (accents aside) only when not;
// history entries, kept as printed, come back to their own row.
void TestSearch::accents_data()
{
    // clang-format off
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("typedRow");
    QTest::addColumn<int>("exactRow");   // -1: none
    const struct { const char* name; const char* locale; const char* text; int typed; int exact; } rows[] = {
        {"accented, both in the index", "fr", "caf\u00e9", 1, 1},
        {"plain, both in the index", "fr", "cafe", 0, 0},
        {"other case", "fr", "CAF\u00c9", 1, -1},
        {"accent on a short word", "es", "s\u00ed", 5, 5},
        {"no such accents: the nearest", "fr", "p\u00eache", 3, -1},
        {"the word itself among its variants", "fr", "p\u00e9ch\u00e9", 3, 3},
        {"plain, in English", "en", "caf\u00e9", 1, 1},
    };
    for (const auto& r : rows)
        QTest::newRow(r.name) << QString::fromUtf8(r.locale) << QString::fromUtf8(r.text) << r.typed << r.exact;
    // clang-format on
}

void TestSearch::accents()
{
    QFETCH(QString, locale);
    QFETCH(QString, text);
    QFETCH(int, typedRow);
    QFETCH(int, exactRow);
    IndexList first;
    first.setLines({"cafe\t1", "caf\u00e9\t2", "caf\u00e9s\t2", "p\u00e9ch\u00e9\t5", "si\t6", "s\u00ed\t7"});
    const ReplacementList none;
    const IndexCollation* c = IndexCollation::ForLocale(locale);
    QVERIFY(c);
    const LookupIndexes ix{first, IndexList(), none, *c};
    QCOMPARE(SearchRow(ix, text), typedRow);
    QCOMPARE(FindExactRow(ix, text).value_or(-1), exactRow);
}

// A Swedish index puts "å" after "z": under English order it is never found.
void TestSearch::declaredCollation()
{
    IndexList first;
    first.setLines({"apa\t1", "zebra\t2", "\u00e5l\t3", "\u00f6ra\t4"});
    const ReplacementList none;
    const IndexCollation* sv = IndexCollation::ForLocale(QStringLiteral("sv"));
    QVERIFY(sv);
    QCOMPARE(IndexCollation::ForLocale(QStringLiteral("sv")), sv); // made once
    QCOMPARE(FindExactRow({first, IndexList(), none, *sv}, u"\u00e5l"), std::optional<int>(2));
    QCOMPARE(FindExactRow({first, IndexList(), none, *sv}, u"\u00f6ra"), std::optional<int>(3));
    QCOMPARE(FindExactRow({first, IndexList(), none}, u"\u00e5l"), std::nullopt);
}

void TestSearch::knownLocales_data()
{
    // clang-format off
    QTest::addColumn<QString>("locale");
    QTest::addColumn<bool>("known");
    QTest::newRow("sv") << "sv" << true;
    QTest::newRow("en_US") << "en_US" << true;
    QTest::newRow("cs_CZ") << "cs_CZ" << true;
    QTest::newRow("traditional Spanish") << "es@collation=traditional" << true;
    QTest::newRow("no such language") << "xx" << false;
    QTest::newRow("a word") << "swedish" << false;
    // clang-format on
}

void TestSearch::knownLocales()
{
    QFETCH(QString, locale);
    QFETCH(bool, known);
    QCOMPARE(IndexCollation::ForLocale(locale) != nullptr, known);
}

QTEST_APPLESS_MAIN(TestSearch)
#include "test_search.moc"
