// Reading on: the document's pages one below another, the page on view
// following the scrolling, the pages near the view drawn as they come.
#include "pageview/WebBrowserImpl.h"

#include <QScopedValueRollback>
#include <QScrollBar>

#include <algorithm>
#include <cstdlib>

namespace lexifol {

// The sizes of the pages at the zoom: those not drawn yet as `fallback`.
void TWebBrowser::Impl::layOutColumn(int count, QSize fallback)
{
    if (!continuous || count < 2) {
        area->setColumn(pageIndex, 1, [fallback](int) { return fallback; });
        return;
    }
    const ViewArea view = area->viewArea();
    const QString key = QStringLiteral("%1\n%2\n%3\n%4x%5")
                            .arg(documentPath, q->zoom())
                            .arg(int(zoom.mode))
                            .arg(view.size.width())
                            .arg(view.size.height());
    // Pages asked for another zoom or size would come too small or too big.
    if (key != columnKey)
        columnAsked.clear();
    columnKey = key;
    const DocInfo* info = documents.find(documentPath, false);
    area->setColumn(0, count, [&](int page) {
        if (info) {
            const auto g = info->pages.constFind(page);
            if (g != info->pages.cend())
                return PlanRender(g->size, g->dpi, zoom, view).display;
        }
        return fallback;
    });
}

// The page on view stretched to a new zoom or view at once; in a column,
// every page with it.
void TWebBrowser::Impl::stretchTo(const RenderPlan& p)
{
    const QScopedValueRollback placing(arranging, true);
    if (columnShown())
        layOutColumn(pageCount, p.display);
    area->setDisplaySize(p.display);
}

// Pages near the view that have no picture at the zoom are asked for, the
// nearest first; a page drawn meanwhile for the cache is taken from it.
void TWebBrowser::Impl::fillColumn()
{
    if (!columnShown() || state != State::Page)
        return;
    const DocInfo* info = documents.find(documentPath, false);
    const ViewArea view = area->viewArea();
    const auto [from, to] = area->pagesNearView();
    const int inView = area->pageInView();
    std::vector<int> pages;
    for (int page = from; page <= to; ++page)
        pages.push_back(page);
    std::stable_sort(pages.begin(), pages.end(),
                     [inView](int a, int b) { return std::abs(a - inView) < std::abs(b - inView); });
    for (const int page : pages) {
        // The pages beside the page on view are drawn for the cache, as
        // without a column, and taken from there when they come.
        if (std::abs(page - pageIndex) == 1)
            continue;
        if (info) {
            const auto g = info->pages.constFind(page);
            if (g != info->pages.cend()) {
                const RenderPlan p = PlanRender(g->size, g->dpi, zoom, view);
                if (area->hasImage(page, p.image))
                    continue;
                if (const QImage cached = documents.image(documentPath, page, p); !cached.isNull()) {
                    area->setPageImage(page, cached, p.display);
                    continue;
                }
            }
        }
        if (columnAsked.contains(page))
            continue;
        columnAsked.insert(page);
        PageRequest r;
        r.path = documentPath;
        r.pageIndex = page;
        r.zoom = zoom;
        r.view = view;
        r.column = true;
        QMetaObject::invokeMethod(worker, [w = worker, r] { w->prefetch(r); }, Qt::QueuedConnection);
    }
}

void TWebBrowser::Impl::followScroll()
{
    if (!columnShown() || state != State::Page || arranging)
        return;
    if (const int page = area->pageInView(); page != pageIndex)
        enterPage(page);
    fillColumn();
}

// Another page of the column becomes the page on view: the one that Find,
// the toolbar and the status line are about. Its marks stay where they are.
void TWebBrowser::Impl::enterPage(int page)
{
    const DocInfo* info = documents.find(documentPath, false);
    if (!info || !area->column().contains(page))
        return;
    const PageGeometry g = info->pages.value(page);
    pageIndex = page;
    pageSize = g.size;
    dpi = g.dpi;
    if (!pageSize.isEmpty())
        plan = PlanRender(pageSize, dpi, zoom, area->viewArea());
    image = area->imageOf(page);
    area->setCurrentPage(page, pageSize);
    finder.clear();
    const auto t = info->texts.constFind(page);
    textKnown = t != info->texts.cend();
    text = textKnown ? *t : PageTextInfo();
    if (!textKnown && !pageSize.isEmpty())
        QMetaObject::invokeMethod(worker, [w = worker, path = documentPath, page] { w->fetchText(path, page); },
                                  Qt::QueuedConnection);
    updateToolbar();
    emit q->pageInViewChanged(page);
}

// A page drawn ahead (for the column or the cache) of the document on view:
// its size is now known, and its picture shown while it is near the view.
void TWebBrowser::Impl::takeColumnPage(const PageResult& r)
{
    if (!r.error.isEmpty() || r.path != documentPath || !columnShown() || !area->column().contains(r.pageIndex))
        return;
    columnAsked.remove(r.pageIndex);
    const QScopedValueRollback placing(arranging, true);
    const RenderPlan now = PlanRender(r.pageSize, r.dpi, zoom, area->viewArea());
    const auto [from, to] = area->pagesNearView();
    const bool near = r.pageIndex >= from && r.pageIndex <= to;
    if (r.pageIndex == pageIndex && pageSize.isEmpty()) {
        pageSize = r.pageSize;
        dpi = r.dpi;
        plan = now;
        area->setCurrentPage(pageIndex, pageSize);
        if (!textKnown)
            QMetaObject::invokeMethod(worker, [w = worker, path = r.path, i = r.pageIndex] { w->fetchText(path, i); },
                                      Qt::QueuedConnection);
    }
    area->setPageImage(r.pageIndex, near || r.pageIndex == pageIndex ? r.image : QImage(), now.display);
    if (r.pageIndex == pageIndex)
        image = area->imageOf(pageIndex);
}

// ---------------------------------------------------------------- TWebBrowser

void TWebBrowser::setContinuous(bool on)
{
    if (d->continuous == on)
        return;
    d->continuous = on;
    if (d->state != State::Page)
        return;
    const QScopedValueRollback placing(d->arranging, true);
    d->layOutColumn(d->pageCount, d->plan.display);
    d->area->setPage(d->pageIndex, d->image, d->plan.display, d->pageSize, false);
    d->fillColumn();
}

bool TWebBrowser::continuous() const
{
    return d->continuous;
}

} // namespace lexifol
