#include "djvu/LocateWord.h"
#include "djvu/PageSelection.h"

namespace lexifol {

namespace {

struct Token {
    QString text;
    QRect box;
    bool lineStart = false;
};

QList<Token> Tokens(const QList<PageWord>& words)
{
    QList<Token> tokens;
    for (int i = 0; i < words.size(); ++i) {
        Token t{words[i].text, words[i].box, i == 0 || StartsLine(words[i - 1].box, words[i].box)};
        // "dictio-" ending a line and "nary" beginning the next: one word.
        while (t.text.endsWith(u'-') && t.text.size() > 1 && i + 1 < words.size()
               && StartsLine(words[i].box, words[i + 1].box)) {
            t.text.chop(1);
            t.text += words[++i].text;
            t.box |= words[i].box;
        }
        tokens << t;
    }
    return tokens;
}

QString Loose(const QString& word)
{
    QString out;
    for (const QChar c : word.normalized(QString::NormalizationForm_D))
        if (c.category() != QChar::Mark_NonSpacing)
            out += c.toCaseFolded();
    return WithoutPunctuation(out);
}

std::optional<QRect> Find(const QList<Token>& tokens, const QStringList& parts, bool loose)
{
    std::optional<QRect> first;
    for (int i = 0; i + parts.size() <= tokens.size(); ++i) {
        bool match = true;
        for (int k = 0; k < parts.size() && match; ++k) {
            const QString& t = tokens[i + k].text;
            match = loose ? Loose(t) == Loose(parts[k]) : t.compare(parts[k], Qt::CaseInsensitive) == 0;
        }
        if (!match)
            continue;
        QRect box;
        for (int k = 0; k < parts.size(); ++k)
            box |= tokens[i + k].box;
        if (tokens[i].lineStart)
            return box;
        if (!first)
            first = box;
    }
    return first;
}

} // namespace

std::optional<QRect> LocateHeadword(const QList<PageWord>& words, const QString& headword)
{
    const QStringList parts = headword.split(u' ', Qt::SkipEmptyParts);
    if (parts.isEmpty() || words.isEmpty())
        return std::nullopt;
    const QList<Token> tokens = Tokens(words);
    if (auto box = Find(tokens, parts, false))
        return box;
    return Find(tokens, parts, true);
}

} // namespace lexifol
