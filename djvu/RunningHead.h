#pragma once
// The running head of a dictionary page: the line at the top that repeats
// the page's first and last headword (guide words) and its page number.
// The headword mark skips it; the page-index maker reads it.
#include "djvu/PageText.h"
#include "djvu/TextLayer.h"

namespace lexifol::djvu {

// Whether a word is a page number: arabic digits or a roman numeral,
// punctuation around it aside.
bool IsPageNumber(const QString& word);

// The lines of `layer` that form its running head: in the top band of the
// page, above every other line, of at most five words that are words or
// page numbers, with the body below. Usually one line, or none.
QList<int> RunningHeadLines(const TextLayer& layer);

// For each word of the layer, whether it stands in the running head.
QList<bool> RunningHeadWords(const TextLayer& layer);

} // namespace lexifol::djvu
