#include "djvu/PageImage.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <mutex>
#include <vector>

namespace lexifol::djvu {

namespace {

// Smaller images come and go with the allocator's own reuse.
constexpr qsizetype kPooledFrom = 1 << 20;
constexpr size_t kMaxSpare = 3;
constexpr qsizetype kMaxSpareBytes = qsizetype(48) << 20;

struct Block {
    void* data = nullptr;
    qsizetype capacity = 0;
    bool white = false; // every byte 0xff, as prepared
};

// Without wasting more than a quarter.
bool Fits(const Block& b, qsizetype bytes)
{
    return b.capacity >= bytes && b.capacity - bytes <= bytes / 4;
}

class Pool
{
public:
    // A white one first.
    Block take(qsizetype bytes)
    {
        std::lock_guard lock(mutex_);
        auto pick = spare_.end();
        for (auto it = spare_.begin(); it != spare_.end(); ++it)
            if (Fits(*it, bytes) && (pick == spare_.end() || (it->white && !pick->white)))
                pick = it;
        if (pick == spare_.end())
            return {};
        const Block b = *pick;
        spare_.erase(pick);
        spareBytes_ -= b.capacity;
        return b;
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

    bool hasWhite(qsizetype bytes)
    {
        std::lock_guard lock(mutex_);
        return std::any_of(spare_.begin(), spare_.end(), [bytes](const Block& b) { return b.white && Fits(b, bytes); });
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
    block->white = false; // it held a page
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

QImage NewPageImage(QSize size, bool* white)
{
    if (white)
        *white = false;
    const qsizetype bytes = PooledBytes(size);
    if (bytes == 0)
        return QImage(size, QImage::Format_RGB32);
    Block block = ThePool().take(bytes);
    if (white)
        *white = block.white;
    if (!block.data) {
        block.data = std::malloc(size_t(bytes));
        block.capacity = bytes;
        if (!block.data)
            return QImage();
    }
    auto* info = new Block(block);
    QImage image(static_cast<uchar*>(block.data), size.width(), size.height(), qsizetype(size.width()) * 4,
                 QImage::Format_RGB32, &GiveBack, info);
    if (image.isNull())
        GiveBack(info);
    return image;
}

void PrepareSparePageImage(QSize size, const std::atomic<bool>& stop)
{
    const qsizetype bytes = PooledBytes(size);
    if (bytes == 0 || stop.load(std::memory_order_relaxed) || ThePool().hasWhite(bytes))
        return;
    // A page's let-go memory is whitened where it lies; fresh memory only
    // when there is none.
    Block block = ThePool().take(bytes);
    if (!block.data) {
        block.data = std::malloc(size_t(bytes));
        block.capacity = bytes;
        if (!block.data)
            return;
    }
    // Written in pieces, looking for a stop in between.
    constexpr qsizetype kChunk = 64 * 1024;
    auto* data = static_cast<char*>(block.data);
    for (qsizetype at = 0; at < block.capacity; at += kChunk) {
        if (stop.load(std::memory_order_relaxed)) {
            // Half white would pass for white.
            ThePool().give(block);
            return;
        }
        std::memset(data + at, 0xff, size_t(std::min(kChunk, block.capacity - at)));
    }
    block.white = true;
    ThePool().give(block);
}

int SparePageBuffers(qsizetype* bytes)
{
    return ThePool().count(bytes);
}

void DropSparePageBuffers()
{
    ThePool().drop();
}

} // namespace lexifol::djvu
