#include "app/UniformListView.h"

#include <QPainter>
#include <QPaintEvent>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionFocusRect>

namespace lexifol {

UniformListView::UniformListView(QWidget* parent)
    : QListView(parent)
{
    setUniformItemSizes(true);
    setVerticalScrollMode(ScrollPerItem);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
}

int UniformListView::rowCount() const
{
    return model() ? model()->rowCount(rootIndex()) : 0;
}

int UniformListView::rowHeight() const
{
    if (rowHeight_ > 0)
        return rowHeight_;
    const int h = rowCount() > 0 ? sizeHintForRow(0) : 0;
    rowHeight_ = h > 0 ? h : fontMetrics().height() + 2;
    return rowHeight_;
}

int UniformListView::visibleRows() const
{
    return qMax(1, viewport()->height() / rowHeight());
}

int UniformListView::verticalOffset() const
{
    return verticalScrollBar()->value() * rowHeight();
}

QRect UniformListView::visualRect(const QModelIndex& index) const
{
    if (!index.isValid() || index.parent() != rootIndex())
        return {};
    return QRect(0, index.row() * rowHeight() - verticalOffset(), viewport()->width(), rowHeight());
}

QModelIndex UniformListView::indexAt(const QPoint& point) const
{
    if (point.y() < 0 || !model())
        return {};
    const int row = (point.y() + verticalOffset()) / rowHeight();
    return row < rowCount() ? model()->index(row, modelColumn(), rootIndex()) : QModelIndex();
}

void UniformListView::scrollTo(const QModelIndex& index, ScrollHint hint)
{
    if (!index.isValid())
        return;
    QScrollBar* bar = verticalScrollBar();
    const int row = index.row(), top = bar->value(), visible = visibleRows();
    switch (hint) {
    case PositionAtTop:
        bar->setValue(row);
        break;
    case PositionAtBottom:
        bar->setValue(row - visible + 1);
        break;
    case PositionAtCenter:
        bar->setValue(row - visible / 2);
        break;
    case EnsureVisible:
        if (row < top)
            bar->setValue(row);
        else if (row >= top + visible)
            bar->setValue(row - visible + 1);
        break;
    }
}

void UniformListView::doItemsLayout()
{
    // No per-row layout: the rows are where their number puts them. A reset
    // or a new count may have changed every row's text.
    dropTexts();
    QAbstractItemView::doItemsLayout(); // NOLINT(bugprone-parent-virtual-call)
    updateGeometries();
}

void UniformListView::updateGeometries()
{
    rowHeight_ = 0; // the model or the font may have changed
    QScrollBar* bar = verticalScrollBar();
    const int visible = visibleRows();
    bar->setRange(0, qMax(0, rowCount() - visible));
    bar->setSingleStep(1);
    bar->setPageStep(visible);
    QAbstractItemView::updateGeometries(); // NOLINT(bugprone-parent-virtual-call)
}

QModelIndex UniformListView::moveCursor(CursorAction action, Qt::KeyboardModifiers)
{
    const int count = rowCount();
    if (count == 0)
        return {};
    const int current = currentIndex().isValid() ? currentIndex().row() : -1;
    int row = current;
    switch (action) {
    case MoveUp:
    case MovePrevious:
        row = current < 0 ? 0 : current - 1;
        break;
    case MoveDown:
    case MoveNext:
        row = current + 1;
        break;
    case MovePageUp:
        row = current - visibleRows();
        break;
    case MovePageDown:
        row = current + visibleRows();
        break;
    case MoveHome:
        row = 0;
        break;
    case MoveEnd:
        row = count - 1;
        break;
    default:
        return currentIndex();
    }
    return model()->index(qBound(0, row, count - 1), modelColumn(), rootIndex());
}

void UniformListView::setSelection(const QRect& rect, QItemSelectionModel::SelectionFlags flags)
{
    const QRect r = rect.normalized();
    const QModelIndex first = indexAt(QPoint(0, qMax(0, r.top())));
    QModelIndex last = indexAt(QPoint(0, r.bottom()));
    if (!first.isValid())
        return;
    if (!last.isValid())
        last = model()->index(rowCount() - 1, modelColumn(), rootIndex());
    selectionModel()->select(QItemSelection(first, last), flags);
}

QRegion UniformListView::visualRegionForSelection(const QItemSelection& selection) const
{
    QRegion region;
    for (const QItemSelectionRange& range : selection) {
        const QRect top = visualRect(model()->index(range.top(), modelColumn(), rootIndex()));
        const QRect bottom = visualRect(model()->index(range.bottom(), modelColumn(), rootIndex()));
        region += (top | bottom).intersected(viewport()->rect());
    }
    return region;
}

void UniformListView::paintEvent(QPaintEvent* event)
{
    QPainter painter(viewport());
    const int h = rowHeight(), count = rowCount();
    const int first = verticalScrollBar()->value();
    const int last = qMin(count - 1, first + viewport()->height() / h + 1);
    const QPalette::ColorGroup group = !isEnabled() ? QPalette::Disabled
        : hasFocus()                                ? QPalette::Active
                                                    : QPalette::Inactive;
    const QPalette& pal = palette();
    const QModelIndex current = currentIndex();
    const QFontMetrics fm(font());
    const int margin = style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1;
    const int textTop = (h - fm.height()) / 2;
    painter.setFont(font());
    for (int row = first; row <= last; ++row) {
        const QModelIndex index = model()->index(row, modelColumn(), rootIndex());
        const QRect rect = visualRect(index);
        if (!rect.intersects(event->rect()))
            continue;
        const bool selected = selectionModel() && selectionModel()->isSelected(index);
        if (selected)
            painter.fillRect(rect, pal.brush(group, QPalette::Highlight));
        painter.setPen(pal.color(group, selected ? QPalette::HighlightedText : QPalette::Text));
        painter.drawStaticText(rect.left() + margin, rect.top() + textTop, rowText(row, index));
        if (index == current && hasFocus()) {
            QStyleOptionFocusRect focus;
            focus.initFrom(this);
            focus.rect = rect;
            focus.backgroundColor = pal.color(group, selected ? QPalette::Highlight : QPalette::Base);
            style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
        }
    }
}

const QStaticText& UniformListView::rowText(int row, const QModelIndex& index)
{
    auto it = texts_.find(row);
    if (it == texts_.end()) {
        if (texts_.size() >= 512)
            texts_.clear(); // a few screens' worth is all that pays
        QStaticText text(index.data(Qt::DisplayRole).toString());
        text.setTextFormat(Qt::PlainText);
        text.setPerformanceHint(QStaticText::AggressiveCaching);
        text.prepare(QTransform(), font());
        it = texts_.insert(row, text);
    }
    return *it;
}

void UniformListView::dropTexts()
{
    texts_.clear();
}

bool UniformListView::event(QEvent* event)
{
    if (event->type() == QEvent::FontChange)
        dropTexts();
    return QListView::event(event);
}

void UniformListView::resizeEvent(QResizeEvent* event)
{
    QAbstractItemView::resizeEvent(event); // NOLINT(bugprone-parent-virtual-call)
    updateGeometries();
}

void UniformListView::scrollContentsBy(int, int)
{
    viewport()->update();
}

void UniformListView::reset()
{
    dropTexts();
    QListView::reset();
}

void UniformListView::dataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight, const QList<int>& roles)
{
    dropTexts();
    QListView::dataChanged(topLeft, bottomRight, roles);
}

void UniformListView::rowsInserted(const QModelIndex& parent, int start, int end)
{
    dropTexts();
    QAbstractItemView::rowsInserted(parent, start, end); // NOLINT(bugprone-parent-virtual-call)
    updateGeometries();
}

void UniformListView::rowsAboutToBeRemoved(const QModelIndex& parent, int start, int end)
{
    dropTexts();
    QAbstractItemView::rowsAboutToBeRemoved(parent, start, end); // NOLINT(bugprone-parent-virtual-call)
}

} // namespace lexifol
