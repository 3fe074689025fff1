// Reading on through a generated document of dense 300 dpi letter-size
// pages with the wheel: how long the window's thread takes for each frame
// (the wheel event handled and the view painted), how many frames showed a
// page still white, and how many page pictures the view holds meanwhile.
#include "DjvuFixture.h"
#include "DensePages.h"

#include "pageview/Composition.h"
#include "pageview/PageArea.h"
#include "pageview/PageView.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTextStream>
#include <QThread>
#include <QWheelEvent>

#include <algorithm>

using namespace lexifol;
using namespace lexifol::testing;

namespace {

// LEXIFOL_BENCH_PAGES makes the document longer, to see memory level off.
int PageCount()
{
    return std::max(24, qEnvironmentVariableIntValue("LEXIFOL_BENCH_PAGES"));
}

double Quantile(QList<double> v, double q)
{
    if (v.isEmpty())
        return 0;
    std::sort(v.begin(), v.end());
    return v[std::min<qsizetype>(v.size() - 1, qsizetype(q * v.size()))];
}

// Events handled for `ms`, sleeping in between as the window's loop does.
void Settle(int ms)
{
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, std::max<int>(1, ms - int(t.elapsed())));
}

// The process's resident memory, MiB (Linux).
double ResidentMiB()
{
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : f.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024;
    return 0;
}

struct Run {
    QList<double> frames;
    int whiteFrames = 0;
    int mostPictures = 0;
    int pagesPassed = 0;
};

// Notches of the wheel `gapMs` apart until `pages` pages have gone by.
Run ScrollThrough(PageView& view, int gapMs, int pages)
{
    auto* area = view.findChild<pv::PageArea*>();
    QWidget* w = view.pageWindow();
    const QPoint at(w->width() / 2, w->height() / 2);
    Run run;
    const int start = view.pageIndex();
    while (view.pageIndex() < start + pages && run.frames.size() < 50000) {
        QElapsedTimer t;
        t.start();
        QWheelEvent e(at, w->mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
        QApplication::sendEvent(w, &e);
        w->repaint();
        run.frames << t.nsecsElapsed() / 1e6;
        const auto [from, to] = area->column().pagesBetween(area->verticalScrollBar()->value(),
                                                            area->verticalScrollBar()->value() + w->height());
        for (int p = from; p <= to; ++p)
            if (area->imageOf(p).isNull()) {
                ++run.whiteFrames;
                break;
            }
        run.mostPictures = std::max(run.mostPictures, area->imageCount());
        Settle(gapMs);
    }
    run.pagesPassed = view.pageIndex() - start;
    return run;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTextStream out(stdout);
    if (!HaveDjvuTools()) {
        out << "bench_scroll: cjb2, djvused and djvm are needed\n";
        return 0;
    }
    QTemporaryDir dir;
    QString error;
    const int count = PageCount();
    const QString book = lexifol::bench::MakeDenseBook(dir.path(), count, &error);
    if (book.isEmpty()) {
        out << "cannot make the document: " << error << "\n";
        return 1;
    }
    out << "document: " << count << " pages 2550x3300 bilevel 300 dpi; platform " << QApplication::platformName()
        << "; view 1000x800, fit width\n";
    out << "wheel every | frames | median ms | p99 ms | max ms | frames with a page still white | most pictures held"
           " | resident MiB before, after\n";
    for (const int gap : {16, 8, 2}) {
        PageView view;
        view.resize(1000, 800);
        view.show();
        PageViewRequest r;
        r.viewFile = dir.filePath(QStringLiteral("temp.htm"));
        r.document = book;
        r.page = QStringLiteral("1");
        r.pluginParameters = {"Toolbar=no", "zoom=width"};
        view.Show(r);
        QElapsedTimer t;
        t.start();
        while (view.state() != PageView::State::Page && t.elapsed() < 30000)
            Settle(5);
        Settle(500);
        const double before = ResidentMiB();
        const Run run = ScrollThrough(view, gap, count - 4);
        out << gap << " ms | " << run.frames.size() << " | " << QString::number(Quantile(run.frames, 0.5), 'f', 2)
            << " | " << QString::number(Quantile(run.frames, 0.99), 'f', 2) << " | "
            << QString::number(Quantile(run.frames, 1.0), 'f', 2) << " | " << run.whiteFrames << " | "
            << run.mostPictures << " (" << run.pagesPassed << " pages passed) | " << QString::number(before, 'f', 0)
            << ", " << QString::number(ResidentMiB(), 'f', 0) << "\n";
    }
    return 0;
}
