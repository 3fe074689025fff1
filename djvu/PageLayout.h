#pragma once
// How big a page is drawn: the zoom of the embed tag applied to the page's
// size and the view's size. Shared by the render thread (which renders at that
// size) and the window (which looks the result up in its cache).
#include <QHash>
#include <QSize>
#include <QString>

namespace lexifol {

struct ZoomSetting {
    enum Mode { FitWidth, FitPage, OneToOne, Percent };
    Mode mode = FitWidth;
    double percent = 100.0; // for Percent

    bool operator==(const ZoomSetting&) const = default;
};

inline constexpr double kMinZoomPercent = 5.0;
inline constexpr double kMaxZoomPercent = 999.0;

// "width" (also empty or unknown), "page", "stretch" (as page), "one2one",
// or a percentage such as "150" or "150%".
ZoomSetting ParseZoom(const QString& zoom);

struct ViewArea {
    QSize size;              // device pixels, without scroll bars
    int scrollBarExtent = 0; // device pixels; 0 when scroll bars are hidden
    double screenDpi = 96.0; // device pixels per inch
    bool column = false;     // pages one below another: the vertical bar is there for any page
};

struct RenderPlan {
    QSize display; // the page at this zoom, device pixels
    QSize image;   // what is rendered: display, shrunk when it would be huge
};

// Rendered images larger than this are rendered smaller and stretched.
inline constexpr qint64 kMaxRenderPixels = 24'000'000;

RenderPlan PlanRender(QSize pageSize, int pageDpi, const ZoomSetting& zoom, const ViewArea& view);

// The percentage that a plan shows the page at (for zooming from a fit mode).
double EffectivePercent(QSize pageSize, int pageDpi, QSize display, double screenDpi);

// The 0-based page that a Page attribute names in a document of `count`
// pages: empty is the first page; digits are a 1-based number; anything
// else is a page id, name or title (exact, then letter case ignored). -1
// when the reference names no page of the document: it is told, never
// replaced by another page.
int ResolvePageReference(const QString& reference, int count, const QHash<QString, int>& names);

} // namespace lexifol
