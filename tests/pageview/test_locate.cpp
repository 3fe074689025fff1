// Where a headword stands on a page: the occurrence chosen and the matching.
#include "pageview/LocateWord.h"

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
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("headword");
        QTest::addColumn<QRect>("box");   // empty: not found
        QTest::newRow("start of a line before inside") << "see river here|river n. water" << "river" << QRect(0, 50, 100, 40);
        QTest::newRow("first of several") << "river one|river two" << "river" << QRect(0, 0, 100, 40);
        QTest::newRow("inside a line when only there") << "the river flows" << "river" << QRect(110, 0, 100, 40);
        QTest::newRow("case ignored") << "River n." << "river" << QRect(0, 0, 100, 40);
        QTest::newRow("accents ignored as a fallback") << "cafe x|café n." << "café" << QRect(0, 50, 100, 40);
        QTest::newRow("stress mark and punctuation") << QStringLiteral("x|доро\u0301га, n.") << QStringLiteral("дорога")
                                                     << QRect(0, 50, 100, 40);
        QTest::newRow("two words across a break") << "text ice|cream n." << "ice cream" << QRect(0, 0, 210, 90);
        QTest::newRow("hyphenated at a line end") << "a dictio-|nary here" << "dictionary" << QRect(0, 0, 210, 90);
        QTest::newRow("no match") << "apple pear" << "plum" << QRect();
    }
    void occurrence()
    {
        QFETCH(QString, text);
        QFETCH(QString, headword);
        const std::optional<QRect> box = LocateHeadword(page(text), headword);
        QTEST(box.value_or(QRect()), "box");
    }
};

QTEST_GUILESS_MAIN(TestLocate)
#include "test_locate.moc"
