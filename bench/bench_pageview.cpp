// Page view timings on a generated 10-page bundled document of dense 300 dpi
// letter-size pages: first show against the ddjvu command line on the same
// page and size, re-showing a cached page, and stepping to a prefetched page.
#include "DjvuFixture.h"
#include "DensePages.h"

#include "pageview/PageView.h"
#include "pageview/Composition.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTimer>

#include <algorithm>
#include <cstdio>

#include <libdjvu/ddjvuapi.h>

using namespace lexifol;
using namespace lexifol::testing;
using lexifol::bench::DenseLines;

namespace {

constexpr int kPages = 10;
constexpr int kTimeoutMs = 30000;

double Median(QList<double> v)
{
    if (v.isEmpty())
        return 0;
    std::sort(v.begin(), v.end());
    return v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}

QString PageHtml(const QString& dir, const QString& doc, int page)
{
    const QString path = dir + QStringLiteral("/temp.htm");
    QFile f(path);
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        f.write(QStringLiteral("<html><body><embed type=\"image/vnd.djvu\" SRC=\"file:\\\\localhost\\%1\" "
                               "width=\"100%\" height=\"100%\" Toolbar=no ScrollBars=no zoom=width Page=%2>"
                               " </embed></body></html>\r\n")
                    .arg(doc)
                    .arg(page)
                    .toLocal8Bit());
    return path;
}

// A local event loop, which sleeps between events as the window's does
// (a processEvents loop would keep one of the two cores busy), until the
// view sends `signal` or fails.
void WaitFor(PageView& view, const char* signal)
{
    QEventLoop loop;
    QObject::connect(&view, signal, &loop, SLOT(quit()));
    QObject::connect(&view, SIGNAL(loadFailed(QString)), &loop, SLOT(quit()));
    QTimer::singleShot(kTimeoutMs, &loop, &QEventLoop::quit);
    loop.exec();
}

// Navigate, run the event loop until the page is there and paint it;
// milliseconds, or -1 when it did not come.
double ShowAndTime(PageView& view, const QString& html)
{
    QElapsedTimer t;
    t.start();
    view.Navigate(html);
    if (view.state() == PageView::State::Loading)
        WaitFor(view, SIGNAL(pageShown()));
    if (view.state() != PageView::State::Page)
        return -1;
    view.pageWindow()->repaint();
    return t.nsecsElapsed() / 1e6;
}

// Navigate until the part of the page in view is drawn, and paint it.
double ShowVisibleAndTime(PageView& view, const QString& html)
{
    // By name, so that this also builds against a view that draws whole
    // pages only (for before-and-after runs): there it is the page shown.
    QSignalSpy visible(&view, SIGNAL(pageVisible()));
    QSignalSpy shown(&view, SIGNAL(pageShown()));
    QSignalSpy& first = visible.isValid() ? visible : shown;
    QElapsedTimer t;
    t.start();
    view.Navigate(html);
    WaitFor(view, visible.isValid() ? SIGNAL(pageVisible()) : SIGNAL(pageShown()));
    if (first.isEmpty())
        return -1;
    view.pageWindow()->repaint();
    return t.nsecsElapsed() / 1e6;
}

// What DjVuLibre is asked to do after opening and decoding: the whole page
// in colour; only the rows the view shows, in grey as the view draws a
// bilevel page; or nothing (the floor any viewer stands on).
enum class Draw { WholeColour, RowsInViewGrey, Nothing };

// DjVuLibre by itself in this process, its context already made as the
// view's is: open the document, decode the page, render it at `size`.
double DjvuLibreOwn(ddjvu_context_t* ctx, const QString& book, int page, QSize size, Draw draw = Draw::WholeColour,
                    int rowsInView = 0)
{
    // Its buffer made and written to beforehand: what is timed is DjVuLibre,
    // not the kernel handing out fresh memory.
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    auto pump = [ctx] {
        ddjvu_message_wait(ctx);
        while (ddjvu_message_peek(ctx))
            ddjvu_message_pop(ctx);
    };
    QElapsedTimer t;
    t.start();
    ddjvu_document_t* doc = ddjvu_document_create_by_filename_utf8(ctx, book.toUtf8().constData(), 0);
    while (doc && !ddjvu_document_decoding_done(doc))
        pump();
    ddjvu_page_t* p = doc ? ddjvu_page_create_by_pageno(doc, page - 1) : nullptr;
    while (p && !ddjvu_page_decoding_done(p))
        pump();
    double ms = -1;
    if (p && draw == Draw::Nothing) {
        ms = t.nsecsElapsed() / 1e6;
        ddjvu_page_release(p);
    } else if (p && draw == Draw::RowsInViewGrey) {
        QImage grey(size.width(), rowsInView, QImage::Format_Grayscale8);
        grey.fill(255);
        ddjvu_format_t* format = ddjvu_format_create(DDJVU_FORMAT_GREY8, 0, nullptr);
        ddjvu_format_set_row_order(format, 1);
        ddjvu_format_set_y_direction(format, 1);
        ddjvu_rect_t all{0, 0, unsigned(size.width()), unsigned(size.height())};
        ddjvu_rect_t rows{0, 0, unsigned(size.width()), unsigned(rowsInView)};
        ddjvu_page_render(p, DDJVU_RENDER_COLOR, &all, &rows, format, unsigned(grey.bytesPerLine()),
                          reinterpret_cast<char*>(grey.bits()));
        ms = t.nsecsElapsed() / 1e6;
        ddjvu_format_release(format);
        ddjvu_page_release(p);
    } else if (p) {
        unsigned masks[4] = {0xff0000, 0xff00, 0xff, 0xff000000};
        ddjvu_format_t* format = ddjvu_format_create(DDJVU_FORMAT_RGBMASK32, 4, masks);
        ddjvu_format_set_row_order(format, 1);
        ddjvu_rect_t all{0, 0, unsigned(size.width()), unsigned(size.height())};
        ddjvu_page_render(p, DDJVU_RENDER_COLOR, &all, &all, format, unsigned(image.bytesPerLine()),
                          reinterpret_cast<char*>(image.bits()));
        ms = t.nsecsElapsed() / 1e6;
        ddjvu_format_release(format);
        ddjvu_page_release(p);
    }
    if (doc)
        ddjvu_document_release(doc);
    return ms;
}

// A page shown for a headword: until it is drawn with the word marked.
double ShowLocatedAndTime(PageView& view, const QString& html, const QString& doc, int page, const QString& word)
{
    PageViewRequest request;
    request.viewFile = html;
    request.document = doc;
    request.page = QString::number(page);
    request.pluginParameters = {"Toolbar=no", "ScrollBars=no", "zoom=width"};
    request.mark = word;
    QElapsedTimer t;
    t.start();
    view.Show(request);
    while (view.headwordMark().isEmpty() && t.elapsed() < kTimeoutMs)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
    if (view.headwordMark().isEmpty())
        return -1;
    view.pageWindow()->repaint();
    return t.nsecsElapsed() / 1e6;
}

bool WaitReady(PageView& view, int index)
{
    QElapsedTimer t;
    t.start();
    while (!view.isPageReady(index) && t.elapsed() < kTimeoutMs)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    return view.isPageReady(index);
}

// Events handled for `ms`, sleeping in between: a busy wait would take a
// core from the work that goes on in the background.
void Settle(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTextStream out(stdout);

    if (!HaveDjvuTools() || QStandardPaths::findExecutable(QStringLiteral("ddjvu")).isEmpty()) {
        out << "bench_pageview: cjb2, djvused, djvm and ddjvu are needed\n";
        return 0;
    }
    QTemporaryDir dir;
    QString error;
    QElapsedTimer gen;
    gen.start();
    const QString book = lexifol::bench::MakeDenseBook(dir.path(), kPages, &error);
    if (book.isEmpty()) {
        out << "cannot make the document: " << error << "\n";
        return 1;
    }
    out << "document: " << kPages << " pages 2550x3300 bilevel 300 dpi, " << QFileInfo(book).size() / 1024
        << " KB, made in " << gen.elapsed() << " ms\n";

    // First show of a page of a document not open yet, in the one view a
    // window has, taken in turn with DjVuLibre by itself (its context made
    // beforehand, as the view makes its own) on the same page at the same
    // size. Every sample opens a copy of its own, so nothing is cached. The
    // first round warms both up and is not counted.
    QList<double> first, firstVisible, own, floor, sameRows;
    QSize rendered(1000, 1294);
    {
        PageView view;
        view.resize(1000, 800);
        view.show();
        if (ShowAndTime(view, PageHtml(dir.path(), book, 2)) < 0)
            return 1;
        Settle(300);
        ddjvu_context_t* ctx = ddjvu_context_create("bench");
        int copy = 0;
        for (int round = 0; round < 9; ++round) {
            for (int page : {1, 4, 7, 10}) {
                for (int kind = 0; kind < 5; ++kind) {
                    const QString doc = dir.filePath(QStringLiteral("copy%1.djvu").arg(++copy));
                    QFile::copy(book, doc);
                    const QString html = PageHtml(dir.path(), doc, page);
                    const int rowsInView = qMin(rendered.height(), view.pageWindow()->height());
                    const double ms = kind == 4
                        ? DjvuLibreOwn(ctx, doc, page, rendered, Draw::RowsInViewGrey, rowsInView)
                        : kind == 3 ? DjvuLibreOwn(ctx, doc, page, rendered, Draw::Nothing)
                        : kind == 2 ? DjvuLibreOwn(ctx, doc, page, rendered)
                        : kind == 1 ? ShowVisibleAndTime(view, html)
                                    : ShowAndTime(view, html);
                    if (ms < 0) {
                        out << "page " << page << " did not show: " << view.errorText() << "\n";
                        return 1;
                    }
                    if (round > 0)
                        (kind == 4       ? sameRows
                             : kind == 3 ? floor
                             : kind == 2 ? own
                             : kind == 1 ? firstVisible
                                         : first)
                            << ms;
                    Settle(300); // the rest of the page and its neighbours
                    if (kind == 0)
                        rendered = view.pageImage().size();
                }
            }
        }
        ddjvu_context_release(ctx);
    }

    // The command-line decoder on the same pages at the same size.
    QList<double> cli;
    for (int page : {1, 4, 7, 10}) {
        QElapsedTimer t;
        t.start();
        QProcess p;
        p.start(QStringLiteral("ddjvu"),
                {QStringLiteral("-format=ppm"), QStringLiteral("-page=%1").arg(page),
                 QStringLiteral("-size=%1x%2").arg(rendered.width()).arg(rendered.height()), book,
                 dir.filePath(QStringLiteral("out.ppm"))});
        if (!p.waitForFinished(kTimeoutMs) || p.exitCode() != 0) {
            out << "ddjvu failed\n";
            return 1;
        }
        cli << t.nsecsElapsed() / 1e6;
    }

    PageView view;
    view.resize(1000, 800);
    view.show();
    Settle(150);

    // Re-show of a cached page: the same page view file again.
    const QString html5 = PageHtml(dir.path(), book, 5);
    if (ShowAndTime(view, html5) < 0)
        return 1;
    QList<double> again;
    for (int i = 0; i < 30; ++i)
        again << ShowAndTime(view, html5);

    // Stepping forward once the next page has been prefetched.
    QList<double> step;
    QList<double> prefetchWait;
    if (ShowAndTime(view, PageHtml(dir.path(), book, 1)) < 0)
        return 1;
    for (int page = 2; page <= kPages; ++page) {
        QElapsedTimer w;
        w.start();
        if (!WaitReady(view, page - 1)) {
            out << "page " << page << " was not prefetched\n";
            return 1;
        }
        prefetchWait << w.nsecsElapsed() / 1e6;
        step << ShowAndTime(view, PageHtml(dir.path(), book, page));
    }

    // A jump to a page nobody prefetched, in an open document.
    QList<double> jump;
    for (int page : {1, 10, 1, 10}) {
        PageView fresh;
        fresh.resize(1000, 800);
        fresh.show();
        Settle(150);
        if (ShowAndTime(fresh, PageHtml(dir.path(), book, page == 1 ? 5 : 3)) < 0)
            return 1;
        Settle(600); // let its prefetches finish
        jump << ShowAndTime(fresh, PageHtml(dir.path(), book, page));
    }

    // A headword looked up: the first show with the word found, scrolled
    // into view and marked, against the plain first show, fresh views.
    QList<double> plain, located;
    for (int i = 0; i < 50; ++i) {
        const int page = 2 + i % 8;
        const QString word = DenseLines(page - 1).at(40).section(u' ', 0, 0);
        for (bool locate : {false, true}) {
            PageView fresh;
            fresh.resize(1000, 800);
            fresh.show();
            Settle(100);
            const QString html = PageHtml(dir.path(), book, page);
            const double ms = locate ? ShowLocatedAndTime(fresh, html, book, page, word) : ShowAndTime(fresh, html);
            if (ms < 0) {
                out << "page " << page << (locate ? ": the word was not marked\n" : ": not shown\n");
                return 1;
            }
            (locate ? located : plain) << ms;
        }
    }

    out << "view 1000x800, page rendered at " << rendered.width() << "x" << rendered.height() << "\n";
    auto row = [&](const char* what, const QList<double>& v) {
        out << QString::asprintf("%-52s median %8.2f ms  (min %.2f, max %.2f, n=%d)\n", what, Median(v),
                                 *std::min_element(v.begin(), v.end()), *std::max_element(v.begin(), v.end()),
                                 int(v.size()));
    };
    row("first show, Navigate to the part in view drawn", firstVisible);
    row("first show, Navigate to the whole page drawn", first);
    row("DjVuLibre itself: open, decode, render (in process)", own);
    row("DjVuLibre: the same rows in view, grey (in process)", sameRows);
    row("DjVuLibre: open and decode only, the floor", floor);
    out << QString::asprintf("%-52s %8.2f\n", "first show in view / DjVuLibre whole page in colour",
                             Median(firstVisible) / Median(own));
    out << QString::asprintf("%-52s %8.2f\n", "first show in view / DjVuLibre same rows, grey",
                             Median(firstVisible) / Median(sameRows));
    out << QString::asprintf("%-52s %8.2f\n", "first show in view / decode-only floor (goal <= 1.25)",
                             Median(firstVisible) / Median(floor));
    row("ddjvu -format=ppm, same page and size (process)", cli);
    row("re-show of a cached page (goal < 5 ms)", again);
    row("step to the next page after prefetch", step);
    row("  prefetch still running when the step came", prefetchWait);
    row("jump to a page not prefetched, document open", jump);
    row("first show for a headword, plain", plain);
    row("  the same with the word in view and marked (goal +5)", located);
    out.flush();
    return 0;
}
