#include "djvu/PageText.h"

#include <algorithm>

namespace lexifol {

QRect FromDjvuBox(int x0, int y0, int x1, int y1, int pageHeight)
{
    if (x1 < x0)
        std::swap(x0, x1);
    if (y1 < y0)
        std::swap(y0, y1);
    return QRect(QPoint(x0, pageHeight - y1), QPoint(x1 - 1, pageHeight - y0 - 1));
}

} // namespace lexifol

namespace lexifol {

QRect RotateBox(const QRect& box, QSize unrotated, int quarterTurns)
{
    const int w0 = unrotated.width();
    const int h0 = unrotated.height();
    // Work on edges (exclusive right and bottom) so that boxes map exactly.
    const int l = box.left(), t = box.top(), r = box.right() + 1, b = box.bottom() + 1;
    switch (((quarterTurns % 4) + 4) % 4) {
    case 1:
        return QRect(QPoint(t, w0 - r), QPoint(b - 1, w0 - l - 1));
    case 2:
        return QRect(QPoint(w0 - r, h0 - b), QPoint(w0 - l - 1, h0 - t - 1));
    case 3:
        return QRect(QPoint(h0 - b, l), QPoint(h0 - t - 1, r - 1));
    default:
        return box;
    }
}

} // namespace lexifol
