// Drawing a decoded page: the part in view first when the page is to be
// shown, the other rows after it.
#include "djvu/DjvuWorker.h"
#include "djvu/PageImage.h"
#include "djvu/RenderRows.h"

#include <QDir>
#include <QThread>

#include <algorithm>
#include <cmath>
#include <cstring>

#include <libdjvu/ddjvuapi.h>

namespace lexifol::djvu {

namespace {

struct Band {
    int top = 0;
    int height = 0;
};

// The rows of the rendered image that the view shows first.
Band VisibleBand(const PageRequest& r, const RenderPlan& plan)
{
    const int h = plan.image.height();
    if (plan.display.height() <= 0 || h <= 0)
        return {0, h};
    const double scale = double(h) / plan.display.height();
    const int top = std::clamp(int(r.visibleTop * scale), 0, h);
    const int height = std::min(h - top, int(std::ceil(r.view.size.height() * scale)) + 1);
    return {top, std::max(0, height)};
}

void FillRows(QImage& image, int top, int rows)
{
    if (rows > 0)
        std::memset(image.scanLine(top), 0xff, size_t(image.bytesPerLine()) * size_t(rows));
}

} // namespace

// Draws the decoded page for the job's view and sends it out; false when
// it failed (already reported).
bool DjvuWorker::render(Job& job, Doc& doc, ddjvu_page_t* page, int count)
{
    const PageRequest& r = job.request;
    PageResult result;
    result.generation = r.generation;
    result.column = r.column;
    result.path = doc.path;
    result.modified = doc.modified;
    result.fileSize = doc.size;
    result.pageIndex = r.pageIndex;
    result.pageCount = count;
    result.pageNames = doc.names;
    result.pageTitles = doc.titles;
    result.pageSize = QSize(ddjvu_page_get_width(page), ddjvu_page_get_height(page));
    result.dpi = ddjvu_page_get_resolution(page);
    result.plan = PlanRender(result.pageSize, result.dpi, r.zoom, r.view);

    const QString noMemory = QStringLiteral("Not enough memory to show page %1 of %2")
                                 .arg(r.pageIndex + 1)
                                 .arg(QDir::toNativeSeparators(doc.path));
    const QSize size = result.plan.image;
    // The helper may be faulting in memory for this very image: it stops.
    stopPreparing_ = true;
    bool white = false;
    QImage image = NewPageImage(size, &white);
    if (image.isNull()) {
        fail(job, noMemory);
        return false;
    }
    const Band band = VisibleBand(r, result.plan);
    // A page to be shown goes out as soon as the part in view is drawn; the
    // other rows follow in an image of their own, which the view puts in
    // (it then holds the only reference, so nothing is copied twice).
    if (r.generation != 0 && band.height < size.height() * 4 / 5) {
        // White until the rest comes, in case the view is scrolled there.
        if (!white) {
            FillRows(image, 0, band.top);
            FillRows(image, band.top + band.height, size.height() - band.top - band.height);
        }
        renderRows(page, size, image, band.top, band.top, band.height);
        result.image = std::exchange(image, QImage());
        result.partial = true;
        send(result);
        QImage rest = NewPageImage(QSize(size.width(), size.height() - band.height));
        if (rest.isNull()) {
            fail(job, noMemory);
            return false;
        }
        renderRows(page, size, rest, 0, 0, band.top);
        renderRows(page, size, rest, band.top, band.top + band.height, size.height() - band.top - band.height);
        result.image = rest;
        result.partial = false;
        result.restOfTop = band.top;
        result.restOfHeight = band.height;
    } else {
        renderRows(page, size, image, 0, 0, size.height());
        result.image = image;
    }
    send(result);
    // Memory for the next page, made ready while nothing waits.
    stopPreparing_ = false;
    helper_.runLater([this, size] { PrepareSparePageImage(size, stopPreparing_); });
    return true;
}

// A page someone waits for goes out, and this thread steps aside: the
// window's thread, woken to show it, was otherwise queued behind the drawing
// that follows on the same core, 2 ms here and up to 5.
void DjvuWorker::send(const PageResult& result)
{
    emit pageReady(result);
    if (result.generation != 0)
        QThread::yieldCurrentThread();
}

// `rows` rows of the page drawn at `size`, from row `from` on, into the
// target's rows from `top` on.
void DjvuWorker::renderRows(ddjvu_page_t* page, QSize size, QImage& target, int top, int from, int rows)
{
    if (rows > 0)
        RenderInto(page, format_.get(), size, target.scanLine(top), target.bytesPerLine(), from, rows);
}

} // namespace lexifol::djvu
