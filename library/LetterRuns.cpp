#include "library/LetterRuns.h"

#include <QRegularExpression>

#include <algorithm>

namespace lexifol {

namespace {

// A run this rare is the word's own: it comes in the document only where
// the word itself is printed.
constexpr int kOwnRun = 1;
// Below this many words (a few pages of a dictionary) even the language's
// common runs come once, and rarity tells nothing.
constexpr qint64 kEnoughWords = 5000;

template<typename F> void ForEachRun(const QString& word, F&& f)
{
    const QString w = u' ' + word.toLower() + u' ';
    if (w.size() < 5)
        return;
    for (qsizetype i = 0; i + 3 <= w.size(); ++i)
        f((quint64(w[i].unicode()) << 32) | (quint64(w[i + 1].unicode()) << 16) | w[i + 2].unicode());
}

bool Letters(const QString& word)
{
    return std::all_of(word.begin(), word.end(), [](QChar c) { return c.isLetter(); });
}

} // namespace

void LetterRuns::add(const djvu::TextLayer& layer)
{
    for (const PageWord& w : layer.words) {
        QString t = w.text;
        while (!t.isEmpty() && !t.back().isLetter())
            t.chop(1);
        while (!t.isEmpty() && !t.front().isLetter())
            t.remove(0, 1);
        if (Letters(t))
            ForEachRun(t, [&](quint64 run) { ++counts_[run]; });
        ++words_;
    }
}

int LetterRuns::rarest(const QString& word) const
{
    int least = -1;
    static const QRegularExpression parts(QStringLiteral("[ '\\-]"));
    for (const QString& part : word.split(parts, Qt::SkipEmptyParts))
        ForEachRun(part, [&](quint64 run) {
            const int n = counts_.value(run);
            least = least < 0 ? n : std::min(least, n);
        });
    return std::max(least, 0);
}

void FlagRareSpellings(QList<PageProposal>& pages, const LetterRuns& runs)
{
    if (runs.words() < kEnoughWords)
        return;
    for (PageProposal& p : pages)
        for (PageCandidate& k : p.candidates) {
            if (!k.body || k.weight < 1.0 || !k.unsure.isEmpty() || p.firstArticles.value(0) != k.word)
                continue;
            if (const int least = runs.rarest(k.word); least > 0 && least <= kOwnRun)
                k.unsure = QStringLiteral("the first article reads \u201c%1\u201d, with letters together that the "
                                          "document has nowhere else")
                               .arg(k.word);
        }
}

} // namespace lexifol
