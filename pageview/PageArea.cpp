#include "pageview/PageArea.h"

#include "pageview/ScrollRequest.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QNativeGestureEvent>
#include <QPainter>
#include <QWheelEvent>
#include <QPaintEvent>
#include <QScrollBar>
#include <QStyle>

#include <algorithm>
#include <cmath>

namespace lexifol::pv {

PageArea::PageArea(QWidget* parent)
    : QAbstractScrollArea(parent)
{
    setFrameShape(QFrame::NoFrame);
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setAutoFillBackground(false);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
}

namespace {
QSizeF Logical(QSize device, double dpr)
{
    return QSizeF(device.width() / dpr, device.height() / dpr);
}
} // namespace

// Changes the column's geometry with the point at the top of the view kept
// where it is on its page (and the same share of the width scrolled).
void PageArea::keepingPlace(const std::function<void()>& change)
{
    const bool had = hasPage();
    const double top = contentTop();
    const int anchor = column_.pageAt(top);
    const double fy = had ? (top - column_.top(anchor)) / std::max(1.0, column_.size(anchor).height()) : 0;
    const double fx = horizontalScrollBar()->value() / std::max(1.0, column_.widest());
    change();
    updateScrollBars();
    if (had && column_.contains(anchor)) {
        verticalScrollBar()->setValue(int(std::lround(column_.top(anchor) + fy * column_.size(anchor).height())));
        horizontalScrollBar()->setValue(int(std::lround(fx * column_.widest())));
    }
    viewport()->update();
}

void PageArea::setColumn(int first, int count, const std::function<QSize(int)>& sizeOf)
{
    const double dpr = devicePixelRatioF();
    keepingPlace([&] {
        column_.layOut(first, count, [&](int page) { return Logical(sizeOf(page), dpr); });
        images_.removeIf([this](const auto& it) { return !column_.contains(it.key()); });
    });
}

void PageArea::setPage(int page, const QImage& image, QSize display, QSize pageSize, bool toTop)
{
    const QSizeF size = Logical(display, devicePixelRatioF());
    if (!column_.contains(page))
        column_.layOut(page, 1, [size](int) { return size; });
    if (toTop) {
        column_.setSize(page, size);
        highlights_ = Boxes();
    } else {
        keepingPlace([&] { column_.setSize(page, size); });
    }
    images_.insert(page, image);
    page_ = page;
    display_ = display;
    pageSize_ = pageSize;
    message_.clear();
    updateScrollBars();
    if (toTop) {
        verticalScrollBar()->setValue(int(std::lround(column_.top(page))));
        horizontalScrollBar()->setValue(0);
    }
    viewport()->update();
}

void PageArea::setPageImage(int page, const QImage& image, QSize display)
{
    if (!column_.contains(page))
        return;
    keepingPlace([&] { column_.setSize(page, Logical(display, devicePixelRatioF())); });
    if (page == page_)
        display_ = display;
    if (image.isNull())
        images_.remove(page);
    else
        images_.insert(page, image);
}

void PageArea::setCurrentPage(int page, QSize pageSize)
{
    if (!column_.contains(page))
        return;
    page_ = page;
    pageSize_ = pageSize;
    const QSizeF s = column_.size(page) * devicePixelRatioF();
    display_ = QSize(int(std::lround(s.width())), int(std::lround(s.height())));
}

void PageArea::setDisplaySize(QSize display)
{
    if (display == display_)
        return;
    display_ = display;
    keepingPlace([&] { column_.setSize(page_, Logical(display, devicePixelRatioF())); });
}

void PageArea::clearPage(const QString& message)
{
    images_.clear();
    column_.clear();
    display_ = QSize();
    highlights_ = Boxes();
    message_ = message;
    updateScrollBars();
    viewport()->update();
}

bool PageArea::hasImage(int page, QSize size) const
{
    const auto it = images_.constFind(page);
    return it != images_.cend() && it->size() == size;
}

double PageArea::contentTop() const
{
    const double h = column_.height();
    const int vp = viewport()->height();
    return h < vp ? -(vp - h) / 2 : verticalScrollBar()->value();
}

int PageArea::pageInView() const
{
    const double top = contentTop();
    return column_.pageInView(top, top + viewport()->height());
}

std::pair<int, int> PageArea::pagesNearView() const
{
    const double top = contentTop();
    const int vp = viewport()->height();
    return column_.pagesBetween(top - 2.0 * vp, top + 3.0 * vp);
}

int PageArea::topOnPage(int page) const
{
    return int(std::max(0.0, contentTop() - column_.top(page)) * devicePixelRatioF());
}

int PageArea::scrollOnPage() const
{
    return int(std::lround(contentTop() - column_.top(page_)));
}

int PageArea::scrollOnPageMaximum() const
{
    return std::max(0, int(std::ceil(column_.size(page_).height())) - viewport()->height());
}

// Pictures of pages more than two screens away go: memory stays bounded
// however long the document.
void PageArea::dropFarImages()
{
    if (column_.count() < 2)
        return;
    const std::pair<int, int> near = pagesNearView();
    images_.removeIf(
        [&](const auto& it) { return it.key() != page_ && (it.key() < near.first || it.key() > near.second); });
}

void PageArea::setHighlights(const QList<QRect>& pageBoxes, const QColor& colour)
{
    highlights_ = here(pageBoxes);
    highlights_.colour = colour;
    viewport()->update();
}

void PageArea::setMark(const QRect& pageBox)
{
    mark_ = here(pageBox.isEmpty() ? QList<QRect>() : QList<QRect>{pageBox});
    viewport()->update();
}

void PageArea::scrollBoxToUpperThird(const QRect& pageBox)
{
    const QRectF r = toView(pageBox).translated(horizontalScrollBar()->value(), verticalScrollBar()->value());
    verticalScrollBar()->setValue(int(r.top() - viewport()->height() / 3.0));
    if (r.left() < horizontalScrollBar()->value() || r.right() > horizontalScrollBar()->value() + viewport()->width())
        horizontalScrollBar()->setValue(int(r.left() - viewport()->width() / 3.0));
}

void PageArea::scrollToBox(const QRect& pageBox)
{
    const QRectF r = toView(pageBox).translated(horizontalScrollBar()->value(), verticalScrollBar()->value());
    const int vpH = viewport()->height();
    const int vpW = viewport()->width();
    QScrollBar* v = verticalScrollBar();
    QScrollBar* h = horizontalScrollBar();
    if (r.top() < v->value() || r.bottom() > v->value() + vpH)
        v->setValue(int(r.top() - vpH / 3.0));
    if (r.left() < h->value() || r.right() > h->value() + vpW)
        h->setValue(int(r.left() - vpW / 3.0));
}

void PageArea::setScrollBarsShown(bool shown)
{
    scrollBarsShown_ = shown;
    // Hidden bars still scroll: the wheel and scroll requests drive the
    // ranges, which are kept either way.
    const Qt::ScrollBarPolicy policy = shown ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff;
    setHorizontalScrollBarPolicy(policy);
    setVerticalScrollBarPolicy(policy);
}

void PageArea::scrollRequest(int code)
{
    ApplyScrollCode(verticalScrollBar(), code);
}

ViewArea PageArea::viewArea() const
{
    const double dpr = devicePixelRatioF();
    ViewArea area;
    const QSize size = maximumViewportSize();
    area.size = QSize(int(size.width() * dpr), int(size.height() * dpr));
    area.scrollBarExtent = scrollBarsShown_
        ? int(style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, verticalScrollBar()) * dpr)
        : 0;
    area.screenDpi = logicalDpiX() * dpr;
    return area;
}

QSizeF PageArea::logicalDisplay() const
{
    return column_.size(page_);
}

QRectF PageArea::slot(int page) const
{
    const QSizeF s = column_.size(page);
    const double width = std::max<double>(viewport()->width(), column_.widest());
    const double x = (width - s.width()) / 2 - horizontalScrollBar()->value();
    // Centred while smaller than the view, else scrolled.
    return QRectF(std::floor(x), std::floor(column_.top(page) - contentTop()), s.width(), s.height());
}

QPointF PageArea::origin() const
{
    return slot(page_).topLeft();
}

QRectF PageArea::toView(const QRect& pageBox) const
{
    return toView(pageBox, page_, pageSize_);
}

QRectF PageArea::toView(const QRect& pageBox, int page, QSize pageSize) const
{
    if (pageSize.isEmpty() || !column_.contains(page))
        return QRectF();
    const QRectF s = slot(page);
    const double sx = s.width() / pageSize.width();
    const double sy = s.height() / pageSize.height();
    return QRectF(s.x() + pageBox.x() * sx, s.y() + pageBox.y() * sy, pageBox.width() * sx, pageBox.height() * sy);
}

void PageArea::updateScrollBars()
{
    const QSize vp = viewport()->size();
    QScrollBar* v = verticalScrollBar();
    QScrollBar* h = horizontalScrollBar();
    v->setRange(0, std::max(0, int(std::ceil(column_.height())) - vp.height()));
    v->setPageStep(std::max(1, vp.height()));
    v->setSingleStep(std::max(16, vp.height() / 20));
    h->setRange(0, std::max(0, int(std::ceil(column_.widest())) - vp.width()));
    h->setPageStep(std::max(1, vp.width()));
    h->setSingleStep(std::max(16, vp.width() / 20));
    updateCursor();
}

void PageArea::paintEvent(QPaintEvent* event)
{
    // Moved to a screen of another pixel ratio: the page wants rendering again.
    if (paintedRatio_ != devicePixelRatioF()) {
        if (paintedRatio_ != 0)
            QMetaObject::invokeMethod(this, &PageArea::viewChanged, Qt::QueuedConnection);
        paintedRatio_ = devicePixelRatioF();
    }
    QPainter p(viewport());
    p.fillRect(event->rect(), palette().color(QPalette::Mid));
    if (!hasPage() || (column_.count() == 1 && !images_.contains(page_))) {
        if (!message_.isEmpty()) {
            p.setPen(palette().color(QPalette::Text));
            p.drawText(viewport()->rect().adjusted(12, 12, -12, -12), Qt::AlignCenter | Qt::TextWordWrap, message_);
        }
        return;
    }
    paintPages(p, event->rect());
    // Multiplying keeps the ink readable under the marker colours.
    p.setCompositionMode(QPainter::CompositionMode_Multiply);
    for (const QRect& box : mark_.boxes)
        p.fillRect(toView(box, mark_.page, mark_.pageSize).adjusted(-4, -2, 4, 2), kHeadwordMarkColour);
    for (const QRect& box : highlights_.boxes)
        p.fillRect(toView(box, highlights_.page, highlights_.pageSize).adjusted(-1, -1, 1, 1), highlights_.colour);
    if (!selection_.boxes.value(0).isEmpty()) {
        p.setCompositionMode(QPainter::CompositionMode_SourceOver);
        const QColor c = palette().color(QPalette::Highlight);
        p.setPen(QPen(c, 1));
        p.setBrush(QColor(c.red(), c.green(), c.blue(), 50));
        p.drawRect(toView(selection_.boxes.value(0), selection_.page, selection_.pageSize));
    }
}

// Each page in view from its picture, stretched when it was drawn for
// another size; white while it has none.
void PageArea::paintPages(QPainter& p, const QRect& exposed)
{
    const double top = contentTop();
    const auto [from, to] = column_.pagesBetween(top + exposed.top(), top + exposed.bottom() + 1);
    const double dpr = devicePixelRatioF();
    for (int page = from; page <= to; ++page) {
        const QRectF r = slot(page);
        const auto it = images_.constFind(page);
        if (it == images_.cend() || it->isNull()) {
            p.fillRect(r, Qt::white);
            continue;
        }
        // Drawn into a rectangle rather than with the image's own pixel ratio:
        // setting that would copy an image the cache shares.
        const bool exact = std::abs(it->width() - r.width() * dpr) < 1 && std::abs(it->height() - r.height() * dpr) < 1;
        p.setRenderHint(QPainter::SmoothPixmapTransform, !exact);
        p.drawImage(r, *it, QRectF(it->rect()));
    }
}

void PageArea::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    updateScrollBars();
    emit viewChanged();
}

void PageArea::scrollContentsBy(int, int)
{
    viewport()->update();
    dropFarImages();
    emit scrolled();
}

} // namespace lexifol::pv
