#pragma once
// The rules of the history and bookmark lists, without widgets: entries,
// the history's length, stepping back and forward with the states of the
// Back and Forward buttons, and deleting a bookmark.
#include <QString>
#include <QStringList>

namespace lexifol {

inline constexpr int kHistoryLimit = 21;

// "headword TAB dictionary".
QString MakeEntry(const QString& headword, const QString& dictionary);

// Appends the entry (once, when it repeats the newest), dropping the oldest
// past the limit. Returns the row to select: the newest.
int AppendHistory(QStringList& history, const QString& entry);

struct NavButtons {
    bool back = false;
    bool forward = false;
};
// Back and Forward for a list of `count` items with row `selected` (-1: none).
NavButtons ButtonsFor(int count, int selected);

struct HistoryStep {
    bool act = false;  // false: nothing changes, not even the buttons
    int select = -1;   // the row to select
    bool open = false; // open the entry at `select`
    NavButtons buttons;
};
HistoryStep StepBack(int count, int selected);
HistoryStep StepForward(int count, int selected);

// Deletes line `row`; returns the row to select afterwards: the same
// position, or -1 when the list is empty or the row was the last.
int DeleteEntry(QStringList& list, int row);

} // namespace lexifol
