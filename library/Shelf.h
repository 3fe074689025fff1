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
    explicit Shelf(size_t budgetBytes = size_t(512) << 20)
        : budget_(budgetBytes)
    { }
    // Opens each entry not open yet (within the budget; the rest stay
    // closed). Safe on a worker thread.
    // The user's root, where a read-only dictionary's second index lies.
    QString userRoot;
    void open(const QList<ShelfEntry>& entries);
    // What each entry has for `text`, in the entries' order.
    QList<ShelfHit> lookUp(const QList<ShelfEntry>& entries, const QString& text) const;
    size_t heldBytes() const;

private:
    struct Opened {
        std::shared_ptr<const ActiveDictionary> dictionary;
        QString title, why;
    };
    size_t budget_;
    mutable std::mutex mutex_;
    std::map<QString, Opened> opened_; // by root + name
    size_t held_ = 0;
};

// What one dictionary has for `text` (its own collation and rules).
ShelfHit LookUpIn(const ActiveDictionary& d, const QString& text);

} // namespace lexifol
