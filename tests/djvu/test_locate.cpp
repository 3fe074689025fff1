// Where a headword stands on a page, and what the mouse picks out of the
// text layer: the word under the pointer and the words in a rectangle.
#include "djvu/LocateWord.h"
#include "djvu/PageSelection.h"

#include <QtTest>

using namespace lexifol;

namespace {
// Words laid out as lines of text: "|" starts a new line. Each word is 100
// pixels wide, lines 50 pixels apart; a word's box names its place.
QList<PageWord> page(const QString& text)
{
    QList<PageWord> words;
    int line = 0;
    for (const QString& l : text.split(u'|')) {
        int x = 0;
        for (const QString& w : l.split(u' ', Qt::SkipEmptyParts)) {
            words << PageWord{w, QRect(x * 110, line * 50, 100, 40)};
            ++x;
        }
        ++line;
    }
    return words;
}
} // namespace

class TestLocate : public QObject
{
    Q_OBJECT
private slots:
    void occurrence_data()
    {
        // clang-format off
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("headword");
        QTest::addColumn<QRect>("box");   // empty: not found
        QTest::addColumn<QByteArray>("rule");   // the dictionary's replacement rule
        QTest::newRow("start of a line before inside") << "see river here|river n. water" << "river" << QRect(0, 50, 100, 40) << QByteArray();
        QTest::newRow("first of several") << "river one|river two" << "river" << QRect(0, 0, 100, 40) << QByteArray();
        QTest::newRow("inside a line when only there") << "the river flows" << "river" << QRect(110, 0, 100, 40) << QByteArray();
        QTest::newRow("case ignored") << "River n." << "river" << QRect(0, 0, 100, 40) << QByteArray();
        QTest::newRow("accents ignored as a fallback") << "cafe x|café n." << "café" << QRect(0, 50, 100, 40) << QByteArray();
        QTest::newRow("stress mark and punctuation") << QStringLiteral("x|доро\u0301га, n.") << QStringLiteral("дорога")
                                                     << QRect(0, 50, 100, 40) << QByteArray();
        QTest::newRow("two words across a break") << "text ice|cream n." << "ice cream" << QRect(0, 0, 210, 90) << QByteArray();
        QTest::newRow("hyphenated at a line end") << "a dictio-|nary here" << "dictionary" << QRect(0, 0, 210, 90) << QByteArray();
        QTest::newRow("the dictionary's rules, as the search folds them")
            << QStringLiteral("x|STRAßE n.") << "Strasse" << QRect(0, 50, 100, 40) << QByteArray("ß=ss");
        QTest::newRow("no match") << "apple pear" << "plum" << QRect() << QByteArray();
        // A headword of many words is looked for by its first sixteen.
        const QString many = QStringLiteral("w1 w2 w3 w4 w5 w6 w7 w8 w9 w10 w11 w12 w13 w14 w15 w16");
        QTest::newRow("seventeen words, sixteen printed") << "x|" + many << many + " w17" << QRect(0, 50, 1600 + 150, 40) << QByteArray();
        // clang-format on
    }
    void occurrence()
    {
        QFETCH(QString, text);
        QFETCH(QString, headword);
        QFETCH(QByteArray, rule);
        ReplacementList rules;
        if (!rule.isEmpty())
            rules.append(rule);
        const std::optional<QRect> box = LocateHeadword(page(text), headword, {}, {}, TextMatcher(rules));
        QTEST(box.value_or(QRect()), "box");
    }

    // The centre of the n-th word of `text` (counting from 0).
    void wordUnderPointer_data()
    {
        // clang-format off
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("word");
        QTest::addColumn<QString>("picked");
        QTest::newRow("plain") << "river n. water" << 0 << "river";
        QTest::newRow("punctuation dropped") << "(see colour.) x" << 1 << "colour";
        QTest::newRow("inner hyphen and apostrophe kept") << "well-being o'clock" << 1 << "o'clock";
        QTest::newRow("hyphen at line end, first part") << "a dictio-|nary here" << 1 << "dictionary";
        QTest::newRow("hyphen at line end, second part") << "a dictio-|nary, here" << 2 << "dictionary";
        QTest::newRow("hyphen inside a line") << "dictio- nary" << 0 << "dictio";
        QTest::newRow("a dash alone") << "a - b" << 1 << "";
        // clang-format on
    }
    void wordUnderPointer()
    {
        QFETCH(QString, text);
        QFETCH(int, word);
        const QList<PageWord> words = page(text);
        QTEST(WordAt(words, words[word].box.center()), "picked");
    }

    void wordNearPointer()
    {
        const QList<PageWord> words = page("apple pear");
        QCOMPARE(WordAt(words, QPoint(104, 20)), QStringLiteral("apple")); // between, nearer apple
        QCOMPARE(WordAt(words, QPoint(50, 300)), QString());               // far below
    }

    // Two columns whose text layer reads the left one first; the rectangle
    // takes the lower half of each.
    void rectangleInReadingOrder()
    {
        QList<PageWord> words;
        const QStringList left{"l1a l1b", "l2a l2b", "l3a l3b"};
        const QStringList right{"r1a r1b", "r2a r2b", "r3a r3b"};
        for (int column = 0; column < 2; ++column) {
            const QStringList& lines = column == 0 ? left : right;
            for (int l = 0; l < lines.size(); ++l) {
                const QStringList parts = lines[l].split(u' ');
                for (int k = 0; k < parts.size(); ++k)
                    words << PageWord{parts[k], QRect(column * 1000 + k * 110, l * 50, 100, 40)};
            }
        }
        QCOMPARE(TextInRect(words, QRect(0, 45, 2000, 200)), QStringLiteral("l2a l2b\nl3a l3b\nr2a r2b\nr3a r3b"));
        QCOMPARE(TextInRect(words, QRect(100, 0, 1100, 60)), QStringLiteral("l1b\nr1a r1b"));
        QCOMPARE(PageTextOf(words).count(u'\n'), 5);
        QCOMPARE(TextInRect(words, QRect(3000, 0, 10, 10)), QString());
    }
};

QTEST_GUILESS_MAIN(TestLocate)
#include "test_locate.moc"
