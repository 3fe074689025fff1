#pragma once
// The running head of a dictionary page: the line at the top (or the foot)
// that repeats the page's first and last headword (guide words) and its
// page number, set apart from the body by more than the body's line
// spacing. The headword mark skips it; the page-index maker reads it.
#include "djvu/PageText.h"
#include "djvu/TextLayer.h"

#include <QStringList>

namespace lexifol::djvu {

// Whether a word is a page number: arabic digits or a roman numeral,
// punctuation around it aside.
bool IsPageNumber(const QString& word);

// Whether a token is OCR's noise rather than a word: punctuation alone, a
// speck read as a mark ("‘", "_", "°").
bool IsSpeck(const QString& token);

// The middle value (the upper one of an even count); 0 for none.
int Median(QList<int> values);

// The median height of the layer's lines and the median distance from a
// line's top to the next line's top in its column: the page's own measures.
struct LineMetrics {
    int height = 0;
    int pitch = 0;
};
LineMetrics MeasureLines(const TextLayer& layer);

// The lines of `layer` that form its running head: the top line(s), set
// apart from the body below by a gap larger than the body's line spacing,
// of a few words that are words or page numbers. Usually one line, or none.
QList<int> RunningHeadLines(const TextLayer& layer);
// The same at the foot of the page.
QList<int> FootLines(const TextLayer& layer);

// Lines of dirt on the scan: specks and a letter or two, no word of three
// letters. Neither head nor body.
QList<int> NoiseLines(const TextLayer& layer);

// For each word of the layer, whether it stands in the running head or foot.
QList<bool> RunningHeadWords(const TextLayer& layer);
// For each word of the layer, whether it is the first word of an article.
QList<bool> ArticleStartWords(const TextLayer& layer);

// The guide words of head lines, left to right: each the text between the
// page number, a dash or colon, a wide gap, and the edge. Several words
// stay together ("black and white").
QStringList GuideWords(const TextLayer& layer, const QList<int>& lines);

} // namespace lexifol::djvu
