// The page under the mouse: zoom around the pointer, the context menu,
// copying the text layer and looking a printed word up.
#include "pageview/PageViewImpl.h"

#include "djvu/PageSelection.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMenu>
#include <QScrollBar>

#include <algorithm>

namespace lexifol {

void PageView::Impl::connectInput()
{
    QObject::connect(area, &PageArea::zoomRequested, q, [this](double f, QPointF at) { zoomAround(f, at); });
    QObject::connect(area, &PageArea::wordActivated, q, [this](QPoint p) {
        if (const QString word = wordAt(p); !word.isEmpty())
            emit q->lookUpRequested(word);
    });
    QObject::connect(area, &PageArea::menuRequested, q, [this](QPoint global, QPoint at) {
        QMenu* menu = buildMenu(at);
        menu->setAttribute(Qt::WA_DeleteOnClose);
        menu->popup(global);
    });
    QObject::connect(area, &PageArea::copyRequested, q, [this] { copyText(q->selectedText()); });
}

void PageView::Impl::zoomAround(double factor, QPointF viewPos)
{
    if (state != State::Page || pageSize.isEmpty())
        return;
    const double now = EffectivePercent(pageSize, dpi, area->displaySize(), area->viewArea().screenDpi);
    ZoomSetting z;
    z.mode = ZoomSetting::Percent;
    z.percent = std::clamp(now * factor, kMinZoomPercent, kMaxZoomPercent);
    applyZoom(z, viewPos);
}

// The page is stretched at once and rendered sharp at the new scale on the
// render thread a moment later; `anchor` keeps its page point in place.
void PageView::Impl::applyZoom(const ZoomSetting& z, std::optional<QPointF> anchor)
{
    userZoom = z;
    zoom = z;
    if (state != State::Page || pageSize.isEmpty())
        return;
    const QPointF at = anchor.value_or(QPointF(area->viewport()->width() / 2.0, area->viewport()->height() / 2.0));
    const QPointF pagePoint = area->toPagePoint(at);
    const RenderPlan p = PlanRender(pageSize, dpi, zoom, view());
    stretchTo(p);
    if (anchor)
        area->keepPagePointAt(pagePoint, at);
    rerender->start();
    emit q->zoomChanged();
}

QString PageView::Impl::wordAt(QPoint pagePoint) const
{
    if (state != State::Page || !textKnown || !text.hasText)
        return QString();
    return WordAt(text.words, pagePoint);
}

void PageView::Impl::copyText(const QString& text) const
{
    if (!text.isEmpty())
        QGuiApplication::clipboard()->setText(text);
}

QMenu* PageView::Impl::buildMenu(QPoint viewPos)
{
    auto* menu = new QMenu(q);
    auto fit = [this](ZoomSetting::Mode mode) {
        ZoomSetting z;
        z.mode = mode;
        applyZoom(z, std::nullopt);
    };
    menu->addAction(PageView::tr("Fit width"), q, [fit] { fit(ZoomSetting::FitWidth); });
    menu->addAction(PageView::tr("Fit page"), q, [fit] { fit(ZoomSetting::FitPage); });
    menu->addAction(PageView::tr("Actual size (100 %)"), q, [this] {
        ZoomSetting z;
        z.mode = ZoomSetting::Percent;
        applyZoom(z, std::nullopt);
    });
    const QPointF centre(area->viewport()->width() / 2.0, area->viewport()->height() / 2.0);
    menu->addAction(PageView::tr("Zoom in"), q, [this, centre] { zoomAround(1.25, centre); });
    menu->addAction(PageView::tr("Zoom out"), q, [this, centre] { zoomAround(0.8, centre); });
    if (state != State::Page || !textKnown || !text.hasText) {
        emit q->menuBuilt(menu, QString());
        return menu;
    }
    menu->addSeparator();
    if (!area->selection().isEmpty())
        menu->addAction(PageView::tr("Copy selection"), q, [this] { copyText(q->selectedText()); });
    menu->addAction(PageView::tr("Copy page text"), q, [this] { copyText(PageTextOf(text.words)); });
    const QString word = wordAt(area->toPagePoint(viewPos).toPoint());
    if (!word.isEmpty()) {
        menu->addAction(PageView::tr("Copy \"%1\"").arg(word), q, [this, word] { copyText(word); });
        menu->addAction(PageView::tr("Look up \"%1\"").arg(word), q, [this, word] { emit q->lookUpRequested(word); });
    }
    emit q->menuBuilt(menu, word);
    return menu;
}

// ---------------------------------------------------------------- PageView

QString PageView::zoom() const
{
    switch (d->zoom.mode) {
    case ZoomSetting::FitWidth:
        return QStringLiteral("width");
    case ZoomSetting::FitPage:
        return QStringLiteral("page");
    case ZoomSetting::OneToOne:
        return QStringLiteral("one2one");
    case ZoomSetting::Percent:
        break;
    }
    return QString::number(d->zoom.percent, 'f', 1);
}

void PageView::zoomBy(double factor)
{
    d->zoomAround(factor, QPointF(d->area->viewport()->width() / 2.0, d->area->viewport()->height() / 2.0));
}

int PageView::zoomPercent() const
{
    if (d->state != State::Page || d->pageSize.isEmpty())
        return 0;
    return qRound(EffectivePercent(d->pageSize, d->dpi, d->area->displaySize(), d->area->viewArea().screenDpi));
}

void PageView::resetZoom()
{
    d->userZoom.reset();
}

QPointF PageView::pagePointAt(QPoint viewPos) const
{
    return d->area->toPagePoint(viewPos);
}

QMenu* PageView::contextMenu(QPoint viewPos)
{
    return d->buildMenu(viewPos);
}

QString PageView::selectedText() const
{
    if (!d->textKnown || d->area->selection().isEmpty())
        return QString();
    return TextInRect(d->text.words, d->area->selection());
}

} // namespace lexifol
