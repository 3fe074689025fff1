#include "djvu/PageSelection.h"

#include <limits>

namespace lexifol {

bool StartsLine(const QRect& previous, const QRect& box)
{
    // Above it: the top of the next column.
    return box.left() < previous.left() || box.top() > previous.center().y() || box.bottom() < previous.center().y();
}

int WordIndexAt(const QList<PageWord>& words, QPoint p)
{
    int nearest = -1;
    qint64 best = std::numeric_limits<qint64>::max();
    for (int i = 0; i < words.size(); ++i) {
        const QRect& b = words[i].box;
        if (b.contains(p))
            return i;
        const qint64 dx = p.x() < b.left() ? b.left() - p.x() : p.x() > b.right() ? p.x() - b.right() : 0;
        const qint64 dy = p.y() < b.top() ? b.top() - p.y() : p.y() > b.bottom() ? p.y() - b.bottom() : 0;
        const qint64 reach = b.height() / 2;
        if (dx <= reach && dy <= reach && dx * dx + dy * dy < best) {
            best = dx * dx + dy * dy;
            nearest = i;
        }
    }
    return nearest;
}

QString WithoutPunctuation(const QString& word)
{
    qsizetype a = 0, b = word.size();
    while (a < b && !word[a].isLetterOrNumber())
        ++a;
    while (b > a && !word[b - 1].isLetterOrNumber())
        --b;
    return word.mid(a, b - a);
}

namespace {

// "dictio-" at the end of a line: the part before the hyphen, else empty.
QString HyphenHead(const QString& word)
{
    const QString t = word.trimmed();
    if (t.size() < 2 || !t.endsWith(u'-') || !t[t.size() - 2].isLetter())
        return QString();
    return t.chopped(1);
}

} // namespace

QString WordAt(const QList<PageWord>& words, QPoint pagePoint)
{
    const int i = WordIndexAt(words, pagePoint);
    if (i < 0)
        return QString();
    QString text = words[i].text;
    const bool nextOnNewLine = i + 1 < words.size() && StartsLine(words[i].box, words[i + 1].box);
    const bool onNewLine = i > 0 && StartsLine(words[i - 1].box, words[i].box);
    if (const QString head = HyphenHead(text); !head.isEmpty() && nextOnNewLine)
        text = head + words[i + 1].text;
    else if (const QString before = onNewLine ? HyphenHead(words[i - 1].text) : QString(); !before.isEmpty())
        text = before + text;
    return WithoutPunctuation(text);
}

QString TextInRect(const QList<PageWord>& words, const QRect& pageRect)
{
    QString out;
    bool any = false;
    bool newLine = false; // a line began since the last word taken
    for (int i = 0; i < words.size(); ++i) {
        newLine = newLine || (i > 0 && StartsLine(words[i - 1].box, words[i].box));
        if (!pageRect.contains(words[i].box.center()))
            continue;
        if (any)
            out += newLine ? u'\n' : u' ';
        out += words[i].text;
        any = true;
        newLine = false;
    }
    return out;
}

QString PageTextOf(const QList<PageWord>& words)
{
    QRect all;
    for (const PageWord& w : words)
        all |= w.box;
    return TextInRect(words, all);
}

} // namespace lexifol
