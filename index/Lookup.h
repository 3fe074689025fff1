#pragma once
// The headword lookup without widgets: where a typed text lands, which entry
// a cross-reference leads to, and the page an entry shows.
#include "index/Collation.h"
#include "index/IndexList.h"
#include "index/Replacement.h"
#include <QString>
#include <optional>

namespace lexifol {

struct LookupIndexes {
    const IndexList& first;
    const IndexList& second; // empty, or exactly as long as `first`
    const ReplacementList& rules;
    const IndexCollation& collation = IndexCollation::Default();
    // One entry per page, holding the page's first headword: a text lands
    // on the page it would stand on.
    bool pageIndex = false;
};

// The row a typed text lands on, through the second index when there is
// one; count() when it sorts after every line; -1 when the rules delete the
// whole text. For a page index: the last entry at or before the text (the
// first of equal ones), the first entry for a text before every entry.
int SearchRow(const LookupIndexes& ix, QStringView text);

// The row whose page an entry shows: the entry itself, or the row its
// cross-reference lands on, found like a typed word and followed once.
// Nothing when the rules delete the cross-reference.
std::optional<int> FollowCrossReference(const LookupIndexes& ix, int row);

// The page reference of an entry (the first part of its value); nothing for
// a row outside the list or a value without parts.
std::optional<QString> EntryPage(const IndexList& first, int row);

// The row that holds exactly `headword` (ordinal comparison), through the
// second index when there is one; nothing when no entry has it. A page index
// has no entry per word: the row the text lands on.
std::optional<int> FindExactRow(const LookupIndexes& ix, QStringView headword);

// Ctrl+Page Up and Ctrl+Page Down: the nearest row before (or after) the
// selected one whose page reference differs, compared exactly.
struct PageStep {
    int row = -1; // -1: nothing changes
    QString page;
    bool failed = false; // met an entry without any part
};
PageStep StepPage(const IndexList& first, int selected, bool forward);

} // namespace lexifol
