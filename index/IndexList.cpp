#include "index/IndexList.h"

#include <QStringList>

#include <climits>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace lexifol {

namespace {

constexpr char16_t kSeparator = u'\n';
constexpr char16_t kLineSeparator = 0x2028;

// Units that may end a line or the text: NUL, LF, CR (and, cheaply, the
// other C0 controls up to CR, which the slow path copies back) and U+2028.
inline bool MaybeBreak(char16_t c)
{
    return c <= 0x0D || c == kLineSeparator;
}

// First unit at or after `from` that may be a break; `end` if none.
qsizetype ScanToBreak(const char16_t* p, qsizetype from, qsizetype end)
{
    qsizetype i = from;
#if defined(__SSE2__)
    const __m128i thirteen = _mm_set1_epi16(0x0D);
    const __m128i ls = _mm_set1_epi16(short(kLineSeparator));
    const __m128i zero = _mm_setzero_si128();
    while (i + 8 <= end) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
        // unsigned v <= 13  <=>  saturating v - 13 == 0
        const __m128i low = _mm_cmpeq_epi16(_mm_subs_epu16(v, thirteen), zero);
        const __m128i hit = _mm_or_si128(low, _mm_cmpeq_epi16(v, ls));
        const int mask = _mm_movemask_epi8(hit);
        if (mask)
            return i + (__builtin_ctz(unsigned(mask)) >> 1);
        i += 8;
    }
#endif
    while (i < end && !MaybeBreak(p[i]))
        ++i;
    return i;
}

} // namespace

ListIndexError::ListIndexError(long long position)
    : std::out_of_range(QStringLiteral("List index out of bounds (%1)").arg(position).toStdString())
    , pos_(position)
{
}

void IndexList::clear()
{
    QString().swap(text_);
    std::vector<uint32_t>().swap(offsets_);
}

void IndexList::swap(IndexList& other) noexcept
{
    text_.swap(other.text_);
    offsets_.swap(other.offsets_);
}

QStringView IndexList::line(long long pos) const
{
    if (pos < 0 || pos >= count())
        throw ListIndexError(pos);
    const size_t i = size_t(pos);
    return QStringView(text_.constData() + offsets_[i], qsizetype(offsets_[i + 1] - offsets_[i] - 1));
}

QStringView IndexList::headword(long long pos) const
{
    const QStringView l = line(pos);
    const qsizetype tab = l.indexOf(u'\t');
    return tab < 0 ? QStringView() : l.left(tab);
}

QStringView IndexList::value(long long pos) const
{
    if (pos < 0)
        return QStringView();
    const QStringView l = line(pos);
    const qsizetype tab = l.indexOf(u'\t');
    // Without a TAB the headword is empty and the value starts at the
    // second character, as if the first one were the TAB.
    const qsizetype start = tab < 0 ? 1 : tab + 1;
    return l.size() > start ? l.mid(start) : QStringView();
}

void IndexList::setText(QString text)
{
    clear();
    // uint32 offsets and an int count: the text must stay below both.
    if (text.size() >= qsizetype(INT_MAX))
        throw std::length_error("Index file too large");
    if (text.isEmpty())
        return;

    char16_t* p = reinterpret_cast<char16_t*>(text.data());   // detaches: we own it
    qsizetype end = text.size();
    std::vector<uint32_t> offsets;
    offsets.reserve(size_t(end / 32) + 2);
    offsets.push_back(0);

    // Cut and compact in one pass: `w` trails `r` once a break of two or
    // more units (CR LF, LF U+2028, ...) has been squeezed to one separator.
    qsizetype r = 0, w = 0;
    while (r < end) {
        const qsizetype s = ScanToBreak(p, r, end);
        if (w != r && s > r)
            std::memmove(p + w, p + r, size_t(s - r) * sizeof(char16_t));
        w += s - r;
        r = s;
        if (r >= end)
            break;
        const char16_t c = p[r++];
        if (c == u'\r') {
            if (r < end && p[r] == u'\n')
                ++r;
            if (r < end && p[r] == kLineSeparator)
                ++r;
        } else if (c == u'\n') {
            if (r < end && p[r] == kLineSeparator)
                ++r;
        } else if (c == 0) {
            end = r - 1;   // NUL ends the text
            break;
        } else if (c != kLineSeparator) {
            p[w++] = c;   // TAB or another control: part of the line
            continue;
        }
        p[w++] = kSeparator;
        offsets.push_back(uint32_t(w));
    }
    // A break at the very end opens no empty last line; an unterminated
    // last line gets its separator.
    if (w > qsizetype(offsets.back())) {
        if (w < text.size())
            p[w] = kSeparator;
        else
            text.append(QChar(kSeparator));
        ++w;
        offsets.push_back(uint32_t(w));
    }
    if (offsets.size() == 1)
        return;   // nothing but a NUL at the start
    text.truncate(w);
    // Compaction, a NUL or a multi-byte source can leave much slack; a
    // shrinking realloc of a big block is cheap (pages are unmapped).
    text.squeeze();
    offsets.shrink_to_fit();
    text_ = std::move(text);
    offsets_ = std::move(offsets);
}

void IndexList::setLines(const QStringList& lines)
{
    clear();
    qsizetype total = 0;
    for (const QString& l : lines)
        total += l.size() + 1;
    if (total >= qsizetype(INT_MAX))
        throw std::length_error("Index too large");
    QString text;
    text.reserve(total);
    std::vector<uint32_t> offsets;
    offsets.reserve(size_t(lines.size()) + 1);
    offsets.push_back(0);
    for (const QString& l : lines) {
        text.append(l);
        text.append(QChar(kSeparator));
        offsets.push_back(uint32_t(text.size()));
    }
    text_ = std::move(text);
    offsets_ = std::move(offsets);
}

size_t IndexList::memoryBytes() const
{
    return size_t(text_.capacity()) * sizeof(char16_t) + offsets_.capacity() * sizeof(uint32_t);
}

} // namespace lexifol
