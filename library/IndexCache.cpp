#include "library/IndexCache.h"

#include <QtConcurrent/QtConcurrentRun>

#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

namespace lexifol {

FileStamp FileStamp::Of(const QString& path)
{
#ifdef Q_OS_UNIX
    struct stat st;
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return {};
    return {qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec, quint64(st.st_ino), qint64(st.st_size)};
#else
    const QFileInfo info(path);
    if (!info.exists())
        return {};
    return {info.lastModified().toMSecsSinceEpoch() * 1000000, 0, info.size()};
#endif
}

void IndexCache::setBudget(size_t bytes)
{
    std::lock_guard lock(mutex_);
    budget_ = bytes;
    trim();
}

size_t IndexCache::budget() const
{
    std::lock_guard lock(mutex_);
    return budget_;
}

size_t IndexCache::heldBytes() const
{
    std::lock_guard lock(mutex_);
    return held_;
}

void IndexCache::prefetch(const QString& path, std::function<bool(const QString&, IndexList&)> read)
{
    const FileStamp stamp = FileStamp::Of(path);
    if (path.isEmpty() || stamp.size < 0)
        return;
    auto list = std::make_shared<IndexList>();
    std::lock_guard lock(mutex_);
    pending_.push_back(
        {path, stamp, list, QtConcurrent::run([path, list, read = std::move(read)] { return read(path, *list); })});
}

// The wait for a read ahead is made without the lock: the other
// dictionaries' opening goes on meanwhile.
void IndexCache::settle(const QString& path)
{
    std::list<Pending> done;
    {
        std::lock_guard lock(mutex_);
        for (auto it = pending_.begin(); it != pending_.end();) {
            auto next = std::next(it);
            if (it->path == path)
                done.splice(done.end(), pending_, it);
            it = next;
        }
    }
    for (Pending& p : done)
        if (p.read.result()) {
            std::lock_guard lock(mutex_);
            keep(p.path, p.stamp, *p.list);
        }
}

bool IndexCache::share(const QString& path, const FileStamp& now, IndexList& out)
{
    settle(path);
    std::lock_guard lock(mutex_);
    for (auto it = entries_.begin(); it != entries_.end(); ++it) {
        if (it->path != path)
            continue;
        if (it->stamp != now || now.size < 0) {
            held_ -= it->bytes;
            entries_.erase(it);
            return false;
        }
        out = it->list;
        entries_.splice(entries_.begin(), entries_, it);
        return true;
    }
    return false;
}

void IndexCache::put(const QString& path, const FileStamp& stamp, const IndexList& list)
{
    std::lock_guard lock(mutex_);
    keep(path, stamp, list);
}

void IndexCache::keep(const QString& path, const FileStamp& stamp, const IndexList& list)
{
    if (path.isEmpty() || stamp.size < 0 || list.isEmpty())
        return;
    for (auto it = entries_.begin(); it != entries_.end(); ++it) {
        if (it->path == path) { // an older copy of the same file goes
            held_ -= it->bytes;
            entries_.erase(it);
            break;
        }
    }
    Entry e;
    e.path = path;
    e.stamp = stamp;
    e.list = list;
    e.bytes = e.list.memoryBytes();
    if (e.bytes > budget_)
        return;
    held_ += e.bytes;
    entries_.push_front(std::move(e));
    trim();
}

bool IndexCache::fits()
{
    std::lock_guard lock(mutex_);
    trim();
    return held_ <= budget_;
}

// A list in use stays: dropping it would free nothing.
void IndexCache::trim()
{
    for (auto it = entries_.end(); held_ > budget_ && it != entries_.begin();) {
        --it;
        if (it->list.isShared())
            continue;
        held_ -= it->bytes;
        it = entries_.erase(it);
    }
}

void IndexCache::clear()
{
    std::list<Pending> pending;
    {
        std::lock_guard lock(mutex_);
        pending.swap(pending_);
        entries_.clear();
        held_ = 0;
    }
    for (Pending& p : pending)
        p.read.waitForFinished();
}

} // namespace lexifol
