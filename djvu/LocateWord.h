#pragma once
// Where a headword stands on a page's text layer.
#include "djvu/PageText.h"
#include "index/TextMatch.h"
#include <optional>

namespace lexifol {

// The box of the headword's occurrence: one that begins a text line is
// preferred, then the first in the layer's order. Letter case is ignored;
// when nothing matches so, accents, stress marks and punctuation at the word
// edges are ignored too. A headword of several words matches consecutive
// words (also across a line break); a word hyphenated at a line end counts
// as one word.
// A word flagged in `articleStart` (it begins an article) is taken before
// any other, in every way of matching: a dictionary page repeats its
// headwords inside other articles. Words flagged in `head` (the running
// head) are matched only when the body holds the headword nowhere; a word
// with something printed onto it ("SAVEPOINT(7)") matches after every
// plainer way. Accents and the dictionary's rules are folded by `matcher`,
// as Find and the text search fold them. `occurrence`: the index's how
// many-th entry of that headword on the page this is, counted from 0: the
// same-numbered article of that headword is taken (homographs).
std::optional<QRect> LocateHeadword(const QList<PageWord>& words, const QString& headword, const QList<bool>& head = {},
                                    const QList<bool>& articleStart = {}, const TextMatcher& matcher = TextMatcher(),
                                    int occurrence = 0);

} // namespace lexifol
