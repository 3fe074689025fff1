// The pure parts of the page view: zoom and render size, page references,
// text-layer boxes and search, and the render cache.
#include "pageview/ImageCache.h"
#include "djvu/PageLayout.h"
#include "djvu/PageText.h"

#include <QtTest>

using namespace lexifol;

class LayoutTest : public QObject
{
    Q_OBJECT
private slots:
    void parseZoom_data();
    void parseZoom();
    void planRender_data();
    void planRender();
    void planRenderCapsHugeImages();
    void resolvePage_data();
    void resolvePage();

    void djvuBox();
    void rotateBox_data();
    void rotateBox();

    void cacheEvictsLeastRecentlyUsed();
    void cacheRemovesDocumentAndReplaces();
};

void LayoutTest::parseZoom_data()
{
    // clang-format off
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("mode");
    QTest::addColumn<double>("percent");
    QTest::newRow("width") << "width" << int(ZoomSetting::FitWidth) << 100.0;
    QTest::newRow("unknown word") << "huge" << int(ZoomSetting::FitWidth) << 100.0;
    QTest::newRow("page, any case") << " Page " << int(ZoomSetting::FitPage) << 100.0;
    QTest::newRow("one2one") << "one2one" << int(ZoomSetting::OneToOne) << 100.0;
    QTest::newRow("number") << "150" << int(ZoomSetting::Percent) << 150.0;
    QTest::newRow("with percent sign") << "75%" << int(ZoomSetting::Percent) << 75.0;
    QTest::newRow("too large") << "5000" << int(ZoomSetting::Percent) << kMaxZoomPercent;
    QTest::newRow("zero") << "0" << int(ZoomSetting::FitWidth) << 100.0;
    // clang-format on
}

void LayoutTest::parseZoom()
{
    QFETCH(QString, text);
    const ZoomSetting z = ParseZoom(text);
    QTEST(int(z.mode), "mode");
    QTEST(z.percent, "percent");
}

void LayoutTest::planRender_data()
{
    // clang-format off
    QTest::addColumn<QString>("zoom");
    QTest::addColumn<QSize>("view");
    QTest::addColumn<int>("scrollBar");
    QTest::addColumn<double>("dpi");
    QTest::addColumn<QSize>("display");

    // A 1200 x 1600 page at 300 dpi.
    QTest::newRow("width, tall page leaves room for the bar") << "width" << QSize(600, 500) << 15 << 96.0 << QSize(585, 780);
    QTest::newRow("width without bars") << "width" << QSize(600, 500) << 0 << 96.0 << QSize(600, 800);
    QTest::newRow("width, page fits, no bar needed") << "width" << QSize(600, 900) << 15 << 96.0 << QSize(600, 800);
    QTest::newRow("page fits height") << "page" << QSize(600, 500) << 15 << 96.0 << QSize(375, 500);
    QTest::newRow("100 percent at 192 dpi") << "100" << QSize(600, 500) << 15 << 192.0 << QSize(768, 1024);
    QTest::newRow("one to one") << "one2one" << QSize(600, 500) << 15 << 96.0 << QSize(1200, 1600);
    QTest::newRow("unshown view") << "width" << QSize(0, 0) << 0 << 96.0 << QSize(64, 85);
    // clang-format on
}

void LayoutTest::planRender()
{
    QFETCH(QString, zoom);
    QFETCH(QSize, view);
    QFETCH(int, scrollBar);
    QFETCH(double, dpi);
    QFETCH(QSize, display);
    const RenderPlan plan = PlanRender(QSize(1200, 1600), 300, ParseZoom(zoom), ViewArea{view, scrollBar, dpi});
    QCOMPARE(plan.display, display);
    QCOMPARE(plan.image, display);
}

void LayoutTest::planRenderCapsHugeImages()
{
    const RenderPlan plan = PlanRender(QSize(6000, 8000), 300, ParseZoom(QStringLiteral("999")),
                                       ViewArea{QSize(800, 600), 15, 192.0});
    QCOMPARE(plan.display, QSize(38362, 51149));
    QVERIFY(qint64(plan.image.width()) * plan.image.height() <= kMaxRenderPixels);
    QVERIFY(plan.image.width() > 3000);
    // The proportions stay.
    QVERIFY(qAbs(double(plan.image.width()) / plan.image.height() - 0.75) < 0.001);
    QVERIFY(PlanRender(QSize(), 300, ZoomSetting(), ViewArea{QSize(10, 10), 0, 96}).display.isEmpty());
}

void LayoutTest::resolvePage_data()
{
    // clang-format off
    QTest::addColumn<QString>("reference");
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("index");
    QTest::newRow("empty") << "" << 5 << 0;
    QTest::newRow("blanks around") << " 4 " << 5 << 3;
    QTest::newRow("leading zeros") << "005" << 5 << 4;
    // A page the document does not have is no page: never another one.
    QTest::newRow("zero") << "0" << 5 << -1;
    QTest::newRow("past the end") << "99" << 5 << -1;
    QTest::newRow("far past the end") << "99999999999999999999999" << 5 << -1;
    QTest::newRow("by id without extension") << "p4" << 5 << 3;
    QTest::newRow("by title, case ignored") << "preface" << 5 << 1;
    QTest::newRow("unknown name") << "nothing" << 5 << -1;
    QTest::newRow("signed number is a name") << "-2" << 5 << -1;
    QTest::newRow("no pages") << "3" << 0 << -1;
    // clang-format on
}

void LayoutTest::resolvePage()
{
    QFETCH(QString, reference);
    QFETCH(int, count);
    const QHash<QString, int> names{
        {QStringLiteral("p3.djvu"), 2}, {QStringLiteral("p4"), 3}, {QStringLiteral("Preface"), 1}};
    QTEST(ResolvePageReference(reference, count, names), "index");
}

void LayoutTest::djvuBox()
{
    // Bottom-left origin to top-left, on a page 100 high.
    QCOMPARE(FromDjvuBox(10, 20, 30, 50, 100), QRect(QPoint(10, 50), QPoint(29, 79)));
    QCOMPARE(FromDjvuBox(30, 50, 10, 20, 100), QRect(QPoint(10, 50), QPoint(29, 79)));
}

void LayoutTest::rotateBox_data()
{
    // clang-format off
    QTest::addColumn<int>("turns");
    QTest::addColumn<QRect>("expected");
    // A 10 x 4 box at (2, 1) on a 100 x 50 page.
    QTest::newRow("none") << 0 << QRect(2, 1, 10, 4);
    QTest::newRow("quarter turn") << 1 << QRect(1, 88, 4, 10);
    QTest::newRow("half turn") << 2 << QRect(88, 45, 10, 4);
    QTest::newRow("three quarters") << 3 << QRect(45, 2, 4, 10);
    QTest::newRow("full turn") << 4 << QRect(2, 1, 10, 4);
    // clang-format on
}

void LayoutTest::rotateBox()
{
    QFETCH(int, turns);
    QFETCH(QRect, expected);
    const QRect box(2, 1, 10, 4);
    const QSize page(100, 50);
    const QRect turned = RotateBox(box, page, turns);
    QCOMPARE(turned, expected);
    // Turning the rest of the way round gives the box back.
    const QSize turnedPage = turns % 2 ? page.transposed() : page;
    QCOMPARE(RotateBox(turned, turnedPage, (4 - turns % 4) % 4), box);
}

void LayoutTest::cacheEvictsLeastRecentlyUsed()
{
    QImage img(100, 100, QImage::Format_RGB32); // 40000 bytes
    img.fill(Qt::white);
    ImageCache cache(100000);
    const RenderKey a{QStringLiteral("a"), 0, img.size()};
    const RenderKey b{QStringLiteral("a"), 1, img.size()};
    const RenderKey c{QStringLiteral("a"), 2, img.size()};
    cache.insert(a, img);
    cache.insert(b, img.copy());
    QCOMPARE(cache.bytes(), 80000);
    QVERIFY(!cache.find(a).isNull()); // a is now the most recent
    cache.insert(c, img.copy());
    QVERIFY(cache.contains(a));
    QVERIFY(!cache.contains(b));
    QVERIFY(cache.contains(c));
    QCOMPARE(cache.bytes(), 80000);
    QVERIFY(cache.find(RenderKey{QStringLiteral("a"), 0, QSize(99, 100)}).isNull());

    // One image over the limit stays: it is the one on view.
    QImage big(200, 200, QImage::Format_RGB32);
    cache.insert(RenderKey{QStringLiteral("b"), 0, big.size()}, big);
    QCOMPARE(cache.count(), 1);
    QCOMPARE(cache.bytes(), big.sizeInBytes());
}

void LayoutTest::cacheRemovesDocumentAndReplaces()
{
    QImage img(10, 10, QImage::Format_RGB32);
    ImageCache cache(1 << 20);
    cache.insert(RenderKey{QStringLiteral("x"), 0, img.size()}, img);
    cache.insert(RenderKey{QStringLiteral("x"), 1, img.size()}, img.copy());
    cache.insert(RenderKey{QStringLiteral("y"), 0, img.size()}, img.copy());
    QImage other(10, 10, QImage::Format_RGB32);
    other.fill(Qt::red);
    cache.insert(RenderKey{QStringLiteral("y"), 0, img.size()}, other);
    QCOMPARE(cache.count(), 3);
    QCOMPARE(cache.bytes(), 3 * img.sizeInBytes());
    QCOMPARE(cache.find(RenderKey{QStringLiteral("y"), 0, img.size()}).pixel(0, 0), QColor(Qt::red).rgb());
    cache.removeDocument(QStringLiteral("x"));
    QCOMPARE(cache.count(), 1);
    QCOMPARE(cache.bytes(), img.sizeInBytes());
    QVERIFY(cache.contains(RenderKey{QStringLiteral("y"), 0, img.size()}));
    cache.clear();
    QCOMPARE(cache.bytes(), 0);
}

QTEST_GUILESS_MAIN(LayoutTest)
#include "test_layout.moc"
