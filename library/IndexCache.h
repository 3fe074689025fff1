#pragma once
// Index lists of dictionaries opened a moment ago, kept within a memory
// budget, so that going back to one is instant. A list is handed out only
// while its file is unchanged since it was read.
#include "index/IndexList.h"

#include <QString>

#include <functional>
#include <QFuture>
#include <list>
#include <memory>
#include <mutex>

namespace lexifol {

// A file as it is now: a file replaced through a rename is a new file even
// when its size and time look the same.
struct FileStamp {
    qint64 modifiedNs = 0;
    quint64 inode = 0;
    qint64 size = -1;
    bool operator==(const FileStamp&) const = default;
    static FileStamp Of(const QString& path); // size -1 for a missing file
};

class IndexCache
{
public:
    static constexpr size_t kDefaultBudget = size_t(512) << 20;
    explicit IndexCache(size_t budgetBytes = kDefaultBudget)
        : budget_(budgetBytes)
    { }
    void setBudget(size_t bytes);
    size_t budget() const;
    // Every list kept, those in use included: the memory the indexes take.
    size_t heldBytes() const;

    // Shares the list kept for `path` into `out` when the file's stamp is
    // still `now`; false (and `out` untouched) otherwise.
    bool share(const QString& path, const FileStamp& now, IndexList& out);
    // Keeps a share of `list`, read from `path` when it had `stamp`. The
    // oldest lists nobody else holds go when the budget is passed; a list
    // larger than the budget is not kept.
    void put(const QString& path, const FileStamp& stamp, const IndexList& list);
    // Within the budget, once the lists nobody else holds have gone.
    bool fits();
    // Reads `path` with `read` on a thread of its own, to be shared as if it
    // had been put: start-up reads the index while the window is built. A
    // share of that path waits for it.
    void prefetch(const QString& path, std::function<bool(const QString&, IndexList&)> read);
    void clear();

private:
    struct Entry {
        QString path;
        FileStamp stamp;
        IndexList list;
        size_t bytes = 0;
    };
    void settle(const QString& path); // a prefetch of `path` becomes an entry
    // Callers hold the lock.
    void trim();
    void keep(const QString& path, const FileStamp& stamp, const IndexList& list);

    struct Pending {
        QString path;
        FileStamp stamp;
        std::shared_ptr<IndexList> list;
        QFuture<bool> read;
    };
    // The other dictionaries are opened on a worker thread.
    mutable std::mutex mutex_;
    std::list<Pending> pending_;

    std::list<Entry> entries_; // most recent first
    size_t budget_;
    size_t held_ = 0;
};

} // namespace lexifol
