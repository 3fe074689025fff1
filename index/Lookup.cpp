#include "index/Lookup.h"
#include "index/IndexOps.h"

namespace lexifol {

namespace {

// The text an index line is found by: the headword of an entry, the whole
// line of a second index.
QStringView LineWord(const IndexList& list, int row)
{
    const QStringView h = list.headword(row);
    return h.isEmpty() ? list.line(row) : h;
}

// The bisection lands on the first line not before the text; unless that
// line is the text's own, the page holding the text is the one before.
int PageRow(const IndexList& list, int at, QStringView key, const IndexCollation& c)
{
    if (at < list.count() && c.compare(LineWord(list, at), key) == 0) {
        // Several pages may begin with the word: it starts on the first.
        while (at > 0 && c.compare(LineWord(list, at - 1), key) == 0)
            --at;
        return at;
    }
    return qMax(at - 1, 0);
}

// A line holds its page after a TAB, which sorts before the end of a
// shorter text: "café" lands on "cafe<TAB>1", the line before "café<TAB>2".
// Among the lines from there whose words differ from the text only by
// accents and case, the one whose word equals it (accents counted; case
// too when `ordinal`); -1 for none.
int ExactAmong(const IndexList& list, int at, QStringView key, const IndexCollation& c, bool ordinal)
{
    constexpr int kMostVariants = 64;
    for (int i = at; i < list.count() && i < at + kMostVariants; ++i) {
        const QStringView word = LineWord(list, i);
        if (!c.sameLetters(word, key))
            break;
        if (ordinal ? word == key : c.compare(word, key) == 0)
            return i;
    }
    return -1;
}

int Position(const LookupIndexes& ix, const IndexList& list, QStringView key)
{
    int at = FindPosition(list, key, ix.collation);
    if (const int exact = ExactAmong(list, at, key, ix.collation, false); exact >= 0)
        at = exact;
    return ix.pageIndex ? PageRow(list, at, key, ix.collation) : at;
}

} // namespace

int SearchRow(const LookupIndexes& ix, QStringView text)
{
    if (ix.second.isEmpty())
        return Position(ix, ix.first, text);
    const QString key = NormaliseHeadword(text, ix.rules);
    return key.isEmpty() ? -1 : Position(ix, ix.second, key);
}

std::optional<int> FollowCrossReference(const LookupIndexes& ix, int row)
{
    if (row < 0 || row >= ix.first.count())
        return row;
    const QStringList parts = SplitValue(ix.first.value(row));
    if (parts.size() < 2)
        return row;
    const int target = SearchRow(ix, parts.at(1));
    if (target < 0)
        return std::nullopt;
    return target;
}

std::optional<QString> EntryPage(const IndexList& first, int row)
{
    if (row < 0 || row >= first.count())
        return std::nullopt;
    QStringList parts = SplitValue(first.value(row));
    if (parts.isEmpty())
        return std::nullopt;
    return parts.takeFirst();
}

std::optional<int> FindExactRow(const LookupIndexes& ix, QStringView headword)
{
    if (headword.isEmpty())
        return std::nullopt;
    if (ix.pageIndex) {
        const int row = SearchRow(ix, headword);
        if (row < 0 || row >= ix.first.count())
            return std::nullopt;
        return row;
    }
    if (!ix.second.isEmpty()) {
        const QString key = NormaliseHeadword(headword, ix.rules);
        if (key.isEmpty())
            return std::nullopt;
        const int row = ExactAmong(ix.second, FindPosition(ix.second, key, ix.collation), key, ix.collation, true);
        return row < 0 ? std::nullopt : std::optional<int>(row);
    }
    const int row = ExactAmong(ix.first, FindPosition(ix.first, headword, ix.collation), headword, ix.collation, true);
    return row < 0 ? std::nullopt : std::optional<int>(row);
}

PageStep StepPage(const IndexList& first, int selected, bool forward)
{
    PageStep step;
    const int last = first.count() - 1;
    if (selected < 0 || selected > last || selected == (forward ? last : 0))
        return step;
    const std::optional<QString> current = EntryPage(first, selected);
    if (!current) {
        step.failed = true;
        return step;
    }
    for (int i = selected; forward ? i <= last : i >= 0; i += forward ? 1 : -1) {
        const std::optional<QString> page = EntryPage(first, i);
        if (!page) {
            step.failed = true;
            return step;
        }
        if (*page != *current) {
            step.row = i;
            step.page = *page;
            return step;
        }
    }
    return step;
}

} // namespace lexifol
