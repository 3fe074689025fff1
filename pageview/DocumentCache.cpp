#include "pageview/DocumentCache.h"

#include <QFileInfo>
#include <algorithm>

namespace lexifol::pv {

namespace {
// A document's record without its pictures and texts is small: its pages'
// sizes and names.
constexpr size_t kMaxDocInfos = 64;

qint64 Bytes(const PageTextInfo& t)
{
    qint64 bytes = sizeof(PageTextInfo) + t.words.size() * qint64(sizeof(PageWord) + 2);
    for (const PageWord& w : t.words)
        bytes += w.text.size() * 2;
    return bytes;
}
} // namespace

void DocumentCache::eraseDocument(std::map<QString, DocInfo>::iterator it)
{
    images_.removeDocument(it->first);
    textBytes_ -= it->second.textBytes;
    textOrder_.removeIf([&](const QPair<QString, int>& t) { return t.first == it->first; });
    docs_.erase(it);
}

void DocumentCache::setTextBudget(qint64 bytes)
{
    textBudget_ = bytes;
    trimTexts();
}

void DocumentCache::trimTexts()
{
    while (textBytes_ > textBudget_ && textOrder_.size() > 1) {
        const auto [path, page] = textOrder_.takeFirst();
        DocInfo& info = docs_.at(path);
        const qint64 bytes = Bytes(info.texts.value(page));
        info.texts.remove(page);
        info.textBytes -= bytes;
        textBytes_ -= bytes;
    }
}

DocInfo* DocumentCache::find(const QString& path, bool validate)
{
    auto it = docs_.find(path);
    if (it == docs_.end())
        return nullptr;
    if (validate) {
        const QFileInfo fi(path);
        if (!fi.isFile() || fi.lastModified() != it->second.modified || fi.size() != it->second.size) {
            eraseDocument(it);
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
    if (const auto old = docs_.find(r.path);
        old != docs_.end() && (old->second.modified != r.modified || old->second.size != r.fileSize))
        eraseDocument(old);
    DocInfo& info = docs_[r.path];
    info.modified = r.modified;
    info.size = r.fileSize;
    info.pageCount = r.pageCount;
    info.names = r.pageNames;
    info.titles = r.pageTitles;
    info.pages.insert(r.pageIndex, PageGeometry{r.pageSize, r.dpi});
    info.lastUse = ++useClock_;
    // A page drawn for the column is the column's to keep while near the view.
    if (!r.column)
        images_.insert(RenderKey{r.path, r.pageIndex, r.image.size()}, r.image);
    while (docs_.size() > kMaxDocInfos)
        eraseDocument(std::min_element(docs_.begin(), docs_.end(), [](const auto& a, const auto& b) {
            return a.second.lastUse < b.second.lastUse;
        }));
}

void DocumentCache::recordText(const TextResult& r)
{
    auto it = docs_.find(r.path);
    if (it == docs_.end() || r.pageIndex < 0)
        return;
    DocInfo& info = it->second;
    if (const auto was = info.texts.constFind(r.pageIndex); was != info.texts.cend()) {
        const qint64 bytes = Bytes(*was);
        info.textBytes -= bytes, textBytes_ -= bytes;
        textOrder_.removeOne(qMakePair(r.path, r.pageIndex));
    }
    const PageTextInfo& text = *info.texts.insert(r.pageIndex, {r.hasText, r.words, r.runningHead, r.articleStart});
    const qint64 bytes = Bytes(text);
    info.textBytes += bytes, textBytes_ += bytes;
    textOrder_.append({r.path, r.pageIndex});
    trimTexts();
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
