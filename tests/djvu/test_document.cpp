// Documents opened by callers that wait: pages, text layers as lines and
// words, pages that do not decode, and files that must never be opened.
#include "DjvuFixture.h"
#include "common/HostileFiles.h"
#include "djvu/Document.h"
#include "djvu/DocumentText.h"
#include "djvu/PageFiles.h"
#include "djvu/TextHelper.h"
#include "djvu/TextReply.h"
#include "DjvuEncode.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QtTest>

using namespace lexifol;
using namespace lexifol::testing;

class DocumentTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void pagesAndLines_data();
    void pagesAndLines();
    void pageOutsideTheDocument();
    void documentCutShort();
    void refusedFiles_data();
    void refusedFiles();
    void indirectPartThatIsAFifo();
    void pageSources_data();
    void pageSources();
    void hostileTextLayer_data();
    void hostileTextLayer();
    void readThrough();
    void helperAnswerCutOrWrong();

private:
    QTemporaryDir dir_;
    QString book_;
    QStringList pages_;
};

void DocumentTest::initTestCase()
{
    if (!HaveDjvuTools())
        QSKIP("the DjVuLibre tools are not installed");
    const QList<QStringList> text{{QStringLiteral("alpha beta"), QStringLiteral("gamma")},
                                  {QStringLiteral("delta"), QStringLiteral("epsilon zeta eta")}};
    for (int i = 0; i < text.size(); ++i) {
        const QString page = dir_.filePath(QStringLiteral("p%1.djvu").arg(i + 1));
        QString error;
        QVERIFY2(MakeDjvuPage(page, text[i], 1200 + 100 * i, nullptr, &error), qPrintable(error));
        pages_ << page;
    }
    book_ = dir_.filePath(QStringLiteral("book.djvu"));
    QString error;
    QVERIFY2(BundleDjvu(book_, pages_, &error), qPrintable(error));
}

void DocumentTest::pagesAndLines_data()
{
    QTest::addColumn<bool>("indirect");
    QTest::addColumn<bool>("readWhole");
    QTest::newRow("bundled, by name") << false << false;
    QTest::newRow("bundled, read whole") << false << true;
    QTest::newRow("indirect, read whole") << true << true;
}

// A reader going through the pages reads a bundled file into memory; an
// indirect one is read by name all the same.
void DocumentTest::pagesAndLines()
{
    QFETCH(bool, indirect);
    QFETCH(bool, readWhole);
    QString path = book_;
    if (indirect) {
        if (QStandardPaths::findExecutable(QStringLiteral("djvmcvt")).isEmpty())
            QSKIP("djvmcvt is not installed");
        QString error;
        QVERIFY2(MakeIndirect(book_, dir_.filePath(QStringLiteral("lines")), &error), qPrintable(error));
        path = dir_.filePath(QStringLiteral("lines/index.djvu"));
    }
    djvu::OpenLimits limits;
    limits.readWhole = readWhole;
    const auto doc = djvu::Document::open(path, limits);
    QVERIFY2(doc, qPrintable(doc.error()));
    QCOMPARE(doc.value()->pageCount(), 2);
    const auto text = doc.value()->pageText(1);
    QVERIFY2(text, qPrintable(text.error()));
    QVERIFY(text->present);
    QCOMPARE(text->lines.size(), 2);
    QCOMPARE(text->lineText(0), QStringLiteral("delta"));
    QCOMPARE(text->lineText(1), QStringLiteral("epsilon zeta eta"));
    QCOMPARE(text->words.size(), 4);
    QVERIFY(text->words[1].box.top() > text->words[0].box.bottom());
    QCOMPARE(text->pageSize, QSize(1200, 1600));
    QVERIFY(doc.value()->decodePage(0));
    const auto image = doc.value()->render(0, QSize(300, 400));
    QVERIFY2(image, qPrintable(image.error()));
    QVERIFY(InkIn(image.value(), image->rect()) > 50);
}

void DocumentTest::pageOutsideTheDocument()
{
    const auto doc = djvu::Document::open(book_);
    QVERIFY(doc);
    for (int index : {-1, 2, 1000}) {
        QVERIFY(!doc.value()->pageText(index));
        QVERIFY(!doc.value()->decodePage(index));
        QVERIFY(!doc.value()->render(index, QSize(10, 10)));
    }
}

void DocumentTest::documentCutShort()
{
    QFile in(book_);
    QVERIFY(in.open(QIODevice::ReadOnly));
    const QByteArray bytes = in.readAll();
    const QString cut = dir_.filePath(QStringLiteral("cut.djvu"));
    QFile out(cut);
    QVERIFY(out.open(QIODevice::WriteOnly));
    out.write(bytes.left(bytes.size() - bytes.size() / 3));
    out.close();
    for (const bool readWhole : {false, true}) {
        QElapsedTimer t;
        t.start();
        const auto doc = djvu::Document::open(cut, {2000, readWhole});
        // Either the document or its last page is told as undecodable.
        const bool told = !doc || !doc.value()->decodePage(1);
        QVERIFY(told);
        QVERIFY(t.elapsed() < 5000);
    }
}

void DocumentTest::refusedFiles_data()
{
    QTest::addColumn<int>("kind");
    for (Hostile h : {Hostile::Fifo, Hostile::Device, Hostile::Folder, Hostile::SymlinkLoop, Hostile::SymlinkToFifo})
        QTest::newRow(HostileName(h)) << int(h);
}

void DocumentTest::refusedFiles()
{
    QFETCH(int, kind);
    const QString path = dir_.filePath(QStringLiteral("hostile%1/doc.djvu").arg(kind));
    QVERIFY(MakeHostile(Hostile(kind), path, 0));
    QElapsedTimer t;
    t.start();
    const auto doc = djvu::Document::open(path);
    QVERIFY(!doc);
    QVERIFY2(doc.error().contains(path), qPrintable(doc.error()));
    QVERIFY(t.elapsed() < 1000);
}

void DocumentTest::indirectPartThatIsAFifo()
{
    if (QStandardPaths::findExecutable(QStringLiteral("djvmcvt")).isEmpty())
        QSKIP("djvmcvt is not installed");
    const QString folder = dir_.filePath(QStringLiteral("indirect"));
    QString error;
    QVERIFY2(MakeIndirect(book_, folder, &error), qPrintable(error));
    const QString index = folder + QStringLiteral("/index.djvu");
    QVERIFY(djvu::Document::open(index));
    QVERIFY(QFile::remove(folder + QStringLiteral("/p2.djvu")));
    QVERIFY(MakeHostile(Hostile::Fifo, folder + QStringLiteral("/p2.djvu"), 0));
    QElapsedTimer t;
    t.start();
    const auto doc = djvu::Document::open(index);
    QVERIFY(!doc);
    QVERIFY2(doc.error().contains(QStringLiteral("FIFO")), qPrintable(doc.error()));
    QVERIFY(t.elapsed() < 1000);
}

void DocumentTest::pageSources_data()
{
    // clang-format off
    QTest::addColumn<bool>("wholeFile");
    QTest::addColumn<QString>("reference");
    QTest::addColumn<bool>("annotation");
    QTest::addColumn<QString>("document");
    QTest::addColumn<QString>("page");
    QTest::newRow("page of the document") << true << "12" << true << "F/Big.djvu" << "12";
    QTest::newRow("page file") << false << "0012" << true << "F/0012.djvu" << "";
    QTest::newRow("annotation") << true << "Annotation" << true << "F/Annotation.djvu" << "";
    QTest::newRow("a page named Annotation") << true << "Annotation" << false << "F/Big.djvu" << "Annotation";
    // clang-format on
}

void DocumentTest::pageSources()
{
    QFETCH(bool, wholeFile);
    QFETCH(QString, reference);
    QFETCH(bool, annotation);
    QFETCH(QString, document);
    QFETCH(QString, page);
    const djvu::PageSource s = djvu::PageSourceFor(QStringLiteral("F/"), QStringLiteral("Big"), wholeFile, reference,
                                                   annotation);
    QCOMPARE(s.document, document);
    QCOMPARE(s.page, page);
}

QTEST_MAIN(DocumentTest)

namespace {

// A text chunk (TXTa) of `depth` zones each inside the one before, a word
// at the bottom: the layout of DjVu's text chunks, 17 bytes a zone.
QByteArray NestedText(int depth)
{
    auto put = [](QByteArray& out, quint32 v, int bytes) {
        for (int i = bytes - 1; i >= 0; --i)
            out += char((v >> (8 * i)) & 0xff);
    };
    QByteArray out;
    put(out, 1, 3);
    out += 'x';
    out += char(1); // version
    for (int level = 0; level <= depth; ++level) {
        const bool word = level == depth;
        out += char(level == 0 ? 1 : word ? 6 : 3); // page, region ..., word
        for (int v : {0, 0, 100, 100, 0})
            put(out, quint32(v + 0x8000), 2);
        put(out, 1, 3);            // text length
        put(out, word ? 0 : 1, 3); // children
    }
    return out;
}

// The single-page file at `path` with `chunk` added to its form.
bool AddChunk(const QString& path, const QByteArray& id, const QByteArray& chunk)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadWrite))
        return false;
    QByteArray file = f.readAll();
    if (file.size() % 2)
        file += '\0';
    QByteArray piece = id;
    for (int i = 3; i >= 0; --i)
        piece += char((chunk.size() >> (8 * i)) & 0xff);
    file += piece + chunk + (chunk.size() % 2 ? QByteArray(1, '\0') : QByteArray());
    const quint32 form = quint32(file.size() - 12);
    for (int i = 0; i < 4; ++i)
        file[8 + i] = char((form >> (8 * (3 - i))) & 0xff);
    f.seek(0);
    return f.write(file) == file.size();
}

} // namespace

// A text layer nested far deeper than any page's crashes DjVuLibre's reader
// by its stack: the page is told unreadable, and the program goes on to
// read the next page.
void DocumentTest::hostileTextLayer_data()
{
    // clang-format off
    QTest::addColumn<int>("depth");
    QTest::addColumn<bool>("readable");
    QTest::newRow("as OCR nests it") << 5 << true;
    QTest::newRow("100,000 deep") << 100000 << false;
    // clang-format on
}

void DocumentTest::hostileTextLayer()
{
    QFETCH(int, depth);
    QFETCH(bool, readable);
    QVERIFY2(!djvu::TextHelperProgram().isEmpty(), "run by ctest, which names the helper");
    QImage blank(200, 200, QImage::Format_Mono);
    blank.fill(0);
    const QString path = dir_.filePath(QStringLiteral("nested%1.djvu").arg(depth));
    QString error;
    QVERIFY2(djvu::EncodeBilevelPage(blank, 300, QString(), path, &error), qPrintable(error));
    QVERIFY(AddChunk(path, "TXTa", NestedText(depth)));
    auto doc = djvu::Document::open(path);
    QVERIFY2(doc, qPrintable(doc.error()));
    const Result<djvu::TextLayer> layer = doc.value()->pageText(0);
    QCOMPARE(bool(layer), readable);
    QCOMPARE(bool(doc.value()->pagePlainText(0)), readable);
    if (!readable)
        QVERIFY2(layer.error().contains("cannot be read"), qPrintable(layer.error()));
    // The next document is read as ever.
    auto good = djvu::Document::open(book_);
    QVERIFY(good);
    const Result<djvu::TextLayer> next = good.value()->pageText(0);
    QVERIFY2(next && next->present, qPrintable(next ? QString() : next.error()));
}

// A document read through page after page, its pages shared between
// helpers: every page comes whole and in its place, and a page that takes
// a helper down is told unreadable without losing the pages after it.
void DocumentTest::readThrough()
{
    QVERIFY2(!djvu::TextHelperProgram().isEmpty(), "run by ctest, which names the helper");
    constexpr int kHostile = 4;
    QStringList parts;
    QString error;
    for (int i = 0; i < 9; ++i) {
        parts << dir_.filePath(QStringLiteral("through%1.djvu").arg(i));
        if (i == kHostile) {
            QImage blank(200, 200, QImage::Format_Mono);
            blank.fill(0);
            QVERIFY2(djvu::EncodeBilevelPage(blank, 300, QString(), parts.last(), &error), qPrintable(error));
            QVERIFY(AddChunk(parts.last(), "TXTa", NestedText(100000)));
            continue;
        }
        QVERIFY2(MakeDjvuPage(parts.last(), {QStringLiteral("word%1").arg(i)}, 1000, nullptr, &error),
                 qPrintable(error));
    }
    const QString through = dir_.filePath(QStringLiteral("through.djvu"));
    QVERIFY2(BundleDjvu(through, parts, &error), qPrintable(error));
    const Result<djvu::DocumentText> text = djvu::DocumentText::open(through);
    QVERIFY2(text, qPrintable(text ? QString() : text.error()));
    QCOMPARE(text->pageCount(), parts.size());
    for (int i = 0; i < parts.size(); ++i) {
        const Result<djvu::TextLayer> got = text->page(i);
        if (i == kHostile) {
            QVERIFY2(!got && got.error().contains("cannot be read"), qPrintable(got ? QString() : got.error()));
            continue;
        }
        QVERIFY2(got, qPrintable(got ? QString() : got.error()));
        QCOMPARE(got->lineText(0), QStringLiteral("word%1").arg(i));
    }
    QVERIFY(!text->page(parts.size()));
    const Result<djvu::DocumentText> none = djvu::DocumentText::open(dir_.filePath(QStringLiteral("none.djvu")));
    QVERIFY(!none && none.error().contains("none.djvu"));
}

// A helper that died half way through an answer, or wrote a line that
// names words the page does not have: the page is unreadable, never read
// outside its words.
void DocumentTest::helperAnswerCutOrWrong()
{
    djvu::TextLayer layer;
    layer.present = true;
    layer.pageSize = QSize(200, 100);
    layer.words = {{QStringLiteral("apple"), QRect(1, 1, 20, 8)}, {QStringLiteral("pie"), QRect(25, 1, 10, 8)}};
    layer.lines = {{QRect(1, 1, 34, 8), 0, 2}};
    const QByteArray whole = djvu::EncodeTextLayer(layer);
    const std::optional<djvu::TextLayer> back = djvu::DecodeTextLayer(whole);
    QVERIFY(back && back->lineText(0) == u"apple pie");
    for (qsizetype cut = 0; cut < whole.size(); ++cut)
        QVERIFY2(!djvu::DecodeTextLayer(whole.left(cut)), qPrintable(QString::number(cut)));
    QVERIFY(!djvu::DecodeTextLayer(whole + '\0'));
    layer.lines[0].count = 3;
    QVERIFY(!djvu::DecodeTextLayer(djvu::EncodeTextLayer(layer)));
    // A box no page has, whose corner would overflow.
    layer.lines[0].count = 2;
    layer.words[1].box = QRect(25, 1, 10, 2000000000);
    QVERIFY(!djvu::DecodeTextLayer(djvu::EncodeTextLayer(layer)));
    const QByteArray plain = djvu::EncodePlainText(QStringLiteral("apple pie"));
    QCOMPARE(djvu::DecodePlainText(plain).value_or(QString()), QStringLiteral("apple pie"));
    QVERIFY(!djvu::DecodePlainText(plain.chopped(1)));
}

#include "test_document.moc"
