// Page view timings on a generated 10-page bundled document of dense 300 dpi
// letter-size pages: first show against the ddjvu command line on the same
// page and size, re-showing a cached page, and stepping to a prefetched page.
#include "DjvuFixture.h"

#include "pageview/WebBrowser.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <cstdio>

using namespace lexifol;
using namespace lexifol::testing;

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

QStringList DenseLines(int page)
{
    // Dictionary-like columns of short words, different on every page.
    QRandomGenerator rng(quint32(1000 + page));
    QStringList lines;
    for (int l = 0; l < 62; ++l) {
        QStringList words;
        for (int w = 0; w < 12; ++w) {
            QString word;
            const int len = 3 + int(rng.bounded(8));
            for (int c = 0; c < len; ++c)
                word += QChar(u'a' + rng.bounded(26));
            words << word;
        }
        lines << words.join(u' ');
    }
    return lines;
}

QString PageHtml(const QString& dir, const QString& doc, int page)
{
    const QString path = dir + QStringLiteral("/temp.htm");
    QFile f(path);
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        f.write(QStringLiteral("<html><body><embed type=\"image/vnd.djvu\" SRC=\"file:\\\\localhost\\%1\" "
                               "width=\"100%\" height=\"100%\" Toolbar=no ScrollBars=no zoom=width Page=%2>"
                               " </embed></body></html>\r\n").arg(doc).arg(page).toLocal8Bit());
    return path;
}

// Navigate, run the event loop until the page is there and paint it;
// milliseconds, or -1 when it did not come.
double ShowAndTime(TWebBrowser& view, const QString& html)
{
    QElapsedTimer t;
    t.start();
    view.Navigate(html);
    while (view.state() == TWebBrowser::State::Loading && t.elapsed() < kTimeoutMs)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
    if (view.state() != TWebBrowser::State::Page)
        return -1;
    view.pageWindow()->repaint();
    return t.nsecsElapsed() / 1e6;
}

// Navigate for a headword: until the page is drawn with the word marked.
double ShowLocatedAndTime(TWebBrowser& view, const QString& html, const QString& word)
{
    QElapsedTimer t;
    t.start();
    view.LocateWord(word);
    view.Navigate(html);
    while (view.headwordMark().isEmpty() && t.elapsed() < kTimeoutMs)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
    if (view.headwordMark().isEmpty())
        return -1;
    view.pageWindow()->repaint();
    return t.nsecsElapsed() / 1e6;
}

bool WaitReady(TWebBrowser& view, int index)
{
    QElapsedTimer t;
    t.start();
    while (!view.isPageReady(index) && t.elapsed() < kTimeoutMs)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    return view.isPageReady(index);
}

void Settle(int ms)
{
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
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
    QStringList files;
    QString error;
    QElapsedTimer gen;
    gen.start();
    for (int i = 0; i < kPages; ++i) {
        const QString file = dir.filePath(QStringLiteral("p%1.djvu").arg(i + 1, 2, 10, QChar(u'0')));
        if (!MakeDjvuPage(file, DenseLines(i), 3000, nullptr, &error, QSize(2550, 3300), 0, 30)) {
            out << "cannot make pages: " << error << "\n";
            return 1;
        }
        files << file;
    }
    const QString book = dir.filePath(QStringLiteral("book.djvu"));
    if (!BundleDjvu(book, files, &error)) {
        out << "cannot bundle: " << error << "\n";
        return 1;
    }
    out << "document: " << kPages << " pages 2550x3300 bilevel 300 dpi, " << QFileInfo(book).size() / 1024
        << " KB, made in " << gen.elapsed() << " ms\n";

    // First show: a fresh view each time, so that nothing is cached.
    QList<double> first;
    QSize rendered;
    for (int page : {1, 4, 7, 10}) {
        TWebBrowser view;
        view.resize(1000, 800);
        view.show();
        Settle(150);   // let the render thread start its DjVu context
        const double ms = ShowAndTime(view, PageHtml(dir.path(), book, page));
        if (ms < 0) {
            out << "page " << page << " did not show: " << view.errorText() << "\n";
            return 1;
        }
        first << ms;
        rendered = view.pageImage().size();
    }

    // The command-line decoder on the same pages at the same size.
    QList<double> cli;
    for (int page : {1, 4, 7, 10}) {
        QElapsedTimer t;
        t.start();
        QProcess p;
        p.start(QStringLiteral("ddjvu"), {QStringLiteral("-format=ppm"), QStringLiteral("-page=%1").arg(page),
                                          QStringLiteral("-size=%1x%2").arg(rendered.width()).arg(rendered.height()),
                                          book, dir.filePath(QStringLiteral("out.ppm"))});
        if (!p.waitForFinished(kTimeoutMs) || p.exitCode() != 0) {
            out << "ddjvu failed\n";
            return 1;
        }
        cli << t.nsecsElapsed() / 1e6;
    }

    TWebBrowser view;
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
        TWebBrowser fresh;
        fresh.resize(1000, 800);
        fresh.show();
        Settle(150);
        if (ShowAndTime(fresh, PageHtml(dir.path(), book, page == 1 ? 5 : 3)) < 0)
            return 1;
        Settle(600);   // let its prefetches finish
        jump << ShowAndTime(fresh, PageHtml(dir.path(), book, page));
    }

    // A headword looked up: the first show with the word found, scrolled
    // into view and marked, against the plain first show, fresh views.
    QList<double> plain, located;
    for (int i = 0; i < 50; ++i) {
        const int page = 2 + i % 8;
        const QString word = DenseLines(page - 1).at(40).section(u' ', 0, 0);
        for (bool locate : {false, true}) {
            TWebBrowser fresh;
            fresh.resize(1000, 800);
            fresh.show();
            Settle(100);
            const QString html = PageHtml(dir.path(), book, page);
            const double ms = locate ? ShowLocatedAndTime(fresh, html, word) : ShowAndTime(fresh, html);
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
    row("first show, Navigate to page drawn", first);
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
