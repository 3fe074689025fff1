// The running head of a page and its guide words, where articles begin,
// and the headword mark that skips the head.
#include "djvu/ArticleStarts.h"
#include "djvu/LocateWord.h"
#include "djvu/RunningHead.h"

#include <QtTest>

using namespace lexifol;
using namespace lexifol::djvu;

namespace {

// A page 1000 x 2000 whose lines are given top to bottom, "|" between
// lines; a line starting with "@" stands 40 px from the top, the others at
// 300, 360, 420 ... Words are 100 px wide, 10 px apart; "~" leaves a wide
// gap; a word led by "^" is a speck 10 px high, by "!" a streak 10 px
// wide; a line starting with ">N" starts N px in.
TextLayer Layer(const QString& text)
{
    TextLayer layer;
    layer.present = true;
    layer.pageSize = QSize(1000, 2000);
    int y = 300;
    for (QString line : text.split(u'|')) {
        int top = y;
        if (line.startsWith(u'@')) {
            line.remove(0, 1);
            top = 40;
        } else {
            y += 60;
        }
        TextLine l;
        l.first = int(layer.words.size());
        int x = 0;
        if (line.startsWith(u'>'))
            x = line.section(u' ', 0, 0).mid(1).toInt(), line = line.section(u' ', 1);
        for (const QString& w : line.split(u' ', Qt::SkipEmptyParts)) {
            if (w == u"~") {
                x += 200;
                continue;
            }
            if (w.startsWith(u'^'))
                layer.words.append({w.mid(1), QRect(x, top + 30, 10, 10)});
            else if (w.startsWith(u'!'))
                layer.words.append({w.mid(1), QRect(x, top, 10, 40)});
            else
                layer.words.append({w, QRect(x, top, 100, 40)});
            l.box |= layer.words.last().box;
            x += 110;
        }
        l.count = int(layer.words.size()) - l.first;
        layer.lines.append(l);
    }
    return layer;
}

} // namespace

class RunningHeadTest : public QObject
{
    Q_OBJECT
private slots:
    void headLines_data()
    {
        // clang-format off
        QTest::addColumn<QString>("page");
        QTest::addColumn<int>("headLines");
        QTest::newRow("guide words, number after") << "@candle cart 57|candle n. a light|cane n. a stick|cap n. a hat" << 1;
        QTest::newRow("number first") << "@57 candle cart|candle n. a light|cane n. a stick|cap n. a hat" << 1;
        QTest::newRow("roman number") << "@xiv PREFACE|This dictionary is|meant for readers|of all kinds" << 1;
        QTest::newRow("one guide word") << "@candle|candle n. a light|cane n. a stick|cap n. a hat" << 1;
        QTest::newRow("no head: body from the top") << "@candle n. a light to see by|cane n. a stick|cap n. a hat" << 0;
        QTest::newRow("too few lines") << "@candle cart|candle n." << 0;
        QTest::newRow("a short line low on the page") << "candle cart|candle n. a light|cane n. a stick" << 0;
        // Found by its guide words: a number alone is as good as a speck.
        QTest::newRow("a number only") << "@229 .|candle n. a light|cane n. a stick|cap n. a hat" << 0;
        QTest::newRow("specks above the head") << "@. \u00b0 e|@candle cart 57|candle n. a light|cane n. a stick|cap n." << 1;
        // clang-format on
    }
    void headLines()
    {
        QFETCH(QString, page);
        QFETCH(int, headLines);
        QCOMPARE(RunningHeadLines(Layer(page)).size(), headLines);
    }

    // Guide words as OCR gives them: the text between the page number, a
    // dash or a colon, a wide gap and the edge; specks dropped.
    void guideWords_data()
    {
        // clang-format off
        QTest::addColumn<QString>("head");
        QTest::addColumn<QStringList>("guides");
        QTest::newRow("number between") << "Abdominal 7 Abelmoschus moschatus" << QStringList{"Abdominal", "Abelmoschus moschatus"};
        QTest::newRow("several words after the number") << "Black 464 black and white" << QStringList{"Black", "black and white"};
        QTest::newRow("a dash between") << "Cab \u2014 Cabin 57" << QStringList{"Cab", "Cabin"};
        QTest::newRow("a dash run into the word") << "Cab\u2014 Cabin 57" << QStringList{"Cab", "Cabin"};
        QTest::newRow("a colon after the number") << "244 : CARDCASE" << QStringList{"CARDCASE"};
        QTest::newRow("specks beside the number") << "250\u00b0 _ , CARDCASE CARDINAL" << QStringList{"CARDCASE CARDINAL"};
        QTest::newRow("a wide gap parts them") << "candle ~ cart" << QStringList{"candle", "cart"};
        // clang-format on
    }
    void guideWords()
    {
        QFETCH(QString, head);
        QFETCH(QStringList, guides);
        const TextLayer layer = Layer(QStringLiteral("@") + head
                                      + QStringLiteral("|candle n. a light|cane n. a stick|cap n. a hat"));
        QCOMPARE(RunningHeadLines(layer).size(), 1);
        QCOMPARE(GuideWords(layer, RunningHeadLines(layer)), guides);
    }

    // Article starts: the lines at their column's edge, the indent measured
    // on the page whatever its width, columns told apart, specks skipped
    // and strays not taken for the edge.
    void articleStarts_data()
    {
        // clang-format off
        QTest::addColumn<QString>("page");
        QTest::addColumn<QStringList>("starts");
        QTest::newRow("a hanging indent of 16 px")
            << ">16 occupation of|arm, n. a limb|>16 of the body|art, n. skill|>16 and craft|ash, n. a tree"
            << QStringList{"arm", "art", "ash"};
        QTest::newRow("a wide indent")
            << ">90 occupation of|arm, n. a limb|>90 of the body|art, n. skill|ash, n. a tree" << QStringList{"arm", "art", "ash"};
        QTest::newRow("a speck in the margin before a headword")
            << ">-110 ^. arm, n. a limb|>20 of the body|art, n. skill|>20 and craft|ash, n.|>20 a tree" << QStringList{"arm", "art", "ash"};
        QTest::newRow("a speck before a bracket, which is print")
            << "of the last|>30 apple, n.|round and red|>-10 *(Bot.) a herb|>30 arm, n.|limb of|>30 art, n.|craft in"
            << QStringList{"apple", "arm", "art"};
        QTest::newRow("a mark as tall as a letter begins its line")
            << "of the last|>30 apple, n.|& OHG. round|>30 arm, n.|limb of|>30 art, n.|craft in" << QStringList{"apple", "arm", "art"};
        QTest::newRow("a streak before a headword")
            << ">-110 !\" arm, n. limb|>20 of the body|art, n. skill|>20 and craft|ash, n." << QStringList{"arm", "art", "ash"};
        QTest::newRow("a hyphen before a capital is a speck")
            << "-Crabber, n. one|>20 who catches|Crabbing, n. the act|>20 of it|crab-|>20 bed" << QStringList{"Crabber", "Crabbing"};
        QTest::newRow("a compound parted at its hyphen")
            << "Half- decked, a. partly|>20 decked|half-elliptic, a. of|>20 a spring|Half-faced, a. thin" << QStringList{"Half-decked", "half-elliptic", "Half-faced"};
        QTest::newRow("a pronunciation run into the headword")
            << "Exceptant/(tksept'ant, a. taking|>20 exception|Excerpt, n. a passage" << QStringList{"Exceptant", "Excerpt"};
        QTest::newRow("each column split at its own indent")
            << "ba, n.|>40 the word|bb, n.|>40 the word|bc, n.|>40 the word|bd, n.|>40 the word|be, n.|>40 the word"
               "|bf, n.|>40 the word|>500 ga, n.|>515 of it|>500 gb, n.|>515 of it|>500 gc, n.|>515 of it|>500 gd, n."
               "|>515 of it|>500 ge, n.|>515 of it|>500 gf, n.|>515 of it"
            << QStringList{"ba", "bb", "bc", "bd", "be", "bf", "ga", "gb", "gc", "gd", "ge", "gf"};
        QTest::newRow("two strays further out than the edge")
            << "ab, n.|>20 the word|ac, n.|>20 the word|ad, n.|>-40 27 of|>20 the word|ae, n.|>20 the word|af, n.|>20 the word"
               "|ag, n.|>20 the word|ah, n.|>-36 12 in|>20 the word|ai, n.|>20 the word|aj, n.|>20 the word|ak, n.|>20 the word"
            << QStringList{"ab", "ac", "ad", "ae", "af", "ag", "ah", "ai", "aj", "ak"};
        QTest::newRow("long articles leave few lines at the edge")
            << "middle, a. set|>20 of the word|>20 of the word|>20 of the word|>20 of the word|>20 of the word"
               "|>20 of the word|>20 of the word|>20 of the word|>20 of the word|>20 of the word|>20 of the word"
               "|middle age, n.|>20 of the word|>20 of the word|>20 of the word|>20 of the word|>20 of the word"
               "|>20 of the word|>20 of the word|>20 of the word|>20 of the word|>20 of the word|>20 of the word"
            << QStringList{"middle", "middle age"};
        QTest::newRow("a headword of several words")
            << "black, a. dark|>20 in colour|black and white, n. print|>20 on paper|blade, n." << QStringList{"black", "black and white", "blade"};
        QTest::newRow("articles that begin indented")
            << "of the last|>30 apple, n.|round and red|>30 arm, n.|limb of|>30 art, n.|craft in" << QStringList{"apple", "arm", "art"};
        QTest::newRow("articles that begin indented, fewer, a misread one among them")
            << "of the last|>30 apple, n.|round and red|orange kind|>30 apricot, n.|bright stone|coloured|>30 zebra, n."
               "|limb of|>30 arm, n.|tree kind|>30 art, n.|skill in" << QStringList{"apple", "apricot", "zebra", "arm", "art"};
        QTest::newRow("two columns, each with its edge")
            << "arm, n. a limb|>20 of the body|>500 ash, n. a tree|>520 of the wood|>500 axe, n." << QStringList{"arm", "ash", "axe"};
        QTest::newRow("no indent to be seen: every line") << "arm, n.|art, n.|ash, n." << QStringList{"arm", "art", "ash"};
        // clang-format on
    }
    void articleStarts()
    {
        QFETCH(QString, page);
        QFETCH(QStringList, starts);
        const auto order = [](QStringView a, QStringView b) { return a.compare(b, Qt::CaseInsensitive); };
        QStringList got;
        for (const ArticleStart& a : ArticleStarts(Layer(page), {}, order))
            got << a.headword;
        QCOMPARE(got, starts);
    }

    void pageNumbers()
    {
        for (const char* yes : {"57", "(57)", "xiv", "XLII", "1234"})
            QVERIFY2(IsPageNumber(QString::fromLatin1(yes)), yes);
        for (const char* no : {"candle", "57a", "", "123456"})
            QVERIFY2(!IsPageNumber(QString::fromLatin1(no)), no);
    }

    void markSkipsTheHead_data()
    {
        // clang-format off
        QTest::addColumn<QString>("page");
        QTest::addColumn<QString>("headword");
        QTest::addColumn<int>("top");   // of the mark; -1: none
        QTest::addColumn<int>("occurrence");   // the index's how many-th entry of it on the page
        QTest::newRow("entry, not the guide word") << "@candle cart 57|cake n. food|candle n. a light|cart n." << "candle" << 360 << 0;
        QTest::newRow("with a comma, not the guide word") << "@candle cart 57|cake n.|candle, n. a light|cart n." << "candle" << 360 << 0;
        QTest::newRow("only in the head") << "@candle cart 57|cake n. food|can n.|cap n." << "candle" << 40 << 0;
        QTest::newRow("something attached") << "@S T 9|SAVEPOINT(7) name|SAVE x|y z" << "savepoint" << 300 << 0;
        QTest::newRow("semicolon") << "@a b|x y|word; more|z" << "word" << 360 << 0;
        // Where the articles begin wins over a line that begins with the word.
        QTest::newRow("the article, not a line of another")
            << "@apple branch 9|apple, n. fruit|>20 branch off the way|branch, n. a limb|>20 of a tree" << "branch" << 420 << 0;
        QTest::newRow("the first article, its comma aside")
            << "@a b 9|pelvis, n. a basin|>20 of bone|pelvis of the kidney, n.|>20 a cavity" << "pelvis" << 300 << 0;
        QTest::newRow("the second of two homographs")
            << "@bank bark 9|bank, n. a mound|>20 of earth|bank, n. a place for money|bark, n." << "bank" << 420 << 1;
        QTest::newRow("a third the page does not have: the last")
            << "@bank bark 9|bank, n. a mound|>20 of earth|bank, n. a place for money|bark, n." << "bank" << 420 << 2;
        // clang-format on
    }
    void markSkipsTheHead()
    {
        QFETCH(QString, page);
        QFETCH(QString, headword);
        QFETCH(int, top);
        const TextLayer layer = Layer(page);
        QFETCH(int, occurrence);
        const std::optional<QRect> box = LocateHeadword(layer.words, headword, RunningHeadWords(layer),
                                                        ArticleStartWords(layer), TextMatcher(), occurrence);
        QCOMPARE(box ? box->top() : -1, top);
    }
};

QTEST_GUILESS_MAIN(RunningHeadTest)
#include "test_runninghead.moc"
