#include "pageview/PageViewImpl.h"

#include "pageview/Composition.h"
#include "pageview/EmbedTag.h"
#include "djvu/PageLayout.h"
#include "djvu/PageText.h"
#include "pageview/ScrollRequest.h"

#include <QKeyEvent>
#include <QLabel>
#include <QScopedValueRollback>
#include <QScrollBar>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace lexifol {

quint64 PageView::Impl::bump()
{
    ++generation;
    latest->store(generation);
    return generation;
}

void PageView::Impl::requestPage(const QString& reference, int index, bool toTop)
{
    rerender->stop();
    partShown = QImage();
    columnAsked.clear(); // a new page drops the pages asked before
    const quint64 g = bump();
    if (showFromCache(reference, index, toTop))
        return;
    if (index != pageIndex || toTop)
        state = State::Loading;
    resetScrollOnArrival = toTop;
    PageRequest r;
    r.generation = g;
    r.path = documentPath;
    r.pageReference = reference;
    r.pageIndex = index;
    r.zoom = zoom;
    r.view = view();
    const int slot = slotOf(documentPath, index);
    r.visibleTop = toTop || !area->column().contains(slot) ? 0 : area->topOnPage(slot);
    QMetaObject::invokeMethod(
        worker, [w = worker, r] { w->show(r); }, Qt::QueuedConnection);
}

bool PageView::Impl::showFromCache(const QString& reference, int index, bool toTop)
{
    DocInfo* info = documents.find(documentPath, true);
    if (!info || info->pageCount <= 0)
        return false;
    const int i = index >= 0 ? index : ResolvePageReference(reference, info->pageCount, info->names);
    if (i < 0 || i >= info->pageCount)
        return false;
    const auto geometry = info->pages.constFind(i);
    if (geometry == info->pages.cend())
        return false;
    const RenderPlan p = PlanRender(geometry->size, geometry->dpi, zoom, view());
    const QImage img = documents.image(documentPath, i, p);
    if (img.isNull())
        return false;
    present(documentPath, i, *info, img, p, toTop);
    return true;
}

void PageView::Impl::present(const QString& path, int index, const DocInfo& info, const QImage& img,
                             const RenderPlan& p, bool toTop)
{
    const bool samePage = path == documentPath && index == pageIndex && state != State::Error && !toTop;
    documentPath = path;
    pageIndex = index;
    pageCount = info.pageCount;
    image = img;
    plan = p;
    const PageGeometry geometry = info.pages.value(index);
    pageSize = geometry.size;
    dpi = geometry.dpi;
    errorText.clear();
    if (!samePage) {
        finder.clear();
        area->setMark(QRect());
        area->setSelection(QRect());
        const auto t = info.texts.constFind(index);
        textKnown = t != info.texts.cend();
        text = textKnown ? *t : PageTextInfo();
        if (!textKnown)
            QMetaObject::invokeMethod(
                worker, [w = worker, path, index] { w->fetchText(path, index); }, Qt::QueuedConnection);
    }
    if (!findOnArrival.isEmpty()) {
        finder.setQuery(std::exchange(findOnArrival, FindQuery()), true);
        finder.setSoft(true);
    }
    state = State::Page;
    const QScopedValueRollback placing(arranging, true);
    layOutColumn(plan.display);
    area->setPage(std::max(0, currentSlot()), image, plan.display, pageSize, !samePage);
    showHits();
    stack->setCurrentWidget(panel);
    updateToolbar();
    scrollAtArrival = area->verticalScrollBar()->value();
    if (textKnown)
        locateHeadword();
    emit q->pageVisible();
    emit q->pageShown();
    if (finder.pending() && textKnown)
        emit q->findDone(runFind());
    prefetchNeighbours();
    fillColumn();
}

void PageView::Impl::showError(const QString& message)
{
    rerender->stop();
    state = State::Error;
    errorText = message;
    image = QImage();
    pageIndex = -1;
    pageCount = 0;
    finder.clear();
    errorView->setText(message);
    stack->setCurrentWidget(errorView);
    emit q->loadFailed(message);
}

void PageView::Impl::onPageReady(const PageResult& r)
{
    if (r.error.isEmpty() && !r.partial && r.restOfTop < 0)
        documents.recordPage(r);
    if (r.generation == 0)
        takeColumnPage(r);
    if (r.generation == 0 || r.generation != generation)
        return;
    if (!r.error.isEmpty()) {
        showError(r.error);
        return;
    }
    if (r.partial) {
        showPart(r);
        return;
    }
    if (r.restOfTop >= 0) {
        const std::optional<PageResult> whole = completePart(r);
        if (whole) {
            documents.recordPage(*whole);
            present(whole->path, whole->pageIndex, *documents.find(whole->path, false), whole->image, whole->plan,
                    resetScrollOnArrival);
        }
        return;
    }
    present(r.path, r.pageIndex, *documents.find(r.path, false), r.image, r.plan, resetScrollOnArrival);
}

void PageView::Impl::onTextReady(const TextResult& r)
{
    documents.recordText(r);
    if (r.path != documentPath || r.pageIndex != pageIndex || state != State::Page)
        return;
    textKnown = true;
    text = PageTextInfo{r.hasText, r.words, r.runningHead, r.articleStart};
    locateHeadword();
    if (finder.pending())
        emit q->findDone(runFind());
}

// The part of a page in view, drawn before the rest: shown as it is, while
// the page counts as still loading.
void PageView::Impl::showPart(const PageResult& r)
{
    const bool samePage = r.path == documentPath && r.pageIndex == pageIndex && state == State::Page;
    if (!samePage) {
        area->setMark(QRect());
        area->setSelection(QRect());
        area->setHighlights({});
    }
    // Until the page is presented it stands alone, unless the column holds it.
    int slot = slotOf(r.path, r.pageIndex);
    if (slot < 0 || !columnShown()) {
        slot = std::max(0, slot);
        area->setColumn(slot, 1, [&r](int) { return r.plan.display; });
    }
    const QScopedValueRollback placing(arranging, true);
    area->setPage(slot, r.image, r.plan.display, r.pageSize, resetScrollOnArrival && !samePage);
    partShown = r.image;
    stack->setCurrentWidget(panel);
    emit q->pageVisible();
}

// The rows that followed the part in view, put into it: the view lets go of
// the part first, so that it is written where it lies rather than copied.
std::optional<PageResult> PageView::Impl::completePart(const PageResult& rest)
{
    QImage whole = std::exchange(partShown, QImage());
    const int top = rest.restOfTop, band = rest.restOfHeight;
    if (whole.isNull() || whole.width() != rest.image.width() || whole.height() != rest.image.height() + band
        || whole.format() != rest.image.format())
        return std::nullopt;
    area->releaseImage();
    const qsizetype line = whole.bytesPerLine();
    std::memcpy(whole.scanLine(0), rest.image.constScanLine(0), size_t(line) * top);
    if (rest.image.height() > top)
        std::memcpy(whole.scanLine(top + band), rest.image.constScanLine(top),
                    size_t(line) * (rest.image.height() - top));
    PageResult out = rest;
    out.image = whole;
    out.restOfTop = -1;
    return out;
}

void PageView::Impl::prefetchNeighbours()
{
    if (pageCount < 2 || pageIndex < 0)
        return;
    const ViewArea shown = view();
    for (const int i : {pageIndex + 1, pageIndex - 1}) {
        if (i < 0 || i >= pageCount || documents.isReady(documentPath, i, zoom, shown))
            continue;
        PageRequest r;
        r.path = documentPath;
        r.pageIndex = i;
        r.zoom = zoom;
        r.view = shown;
        QMetaObject::invokeMethod(
            worker, [w = worker, r] { w->prefetch(r); }, Qt::QueuedConnection);
    }
}

void PageView::Impl::prepare(const EmbedTag& tag)
{
    if (tag.src.isEmpty() || state != State::Page || stack->currentWidget() != panel
        || toolbar->isVisible() != tag.toolbar || area->scrollBarsShown() != tag.scrollBars)
        return;
    PageRequest r;
    r.path = tag.src;
    r.pageReference = tag.page;
    r.zoom = userZoom.value_or(ParseZoom(tag.zoom));
    r.view = view();
    if (const DocInfo* info = documents.find(r.path, true); info && info->pageCount > 0) {
        const int i = ResolvePageReference(r.pageReference, info->pageCount, info->names);
        if (i < 0 || i >= info->pageCount || documents.isReady(r.path, i, r.zoom, r.view))
            return;
        r.pageIndex = i;
    }
    QMetaObject::invokeMethod(
        worker, [w = worker, r] { w->prefetch(r); }, Qt::QueuedConnection);
}

void PageView::Impl::viewChanged()
{
    if (state != State::Page || pageSize.isEmpty())
        return;
    const RenderPlan p = PlanRender(pageSize, dpi, zoom, view());
    if (p.image == plan.image)
        return;
    // Stretch what there is at once; the sharp page follows.
    stretchTo(p);
    rerender->start();
    emit q->zoomChanged();
}

void PageView::Impl::updateToolbar()
{
    const auto [page, count] = q->readingPlace();
    toolbar->showPages(page, count);
}

// ---------------------------------------------------------------- PageView

PageView::PageView(QWidget* parent)
    : QWidget(parent)
    , d(std::make_unique<Impl>(this))
{
    d->build();
    d->startWorker();
}

PageView::~PageView()
{
    d->stopWorker();
    // Children go while the state their handlers use still exists.
    // The dialog goes first: its handlers reach the view.
    d->finder.deleteDialog();
    qDeleteAll(findChildren<QWidget*>(Qt::FindDirectChildrenOnly));
}

void PageView::Navigate(const QString& path)
{
    d->locating.clear();
    d->occurrence = 0;
    d->findOnArrival = FindQuery();
    const quint64 g = d->bump();
    d->currentPath = path;
    d->pendingAnchor.clear();
    d->state = State::Loading;
    d->rerender->stop();
    QMetaObject::invokeMethod(
        this, [this, g] { d->load(g); }, Qt::QueuedConnection);
}

void PageView::Show(const PageViewRequest& request)
{
    d->locating = request.mark;
    d->occurrence = request.markOccurrence;
    d->findOnArrival = request.find.isEmpty() ? FindQuery() : FindQuery{request.find, true};
    const quint64 g = d->bump();
    d->currentPath = request.viewFile;
    d->pendingAnchor.clear();
    d->state = State::Loading;
    d->rerender->stop();
    QMetaObject::invokeMethod(
        this,
        [this, g, tag = TagForRequest(request)] {
            if (g == d->generation)
                d->showDjvu(tag);
        },
        Qt::QueuedConnection);
}

void PageView::Prepare(const PageViewRequest& request)
{
    d->prepare(TagForRequest(request));
}

PageView::State PageView::state() const
{
    return d->state;
}
QString PageView::currentPath() const
{
    return d->currentPath;
}
QString PageView::errorText() const
{
    return d->errorText;
}
QString PageView::documentPath() const
{
    return d->documentPath;
}
int PageView::pageIndex() const
{
    return d->pageIndex;
}
int PageView::pageCount() const
{
    return d->pageCount;
}

QWidget* PageView::pageWindow() const
{
    return d->stack->currentWidget() == d->html ? d->html->viewport() : d->area->viewport();
}

int PageView::scrollPosition() const
{
    if (d->stack->currentWidget() == d->html)
        return d->html->verticalScrollBar()->value();
    return d->area->scrollOnPage();
}

int PageView::scrollMaximum() const
{
    if (d->stack->currentWidget() == d->html)
        return d->html->verticalScrollBar()->maximum();
    return d->area->scrollOnPageMaximum();
}

QImage PageView::pageImage() const
{
    return d->partShown.isNull() ? d->image : d->partShown;
}

void PageView::ShowNotice(const QString& text)
{
    d->bump();
    d->showError(text);
}

void PageView::setZoom(const QString& zoom)
{
    d->zoom = ParseZoom(zoom);
    if (d->state == State::Page)
        d->requestPage(QString(), d->pageIndex, false);
}

void PageView::goToPage(int index)
{
    const auto [page, count] = readingPlace();
    if (d->documentPath.isEmpty() || index < 0 || (count > 0 && index >= count))
        return;
    if (index == page && d->state == State::Page)
        return;
    // Among page files, the page is a file of the column: it becomes the
    // document on view, as it does when scrolled to.
    const Impl::Place place = d->placeOf(index);
    d->documentPath = place.path;
    d->requestPage(QString(), place.index, true);
}

QWidget* PageView::toolBar() const
{
    return d->toolbar;
}

bool PageView::isPageReady(int index) const
{
    return d->documents.isReady(d->documentPath, index, d->zoom, d->view());
}

bool PageView::event(QEvent* event)
{
    if (event->type() == ScrollRequestEvent::eventType()) {
        const int code = static_cast<ScrollRequestEvent*>(event)->code();
        if (d->stack->currentWidget() == d->html) {
            ApplyScrollCode(d->html->verticalScrollBar(), code);
        } else {
            d->area->scrollRequest(code);
        }
        return true;
    }
    return QWidget::event(event);
}

bool PageView::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == ScrollRequestEvent::eventType() && watched != this) {
        // Whatever widget of the view was hit, the view scrolls.
        PageView::event(event);
        return true;
    }
    // Keys that the page's widgets leave alone reach the page area or the
    // panel around it; the F key there opens the Find dialog.
    if (event->type() == QEvent::KeyPress
        && (watched == d->area || watched == d->area->viewport() || watched == d->panel)) {
        auto* key = static_cast<QKeyEvent*>(event);
        const auto mods = key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
        if (key->key() == Qt::Key_F && mods == Qt::NoModifier) {
            d->finder.open(this, [this](const QString& t) { findText(t); });
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace lexifol
