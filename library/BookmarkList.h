#pragma once
// The bookmarks as a model, kept in their file: every change is saved at
// once through the one writer. A file that could not be read is set aside
// before it is first written over; a file changed by someone else since it
// was read (a second viewer, a synced folder) is merged, never dropped.
#include "base/Status.h"
#include <QDateTime>
#include <QStringList>

namespace lexifol {

class Bookmarks
{
public:
    // Reads the file; a missing one is an empty list.
    void load(const QString& path);
    const QString& path() const { return path_; }
    const QStringList& entries() const { return entries_; }
    int size() const { return int(entries_.size()); }
    bool isEmpty() const { return entries_.isEmpty(); }

    // Each change saves; the result says whether the file was written. The
    // list changes either way: a failed save is tried again with the next.
    Status add(const QString& entry);
    // Removes a line; `next` gets the row to select afterwards (-1: none).
    Status remove(int row, int* next);
    Status clear();
    // Puts back lines taken by clear() (Undo).
    Status restore(const QStringList& entries);
    // Writes the file, unless nothing changed since it was last written.
    Status save();

private:
    Status write();
    QStringList mergedWithFile() const;
    void noteFileState();

    QString path_;
    QStringList entries_;
    QStringList lastWritten_; // the lines the file holds as far as we know
    bool unusable_ = false;   // the file could not be read: set it aside first
    bool dirty_ = false;
    QDateTime stampTime_;
    qint64 stampSize_ = -1;
};

} // namespace lexifol
