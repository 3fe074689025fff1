// One word for every page of a page index, chosen together: a best path
// through the pages' candidates.
#include "library/PageIndexMaker.h"

#include "djvu/RunningHead.h"

#include <algorithm>
#include <limits>

namespace lexifol {

namespace {

// A new section costs more than one page's evidence and less than two: a
// title page is left out, a second alphabet of a few pages is taken.
constexpr double kRestart = 3.0;
// A page that sorts before the last word of the page before: the last
// word may be misread, so a cost, not a bar; the page goes to the review.
constexpr double kBelowBound = 0.5;
// A page whose word the order chose against evidence this many times
// stronger goes to the review: a later article taken over the page's first.
constexpr double kOverruled = 4.0;
// How far back a page looks for the page before it in the path.
constexpr int kWindow = 40;
// How much less the head's reading of a word counts than the body's.
constexpr double kVariantShade = 0.01;
// A first run of pages this short, followed by a long one, is front matter.
constexpr int kFrontPages = 2, kMainPages = 10;
// A page set in type this much larger than the document's body is a title
// or a caption, not a page of articles.
constexpr double kDisplayType = 1.6;
// Letters two words must share for a third between them to be spelt by them.
constexpr qsizetype kSharedBeginning = 4;

// A word's place in the collation, and letter by letter: of two words, one
// comes before the other only when it does in both.
struct Place {
    QByteArray key, loose;
    bool isEmpty() const { return key.isEmpty(); }
    bool operator<(const Place& o) const { return key < o.key && loose < o.loose; }
};

struct Option {
    QString word;
    Place key;
    double weight = 0;
    QString unsure;
};

struct Step {
    double score = -std::numeric_limits<double>::infinity();
    int page = -1, option = -1; // the page before in the path; -1: the path starts here
    bool restart = false;
};

QByteArray SortKey(const IndexCollation& c, const QString& word)
{
    QByteArray key;
    if (!c.appendSortKey(word, key))
        key = word.toLower().toUtf8();
    return key;
}

Place Key(const IndexCollation& c, const QString& word)
{
    if (word.isEmpty())
        return {};
    return {SortKey(c, word), SortKey(c, LetterByLetter(word))};
}

QString Quote(const QString& w)
{
    return QStringLiteral("\u201c%1\u201d").arg(w);
}

// The last word the page names, as the page after sees it.
QString LastWord(const PageProposal& p)
{
    return p.lastGuide.isEmpty() ? p.lastArticle : p.lastGuide;
}

// A word OCR misread in one letter of the beginning the words around it
// share, spelt as they spell it: "tision purple" between "Vision purple"
// and "Visional" is "vision purple"; "Point ofshonor" between "Point of
// distance" and "Point of inflection" is "Point of honor". Empty when
// the word has that beginning already, or differs from it more.
QString NeighbourSpelling(const QString& word, const QString& before, const QString& after)
{
    const QString a = before.toLower(), b = after.toLower(), w = word.toLower();
    // The same headword again, as the page before ended ("Black wainut"
    // after "Black walnut"), a letter read for a letter: of the two
    // readings, the one the page's next article bears out no less.
    if (w.size() == a.size() && w.size() >= kSharedBeginning) {
        const auto shared = [](const QString& x, const QString& y) {
            return std::mismatch(x.begin(), x.end(), y.begin(), y.end()).first - x.begin();
        };
        const auto at = std::mismatch(w.begin(), w.end(), a.begin()).first - w.begin();
        if (at < w.size() && w.mid(at + 1) == a.mid(at + 1) && w[at].isLetter() && a[at].isLetter()
            && shared(a, b) >= shared(w, b))
            return before;
    }
    qsizetype shared = 0;
    while (shared < a.size() && shared < b.size() && a[shared] == b[shared])
        ++shared;
    if (shared < kSharedBeginning || w.size() <= shared)
        return {};
    qsizetype at = -1;
    for (qsizetype i = 0; i < shared; ++i)
        if (w[i] != a[i]) {
            if (at >= 0)
                return {};
            at = i;
        }
    if (at < 0)
        return {};
    QString out = word;
    out[at] = word[at].isUpper() ? a[at].toUpper() : a[at];
    return out;
}

void AddNeighbourSpelling(QList<Option>& out, const QString& word, const QString& before, const QString& after,
                          double weight, const IndexCollation& c)
{
    if (const QString near = NeighbourSpelling(word, before, after); !near.isEmpty())
        out.append({near, Key(c, near), weight - kVariantShade,
                    QStringLiteral("the page reads %1; the words around it spell %2").arg(Quote(word), Quote(near))});
}

QList<Option> Options(const PageProposal& p, const PageProposal* before, const IndexCollation& c)
{
    QList<Option> out;
    if (!p.candidates.isEmpty()) {
        for (const PageCandidate& k : p.candidates) {
            out.append({k.word, Key(c, k.word), k.weight, k.unsure});
            // Which of two readings is the misread one the order tells; on
            // a tie, the one the page bears out.
            if (!k.variant.isEmpty())
                out.append({k.variant, Key(c, k.variant), k.weight - kVariantShade, k.unsure});
            if (before && k.body && k.weight >= 1.0) // the first article, not the second
                AddNeighbourSpelling(out, k.word, LastWord(*before), p.firstArticles.value(1), k.weight, c);
        }
        // A first article left out may be misread in one letter only; so
        // spelt, it is the first again, before the one that followed it.
        if (before && !p.passedOver.isEmpty()) {
            const double top = std::max_element(p.candidates.begin(), p.candidates.end(),
                                                [](const auto& a, const auto& b) { return a.weight < b.weight; })
                                   ->weight;
            AddNeighbourSpelling(out, p.passedOver, LastWord(*before), p.firstArticles.value(0),
                                 top + 2 * kVariantShade, c);
        }
    } else if (!p.word.isEmpty()) {
        out.append({p.word, Key(c, p.word), 2.0, QString()});
        for (const QString& w : p.others)
            out.append({w, Key(c, w), 1.0, QString()});
    }
    return out;
}

// The last word the page names: the page after begins no earlier. The
// running head's last guide word; else the last article of the body that
// begins with the letter of its first (a page spans one letter but at the
// turn of two, and a line taken for an article wrongly must not bar the
// page after).
Place Bound(const PageProposal& p, const IndexCollation& c)
{
    if (!p.lastGuide.isEmpty())
        return Key(c, p.lastGuide);
    if (!p.lastArticle.isEmpty() && !p.word.isEmpty() && c.compare(p.lastArticle.left(1), p.word.left(1)) == 0)
        return Key(c, p.lastArticle);
    return {};
}

// Each page's word from the path, and the pages in doubt with the reason.
void Explain(QList<PageProposal>& pages, const QList<QList<Option>>& options, const QList<Place>& bounds,
             const QList<int>& chosen, const QList<bool>& restart)
{
    const int n = int(pages.size());
    int previous = -1;
    for (int i = 0; i < n; ++i) {
        PageProposal& p = pages[i];
        const QList<Option>& o = options[i];
        if (o.isEmpty())
            continue;
        const int k = chosen[i] >= 0 ? chosen[i] : 0;
        int after = i + 1;
        while (after < n && chosen[after] < 0)
            ++after;
        p.word = o[k].word;
        p.others.clear();
        for (int m = 0; m < o.size(); ++m)
            if (m != k)
                p.others << o[m].word;
        p.restart = restart[i];
        p.ordered = chosen[i] >= 0;
        if (chosen[i] < 0) {
            p.doubt = previous < 0
                ? QStringLiteral("before the first page that fits the order: front matter, a plate, or misread")
                : after < n ? QStringLiteral("%1 does not fit between %2 (page %3) and %4 (page %5)")
                                  .arg(Quote(p.word), Quote(pages[previous].word))
                                  .arg(pages[previous].page)
                                  .arg(Quote(pages[after].word))
                                  .arg(pages[after].page)
                            : QStringLiteral("%1 sorts before %2 of page %3")
                                  .arg(Quote(p.word), Quote(pages[previous].word))
                                  .arg(pages[previous].page);
            continue;
        }
        // Another reading that fits as well as the one taken: the maker decides.
        const auto fits = [&](const Option& x) {
            return (previous < 0 || !(x.key < options[previous][chosen[previous]].key))
                && (after >= n || !(options[after][chosen[after]].key < x.key));
        };
        const bool rival = p.conflict && std::any_of(o.begin(), o.end(), [&](const Option& x) {
                               return &x != &o[k] && x.weight >= o[k].weight / 2 && fits(x);
                           });
        if (previous >= 0 && !restart[i] && !bounds[previous].isEmpty() && o[k].key < bounds[previous])
            p.doubt = QStringLiteral("sorts before %1 of page %2")
                          .arg(Quote(LastWord(pages[previous])))
                          .arg(pages[previous].page);
        else if (rival)
            p.doubt = QStringLiteral("the running head and the first article disagree: %1 or %2")
                          .arg(Quote(p.word), Quote(p.others.first()));
        else if (const Option& best = *std::max_element(
                     o.begin(), o.end(), [](const Option& a, const Option& b) { return a.weight < b.weight; });
                 best.weight >= kOverruled * o[k].weight)
            // The order overruled what the page says most clearly: the
            // order of the printed book may not be the collation's.
            p.doubt = QStringLiteral("%1, what the page reads most clearly, is out of order with the pages "
                                     "around it; %2 was taken instead")
                          .arg(Quote(best.word), Quote(p.word));
        else if (!o[k].unsure.isEmpty())
            p.doubt = o[k].unsure;
        previous = i;
    }
}

} // namespace

void CheckProposals(QList<PageProposal>& pages, const IndexCollation& c)
{
    const int n = int(pages.size());
    QList<QList<Option>> options;
    QList<Place> bounds;
    QList<int> heights;
    for (const PageProposal& p : pages)
        if (p.lineHeight > 0)
            heights << p.lineHeight;
    const int body = djvu::Median(heights);
    QList<bool> display(n, false);
    for (int i = 0; i < n; ++i) {
        options << Options(pages[i], i > 0 ? &pages[i - 1] : nullptr, c);
        bounds << Bound(pages[i], c);
        display[i] = body > 0 && pages[i].lineHeight > kDisplayType * body;
    }
    // A page left out of the path forgoes its evidence.
    QList<QList<Step>> steps(n);
    Step end{0, -1, -1, false};
    for (int i = 0; i < n; ++i) {
        steps[i].resize(options[i].size());
        for (int k = 0; k < options[i].size() && !display[i]; ++k) {
            const Option& o = options[i][k];
            Step best{o.weight, -1, -1, false};
            for (int j = std::max(0, i - kWindow); j < i; ++j)
                for (int m = 0; m < options[j].size(); ++m) {
                    const bool restart = o.key < options[j][m].key;
                    double s = steps[j][m].score + o.weight;
                    s -= restart ? kRestart : (!bounds[j].isEmpty() && o.key < bounds[j] ? kBelowBound : 0.0);
                    if (s > best.score)
                        best = Step{s, j, m, restart};
                }
            steps[i][k] = best;
            if (best.score > end.score)
                end = Step{best.score, i, k, false};
        }
    }
    // The path, back from its end.
    QList<int> chosen(n, -1);
    QList<bool> restart(n, false);
    for (Step s = end; s.page >= 0;) {
        chosen[s.page] = s.option;
        const Step& at = steps[s.page][s.option];
        restart[s.page] = at.restart;
        s = Step{0, at.page, at.option, false};
    }
    // A short first run before a long one is front matter, not a section.
    QList<int> starts;
    for (int i = 0; i < n; ++i)
        if (chosen[i] >= 0 && (starts.isEmpty() || restart[i]))
            starts << i;
    if (starts.size() > 1) {
        const auto runPages = [&](int from, int to) {
            return int(std::count_if(chosen.begin() + from, chosen.begin() + to, [](int k) { return k >= 0; }));
        };
        const int next = starts.size() > 2 ? starts[2] : n;
        if (runPages(starts[0], starts[1]) <= kFrontPages && runPages(starts[1], next) >= kMainPages) {
            std::fill(chosen.begin(), chosen.begin() + starts[1], -1);
            restart[starts[1]] = false;
        }
    }
    Explain(pages, options, bounds, chosen, restart);
}

} // namespace lexifol
