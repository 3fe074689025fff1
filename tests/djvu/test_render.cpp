// Drawing pages: a band of rows comes out as drawing the whole page draws
// it, and page images reuse the memory of images let go of.
#include "DjvuFixture.h"

#include "djvu/GreySpread.h"
#include "djvu/PageImage.h"
#include "djvu/RenderRows.h"

#include <QTemporaryDir>
#include <QtTest>

#include <libdjvu/ddjvuapi.h>

using namespace lexifol;
using namespace lexifol::djvu;
using namespace lexifol::testing;

class RenderTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void bandDrawsWhatOneCallDraws_data();
    void bandDrawsWhatOneCallDraws();
    void reducedAsDjvuLibreDraws_data();
    void reducedAsDjvuLibreDraws();
    void rowSpreadSameEitherWay_data();
    void rowSpreadSameEitherWay();
    void pageImagesReuseMemory();
    void spareMadeReady();

private:
    QTemporaryDir dir_;
    ddjvu_context_t* ctx_ = nullptr;
    ddjvu_document_t* doc_ = nullptr;
    ddjvu_page_t* page_ = nullptr;
    ddjvu_format_t* format_ = nullptr;
};

void RenderTest::initTestCase()
{
    if (!HaveDjvuTools())
        QSKIP("cjb2, djvused or djvm is not installed");
    QStringList lines;
    for (int i = 0; i < 14; ++i)
        lines << QStringLiteral("line%1 with words across").arg(i);
    const QString file = dir_.filePath(QStringLiteral("p.djvu"));
    QString error;
    QVERIFY2(MakeDjvuPage(file, lines, 700, nullptr, &error), qPrintable(error));
    ctx_ = ddjvu_context_create("test");
    doc_ = ddjvu_document_create_by_filename_utf8(ctx_, file.toUtf8().constData(), 0);
    QVERIFY(doc_);
    auto pump = [this] {
        ddjvu_message_wait(ctx_);
        while (ddjvu_message_peek(ctx_))
            ddjvu_message_pop(ctx_);
    };
    while (!ddjvu_document_decoding_done(doc_))
        pump();
    page_ = ddjvu_page_create_by_pageno(doc_, 0);
    QVERIFY(page_);
    while (!ddjvu_page_decoding_done(page_))
        pump();
    static unsigned int masks[4] = {0xff0000, 0xff00, 0xff, 0xff000000};
    format_ = ddjvu_format_create(DDJVU_FORMAT_RGBMASK32, 4, masks);
    ddjvu_format_set_row_order(format_, 1);
    ddjvu_format_set_y_direction(format_, 1);
}

void RenderTest::cleanupTestCase()
{
    if (format_)
        ddjvu_format_release(format_);
    if (page_)
        ddjvu_page_release(page_);
    if (doc_)
        ddjvu_document_release(doc_);
    if (ctx_)
        ddjvu_context_release(ctx_);
}

void RenderTest::bandDrawsWhatOneCallDraws_data()
{
    // clang-format off
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("rows");
    QTest::newRow("a short band") << 100 << 120;
    QTest::newRow("from the top") << 0 << 300;
    QTest::newRow("an odd start") << 37 << 701;
    QTest::newRow("whole page") << 0 << 1066;
    // clang-format on
}

void RenderTest::bandDrawsWhatOneCallDraws()
{
    QFETCH(int, from);
    QFETCH(int, rows);
    const QSize size(800, 1066);
    QImage reference(size, QImage::Format_RGB32);
    RenderInto(page_, format_, size, reference.bits(), reference.bytesPerLine(), 0, size.height());
    QVERIFY(InkIn(reference, reference.rect()) > 1000);

    // Rows outside the ones asked for must stay as they were.
    QImage drawn(size, QImage::Format_RGB32);
    drawn.fill(Qt::red);
    RenderInto(page_, format_, size, drawn.scanLine(from), drawn.bytesPerLine(), from, rows);
    for (int y = 0; y < size.height(); ++y) {
        const bool inside = y >= from && y < from + rows;
        const QImage& want = inside ? reference : drawn;
        if (inside)
            QVERIFY2(std::memcmp(drawn.constScanLine(y), want.constScanLine(y), size_t(drawn.bytesPerLine())) == 0,
                     qPrintable(QStringLiteral("row %1").arg(y)));
        else
            QCOMPARE(drawn.pixel(size.width() / 2, y), QColor(Qt::red).rgb());
    }
}

// Bilevel pages reduced by other than a whole factor are interpolated here:
// they must look as DjVuLibre draws them, not shifted or darker.
void RenderTest::reducedAsDjvuLibreDraws_data()
{
    QTest::addColumn<QSize>("size");
    QTest::newRow("2/3 of the page") << QSize(800, 1066);
    QTest::newRow("just under the page") << QSize(1100, 1466);
    QTest::newRow("halved, then 5/6") << QSize(500, 666);
    QTest::newRow("a third, then nearly all") << QSize(390, 520);
}

void RenderTest::reducedAsDjvuLibreDraws()
{
    QFETCH(QSize, size);
    QImage ours(size, QImage::Format_RGB32);
    ours.fill(Qt::red);
    RenderInto(page_, format_, size, ours.bits(), ours.bytesPerLine(), 0, size.height());
    QImage theirs(size, QImage::Format_RGB32);
    ddjvu_rect_t all{0, 0, unsigned(size.width()), unsigned(size.height())};
    QVERIFY(ddjvu_page_render(page_, DDJVU_RENDER_COLOR, &all, &all, format_, unsigned(theirs.bytesPerLine()),
                              reinterpret_cast<char*>(theirs.bits())));
    qint64 difference = 0;
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x) {
            const QRgb a = ours.pixel(x, y), b = theirs.pixel(x, y);
            QVERIFY2(qRed(a) == qGreen(a) && qGreen(a) == qBlue(a), "a bilevel page is drawn in greys");
            difference += std::abs(qGray(a) - qGray(b));
        }
    const double mean = double(difference) / (size.width() * size.height());
    // Drawn one source pixel off, this page differs by 6 to 14 on
    // average; the two scalers' own differences stay under 4.
    QVERIFY2(mean < 5.0, qPrintable(QStringLiteral("mean difference %1").arg(mean)));
    const int ink = InkIn(ours, ours.rect()), theirInk = InkIn(theirs, theirs.rect());
    QVERIFY2(theirInk > 500 && std::abs(ink - theirInk) < theirInk / 10,
             qPrintable(QStringLiteral("ink %1 against %2").arg(ink).arg(theirInk)));
}

void RenderTest::rowSpreadSameEitherWay_data()
{
    // clang-format off
    QTest::addColumn<int>("sourceWidth");
    QTest::addColumn<int>("width");
    QTest::newRow("a page reduced") << 1275 << 1000;
    QTest::newRow("one block and one pixel") << 11 << 8;
    QTest::newRow("too narrow for a block") << 9 << 7;
    QTest::newRow("nearly halved") << 1999 << 1001;
    QTest::newRow("the same width") << 64 << 64;
    QTest::newRow("widened") << 40 << 90;
    // clang-format on
}

// Seven pixels at a time with SSSE3 or one by one: the same pixels, none
// written past the row, and a ramp stays a ramp from end to end.
void RenderTest::rowSpreadSameEitherWay()
{
    QFETCH(int, sourceWidth);
    QFETCH(int, width);
    std::vector<uint8_t> noise(size_t(sourceWidth) + GreySpread::kPadding, 0), ramp(noise);
    for (int i = 0; i < sourceWidth; ++i) {
        noise[size_t(i)] = uint8_t((i * 7919 + 13) % 251);
        ramp[size_t(i)] = uint8_t(i * 255 / std::max(1, sourceWidth - 1));
    }
    GreySpread spread;
    spread.prepare(sourceWidth, width);
    const uint32_t guard = 0x12345678u;
    std::vector<uint32_t> fast(size_t(width) + 1, guard), slow(fast);
    spread.spread(noise.data(), fast.data(), true);
    spread.spread(noise.data(), slow.data(), false);
    QCOMPARE(fast[size_t(width)], guard);
    QVERIFY(fast == slow);

    spread.spread(ramp.data(), fast.data(), true);
    for (int x = 1; x < width; ++x)
        QVERIFY2(qBlue(fast[size_t(x)]) >= qBlue(fast[size_t(x - 1)]), qPrintable(QString::number(x)));
    QVERIFY(qBlue(fast[0]) <= 255 / std::max(1, sourceWidth - 1) + 1);
    QVERIFY(qBlue(fast[size_t(width - 1)]) >= 255 - 255 / std::max(1, sourceWidth - 1) - 1);
    QCOMPARE(qAlpha(fast[0]), 255);
}

void RenderTest::pageImagesReuseMemory()
{
    DropSparePageBuffers();
    const QSize page(1000, 1294);
    const uchar* first = nullptr;
    {
        QImage a = NewPageImage(page);
        QCOMPARE(a.size(), page);
        QCOMPARE(a.format(), QImage::Format_RGB32);
        a.fill(Qt::white); // writable where it lies
        first = a.constBits();
        // Two living images never share memory.
        QImage b = NewPageImage(page);
        QVERIFY(b.constBits() != first);
    }
    int before = SparePageBuffers();
    QCOMPARE(before, 2);
    QImage again = NewPageImage(page);
    QVERIFY(SparePageBuffers() == before - 1);
    // A copy written to goes elsewhere; the original keeps its memory.
    QImage copy = again;
    copy.fill(Qt::black);
    QVERIFY(copy.constBits() != again.constBits());

    // Memory much larger than asked for is not handed out.
    before = SparePageBuffers();
    QImage small = NewPageImage(QSize(1000, 600));
    QCOMPARE(small.size(), QSize(1000, 600));
    QCOMPARE(SparePageBuffers(), before);
    // Small images do not go through the spares at all.
    const QImage thumb = NewPageImage(QSize(100, 100));
    QCOMPARE(thumb.size(), QSize(100, 100));
    QCOMPARE(SparePageBuffers(), before);
}

void RenderTest::spareMadeReady()
{
    const QSize page(900, 1200);
    DropSparePageBuffers();
    std::atomic<bool> stop{true};
    // Stopped before it began: nothing made.
    PrepareSparePageImage(page, stop);
    QCOMPARE(SparePageBuffers(), 0);
    stop = false;
    PrepareSparePageImage(page, stop);
    qsizetype bytes = 0;
    QCOMPARE(SparePageBuffers(&bytes), 1);
    QVERIFY(bytes >= qsizetype(900) * 4 * 1200);
    // Already there: not made twice.
    PrepareSparePageImage(page, stop);
    QCOMPARE(SparePageBuffers(), 1);

    // Handed out white, and said to be.
    bool white = false;
    {
        QImage taken = NewPageImage(page, &white);
        QCOMPARE(SparePageBuffers(), 0);
        QVERIFY(white);
        for (int y : {0, 599, 1199})
            for (int x : {0, 450, 899})
                QCOMPARE(taken.pixel(x, y), qRgb(255, 255, 255));
        taken.fill(Qt::black);
    }
    // Let go of after holding a page: not white until made so again, where
    // it lies rather than in fresh memory.
    QImage again = NewPageImage(page, &white);
    QVERIFY(!white);
    const uchar* memory = again.constBits();
    again = QImage();
    PrepareSparePageImage(page, stop);
    QCOMPARE(SparePageBuffers(), 1);
    const QImage whitened = NewPageImage(page, &white);
    QVERIFY(white);
    QCOMPARE(whitened.constBits(), memory);
    QCOMPARE(whitened.pixel(899, 1199), qRgb(255, 255, 255));
}

QTEST_MAIN(RenderTest)
#include "test_render.moc"
