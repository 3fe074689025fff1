#include "library/PageIndexMaker.h"

#include "djvu/PageSelection.h"
#include "djvu/RunningHead.h"

#include <algorithm>

namespace lexifol {

namespace {

// A word that can begin an entry: letters, not a page number, a roman
// numeral, a lone section letter or a piece of a hyphenated word.
bool CanBeHeadword(const QString& raw)
{
    if (raw.startsWith(u'-') || raw.endsWith(u'-') || raw.endsWith(u'\u00ad'))
        return false;
    const QString w = WithoutPunctuation(raw);
    if (w.size() < 2 || djvu::IsPageNumber(w))
        return false;
    // A digit inside a word is OCR's reading of an l or an I.
    return w.front().isLetter() && std::none_of(w.begin(), w.end(), [](QChar c) { return c.isDigit(); });
}

QString Clean(const QString& raw)
{
    return WithoutPunctuation(raw);
}

// The first word of the first article in the first column: the body's
// lines in the left half, the first that is not indented (a page often
// begins with the end of the previous article, indented).
QString FirstColumnWord(const djvu::TextLayer& layer, const QList<int>& head)
{
    const int half = layer.pageSize.width() / 2;
    QList<int> column;
    for (int i = 0; i < layer.lines.size(); ++i)
        if (!head.contains(i) && layer.lines[i].count > 0 && layer.lines[i].box.left() < half)
            column << i;
    if (column.isEmpty())
        return {};
    std::sort(column.begin(), column.end(), [&](int a, int b) { return layer.lines[a].box.top() < layer.lines[b].box.top(); });
    int margin = layer.pageSize.width();
    for (int i : column)
        margin = std::min(margin, layer.lines[i].box.left());
    // Indented: further in than a fiftieth of the page, or than half a line's height.
    const int indent = std::max(layer.pageSize.width() / 50, layer.lines[column.first()].box.height() / 2);
    for (int i : column) {
        if (layer.lines[i].box.left() > margin + indent)
            continue;
        const QString first = layer.words[layer.lines[i].first].text;
        if (CanBeHeadword(first))
            return Clean(first);
    }
    return {};
}

} // namespace

PageProposal ProposePage(const djvu::TextLayer& layer, int page)
{
    PageProposal p;
    p.page = page;
    if (!layer.present || layer.words.isEmpty()) {
        p.doubt = QStringLiteral("no text on the page");
        return p;
    }
    const QList<int> head = djvu::RunningHeadLines(layer);
    // The head's words other than the page number: the guide words, as read.
    QStringList guides;
    for (int i : head)
        for (int w = layer.lines[i].first; w < layer.lines[i].first + layer.lines[i].count; ++w)
            if (const QString clean = Clean(layer.words[w].text); !clean.isEmpty() && !djvu::IsPageNumber(clean))
                guides << layer.words[w].text;
    const QString first = !guides.isEmpty() && CanBeHeadword(guides.first()) ? Clean(guides.first()) : QString();
    if (guides.size() > 1 && CanBeHeadword(guides.last()))
        p.lastGuide = Clean(guides.last());
    const QString column = FirstColumnWord(layer, head);
    if (!first.isEmpty()) {
        p.word = first;
        // The head and the first article should name the same word: one of
        // them was misread when they do not.
        if (!column.isEmpty() && column.compare(first, Qt::CaseInsensitive) != 0) {
            p.others << column;
            p.conflict = true;
        }
    } else if (!column.isEmpty()) {
        p.word = column;   // no head, or its first word unreadable
    } else {
        p.doubt = QStringLiteral("no word that can begin an entry");
    }
    return p;
}

void CheckProposals(QList<PageProposal>& pages, const IndexCollation& c)
{
    auto before = [&](const QString& a, const QString& b) { return c.compare(a, b) < 0; };
    auto nextWord = [&](qsizetype i) -> const PageProposal* {
        for (qsizetype k = i + 1; k < pages.size(); ++k)
            if (!pages[k].word.isEmpty())
                return &pages[k];
        return nullptr;
    };
    const PageProposal* previous = nullptr;
    for (qsizetype i = 0; i < pages.size(); ++i) {
        PageProposal& p = pages[i];
        if (p.word.isEmpty())
            continue;
        // Not before the previous page's first word, nor before the last word
        // its running head names; not after the next page's word, when that
        // one agrees with the page before. The first page is taken as it is.
        const QString* low = previous ? (previous->lastGuide.isEmpty() ? &previous->word : &previous->lastGuide) : nullptr;
        const PageProposal* next = nextWord(i);
        const QString* high = next && previous && !before(next->word, previous->word) ? &next->word : nullptr;
        auto fits = [&](const QString& w) {
            return (!previous || (!before(w, previous->word) && !before(w, *low))) && (!high || !before(*high, w));
        };
        if (p.conflict) {
            // The one reading that keeps the order is taken; when both do,
            // the maker decides.
            QStringList fitting;
            for (const QString& w : QStringList{p.word} + p.others)
                if (fits(w))
                    fitting << w;
            if (fitting.size() == 1) {
                p.others = QStringList{p.word} + p.others;
                p.others.removeAll(fitting.first());
                p.word = fitting.first();
            } else if (fitting.size() > 1) {
                // The body's bold headword is read more surely than a head
                // in small capitals: proposed, and the maker asked.
                p.doubt = QStringLiteral("the running head says \u201c%1\u201d, the first article \u201c%2\u201d")
                              .arg(p.word, p.others.value(0));
                std::swap(p.word, p.others[0]);
            }
        }
        if (p.doubt.isEmpty() && !fits(p.word)) {
            if (const auto alt = std::find_if(p.others.begin(), p.others.end(), fits); alt != p.others.end()) {
                const QString chosen = *alt;
                p.others.erase(alt);
                p.others.prepend(p.word);
                p.word = chosen;
            } else if (previous && before(p.word, previous->word) && next && !before(next->word, p.word)
                       && before(next->word, previous->word)) {
                p.restart = true;   // the page after goes on from it: a new alphabet
            } else if (previous && (before(p.word, previous->word) || before(p.word, *low))) {
                p.doubt = QStringLiteral("sorts before \u201c%1\u201d of page %2").arg(*low).arg(previous->page);
            } else if (high) {
                p.doubt = QStringLiteral("sorts after \u201c%1\u201d of page %2").arg(*high).arg(next->page);
            }
        }
        if (p.doubt.isEmpty())
            previous = &p;
    }
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
