#pragma once
// What the page view knows of the documents it has shown: their pages'
// sizes, text layers and rendered images, so that a page can be shown again
// without asking the render thread. Forgets a document whose file changed.
#include "djvu/DjvuWorker.h"
#include "pageview/ImageCache.h"

#include <QDateTime>
#include <QHash>
#include <map>

namespace lexifol::pv {

using djvu::PageResult;
using djvu::TextResult;

struct PageGeometry {
    QSize size;
    int dpi = 0;
};

struct PageTextInfo {
    bool hasText = false;
    QList<PageWord> words;
    QList<bool> runningHead;  // for each word
    QList<bool> articleStart; // for each word
};

struct DocInfo {
    QDateTime modified;
    qint64 size = -1;
    int pageCount = 0;
    QHash<QString, int> names;
    QStringList titles;
    QHash<int, PageGeometry> pages;
    QHash<int, PageTextInfo> texts;
    qint64 textBytes = 0;
    quint64 lastUse = 0;
};

class DocumentCache
{
public:
    // About twenty pages of a window's width: going back to the last few
    // is instant, a session does not grow past it.
    static constexpr qint64 kDefaultImageBudget = 96LL << 20;
    // Some two hundred pages' words and boxes: reading on through a long
    // document keeps only the last ones.
    static constexpr qint64 kDefaultTextBudget = 8LL << 20;
    // With `validate`, a document whose file changed since is dropped.
    DocInfo* find(const QString& path, bool validate);
    const DocInfo* peek(const QString& path) const; // as it is, not checked
    // Records a rendered page (and its document); trims to the limits.
    void recordPage(const PageResult& r);
    void recordText(const TextResult& r);

    // The memory the rendered pages may take together.
    void setImageBudget(qint64 bytes) { images_.setLimit(bytes); }
    // The memory the text layers of all documents may take together; the
    // last one read is kept whatever its size.
    void setTextBudget(qint64 bytes);
    qint64 textBytes() const { return textBytes_; }
    // The rendered page for this view, or a null image.
    QImage image(const QString& path, int index, const RenderPlan& plan);
    // Whether the page would show at once: rendered for the view, text read.
    bool isReady(const QString& path, int index, const ZoomSetting& zoom, const ViewArea& view) const;

private:
    void eraseDocument(std::map<QString, DocInfo>::iterator it);
    void trimTexts();

    ImageCache images_{kDefaultImageBudget};
    std::map<QString, DocInfo> docs_;
    QList<QPair<QString, int>> textOrder_; // oldest first, every document's
    qint64 textBudget_ = kDefaultTextBudget;
    qint64 textBytes_ = 0;
    quint64 useClock_ = 0;
};

} // namespace lexifol::pv
