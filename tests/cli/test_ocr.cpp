// lexifol-index ocr on pages drawn with a known text: the words read stand
// where they were drawn, a cut run resumes, nothing is written without the
// language's data, and a page's own text is kept.
#include "RunTool.h"
#include "DjvuEncode.h"
#include "djvu/Document.h"

#include <QDir>
#include <QFile>
#include <QFontMetrics>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>

using namespace lexifol;

namespace {

constexpr int kDpi = 300;
const QSize kPage(1700, 1100);
const QStringList kWords{"HARBOUR", "LANTERN", "MEADOW"};

struct Drawn {
    QString word;
    QRect box; // y from the top
};

QList<Drawn> DrawPage(QImage& image)
{
    image = QImage(kPage, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    QFont font(QStringLiteral("DejaVu Serif"));
    font.setPixelSize(64);
    p.setFont(font);
    p.setPen(Qt::black);
    const QFontMetrics m(font);
    QList<Drawn> drawn;
    for (int i = 0; i < kWords.size(); ++i) {
        const QPoint at(200 + i * 480, 300 + i * 250);
        p.drawText(at, kWords[i]);
        drawn.append({kWords[i], m.tightBoundingRect(kWords[i]).translated(at)});
    }
    return drawn;
}

// Two pages without text: one with the words, one blank; and a third,
// blank, that says it has 25 dpi when asked.
bool MakeScan(const QString& dir, QList<Drawn>& drawn, const QString& firstPageText = QString(), bool huge = false)
{
    QImage words, blank(kPage, QImage::Format_RGB32);
    drawn = DrawPage(words);
    blank.fill(Qt::white);
    QString error;
    QImage hugePage(2500, 1700, QImage::Format_RGB32);
    hugePage.fill(Qt::white);
    const bool ok = djvu::EncodeBilevelPage(words, kDpi, firstPageText, dir + "/p1.djvu", &error)
        && djvu::EncodeBilevelPage(blank, kDpi, QString(), dir + "/p2.djvu", &error)
        && (!huge || djvu::EncodeBilevelPage(hugePage, 25, QString(), dir + "/p3.djvu", &error))
        && djvu::Bundle(dir + "/scan.djvu",
                        QStringList{dir + "/p1.djvu", dir + "/p2.djvu"}
                            + (huge ? QStringList{dir + "/p3.djvu"} : QStringList()),
                        &error);
    if (!ok)
        qWarning("%s", qPrintable(error));
    return ok;
}

QStringList WordsOf(const QString& path, int page)
{
    const auto doc = djvu::Document::open(path);
    QStringList out;
    if (const auto layer = doc ? doc.value()->pageText(page) : Result<djvu::TextLayer>(Status::failure("")))
        for (const PageWord& w : layer->words)
            out << w.text;
    return out;
}

} // namespace

class OcrTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        if (!djvu::HaveTools())
            QSKIP("cjb2, djvused and djvm are needed");
    }

    void wordsStandWhereTheyWereDrawn()
    {
        QTemporaryDir dir;
        QList<Drawn> drawn;
        QVERIFY(MakeScan(dir.path(), drawn));
        const QByteArray before = [&] {
            QFile f(dir.filePath("scan.djvu"));
            f.open(QIODevice::ReadOnly);
            return f.readAll();
        }();
        const Run run = RunLexifolIndex(
            {"ocr", dir.filePath("scan.djvu"), "-o", dir.filePath("out.djvu"), "--lang", "eng", "--jobs", "2"});
        QVERIFY2(run.code == 0, qPrintable(run.err));
        QFile scan(dir.filePath("scan.djvu"));
        QVERIFY(scan.open(QIODevice::ReadOnly));
        QCOMPARE(scan.readAll(), before); // the scan is only read
        const auto doc = djvu::Document::open(dir.filePath("out.djvu"));
        QVERIFY(doc);
        const auto layer = doc.value()->pageText(0);
        QVERIFY(layer && layer->present);
        QCOMPARE(layer->words.size(), drawn.size());
        for (int i = 0; i < drawn.size(); ++i) {
            QCOMPARE(layer->words[i].text, drawn[i].word);
            const QRect got = layer->words[i].box, want = drawn[i].box;
            QVERIFY2((got.topLeft() - want.topLeft()).manhattanLength() <= 12
                         && (got.bottomRight() - want.bottomRight()).manhattanLength() <= 12,
                     qPrintable(QStringLiteral("%1: %2,%3 %4x%5")
                                    .arg(drawn[i].word)
                                    .arg(got.x())
                                    .arg(got.y())
                                    .arg(got.width())
                                    .arg(got.height())));
        }
        QVERIFY(WordsOf(dir.filePath("out.djvu"), 1).isEmpty()); // the blank page: a layer without words
        QVERIFY(!QFileInfo::exists(dir.filePath("out.djvu.pages")));
    }

    // One command from a bare scan to a dictionary whose pages are searchable.
    void scanToDictionary()
    {
        QTemporaryDir dir;
        QList<Drawn> drawn;
        QVERIFY(MakeScan(dir.path(), drawn));
        const QString data = dir.filePath("Data");
        const Run made = RunLexifolIndex(
            {"make-dictionary", dir.filePath("scan.djvu"), "-o", data, "--name", "Scan", "--lang", "eng"});
        QVERIFY2(made.code == 0 || made.code == 1, qPrintable(made.err));
        QVERIFY(QFileInfo::exists(data + "/Scan.list"));
        QCOMPARE(WordsOf(data + "/Scan.files/Scan.djvu", 0), kWords);
        const Run found = RunLexifolIndex({"text-search", data, "Scan", "lantern"});
        QVERIFY2(found.code == 0 && found.out.startsWith("1\t"), qPrintable(found.out + found.err));
    }

    // Drawn at 300 dpi, a 2500 x 1700 page that says it has 25 would be
    // 30000 x 20400 pixels: refused before anything is drawn.
    void refusesAPageTooLargeToDraw()
    {
        QTemporaryDir dir;
        QList<Drawn> drawn;
        QVERIFY(MakeScan(dir.path(), drawn, QString(), true));
        const QString out = dir.filePath("out.djvu");
        const Run run = RunLexifolIndex({"ocr", dir.filePath("scan.djvu"), "-o", out, "--lang", "eng"});
        QCOMPARE(run.code, 1);
        QVERIFY2(run.err.contains("page 3 is too large to recognise (30000 x 20400 pixels)"), qPrintable(run.err));
        QVERIFY(!QFileInfo::exists(out));
    }

    void cases_data()
    {
        // clang-format off
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QString>("resumed");     // a page 1 recognised before the cut
        QTest::addColumn<QString>("ownText");     // page 1's own text layer
        QTest::addColumn<int>("code");
        QTest::addColumn<QStringList>("page1");   // its words in the output; none: no output
        const QString fake = "(page 0 0 1700 1100 (line 10 10 300 60 (word 10 10 300 60 \"RESUMED\")))";
        const QString own = "(page 0 0 1700 1100 (line 10 10 300 60 (word 10 10 300 60 \"OWN\")))";
        QTest::newRow("resumed after a cut") << QStringList{"--lang", "eng"} << fake << QString() << 0 << QStringList{"RESUMED"};
        QTest::newRow("language data missing") << QStringList{"--lang", "xyz"} << QString() << QString() << 2 << QStringList();
        QTest::newRow("own text kept") << QStringList{"--lang", "eng", "--pages", "1-1"} << QString() << own << 0 << QStringList{"OWN"};
        QTest::newRow("own text read again when forced") << QStringList{"--lang", "eng", "--pages", "1", "--force"}
                                                          << QString() << own << 0 << kWords;
        QTest::newRow("pages outside the scan") << QStringList{"--pages", "2-5"} << QString() << QString() << 2 << QStringList();

        // clang-format on
    }

    void cases()
    {
        QFETCH(QStringList, options);
        QFETCH(QString, resumed);
        QFETCH(QString, ownText);
        QTemporaryDir dir;
        QList<Drawn> drawn;
        QVERIFY(MakeScan(dir.path(), drawn, ownText));
        const QString out = dir.filePath("out.djvu");
        if (!resumed.isEmpty()) {
            QVERIFY(QDir().mkpath(out + ".pages"));
            QFile f(out + ".pages/page-00001.txt");
            QVERIFY(f.open(QIODevice::WriteOnly) && f.write(resumed.toUtf8()) > 0);
        }
        const Run run = RunLexifolIndex(QStringList{"ocr", dir.filePath("scan.djvu"), "-o", out} + options);
        QFETCH(int, code);
        QVERIFY2(run.code == code, qPrintable(run.err));
        QFETCH(QStringList, page1);
        QCOMPARE(QFileInfo::exists(out), !page1.isEmpty());
        if (!page1.isEmpty())
            QCOMPARE(WordsOf(out, 0), page1);
        if (options.contains("xyz"))
            QVERIFY2(run.err.contains("tesseract-ocr-xyz"), qPrintable(run.err));
    }
};

QTEST_MAIN(OcrTest)
#include "test_ocr.moc"
