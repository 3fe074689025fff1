#pragma once
// The widgets inside the page view: the scrolling page, the Find dialog and
// the HTML view.
#include "pageview/PageLayout.h"

#include <QAbstractScrollArea>
#include <QColor>
#include <QDialog>
#include <QImage>
#include <QLineEdit>
#include <QTextBrowser>

class QLabel;

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
    void setHighlights(const QList<QRect>& pageBoxes);
    // The located headword's soft mark (an empty box: none).
    void setMark(const QRect& pageBox);
    QRect mark() const { return mark_; }
    // Scrolls so that the box stands in the upper third of the view.
    void scrollBoxToUpperThird(const QRect& pageBox);
    void scrollToBox(const QRect& pageBox);
    void setScrollBarsShown(bool shown);
    void scrollRequest(int code);

    ViewArea viewArea() const;
    QSize displaySize() const { return display_; }

signals:
    void viewChanged();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
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
};

// The field of the Find dialog. Paste and Enter are handled here directly,
// so that they work when keys are sent to it while its dialog is hidden.
class FindField : public QLineEdit
{
    Q_OBJECT
public:
    using QLineEdit::QLineEdit;

signals:
    void submitted();

protected:
    bool event(QEvent* event) override;
};

class FindDialog : public QDialog
{
    Q_OBJECT
public:
    explicit FindDialog(QWidget* parent);

    FindField* field() const { return field_; }
    void prepare();                       // text selected, so that a paste replaces it
    void setStatus(const QString& text);

signals:
    void searchRequested(const QString& text);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    FindField* field_;
    QLabel* status_;
};

// HTML bytes: by their byte-order mark; else as the charset they name (the
// ANSI code page when that name is unknown); else as UTF-8 when they are
// valid UTF-8; else in the ANSI code page.
QString DecodeHtml(const QByteArray& bytes);

class HtmlView : public QTextBrowser
{
    Q_OBJECT
public:
    explicit HtmlView(QWidget* parent = nullptr);
    // The next load of `url` uses this text instead of reading the file again.
    void preload(const QUrl& url, const QString& html);
    QVariant loadResource(int type, const QUrl& name) override;

private:
    QUrl preloadedUrl_;
    QString preloaded_;
};

} // namespace lexifol::pv
