#pragma once
// The scrolling page of the page view, and what the mouse does on it.
#include "djvu/PageLayout.h"

#include <QAbstractScrollArea>
#include <QColor>
#include <QImage>

namespace lexifol::pv {

// A rendered page in a scroll area. The page may be drawn larger or smaller
// than its image while a new rendering is on its way.
// The soft mark of a located headword, unlike the Find command's yellow.
inline const QColor kHeadwordMarkColour(190, 225, 255);

class PageArea : public QAbstractScrollArea
{
    Q_OBJECT
public:
    explicit PageArea(QWidget* parent = nullptr);

    // `display` is the page's size in device pixels; `pageSize` its size at
    // full resolution (highlight boxes are in those pixels).
    void setPage(const QImage& image, QSize display, QSize pageSize, bool toTop);
    void setDisplaySize(QSize display);
    void clearPage(const QString& message);
    // Lets go of the image without drawing anything: a new one is set
    // before the next paint.
    void releaseImage() { image_ = QImage(); }
    void setHighlights(const QList<QRect>& pageBoxes);
    // The located headword's soft mark (an empty box: none).
    void setMark(const QRect& pageBox);
    QRect mark() const { return mark_; }
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
    QRect selection() const { return selection_; }
    void setSelection(const QRect& pageRect);

signals:
    void viewChanged();
    // Ctrl+wheel or a pinch: the zoom times `factor`, around the point.
    void zoomRequested(double factor, QPointF viewPos);
    void wordActivated(QPoint pagePoint);   // a double-click
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
    bool pannable() const;
    void updateCursor();

    QSizeF logicalDisplay() const;
    QPointF origin() const;
    QRectF toView(const QRect& pageBox) const;
    void updateScrollBars();

    QImage image_;
    QSize display_;
    QSize pageSize_;
    QList<QRect> highlights_;
    QRect mark_;
    QString message_;
    bool scrollBarsShown_ = true;
    qreal paintedRatio_ = 0;
    QRect selection_;
    Drag drag_ = Drag::None;
    QPoint dragLast_;        // viewport point of the last pan step
    QPointF selectFrom_;     // page point where the rectangle began
    double wheelRest_ = 0;   // wheel degrees not yet zoomed
};

} // namespace lexifol::pv
