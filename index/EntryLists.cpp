#include "index/EntryLists.h"

namespace lexifol {

QString MakeEntry(const QString& headword, const QString& dictionary)
{
    return headword + u'\t' + dictionary;
}

int AppendHistory(QStringList& history, const QString& entry)
{
    // The same word of the same dictionary again: one entry, not a run of them.
    if (!history.isEmpty() && history.last() == entry)
        return int(history.size()) - 1;
    history.append(entry);
    while (history.size() > kHistoryLimit)
        history.removeFirst();
    return int(history.size()) - 1;
}

NavButtons ButtonsFor(int count, int selected)
{
    if (count <= 0 || selected < 0)
        return {};
    return {selected >= 1, selected + 1 < count};
}

HistoryStep StepBack(int count, int selected)
{
    HistoryStep s;
    if (count <= 0)
        return s;
    s.act = true;
    if (selected - 1 < 0) {
        // The first entry, or none: nothing to go back to.
        s.select = selected;
        s.buttons = {false, selected + 1 < count};
        return s;
    }
    s.select = selected - 1;
    s.open = true;
    s.buttons = ButtonsFor(count, s.select);
    return s;
}

HistoryStep StepForward(int count, int selected)
{
    HistoryStep s;
    if (count <= 0)
        return s;
    s.act = true;
    if (selected < 0)
        selected = count - 1;
    if (selected + 1 < count) {
        s.select = selected + 1;
        s.open = true;
        s.buttons = ButtonsFor(count, s.select);
        return s;
    }
    s.select = selected;
    s.buttons = {selected >= 1, false};
    return s;
}

int DeleteEntry(QStringList& list, int row)
{
    if (row < 0 || row >= list.size())
        return -1;
    list.removeAt(row);
    return row < list.size() ? row : -1;
}

} // namespace lexifol
