#pragma once
// Where the articles of a dictionary page begin: the body's lines grouped
// into columns, and in each column the lines that start at the column's
// own edge rather than at its indent. The indent is measured on the page
// (two clusters of where lines start), not assumed.
#include "djvu/TextLayer.h"

#include <QStringView>
#include <functional>

namespace lexifol::djvu {

struct ArticleStart {
    int line = 0;         // index into layer.lines
    int word = 0;         // its first word that is not a speck
    int column = 0;       // counted from the left
    QString headword;     // the words up to the first comma, punctuation off
    bool misread = false; // a digit among its letters: OCR's misreading, or a formula
};

// Orders words as the index does; used to tell which cluster of lines
// begins articles when the indent runs the other way (first line indented).
using WordOrder = std::function<int(QStringView, QStringView)>;

// The article starts of the body (the lines not in `skip`), in reading
// order: columns left to right, each top to bottom.
QList<ArticleStart> ArticleStarts(const TextLayer& layer, const QList<int>& skip, const WordOrder& order);

// A word that can begin an entry: letters, not a page number, a roman
// numeral, a lone section letter or a piece of a hyphenated word.
bool CanBeHeadword(const QString& token);

} // namespace lexifol::djvu
