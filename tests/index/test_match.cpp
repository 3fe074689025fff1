// The one matcher of page text: what the text search finds, its result line
// marks, Find and F3 find on the page, all agree.
#include "index/TextMatch.h"

#include <QTest>

using namespace lexifol;

using Runs = QList<QList<int>>;

class MatchTest : public QObject
{
    Q_OBJECT

    // "apple*" a word begun, "apple" a whole word.
    static QList<MatchWord> Words(const TextMatcher& m, const QStringList& typed)
    {
        QList<MatchWord> out;
        for (const QString& w : typed)
            out.append({m.fold(QString(w).remove(u'*')), w.endsWith(u'*')});
        return out;
    }

private slots:
    void agree_data()
    {
        // clang-format off
        QTest::addColumn<QByteArrayList>("rules");
        QTest::addColumn<QStringList>("page");      // the text layer's words
        QTest::addColumn<QString>("typed");         // into Find
        QTest::addColumn<Runs>("found");
        QTest::addColumn<QStringList>("searched");  // words of a text search
        QTest::addColumn<Runs>("marked");

        const QStringList fruit{"pineapple", "Apple", "apples", "banana,"};
        QTest::newRow("accents: cafe finds Café")
            << QByteArrayList() << QStringList{"Café", "au", "lait"} << "cafe" << Runs{{0}}
            << QStringList{"cafe"} << Runs{{0}};
        QTest::newRow("rule ß=ss") << QByteArrayList{"ß=ss"} << QStringList{"STRAßE", "Strasse"} << "strasse"
                                    << Runs{{0}, {1}} << QStringList{"straße"} << Runs{{0}, {1}};
        QTest::newRow("ё folded, letter case too")
            << QByteArrayList{"ё=е"} << QStringList{"ЕЛКА", "ёлка"} << QStringLiteral("ёлка") << Runs{{0}, {1}}
            << QStringList{QStringLiteral("Ёлка")} << Runs{{0}, {1}};
        QTest::newRow("whole words: no apple inside pineapple")
            << QByteArrayList() << fruit << "apple " << Runs{{1}} << QStringList{"apple"} << Runs{{1}};
        QTest::newRow("typing stopped mid-word: its beginning")
            << QByteArrayList() << fruit << "appl" << Runs{{1}, {2}} << QStringList{"appl*"} << Runs{{1}, {2}};
        QTest::newRow("punctuation is no part of a word")
            << QByteArrayList() << fruit << "banana" << Runs{{3}} << QStringList{"banana"} << Runs{{3}};
        QTest::newRow("a phrase across words; each word alone when searched")
            << QByteArrayList() << fruit << "apples banana" << Runs{{2, 3}} << QStringList{"apples", "banana"}
            << Runs{{2}, {3}};
        QTest::newRow("a printed word holding two")
            << QByteArrayList() << QStringList{"half-way", "there"} << "way there" << Runs{{0, 1}}
            << QStringList{"way"} << Runs{{0}};
        QTest::newRow("nothing typed, nothing found")
            << QByteArrayList() << fruit << " -- " << Runs{} << QStringList{} << Runs{};
        // clang-format on
    }

    void agree()
    {
        QFETCH(QByteArrayList, rules);
        QFETCH(QStringList, page);
        QFETCH(QString, typed);
        QFETCH(QStringList, searched);
        ReplacementList list;
        list.setLines(rules);
        const TextMatcher m(list);
        QTEST(m.findPhrase(page, m.typedPhrase(typed)), "found");
        const QList<MatchWord> words = Words(m, searched);
        QTEST(m.findAny(page, words), "marked");
        // The result line marks the same words as the page does.
        const QString line = page.join(u' ');
        Runs inLine;
        for (const auto& [start, length] : m.findInLine(line, words)) {
            Q_UNUSED(length);
            inLine.append(QList<int>{int(line.left(start).count(u' '))});
        }
        QTEST(inLine, "marked");
    }
};

QTEST_GUILESS_MAIN(MatchTest)
#include "test_match.moc"
