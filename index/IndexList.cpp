#include "index/IndexList.h"

#include <QStringList>
#include <QtAlgorithms>

#include <climits>
#include <cstring>
#include <exception>
#include <thread>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace lexifol {

namespace {

constexpr char16_t kSeparator = u'\n';
constexpr char16_t kLineSeparator = 0x2028;

inline bool IsBreakOrNul(char16_t c)
{
    return c == u'\n' || c == u'\r' || c == 0 || c == kLineSeparator;
}

// Where CutLines takes its units from: UTF-16 as it lies or byte-swapped,
// or 8-bit bytes through a table. block16 looks at sixteen units: a mask of
// those that may end a line or the text (CR, LF, U+2028, NUL; one bit each)
// and a way to store them converted.
template<bool Swap> struct Utf16Source {
    static constexpr bool kRewrites = Swap; // a unit read is not the unit stored
    const char16_t* p;
    const void* address(qsizetype i) const { return p + i; }
    char16_t at(qsizetype i) const
    {
        char16_t c;
        std::memcpy(&c, p + i, sizeof c); // file bytes at any even offset
        if constexpr (Swap)
            c = char16_t((c << 8) | (c >> 8));
        return c;
    }
#if defined(__SSE2__)
    struct Block {
        __m128i v0, v1;
        unsigned mask;
        void store(char16_t* out) const
        {
            _mm_storeu_si128(reinterpret_cast<__m128i*>(out), v0);
            _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 8), v1);
        }
    };
    static __m128i Hits(__m128i v)
    {
        return _mm_or_si128(
            _mm_or_si128(_mm_cmpeq_epi16(v, _mm_set1_epi16(u'\n')), _mm_cmpeq_epi16(v, _mm_set1_epi16(u'\r'))),
            _mm_or_si128(_mm_cmpeq_epi16(v, _mm_setzero_si128()),
                         _mm_cmpeq_epi16(v, _mm_set1_epi16(short(kLineSeparator)))));
    }
    Block block16(qsizetype i) const
    {
        __m128i v0 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
        __m128i v1 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i + 8));
        if constexpr (Swap) {
            v0 = _mm_or_si128(_mm_slli_epi16(v0, 8), _mm_srli_epi16(v0, 8));
            v1 = _mm_or_si128(_mm_slli_epi16(v1, 8), _mm_srli_epi16(v1, 8));
        }
        const unsigned mask = unsigned(_mm_movemask_epi8(_mm_packs_epi16(Hits(v0), Hits(v1))));
        return {v0, v1, mask};
    }
#endif
};

// Only for tables that keep NUL, LF and CR and give no other byte one of
// those or U+2028: breaks are then found in the bytes themselves.
struct ByteSource {
    static constexpr bool kRewrites = true;
    const uchar* p;
    const char16_t* table;
    bool asciiAsIs; // bytes below 0x80 are their own units
    const void* address(qsizetype i) const { return p + i; }
    char16_t at(qsizetype i) const { return table[p[i]]; }
#if defined(__SSE2__)
    struct Block {
        const uchar* q;
        const char16_t* table;
        __m128i bytes;
        unsigned lookUp; // bytes that need the table: the non-ASCII ones, or all
        unsigned mask;
        void store(char16_t* out) const
        {
            _mm_storeu_si128(reinterpret_cast<__m128i*>(out), _mm_unpacklo_epi8(bytes, _mm_setzero_si128()));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 8), _mm_unpackhi_epi8(bytes, _mm_setzero_si128()));
            for (unsigned m = lookUp; m; m &= m - 1) {
                const int j = int(qCountTrailingZeroBits(m));
                out[j] = table[q[j]];
            }
        }
    };
    Block block16(qsizetype i) const
    {
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
        const __m128i hit = _mm_or_si128(
            _mm_or_si128(_mm_cmpeq_epi8(b, _mm_set1_epi8('\n')), _mm_cmpeq_epi8(b, _mm_set1_epi8('\r'))),
            _mm_cmpeq_epi8(b, _mm_setzero_si128()));
        const unsigned lookUp = asciiAsIs ? unsigned(_mm_movemask_epi8(b)) : 0xFFFFu;
        return {p + i, table, b, lookUp, unsigned(_mm_movemask_epi8(hit))};
    }
#endif
};

// Cuts units [0, n) of src into lines and writes each to dst followed by
// exactly one separator, starting at dst[offsets.back()] and pushing the
// offset after every separator; returns the end of what was written. dst is
// either a separate buffer of at least offsets.back() + n + 1 units, or
// (inPlace) the UTF-16 buffer that holds src, with dst + offsets.back() at
// or before src: the write position then never passes the read position.
// This is the load path of every index: one pass, eight units at a time.
template<typename Source>
qsizetype CutLines(const Source src, qsizetype n, char16_t* dst, bool inPlace, LineOffsets& offsets,
                   bool* endedAtNul = nullptr)
{
    qsizetype r = 0;
    qsizetype w = qsizetype(offsets.back());
    // In place: how far the write position trails the read position.
    auto gap = [&] {
        return inPlace ? qsizetype(static_cast<const char16_t*>(src.address(r)) - (dst + w)) : qsizetype(16);
    };
    for (;;) {
#if defined(__SSE2__)
        // Sixteen units a step: lines are short, and a step that finds no
        // break is the cheap case.
        while (r + 16 <= n) {
            const auto block = src.block16(r);
            if (block.mask == 0) {
                // The store only touches units already loaded; in place and
                // unmoved it would rewrite them unchanged.
                if (Source::kRewrites || gap() != 0)
                    block.store(dst + w);
                r += 16;
                w += 16;
                continue;
            }
            // Units from the break on are read again: a whole store must not
            // reach them.
            const qsizetype k = qsizetype(qCountTrailingZeroBits(block.mask));
            const qsizetype g = gap();
            if (g >= 16) {
                block.store(dst + w);
            } else if (Source::kRewrites || g != 0) {
                for (qsizetype j = 0; j < k; ++j)
                    dst[w + j] = src.at(r + j);
            }
            r += k;
            w += k;
            break;
        }
#endif
        char16_t c = 0;
        while (r < n && !IsBreakOrNul(c = src.at(r))) {
            dst[w++] = c;
            ++r;
        }
        if (r >= n || c == 0) {
            if (endedAtNul)
                *endedAtNul = r < n;
            break; // end of the text, or NUL, which ends it
        }
        ++r;
        if (c == u'\r' && r < n && src.at(r) == u'\n')
            ++r;
        if (c != kLineSeparator && r < n && src.at(r) == kLineSeparator)
            ++r;
        dst[w++] = kSeparator;
        offsets.push_back(uint32_t(w));
    }
    // A break at the very end opens no empty last line; an unterminated
    // last line gets its separator.
    if (w > qsizetype(offsets.back())) {
        dst[w++] = kSeparator;
        offsets.push_back(uint32_t(w));
    }
    return w;
}

} // namespace

QString ListIndexMessage(long long position)
{
    return QStringLiteral("List index out of bounds (%1)").arg(position);
}

void IndexList::clear()
{
    QString().swap(text_);
    offsets_.reset();
    at_ = nullptr;
    lines_ = 0;
}

void IndexList::swap(IndexList& other) noexcept
{
    text_.swap(other.text_);
    offsets_.swap(other.offsets_);
    std::swap(at_, other.at_);
    std::swap(lines_, other.lines_);
}

QStringView IndexList::line(long long pos) const
{
    if (pos < 0 || pos >= count())
        return QStringView();
    const size_t i = size_t(pos);
    return QStringView(text_.constData() + at_[i], qsizetype(at_[i + 1] - at_[i] - 1));
}

std::optional<TabSplit> SplitAtTab(QStringView line)
{
    const qsizetype tab = line.indexOf(u'\t');
    if (tab < 0)
        return std::nullopt;
    return TabSplit{line.left(tab), line.mid(tab + 1)};
}

QStringView IndexList::headword(long long pos) const
{
    const auto parts = SplitAtTab(line(pos));
    return parts ? parts->before : QStringView();
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

namespace {
// Room for lines of 20 units on average, more than index lines have. The
// bound no text can pass (a line per unit) was tried and measured slower:
// a block that large is a fresh mapping every time, and writing into it
// faulted in 4 MB page by page on each opening (about 10 ms for a million
// lines), where a block this size reuses memory the allocator already has.
// A text with shorter lines grows the block, in place where it can.
size_t LineRoom(qsizetype units)
{
    return size_t(units / 20) + 2;
}

// uint32 offsets and an int count: the text must stay below both.
void CheckSize(qsizetype units)
{
    if (units >= qsizetype(INT_MAX))
        throw std::length_error("Index file too large");
}
} // namespace

void IndexList::adopt(QString text, qsizetype units, LineOffsets offsets)
{
    if (offsets.size() < 2) {
        clear();
        return;
    }
    text.truncate(units);
    // Compaction, a NUL or a multi-byte source leave slack; shrinking a big
    // block is a cheap realloc.
    text.squeeze();
    offsets.fit();
    hold(std::move(text), std::move(offsets));
}

void IndexList::hold(QString text, LineOffsets offsets)
{
    lines_ = offsets.size() < 2 ? 0 : int(offsets.size() - 1);
    auto block = std::make_shared<const LineOffsets>(std::move(offsets));
    at_ = block->data();
    offsets_ = std::move(block);
    text_ = std::move(text);
}

void CutLinesInPlace(QString& text, LineOffsets& offsets)
{
    CheckSize(text.size());
    const qsizetype n = text.size();
    if (offsets.capacity() < LineRoom(n))
        offsets = LineOffsets(LineRoom(n));
    offsets.clear();
    offsets.push_back(0);
    if (n == 0)
        return;
    // An unterminated last line needs one more unit for its separator.
    text.reserve(n + 1);
    char16_t* p = reinterpret_cast<char16_t*>(text.data());
    text.truncate(CutLines(Utf16Source<false>{p}, n, p, true, offsets));
}

void IndexList::setText(QString text)
{
    // Checked first so that a refused text leaves the list as it was.
    CheckSize(text.size());
    clear();
    if (text.isEmpty())
        return;
    LineOffsets offsets;
    CutLinesInPlace(text, offsets);
    const qsizetype units = text.size();
    adopt(std::move(text), units, std::move(offsets));
}

namespace {
constexpr bool kHostBigEndian = Q_BYTE_ORDER == Q_BIG_ENDIAN;
}

void IndexList::setUtf16(const char* data, qsizetype bytes, bool bigEndian)
{
    const qsizetype n = bytes / 2; // an odd last byte is no unit
    CheckSize(n);
    clear();
    if (n == 0)
        return;
    QString text(n + 1, Qt::Uninitialized);
    char16_t* dst = reinterpret_cast<char16_t*>(text.data());
    const auto* src = reinterpret_cast<const char16_t*>(data);
    LineOffsets offsets(LineRoom(n));
    offsets.push_back(0);
    const qsizetype units = bigEndian != kHostBigEndian ? CutLines(Utf16Source<true>{src}, n, dst, false, offsets)
                                                        : CutLines(Utf16Source<false>{src}, n, dst, false, offsets);
    adopt(std::move(text), units, std::move(offsets));
}

namespace {

// Big UTF-16 texts are cut in two halves at once, on two cores.
constexpr qsizetype kSplitUnits = qsizetype(1) << 20;

// Where the second half may begin: just after a LF whose break does not go
// on (U+2028 right after a break belongs to it). -1 when there is none.
qsizetype SplitPoint(const char16_t* p, qsizetype n)
{
    for (qsizetype i = n / 2; i + 1 < n; ++i)
        if (p[i] == u'\n' && p[i + 1] != kLineSeparator)
            return i + 1;
    return -1;
}

// CutLines over p[start, start + units) in place, as two halves cut side by
// side; the second is then moved down behind the first.
qsizetype CutInTwo(char16_t* p, qsizetype start, qsizetype units, qsizetype split, LineOffsets& offsets)
{
    LineOffsets rest(LineRoom(units - split));
    rest.push_back(uint32_t(start + split));
    qsizetype restEnd = 0;
    std::exception_ptr failed;
    std::thread second([&] {
        try {
            restEnd = CutLines(Utf16Source<false>{p + start + split}, units - split, p, true, rest);
        } catch (...) {
            failed = std::current_exception();
        }
    });
    bool nul = false;
    qsizetype end = 0;
    try {
        end = CutLines(Utf16Source<false>{p + start}, split, p, true, offsets, &nul);
    } catch (...) {
        second.join();
        throw;
    }
    second.join();
    if (failed)
        std::rethrow_exception(failed);
    if (nul)
        return end; // the text ended inside the first half
    const qsizetype shift = start + split - end;
    std::memmove(p + end, p + start + split, size_t(restEnd - (start + split)) * sizeof(char16_t));
    for (size_t i = 1; i < rest.size(); ++i)
        offsets.push_back(uint32_t(rest[i] - shift));
    return restEnd - shift;
}

} // namespace

void IndexList::setRawUtf16(QString buffer, qsizetype start, qsizetype units, bool bigEndian)
{
    CheckSize(start + units);
    Q_ASSERT(buffer.size() >= start + units + 1);
    clear();
    if (units == 0)
        return;
    char16_t* p = reinterpret_cast<char16_t*>(buffer.data());
    LineOffsets offsets(LineRoom(units));
    // The units before `start` (the mark) stay unused in front of line 0:
    // a file without CR LF then needs no unit moved at all.
    offsets.push_back(uint32_t(start));
    const bool swap = bigEndian != kHostBigEndian;
    const qsizetype split = !swap && units >= kSplitUnits ? SplitPoint(p + start, units) : -1;
    const qsizetype end = split > 0 ? CutInTwo(p, start, units, split, offsets)
        : swap                      ? CutLines(Utf16Source<true>{p + start}, units, p, true, offsets)
                                    : CutLines(Utf16Source<false>{p + start}, units, p, true, offsets);
    adopt(std::move(buffer), end, std::move(offsets));
}

void IndexList::setSingleByte(const char* data, qsizetype bytes, const char16_t* table)
{
    CheckSize(bytes);
    QString text(bytes + 1, Qt::Uninitialized);
    decodeSingleByte(std::move(text), reinterpret_cast<const uchar*>(data), bytes, table);
}

void IndexList::setSingleByteInPlace(QString buffer, qsizetype rawOffset, qsizetype bytes, const char16_t* table)
{
    CheckSize(bytes);
    Q_ASSERT(rawOffset >= bytes + 32 && buffer.size() * 2 >= rawOffset + bytes);
    const uchar* raw = reinterpret_cast<const uchar*>(buffer.constData()) + rawOffset;
    decodeSingleByte(std::move(buffer), raw, bytes, table);
}

// `out` has at least bytes + 1 units; `data` may lie inside it, far enough
// behind the start that the converted units never reach unread bytes.
void IndexList::decodeSingleByte(QString out, const uchar* data, qsizetype bytes, const char16_t* table)
{
    clear();
    if (bytes == 0)
        return;
    bool asciiAsIs = true;
    for (char16_t b = 0; b < 0x80 && asciiAsIs; ++b)
        asciiAsIs = table[b] == b;
    bool breaksAsIs = table[0] == 0 && table[u'\n'] == u'\n' && table[u'\r'] == u'\r';
    for (int b = 0; b < 256 && breaksAsIs; ++b)
        breaksAsIs = b == 0 || b == '\n' || b == '\r' || !IsBreakOrNul(table[b]);
    char16_t* dst = reinterpret_cast<char16_t*>(out.data());
    if (!breaksAsIs) { // no Windows code page, but then the general way
        for (qsizetype i = 0; i < bytes; ++i)
            dst[i] = table[data[i]];
        out.truncate(bytes);
        setText(std::move(out));
        return;
    }
    LineOffsets offsets(LineRoom(bytes));
    offsets.push_back(0);
    const ByteSource src{data, table, asciiAsIs};
    const qsizetype units = CutLines(src, bytes, dst, false, offsets);
    adopt(std::move(out), units, std::move(offsets));
}

void IndexList::setLines(const QStringList& lines)
{
    qsizetype total = 0;
    for (const QString& l : lines)
        total += l.size() + 1;
    if (total >= qsizetype(INT_MAX))
        throw std::length_error("Index too large");
    clear();
    QString text;
    text.reserve(total);
    LineOffsets offsets(size_t(lines.size()) + 1);
    offsets.push_back(0);
    for (const QString& l : lines) {
        text.append(l);
        text.append(QChar(kSeparator));
        offsets.push_back(uint32_t(text.size()));
    }
    hold(std::move(text), std::move(offsets));
}

size_t IndexList::memoryBytes() const
{
    return size_t(text_.capacity()) * sizeof(char16_t) + (offsets_ ? offsets_->capacity() * sizeof(uint32_t) : 0);
}

} // namespace lexifol
