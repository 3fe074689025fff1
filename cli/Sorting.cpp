#include "cli/Sorting.h"

#include "base/CodePage.h"
#include "base/TextFile.h"

#include <algorithm>
#include <numeric>
#include <thread>

namespace lexifol::cli {

namespace {

// An entry by the first bytes of its sort key: most comparisons end on the
// number, and the keys themselves are never held.
#pragma pack(push, 4)
struct Keyed {
    quint64 prefix;
    qint32 row : 31;
    quint32 whole : 1; // the key fitted: equal prefixes are equal keys
};
#pragma pack(pop)
static_assert(sizeof(Keyed) == 12);

class ByKey
{
public:
    ByKey(const IndexList& list, const IndexCollation& c)
        : list_(list)
        , c_(c)
    { }
    // <0, 0, >0 by headword alone.
    int order(const Keyed& a, const Keyed& b) const
    {
        if (a.prefix != b.prefix)
            return a.prefix < b.prefix ? -1 : 1;
        // Equal prefixes hold no key's end, or both end there together.
        return a.whole ? 0 : c_.compare(list_.headword(a.row), list_.headword(b.row));
    }
    // The entries' own order breaks ties: the sort is stable.
    bool operator()(const Keyed& a, const Keyed& b) const
    {
        const int o = order(a, b);
        return o != 0 ? o < 0 : a.row < b.row;
    }

private:
    const IndexList& list_;
    const IndexCollation& c_;
};

bool MakeKeys(const IndexList& list, const IndexCollation& c, std::vector<Keyed>& out, int from, int to)
{
    for (int i = from; i < to; ++i) {
        bool whole = false;
        const std::optional<quint64> p = c.sortKeyPrefix(list.headword(i), &whole);
        if (!p)
            return false;
        out[size_t(i)] = {*p, i, whole ? 1u : 0u};
    }
    return true;
}

} // namespace

SortedIndex SortIndex(const IndexList& list, const IndexCollation& collation)
{
    SortedIndex r;
    const int n = list.count(), half = n / 2;
    std::vector<Keyed> keyed(static_cast<size_t>(n));
    const IndexCollation other(collation.locale()); // a collator serves one thread at a time
    const ByKey lowerLess(list, collation), upperLess(list, other);
    bool upperOk = true;
    std::thread worker([&] {
        upperOk = MakeKeys(list, other, keyed, half, n);
        if (upperOk)
            std::sort(keyed.begin() + half, keyed.end(), upperLess);
    });
    const bool lowerOk = MakeKeys(list, collation, keyed, 0, half);
    if (lowerOk)
        std::sort(keyed.begin(), keyed.begin() + half, lowerLess);
    worker.join();
    r.order.resize(size_t(n));
    if (!lowerOk || !upperOk) {
        std::iota(r.order.begin(), r.order.end(), 0);
        std::stable_sort(r.order.begin(), r.order.end(),
                         [&](int a, int b) { return collation.compare(list.headword(a), list.headword(b)) < 0; });
        for (int i = 1; i < n; ++i) {
            const QStringView p = list.headword(r.order[size_t(i - 1)]), c = list.headword(r.order[size_t(i)]);
            if (p != c && collation.compare(p, c) == 0)
                r.equalAt.push_back(i);
        }
        return r;
    }
    // The halves merged straight into the order: no third copy of the keys.
    auto a = keyed.begin(), aEnd = keyed.begin() + half, b = aEnd, bEnd = keyed.end();
    const Keyed* previous = nullptr;
    for (int i = 0; i < n; ++i) {
        const Keyed& k = (b == bEnd || (a != aEnd && !lowerLess(*b, *a))) ? *a++ : *b++;
        r.order[size_t(i)] = k.row;
        if (previous && previous->prefix == k.prefix && lowerLess.order(*previous, k) == 0
            && list.headword(previous->row) != list.headword(k.row))
            r.equalAt.push_back(i);
        previous = &k;
    }
    return r;
}

EncodedLines::EncodedLines(const IndexList& list, const std::vector<int>& order, const QString& encoding)
    : list_(list)
    , order_(order)
    , kind_(encoding == QLatin1StringView("utf16")      ? 0
                : encoding == QLatin1StringView("utf8") ? 1
                                                        : 2)
{ }

bool EncodedLines::next(QByteArray& piece)
{
    piece.clear();
    if (!started_) {
        started_ = true;
        piece = kind_ == 0 ? QByteArray("\xFF\xFE", 2) : kind_ == 1 ? QByteArray("\xEF\xBB\xBF") : QByteArray();
        if (!piece.isEmpty())
            return true;
    }
    if (at_ >= order_.size())
        return false;
    // Converted a batch at a time: no copy of the whole text is ever held.
    QString batch;
    while (at_ < order_.size() && batch.size() < (1 << 19)) {
        batch += list_.line(order_[at_++]);
        batch += QLatin1StringView("\r\n");
    }
    if (kind_ == 0)
        AppendUtf16Le(piece, batch);
    else
        piece = kind_ == 1 ? batch.toUtf8() : Ansi().encode(batch);
    return true;
}

} // namespace lexifol::cli
