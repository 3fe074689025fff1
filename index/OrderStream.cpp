#include "index/OrderStream.h"

#include "base/CodePage.h"
#include "index/IndexList.h"
#include "base/RegularFile.h"
#include "base/TextCheck.h"
#include "base/TextFile.h"

#include <QFile>
#include <QStringDecoder>
#include <cstring>
#include <optional>
#include <thread>

namespace lexifol {

namespace {

constexpr qint64 kBlock = qint64(1) << 20;

enum class Coding { Utf16LE, Utf16BE, Utf8, EightBit };

// Reads [from, to) of a file in pieces that end at a line end, so that each
// decodes and cuts on its own.
class LineChunks
{
public:
    LineChunks(QFile& file, qint64 from, qint64 to, bool utf16, bool bigEndian)
        : file_(file)
        , at_(from)
        , to_(to)
        , utf16_(utf16)
        , be_(bigEndian)
        , heldAt_(from)
    {
        file_.seek(from);
    }
    // False at the end, or on a read error (then `error` says why). The
    // piece lies in the reader's own block: it holds until the next call.
    bool next(QByteArrayView& chunk, qint64& offset, QString* error)
    {
        while (true) {
            const qint64 cut = lastLineEnd();
            const bool atEnd = at_ >= to_;
            if (cut > 0 || (atEnd && end_ > begin_)) {
                const qint64 n = cut > 0 ? cut : end_ - begin_;
                chunk = QByteArrayView(buf_.constData() + begin_, n);
                begin_ += n;
                offset = heldAt_;
                heldAt_ += n;
                return true;
            }
            if (atEnd)
                return false;
            // The rest of the last line goes to the front: one block serves
            // the whole file.
            const qsizetype held = end_ - begin_;
            std::memmove(buf_.data(), buf_.constData() + begin_, size_t(held));
            begin_ = 0;
            end_ = held;
            const qint64 want = qMin(kBlock, to_ - at_);
            if (buf_.size() < end_ + want)
                buf_.resize(end_ + want);
            const qint64 got = file_.read(buf_.data() + end_, want);
            if (got <= 0) {
                if (got < 0 && error)
                    *error = QStringLiteral("Cannot read file \"%1\". %2").arg(file_.fileName(), file_.errorString());
                to_ = at_; // shrank or failed: what is held is the last piece
                if (got < 0)
                    return false;
                continue;
            }
            end_ += got;
            at_ += got;
        }
    }

private:
    // Just past the last line end that is surely whole: an LF, or a CR whose
    // next unit is known and is no LF. 0 when there is none.
    qint64 lastLineEnd() const
    {
        const auto* b = reinterpret_cast<const uchar*>(buf_.constData() + begin_);
        const qsizetype unit = utf16_ ? 2 : 1;
        const qsizetype size = end_ - begin_;
        const qsizetype n = size - size % unit;
        auto code = [&](qsizetype i) -> char16_t {
            return unit == 1 ? b[i] : be_ ? char16_t(b[i] << 8 | b[i + 1]) : char16_t(b[i + 1] << 8 | b[i]);
        };
        for (qsizetype i = n - unit; i >= 0; i -= unit) {
            const char16_t c = code(i);
            if (c == u'\n')
                return i + unit;
            if (c == u'\r' && i + unit < n && code(i + unit) != u'\n')
                return i + unit;
        }
        return 0;
    }

    QFile& file_;
    qint64 at_, to_;
    bool utf16_, be_;
    QByteArray buf_;
    qsizetype begin_ = 0, end_ = 0; // what is held of it
    qint64 heldAt_;
};

// Decodes a piece into `out`, whose block is reused from piece to piece.
void Decode(QByteArrayView chunk, Coding coding, bool ascii, QString& out)
{
    const auto* b = reinterpret_cast<const uchar*>(chunk.data());
    switch (coding) {
    case Coding::Utf16LE:
    case Coding::Utf16BE: {
        out.resize(chunk.size() / 2);
        auto* d = reinterpret_cast<char16_t*>(out.data());
        const bool be = coding == Coding::Utf16BE;
        for (qsizetype i = 0; i < out.size(); ++i)
            d[i] = be ? char16_t(b[2 * i] << 8 | b[2 * i + 1]) : char16_t(b[2 * i + 1] << 8 | b[2 * i]);
        return;
    }
    case Coding::Utf8:
        if (ascii) {
            out.resize(chunk.size());
            auto* d = reinterpret_cast<char16_t*>(out.data());
            for (qsizetype i = 0; i < chunk.size(); ++i)
                d[i] = b[i];
        } else {
            out.resize(chunk.size());
            QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
            out.truncate(utf8.appendToBuffer(out.data(), chunk) - out.constData());
        }
        return;
    case Coding::EightBit:
        out = Ansi().decode(chunk);
        return;
    }
}

// What the loader would refuse in a piece, at its offset in the piece; for
// text without a mark, whether it is ASCII, UTF-8 or 8-bit: the decision
// between the last two needs the whole file, so pieces are read by their
// own look and read again when the file as a whole says otherwise.
enum class Look { Ascii, Utf8, EightBit };

TextVerdict CheckPiece(QByteArrayView piece, const TextMark& mark, Look* look)
{
    TextVerdict v;
    if (mark.isUtf16())
        return CheckUtf16(piece, mark.kind == TextMark::Utf16BE, 0);
    bool multiByte = false;
    const qsizetype bad = FirstBadUtf8(piece, &multiByte);
    *look = bad >= 0 ? Look::EightBit : multiByte ? Look::Utf8 : Look::Ascii;
    if (bad >= 0 && mark.kind == TextMark::Utf8) {
        v.badOffset = bad;
        v.bad = QStringLiteral("a malformed UTF-8 sequence, after which the reader reads nothing");
    } else if (const qsizetype nul = piece.indexOf('\0'); nul >= 0) {
        v.badOffset = nul;
        v.bad = QStringLiteral("a NUL byte, where the reader stops");
    }
    return v;
}

// One thread's share: lines of [from, to), their own order, and the first
// and last keys for the pair across the seam.
struct RangeResult {
    StreamedOrder order;
    QString firstKey, lastKey;
    QString error;
    qint64 badOffset = -1;
    bool sawUtf8 = false, sawEightBit = false;
};

// `forced`: how text without a mark is read; else each piece by its look.
void ScanRange(const QString& path, qint64 from, qint64 to, const TextMark& mark, std::optional<Coding> forced,
               bool wholeLine, const IndexCollation& collation, RangeResult& r)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        r.error = QStringLiteral("Cannot read file \"%1\". %2").arg(path, file.errorString());
        return;
    }
    const bool utf16 = mark.isUtf16();
    LineChunks chunks(file, from, to, utf16, mark.kind == TextMark::Utf16BE);
    QByteArrayView chunk;
    qint64 offset = 0;
    QString text;
    LineOffsets lines;
    QString previous;
    bool first = true;
    while (chunks.next(chunk, offset, &r.error)) {
        Look look = Look::Ascii;
        if (const TextVerdict v = CheckPiece(chunk, mark, &look); !v.ok()) {
            r.badOffset = offset + v.badOffset;
            r.error = DescribeBadText(TextVerdict{v.encoding, v.why, r.badOffset, v.bad})
                + QStringLiteral(": refused, no line may be lost");
            return;
        }
        r.sawUtf8 |= look == Look::Utf8;
        r.sawEightBit |= look == Look::EightBit;
        Coding coding = mark.kind == TextMark::Utf16LE ? Coding::Utf16LE
            : mark.kind == TextMark::Utf16BE           ? Coding::Utf16BE
            : mark.kind == TextMark::Utf8              ? Coding::Utf8
            : forced                                   ? *forced
            : look == Look::EightBit                   ? Coding::EightBit
                                                       : Coding::Utf8;
        Decode(chunk, coding, look == Look::Ascii, text);
        CutLinesInPlace(text, lines);
        const int count = int(lines.size() - 1);
        auto key = [&](int i) {
            const QStringView line(text.constData() + lines[i], qsizetype(lines[i + 1] - lines[i] - 1));
            if (wholeLine)
                return line;
            const auto parts = SplitAtTab(line);
            return parts ? parts->before : QStringView();
        };
        for (int i = 0; i < count; ++i) {
            const QStringView p = i > 0 ? key(i - 1) : QStringView(previous), c = key(i);
            if (first) {
                r.firstKey = c.toString();
                first = false;
            } else if (p != c) {
                const int order = collation.compare(p, c);
                const long long k = r.order.lines + i;
                if (order > 0)
                    r.order.outOfOrder << k;
                else if (order == 0)
                    r.order.equal.append({k, p.toString(), c.toString()});
            }
        }
        r.order.lines += count;
        if (count > 0)
            previous = key(count - 1).toString();
    }
    r.lastKey = previous;
}

// Where the second thread starts: just past a line end near the middle.
qint64 Seam(QFile& file, qint64 from, bool utf16, bool be)
{
    const qint64 middle = from + (file.size() - from) / 2 / 2 * 2;
    LineChunks probe(file, middle, qMin(file.size(), middle + kBlock), utf16, be);
    QByteArrayView chunk;
    qint64 offset = 0;
    // The first piece may begin inside a line: the seam is past its first end.
    if (!probe.next(chunk, offset, nullptr))
        return file.size();
    const auto* b = reinterpret_cast<const uchar*>(chunk.constData());
    const qsizetype unit = utf16 ? 2 : 1;
    for (qsizetype i = 0; i + unit <= chunk.size(); i += unit) {
        const char16_t c = unit == 1 ? b[i] : be ? char16_t(b[i] << 8 | b[i + 1]) : char16_t(b[i + 1] << 8 | b[i]);
        if (c == u'\n'
            || (c == u'\r' && i + 2 * unit <= chunk.size()
                && (unit == 1 ? b[i + 1]
                        : be  ? char16_t(b[i + 2] << 8 | b[i + 3])
                              : char16_t(b[i + 3] << 8 | b[i + 2]))
                    != u'\n'))
            return middle + i + unit;
    }
    return file.size();
}

} // namespace

namespace {

Result<StreamedOrder> ScanWith(const QString& path, const TextMark& mark, qint64 size, qint64 seam,
                               std::optional<Coding> forced, bool wholeLine, const IndexCollation& collation,
                               bool* readAgain)
{
    RangeResult lower, upper;
    const IndexCollation other(collation.locale()); // a collator serves one thread at a time
    std::thread worker;
    if (seam < size)
        worker = std::thread([&] { ScanRange(path, seam, size, mark, forced, wholeLine, other, upper); });
    ScanRange(path, mark.length, seam, mark, forced, wholeLine, collation, lower);
    if (worker.joinable())
        worker.join();
    if (!lower.error.isEmpty() || !upper.error.isEmpty())
        return Status::failure(lower.error.isEmpty() ? upper.error : lower.error);
    // Without a mark, one piece that is not UTF-8 makes the whole file 8-bit.
    *readAgain = !forced && mark.kind == TextMark::None && (lower.sawEightBit || upper.sawEightBit)
        && (lower.sawUtf8 || upper.sawUtf8);
    StreamedOrder out = std::move(lower.order);
    if (upper.order.lines > 0) {
        const long long base = out.lines;
        if (base > 0 && lower.lastKey != upper.firstKey) {
            const int order = collation.compare(lower.lastKey, upper.firstKey);
            if (order > 0)
                out.outOfOrder << base;
            else if (order == 0)
                out.equal.append({base, lower.lastKey, upper.firstKey});
        }
        for (long long k : upper.order.outOfOrder)
            out.outOfOrder << base + k;
        for (const StreamedOrder::Equal& e : upper.order.equal)
            out.equal.append({base + e.k, e.before, e.after});
        out.lines += upper.order.lines;
    }
    return out;
}

} // namespace

Result<StreamedOrder> ScanOrderInFile(const QString& path, bool wholeLine, const IndexCollation& collation)
{
    QFile file;
    if (const Status opened = OpenRegularFile(file, path, kIndexCap); !opened)
        return opened;
    char head[3] = {};
    const qint64 got = file.read(head, 3);
    const TextMark mark = DetectMark(QByteArrayView(head, qMax<qint64>(got, 0)));
    const bool utf16 = mark.isUtf16(), be = mark.kind == TextMark::Utf16BE;
    const qint64 size = file.size();
    const qint64 seam = size - mark.length > 8 * kBlock ? Seam(file, mark.length, utf16, be) : size;
    bool readAgain = false;
    Result<StreamedOrder> r = ScanWith(path, mark, size, seam, std::nullopt, wholeLine, collation, &readAgain);
    if (r && readAgain)
        return ScanWith(path, mark, size, seam, Coding::EightBit, wholeLine, collation, &readAgain);
    return r;
}

} // namespace lexifol
