// The page view widget on real DjVu documents made by the test: rendering,
// page choice, errors, HTML pages, the Find dialog, scrolling.
#include "DjvuFixture.h"
#include "ViewFixture.h"

#include "base/CodePage.h"
#include "pageview/Composition.h"
#include "pageview/ScrollRequest.h"
#include "pageview/PageView.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QScrollBar>
#include <QPainter>
#include <QSignalSpy>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QtTest>

using namespace lexifol;
using namespace lexifol::testing;
using State = PageView::State;

namespace {

// Three pages told apart by their words and by where their marker block is.
const QList<QStringList> kPages = {
    {QStringLiteral("Apple banana"), QStringLiteral("cherry first")},
    {QStringLiteral("Grape melon"), QStringLiteral("second plum cherry")},
    {QStringLiteral("Lemon third"), QStringLiteral("olive")},
};
int MarkerY(int page)
{
    return 500 + page * 300;
}

QString Html(const QString& src, const QString& page, const QString& extra = QString())
{
    return QStringLiteral(
               "<html><body><embed type=\"image/vnd.djvu\" SRC=\"file:\\\\localhost\\%1\" %2%3></embed></body></html>")
        .arg(src, extra, page.isNull() ? QString() : QStringLiteral(" Page=") + page);
}

} // namespace

class BrowserTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void rendersPage_data();
    void rendersPage();
    void pageSelection_data();
    void pageSelection();
    void pageFilePerPage();
    void indirectDocument();
    void dictionaryNameOutsideAscii_data();
    void dictionaryNameOutsideAscii();
    void colourPage();
    void djvuFileDirectly();
    void errors_data();
    void errors();
    void newerNavigateWins();
    void htmlPages();
    void findHighlights_data();
    void findHighlights();
    void findDialogHiddenPaste();
    void findDialogRecreatedAfterDelete();
    void findOnRotatedPage();
    void scrollRequests_data();
    void scrollRequests();
    void wheelScrolls();
    void barsAndToolbar_data();
    void barsAndToolbar();
    void toolbarComesAndGoes();
    void zoomAndResize();
    void neighboursPrefetched();
    void destroyWhileLoading();

private:
    bool show(const QString& html, State expected = State::Page);
    QString writeHtml(const QString& name, const QString& html);
    QRect toImage(const QRect& pageBox) const;

    QTemporaryDir dir_;
    QString book_, single_, rotated_;
    QList<DrawnPage> drawn_;
    DrawnPage rotatedPage_;
    bool haveTools_ = false;
    PageView* b_ = nullptr;
};

void BrowserTest::initTestCase()
{
    SetAnsiLocale(QStringLiteral("en_US.UTF-8"));
    QVERIFY(dir_.isValid());
    haveTools_ = HaveDjvuTools();
    if (!haveTools_)
        return;
    QStringList files;
    QString error;
    for (int i = 0; i < kPages.size(); ++i) {
        DrawnPage page;
        const QString file = dir_.filePath(QStringLiteral("p%1.djvu").arg(i + 1));
        if (!MakeDjvuPage(file, kPages[i], MarkerY(i), &page, &error)) {
            if (error.contains(QLatin1StringView("font")))
                QSKIP("no font to draw test pages with");
            QFAIL(qPrintable(error));
        }
        drawn_.append(page);
        files.append(file);
    }
    book_ = dir_.filePath(QStringLiteral("book.djvu"));
    QVERIFY2(BundleDjvu(book_, files, &error), qPrintable(error));
    single_ = files[1];
    rotated_ = dir_.filePath(QStringLiteral("rotated.djvu"));
    QVERIFY2(
        MakeDjvuPage(rotated_, {QStringLiteral("turned words here")}, 900, &rotatedPage_, &error, QSize(1200, 1600), 1),
        qPrintable(error));
}

void BrowserTest::init()
{
    if (!haveTools_)
        QSKIP("cjb2, djvused or djvm is not installed");
    b_ = NewShownView();
    QVERIFY(b_);
}

void BrowserTest::cleanup()
{
    delete b_;
    b_ = nullptr;
}

QString BrowserTest::writeHtml(const QString& name, const QString& html)
{
    const QString path = dir_.filePath(name);
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return QString();
    f.write(html.toUtf8());
    return path;
}

bool BrowserTest::show(const QString& html, State expected)
{
    const QString path = writeHtml(QStringLiteral("temp.htm"), html);
    b_->Navigate(path);
    if (b_->state() != State::Loading)
        return false;
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < 20000 && (b_->state() == State::Loading))
        QTest::qWait(5);
    return b_->state() == expected;
}

QRect BrowserTest::toImage(const QRect& box) const
{
    const QImage img = b_->pageImage();
    const double s = double(img.width()) / 1200;
    return QRect(QPoint(int(box.left() * s), int(box.top() * s)),
                 QPoint(int((box.right() + 1) * s), int((box.bottom() + 1) * s)));
}

void BrowserTest::rendersPage_data()
{
    QTest::addColumn<int>("page");
    for (int i = 0; i < 3; ++i)
        QTest::addRow("page %d", i + 1) << i;
}

void BrowserTest::rendersPage()
{
    QFETCH(int, page);
    // Written the way the program writes it.
    CompositionInput in;
    in.programFolder = dir_.path() + u'/';
    in.dictionary = QStringLiteral("Book");
    in.wholeFile = QStringLiteral("yes");
    in.pluginParameters = {"width=\"100%\"", "height=\"100%\"", "Toolbar=no", "ScrollBars=no", "zoom=width"};
    in.pageReference = QString::number(page + 1);
    QVERIFY(QDir(dir_.path()).mkpath(QStringLiteral("Data/Book.files")));
    const QString doc = dir_.filePath(QStringLiteral("Data/Book.files/Book.djvu"));
    QFile::remove(doc);
    QVERIFY(QFile::copy(book_, doc));
    PageViewState state;
    const QString temp = PageViewFilePath(in.programFolder);
    QVERIFY(WritePageViewFile(temp, ComposePageLine(in, state)));

    QSignalSpy shown(b_, &PageView::pageShown);
    b_->Navigate(temp);
    QCOMPARE(b_->state(), State::Loading);
    QTRY_COMPARE_WITH_TIMEOUT(b_->state(), State::Page, 20000);
    QVERIFY(shown.count() >= 1);
    QCOMPARE(b_->documentPath(), doc);
    QCOMPARE(b_->pageIndex(), page);
    QCOMPARE(b_->pageCount(), 3);

    const QImage img = b_->pageImage();
    QVERIFY(!img.isNull());
    // Width fitted to the view, no scroll bar to leave room for.
    QCOMPARE(img.width(), b_->pageWindow()->width());
    QCOMPARE(img.height(), qRound(img.width() * 1600.0 / 1200));
    const int ink = InkIn(img, img.rect());
    QVERIFY(ink > 500);
    QVERIFY(ink < img.width() * img.height() / 5);
    for (const DrawnWord& w : drawn_[page].words) {
        const QRect r = toImage(w.box);
        QVERIFY2(InkIn(img, r) > r.width() * r.height() / 20, qPrintable(w.text));
    }
    // Only this page's marker is there.
    for (int other = 0; other < 3; ++other) {
        const QRect m = toImage(drawn_[other].marker).adjusted(2, 2, -2, -2);
        const int markerInk = InkIn(img, m);
        if (other == page)
            QVERIFY(markerInk > m.width() * m.height() * 9 / 10);
        else
            QCOMPARE(markerInk, 0);
    }
    // What is drawn on screen is the top of that image.
    const QImage screen = b_->pageWindow()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    QCOMPARE(screen.width(), img.width());
    int differ = 0;
    for (int y = 0; y < screen.height(); y += 2)
        for (int x = 0; x < screen.width(); x += 2)
            differ += screen.pixel(x, y) != img.pixel(x, y);
    QCOMPARE(differ, 0);
}

void BrowserTest::pageSelection_data()
{
    // clang-format off
    QTest::addColumn<QString>("page");
    QTest::addColumn<int>("index");
    QTest::newRow("no attribute") << QString() << 0;
    QTest::newRow("empty") << "" << 0;
    QTest::newRow("2") << "2" << 1;
    QTest::newRow("3") << "3" << 2;
    // A page the document does not have is told in the view, not replaced.
    QTest::newRow("beyond the last") << "7" << -1;
    QTest::newRow("zero") << "0" << -1;
    QTest::newRow("by file id") << "p2.djvu" << 1;
    QTest::newRow("by id without extension") << "p3" << 2;
    QTest::newRow("unknown id") << "nowhere" << -1;
    // clang-format on
}

void BrowserTest::pageSelection()
{
    QFETCH(QString, page);
    QFETCH(int, index);
    if (index < 0) {
        QVERIFY(show(Html(book_, page), State::Error));
        QCOMPARE(b_->errorText(), QStringLiteral("Page %1 is not in book.djvu (3 pages)").arg(page));
        return;
    }
    QVERIFY(show(Html(book_, page)));
    QCOMPARE(b_->pageIndex(), index);
    const QImage img = b_->pageImage();
    const QRect m = toImage(drawn_[index].marker).adjusted(2, 2, -2, -2);
    QVERIFY(InkIn(img, m) > m.width() * m.height() * 9 / 10);
}

void BrowserTest::pageFilePerPage()
{
    CompositionInput in;
    in.programFolder = dir_.path() + u'/';
    in.dictionary = QStringLiteral("Pages");
    in.wholeFile = QStringLiteral("no");
    in.pageReference = QStringLiteral("0002");
    QVERIFY(QDir(dir_.path()).mkpath(QStringLiteral("Data/Pages.files")));
    const QString file = dir_.filePath(QStringLiteral("Data/Pages.files/0002.djvu"));
    QFile::remove(file);
    QVERIFY(QFile::copy(single_, file));
    PageViewState state;
    const QString temp = PageViewFilePath(in.programFolder);
    QVERIFY(WritePageViewFile(temp, ComposePageLine(in, state)));
    b_->Navigate(temp);
    QTRY_COMPARE_WITH_TIMEOUT(b_->state(), State::Page, 20000);
    QCOMPARE(b_->documentPath(), file);
    QCOMPARE(b_->pageCount(), 1);
    QCOMPARE(b_->pageIndex(), 0);
    const QRect m = toImage(drawn_[1].marker).adjusted(2, 2, -2, -2);
    QVERIFY(InkIn(b_->pageImage(), m) > m.width() * m.height() * 9 / 10);
}

void BrowserTest::indirectDocument()
{
    if (QStandardPaths::findExecutable(QStringLiteral("djvmcvt")).isEmpty())
        QSKIP("djvmcvt is not installed");
    const QString folder = dir_.filePath(QStringLiteral("indirect"));
    QString error;
    QVERIFY2(MakeIndirect(book_, folder, &error), qPrintable(error));
    const QString index = folder + QStringLiteral("/index.djvu");
    // A page whose file is missing is an error; the others still show.
    QVERIFY(QFile::remove(folder + QStringLiteral("/p2.djvu")));
    QVERIFY(show(Html(index, QStringLiteral("3"))));
    QCOMPARE(b_->pageCount(), 3);
    QCOMPARE(b_->pageIndex(), 2);
    const QRect m = toImage(drawn_[2].marker).adjusted(2, 2, -2, -2);
    QVERIFY(InkIn(b_->pageImage(), m) > m.width() * m.height() * 9 / 10);
    QVERIFY(show(Html(index, QStringLiteral("2")), State::Error));
    QVERIFY2(b_->errorText().startsWith(QStringLiteral("Cannot decode page 2 of ")), qPrintable(b_->errorText()));
    QVERIFY(show(Html(index, QStringLiteral("1"))));
}

void BrowserTest::dictionaryNameOutsideAscii_data()
{
    // clang-format off
    QTest::addColumn<QString>("locale");
    QTest::addColumn<bool>("spelled");
    QTest::newRow("name in the code page") << "ru_RU.UTF-8" << true;
    QTest::newRow("name outside the code page") << "en_US.UTF-8" << false;
    // clang-format on
}

void BrowserTest::dictionaryNameOutsideAscii()
{
    QFETCH(QString, locale);
    QFETCH(bool, spelled);
    SetAnsiLocale(locale);
    const QString name = QStringLiteral("\u0421\u043b\u043e\u0432\u0430\u0440\u044c");
    QVERIFY(QDir(dir_.path()).mkpath(QStringLiteral("Data/%1.files").arg(name)));
    const QString doc = dir_.filePath(QStringLiteral("Data/%1.files/%1.djvu").arg(name));
    QFile::remove(doc);
    QVERIFY(QFile::copy(book_, doc));
    CompositionInput in;
    in.programFolder = dir_.path() + u'/';
    in.dictionary = name;
    in.wholeFile = QStringLiteral("yes");
    in.pageReference = QStringLiteral("3");
    PageViewState state;
    const PageViewRequest request = ComposePageRequest(in, state);
    QVERIFY(WritePageViewFile(request.viewFile, ComposePageLine(in, state)));
    QFile written(request.viewFile);
    QVERIFY(written.open(QIODevice::ReadOnly));
    // The 8-bit file spells what its code page can; the page is shown anyway.
    QCOMPARE(written.readAll().contains("/Data/???????.files/???????.djvu"), !spelled);
    b_->Show(request);
    QTRY_VERIFY_WITH_TIMEOUT(b_->state() != State::Loading, 20000);
    SetAnsiLocale(QStringLiteral("en_US.UTF-8"));
    QCOMPARE(b_->state(), State::Page);
    QCOMPARE(b_->documentPath(), doc);
    QCOMPARE(b_->pageIndex(), 2);
    QCOMPARE(b_->currentPath(), request.viewFile);
}

void BrowserTest::colourPage()
{
    if (QStandardPaths::findExecutable(QStringLiteral("c44")).isEmpty())
        QSKIP("c44 is not installed");
    QImage img(400, 300, QImage::Format_RGB32);
    img.fill(QColor(220, 30, 30));
    QPainter(&img).fillRect(QRect(0, 150, 400, 150), QColor(30, 30, 220));
    const QString ppm = dir_.filePath(QStringLiteral("colour.ppm"));
    const QString djvu = dir_.filePath(QStringLiteral("colour.djvu"));
    QVERIFY(img.save(ppm, "PPM"));
    QString error;
    QVERIFY2(RunTool(QStringLiteral("c44"), {QStringLiteral("-dpi"), QStringLiteral("100"), ppm, djvu}, &error),
             qPrintable(error));
    QVERIFY(show(Html(djvu, QString(), QStringLiteral("zoom=page"))));
    const QImage page = b_->pageImage();
    const QColor top = page.pixelColor(page.width() / 2, page.height() / 4);
    const QColor bottom = page.pixelColor(page.width() / 2, page.height() * 3 / 4);
    QVERIFY2(top.red() > 180 && top.blue() < 80 && top.green() < 80, qPrintable(top.name()));
    QVERIFY2(bottom.blue() > 180 && bottom.red() < 80 && bottom.green() < 80, qPrintable(bottom.name()));
}

void BrowserTest::djvuFileDirectly()
{
    b_->Navigate(book_);
    QTRY_COMPARE_WITH_TIMEOUT(b_->state(), State::Page, 20000);
    QCOMPARE(b_->pageIndex(), 0);
    QCOMPARE(b_->documentPath(), book_);
    QVERIFY(b_->toolBar()->isVisible());
    // The toolbar's page number and the call behind it step through the document.
    QSpinBox* number = b_->toolBar()->findChild<QSpinBox*>();
    QVERIFY(number);
    QCOMPARE(number->maximum(), 3);
    number->setValue(3);
    QTRY_COMPARE_WITH_TIMEOUT(b_->pageIndex(), 2, 20000);
    QCOMPARE(b_->state(), State::Page);
    b_->goToPage(1);
    QTRY_COMPARE_WITH_TIMEOUT(b_->pageIndex(), 1, 20000);
    QCOMPARE(number->value(), 2);
    const QRect m = toImage(drawn_[1].marker).adjusted(2, 2, -2, -2);
    QVERIFY(InkIn(b_->pageImage(), m) > m.width() * m.height() * 9 / 10);
}

void BrowserTest::errors_data()
{
    // clang-format off
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("prefix");
    QTest::newRow("missing document") << "missing" << "Cannot open file ";
    QTest::newRow("not a DjVu file") << "garbage" << "Cannot decode file ";
    QTest::newRow("truncated document") << "truncated" << "Cannot decode ";
    QTest::newRow("empty file") << "empty" << "Cannot decode file ";
    QTest::newRow("missing page view file") << "nohtml" << "Cannot open file ";
    // clang-format on
}

void BrowserTest::errors()
{
    QFETCH(QString, kind);
    QFETCH(QString, prefix);
    QString target = dir_.filePath(kind + QStringLiteral(".djvu"));
    QFile::remove(target);
    if (kind == QLatin1StringView("garbage")) {
        QFile f(target);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("This is not a DjVu document at all.\n");
    } else if (kind == QLatin1StringView("truncated")) {
        QFile in(book_);
        QVERIFY(in.open(QIODevice::ReadOnly));
        QFile f(target);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(in.read(in.size() / 3));
    } else if (kind == QLatin1StringView("empty")) {
        QFile f(target);
        QVERIFY(f.open(QIODevice::WriteOnly));
    }

    QSignalSpy failed(b_, &PageView::loadFailed);
    QSignalSpy shown(b_, &PageView::pageShown);
    if (kind == QLatin1StringView("nohtml")) {
        target = dir_.filePath(QStringLiteral("no-such-page.htm"));
        b_->Navigate(target);
        QTRY_COMPARE_WITH_TIMEOUT(b_->state(), State::Error, 20000);
    } else {
        // The truncated bundle may still yield its first page: ask for the last.
        QVERIFY(show(Html(target, QStringLiteral("3")), State::Error));
    }
    QVERIFY2(b_->errorText().startsWith(prefix), qPrintable(b_->errorText()));
    QVERIFY(b_->errorText().contains(QDir::toNativeSeparators(target)));
    QCOMPARE(failed.count(), 1);
    QCOMPARE(failed.first().first().toString(), b_->errorText());
    QCOMPARE(shown.count(), 0);
    QVERIFY(b_->pageImage().isNull());
    // The text is shown inside the view.
    bool visible = false;
    for (QLabel* label : b_->findChildren<QLabel*>())
        visible = visible || (label->isVisible() && label->text() == b_->errorText());
    QVERIFY(visible);

    // And the view recovers.
    QVERIFY(show(Html(book_, QStringLiteral("2"))));
    QCOMPARE(b_->pageIndex(), 1);
    QVERIFY(b_->errorText().isEmpty());
}

void BrowserTest::newerNavigateWins()
{
    QSignalSpy failed(b_, &PageView::loadFailed);
    const QString first = writeHtml(QStringLiteral("first.htm"), Html(dir_.filePath(QStringLiteral("gone.djvu")), "1"));
    const QString second = writeHtml(QStringLiteral("second.htm"), Html(book_, QStringLiteral("3")));
    b_->Navigate(first);
    b_->Navigate(second);
    QTRY_COMPARE_WITH_TIMEOUT(b_->state(), State::Page, 20000);
    QCOMPARE(b_->currentPath(), second);
    QCOMPARE(b_->pageIndex(), 2);
    // Results come back in order: once a later page is on view, whatever the
    // superseded request could have reported has arrived.
    QVERIFY(show(Html(book_, QStringLiteral("1"))));
    QCOMPARE(failed.count(), 0);

    // A page rendered for an older Navigate is not shown once a newer one
    // has been asked for, even when its result comes first.
    QStringList shownDocs;
    connect(b_, &PageView::pageShown, this, [&] { shownDocs << b_->documentPath(); });
    b_->Navigate(writeHtml(QStringLiteral("fourth.htm"), Html(rotated_, QString())));
    QCoreApplication::processEvents(); // the request is on its way to the renderer
    QCOMPARE(b_->state(), State::Loading);
    // The result must come back before the next request is handled; nothing
    // of the view can be waited on without handling it.
    QThread::msleep(500);
    b_->Navigate(second); // shown from the cache
    QTRY_COMPARE_WITH_TIMEOUT(b_->state(), State::Page, 20000);
    QCOMPARE(b_->documentPath(), book_);
    QCOMPARE(b_->pageIndex(), 2);
    QVERIFY(show(Html(book_, QStringLiteral("1"))));
    QCOMPARE(shownDocs, (QStringList{book_, book_}));
}

void BrowserTest::htmlPages()
{
    QImage picture(8, 8, QImage::Format_RGB32);
    picture.fill(Qt::red);
    QVERIFY(QDir(dir_.path()).mkpath(QStringLiteral("Help")));
    QVERIFY(picture.save(dir_.filePath(QStringLiteral("Help/pic.png"))));
    const QString main = writeHtml(
        QStringLiteral("Help/main.htm"),
        QStringLiteral(
            "<html><head><meta charset=\"utf-8\"></head><body><p>Welcome \u0421\u043b\u043e\u0432\u043e</p>"
            "<img src=\"pic.png\"><a href=\"other.htm\">next</a><a href=\"../temp.htm\">page</a></body></html>"));
    writeHtml(QStringLiteral("Help/other.htm"), QStringLiteral("<html><body>Second help page</body></html>"));
    QSignalSpy html(b_, &PageView::htmlShown);
    b_->Navigate(main);
    QTRY_COMPARE_WITH_TIMEOUT(b_->state(), State::Html, 5000);
    QCOMPARE(html.count(), 1);
    QTextBrowser* view = b_->findChild<QTextBrowser*>();
    QVERIFY(view && view->isVisible());
    QVERIFY(view->toPlainText().contains(QStringLiteral("Welcome \u0421\u043b\u043e\u0432\u043e")));
    QCOMPARE(b_->pageWindow(), view->viewport());
    // The image resolved next to the page.
    const QVariant res = view->document()->resource(QTextDocument::ImageResource, QUrl(QStringLiteral("pic.png")));
    QVERIFY(res.isValid());

    emit view->anchorClicked(QUrl(QStringLiteral("other.htm")));
    QTRY_VERIFY_WITH_TIMEOUT(view->toPlainText().contains(QStringLiteral("Second help page")), 5000);
    QCOMPARE(b_->state(), State::Html);

    // An 8-bit page without a charset is read in the ANSI code page.
    const QString legacy = dir_.filePath(QStringLiteral("legacy.htm"));
    {
        QFile f(legacy);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("<html><body>caf\xe9</body></html>");
    }
    b_->Navigate(legacy);
    QTRY_VERIFY_WITH_TIMEOUT(view->toPlainText().contains(QStringLiteral("caf\u00e9")), 5000);

    // A link to a page view file shows the page.
    b_->Navigate(main);
    QTRY_COMPARE_WITH_TIMEOUT(b_->state(), State::Html, 5000);
    writeHtml(QStringLiteral("temp.htm"), Html(book_, QStringLiteral("2")));
    emit view->anchorClicked(QUrl(QStringLiteral("../temp.htm")));
    QTRY_COMPARE_WITH_TIMEOUT(b_->state(), State::Page, 20000);
    QCOMPARE(b_->pageIndex(), 1);
    QVERIFY(!view->isVisible());
}

void BrowserTest::findHighlights_data()
{
    // clang-format off
    QTest::addColumn<int>("page");
    QTest::addColumn<QString>("query");
    QTest::addColumn<QStringList>("words");
    QTest::addColumn<int>("count");
    QTest::newRow("one word") << 0 << "banana" << QStringList{"banana"} << 1;
    QTest::newRow("letter case ignored") << 0 << "CHERRY" << QStringList{"cherry"} << 1;
    QTest::newRow("two words") << 1 << "plum cherry" << QStringList{"plum", "cherry"} << 1;
    QTest::newRow("a word begun") << 2 << "Lem" << QStringList{"Lemon"} << 1;
    QTest::newRow("nothing inside a word") << 2 << "emo" << QStringList{} << 0;
    QTest::newRow("only this page's words") << 1 << "banana" << QStringList{} << 0;
    QTest::newRow("two words, the second begun") << 1 << "second pl" << QStringList{"second", "plum"} << 1;
    // clang-format on
}

void BrowserTest::findHighlights()
{
    QFETCH(int, page);
    QFETCH(QString, query);
    QFETCH(QStringList, words);
    QFETCH(int, count);
    QVERIFY(show(Html(book_, QString::number(page + 1))));
    int found = b_->findText(query);
    if (found < 0) { // text layer still on its way
        QTRY_VERIFY_WITH_TIMEOUT(b_->findText(query) >= 0, 10000);
        found = b_->findText(query);
    }
    QCOMPARE(found, count);
    const QList<QRect> hits = b_->highlights();
    QCOMPARE(hits.size(), words.size());
    const QImage img = b_->pageImage();
    for (int i = 0; i < hits.size(); ++i) {
        QRect expected;
        for (const DrawnWord& w : drawn_[page].words)
            if (w.text == words[i])
                expected = toImage(w.box);
        QVERIFY(!expected.isNull());
        QVERIFY2((hits[i] & expected).width() * (hits[i] & expected).height()
                     > expected.width() * expected.height() * 8 / 10,
                 qPrintable(words[i]));
        QVERIFY(InkIn(img, hits[i]) > 0);
    }
    if (!hits.isEmpty()) {
        // The marker colour is painted over the word on screen.
        const QImage screen = b_->pageWindow()->grab().toImage();
        const QRect r = hits.first();
        int yellow = 0;
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left(); x <= r.right(); ++x) {
                const QColor c = screen.pixelColor(x, y - b_->scrollPosition());
                yellow += c.red() > 200 && c.green() > 180 && c.blue() < 80;
            }
        QVERIFY(yellow > 0);
    }
    // A new search replaces the marks; an empty one clears them.
    QCOMPARE(b_->findText(QString()), 0);
    QVERIFY(b_->highlights().isEmpty());
}

void BrowserTest::findDialogHiddenPaste()
{
    QVERIFY(show(Html(book_, QStringLiteral("2"), QStringLiteral("zoom=200"))));
    QVERIFY(!b_->findDialog());
    QCoreApplication::postEvent(b_->pageWindow(),
                                new QKeyEvent(QEvent::KeyPress, Qt::Key_F, Qt::NoModifier, QStringLiteral("f")));
    QCoreApplication::processEvents();
    QWidget* dialog = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible() && w->windowTitle() == QLatin1StringView("Find"))
            dialog = w;
    QVERIFY(dialog);
    QCOMPARE(dialog, b_->findDialog());
    QVERIFY(dialog->isWindow());
    QTRY_COMPARE(QApplication::activeWindow(), dialog);

    QApplication::clipboard()->setText(QStringLiteral("cherry"));
    QWidget* field = dialog->focusWidget();
    QVERIFY(qobject_cast<QLineEdit*>(field));
    QTest::keyClick(field, Qt::Key_V, Qt::ControlModifier);
    dialog->hide();
    QVERIFY(!dialog->isVisible());
    QCOMPARE(dialog->focusWidget(), field);
    QCOMPARE(qobject_cast<QLineEdit*>(field)->text(), QStringLiteral("cherry"));
    QTest::keyClick(dialog->focusWidget(), Qt::Key_Return);
    QTRY_COMPARE_WITH_TIMEOUT(b_->highlights().size(), 1, 10000);
    const QRect hit = b_->highlights().first();
    QRect expected;
    for (const DrawnWord& w : drawn_[1].words)
        if (w.text == QLatin1StringView("cherry"))
            expected = toImage(w.box);
    QVERIFY(hit.intersects(expected));
    // Zoomed in, the hit is scrolled into view.
    QVERIFY(b_->scrollMaximum() > 0);
    QVERIFY(hit.top() >= b_->scrollPosition());
    QVERIFY(hit.bottom() <= b_->scrollPosition() + b_->pageWindow()->height());

    // F again shows the same dialog with its text selected, so a paste replaces it.
    QCoreApplication::postEvent(b_->pageWindow(),
                                new QKeyEvent(QEvent::KeyPress, Qt::Key_F, Qt::NoModifier, QStringLiteral("f")));
    QCoreApplication::processEvents();
    QCOMPARE(b_->findDialog(), dialog);
    QVERIFY(dialog->isVisible());
    QApplication::clipboard()->setText(QStringLiteral("melon"));
    QTest::keyClick(dialog->focusWidget(), Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(qobject_cast<QLineEdit*>(field)->text(), QStringLiteral("melon"));
    // Keys sent to the dialog itself reach the field too.
    dialog->hide();
    QTest::keyClick(dialog, Qt::Key_Enter);
    QTRY_COMPARE(b_->highlights().size(), 1);
    QVERIFY(!b_->highlights().first().intersects(expected));
}

void BrowserTest::findDialogRecreatedAfterDelete()
{
    QVERIFY(show(Html(book_, QStringLiteral("1"))));
    QTest::keyClick(b_->pageWindow(), Qt::Key_F);
    QPointer<QWidget> first = b_->findDialog();
    QVERIFY(first);
    QVERIFY(first->isVisible());
    delete first.data();
    QVERIFY(!first);
    QVERIFY(!b_->findDialog());
    // Other keys do not open it; F with Ctrl does not either.
    QTest::keyClick(b_->pageWindow(), Qt::Key_G);
    QTest::keyClick(b_->pageWindow(), Qt::Key_F, Qt::ControlModifier);
    QVERIFY(!b_->findDialog());
    QTest::keyClick(b_->pageWindow(), Qt::Key_F);
    QVERIFY(b_->findDialog());
    QVERIFY(b_->findDialog()->isVisible());
    QCOMPARE(b_->findDialog()->windowTitle(), QStringLiteral("Find"));
}

void BrowserTest::findOnRotatedPage()
{
    QVERIFY(show(Html(rotated_, QString())));
    const QImage img = b_->pageImage();
    QVERIFY(img.width() > img.height()); // turned a quarter
    QTRY_VERIFY_WITH_TIMEOUT(b_->findText(QStringLiteral("turned words here")) == 1, 10000);
    const QList<QRect> hits = b_->highlights();
    QCOMPARE(hits.size(), 3);
    for (const QRect& r : hits) {
        QVERIFY(r.height() > r.width()); // words run upwards
        QVERIFY(InkIn(img, r) > r.width() * r.height() / 20);
    }
}

void BrowserTest::scrollRequests_data()
{
    // clang-format off
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("direction");
    QTest::addColumn<bool>("large");
    QTest::newRow("line down") << int(SB_LINEDOWN) << 1 << false;
    QTest::newRow("line up") << int(SB_LINEUP) << -1 << false;
    QTest::newRow("page down") << int(SB_PAGEDOWN) << 1 << true;
    QTest::newRow("page up") << int(SB_PAGEUP) << -1 << true;
    // clang-format on
}

void BrowserTest::scrollRequests()
{
    QFETCH(int, code);
    QFETCH(int, direction);
    QFETCH(bool, large);
    QVERIFY(show(Html(book_, QStringLiteral("1"), QStringLiteral("ScrollBars=no Toolbar=no zoom=300"))));
    QVERIFY(b_->scrollMaximum() > 2 * b_->pageWindow()->height());
    const int middle = b_->scrollMaximum() / 2;
    auto* area = qobject_cast<QAbstractScrollArea*>(b_->pageWindow()->parentWidget());
    QVERIFY(area);
    QScrollBar* bar = area->verticalScrollBar(); // the first page's top is the column's
    // The widget under a point of the page, the scroll area, the view itself.
    QWidget* targets[] = {b_->pageWindow(), b_->pageWindow()->parentWidget(), b_};
    for (QWidget* target : targets) {
        bar->setValue(middle);
        const int before = b_->scrollPosition();
        QCoreApplication::postEvent(target, new ScrollRequestEvent(code));
        QCoreApplication::processEvents();
        const int moved = (b_->scrollPosition() - before) * direction;
        QVERIFY2(moved > 0, target->metaObject()->className());
        if (large)
            QVERIFY(moved >= b_->pageWindow()->height() / 2);
        else
            QVERIFY(moved < b_->pageWindow()->height() / 4);
    }
}

void BrowserTest::wheelScrolls()
{
    QVERIFY(show(Html(book_, QStringLiteral("1"), QStringLiteral("ScrollBars=no"))));
    auto wheel = [this](int delta) { TurnWheel(b_->pageWindow(), delta); };
    QCOMPARE(b_->scrollPosition(), 0);
    wheel(-120);
    const int down = b_->scrollPosition();
    QVERIFY(down > 0);
    wheel(-355);
    QVERIFY(b_->scrollPosition() > down);
    const int further = b_->scrollPosition();
    wheel(120);
    QVERIFY(b_->scrollPosition() < further);
    wheel(355 * 4);
    QCOMPARE(b_->scrollPosition(), 0);
}

void BrowserTest::barsAndToolbar_data()
{
    // clang-format off
    QTest::addColumn<QString>("attributes");
    QTest::addColumn<bool>("toolbar");
    QTest::addColumn<bool>("bars");
    QTest::newRow("defaults") << "" << true << true;
    QTest::newRow("both off") << "Toolbar=no ScrollBars=no" << false << false;
    QTest::newRow("toolbar off") << "toolbar='NO'" << false << true;
    // clang-format on
}

void BrowserTest::barsAndToolbar()
{
    QFETCH(QString, attributes);
    QFETCH(bool, toolbar);
    QFETCH(bool, bars);
    QVERIFY(show(Html(book_, QStringLiteral("1"), attributes)));
    QCOMPARE(b_->toolBar()->isVisible(), toolbar);
    QScrollBar* bar = nullptr;
    for (QScrollBar* s : b_->findChildren<QScrollBar*>())
        if (s->orientation() == Qt::Vertical && s->parentWidget()
            && s->parentWidget()->parentWidget() == b_->pageWindow()->parentWidget())
            bar = s;
    QVERIFY(bar);
    QCOMPARE(bar->isVisible(), bars);
    // Fit width leaves room for a visible bar only.
    const int view = b_->pageWindow()->width();
    QCOMPARE(b_->pageImage().width(), view);
    QCOMPARE(view + (bars ? bar->width() : 0), b_->width());
}

void BrowserTest::toolbarComesAndGoes()
{
    // The first rendering already fits the room that the toolbar leaves.
    QList<int> heights;
    connect(b_, &PageView::pageShown, this, [&] { heights << b_->pageImage().height(); });
    QVERIFY(show(Html(book_, QStringLiteral("1"), QStringLiteral("ScrollBars=no zoom=page"))));
    QCOMPARE(heights.size(), 1);
    QCOMPARE(heights.first(), b_->height() - b_->toolBar()->height());
    QVERIFY(show(Html(book_, QStringLiteral("2"), QStringLiteral("ScrollBars=no zoom=page Toolbar=no"))));
    QCOMPARE(heights.size(), 2);
    QCOMPARE(heights.last(), b_->height());
    QVERIFY(show(Html(book_, QStringLiteral("3"), QStringLiteral("ScrollBars=no zoom=page Toolbar=yes"))));
    QCOMPARE(heights.size(), 3);
    QCOMPARE(heights.last(), b_->height() - b_->toolBar()->height());
    // No second rendering follows: a re-render would start 80 ms after the
    // view changed, and the next Navigate would cancel it, so only time shows it.
    QTest::qWait(200);
    QCOMPARE(heights.size(), 3);
}

void BrowserTest::zoomAndResize()
{
    QVERIFY(show(Html(book_, QStringLiteral("1"), QStringLiteral("Toolbar=no ScrollBars=no zoom=page"))));
    QImage img = b_->pageImage();
    QCOMPARE(img.height(), b_->pageWindow()->height());
    QVERIFY(img.width() < b_->pageWindow()->width());
    QCOMPARE(b_->scrollMaximum(), 0);

    QSignalSpy shown(b_, &PageView::pageShown);
    b_->resize(400, 700);
    QTRY_VERIFY_WITH_TIMEOUT(shown.count() > 0 && b_->pageImage().width() == 400, 10000);
    QCOMPARE(b_->pageImage().height(), qRound(400 * 1600.0 / 1200));

    b_->setZoom(QStringLiteral("50"));
    const int expected = qRound(1200 * 0.5 * b_->logicalDpiX() / 300.0);
    QTRY_COMPARE_WITH_TIMEOUT(b_->pageImage().width(), expected, 10000);
    QCOMPARE(b_->state(), State::Page);
    QCOMPARE(b_->pageIndex(), 0);
}

void BrowserTest::neighboursPrefetched()
{
    QVERIFY(show(Html(book_, QStringLiteral("2"))));
    QTRY_VERIFY_WITH_TIMEOUT(b_->isPageReady(0) && b_->isPageReady(2), 20000);
    QVERIFY(b_->isPageReady(1));
    // Shown as soon as the page view file is read: no round trip to the renderer.
    b_->Navigate(writeHtml(QStringLiteral("temp.htm"), Html(book_, QStringLiteral("3"))));
    QCoreApplication::processEvents();
    QCOMPARE(b_->state(), State::Page);
    QCOMPARE(b_->pageIndex(), 2);
    QCOMPARE(b_->findText(QStringLiteral("olive")), 1);
    const QRect m = toImage(drawn_[2].marker).adjusted(2, 2, -2, -2);
    QVERIFY(InkIn(b_->pageImage(), m) > m.width() * m.height() * 9 / 10);

    // A file that changed is read again, not taken from the cache.
    const QString changing = dir_.filePath(QStringLiteral("changing.djvu"));
    QFile::remove(changing);
    QVERIFY(QFile::copy(single_, changing));
    QVERIFY(show(Html(changing, QString())));
    QTRY_VERIFY_WITH_TIMEOUT(b_->isPageReady(0), 20000);
    QTest::qWait(1100); // file times may have a one-second grain
    QFile::remove(changing);
    QVERIFY(QFile::copy(dir_.filePath(QStringLiteral("p3.djvu")), changing));
    QVERIFY(show(Html(changing, QString())));
    QVERIFY(InkIn(b_->pageImage(), m) > m.width() * m.height() * 9 / 10);
}

void BrowserTest::destroyWhileLoading()
{
    for (int i = 0; i < 5; ++i) {
        auto* view = new PageView;
        view->resize(300, 300);
        view->show();
        view->Navigate(writeHtml(QStringLiteral("temp.htm"), Html(book_, QString::number(i % 3 + 1))));
        QCoreApplication::processEvents();
        if (i % 2)
            QTest::qWait(5);
        delete view;
    }
    // What the deleted views left running does not disturb a new one.
    PageView view;
    view.resize(300, 300);
    view.show();
    view.Navigate(writeHtml(QStringLiteral("temp.htm"), Html(book_, QStringLiteral("2"))));
    QTRY_COMPARE_WITH_TIMEOUT(view.state(), State::Page, 20000);
    QCOMPARE(view.pageIndex(), 1);
}

QTEST_MAIN(BrowserTest)
#include "test_pageview.moc"
