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

void PageArea::setPage(const QImage& image, QSize display, QSize pageSize, bool toTop)
{
    const double oldHeight = std::max(1.0, logicalDisplay().height());
    const double fraction = verticalScrollBar()->value() / oldHeight;
    const double hFraction = horizontalScrollBar()->value() / std::max(1.0, logicalDisplay().width());
    image_ = image;
    display_ = display;
    pageSize_ = pageSize;
    message_.clear();
    if (toTop)
        highlights_.clear();
    updateScrollBars();
    if (toTop) {
        verticalScrollBar()->setValue(0);
        horizontalScrollBar()->setValue(0);
    } else {
        verticalScrollBar()->setValue(int(std::lround(fraction * logicalDisplay().height())));
        horizontalScrollBar()->setValue(int(std::lround(hFraction * logicalDisplay().width())));
    }
    viewport()->update();
}

void PageArea::setDisplaySize(QSize display)
{
    if (display == display_)
        return;
    setPage(image_, display, pageSize_, false);
}

void PageArea::clearPage(const QString& message)
{
    image_ = QImage();
    display_ = QSize();
    highlights_.clear();
    message_ = message;
    updateScrollBars();
    viewport()->update();
}

void PageArea::setHighlights(const QList<QRect>& pageBoxes)
{
    highlights_ = pageBoxes;
    viewport()->update();
}

void PageArea::setMark(const QRect& pageBox)
{
    mark_ = pageBox;
    viewport()->update();
}

void PageArea::scrollBoxToUpperThird(const QRect& pageBox)
{
    const QRectF r = toView(pageBox).translated(-origin());
    verticalScrollBar()->setValue(int(r.top() - viewport()->height() / 3.0));
    if (r.left() < horizontalScrollBar()->value() || r.right() > horizontalScrollBar()->value() + viewport()->width())
        horizontalScrollBar()->setValue(int(r.left() - viewport()->width() / 3.0));
}

void PageArea::scrollToBox(const QRect& pageBox)
{
    const QRectF r = toView(pageBox).translated(-origin());   // content coordinates
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
    if (display_.isEmpty())
        return QSizeF(0, 0);
    const double dpr = devicePixelRatioF();
    return QSizeF(display_.width() / dpr, display_.height() / dpr);
}

QPointF PageArea::origin() const
{
    const QSizeF d = logicalDisplay();
    const QSize vp = viewport()->size();
    // Centred while smaller than the view, else scrolled.
    const double x = d.width() < vp.width() ? (vp.width() - d.width()) / 2 : -horizontalScrollBar()->value();
    const double y = d.height() < vp.height() ? (vp.height() - d.height()) / 2 : -verticalScrollBar()->value();
    return QPointF(std::floor(x), std::floor(y));
}

QRectF PageArea::toView(const QRect& pageBox) const
{
    if (pageSize_.isEmpty())
        return QRectF();
    const QSizeF d = logicalDisplay();
    const double sx = d.width() / pageSize_.width();
    const double sy = d.height() / pageSize_.height();
    const QPointF o = origin();
    return QRectF(o.x() + pageBox.x() * sx, o.y() + pageBox.y() * sy,
                  pageBox.width() * sx, pageBox.height() * sy);
}

void PageArea::updateScrollBars()
{
    const QSizeF d = logicalDisplay();
    const QSize vp = viewport()->size();
    QScrollBar* v = verticalScrollBar();
    QScrollBar* h = horizontalScrollBar();
    v->setRange(0, std::max(0, int(std::ceil(d.height())) - vp.height()));
    v->setPageStep(std::max(1, vp.height()));
    v->setSingleStep(std::max(16, vp.height() / 20));
    h->setRange(0, std::max(0, int(std::ceil(d.width())) - vp.width()));
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
    if (image_.isNull()) {
        if (!message_.isEmpty()) {
            p.setPen(palette().color(QPalette::Text));
            p.drawText(viewport()->rect().adjusted(12, 12, -12, -12), Qt::AlignCenter | Qt::TextWordWrap, message_);
        }
        return;
    }
    const QPointF o = origin();
    // Drawn into a rectangle rather than with the image's own pixel ratio:
    // setting that would copy an image the cache shares.
    if (image_.size() != display_)
        p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.drawImage(QRectF(o, logicalDisplay()), image_, QRectF(image_.rect()));
    // Multiplying keeps the ink readable under the marker colours.
    p.setCompositionMode(QPainter::CompositionMode_Multiply);
    if (!mark_.isEmpty())
        p.fillRect(toView(mark_).adjusted(-4, -2, 4, 2), kHeadwordMarkColour);
    if (!highlights_.isEmpty()) {
        for (const QRect& box : highlights_)
            p.fillRect(toView(box).adjusted(-1, -1, 1, 1), QColor(255, 225, 0));
    }
    if (!selection_.isEmpty()) {
        p.setCompositionMode(QPainter::CompositionMode_SourceOver);
        const QColor c = palette().color(QPalette::Highlight);
        p.setPen(QPen(c, 1));
        p.setBrush(QColor(c.red(), c.green(), c.blue(), 50));
        p.drawRect(toView(selection_));
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
}

// ---------------------------------------------------------------- the mouse

QPointF PageArea::toPagePoint(QPointF viewPos) const
{
    const QSizeF d = logicalDisplay();
    if (pageSize_.isEmpty() || d.isEmpty())
        return QPointF();
    const QPointF o = origin();
    return QPointF((viewPos.x() - o.x()) * pageSize_.width() / d.width(),
                   (viewPos.y() - o.y()) * pageSize_.height() / d.height());
}

void PageArea::keepPagePointAt(QPointF pagePoint, QPointF viewPos)
{
    const QSizeF d = logicalDisplay();
    if (pageSize_.isEmpty() || d.isEmpty())
        return;
    horizontalScrollBar()->setValue(int(std::lround(pagePoint.x() * d.width() / pageSize_.width() - viewPos.x())));
    verticalScrollBar()->setValue(int(std::lround(pagePoint.y() * d.height() / pageSize_.height() - viewPos.y())));
}

void PageArea::setSelection(const QRect& pageRect)
{
    selection_ = pageRect;
    viewport()->update();
}

bool PageArea::pannable() const
{
    return !image_.isNull() && (horizontalScrollBar()->maximum() > 0 || verticalScrollBar()->maximum() > 0);
}

void PageArea::updateCursor()
{
    if (drag_ == Drag::Pan)
        viewport()->setCursor(Qt::ClosedHandCursor);
    else if (drag_ == Drag::Select)
        viewport()->setCursor(Qt::CrossCursor);
    else if (pannable())
        viewport()->setCursor(Qt::OpenHandCursor);
    else
        viewport()->unsetCursor();
}

bool PageArea::viewportEvent(QEvent* event)
{
    if (event->type() == QEvent::NativeGesture) {
        auto* g = static_cast<QNativeGestureEvent*>(event);
        if (g->gestureType() == Qt::ZoomNativeGesture && !image_.isNull()) {
            emit zoomRequested(1.0 + g->value(), g->position());
            return true;
        }
    }
    return QAbstractScrollArea::viewportEvent(event);
}

void PageArea::wheelEvent(QWheelEvent* event)
{
    if (!(event->modifiers() & Qt::ControlModifier) || image_.isNull()) {
        QAbstractScrollArea::wheelEvent(event);
        return;
    }
    // About 10 % a notch; touchpads send small steps that add up.
    wheelRest_ += event->angleDelta().y() / 8.0;
    const double notches = wheelRest_ / 15.0;
    if (std::abs(notches) >= 0.25) {
        wheelRest_ = 0;
        emit zoomRequested(std::pow(1.1, notches), event->position());
    }
    event->accept();
}

void PageArea::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || image_.isNull()) {
        QAbstractScrollArea::mousePressEvent(event);
        return;
    }
    if (event->modifiers() & Qt::ShiftModifier) {
        drag_ = Drag::Select;
        selectFrom_ = toPagePoint(event->position());
        setSelection(QRect());
    } else {
        drag_ = pannable() ? Drag::Pan : Drag::None;
        dragLast_ = event->position().toPoint();
        setSelection(QRect());
    }
    updateCursor();
    event->accept();
}

void PageArea::mouseMoveEvent(QMouseEvent* event)
{
    if (drag_ == Drag::Pan) {
        const QPoint delta = event->position().toPoint() - dragLast_;
        dragLast_ = event->position().toPoint();
        horizontalScrollBar()->setValue(horizontalScrollBar()->value() - delta.x());
        verticalScrollBar()->setValue(verticalScrollBar()->value() - delta.y());
    } else if (drag_ == Drag::Select) {
        const QRectF r = QRectF(selectFrom_, toPagePoint(event->position())).normalized();
        setSelection(r.toAlignedRect() & QRect(QPoint(0, 0), pageSize_));
    }
    event->accept();
}

void PageArea::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && drag_ != Drag::None) {
        drag_ = Drag::None;
        updateCursor();
    }
    event->accept();
}

void PageArea::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && !image_.isNull())
        emit wordActivated(toPagePoint(event->position()).toPoint());
    event->accept();
}

void PageArea::contextMenuEvent(QContextMenuEvent* event)
{
    if (!image_.isNull())
        emit menuRequested(event->globalPos(), event->pos());
    event->accept();
}

void PageArea::keyPressEvent(QKeyEvent* event)
{
    if (event->matches(QKeySequence::Copy) && !selection_.isEmpty()) {
        emit copyRequested();
        event->accept();
        return;
    }
    QAbstractScrollArea::keyPressEvent(event);
}

} // namespace lexifol::pv
