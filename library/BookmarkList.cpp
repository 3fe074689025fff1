#include "library/BookmarkList.h"

#include "index/Bookmarks.h"
#include "index/EntryLists.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace lexifol {

namespace {

// `from` less one occurrence of each line of `take`.
QStringList Without(QStringList from, const QStringList& take)
{
    for (const QString& line : take)
        from.removeOne(line);
    return from;
}

} // namespace

void Bookmarks::load(const QString& path)
{
    path_ = path;
    entries_.clear();
    lastWritten_.clear();
    unusable_ = false;
    dirty_ = false;
    if (!QFileInfo::exists(path))
        return;
    const Result<QStringList> loaded = LoadBookmarks(path);
    unusable_ = !loaded;
    if (loaded)
        entries_ = lastWritten_ = loaded.value();
}

// Our changes since we last wrote, made to what the file holds now: what
// another writer added or removed meanwhile stays added or removed.
QStringList Bookmarks::mergedWithFile() const
{
    if (unusable_ || !QFileInfo::exists(path_))
        return entries_;
    const Result<QStringList> theirs = LoadBookmarks(path_);
    if (!theirs || theirs.value() == lastWritten_)
        return entries_;
    const QStringList added = Without(entries_, lastWritten_);
    const QStringList removed = Without(lastWritten_, entries_);
    return Without(theirs.value(), removed) + added;
}

Status Bookmarks::write()
{
    dirty_ = true;
    // A file that could not be read is kept beside the new one: the
    // user's bookmarks are never overwritten unseen.
    if (unusable_) {
        if (!SetUnusableFileAside(path_))
            return Status::failure(QCoreApplication::translate("lexifol", "the unreadable file could not be renamed"));
        unusable_ = false;
        lastWritten_.clear();
    }
    entries_ = mergedWithFile();
    const Status saved = SaveBookmarks(path_, entries_);
    if (saved) {
        lastWritten_ = entries_;
        dirty_ = false;
    }
    return saved;
}

Status Bookmarks::add(const QString& entry)
{
    entries_.append(entry);
    return write();
}

Status Bookmarks::remove(int row, int* next)
{
    const int after = DeleteEntry(entries_, row);
    if (next)
        *next = after;
    return write();
}

Status Bookmarks::clear()
{
    entries_.clear();
    return write();
}

Status Bookmarks::restore(const QStringList& entries)
{
    entries_ = entries + entries_;
    return write();
}

Status Bookmarks::save()
{
    if (!dirty_)
        return {};
    return write();
}

} // namespace lexifol
