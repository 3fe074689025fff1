#pragma once
// The text layer of a page as a list of words with their boxes, and the
// case-insensitive search that the Find dialog runs over it.
#include <QList>
#include <QRect>
#include <QString>

namespace lexifol {

struct PageWord {
    QString text;
    QRect box; // page pixels, origin at the top left
};

// DjVu text coordinates have their origin at the bottom left of a page of
// height `pageHeight`.
QRect FromDjvuBox(int x0, int y0, int x1, int y1, int pageHeight);

} // namespace lexifol

namespace lexifol {

// A box in the unrotated page (`unrotated` its size, top-left origin) as it
// lies on the page turned `quarterTurns` times counter-clockwise, the way
// DjVu orientation flags turn it for display.
QRect RotateBox(const QRect& box, QSize unrotated, int quarterTurns);

} // namespace lexifol
