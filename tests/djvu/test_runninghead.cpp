// The running head of a page, and the headword mark that skips it.
#include "djvu/LocateWord.h"
#include "djvu/RunningHead.h"

#include <QtTest>

using namespace lexifol;
using namespace lexifol::djvu;

namespace {

// A page 1000 x 2000 whose lines are given top to bottom, "|" between
// lines; a line starting with "@" stands 40 px from the top, the others at
// 300, 360, 420 ... Words are 100 px wide.
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
        for (const QString& w : line.split(u' ', Qt::SkipEmptyParts)) {
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
        QTest::addColumn<QString>("page");
        QTest::addColumn<int>("headLines");
        QTest::newRow("guide words, number after") << "@candle cart 57|candle n. a light|cane n. a stick|cap n. a hat" << 1;
        QTest::newRow("number first") << "@57 candle cart|candle n. a light|cane n. a stick|cap n. a hat" << 1;
        QTest::newRow("roman number") << "@xiv PREFACE|This dictionary is|meant for readers|of all kinds" << 1;
        QTest::newRow("one guide word") << "@candle|candle n. a light|cane n. a stick|cap n. a hat" << 1;
        QTest::newRow("no head: body from the top") << "@candle n. a light to see by|cane n. a stick|cap n. a hat" << 0;
        QTest::newRow("too few lines") << "@candle cart|candle n." << 0;
        QTest::newRow("a short line low on the page") << "candle cart|candle n. a light|cane n. a stick" << 0;
    }
    void headLines()
    {
        QFETCH(QString, page);
        QFETCH(int, headLines);
        QCOMPARE(RunningHeadLines(Layer(page)).size(), headLines);
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
        QTest::addColumn<QString>("page");
        QTest::addColumn<QString>("headword");
        QTest::addColumn<int>("top");   // of the mark; -1: none
        QTest::newRow("entry, not the guide word") << "@candle cart 57|cake n. food|candle n. a light|cart n." << "candle" << 360;
        QTest::newRow("with a comma, not the guide word") << "@candle cart 57|cake n.|candle, n. a light|cart n." << "candle" << 360;
        QTest::newRow("only in the head") << "@candle cart 57|cake n. food|can n.|cap n." << "candle" << 40;
        QTest::newRow("something attached") << "@S T 9|SAVEPOINT(7) name|SAVE x|y z" << "savepoint" << 300;
        QTest::newRow("semicolon") << "@a b|x y|word; more|z" << "word" << 360;
    }
    void markSkipsTheHead()
    {
        QFETCH(QString, page);
        QFETCH(QString, headword);
        QFETCH(int, top);
        const TextLayer layer = Layer(page);
        const std::optional<QRect> box = LocateHeadword(layer.words, headword, RunningHeadWords(layer));
        QCOMPARE(box ? box->top() : -1, top);
    }
};

QTEST_GUILESS_MAIN(RunningHeadTest)
#include "test_runninghead.moc"
