#pragma once
// The one way a page's words are compared with what a reader typed or looked
// up: the dictionary's replacement rules applied, letter case folded, accents
// dropped, and text cut into words where the full-text index cuts it (at
// anything that is not a letter, a digit or an accent). The text search's
// lines, Find and F3 on the page, the hits marked and the headword mark all
// use it: a page found for a word is a page where that word lights up.
#include "index/Replacement.h"
#include <QList>
#include <QString>
#include <QStringList>
#include <utility>

namespace lexifol {

// A word to find: whole, or any word it begins ("appl*").
struct MatchWord {
    QString folded;
    bool prefix = false;
    bool operator==(const MatchWord&) const = default;
};

class TextMatcher
{
public:
    explicit TextMatcher(ReplacementList rules = {})
        : rules_(std::move(rules))
    { }

    // Rules, then case and accents folded; other characters kept.
    QString fold(QStringView text) const;

    // The words of a text, folded, with where each stands in it.
    struct Piece {
        qsizetype start = 0, length = 0;
        QString folded;
    };
    QList<Piece> pieces(QStringView text) const;

    // A phrase typed into Find: its words in order, the last one open at its
    // end (a reader stops typing mid-word).
    QList<MatchWord> typedPhrase(QStringView typed) const;

    static bool matches(const QString& folded, const MatchWord& w)
    {
        return w.prefix ? folded.startsWith(w.folded) : folded == w.folded;
    }

    // Runs of consecutive words matching `phrase` in order, across the
    // given word texts (a text may hold several words, "half-way"; a run
    // may cross texts): the indexes of the texts each run covers.
    QList<QList<int>> findPhrase(const QStringList& texts, const QList<MatchWord>& phrase) const;
    // Every word matching any of `words`, one run each.
    QList<QList<int>> findAny(const QStringList& texts, const QList<MatchWord>& words) const;
    // Where the words matching any of `words` stand in a line: [start, length).
    QList<std::pair<int, int>> findInLine(QStringView line, const QList<MatchWord>& words) const;

private:
    ReplacementList rules_;
};

} // namespace lexifol
