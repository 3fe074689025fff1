#pragma once
// The one lookup: a text, or a row, in an open dictionary, and what showing
// it means: the entry, the cross-reference followed, the page, the word to
// mark there and the word history and bookmarks keep. Typing, Enter,
// history, bookmarks, a printed word, shortcuts and dictionary steps all
// come through here.
#include "library/ActiveDictionary.h"
#include <QString>
#include <optional>

namespace lexifol {

struct Hit {
    int row = -1;           // the entry whose page is shown (cross-reference followed)
    QString page;           // its page reference
    QString mark;           // the word to mark on the page
    QString entryWord;      // the word history and bookmarks keep
    int markOccurrence = 0; // entries of the same headword before it on its page
    bool noPage = false;    // the entry holds no page reference
};

// The row a typed text selects; -1 for none (empty text, rules delete it);
// count() when it sorts after every entry.
int TypedRow(const ActiveDictionary& d, const QString& text);

// What Enter on `row` shows; `typed` the search box's text (a page index
// keeps and marks the typed word while it lands on that row). Nothing when
// the cross-reference leads nowhere; `noPage` when the entry it leads to
// holds no page.
std::optional<Hit> EntryHit(const ActiveDictionary& d, int row, const QString& typed);

// A history or bookmark line's headword: the entry that holds exactly it.
std::optional<Hit> HeadwordHit(const ActiveDictionary& d, const QString& headword);

// Typing the text and pressing Enter, in one.
std::optional<Hit> LookUp(const ActiveDictionary& d, const QString& text);

// The word the index list shows for a row: the headword, or "Error" for a
// line without one.
QString RowWord(const IndexList& list, int row);

// The word marked on the page of a row: the typed word in a page index
// while it lands there, else the headword.
QString MarkWord(const ActiveDictionary& d, int row, const QString& typed);

// The word kept for a row: the typed word in a page index while it lands
// there, else the row's word.
QString EntryWord(const ActiveDictionary& d, int row, const QString& typed);

} // namespace lexifol
