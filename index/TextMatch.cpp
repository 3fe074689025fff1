#include "index/TextMatch.h"

#include "index/IndexOps.h"

namespace lexifol {

namespace {

bool WordUnit(QChar c)
{
    return c.isLetterOrNumber() || c.category() == QChar::Mark_NonSpacing;
}

struct Token {
    QString folded;
    int owner; // the text it came from
};

QList<Token> Tokens(const TextMatcher& m, const QStringList& texts)
{
    QList<Token> out;
    out.reserve(texts.size());
    for (int i = 0; i < texts.size(); ++i)
        for (TextMatcher::Piece& p : m.pieces(texts[i]))
            out.append({std::move(p.folded), i});
    return out;
}

} // namespace

QString TextMatcher::fold(QStringView text) const
{
    QString ruled;
    AppendNormalised(text, rules_, ruled);
    QString out;
    out.reserve(ruled.size());
    const QString decomposed = ruled.normalized(QString::NormalizationForm_D);
    for (const QChar c : decomposed)
        if (c.category() != QChar::Mark_NonSpacing)
            out += c;
    return out.toCaseFolded();
}

QList<TextMatcher::Piece> TextMatcher::pieces(QStringView text) const
{
    QList<Piece> out;
    for (qsizetype i = 0; i < text.size();) {
        if (!text[i].isLetterOrNumber()) {
            ++i;
            continue;
        }
        qsizetype end = i;
        while (end < text.size() && WordUnit(text[end]))
            ++end;
        // A rule may turn a letter into a space or a hyphen: the folded word
        // is cut again, every part standing where the printed word does.
        const QString folded = fold(text.mid(i, end - i));
        qsizetype k = 0;
        while (k < folded.size()) {
            while (k < folded.size() && !WordUnit(folded[k]))
                ++k;
            qsizetype e = k;
            while (e < folded.size() && WordUnit(folded[e]))
                ++e;
            if (e > k)
                out.append({i, end - i, folded.mid(k, e - k)});
            k = e;
        }
        i = end;
    }
    return out;
}

QList<MatchWord> TextMatcher::typedPhrase(QStringView typed) const
{
    QList<MatchWord> out;
    for (Piece& p : pieces(typed))
        out.append({std::move(p.folded), false});
    // Open only when the typing stopped inside the word.
    if (!out.isEmpty() && !typed.isEmpty() && WordUnit(typed.back()))
        out.back().prefix = true;
    return out;
}

QList<QList<int>> TextMatcher::findPhrase(const QStringList& texts, const QList<MatchWord>& phrase) const
{
    QList<QList<int>> runs;
    if (phrase.isEmpty())
        return runs;
    const QList<Token> tokens = Tokens(*this, texts);
    for (qsizetype i = 0; i + phrase.size() <= tokens.size();) {
        qsizetype k = 0;
        while (k < phrase.size() && matches(tokens[i + k].folded, phrase[k]))
            ++k;
        if (k < phrase.size()) {
            ++i;
            continue;
        }
        QList<int> run;
        for (qsizetype j = i; j < i + phrase.size(); ++j)
            if (run.isEmpty() || run.back() != tokens[j].owner)
                run.append(tokens[j].owner);
        runs.append(run);
        i += phrase.size();
    }
    return runs;
}

QList<QList<int>> TextMatcher::findAny(const QStringList& texts, const QList<MatchWord>& words) const
{
    QList<QList<int>> runs;
    for (const Token& t : Tokens(*this, texts))
        for (const MatchWord& w : words)
            if (matches(t.folded, w)) {
                if (runs.isEmpty() || runs.back() != QList<int>{t.owner})
                    runs.append(QList<int>{t.owner});
                break;
            }
    return runs;
}

QList<std::pair<int, int>> TextMatcher::findInLine(QStringView line, const QList<MatchWord>& words) const
{
    QList<std::pair<int, int>> hits;
    for (const Piece& p : pieces(line))
        for (const MatchWord& w : words)
            if (matches(p.folded, w)) {
                if (hits.isEmpty() || hits.back().first != int(p.start))
                    hits.append({int(p.start), int(p.length)});
                break;
            }
    return hits;
}

} // namespace lexifol
