#include "djvu/RunningHead.h"

#include "djvu/ArticleStarts.h"
#include "djvu/PageSelection.h"

#include <QRegularExpression>
#include <algorithm>
#include <numeric>

namespace lexifol::djvu {

namespace {

// A head names two words and a number; a guide word may be a headword of
// several words ("Chancellor of the Duchy of Lancaster").
constexpr int kMostHeadWords = 12;
// A head stands in the top (or bottom) fifth of the page.
constexpr double kHeadBand = 0.2;

// OCR sets a speck inside a word as often as beside it ("WANTON—WAR",
// "A,UNIVERSITY"): letters with marks between them are words.
bool IsHeadToken(const QString& text)
{
    if (IsPageNumber(text))
        return true;
    return std::none_of(text.begin(), text.end(), [](QChar c) { return c.isDigit(); });
}

// A head's page number alone is taken for dirt too: a head is found by its
// guide words.
bool IsNoiseLine(const TextLayer& layer, int line)
{
    const TextLine& l = layer.lines[line];
    for (int w = l.first; w < l.first + l.count; ++w) {
        const QString t = WithoutPunctuation(layer.words[w].text);
        if (std::count_if(t.begin(), t.end(), [](QChar c) { return c.isLetter(); }) >= 3)
            return false;
    }
    return true;
}

bool Overlap(const QRect& a, const QRect& b)
{
    return std::min(a.right(), b.right()) > std::max(a.left(), b.left());
}

// The lines sharing the outermost line's height band, when a gap wider than
// the body's spacing sets them apart from the rest. `fromTop` picks the end.
QList<int> EdgeLines(const TextLayer& layer, bool fromTop)
{
    QList<int> group;
    const int n = int(layer.lines.size());
    if (!layer.present || n < 3 || layer.pageSize.height() <= 0)
        return group;
    const LineMetrics m = MeasureLines(layer);
    QList<int> order;
    for (int i = 0; i < n; ++i)
        if (!IsNoiseLine(layer, i))
            order << i;
    if (order.size() < 3)
        return group;
    std::sort(order.begin(), order.end(), [&](int a, int b) {
        return fromTop ? layer.lines[a].box.top() < layer.lines[b].box.top()
                       : layer.lines[a].box.bottom() > layer.lines[b].box.bottom();
    });
    const QRect outer = layer.lines[order.first()].box;
    const int half = std::max(1, m.height / 2);
    int words = 0;
    for (int i : order) {
        const QRect b = layer.lines[i].box;
        if (b.center().y() < outer.top() - half || b.center().y() > outer.bottom() + half)
            continue;
        group << i;
        for (int w = layer.lines[i].first; w < layer.lines[i].first + layer.lines[i].count; ++w) {
            if (IsSpeck(layer.words[w].text))
                continue;
            if (!IsHeadToken(layer.words[w].text))
                return {};
            ++words;
        }
    }
    if (group.size() * 2 >= order.size() || words == 0 || words > kMostHeadWords)
        return {};
    const int band = int(layer.pageSize.height() * kHeadBand);
    if (fromTop ? outer.top() > band : outer.bottom() < layer.pageSize.height() - band)
        return {};
    // The nearest line of the body and how far it stands.
    int gap = layer.pageSize.height();
    for (int i : order)
        if (!group.contains(i)) {
            const QRect b = layer.lines[i].box;
            gap = std::min(gap, fromTop ? b.top() - outer.top() : outer.bottom() - b.bottom());
        }
    return gap > m.pitch * 3 / 2 ? group : QList<int>{};
}

} // namespace

bool IsPageNumber(const QString& word)
{
    // Roman numerals as they are written: "civil" or "mild" is a word.
    static const QRegularExpression number(
        QStringLiteral("^(\\d{1,5}|m{0,3}(cm|cd|d?c{0,3})(xc|xl|l?x{0,3})(ix|iv|v?i{0,3})|M{0,3}(CM|CD|D?C{0,3})(XC|XL|"
                       "L?X{0,3})(IX|IV|V?I{0,3}))$"));
    const QString w = WithoutPunctuation(word);
    return !w.isEmpty() && number.match(w).hasMatch();
}

int Median(QList<int> values)
{
    if (values.isEmpty())
        return 0;
    std::nth_element(values.begin(), values.begin() + values.size() / 2, values.end());
    return values[values.size() / 2];
}

bool IsSpeck(const QString& token)
{
    const QString w = WithoutPunctuation(token);
    return w.isEmpty() || (w.size() == 1 && !w.front().isLetterOrNumber());
}

LineMetrics MeasureLines(const TextLayer& layer)
{
    QList<int> heights, pitches;
    QList<bool> noise;
    for (int i = 0; i < layer.lines.size(); ++i)
        noise << IsNoiseLine(layer, i);
    for (int i = 0; i < layer.lines.size(); ++i) {
        if (noise[i])
            continue;
        const QRect a = layer.lines[i].box;
        heights << a.height();
        int below = -1;
        for (int k = 0; k < layer.lines.size(); ++k) {
            const QRect b = layer.lines[k].box;
            if (k != i && b.top() > a.top() + a.height() / 2 && Overlap(a, b) && (below < 0 || b.top() < below)
                && !noise[k])
                below = b.top();
        }
        if (below >= 0)
            pitches << below - a.top();
    }
    LineMetrics m{Median(heights), Median(pitches)};
    if (m.pitch <= 0)
        m.pitch = m.height * 5 / 4;
    return m;
}

QList<int> RunningHeadLines(const TextLayer& layer)
{
    return EdgeLines(layer, true);
}

QList<int> FootLines(const TextLayer& layer)
{
    return EdgeLines(layer, false);
}

QList<int> NoiseLines(const TextLayer& layer)
{
    QList<int> out;
    for (int i = 0; i < layer.lines.size(); ++i)
        if (IsNoiseLine(layer, i))
            out << i;
    return out;
}

QList<bool> RunningHeadWords(const TextLayer& layer)
{
    QList<bool> flags(layer.words.size(), false);
    for (int i : RunningHeadLines(layer) + FootLines(layer)) {
        const TextLine& l = layer.lines[i];
        for (int w = l.first; w < l.first + l.count; ++w)
            flags[w] = true;
    }
    return flags;
}

QList<bool> ArticleStartWords(const TextLayer& layer)
{
    QList<bool> flags(layer.words.size(), false);
    // Letter case aside is order enough to tell which lines begin articles.
    const auto order = [](QStringView a, QStringView b) { return a.compare(b, Qt::CaseInsensitive); };
    const QList<int> skip = RunningHeadLines(layer) + FootLines(layer) + NoiseLines(layer);
    for (const ArticleStart& a : ArticleStarts(layer, skip, order))
        flags[a.word] = true;
    return flags;
}

namespace {

// A head word as OCR gives it, cut where a dash or a mark inside it parts
// two words: "WANTON—WAR", "A,UNIVERSITY".
struct HeadPiece {
    QString text;
    int left = 0, right = 0;
    bool endsGuide = false; // a dash or colon follows
};

QList<HeadPiece> Pieces(const PageWord& word)
{
    QList<HeadPiece> out;
    QString piece;
    const auto flush = [&](bool ends) {
        if (!piece.isEmpty())
            out.append({piece, word.box.left(), word.box.right(), ends});
        else if (ends && !out.isEmpty())
            out.last().endsGuide = true;
        else if (ends) // a dash standing alone still parts the guide words
            out.append({QString(), word.box.left(), word.box.right(), true});
        piece.clear();
    };
    for (QChar c : word.text) {
        if (c == u'\u2014' || c == u'\u2013' || c == u':')
            flush(true);
        else if (c.isLetterOrNumber() || c == u'-' || c == u'\'' || c == u'\u2019' || c == u'.'
                 || c.category() == QChar::Mark_NonSpacing)
            piece += c;
        else
            flush(false);
    }
    flush(false);
    return out;
}

// In a head set in capitals, a lowercase letter or two is a speck read.
bool CapitalsHead(const QList<HeadPiece>& pieces)
{
    int upper = 0, letters = 0;
    for (const HeadPiece& p : pieces)
        for (QChar c : p.text)
            letters += c.isLetter(), upper += c.isUpper();
    return letters > 0 && upper * 3 >= letters * 2;
}

} // namespace

QStringList GuideWords(const TextLayer& layer, const QList<int>& lines)
{
    QList<int> words;
    int height = 0;
    for (int i : lines) {
        for (int w = layer.lines[i].first; w < layer.lines[i].first + layer.lines[i].count; ++w)
            words << w;
        height = std::max(height, layer.lines[i].box.height());
    }
    std::sort(words.begin(), words.end(),
              [&](int a, int b) { return layer.words[a].box.left() < layer.words[b].box.left(); });
    QList<HeadPiece> pieces;
    for (int w : words)
        pieces += Pieces(layer.words[w]);
    const bool capitals = CapitalsHead(pieces);
    QStringList out;
    QString segment;
    int lastRight = -1;
    auto close = [&] {
        if (!segment.isEmpty())
            out << segment;
        segment.clear();
    };
    for (const HeadPiece& piece : pieces) {
        // A gap of more than a wide space parts two guide words set apart.
        if (lastRight >= 0 && piece.left - lastRight > height)
            close();
        lastRight = piece.right;
        const QString clean = WithoutPunctuation(piece.text);
        const bool noise = capitals && clean.size() <= 2 && clean == clean.toLower();
        if (IsSpeck(piece.text) || IsPageNumber(clean) || noise) {
            close();
            continue;
        }
        segment += (segment.isEmpty() ? QString() : QStringLiteral(" ")) + clean;
        if (piece.endsGuide)
            close();
    }
    close();
    // A head names two guide words at most: of more, those of a letter or
    // two are specks read as letters ("Of", "OO").
    if (out.size() > 2)
        out.removeIf([](const QString& g) { return g.size() <= 2; });
    return out;
}

} // namespace lexifol::djvu
