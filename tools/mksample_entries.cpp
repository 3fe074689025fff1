// The entries of the two sample dictionaries, made from the word tables.
#include "mksample.h"
#include "mksample_words.h"

#include "base/CodePage.h"
#include "index/Collation.h"

#include <QSet>
#include <algorithm>

namespace mksample {

namespace {

struct Row {
    QString f[4];
};

QVector<Row> parseTable(const char* text)
{
    QVector<Row> rows;
    const QStringList lines = QString::fromUtf8(text).split(QLatin1Char('\n'));
    for (const QString& line : lines) {
        if (line.trimmed().isEmpty())
            continue;
        const QStringList parts = line.split(QLatin1Char('|'));
        Row r;
        for (int i = 0; i < 4 && i < parts.size(); ++i)
            r.f[i] = parts[i].trimmed();
        rows.push_back(r);
    }
    return rows;
}

bool isVowel(QChar c)
{
    return QStringLiteral("aeiou").contains(c);
}

QString withArticle(const QString& w)
{
    const bool an = isVowel(w.at(0)) || w.startsWith(QLatin1String("hon"));
    return (an ? QStringLiteral("an ") : QStringLiteral("a ")) + w;
}

QString thirdPerson(const QString& v)
{
    for (const char* end : {"s", "x", "z", "ch", "sh", "o"})
        if (v.endsWith(QLatin1String(end)))
            return v + QStringLiteral("es");
    if (v.size() > 1 && v.endsWith(QLatin1Char('y')) && !isVowel(v.at(v.size() - 2)))
        return v.chopped(1) + QStringLiteral("ies");
    return v + QLatin1Char('s');
}

int vowelGroups(const QString& w)
{
    int groups = 0;
    bool inVowel = false;
    for (QChar c : w) {
        const bool v = isVowel(c);
        if (v && !inVowel)
            ++groups;
        inVowel = v;
    }
    return groups;
}

QString gerund(const QString& v)
{
    const int n = v.size();
    if (v.endsWith(QLatin1String("ie")))
        return v.chopped(2) + QStringLiteral("ying");
    if (v.endsWith(QLatin1Char('e')) && !v.endsWith(QLatin1String("ee")))
        return v.chopped(1) + QStringLiteral("ing");
    if (n >= 3 && vowelGroups(v) == 1 && !isVowel(v[n - 1]) && isVowel(v[n - 2]) && !isVowel(v[n - 3])
        && !QStringLiteral("wxy").contains(v[n - 1]))
        return v + v[n - 1] + QStringLiteral("ing");
    return v + QStringLiteral("ing");
}

// A derived form's definition is made from its base word by the suffix.
Entry derive(const Row& base, const QString& d)
{
    const QString& w = base.f[0];
    const QString& pos = base.f[1];
    const bool noun = pos == QLatin1String("n.");
    const bool verb = pos == QLatin1String("v.");
    const bool adj = pos == QLatin1String("adj.");
    auto ends = [&](const char* s) { return d.endsWith(QLatin1String(s)); };
    Entry e;
    e.headword = d;
    if (ends("ly") && adj) {
        e.pos = QStringLiteral("adv.");
        e.text = QStringLiteral("in %1 manner").arg(withArticle(w));
    } else if (ends("ly") && noun) {
        e.pos = QStringLiteral("adj.");
        e.text = QStringLiteral("like %1; befitting %1").arg(withArticle(w));
    } else if (ends("ness")) {
        e.pos = QStringLiteral("n.");
        e.text = QStringLiteral("the state or quality of being %1").arg(w);
    } else if (ends("ful")) {
        e.pos = QStringLiteral("adj.");
        e.text = verb ? QStringLiteral("inclined to %1").arg(w) : QStringLiteral("full of %1").arg(w);
    } else if (ends("less")) {
        e.pos = QStringLiteral("adj.");
        e.text = QStringLiteral("having no %1; without %1").arg(w);
    } else if ((ends("er") || ends("or")) && !adj) {
        e.pos = QStringLiteral("n.");
        e.text = QStringLiteral("a person or thing that %1").arg(thirdPerson(w));
    } else if ((ends("ment") || ends("ance") || ends("tion") || ends("al")) && verb) {
        e.pos = QStringLiteral("n.");
        e.text = QStringLiteral("the act of %1; the result of this").arg(gerund(w));
    } else if (ends("ish")) {
        e.pos = QStringLiteral("adj.");
        e.text = adj ? QStringLiteral("somewhat %1").arg(w) : QStringLiteral("like %1").arg(withArticle(w));
    } else if (ends("y") && noun) {
        e.pos = QStringLiteral("adj.");
        e.text = QStringLiteral("full of or covered with %1; like %1").arg(w);
    } else {
        e.pos = pos;
        e.text = QStringLiteral("a form of");
        e.target = w;
    }
    return e;
}

Entry plainEntry(const Row& r)
{
    Entry e;
    e.headword = r.f[0];
    e.pos = r.f[1];
    e.text = r.f[2];
    return e;
}

Entry crossReference(const Row& r)
{
    Entry e;
    e.headword = r.f[0];
    e.pos = r.f[1];
    e.text = r.f[2];
    e.target = r.f[3];
    return e;
}

// Sorts by the program's collation and drops what its index checker would
// reject: neighbours that compare equal without being identical, and
// cross-references whose target is not a headword.
void sortEntries(QVector<Entry>& entries, const char* dictionary)
{
    const lexifol::IndexCollation& coll = lexifol::IndexCollation::Default();
    std::stable_sort(entries.begin(), entries.end(),
                     [&](const Entry& a, const Entry& b) { return coll.compare(a.headword, b.headword) < 0; });
    QVector<Entry> kept;
    for (const Entry& e : entries) {
        if (!kept.isEmpty() && kept.back().headword != e.headword
            && coll.compare(kept.back().headword, e.headword) == 0) {
            std::fprintf(stderr, "lexifol_mksample: %s: \"%s\" collates equal to \"%s\", left out\n", dictionary,
                         qPrintable(e.headword), qPrintable(kept.back().headword));
            continue;
        }
        kept.push_back(e);
    }
    QSet<QString> headwords;
    for (const Entry& e : kept)
        headwords.insert(e.headword);
    entries.clear();
    for (const Entry& e : kept) {
        if (!e.target.isEmpty() && !headwords.contains(e.target)) {
            std::fprintf(stderr, "lexifol_mksample: %s: cross-reference target \"%s\" missing, \"%s\" left out\n",
                         dictionary, qPrintable(e.target), qPrintable(e.headword));
            continue;
        }
        entries.push_back(e);
    }
}

QString indexValue(const Entry& e)
{
    QString v = QString::number(e.page);
    if (e.target.isEmpty())
        return v;
    QString t = e.target;
    const bool needsQuotes = std::any_of(t.begin(), t.end(), [](QChar c) {
        return c.unicode() <= 0x20 || c == QLatin1Char('>') || c == QLatin1Char('"');
    });
    if (needsQuotes)
        t = QLatin1Char('"') + t.replace(QLatin1String("\""), QLatin1String("\"\"")) + QLatin1Char('"');
    return v + QLatin1Char('>') + t;
}

QString withoutAccents(const QString& s)
{
    QString out;
    for (QChar c : s.normalized(QString::NormalizationForm_D))
        if (c.category() != QChar::Mark_NonSpacing)
            out += c.toLower();
    return out;
}

} // namespace

QVector<Entry> sampleEntries()
{
    QVector<Entry> out;
    for (const Row& r : parseTable(mksample::kBaseWords)) {
        out.push_back(plainEntry(r));
        for (const QString& d : r.f[3].split(QLatin1Char(','), Qt::SkipEmptyParts))
            out.push_back(derive(r, d.trimmed()));
    }
    for (const Row& r : parseTable(mksample::kLoanAndCompoundWords)) {
        out.push_back(plainEntry(r));
        for (const QString& d : r.f[3].split(QLatin1Char(','), Qt::SkipEmptyParts))
            out.push_back(derive(r, d.trimmed()));
    }
    for (const Row& r : parseTable(mksample::kCrossReferences))
        out.push_back(crossReference(r));
    sortEntries(out, "Sample");
    return out;
}

// The one-file-per-page dictionary is a concise one: base words with the
// first sense only, a few loan words, a few cross-references; everything
// must survive the 8-bit index.
QVector<Entry> pagesEntries()
{
    const lexifol::AnsiCodec& ansi = lexifol::Ansi();
    auto encodable = [&](const QString& s) { return ansi.decode(ansi.encode(s)) == s; };
    // Every other base word, and the words that tests and cross-references need.
    const QStringList needed = {QStringLiteral("apple"), QStringLiteral("color"), QStringLiteral("gray"),
                                QStringLiteral("go"),    QStringLiteral("child"), QStringLiteral("mouse")};
    QVector<Entry> out;
    const QVector<Row> base = parseTable(mksample::kBaseWords);
    for (int i = 0; i < base.size(); ++i) {
        if (i % 2 != 0 && !needed.contains(base[i].f[0]))
            continue;
        Entry e = plainEntry(base[i]);
        e.text = e.text.section(QLatin1Char(';'), 0, 0);
        out.push_back(e);
    }
    const QStringList chosen = {QStringLiteral("café"),    QStringLiteral("façade"),     QStringLiteral("naïve"),
                                QStringLiteral("o'clock"), QStringLiteral("well-being"), QStringLiteral("ice cream"),
                                QStringLiteral("résumé"),  QStringLiteral("resume")};
    for (const Row& r : parseTable(mksample::kLoanAndCompoundWords))
        if (chosen.contains(r.f[0]) && encodable(r.f[0] + r.f[2]))
            out.push_back(plainEntry(r));
    const QStringList refs = {QStringLiteral("cafe"),  QStringLiteral("colour"),   QStringLiteral("grey"),
                              QStringLiteral("went"),  QStringLiteral("children"), QStringLiteral("ice-cream"),
                              QStringLiteral("naive"), QStringLiteral("mice")};
    for (const Row& r : parseTable(mksample::kCrossReferences))
        if (refs.contains(r.f[0]) && encodable(r.f[0] + r.f[3]))
            out.push_back(crossReference(r));
    sortEntries(out, "Pages");
    return out;
}

QStringList indexLines(const QVector<Entry>& entries, const char* dictionary)
{
    QStringList lines;
    for (const Entry& e : entries)
        lines << e.headword + QLatin1Char('\t') + indexValue(e);
    // The checker wants ascending headwords. The lookup bisects whole lines;
    // their order may only differ where two headwords differ in accents
    // alone ("cafe" before "café", while "cafe<TAB>3>café" sorts after
    // "café<TAB>3"), which moves nothing for any other key.
    const lexifol::IndexCollation& coll = lexifol::IndexCollation::Default();
    for (int i = 1; i < lines.size(); ++i) {
        const QString& a = entries[i - 1].headword;
        const QString& b = entries[i].headword;
        const bool headOk = a == b || coll.compare(a, b) < 0;
        const bool lineOk = lines[i - 1] == lines[i] || coll.compare(lines[i - 1], lines[i]) < 0
            || withoutAccents(a) == withoutAccents(b);
        if (!lineOk || !headOk)
            fail(QStringLiteral("%1: index out of order at line %2: \"%3\" before \"%4\"")
                     .arg(QLatin1String(dictionary))
                     .arg(i + 1)
                     .arg(lines[i - 1], lines[i]));
    }
    return lines;
}

QString exampleOf(const QVector<Entry>& entries, const QString& word)
{
    for (const Entry& e : entries)
        if (e.headword == word)
            return QStringLiteral("%1 is on page %2").arg(word).arg(e.page);
    return entries.isEmpty() ? QString()
                             : QStringLiteral("%1 is on page %2").arg(entries[0].headword).arg(entries[0].page);
}

} // namespace mksample
