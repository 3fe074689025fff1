#include "pageview/DocumentCache.h"

#include <QFileInfo>
#include <algorithm>

namespace lexifol::pv {

namespace {
constexpr size_t kMaxDocInfos = 64;
}

DocInfo* DocumentCache::find(const QString& path, bool validate)
{
    auto it = docs_.find(path);
    if (it == docs_.end())
        return nullptr;
    if (validate) {
        const QFileInfo fi(path);
        if (!fi.isFile() || fi.lastModified() != it->second.modified || fi.size() != it->second.size) {
            images_.removeDocument(path);
            docs_.erase(it);
            return nullptr;
        }
    }
    it->second.lastUse = ++useClock_;
    return &it->second;
}

const DocInfo* DocumentCache::peek(const QString& path) const
{
    const auto it = docs_.find(path);
    return it == docs_.end() ? nullptr : &it->second;
}

void DocumentCache::recordPage(const PageResult& r)
{
    DocInfo& info = docs_[r.path];
    if (info.modified != r.modified || info.size != r.fileSize) {
        images_.removeDocument(r.path);
        info = DocInfo();
        info.modified = r.modified;
        info.size = r.fileSize;
    }
    info.pageCount = r.pageCount;
    info.names = r.pageNames;
    info.titles = r.pageTitles;
    info.pages.insert(r.pageIndex, PageGeometry{r.pageSize, r.dpi});
    info.lastUse = ++useClock_;
    // A page drawn for the column is the column's to keep while near the view.
    if (!r.column)
        images_.insert(RenderKey{r.path, r.pageIndex, r.image.size()}, r.image);
    while (docs_.size() > kMaxDocInfos) {
        auto oldest = std::min_element(docs_.begin(), docs_.end(), [](const auto& a, const auto& b) {
            return a.second.lastUse < b.second.lastUse;
        });
        images_.removeDocument(oldest->first);
        docs_.erase(oldest);
    }
}

void DocumentCache::recordText(const TextResult& r)
{
    auto it = docs_.find(r.path);
    if (it == docs_.end() || r.pageIndex < 0)
        return;
    DocInfo& info = it->second;
    if (!info.texts.contains(r.pageIndex))
        info.textOrder.append(r.pageIndex);
    info.texts.insert(r.pageIndex, PageTextInfo{r.hasText, r.words, r.runningHead, r.articleStart});
    while (info.textOrder.size() > kTextsKept)
        info.texts.remove(info.textOrder.takeFirst());
}

QImage DocumentCache::image(const QString& path, int index, const RenderPlan& plan)
{
    return images_.find(RenderKey{path, index, plan.image});
}

bool DocumentCache::isReady(const QString& path, int index, const ZoomSetting& zoom, const ViewArea& view) const
{
    const auto it = docs_.find(path);
    if (it == docs_.end())
        return false;
    const auto geometry = it->second.pages.constFind(index);
    if (geometry == it->second.pages.cend() || !it->second.texts.contains(index))
        return false;
    const RenderPlan p = PlanRender(geometry->size, geometry->dpi, zoom, view);
    return images_.contains(RenderKey{path, index, p.image});
}

} // namespace lexifol::pv
