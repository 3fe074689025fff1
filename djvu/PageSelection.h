#pragma once
// What the mouse picks out of a page's text layer: the word under the
// pointer, ready to be looked up, and the words inside a rectangle.
#include "djvu/PageText.h"

#include <QPoint>

namespace lexifol {

// A word begins a line when it stands left of the one before, below it or
// above it.
bool StartsLine(const QRect& previous, const QRect& box);

// The word without what stands around it that is no letter or digit:
// "(see" gives "see", "colour." "colour".
QString WithoutPunctuation(const QString& word);

// The word whose box holds the point, else the nearest within half a line
// height; -1 when none is that close.
int WordIndexAt(const QList<PageWord>& words, QPoint pagePoint);

// The word at the point as a lookup wants it: punctuation around it
// dropped, a word hyphenated at the end of a line joined with its rest.
// Empty when no word is there.
QString WordAt(const QList<PageWord>& words, QPoint pagePoint);

// The words whose centres lie inside the rectangle, in the text layer's
// order (the reading order: a column before the next), a line of text per
// line of the page.
QString TextInRect(const QList<PageWord>& words, const QRect& pageRect);
QString PageTextOf(const QList<PageWord>& words);

} // namespace lexifol
