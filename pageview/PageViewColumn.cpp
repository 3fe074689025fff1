// Reading on: the pages one below another, those of the document on view or
// the page files of a dictionary stored page by page; the page on view
// follows the scrolling, and the pages near the view are drawn as they come.
#include "pageview/PageViewImpl.h"

#include "djvu/PageFiles.h"

#include <QFileInfo>
#include <QScopedValueRollback>
#include <QScrollBar>

#include <algorithm>
#include <cstdlib>

namespace lexifol {

int PageView::Impl::slotOf(const QString& path, int index) const
{
    if (columnFiles.isEmpty())
        return path == documentPath ? index : -1;
    return index == 0 ? filePlace.value(path, -1) : -1;
}

PageView::Impl::Place PageView::Impl::placeOf(int slot) const
{
    if (columnFiles.isEmpty())
        return {documentPath, slot};
    return {columnFiles.value(slot), 0};
}

ViewArea PageView::Impl::view() const
{
    ViewArea v = area->viewArea();
    if (continuous) {
        const DocInfo* info = columnFiles.isEmpty() ? documents.peek(documentPath) : nullptr;
        v.column = columnFiles.size() > 1 || (info && info->pageCount > 1);
    }
    return v;
}

// A page file is read on into the files of its folder; listed again only
// when the folder changed.
void PageView::Impl::listPageFiles(const EmbedTag& tag)
{
    const QFileInfo file(tag.src);
    const QString folder = file.absolutePath();
    if (!continuous || !tag.pageByPage) {
        columnFiles.clear();
        filePlace.clear();
        filesFolder.clear();
        return;
    }
    const QDateTime changed = QFileInfo(folder).lastModified();
    // Spelt as the page view file spells its folder, so that its path is found.
    const QString prefix = tag.src.left(tag.src.size() - file.fileName().size());
    if (folder != filesFolder || changed != filesListed || !filePlace.contains(tag.src)) {
        columnFiles.clear();
        filePlace.clear();
        for (const QFileInfo& f : djvu::ListPageFiles(folder + u'/')) {
            filePlace.insert(prefix + f.fileName(), int(columnFiles.size()));
            columnFiles << prefix + f.fileName();
        }
        filesFolder = folder;
        filesListed = changed;
    }
    // The page view file names a file the folder does not list: it stands alone.
    if (!filePlace.contains(tag.src)) {
        columnFiles.clear();
        filePlace.clear();
        filesFolder.clear();
    }
}

// The sizes of the pages at the zoom: those not drawn yet as `fallback`.
void PageView::Impl::layOutColumn(QSize fallback)
{
    if (!columnShown()) {
        area->setColumn(std::max(0, currentSlot()), 1, [fallback](int) { return fallback; });
        return;
    }
    const ViewArea shown = view();
    const QString key = QStringLiteral("%1\n%2\n%3\n%4x%5@%6")
                            .arg(columnFiles.isEmpty() ? documentPath : filesFolder, q->zoom())
                            .arg(int(zoom.mode))
                            .arg(shown.size.width())
                            .arg(shown.size.height())
                            .arg(area->devicePixelRatioF());
    // Laid out already: a page drawn since has set its own size.
    if (key == columnKey && area->column().first() == 0 && area->column().count() == columnCount())
        return;
    // Pages asked for another zoom or size would come too small or too big.
    columnAsked.clear();
    columnKey = key;
    const DocInfo* info = columnFiles.isEmpty() ? documents.find(documentPath, false) : nullptr;
    area->setColumn(0, columnCount(), [&](int slot) {
        const Place place = placeOf(slot);
        const DocInfo* doc = columnFiles.isEmpty() ? info : documents.find(place.path, false);
        if (doc) {
            const auto g = doc->pages.constFind(place.index);
            if (g != doc->pages.cend())
                return PlanRender(g->size, g->dpi, zoom, shown).display;
        }
        return fallback;
    });
}

// The page on view stretched to a new zoom or view at once; in a column,
// every page with it.
void PageView::Impl::stretchTo(const RenderPlan& p)
{
    const QScopedValueRollback placing(arranging, true);
    if (columnShown())
        layOutColumn(p.display);
    area->setDisplaySize(p.display);
}

// Pages near the view that have no picture at the zoom are asked for, the
// nearest first; a page drawn meanwhile for the cache is taken from it.
void PageView::Impl::fillColumn()
{
    if (!columnShown() || state != State::Page)
        return;
    const ViewArea shown = view();
    const auto [from, to] = area->pagesNearView();
    const int inView = area->pageInView();
    const int current = currentSlot();
    std::vector<int> order;
    for (int slot = from; slot <= to; ++slot)
        order.push_back(slot);
    std::stable_sort(order.begin(), order.end(),
                     [inView](int a, int b) { return std::abs(a - inView) < std::abs(b - inView); });
    for (const int slot : order) {
        // The pages beside the page on shown in its document are drawn for
        // the cache, as without a column, and taken from there when they come.
        if (columnFiles.isEmpty() && std::abs(slot - current) == 1)
            continue;
        const Place place = placeOf(slot);
        if (const DocInfo* info = documents.find(place.path, false)) {
            const auto g = info->pages.constFind(place.index);
            if (g != info->pages.cend()) {
                const RenderPlan p = PlanRender(g->size, g->dpi, zoom, shown);
                if (area->hasImage(slot, p.image))
                    continue;
                if (const QImage cached = documents.image(place.path, place.index, p); !cached.isNull()) {
                    area->setPageImage(slot, cached, p.display);
                    continue;
                }
            }
        }
        if (columnAsked.contains(slot))
            continue;
        columnAsked.insert(slot);
        PageRequest r;
        r.path = place.path;
        r.pageIndex = place.index;
        r.zoom = zoom;
        r.view = shown;
        r.column = true;
        QMetaObject::invokeMethod(
            worker, [w = worker, r] { w->prefetch(r); }, Qt::QueuedConnection);
    }
}

void PageView::Impl::followScroll()
{
    if (!columnShown() || state != State::Page || arranging)
        return;
    if (const int slot = area->pageInView(); slot != currentSlot())
        enterPage(slot);
    fillColumn();
}

// Another page of the column becomes the page on view: the one that Find,
// the toolbar and the status line are about. Its marks stay where they are.
void PageView::Impl::enterPage(int slot)
{
    if (!area->column().contains(slot))
        return;
    const Place place = placeOf(slot);
    const DocInfo* info = documents.find(place.path, false);
    const PageGeometry g = info ? info->pages.value(place.index) : PageGeometry();
    documentPath = place.path;
    pageIndex = place.index;
    pageCount = info ? info->pageCount : 1;
    pageSize = g.size;
    dpi = g.dpi;
    if (!pageSize.isEmpty())
        plan = PlanRender(pageSize, dpi, zoom, view());
    image = area->imageOf(slot);
    area->setCurrentPage(slot, pageSize);
    finder.clear();
    const auto t = info ? info->texts.constFind(place.index) : QHash<int, PageTextInfo>::const_iterator();
    textKnown = info && t != info->texts.cend();
    text = textKnown ? *t : PageTextInfo();
    if (!textKnown && !pageSize.isEmpty())
        QMetaObject::invokeMethod(
            worker, [w = worker, place] { w->fetchText(place.path, place.index); }, Qt::QueuedConnection);
    updateToolbar();
    emit q->pageInViewChanged(pageIndex);
}

// A page drawn ahead (for the column or the cache) of the column on view:
// its size is now known, and its picture shown while it is near the view.
void PageView::Impl::takeColumnPage(const PageResult& r)
{
    const int slot = slotOf(r.path, r.pageIndex);
    if (!r.error.isEmpty() || !columnShown() || !area->column().contains(slot))
        return;
    columnAsked.remove(slot);
    const QScopedValueRollback placing(arranging, true);
    const RenderPlan now = PlanRender(r.pageSize, r.dpi, zoom, view());
    const auto [from, to] = area->pagesNearView();
    const bool current = slot == currentSlot();
    if (current && pageSize.isEmpty()) {
        pageSize = r.pageSize;
        dpi = r.dpi;
        plan = now;
        pageCount = r.pageCount;
        area->setCurrentPage(slot, pageSize);
        if (!textKnown)
            QMetaObject::invokeMethod(
                worker, [w = worker, path = r.path, i = r.pageIndex] { w->fetchText(path, i); }, Qt::QueuedConnection);
    }
    area->setPageImage(slot, (slot >= from && slot <= to) || current ? r.image : QImage(), now.display);
    if (current)
        image = area->imageOf(slot);
}

// ---------------------------------------------------------------- PageView

void PageView::setImageBudget(qint64 bytes)
{
    d->documents.setImageBudget(bytes);
}

void PageView::setTextBudget(qint64 bytes)
{
    d->documents.setTextBudget(bytes);
}

void PageView::setContinuous(bool on)
{
    if (d->continuous == on)
        return;
    d->continuous = on;
    if (!on) {
        d->columnFiles.clear();
        d->filePlace.clear();
        d->filesFolder.clear();
    }
    if (d->state != State::Page)
        return;
    const QScopedValueRollback placing(d->arranging, true);
    d->layOutColumn(d->plan.display);
    d->area->setPage(std::max(0, d->currentSlot()), d->image, d->plan.display, d->pageSize, false);
    d->fillColumn();
}

bool PageView::continuous() const
{
    return d->continuous;
}

QStringList PageView::pageTitles() const
{
    if (!d->columnFiles.isEmpty() && d->columnFiles.size() > 1)
        return {};
    const DocInfo* info = d->documents.find(d->documentPath, true);
    return info ? info->titles : QStringList();
}

std::pair<int, int> PageView::readingPlace() const
{
    if (d->columnFiles.isEmpty())
        return {d->pageIndex, d->pageCount};
    return {d->currentSlot(), int(d->columnFiles.size())};
}

} // namespace lexifol
