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
    budget_ = bytes;
    trim();
}

void IndexCache::prefetch(const QString& path, std::function<bool(const QString&, IndexList&)> read)
{
    const FileStamp stamp = FileStamp::Of(path);
    if (path.isEmpty() || stamp.size < 0)
        return;
    auto list = std::make_shared<IndexList>();
    pending_.push_back(
        {path, stamp, list, QtConcurrent::run([path, list, read = std::move(read)] { return read(path, *list); })});
}

void IndexCache::settle(const QString& path)
{
    for (auto it = pending_.begin(); it != pending_.end();) {
        if (it->path != path) {
            ++it;
            continue;
        }
        Pending done = std::move(*it);
        it = pending_.erase(it);
        if (done.read.result())
            put(done.path, done.stamp, std::move(*done.list));
    }
}

bool IndexCache::take(const QString& path, const FileStamp& now, IndexList& out)
{
    settle(path);
    for (auto it = entries_.begin(); it != entries_.end(); ++it) {
        if (it->path != path)
            continue;
        const bool fresh = it->stamp == now && now.size >= 0;
        if (fresh)
            out.swap(it->list);
        held_ -= it->bytes;
        entries_.erase(it);
        return fresh;
    }
    return false;
}

void IndexCache::put(const QString& path, const FileStamp& stamp, IndexList&& list)
{
    if (path.isEmpty() || stamp.size < 0 || list.isEmpty())
        return;
    IndexList dropped;
    take(path, FileStamp(), dropped); // an older copy of the same file goes
    Entry e;
    e.path = path;
    e.stamp = stamp;
    e.list.swap(list);
    e.bytes = e.list.memoryBytes();
    if (e.bytes > budget_)
        return;
    held_ += e.bytes;
    entries_.push_front(std::move(e));
    trim();
}

void IndexCache::trim()
{
    while (held_ > budget_ && !entries_.empty()) {
        held_ -= entries_.back().bytes;
        entries_.pop_back();
    }
}

void IndexCache::clear()
{
    for (Pending& p : pending_)
        p.read.waitForFinished();
    pending_.clear();
    entries_.clear();
    held_ = 0;
}

} // namespace lexifol
