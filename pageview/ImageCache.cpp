#include "pageview/ImageCache.h"

namespace lexifol {

size_t qHash(const RenderKey& key, size_t seed)
{
    return qHashMulti(seed, key.path, key.page, key.size.width(), key.size.height());
}

QImage ImageCache::find(const RenderKey& key)
{
    const auto it = index_.constFind(key);
    if (it == index_.cend())
        return QImage();
    order_.splice(order_.begin(), order_, *it);
    return (*it)->image;
}

void ImageCache::insert(const RenderKey& key, const QImage& image)
{
    if (image.isNull())
        return;
    const auto it = index_.find(key);
    if (it != index_.end()) {
        bytes_ -= (*it)->image.sizeInBytes();
        (*it)->image = image;
        bytes_ += image.sizeInBytes();
        order_.splice(order_.begin(), order_, *it);
    } else {
        order_.push_front(Entry{key, image});
        index_.insert(key, order_.begin());
        bytes_ += image.sizeInBytes();
    }
    trim();
}

void ImageCache::removeDocument(const QString& path)
{
    for (auto it = order_.begin(); it != order_.end();) {
        if (it->key.path == path) {
            bytes_ -= it->image.sizeInBytes();
            index_.remove(it->key);
            it = order_.erase(it);
        } else {
            ++it;
        }
    }
}

void ImageCache::clear()
{
    order_.clear();
    index_.clear();
    bytes_ = 0;
}

void ImageCache::trim()
{
    // The newest image stays even when it alone is over the limit: it is the
    // one on view.
    while (bytes_ > limit_ && order_.size() > 1) {
        const Entry& last = order_.back();
        bytes_ -= last.image.sizeInBytes();
        index_.remove(last.key);
        order_.pop_back();
    }
}

} // namespace lexifol
