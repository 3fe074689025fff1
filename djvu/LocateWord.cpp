#include "djvu/LocateWord.h"
#include "djvu/PageSelection.h"

namespace lexifol {

namespace {

struct Token {
    QString text;
    QRect box;
    bool lineStart = false;
    bool head = false; // in the running head
    bool articleStart = false;
    QString folded, bare, loose; // made once: a page may hold 50,000 words
};

// Words of a headword compared; a longer one is looked for by these.
constexpr qsizetype kMostWords = 16;

QList<Token> Tokens(const QList<PageWord>& words, const QList<bool>& head, const QList<bool>& starts)
{
    QList<Token> tokens;
    for (int i = 0; i < words.size(); ++i) {
        Token t{words[i].text,
                words[i].box,
                i == 0 || StartsLine(words[i - 1].box, words[i].box),
                i < head.size() && head[i],
                i < starts.size() && starts[i],
                {},
                {},
                {}};
        // "dictio-" ending a line and "nary" beginning the next: one word.
        while (t.text.endsWith(u'-') && t.text.size() > 1 && i + 1 < words.size()
               && StartsLine(words[i].box, words[i + 1].box)) {
            t.text.chop(1);
            t.text += words[++i].text;
            t.box |= words[i].box;
        }
        t.folded = t.text.toCaseFolded();
        t.bare = WithoutPunctuation(t.folded);
        tokens << t;
    }
    return tokens;
}

QString Loose(const TextMatcher& matcher, const QString& word)
{
    return WithoutPunctuation(matcher.fold(word));
}

// As printed; without punctuation at its edges ("Pelvis," for "Pelvis");
// without accents too; with something printed onto it.
enum class Match { Exact, Bare, Loose, Attached };

bool Matches(const Token& t, const QString& part, Match how)
{
    switch (how) {
    case Match::Exact:
        return t.folded == part;
    case Match::Bare:
        return t.bare == part;
    case Match::Loose:
        return t.loose == part;
    case Match::Attached:
        // "SAVEPOINT(7)": the word with something printed onto it.
        return t.loose.size() > part.size() && t.loose.startsWith(part) && !t.loose[part.size()].isLetterOrNumber();
    }
    return false;
}

// Among the articles' first words, the `nth` that matches (the last when
// fewer do): the page's second "bank" is the index's second entry "bank".
std::optional<QRect> Find(const QList<Token>& tokens, const QStringList& parts, Match how, bool inHead, bool startsOnly,
                          int nth)
{
    std::optional<QRect> first;
    for (int i = 0; i + parts.size() <= tokens.size(); ++i) {
        if (tokens[i].head != inHead || (startsOnly && !tokens[i].articleStart))
            continue;
        bool match = true;
        for (int k = 0; k < parts.size() && match; ++k)
            match = Matches(tokens[i + k], parts[k], parts.size() == 1 ? how : std::min(how, Match::Loose));
        if (!match)
            continue;
        QRect box;
        for (int k = 0; k < parts.size(); ++k)
            box |= tokens[i + k].box;
        if (startsOnly) {
            first = box;
            if (nth-- <= 0)
                return box;
            continue;
        }
        if (tokens[i].lineStart)
            return box;
        if (!first)
            first = box;
    }
    return first;
}

} // namespace

std::optional<QRect> LocateHeadword(const QList<PageWord>& words, const QString& headword, const QList<bool>& head,
                                    const QList<bool>& articleStart, const TextMatcher& matcher, int occurrence)
{
    const QStringList parts = headword.split(u' ', Qt::SkipEmptyParts).mid(0, kMostWords);
    if (parts.isEmpty() || words.isEmpty())
        return std::nullopt;
    QList<Token> tokens = Tokens(words, head, articleStart);
    QStringList folded, loose;
    for (const QString& p : parts) {
        folded << p.toCaseFolded();
        loose << Loose(matcher, p);
    }
    // The articles' first words, then the body, in every way of matching;
    // the running head, which repeats the page's first and last headword,
    // only when the body has it nowhere. Loose forms are made only when an
    // exact match failed.
    bool looseMade = false;
    struct Pass {
        bool inHead, startsOnly;
    };
    for (const Pass pass : {Pass{false, true}, Pass{false, false}, Pass{true, false}}) {
        if (pass.startsOnly && !articleStart.contains(true))
            continue;
        // An article's first word carries its punctuation ("Pelvis,"): there
        // the first in reading order that matches but for it is the one.
        for (const Match how : {Match::Exact, Match::Bare, Match::Loose, Match::Attached}) {
            if (how == Match::Exact && pass.startsOnly)
                continue;
            if (how == Match::Loose && !looseMade) {
                for (Token& t : tokens)
                    t.loose = Loose(matcher, t.text);
                looseMade = true;
            }
            if (auto box = Find(tokens, how == Match::Exact || how == Match::Bare ? folded : loose, how, pass.inHead,
                                pass.startsOnly, occurrence))
                return box;
        }
    }
    return std::nullopt;
}

} // namespace lexifol
