#include "djvu/LocateWord.h"
#include "djvu/PageSelection.h"

namespace lexifol {

namespace {

struct Token {
    QString text;
    QRect box;
    bool lineStart = false;
    QString folded, loose;   // made once: a page may hold 50,000 words
};

// Words of a headword compared; a longer one is looked for by these.
constexpr qsizetype kMostWords = 16;

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
        t.folded = t.text.toCaseFolded();
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
            const Token& t = tokens[i + k];
            match = loose ? t.loose == parts[k] : t.folded == parts[k];
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
    const QStringList parts = headword.split(u' ', Qt::SkipEmptyParts).mid(0, kMostWords);
    if (parts.isEmpty() || words.isEmpty())
        return std::nullopt;
    QList<Token> tokens = Tokens(words);
    QStringList folded, loose;
    for (const QString& p : parts) {
        folded << p.toCaseFolded();
        loose << Loose(p);
    }
    if (auto box = Find(tokens, folded, false))
        return box;
    for (Token& t : tokens)
        t.loose = Loose(t.text);
    return Find(tokens, loose, true);
}

} // namespace lexifol
