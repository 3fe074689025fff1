#pragma once
// The scrolling page of the page view, and what the mouse does on it.
#include "djvu/PageLayout.h"
#include "pageview/PageColumn.h"

#include <QAbstractScrollArea>
#include <QColor>
#include <QHash>
#include <QImage>

#include <functional>

namespace lexifol::pv {

// Rendered pages in a scroll area: the page on view alone, or a column of
// the document's pages. A page may be drawn larger or smaller than its image
// while a new rendering is on its way, and white before it has one.
// The soft mark of a located headword, unlike the Find command's yellow.
inline const QColor kHeadwordMarkColour(190, 225, 255);
inline const QColor kFindColour(255, 225, 0);

class PageArea : public QAbstractScrollArea
{
    Q_OBJECT
public:
    explicit PageArea(QWidget* parent = nullptr);

    // The pages shown: `count` from `first`, `sizeOf` each one's display
    // size in device pixels. The point at the top of the view stays there.
    void setColumn(int first, int count, const std::function<QSize(int)>& sizeOf);
    // The page on view, which the boxes and points below are of: `display`
    // its size in device pixels, `pageSize` its size at full resolution.
    // With `toTop` its top is brought to the top of the view.
    void setPage(int page, const QImage& image, QSize display, QSize pageSize, bool toTop);
    // Another page of the column drawn, or its picture dropped (a null image).
    void setPageImage(int page, const QImage& image, QSize display);
    // Makes another page of the column the page on view, nothing scrolled.
    void setCurrentPage(int page, QSize pageSize);
    void setDisplaySize(QSize display);
    void clearPage(const QString& message);
    // Lets go of the image without drawing anything: a new one is set
    // before the next paint.
    void releaseImage() { images_.remove(page_); }
    int page() const { return page_; }
    const PageColumn& column() const { return column_; }
    bool hasImage(int page, QSize size) const;
    QImage imageOf(int page) const { return images_.value(page); }
    int imageCount() const { return int(images_.size()); }
    // The page showing most of the view, and the pages within two screens
    // of it, which are all that is kept.
    int pageInView() const;
    std::pair<int, int> pagesNearView() const;
    // The top of the view on the page, in device pixels (0 above it).
    int topOnPage(int page) const;
    // The top of the view below the top of the page on view, and how far it
    // can go down the page, in logical pixels.
    int scrollOnPage() const;
    int scrollOnPageMaximum() const;
    void setHighlights(const QList<QRect>& pageBoxes, const QColor& colour = kFindColour);
    // The located headword's soft mark (an empty box: none).
    void setMark(const QRect& pageBox);
    QRect mark() const { return mark_.page == page_ ? mark_.boxes.value(0) : QRect(); }
    // Scrolls so that the box stands in the upper third of the view.
    void scrollBoxToUpperThird(const QRect& pageBox);
    void scrollToBox(const QRect& pageBox);
    void setScrollBarsShown(bool shown);
    bool scrollBarsShown() const { return scrollBarsShown_; }
    void scrollRequest(int code);

    ViewArea viewArea() const;
    QSize displaySize() const { return display_; }

    // Page pixels under a point of the viewport, and back.
    QPointF toPagePoint(QPointF viewPos) const;
    // Scrolls so that the page point stands under the viewport point.
    void keepPagePointAt(QPointF pagePoint, QPointF viewPos);
    // The rectangle drawn with Shift and the mouse, in page pixels.
    QRect selection() const { return selection_.page == page_ ? selection_.boxes.value(0) : QRect(); }
    void setSelection(const QRect& pageRect);

signals:
    void viewChanged();
    // The view moved: other pages of the column may have come into it.
    void scrolled();
    // The mouse is on another page of the column than the page on view.
    void pageEntered(int page);
    // Ctrl+wheel or a pinch: the zoom times `factor`, around the point.
    void zoomRequested(double factor, QPointF viewPos);
    void wordActivated(QPoint pagePoint); // a double-click
    void menuRequested(QPoint globalPos, QPoint viewPos);
    void copyRequested();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    bool viewportEvent(QEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    enum class Drag { None, Pan, Select };
    // Boxes in page pixels of the page they were made on.
    struct Boxes {
        int page = -1;
        QSize pageSize;
        QList<QRect> boxes;
        QColor colour;
    };
    bool hasPage() const { return column_.count() > 0; }
    bool pannable() const;
    void updateCursor();
    void enterPageAt(QPointF viewPos);
    void dropFarImages();
    void keepingPlace(const std::function<void()>& change);
    double contentTop() const; // of the view, in the column

    QSizeF logicalDisplay() const;
    QPointF origin() const;
    QRectF slot(int page) const; // viewport coordinates
    QRectF toView(const QRect& pageBox) const;
    QRectF toView(const QRect& pageBox, int page, QSize pageSize) const;
    void updateScrollBars();
    void paintPages(QPainter& p, const QRect& exposed);
    Boxes here(const QList<QRect>& boxes) const { return {page_, pageSize_, boxes, kFindColour}; }

    PageColumn column_;
    QHash<int, QImage> images_;
    int page_ = 0;
    QSize display_;
    QSize pageSize_;
    Boxes highlights_;
    Boxes mark_;
    QString message_;
    bool scrollBarsShown_ = true;
    qreal paintedRatio_ = 0;
    Boxes selection_;
    Drag drag_ = Drag::None;
    QPoint dragLast_;      // viewport point of the last pan step
    QPointF selectFrom_;   // page point where the rectangle began
    double wheelRest_ = 0; // wheel degrees not yet zoomed
};

} // namespace lexifol::pv
