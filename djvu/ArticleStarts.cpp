#include "djvu/ArticleStarts.h"

#include "djvu/PageSelection.h"
#include "djvu/RunningHead.h"

#include <QHash>
#include <QSet>
#include <algorithm>
#include <cmath>

namespace lexifol::djvu {

namespace {

// A line that starts further in than a few line heights is a piece of a
// line (a formula, a number in the gutter), neither flush nor indented.
constexpr int kFarIn = 3;

// "Chancellor of the Duchy of Lancaster, n."
constexpr int kMostHeadwordWords = 6;

struct BodyLine {
    int line, word, left, right, top, column = 0, indent = 0;
    bool opens = false; // its first word may be a headword
};

// Where a word's print begins: a speck run into it ("‘dietary", "_Holar")
// widens its box to the left by about a letter's width. A bracket is
// print ("(Bot.)", "[Obs.]"), and the line starts there.
int LetterLeft(const PageWord& word)
{
    const QString& t = word.text;
    qsizetype lead = 0;
    while (lead < t.size() && !t[lead].isLetterOrNumber() && t[lead] != u'(' && t[lead] != u'[')
        ++lead;
    return lead == 0 || lead == t.size() ? word.box.left() : word.box.left() + int(word.box.width() * lead / t.size());
}

// Lines sorted by where they start fall into columns: a line starting to
// the right of where the column's lines end begins the next column.
void AssignColumns(QList<BodyLine>& lines, int lineHeight)
{
    std::sort(lines.begin(), lines.end(), [](const BodyLine& a, const BodyLine& b) { return a.left < b.left; });
    QList<int> rights;
    int column = 0;
    for (BodyLine& l : lines) {
        if (!rights.isEmpty() && l.left > Median(rights) - lineHeight)
            ++column, rights.clear();
        l.column = column;
        rights << l.right;
    }
    std::sort(lines.begin(), lines.end(), [](const BodyLine& a, const BodyLine& b) {
        return a.column != b.column ? a.column < b.column : a.top < b.top;
    });
}

// A page turned half a degree in the scanner moves its columns' edge a
// pixel in 115; more is rare.
constexpr int kTurn = 115;
// Lines that begin articles, or go on with them, are a tenth of a column
// at least; fewer lines starting alike are strays.
constexpr int kStrayShare = 10;
// A column of this many lines is split at its own indent.
constexpr int kOwnSplit = 12;

// Each line's indent against the edge of its column: the lines that start
// alike nearest to it, allowed the slant of a page turned a little.
void IndentsFrom(QList<BodyLine>& lines, const QList<bool>& shared)
{
    const int n = int(lines.size());
    for (int i = 0; i < n; ++i) {
        int edge = lines[i].left;
        for (int k = 0; k < n; ++k)
            if (shared[k] && lines[k].column == lines[i].column)
                edge = std::min(edge, lines[k].left + std::abs(lines[i].top - lines[k].top) / kTurn);
        lines[i].indent = std::max(0, lines[i].left - edge);
    }
}

// Each line's indent against the edge of its column where it stands. The
// edge is where two lines start alike: a line alone further out (a speck
// run into its first word) does not move it.
void MeasureIndents(QList<BodyLine>& lines, int lineHeight)
{
    const int n = int(lines.size());
    const auto sameColumn = [&](int a, int b) { return lines[a].column == lines[b].column; };
    constexpr int kNear = 16;
    QList<bool> shared(n, false);
    for (int i = 0; i < n; ++i)
        for (int k = std::max(0, i - kNear); k <= std::min(n - 1, i + kNear) && !shared[i]; ++k)
            shared[i] = k != i && sameColumn(i, k) && std::abs(lines[k].left - lines[i].left) * 4 <= lineHeight;
    // A column too short to have two lines alike: its outermost line.
    QSet<int> alike;
    for (int i = 0; i < n; ++i)
        if (shared[i])
            alike.insert(lines[i].column);
    for (int i = 0; i < n; ++i)
        shared[i] = shared[i] || !alike.contains(lines[i].column);
    IndentsFrom(lines, shared);
    // A few strays may start alike further out than the rest (figures in
    // the margin, specks run into first words): an edge so few lines keep
    // is not the column's.
    const auto atTheEdge = [&](int i) { return lines[i].indent * 4 <= lineHeight; };
    for (int round = 0; round < 3; ++round) {
        QHash<int, int> count, atEdge, kept, opening;
        for (int i = 0; i < n; ++i) {
            ++count[lines[i].column];
            atEdge[lines[i].column] += atTheEdge(i);
            opening[lines[i].column] += atTheEdge(i) && lines[i].opens;
            kept[lines[i].column] += shared[i] && !atTheEdge(i);
        }
        // Long articles leave few lines at the edge too; two or more that
        // begin with words keep it.
        bool moved = false;
        for (int i = 0; i < n; ++i) {
            const int c = lines[i].column;
            if (shared[i] && atTheEdge(i) && atEdge[c] * kStrayShare < count[c] && kept[c] > 0 && opening[c] < 2)
                shared[i] = false, moved = true;
        }
        if (!moved)
            break;
        IndentsFrom(lines, shared);
    }
}

// The indent that parts the page's lines in two clusters, or -1 when they
// form one (no hanging indent to be seen).
int IndentThreshold(const QList<BodyLine>& lines, int lineHeight)
{
    QList<int> d;
    for (const BodyLine& l : lines)
        if (l.indent <= kFarIn * lineHeight)
            d << l.indent;
    std::sort(d.begin(), d.end());
    // A few lines led by a dash or a speck stand further in than either
    // cluster; the last twentieth is left out of the measure.
    d.resize(d.size() - d.size() / 20);
    double best = -1, threshold = -1, bestGap = 0;
    for (int cut = 1; cut < d.size(); ++cut) {
        if (d[cut] == d[cut - 1])
            continue;
        double sum[2] = {0, 0}, sq[2] = {0, 0};
        for (int i = 0; i < d.size(); ++i)
            sum[i >= cut] += d[i], sq[i >= cut] += double(d[i]) * d[i];
        const double n0 = cut, n1 = d.size() - cut;
        const double c0 = sum[0] / n0, c1 = sum[1] / n1;
        const double within = (sq[0] - n0 * c0 * c0) + (sq[1] - n1 * c1 * c1);
        if (best < 0 || within < best)
            best = within, threshold = (c0 + c1) / 2.0, bestGap = c1 - c0;
    }
    const double spread = best > 0 ? std::sqrt(best / d.size()) : 0;
    return threshold >= 0 && bestGap > std::max(3 * spread, lineHeight / 4.0) ? int(threshold) : -1;
}

// Each column's own split where it has lines enough, else the page's: a
// column whose edge a speck moved would shift its lines against the other's.
QHash<int, int> ColumnThresholds(const QList<BodyLine>& lines, int lineHeight, int pageThreshold)
{
    QHash<int, QList<BodyLine>> byColumn;
    for (const BodyLine& l : lines)
        byColumn[l.column] << l;
    QHash<int, int> out;
    for (auto c = byColumn.cbegin(); c != byColumn.cend(); ++c) {
        const int own = c.value().size() >= kOwnSplit ? IndentThreshold(c.value(), lineHeight) : -1;
        out[c.key()] = own >= 0 ? own : pageThreshold;
    }
    return out;
}

bool StartsSmall(const QString& word)
{
    return !word.isEmpty() && word.front().isLower();
}

// The headword that opens a line: its first word, or the words up to a
// comma when a few words stand before one ("black and white, n.").
QString OpeningHeadword(const TextLayer& layer, const TextLine& line, int first)
{
    const int end = line.first + line.count;
    QStringList taken;
    bool glued = false;
    for (int w = first; w < end && taken.size() < kMostHeadwordWords; ++w) {
        // OCR may run the comma and what follows into the word: "Cab,'n".
        const QString& whole = layer.words[w].text;
        qsizetype cut = whole.size();
        for (QChar stop : {u',', u';'})
            if (const qsizetype at = whole.indexOf(stop, 1); at >= 0)
                cut = std::min(cut, at + 1);
        const QString t = whole.left(cut);
        QString clean = WithoutPunctuation(t);
        // A prefix keeps its hyphen ("Un-, a prefix"): before a comma it
        // is no hyphen of a word broken at the line's end.
        if (const QString before = t.chopped(1);
            (t.endsWith(u',') || t.endsWith(u';')) && before.endsWith(u'-') && WithoutPunctuation(before) == clean)
            clean += u'-';
        if (clean.isEmpty() || !std::all_of(clean.begin(), clean.end(), [](QChar c) {
                return c.isLetter() || c == u'-' || c == u'\'';
            }))
            break;
        if (glued)
            taken.last() += clean;
        else
            taken << clean;
        glued = false;
        if (t.endsWith(u',') || t.endsWith(u';'))
            return taken.join(u' ');
        // OCR parts a compound at its hyphen ("Half- decked,"); the rest
        // goes on in small letters.
        if (t.size() > 1 && t.endsWith(u'-') && t[t.size() - 2].isLetter() && w + 1 < end
            && StartsSmall(layer.words[w + 1].text)) {
            taken.last() += u'-';
            glued = true;
            continue;
        }
        if (!t.back().isLetter())
            break;
    }
    if (!taken.isEmpty())
        return taken.first();
    // Past a mark no headword holds OCR ran what follows into the word
    // ("Exceptant/(tksept'ant,"): the letters before it.
    const QString w = WithoutPunctuation(layer.words[first].text);
    qsizetype n = 0;
    while (n < w.size() && (w[n].isLetter() || (n > 0 && (w[n] == u'-' || w[n] == u'\''))))
        ++n;
    return n >= 2 ? w.left(n) : w;
}

// "Cr2O3", "Po1arity": where an article begins, a word OCR misread or a
// formula, which a maker should see.
bool LettersAndDigits(const QString& raw)
{
    const QString w = WithoutPunctuation(raw);
    return w.size() >= 2 && w.front().isLetter() && !raw.startsWith(u'-') && !raw.endsWith(u'-')
        && std::all_of(w.begin(), w.end(), [](QChar c) { return c.isLetterOrNumber(); })
        && std::any_of(w.begin(), w.end(), [](QChar c) { return c.isDigit(); });
}

double Ascent(const QStringList& words, const WordOrder& order)
{
    if (words.size() < 2)
        return 0;
    int up = 0;
    for (int i = 1; i < words.size(); ++i)
        up += order(words[i - 1], words[i]) <= 0;
    return double(up) / (words.size() - 1);
}

} // namespace

bool CanBeHeadword(const QString& raw)
{
    // A piece of a word broken at a line's end goes on in lower case; a
    // hyphen before a capital is a speck ("-Crabber,").
    const bool speckDash = raw.size() > 1 && raw.front() == u'-' && raw[1].isUpper();
    if ((raw.startsWith(u'-') && !speckDash) || raw.endsWith(u'-') || raw.endsWith(u'\u00ad'))
        return false;
    const QString w = WithoutPunctuation(raw);
    if (w.size() < 2 || IsPageNumber(w))
        return false;
    // A digit inside a word is OCR's reading of an l or an I.
    return w.front().isLetter() && std::none_of(w.begin(), w.end(), [](QChar c) { return c.isDigit(); });
}

// A line's first word as a headword, or the first part of one OCR parted
// at its hyphen ("Half- decked,"): the rest follows on the line in small
// letters, where a word broken at a line's end goes on on the next.
bool OpensHeadword(const TextLayer& layer, int line, int word)
{
    const QString& raw = layer.words[word].text;
    if (CanBeHeadword(raw))
        return true;
    const TextLine& l = layer.lines[line];
    return raw.size() > 2 && raw.endsWith(u'-') && CanBeHeadword(raw.chopped(1)) && word + 1 < l.first + l.count
        && StartsSmall(layer.words[word + 1].text);
}

QList<ArticleStart> ArticleStarts(const TextLayer& layer, const QList<int>& skip, const WordOrder& order)
{
    const int lineHeight = MeasureLines(layer).height;
    // A speck is small, or a thin streak; a mark the size of a letter
    // ("& OHG.") is print, and its line starts there.
    const auto speck = [&](const PageWord& w) {
        return IsSpeck(w.text) && (w.box.height() * 2 < lineHeight || w.box.width() * 2 < lineHeight);
    };
    QList<BodyLine> lines;
    for (int i = 0; i < layer.lines.size(); ++i) {
        const TextLine& l = layer.lines[i];
        if (skip.contains(i))
            continue;
        int w = l.first;
        while (w < l.first + l.count && speck(layer.words[w]))
            ++w;
        if (w < l.first + l.count)
            lines.append(
                {i, w, LetterLeft(layer.words[w]), l.box.right(), l.box.top(), 0, 0, OpensHeadword(layer, i, w)});
    }
    if (lines.isEmpty())
        return {};
    AssignColumns(lines, lineHeight);
    MeasureIndents(lines, lineHeight);
    const int threshold = IndentThreshold(lines, lineHeight);
    const QHash<int, int> columnThreshold = ColumnThresholds(lines, lineHeight, threshold);
    const auto flushLine = [&](const BodyLine& l) {
        const int t = columnThreshold.value(l.column, -1);
        return t < 0 || l.indent <= t;
    };
    QStringList flushWords, indentedWords;
    for (const BodyLine& l : lines)
        if (OpensHeadword(layer, l.line, l.word))
            (flushLine(l) ? flushWords : indentedWords) << WithoutPunctuation(layer.words[l.word].text);
    // Hanging indents begin articles at the edge; some dictionaries indent
    // the first line instead, and then the indented lines ascend. Lines
    // that begin articles are fewer than those that go on with them: when
    // the indented ones ascend only a little better (specks and repeated
    // forms spoil both), being fewer tells.
    const double upIndented = Ascent(indentedWords, order), upFlush = Ascent(flushWords, order);
    const bool indentedBegin = threshold >= 0 && indentedWords.size() >= 3
        && (upIndented > upFlush + 0.2 || (upIndented > upFlush && indentedWords.size() < flushWords.size()));
    QList<ArticleStart> out;
    for (const BodyLine& l : lines) {
        if (l.indent > kFarIn * lineHeight)
            continue;
        const bool flush = flushLine(l);
        const QString& first = layer.words[l.word].text;
        const bool word = OpensHeadword(layer, l.line, l.word);
        if (flush != indentedBegin && (word || LettersAndDigits(first)))
            out.append({l.line, l.word, l.column, OpeningHeadword(layer, layer.lines[l.line], l.word), !word});
    }
    return out;
}

} // namespace lexifol::djvu
