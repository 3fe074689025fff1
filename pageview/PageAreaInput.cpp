#include "pageview/PageArea.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QNativeGestureEvent>
#include <QScrollBar>
#include <QWheelEvent>

#include <cmath>

namespace lexifol::pv {

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
    // The page's place in the view plus the scrolling is its place in the column.
    const QPointF o = origin() + QPointF(horizontalScrollBar()->value(), verticalScrollBar()->value());
    horizontalScrollBar()->setValue(
        int(std::lround(o.x() + pagePoint.x() * d.width() / pageSize_.width() - viewPos.x())));
    verticalScrollBar()->setValue(
        int(std::lround(o.y() + pagePoint.y() * d.height() / pageSize_.height() - viewPos.y())));
}

void PageArea::setSelection(const QRect& pageRect)
{
    selection_ = here({pageRect});
    viewport()->update();
}

// What the mouse does is done to the page under it.
void PageArea::enterPageAt(QPointF viewPos)
{
    if (column_.count() < 2)
        return;
    const int page = column_.pageAt(contentTop() + viewPos.y());
    if (page != page_)
        emit pageEntered(page);
}

bool PageArea::pannable() const
{
    return hasPage() && (horizontalScrollBar()->maximum() > 0 || verticalScrollBar()->maximum() > 0);
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
        if (g->gestureType() == Qt::ZoomNativeGesture && hasPage()) {
            enterPageAt(g->position()); // the zoom keeps the point of the page under the fingers
            emit zoomRequested(1.0 + g->value(), g->position());
            return true;
        }
    }
    return QAbstractScrollArea::viewportEvent(event);
}

void PageArea::wheelEvent(QWheelEvent* event)
{
    if (!(event->modifiers() & Qt::ControlModifier) || !hasPage()) {
        QAbstractScrollArea::wheelEvent(event);
        return;
    }
    // About 10 % a notch; touchpads send small steps that add up.
    wheelRest_ += event->angleDelta().y() / 8.0;
    const double notches = wheelRest_ / 15.0;
    if (std::abs(notches) >= 0.25) {
        wheelRest_ = 0;
        enterPageAt(event->position());
        emit zoomRequested(std::pow(1.1, notches), event->position());
    }
    event->accept();
}

void PageArea::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !hasPage()) {
        QAbstractScrollArea::mousePressEvent(event);
        return;
    }
    enterPageAt(event->position());
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
    if (event->button() == Qt::LeftButton && hasPage()) {
        enterPageAt(event->position());
        emit wordActivated(toPagePoint(event->position()).toPoint());
    }
    event->accept();
}

void PageArea::contextMenuEvent(QContextMenuEvent* event)
{
    if (hasPage()) {
        enterPageAt(event->pos());
        emit menuRequested(event->globalPos(), event->pos());
    }
    event->accept();
}

void PageArea::keyPressEvent(QKeyEvent* event)
{
    if (event->matches(QKeySequence::Copy) && !selection().isEmpty()) {
        emit copyRequested();
        event->accept();
        return;
    }
    QAbstractScrollArea::keyPressEvent(event);
}

} // namespace lexifol::pv
