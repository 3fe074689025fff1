#pragma once
// The page view's private state, shared by its two source files: the
// widgets, the document on view, the render thread and the caches.
#include "pageview/PageView.h"
#include "djvu/DjvuWorker.h"
#include "pageview/DocumentCache.h"
#include "pageview/EmbedTag.h"
#include "pageview/FindController.h"
#include "pageview/PageToolbar.h"
#include "pageview/PageWidgets.h"

#include <QDateTime>
#include <QSet>
#include <QStackedLayout>
#include <QTimer>

#include <atomic>
#include <optional>
#include <memory>

namespace lexifol {

using namespace pv;
using namespace djvu;

inline constexpr int kRerenderDelayMs = 80;
inline constexpr int kShutdownWaitMs = 5000;

struct PageView::Impl {
    PageView* q;

    QStackedLayout* stack = nullptr;
    QWidget* blank = nullptr;
    HtmlView* html = nullptr;
    QWidget* panel = nullptr;
    PageToolbar* toolbar = nullptr;
    PageArea* area = nullptr;
    QLabel* errorView = nullptr;

    State state = State::Blank;
    QString currentPath;
    QString errorText;
    QString documentPath;
    int pageIndex = -1;
    int pageCount = 0;
    quint64 generation = 0;
    std::shared_ptr<std::atomic<quint64>> latest = std::make_shared<std::atomic<quint64>>(0);

    ZoomSetting zoom;
    std::optional<ZoomSetting> userZoom; // kept across pages
    bool resetScrollOnArrival = true;
    QString pendingAnchor;
    FindQuery findOnArrival; // found on the next page presented
    TextMatcher matcher;
    QString locating;   // the headword the page on its way is shown for
    int occurrence = 0; // its how many-th entry on the page
    int scrollAtArrival = 0;

    // The page on view.
    QImage image;
    QImage partShown; // the part in view, while the rest is on its way
    QSize pageSize;
    int dpi = 0;
    RenderPlan plan;
    bool textKnown = false;
    PageTextInfo text;
    FindController finder;

    DocumentCache documents;

    // Reading on: the document's pages in one column, the page on view the
    // one the reader has scrolled to.
    bool continuous = true;
    // For a dictionary stored page by page, its page files in their order;
    // empty when the column is the pages of the one document on view.
    QStringList columnFiles;
    QHash<QString, int> filePlace;
    QString filesFolder;
    QDateTime filesListed;
    QSet<int> columnAsked;  // places on their way to the column
    QString columnKey;      // what the pages were asked for: document, zoom, view
    bool arranging = false; // the view scrolls because pages are placed, not the reader

    DjvuWorker* worker = nullptr;
    DjvuThread* thread = nullptr;
    QTimer* rerender = nullptr;

    explicit Impl(PageView* owner)
        : q(owner)
    { }

    void build();
    void startWorker();
    void stopWorker();

    quint64 bump();
    void load(quint64 g);
    void showHtml(const QString& path, const QString& text);
    void showDjvu(const EmbedTag& tag);
    void requestPage(const QString& reference, int index, bool toTop);
    bool showFromCache(const QString& reference, int index, bool toTop);
    void present(const QString& path, int index, const DocInfo& info, const QImage& img, const RenderPlan& plan,
                 bool toTop);
    void showError(const QString& message);
    void onPageReady(const PageResult& r);
    void showPart(const PageResult& r);
    std::optional<PageResult> completePart(const PageResult& rest);
    void onTextReady(const TextResult& r);
    void prefetchNeighbours();
    // A place of the column and the page it holds.
    struct Place {
        QString path;
        int index = -1;
    };
    int columnCount() const { return columnFiles.isEmpty() ? pageCount : int(columnFiles.size()); }
    bool columnShown() const { return continuous && columnCount() > 1; }
    int slotOf(const QString& path, int index) const;
    int currentSlot() const { return slotOf(documentPath, pageIndex); }
    Place placeOf(int slot) const;
    void listPageFiles(const EmbedTag& tag);
    void layOutColumn(QSize fallback);
    // The view that pages are drawn for: in a column, with its scroll bar.
    ViewArea view() const;
    void fillColumn();
    void followScroll();
    void enterPage(int page);
    void takeColumnPage(const PageResult& r);
    void stretchTo(const RenderPlan& p);
    void prepare(const EmbedTag& tag);
    void viewChanged();
    void updateToolbar();
    int runFind();
    int find(const FindQuery& query);
    void showHits();
    void locateHeadword();
    void followLink(const QUrl& url);
    QScrollBar* activeScrollBar() const;

    // The mouse on the page.
    void connectInput();
    void zoomAround(double factor, QPointF viewPos);
    void applyZoom(const ZoomSetting& z, std::optional<QPointF> anchor);
    QMenu* buildMenu(QPoint viewPos);
    QString wordAt(QPoint pagePoint) const;
    void copyText(const QString& text) const;
};

// Paths as the file system and the user see them.
QString LocalPath(const QString& target);
QString Native(const QString& path);

} // namespace lexifol
