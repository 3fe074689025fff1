#include "library/PageIndexMaker.h"

#include "djvu/ArticleStarts.h"
#include "djvu/PageSelection.h"
#include "djvu/RunningHead.h"

#include <algorithm>

namespace lexifol {

namespace {

// Weights of the evidence: the head's first guide word and the first
// article each count one; the second article is a fallback for a first
// line taken wrongly.
constexpr double kHeadWeight = 1.0, kArticleWeight = 1.0, kSecondArticleWeight = 0.25;
// A head of one guide word may name the page's first word or its last.
constexpr double kOneGuideWeight = 0.5;

// At most one letter changed, added or dropped.
bool OneEdit(const QString& a, const QString& b)
{
    if (std::abs(a.size() - b.size()) > 1)
        return false;
    qsizetype i = 0;
    while (i < a.size() && i < b.size() && a[i] == b[i])
        ++i;
    qsizetype ea = a.size(), eb = b.size();
    while (ea > i && eb > i && a[ea - 1] == b[eb - 1])
        --ea, --eb;
    return ea - i <= 1 && eb - i <= 1;
}

// The same word read twice: OCR's usual confusions ("m" and "rn", one
// letter misread in a longer word) aside.
bool Agree(const IndexCollation& c, const QString& a, const QString& b)
{
    if (c.compare(a, b) == 0)
        return true;
    QString x = a.toLower(), y = b.toLower();
    x.replace(QStringLiteral("rn"), QStringLiteral("m"));
    y.replace(QStringLiteral("rn"), QStringLiteral("m"));
    if (x == y || (std::min(x.size(), y.size()) >= 5 && OneEdit(x, y)))
        return true;
    // A headword of several words may carry a slip in each ("Roceella
    // tinetoria").
    const QStringList xs = x.split(u' '), ys = y.split(u' ');
    if (xs.size() < 2 || xs.size() != ys.size())
        return false;
    for (qsizetype i = 0; i < xs.size(); ++i)
        if (xs[i] != ys[i] && (std::min(xs[i].size(), ys[i].size()) < 5 || !OneEdit(xs[i], ys[i])))
            return false;
    return true;
}

// The longest run of the page's article starts that ascends: a start out
// of order with the rest is a line taken for an article wrongly.
QList<djvu::ArticleStart> Ascending(const QList<djvu::ArticleStart>& starts, const IndexCollation& c)
{
    const int n = int(starts.size());
    QList<int> length(n, 1), back(n, -1);
    int end = -1;
    for (int i = 0; i < n; ++i) {
        for (int k = 0; k < i; ++k)
            if (MayPrecede(c, starts[k].headword, starts[i].headword) && length[k] + 1 > length[i])
                length[i] = length[k] + 1, back[i] = k;
        if (end < 0 || length[i] > length[end])
            end = i;
    }
    QList<djvu::ArticleStart> out;
    for (int i = end; i >= 0; i = back[i])
        out.prepend(starts[i]);
    return out;
}

// Adds a reading, or its weight to the same word read elsewhere on the
// page. The body prints the headword as the index wants it; a reading of
// another article (`exact`) is the same word only when spelt the same.
void Add(PageProposal& p, const IndexCollation& c, const QString& word, double weight, bool body, bool exact = false)
{
    if (word.isEmpty())
        return;
    for (PageCandidate& k : p.candidates)
        if (exact ? c.compare(k.word, word) == 0 : Agree(c, k.word, word)) {
            if (body && !k.body && !exact) {
                if (c.compare(k.word, word) != 0)
                    k.variant = k.word;
                k.word = word, k.body = true;
            }
            k.weight += weight;
            return;
        }
    p.candidates.append({word, weight, body, QString(), QString()});
}

// The page's words, letter case and punctuation aside, each between spaces.
QString PageWords(const djvu::TextLayer& layer)
{
    QString out = QStringLiteral(" ");
    for (const PageWord& w : layer.words)
        out += WithoutPunctuation(w.text).toLower() + u' ';
    return out;
}

QString Quote(const QString& w)
{
    return QStringLiteral("\u201c%1\u201d").arg(w);
}

// The head's reading in the letter case the body prints it in: the
// index shows "Leather jacket", not "LEATHER JACKET".
QString InCaseOf(const QString& reading, const QString& body)
{
    QString out = reading.toLower();
    for (qsizetype i = 0; i < out.size() && i < body.size(); ++i)
        if (body[i].isUpper())
            out[i] = out[i].toUpper();
    return out;
}

// Of two readings of one word (head and body), the one the page repeats
// (in its article, in the articles after) is the one OCR read right; on a
// tie the body's, with a doubt.
void CheckSpelling(QList<PageCandidate>& candidates, const QString& words)
{
    const auto count = [&](const QString& w) { return words.count(u' ' + w.toLower() + u' '); };
    for (PageCandidate& k : candidates) {
        if (!k.body || k.variant.isEmpty())
            continue;
        const qsizetype a = count(k.word), b = count(k.variant);
        if (b > a)
            std::swap(k.word, k.variant), k.word = InCaseOf(k.word, k.variant);
        else if (a == b)
            k.unsure = QStringLiteral("read %1 in the body and %2 in the running head")
                           .arg(Quote(k.word), Quote(k.variant));
    }
}

// A capital after a small letter ("AceraGeae") or a sign among the
// letters ("bla\u00a2k"): no headword is printed so.
bool OddShape(const QString& word)
{
    for (qsizetype i = 0; i < word.size(); ++i) {
        const QChar c = word[i];
        if (!c.isLetter() && c != u' ' && c != u'-' && c != u'\'')
            return true;
        if (i > 0 && c.isUpper() && word[i - 1].isLower())
            return true;
    }
    return false;
}

// Letters OCR takes for one another: shapes alike, or a speck read as an
// accent ("Déadborn").
bool Slip(QChar a, QChar b)
{
    const auto base = [](QChar c) {
        const QString d = c.decomposition();
        return d.isEmpty() ? c : d.front();
    };
    if (base(a) == base(b))
        return true;
    static const QStringList alike{QStringLiteral("il1tfj"), QStringLiteral("eoca"), QStringLiteral("nuh"),
                                   QStringLiteral("bh"), QStringLiteral("vy")};
    return std::any_of(alike.begin(), alike.end(), [&](const QString& g) { return g.contains(a) && g.contains(b); });
}

// A headword read once on the page, where the page prints a word one such
// slip away: another reading of it ("Moiding board" where the next article
// reads "Molding machine"). Empty when there is none.
QString PageReading(const QString& headword, const QString& words, int* seen)
{
    const auto count = [&](const QString& w) { return int(words.count(u' ' + w + u' ')); };
    QStringList tokens = headword.split(u' ');
    for (QString& token : tokens) {
        const QString t = WithoutPunctuation(token).toLower();
        if (t.size() < 5 || t.size() != token.size() || count(t) > 1)
            continue;
        for (qsizetype at = words.indexOf(u' '); at >= 0 && at + 1 < words.size();) {
            const qsizetype end = words.indexOf(u' ', at + 1);
            const QStringView u = QStringView(words).mid(at + 1, end - at - 1);
            at = end;
            if (u.size() != t.size() || u == t)
                continue;
            qsizetype differ = 0, where = 0;
            for (qsizetype i = 0; i < t.size() && differ < 2; ++i)
                if (t[i] != u[i])
                    ++differ, where = i;
            if (differ == 1 && Slip(t[where], u[where])) {
                *seen = count(u.toString());
                token = InCaseOf(u.toString(), token);
                return tokens.join(u' ');
            }
        }
    }
    return QString();
}

// The first article, when the page prints its word otherwise elsewhere:
// read twice there and once here, the page's spelling is taken; else it is
// another reading, for the order to choose between.
void CheckAgainstPage(QList<PageCandidate>& candidates, const QString& first, const QString& words)
{
    for (PageCandidate& k : candidates) {
        if (!k.body || !k.variant.isEmpty() || k.word != first)
            continue;
        int seen = 0;
        k.variant = PageReading(k.word, words, &seen);
        if (seen > 1) {
            std::swap(k.word, k.variant);
            k.unsure = QStringLiteral("read %1 here and %2 elsewhere on the page").arg(Quote(k.variant), Quote(k.word));
        } else if (OddShape(k.word)) {
            k.unsure = QStringLiteral("the first article reads %1, a shape OCR gives misread letters")
                           .arg(Quote(k.word));
        }
    }
}

QString Headword(const QString& guide)
{
    return djvu::CanBeHeadword(guide.section(u' ', 0, 0)) ? guide : QString();
}

} // namespace

namespace {

// What the page says of itself: its guide words and its article starts.
struct Readings {
    QStringList guides;
    QList<djvu::ArticleStart> starts; // ascending
    QString passedOver;               // a first article left out of order with the next ones
    bool passedMisread = false;       // left out for a digit among its letters
};

// One stretch of words in the head is one headword ("black and white"),
// unless it parts into the page's first and last article: two guide words
// set close.
QStringList SplitCloseGuides(const QStringList& guides, const Readings& r, const IndexCollation& c)
{
    if (guides.size() != 1 || r.starts.size() < 2 || Agree(c, guides[0], r.starts.first().headword))
        return guides;
    const QStringList words = guides[0].split(u' ');
    for (qsizetype k = 1; k < words.size(); ++k) {
        const QString left = words.mid(0, k).join(u' '), right = words.mid(k).join(u' ');
        if (Agree(c, left, r.starts.first().headword) && Agree(c, right, r.starts.last().headword))
            return {left, right};
    }
    return guides;
}

Readings Read(const djvu::TextLayer& layer, const IndexCollation& c)
{
    Readings r;
    const QList<int> head = djvu::RunningHeadLines(layer), foot = djvu::FootLines(layer);
    r.guides = djvu::GuideWords(layer, head);
    if (r.guides.isEmpty())
        r.guides = djvu::GuideWords(layer, foot);
    const auto order = [&c](QStringView a, QStringView b) { return c.compare(a, b); };
    QList<djvu::ArticleStart> all = djvu::ArticleStarts(layer, head + foot + djvu::NoiseLines(layer), order);
    // A first article read with digits in it is no word to index; the page
    // goes on from the next one, and the maker looks.
    if (!all.isEmpty() && all.first().misread)
        r.passedOver = all.first().headword, r.passedMisread = true;
    all.removeIf([](const djvu::ArticleStart& a) { return a.misread; });
    r.starts = Ascending(all, c);
    // A first article misread out of order with the next ones is still the
    // first when the head reads it alike ("Roceella" before "Roccellin").
    if (!all.isEmpty() && !r.starts.isEmpty() && all.first().word != r.starts.first().word) {
        if (!r.guides.isEmpty() && Agree(c, r.guides.first(), all.first().headword))
            r.starts.prepend(all.first());
        else
            r.passedOver = all.first().headword;
    }
    r.guides = SplitCloseGuides(r.guides, r, c);
    return r;
}

} // namespace

QString LetterByLetter(const QString& word)
{
    QString out = word;
    out.removeIf([](QChar ch) { return ch.category() == QChar::Punctuation_Dash || ch == u'\'' || ch == u'\u2019'; });
    return out;
}

bool MayPrecede(const IndexCollation& c, const QString& a, const QString& b)
{
    return c.compare(a, b) <= 0 || c.compare(LetterByLetter(a), LetterByLetter(b)) <= 0;
}

PageProposal ProposePage(const djvu::TextLayer& layer, int page, const IndexCollation& c)
{
    PageProposal p;
    p.page = page;
    if (!layer.present || layer.words.isEmpty()) {
        p.doubt = QStringLiteral("no text on the page");
        return p;
    }
    p.lineHeight = djvu::MeasureLines(layer).height;
    const Readings r = Read(layer, c);
    const QList<djvu::ArticleStart>& starts = r.starts;
    const QString first = starts.isEmpty() ? QString() : starts.first().headword;
    p.lastArticle = starts.isEmpty() ? QString() : starts.last().headword;
    for (qsizetype i = 0; i < std::min<qsizetype>(2, starts.size()); ++i)
        p.firstArticles << starts[i].headword;
    p.passedOver = r.passedOver;
    QString firstGuide = Headword(r.guides.value(0));
    if (r.guides.size() > 1)
        p.lastGuide = Headword(r.guides.last());
    // One guide word: some dictionaries head a right-hand page with its last
    // word. The page's own articles tell which it is.
    if (r.guides.size() == 1 && starts.size() > 1 && Agree(c, firstGuide, p.lastArticle)
        && !Agree(c, firstGuide, first))
        p.lastGuide = firstGuide, firstGuide.clear();
    Add(p, c, firstGuide, r.guides.size() > 1 ? kHeadWeight : kOneGuideWeight, false);
    Add(p, c, first, kArticleWeight, true);
    if (starts.size() > 1)
        Add(p, c, starts[1].headword, kSecondArticleWeight, true, true);
    const QString words = PageWords(layer);
    CheckSpelling(p.candidates, words);
    CheckAgainstPage(p.candidates, first, words);
    // Without a head to tell, a first article that OCR may have misread is
    // left out for the next one: the maker looks.
    if (!r.passedOver.isEmpty() && r.guides.isEmpty())
        for (PageCandidate& k : p.candidates)
            if (k.unsure.isEmpty())
                k.unsure = (r.passedMisread
                                ? QStringLiteral(
                                    "the first article reads \u201c%1\u201d, with a digit among its letters")
                                : QStringLiteral(
                                    "the first article reads \u201c%1\u201d, out of order with the next ones"))
                               .arg(r.passedOver);
    p.conflict = !firstGuide.isEmpty() && !first.isEmpty() && !Agree(c, firstGuide, first);
    std::stable_sort(p.candidates.begin(), p.candidates.end(),
                     [](const PageCandidate& a, const PageCandidate& b) { return a.weight > b.weight; });
    // On a tie the body's reading (added after the head's) is read more surely.
    if (p.candidates.size() > 1 && p.candidates[0].weight == p.candidates[1].weight && p.candidates[1].body)
        std::swap(p.candidates[0], p.candidates[1]);
    for (const PageCandidate& k : p.candidates)
        (p.word.isEmpty() ? p.word : p.others.emplace_back()) = k.word;
    if (p.candidates.isEmpty())
        p.doubt = QStringLiteral("no word that can begin an entry");
    return p;
}

QString ReviewFilePath(const QString& dictionaryFolder, const QString& name)
{
    return dictionaryFolder + name + QStringLiteral(".review.tsv");
}

QString ReviewHeader()
{
    return QStringLiteral("page\tproposal\tother candidates\twhy\n");
}

QByteArray ReviewFileBytes(const QList<PageProposal>& pages)
{
    QString out = ReviewHeader();
    for (const PageProposal& p : pages)
        if (!p.doubt.isEmpty())
            out += QStringLiteral("%1\t%2\t%3\t%4\n").arg(p.page).arg(p.word, p.others.join(u' '), p.doubt);
    return out.toUtf8();
}

int ReviewCount(const QByteArray& review)
{
    return std::max<int>(0, int(review.count('\n')) - 1);
}

} // namespace lexifol
