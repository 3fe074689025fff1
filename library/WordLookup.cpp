#include "library/WordLookup.h"

#include "index/Lookup.h"

namespace lexifol {

int TypedRow(const ActiveDictionary& d, const QString& text)
{
    if (text.isEmpty())
        return -1;
    return SearchRow(d.indexes(), text);
}

QString RowWord(const IndexList& list, int row)
{
    const QStringView h = list.headword(row);
    return h.isEmpty() ? QStringLiteral("error") : h.toString();
}

namespace {

// A page index names pages, not words: the word looked up is the one
// typed, as long as the row is where it lands.
QString TypedWordFor(const ActiveDictionary& d, int row, const QString& typed)
{
    if (d.pageIndex && !typed.isEmpty() && SearchRow(d.indexes(), typed) == row)
        return typed;
    return QString();
}

} // namespace

QString MarkWord(const ActiveDictionary& d, int row, const QString& typed)
{
    const QString word = TypedWordFor(d, row, typed);
    return word.isEmpty() ? d.first.headword(row).toString() : word;
}

QString EntryWord(const ActiveDictionary& d, int row, const QString& typed)
{
    const QString word = TypedWordFor(d, row, typed);
    return word.isEmpty() ? RowWord(d.first, row) : word;
}

namespace {

// Homographs: the index's second "bank" on a page is the page's second.
int OccurrenceOnPage(const IndexList& first, int row, const QString& page)
{
    int n = 0;
    for (int r = row - 1; r >= 0 && first.headword(r) == first.headword(row) && EntryPage(first, r) == page; --r)
        ++n;
    return n;
}

} // namespace

std::optional<Hit> EntryHit(const ActiveDictionary& d, int row, const QString& typed)
{
    if (row < 0 || row >= d.first.count())
        return std::nullopt;
    const std::optional<int> target = FollowCrossReference(d.indexes(), row);
    if (!target)
        return std::nullopt;
    const std::optional<QString> page = EntryPage(d.first, *target);
    Hit hit;
    hit.row = *target;
    hit.noPage = !page;
    hit.page = page.value_or(QString());
    const QString typedHere = TypedWordFor(d, hit.row, typed);
    hit.entryWord = typedHere.isEmpty() ? RowWord(d.first, hit.row) : typedHere;
    hit.mark = typedHere.isEmpty() ? d.first.headword(hit.row).toString() : typedHere;
    hit.markOccurrence = typedHere.isEmpty() && page ? OccurrenceOnPage(d.first, hit.row, *page) : 0;
    return hit;
}

std::optional<Hit> HeadwordHit(const ActiveDictionary& d, const QString& headword)
{
    const std::optional<int> row = FindExactRow(d.indexes(), headword);
    if (!row)
        return std::nullopt;
    const std::optional<QString> page = EntryPage(d.first, *row);
    if (!page || page->isEmpty())
        return std::nullopt;
    Hit hit;
    hit.row = *row;
    hit.page = *page;
    hit.mark = d.pageIndex ? headword : d.first.headword(*row).toString();
    hit.entryWord = hit.mark;
    return hit;
}

std::optional<Hit> LookUp(const ActiveDictionary& d, const QString& text)
{
    std::optional<Hit> hit = EntryHit(d, TypedRow(d, text), text);
    if (hit && hit->noPage)
        return std::nullopt;
    return hit;
}

} // namespace lexifol
