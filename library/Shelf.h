#pragma once
// The other checked dictionaries, opened for a look at the search text
// while the reader types: which of them have the word, and what. Opening
// may run on a worker thread; looking up runs on the caller's.
#include "library/ActiveDictionary.h"

#include <QString>

#include <map>
#include <memory>
#include <mutex>

namespace lexifol {

struct ShelfEntry {
    QString name;
    QString root; // the folder holding its Data folder
};

struct ShelfHit {
    enum class Kind { Exact, Nearest, Page, Nothing, Opening, Broken };
    QString name, title;
    Kind kind = Kind::Nothing;
    QString headword; // Exact, Nearest: the headword; Page: the page's first one
    QString page;
    QString why; // Broken: why it cannot be opened
};

class Shelf
{
public:
    // Its lists shared with `cache`, whose budget they count against.
    explicit Shelf(IndexCache& cache)
        : cache_(&cache)
    { }
    // A cache of its own.
    explicit Shelf(size_t budgetBytes = IndexCache::kDefaultBudget)
        : own_(std::make_unique<IndexCache>(budgetBytes))
        , cache_(own_.get())
    { }
    // Opens each entry not open yet (within the budget; the rest stay
    // closed). Safe on a worker thread.
    // The user's root, where a read-only dictionary's second index lies.
    QString userRoot;
    void open(const QList<ShelfEntry>& entries);
    // What each entry has for `text`, in the entries' order.
    QList<ShelfHit> lookUp(const QList<ShelfEntry>& entries, const QString& text) const;
    size_t heldBytes() const; // its dictionaries' lists

private:
    struct Opened {
        std::shared_ptr<const ActiveDictionary> dictionary;
        QString title, why;
    };
    std::unique_ptr<IndexCache> own_;
    IndexCache* cache_;
    mutable std::mutex mutex_;
    std::map<QString, Opened> opened_; // by root + name
    size_t held_ = 0;
};

// What one dictionary has for `text` (its own collation and rules).
ShelfHit LookUpIn(const ActiveDictionary& d, const QString& text);

} // namespace lexifol
