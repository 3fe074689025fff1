// Documents opened by callers that wait: pages, text layers as lines and
// words, pages that do not decode, and files that must never be opened.
#include "DjvuFixture.h"
#include "common/HostileFiles.h"
#include "djvu/Document.h"
#include "djvu/PageFiles.h"

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
    void pagesAndLines();
    void pageOutsideTheDocument();
    void documentCutShort();
    void refusedFiles_data();
    void refusedFiles();
    void indirectPartThatIsAFifo();
    void pageSources_data();
    void pageSources();

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

void DocumentTest::pagesAndLines()
{
    const auto doc = djvu::Document::open(book_);
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
    QElapsedTimer t;
    t.start();
    const auto doc = djvu::Document::open(cut, {2000});
    // Either the document or its last page is told as undecodable.
    const bool told = !doc || !doc.value()->decodePage(1);
    QVERIFY(told);
    QVERIFY(t.elapsed() < 5000);
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
    QTest::addColumn<bool>("wholeFile");
    QTest::addColumn<QString>("reference");
    QTest::addColumn<bool>("annotation");
    QTest::addColumn<QString>("document");
    QTest::addColumn<QString>("page");
    QTest::newRow("page of the document") << true << "12" << true << "F/Big.djvu" << "12";
    QTest::newRow("page file") << false << "0012" << true << "F/0012.djvu" << "";
    QTest::newRow("annotation") << true << "Annotation" << true << "F/Annotation.djvu" << "";
    QTest::newRow("a page named Annotation") << true << "Annotation" << false << "F/Big.djvu" << "Annotation";
}

void DocumentTest::pageSources()
{
    QFETCH(bool, wholeFile);
    QFETCH(QString, reference);
    QFETCH(bool, annotation);
    QFETCH(QString, document);
    QFETCH(QString, page);
    const djvu::PageSource s = djvu::PageSourceFor(QStringLiteral("F/"), QStringLiteral("Big"), wholeFile, reference, annotation);
    QCOMPARE(s.document, document);
    QCOMPARE(s.page, page);
}

QTEST_MAIN(DocumentTest)
#include "test_document.moc"
