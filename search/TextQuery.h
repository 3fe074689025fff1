#pragma once
// What a reader types into the text search, as the full-text index takes
// it: words that must all occur, "a quoted phrase", a prefix*. Every term is
// folded as the stored text is (the dictionary's replacement rules; the
// index itself folds letter case and accents), and quoted, so that no
// character typed is ever read as the index's own syntax.
#include "index/Replacement.h"
#include "index/TextMatch.h"
#include <QString>
#include <QStringList>

namespace lexifol::search {

// A query is cut at this many words and characters: a page pasted into
// the field would hold the index's search for minutes.
inline constexpr int kMostQueryWords = 12;
inline constexpr int kMostQueryChars = 256;

struct TextQuery {
    QString match;          // the index's MATCH expression; empty: nothing to search
    QList<MatchWord> words; // the words as the page's matcher finds them
    bool cut = false;       // what was typed went past the bounds above
};

TextQuery ParseQuery(const QString& typed, const ReplacementList& rules);

// The text as stored: the rules applied.
QString FoldForIndex(QStringView text, const ReplacementList& rules);

} // namespace lexifol::search
