#pragma once
// Index lists of dictionaries opened a moment ago, kept within a memory
// budget, so that going back to one is instant. A list is handed out only
// while its file is unchanged since it was read.
#include "index/IndexList.h"

#include <QString>

#include <list>

namespace lexifol {

// A file as it is now: a file replaced through a rename is a new file even
// when its size and time look the same.
struct FileStamp {
    qint64 modifiedNs = 0;
    quint64 inode = 0;
    qint64 size = -1;
    bool operator==(const FileStamp&) const = default;
    static FileStamp Of(const QString& path);   // size -1 for a missing file
};

class IndexCache {
public:
    static constexpr size_t kDefaultBudget = size_t(512) << 20;
    explicit IndexCache(size_t budgetBytes = kDefaultBudget) : budget_(budgetBytes) {}
    void setBudget(size_t bytes);
    size_t budget() const { return budget_; }
    size_t heldBytes() const { return held_; }

    // Moves the list kept for `path` into `out` when the file's stamp is
    // still `now`; false (and `out` untouched) otherwise.
    bool take(const QString& path, const FileStamp& now, IndexList& out);
    // Keeps `list`, read from `path` when it had `stamp`. The oldest lists
    // go when the budget is passed; a list larger than it is not kept.
    void put(const QString& path, const FileStamp& stamp, IndexList&& list);
    void clear();

private:
    struct Entry {
        QString path;
        FileStamp stamp;
        IndexList list;
        size_t bytes = 0;
    };
    void trim();

    std::list<Entry> entries_;   // most recent first
    size_t budget_;
    size_t held_ = 0;
};

} // namespace lexifol
