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

QList<QList<int>> FindInWords(const QList<PageWord>& words, const QString& query)
{
    QList<QList<int>> matches;
    const QString needle = query.simplified();
    if (needle.isEmpty() || words.isEmpty())
        return matches;

    QString text;
    QList<qsizetype> starts;
    starts.reserve(words.size());
    for (const PageWord& w : words) {
        if (!text.isEmpty())
            text += u' ';
        starts.append(text.size());
        text += w.text.simplified();
    }

    qsizetype from = 0;
    while (true) {
        const qsizetype at = text.indexOf(needle, from, Qt::CaseInsensitive);
        if (at < 0)
            break;
        const qsizetype end = at + needle.size();
        QList<int> hit;
        // The first word starting after the match's start, minus one, holds it.
        auto first = std::upper_bound(starts.begin(), starts.end(), at);
        for (qsizetype i = std::max<qsizetype>(0, (first - starts.begin()) - 1); i < starts.size(); ++i) {
            if (starts[i] >= end)
                break;
            const qsizetype wordEnd = starts[i] + words[i].text.simplified().size();
            if (wordEnd > at)
                hit.append(int(i));
        }
        if (!hit.isEmpty())
            matches.append(hit);
        from = end;
    }
    return matches;
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
