#pragma once
// Recently rendered pages, least recently used dropped first once the images
// together pass a byte limit.
#include <QHash>
#include <QImage>
#include <QSize>
#include <QString>
#include <list>

namespace lexifol {

struct RenderKey {
    QString path;
    int page = -1;
    QSize size; // rendered size in device pixels
    bool operator==(const RenderKey&) const = default;
};
size_t qHash(const RenderKey& key, size_t seed = 0);

class ImageCache
{
public:
    explicit ImageCache(qint64 limitBytes)
        : limit_(limitBytes)
    { }

    QImage find(const RenderKey& key); // marks it recently used; null if absent
    bool contains(const RenderKey& key) const { return index_.contains(key); }
    void insert(const RenderKey& key, const QImage& image);
    void removeDocument(const QString& path);
    void clear();

    qint64 bytes() const { return bytes_; }
    qint64 limit() const { return limit_; }
    void setLimit(qint64 bytes)
    {
        limit_ = bytes;
        trim();
    }
    int count() const { return int(index_.size()); }

private:
    struct Entry {
        RenderKey key;
        QImage image;
    };
    void trim();

    qint64 limit_;
    qint64 bytes_ = 0;
    std::list<Entry> order_; // front: most recently used
    QHash<RenderKey, std::list<Entry>::iterator> index_;
};

} // namespace lexifol
