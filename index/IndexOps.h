#pragma once
#include "index/Collation.h"
#include "index/IndexList.h"
#include "index/Replacement.h"
#include "base/Status.h"
#include <QStringList>

namespace lexifol {

// Bisection over whole lines: the first line that does not sort before the
// key, except that an equal line ends the search where the bisection meets it.
int FindPosition(const IndexList& list, QStringView key, const IndexCollation& collation = IndexCollation::Default());

// Parts of an entry value: blanks and ">" separate, double quotes group
// (doubled quote inside = one quote), a trailing ">" gives an empty part.
QStringList SplitValue(QStringView value);

// Applies the replacement rules to each UTF-16 unit of the text once.
QString NormaliseHeadword(QStringView text, const ReplacementList& rules);
// The same, appended to `out` (no string of its own for each headword).
void AppendNormalised(QStringView text, const ReplacementList& rules, QString& out);

// Replaces `list` with the file's lines. On an open or read error fails and
// leaves `list` unchanged.
Status LoadFirstIndex(const QString& path, IndexList& list);
// Empties `second`; loads it when the file exists. A count different from
// `first` empties it again and fails with "Second index isn't equal to first
// (number of items)"; a file that cannot be read leaves it empty silently.
Status LoadSecondIndex(const QString& path, IndexList& second, const IndexList& first);
// The two halves of that: the file read into `second`, false (and `second`
// empty) when it is absent or unreadable; then its count held against
// `first`.
bool ReadSecondIndex(const QString& path, IndexList& second);
Status MatchSecondIndex(IndexList& second, const IndexList& first);
// Empties `rules`; loads the file when it exists; errors leave it empty.
void LoadReplacementList(const QString& path, ReplacementList& rules);

} // namespace lexifol
