#include "search/TextQuery.h"

#include "index/IndexOps.h"

namespace lexifol::search {

namespace {

QString Quoted(const QString& term)
{
    QString q = term;
    q.replace(u'"', QStringLiteral("\"\""));
    return u'"' + q + u'"';
}

// Letters and digits of a word as the index's tokenizer keeps them.
QStringList Tokens(const QString& text)
{
    QStringList out;
    QString word;
    for (QChar c : text) {
        if (c.isLetterOrNumber() || c.category() == QChar::Mark_NonSpacing) {
            word += c;
        } else if (!word.isEmpty()) {
            out << word;
            word.clear();
        }
    }
    if (!word.isEmpty())
        out << word;
    return out;
}

// The rules are applied already: the page's words get them once too.
void AddTerms(TextQuery& q, const QStringList& words, bool prefix)
{
    const TextMatcher plain;
    for (qsizetype i = 0; i < words.size(); ++i)
        q.words.append({plain.fold(words[i]), prefix && i + 1 == words.size()});
}

} // namespace

QString FoldForIndex(QStringView text, const ReplacementList& rules)
{
    QString out;
    out.reserve(text.size());
    AppendNormalised(text, rules, out);
    return out;
}

TextQuery ParseQuery(const QString& typed, const ReplacementList& rules)
{
    TextQuery q;
    QStringList parts;
    const QString text = typed.trimmed().left(kMostQueryChars);
    q.cut = typed.trimmed().size() > kMostQueryChars;
    for (qsizetype i = 0; i < text.size() && !q.cut;) {
        if (text[i].isSpace()) {
            ++i;
            continue;
        }
        if (text[i] == u'"') {
            const qsizetype end = text.indexOf(u'"', i + 1);
            const QString phrase = text.mid(i + 1, (end < 0 ? text.size() : end) - i - 1);
            QStringList words = Tokens(FoldForIndex(phrase, rules));
            if (q.words.size() + words.size() > kMostQueryWords)
                q.cut = true, words = words.mid(0, kMostQueryWords - q.words.size());
            if (!words.isEmpty())
                parts << Quoted(words.join(u' '));
            AddTerms(q, words, false);
            i = end < 0 ? text.size() : end + 1;
            continue;
        }
        qsizetype end = i;
        while (end < text.size() && !text[end].isSpace() && text[end] != u'"')
            ++end;
        const QString chunk = text.mid(i, end - i);
        const bool prefix = chunk.endsWith(u'*');
        QStringList words = Tokens(FoldForIndex(prefix ? chunk.chopped(1) : chunk, rules));
        if (q.words.size() + words.size() > kMostQueryWords)
            q.cut = true, words = words.mid(0, kMostQueryWords - q.words.size());
        // "half-way" holds two words: the index cut it so too, side by side.
        if (words.size() > 1)
            parts << Quoted(words.join(u' ')) + (prefix ? QStringLiteral("*") : QString());
        else if (words.size() == 1)
            parts << Quoted(words.first()) + (prefix ? QStringLiteral("*") : QString());
        AddTerms(q, words, prefix);
        i = end;
    }
    q.match = parts.join(u' ');
    return q;
}

} // namespace lexifol::search
