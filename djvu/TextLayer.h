#pragma once
// A page's text layer as lines of words with their boxes, in the order the
// layer gives them, which is reading order for what OCR writes.
#include "djvu/PageText.h"
#include <QList>
#include <QSize>

namespace lexifol::djvu {

struct TextLine {
    QRect box;
    int first = 0; // index of its first word
    int count = 0;
};

struct TextLayer {
    bool present = false;  // false: the page has no text layer
    QSize pageSize;        // displayed page pixels (orientation applied)
    QList<PageWord> words; // boxes in displayed page pixels
    QList<TextLine> lines;

    QString lineText(int line) const; // its words with one blank between
};

} // namespace lexifol::djvu
