// Reading on: where the pages of a column lie, and the page view showing a
// document (or a folder of page files) as one column on real DjVu pages.
#include "DjvuFixture.h"
#include "ViewFixture.h"

#include "base/CodePage.h"
#include "pageview/Composition.h"
#include "pageview/DocumentCache.h"
#include "pageview/PageArea.h"
#include "pageview/PageColumn.h"
#include "pageview/PageView.h"

#include <QAbstractScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

using namespace lexifol;
using namespace lexifol::pv;
using namespace lexifol::testing;
using State = PageView::State;

namespace {

// Three pages of 100x200, 100x100 and 150x300 from page 5 on: tops 0, 208, 316.
PageColumn ThreePages()
{
    const QList<QSizeF> sizes = {{100, 200}, {100, 100}, {150, 300}};
    PageColumn c;
    c.layOut(5, 3, [&](int page) { return sizes[page - 5]; });
    return c;
}

QStringList Lines(int page)
{
    return {QStringLiteral("page%1 first").arg(page + 1), QStringLiteral("words here")};
}

} // namespace

class ColumnTest : public QObject
{
    Q_OBJECT
private slots:
    void places();
    void pageAt_data();
    void pageAt();
    void pageInView_data();
    void pageInView();
    void textsKeptWhateverTheLength();

    void initTestCase();
    void init();
    void cleanup();
    void scrollsIntoTheNextPage();
    void sizesAndZoom();
    void requestPlacesItsPage();
    void marksStayOnTheirPage();
    void onePageAtATime();
    void keepsOnlyPagesNearTheView();
    void pageFilesInTheirOrder();

private:
    PageArea* area() const { return b_->findChild<PageArea*>(); }
    bool showPage(const QString& document, const QString& page, bool pageByPage = false,
                  const QByteArrayList& parameters = {"Toolbar=no", "zoom=width"});
    void wheel(int delta);
    // A box of `page`, in pixels of a page `width` wide, where the view shows it.
    QRect onScreen(int page, const QRect& box, double width) const;
    bool wheelUntil(const std::function<bool()>& done, int delta = -120);

    QTemporaryDir dir_;
    QString book_, mixed_, longBook_, filesFolder_;
    QList<DrawnPage> bookPages_;
    bool haveTools_ = false;
    PageView* b_ = nullptr;
};

void ColumnTest::places()
{
    const PageColumn c = ThreePages();
    QCOMPARE(c.count(), 3);
    QVERIFY(c.contains(5) && c.contains(7) && !c.contains(4) && !c.contains(8));
    QCOMPARE(c.top(5), 0.0);
    QCOMPARE(c.top(6), 208.0);
    QCOMPARE(c.top(7), 316.0);
    QCOMPARE(c.height(), 616.0);
    QCOMPARE(c.widest(), 150.0);
    PageColumn grown = c;
    grown.setSize(6, QSizeF(100, 150)); // a page whose size came moves those below it
    QCOMPARE(grown.top(7), 366.0);
    QCOMPARE(grown.height(), 666.0);
    PageColumn empty;
    QCOMPARE(empty.height(), 0.0);
    QCOMPARE(empty.count(), 0);
}

void ColumnTest::pageAt_data()
{
    // clang-format off
    QTest::addColumn<double>("y");
    QTest::addColumn<int>("page");
    QTest::newRow("above the column") << -40.0 << 5;
    QTest::newRow("top") << 0.0 << 5;
    QTest::newRow("last row of the first") << 199.5 << 5;
    QTest::newRow("the gap goes with the page above") << 204.0 << 5;
    QTest::newRow("second") << 208.0 << 6;
    QTest::newRow("third") << 500.0 << 7;
    QTest::newRow("below the column") << 9000.0 << 7;
    // clang-format on
}

void ColumnTest::pageAt()
{
    QFETCH(double, y);
    QFETCH(int, page);
    QCOMPARE(ThreePages().pageAt(y), page);
}

void ColumnTest::pageInView_data()
{
    // clang-format off
    QTest::addColumn<double>("top");
    QTest::addColumn<double>("height");
    QTest::addColumn<int>("page");
    QTest::addColumn<int>("first");
    QTest::addColumn<int>("last");
    QTest::newRow("most of the first") << 0.0 << 300.0 << 5 << 5 << 6;
    QTest::newRow("most of the third") << 150.0 << 300.0 << 7 << 5 << 7;
    QTest::newRow("all three: the tallest") << 0.0 << 700.0 << 7 << 5 << 7;
    QTest::newRow("a tie: the upper") << 150.0 << 108.0 << 5 << 5 << 6;
    QTest::newRow("inside the third") << 400.0 << 100.0 << 7 << 7 << 7;
    // clang-format on
}

void ColumnTest::pageInView()
{
    QFETCH(double, top);
    QFETCH(double, height);
    QFETCH(int, page);
    QFETCH(int, first);
    QFETCH(int, last);
    const PageColumn c = ThreePages();
    QCOMPARE(c.pageInView(top, top + height), page);
    QCOMPARE(c.pagesBetween(top, top + height), std::make_pair(first, last));
}

void ColumnTest::textsKeptWhateverTheLength()
{
    // Text layers are kept to a budget across documents, oldest read first
    // out; the last one read stays whatever its size.
    DocumentCache cache;
    const auto read = [&cache](const QString& path, int page, int words) {
        djvu::PageResult p;
        p.path = path, p.pageCount = 500, p.pageIndex = page, p.column = true;
        cache.recordPage(p);
        djvu::TextResult t{path, page, true, {}, {}, {}, {}};
        for (int w = 0; w < words; ++w)
            t.words.append({QStringLiteral("headword"), QRect(w, 0, 10, 10)});
        cache.recordText(t);
        cache.recordText(t); // again: counted once
    };
    const QString a = QStringLiteral("/a.djvu"), b = QStringLiteral("/b.djvu");
    read(a, 0, 100);
    const qint64 page = cache.textBytes();
    cache.setTextBudget(page * 40);
    for (int i = 1; i < 500; ++i)
        read(a, i, 100);
    QCOMPARE(cache.peek(a)->texts.size(), 40);
    QVERIFY(cache.peek(a)->texts.contains(499) && cache.peek(a)->texts.contains(460)
            && !cache.peek(a)->texts.contains(459));
    QCOMPARE(cache.peek(a)->pages.size(), 500); // sizes stay: they place the column
    for (int i = 0; i < 10; ++i)
        read(b, i, 100);
    QCOMPARE(cache.peek(a)->texts.size(), 30);
    QVERIFY(!cache.peek(a)->texts.contains(469) && cache.peek(a)->texts.contains(470));
    QCOMPARE(cache.peek(b)->texts.size(), 10);
    QCOMPARE(cache.textBytes(), page * 40);
    read(b, 10, 100 * 50);
    QCOMPARE(cache.peek(a)->texts.size() + cache.peek(b)->texts.size(), 1);
    QVERIFY(cache.peek(b)->texts.contains(10));
}

// ---------------------------------------------------------------- on real pages

void ColumnTest::initTestCase()
{
    SetAnsiLocale(QStringLiteral("en_US.UTF-8"));
    QVERIFY(dir_.isValid());
    haveTools_ = HaveDjvuTools();
    if (!haveTools_)
        return;
    QString error;
    auto page = [&](const QString& name, int i, QSize size, DrawnPage* drawn = nullptr) {
        const QString file = dir_.filePath(name);
        DrawnPage scratch;
        if (!MakeDjvuPage(file, Lines(i), size.height() * 3 / 4, drawn ? drawn : &scratch, &error, size))
            return QString();
        return file;
    };
    QStringList files, mixed, many;
    for (int i = 0; i < 3; ++i) {
        DrawnPage drawn;
        files << page(QStringLiteral("b%1.djvu").arg(i), i, QSize(1200, 1600), &drawn);
        bookPages_ << drawn;
        mixed << page(QStringLiteral("m%1.djvu").arg(i), i, i == 1 ? QSize(1200, 800) : QSize(1200, 1600));
    }
    for (int i = 0; i < 12; ++i)
        many << page(QStringLiteral("l%1.djvu").arg(i), i, QSize(1200, 1600));
    if (files.contains(QString()) || mixed.contains(QString()) || many.contains(QString())) {
        if (error.contains(QLatin1StringView("font")))
            QSKIP("no font to draw test pages with");
        QFAIL(qPrintable(error));
    }
    book_ = dir_.filePath(QStringLiteral("book.djvu"));
    mixed_ = dir_.filePath(QStringLiteral("mixed.djvu"));
    longBook_ = dir_.filePath(QStringLiteral("long.djvu"));
    QVERIFY2(BundleDjvu(book_, files, &error), qPrintable(error));
    QVERIFY2(BundleDjvu(mixed_, mixed, &error), qPrintable(error));
    QVERIFY2(BundleDjvu(longBook_, many, &error), qPrintable(error));
    // A dictionary stored page by page: 10 comes after 2.
    filesFolder_ = dir_.filePath(QStringLiteral("Pages.files"));
    QVERIFY(QDir().mkpath(filesFolder_));
    for (const auto& [from, to] : {std::pair{0, "1"}, {1, "2"}, {2, "10"}})
        QVERIFY(QFile::copy(files[from], filesFolder_ + QStringLiteral("/%1.djvu").arg(QLatin1StringView(to))));
    QVERIFY(QFile::copy(files[0], filesFolder_ + QStringLiteral("/Annotation.djvu")));
}

void ColumnTest::init()
{
    if (!haveTools_)
        QSKIP("cjb2, djvused or djvm is not installed");
    b_ = NewShownView();
    QVERIFY(b_);
}

void ColumnTest::cleanup()
{
    delete b_;
    b_ = nullptr;
}

bool ColumnTest::showPage(const QString& document, const QString& page, bool pageByPage,
                          const QByteArrayList& parameters)
{
    PageViewRequest r;
    r.viewFile = dir_.filePath(QStringLiteral("temp.htm"));
    r.document = document;
    r.page = page;
    r.pluginParameters = parameters;
    r.pageByPage = pageByPage;
    b_->Show(r);
    return QTest::qWaitFor([this] { return b_->state() == State::Page; }, 20000);
}

void ColumnTest::wheel(int delta)
{
    TurnWheel(b_->pageWindow(), delta);
    QCoreApplication::processEvents();
}

QRect ColumnTest::onScreen(int page, const QRect& box, double width) const
{
    const PageColumn& c = area()->column();
    const double columnWidth = std::max<double>(area()->viewport()->width(), c.widest());
    const double left = (columnWidth - c.size(page).width()) / 2 - area()->horizontalScrollBar()->value();
    const double top = c.top(page) - area()->verticalScrollBar()->value();
    const double s = c.size(page).width() / width;
    return QRectF(left + box.x() * s, top + box.y() * s, box.width() * s, box.height() * s).toRect();
}

bool ColumnTest::wheelUntil(const std::function<bool()>& done, int delta)
{
    for (int notch = 0; notch < 400 && !done(); ++notch)
        wheel(delta);
    return done();
}

void ColumnTest::scrollsIntoTheNextPage()
{
    QVERIFY(showPage(book_, QStringLiteral("1")));
    QCOMPARE(b_->pageIndex(), 0);
    QScrollBar* bar = area()->verticalScrollBar();
    // The bar spans the column: three pages and more than one page's way.
    QVERIFY(bar->maximum() > 2 * b_->pageImage().height());
    QSignalSpy moved(b_, &PageView::pageInViewChanged);
    QVERIFY(wheelUntil([&] { return b_->pageIndex() == 1; }));
    QCOMPARE(moved.count(), 1);
    QCOMPARE(moved.first().first().toInt(), 1);
    QCOMPARE(b_->state(), State::Page);
    QCOMPARE(b_->documentPath(), book_);
    // The next page's first word is drawn where the column puts it.
    const QRect word = onScreen(1, bookPages_[1].words.first().box, 1200) & area()->viewport()->rect();
    QVERIFY(!word.isEmpty());
    QTRY_VERIFY_WITH_TIMEOUT(InkIn(area()->viewport()->grab().toImage(), word) > 0, 10000);
    // And back up into the first.
    QVERIFY(wheelUntil([&] { return b_->pageIndex() == 0; }, 120));
    QCOMPARE(moved.count(), 2);
}

void ColumnTest::sizesAndZoom()
{
    QVERIFY(showPage(mixed_, QStringLiteral("1")));
    const PageColumn& c = area()->column();
    QCOMPARE(c.count(), 3);
    // The half-height page takes its own size once it is known.
    QTRY_VERIFY_WITH_TIMEOUT(std::abs(c.size(1).height() * 2 - c.size(0).height()) < 2, 10000);
    QCOMPARE(c.top(1), c.size(0).height() + kPageGap);
    QVERIFY(wheelUntil([&] { return b_->pageIndex() == 2; }));
    QTRY_COMPARE_WITH_TIMEOUT(c.size(2), c.size(0), 10000);
    // A zoom applies to every page.
    b_->setZoom(QStringLiteral("50"));
    const double width = 1200 * 0.5 * b_->logicalDpiX() / 300.0;
    // Every page takes the zoom, the ones out of view too, however slow the machine.
    auto zoomed = [&] {
        for (int page = 0; page < 3; ++page)
            if (std::abs(c.size(page).width() - width) >= 1.5
                || std::abs(c.size(page).height() - width * (page == 1 ? 800 : 1600) / 1200) >= 1.5)
                return false;
        return true;
    };
    QTRY_VERIFY_WITH_TIMEOUT(zoomed(), 10000);
    for (int page = 0; page < 3; ++page) {
        QVERIFY(std::abs(c.size(page).width() - width) < 1.5);
        QVERIFY(std::abs(c.size(page).height() - width * (page == 1 ? 800 : 1600) / 1200) < 1.5);
    }
}

void ColumnTest::requestPlacesItsPage()
{
    QVERIFY(showPage(book_, QStringLiteral("1")));
    QVERIFY(wheelUntil([&] { return b_->pageIndex() == 1; }));
    wheel(-120);
    // A page asked for stands at the top of the view, wherever the reader was.
    QVERIFY(showPage(book_, QStringLiteral("3")));
    QCOMPARE(b_->pageIndex(), 2);
    QCOMPARE(b_->scrollPosition(), 0);
    QCOMPARE(area()->verticalScrollBar()->value(), qRound(area()->column().top(2)));
    b_->goToPage(0);
    QTRY_COMPARE(b_->pageIndex(), 0);
    QCOMPARE(area()->verticalScrollBar()->value(), 0);
    QCOMPARE(b_->currentPath(), dir_.filePath(QStringLiteral("temp.htm")));
}

void ColumnTest::marksStayOnTheirPage()
{
    QVERIFY(showPage(book_, QStringLiteral("1")));
    QTRY_COMPARE_WITH_TIMEOUT(b_->findText(QStringLiteral("page1")), 1, 10000);
    const QRect hit = b_->highlights().first(); // image pixels of the first page
    const double imageWidth = b_->pageImage().width();
    auto yellowAt = [&](int page) {
        const QImage screen = area()->viewport()->grab().toImage();
        const QRect r = onScreen(page, hit, imageWidth) & screen.rect();
        int yellow = 0;
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left(); x <= r.right(); ++x) {
                const QColor c = screen.pixelColor(x, y);
                yellow += c.red() > 200 && c.green() > 180 && c.blue() < 80;
            }
        return yellow;
    };
    QVERIFY(yellowAt(0) > 0);
    QVERIFY(wheelUntil([&] { return b_->pageIndex() == 1; }));
    // Find is about the page in view now; the hit stays drawn on its own
    // page, not at the same place of this one.
    QVERIFY(b_->highlights().isEmpty());
    area()->verticalScrollBar()->setValue(qRound(area()->column().top(1)) - 20);
    QCOMPARE(b_->pageIndex(), 1);
    QCOMPARE(yellowAt(1), 0);
    area()->verticalScrollBar()->setValue(0);
    QCOMPARE(b_->pageIndex(), 0);
    QVERIFY(yellowAt(0) > 0);
}

void ColumnTest::onePageAtATime()
{
    b_->setContinuous(false);
    QVERIFY(showPage(book_, QStringLiteral("1")));
    QScrollBar* bar = area()->verticalScrollBar();
    QCOMPARE(bar->maximum(), b_->pageImage().height() - area()->viewport()->height());
    QCOMPARE(area()->column().count(), 1);
    wheelUntil([] { return false; });
    QCOMPARE(bar->value(), bar->maximum());
    QCOMPARE(b_->pageIndex(), 0);
    QCOMPARE(area()->imageCount(), 1);
    // Turned on, the same page reads on.
    b_->setContinuous(true);
    QCOMPARE(area()->column().count(), 3);
    QCOMPARE(b_->pageIndex(), 0);
    QVERIFY(wheelUntil([&] { return b_->pageIndex() == 1; }));
}

void ColumnTest::keepsOnlyPagesNearTheView()
{
    QVERIFY(showPage(longBook_, QStringLiteral("1")));
    int most = 0;
    QVERIFY(wheelUntil([&] {
        const auto [from, to] = area()->pagesNearView();
        most = std::max(most, area()->imageCount());
        // The page on view may lie outside while the reader leaves it.
        return area()->imageCount() > to - from + 2 || b_->pageIndex() == 11;
    }));
    QCOMPARE(b_->pageIndex(), 11);
    // A loaded machine draws the neighbours after the wheel has passed:
    // they are waited for, not sampled in passing.
    QTRY_VERIFY_WITH_TIMEOUT((most = std::max(most, area()->imageCount())) >= 2, 10000);
    QVERIFY(area()->imageCount() <= 6);
}

void ColumnTest::pageFilesInTheirOrder()
{
    const QString two = filesFolder_ + QStringLiteral("/2.djvu");
    QVERIFY(showPage(two, QString(), true));
    QCOMPARE(b_->readingPlace(), std::make_pair(1, 3));
    QCOMPARE(area()->column().count(), 3); // not the annotation
    QVERIFY(wheelUntil([&] { return b_->readingPlace().first == 2; }));
    QCOMPARE(b_->documentPath(), filesFolder_ + QStringLiteral("/10.djvu"));
    QCOMPARE(b_->pageIndex(), 0);
    QVERIFY(wheelUntil([&] { return b_->readingPlace().first == 0; }, 120));
    QCOMPARE(b_->documentPath(), filesFolder_ + QStringLiteral("/1.djvu"));
    // The toolbar and going to a page count the files, as the reader does.
    auto* number = b_->toolBar()->findChild<QSpinBox*>();
    QCOMPARE(std::make_pair(number->value(), number->maximum()), std::make_pair(1, 3));
    b_->goToPage(2);
    QTRY_COMPARE(b_->documentPath(), filesFolder_ + QStringLiteral("/10.djvu"));
    QTRY_VERIFY(b_->state() == PageView::State::Page);
    QCOMPARE(b_->readingPlace(), std::make_pair(2, 3));
    QCOMPARE(number->value(), 3);
    QCOMPARE(area()->column().count(), 3);
    // A file shown by itself is not read on.
    QVERIFY(showPage(two, QString(), false));
    QCOMPARE(area()->column().count(), 1);
    QCOMPARE(b_->readingPlace(), std::make_pair(0, 1));
}

QTEST_MAIN(ColumnTest)
#include "test_column.moc"
