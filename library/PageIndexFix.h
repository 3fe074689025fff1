#pragma once
// Correcting a page index on the page: the line of one page rewritten to
// the word the page begins with, the order kept, the second index made
// again when the dictionary has rules, and the page struck off the review
// file made with the index.
#include "index/Collation.h"
#include "base/Status.h"
#include "library/Dictionary.h"

namespace lexifol {

// The review file of a page index made from the text layer.
QString ReviewFilePath(const DictionaryPaths& paths);
// Its first page in doubt (counted from 1), or 0 when none is left.
int NextPageInDoubt(const DictionaryPaths& paths);
// How many pages are left in doubt, and the first after page `after`
// (counted from 1), from the front again past the last; 0 when none.
struct PagesInDoubt {
    int count = 0;
    int next = 0;
};
PagesInDoubt PagesInDoubtAfter(const DictionaryPaths& paths, int after);

// Page `page` (counted from 1) begins with `word`: its line says so, or a
// line is put in for it among the pages. Refused, with why, when the word
// would break the order of the index; nothing is written then.
Status SetPageFirstWord(const DictionaryPaths& paths, int page, const QString& word, const IndexCollation& collation);

} // namespace lexifol
