#include "pageview/PageImage.h"

#include <algorithm>
#include <cstdlib>
#include <limits>
#include <mutex>
#include <vector>

namespace lexifol::pv {

namespace {

// Smaller images come and go with the allocator's own reuse.
constexpr qsizetype kPooledFrom = 1 << 20;
constexpr size_t kMaxSpare = 3;
constexpr qsizetype kMaxSpareBytes = qsizetype(48) << 20;

struct Block {
    void* data = nullptr;
    qsizetype capacity = 0;
};

// Without wasting more than a quarter.
bool Fits(const Block& b, qsizetype bytes)
{
    return b.capacity >= bytes && b.capacity - bytes <= bytes / 4;
}

class Pool
{
public:
    Block take(qsizetype bytes)
    {
        std::lock_guard lock(mutex_);
        for (auto it = spare_.begin(); it != spare_.end(); ++it) {
            if (Fits(*it, bytes)) {
                const Block b = *it;
                spare_.erase(it);
                spareBytes_ -= b.capacity;
                return b;
            }
        }
        return {};
    }

    void give(Block b)
    {
        {
            std::lock_guard lock(mutex_);
            if (spare_.size() < kMaxSpare && spareBytes_ + b.capacity <= kMaxSpareBytes) {
                spare_.push_back(b);
                spareBytes_ += b.capacity;
                return;
            }
        }
        std::free(b.data);
    }

    bool has(qsizetype bytes)
    {
        std::lock_guard lock(mutex_);
        return std::any_of(spare_.begin(), spare_.end(), [bytes](const Block& b) { return Fits(b, bytes); });
    }

    void drop()
    {
        std::vector<Block> gone;
        {
            std::lock_guard lock(mutex_);
            gone.swap(spare_);
            spareBytes_ = 0;
        }
        for (const Block& b : gone)
            std::free(b.data);
    }

    int count(qsizetype* bytes)
    {
        std::lock_guard lock(mutex_);
        if (bytes)
            *bytes = spareBytes_;
        return int(spare_.size());
    }

private:
    std::mutex mutex_;
    std::vector<Block> spare_;
    qsizetype spareBytes_ = 0;
};

// Never destroyed: images may be let go of while the program exits.
Pool& ThePool()
{
    static Pool* pool = new Pool;
    return *pool;
}

void GiveBack(void* info)
{
    auto* block = static_cast<Block*>(info);
    ThePool().give(*block);
    delete block;
}

qsizetype PooledBytes(QSize size)
{
    const qsizetype line = qsizetype(std::max(0, size.width())) * 4;
    if (size.isEmpty() || line > std::numeric_limits<int>::max() / 2)
        return 0;
    const qsizetype bytes = line * size.height();
    return bytes >= kPooledFrom && bytes <= std::numeric_limits<int>::max() ? bytes : 0;
}

} // namespace

QImage NewPageImage(QSize size)
{
    const qsizetype bytes = PooledBytes(size);
    if (bytes == 0)
        return QImage(size, QImage::Format_RGB32);
    Block block = ThePool().take(bytes);
    if (!block.data) {
        block.data = std::malloc(size_t(bytes));
        block.capacity = bytes;
        if (!block.data)
            return QImage();
    }
    auto* info = new Block(block);
    QImage image(static_cast<uchar*>(block.data), size.width(), size.height(), qsizetype(size.width()) * 4,
                 QImage::Format_RGB32,
                 &GiveBack, info);
    if (image.isNull())
        GiveBack(info);
    return image;
}

void PrepareSparePageImage(QSize size, const std::atomic<bool>& stop)
{
    const qsizetype bytes = PooledBytes(size);
    if (bytes == 0 || ThePool().has(bytes))
        return;
    auto* data = static_cast<char*>(std::malloc(size_t(bytes)));
    if (!data)
        return;
    // A write to every memory page, sixteen at a time, looking for a stop
    // in between.
    constexpr qsizetype kStep = 4096, kChunk = 64 * 1024;
    for (qsizetype at = 0; at < bytes; at += kChunk) {
        if (stop.load(std::memory_order_relaxed)) {
            // Half ready would pass for ready.
            std::free(data);
            return;
        }
        for (qsizetype p = at; p < std::min(bytes, at + kChunk); p += kStep)
            data[p] = 0;
    }
    ThePool().give(Block{data, bytes});
}

int SparePageBuffers(qsizetype* bytes)
{
    return ThePool().count(bytes);
}

void DropSparePageBuffers()
{
    ThePool().drop();
}

} // namespace lexifol::pv
