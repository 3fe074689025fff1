#pragma once
// The history of shown entries as a model: its lines and the position the
// reader stands on, a number kept here rather than a list's selection.
#include "index/EntryLists.h"
#include <QStringList>

namespace lexifol {

class History
{
public:
    const QStringList& entries() const { return entries_; }
    int size() const { return int(entries_.size()); }
    int position() const { return position_; } // -1: none
    // The reader picked a row in the list.
    void setPosition(int row) { position_ = row >= 0 && row < size() ? row : -1; }

    // Appends an entry ("headword TAB dictionary"), dropping the oldest past
    // the limit; the position moves to it.
    void add(const QString& entry);
    // Back and Forward: what to select and whether to open it. The position
    // follows when the step acts.
    HistoryStep back();
    HistoryStep forward();
    NavButtons buttons() const { return ButtonsFor(size(), position_); }
    void clear();

private:
    HistoryStep apply(HistoryStep step);

    QStringList entries_;
    int position_ = -1;
};

} // namespace lexifol
