#include "index/TextFile.h"

#include "index/CodePage.h"
#include "index/RegularFile.h"
#include "index/TextCheck.h"

#include <QFile>

#include <thread>

#ifdef Q_OS_LINUX
#include <sys/mman.h>
#endif
#include <QtEndian>

#include <cstring>

namespace lexifol {

namespace {

QString DecodeUtf16(const uchar* data, qsizetype size, bool bigEndian)
{
    const qsizetype units = size / 2;   // an odd last byte is no unit
    QString text(units, Qt::Uninitialized);
    if (bigEndian)
        qFromBigEndian<char16_t>(data, units, text.data());
    else
        qFromLittleEndian<char16_t>(data, units, text.data());
    return text;
}

// Sequences of one to three bytes only. A four-byte sequence (F0..F7 lead)
// is treated as malformed like any other lead byte outside 00..EF: such files
// were never written by the tools of the format, and half-decoding them would
// silently shift every later line. Overlong forms and encoded surrogates are
// decoded bit by bit, so CESU-8 text keeps its surrogate pairs.
QString DecodeUtf8(const uchar* s, qsizetype size)
{
    QString text(size, Qt::Uninitialized);   // never more units than bytes
    char16_t* out = reinterpret_cast<char16_t*>(text.data());
    qsizetype i = 0, o = 0;
    while (i < size) {
        // ASCII runs dominate index files: take eight bytes at a time.
        while (i + 8 <= size) {
            uint64_t chunk;
            std::memcpy(&chunk, s + i, 8);
            if (chunk & 0x8080808080808080ull)
                break;
            for (int k = 0; k < 8; ++k)
                out[o + k] = s[i + k];
            i += 8;
            o += 8;
        }
        if (i >= size)
            break;
        const uchar c = s[i];
        if (c < 0x80) {
            out[o++] = c;
            ++i;
        } else if (c >= 0xC0 && c < 0xE0) {
            if (i + 1 >= size || (s[i + 1] & 0xC0) != 0x80)
                return QString();
            out[o++] = char16_t(((c & 0x1F) << 6) | (s[i + 1] & 0x3F));
            i += 2;
        } else if (c >= 0xE0 && c < 0xF0) {
            if (i + 2 >= size || (s[i + 1] & 0xC0) != 0x80 || (s[i + 2] & 0xC0) != 0x80)
                return QString();
            out[o++] = char16_t(((c & 0x0F) << 12) | ((s[i + 1] & 0x3F) << 6) | (s[i + 2] & 0x3F));
            i += 3;
        } else {
            return QString();   // stray continuation byte or four-byte lead
        }
    }
    text.truncate(o);
    return text;
}

// The whole file is decoded before the text is cut at its first NUL: a
// malformed UTF-8 sequence anywhere in the file empties the text.
QString DecodeBytes(const uchar* b, qsizetype n)
{
    QString text;
    const TextMark mark = DetectMark(QByteArrayView(b, n));
    if (mark.isUtf16())
        text = DecodeUtf16(b + 2, n - 2, mark.kind == TextMark::Utf16BE);
    else if (mark.kind == TextMark::Utf8)
        text = DecodeUtf8(b + 3, n - 3);
    else if (LooksUtf8(QByteArrayView(b, n)))
        text = DecodeUtf8(b, n);
    else
        text = Ansi().decode(QByteArrayView(b, n));
    const qsizetype nul = QStringView(text).indexOf(QChar(0));
    if (nul >= 0)
        text.truncate(nul);
    return text;
}

} // namespace

TextMark DetectMark(QByteArrayView b)
{
    if (b.size() >= 2 && uchar(b[0]) == 0xFF && uchar(b[1]) == 0xFE)
        return {TextMark::Utf16LE, 2};
    if (b.size() >= 2 && uchar(b[0]) == 0xFE && uchar(b[1]) == 0xFF)
        return {TextMark::Utf16BE, 2};
    if (b.size() >= 3 && uchar(b[0]) == 0xEF && uchar(b[1]) == 0xBB && uchar(b[2]) == 0xBF)
        return {TextMark::Utf8, 3};
    return {};
}

QString DecodeText(const QByteArray& bytes)
{
    return DecodeBytes(reinterpret_cast<const uchar*>(bytes.constData()), bytes.size());
}

namespace {
// UTF-16 and single-byte 8-bit text are decoded and cut in one pass from the
// file bytes; UTF-8 and double-byte code pages are decoded first.
void CutBytes(const uchar* b, qsizetype n, IndexList& out)
{
    const char* raw = reinterpret_cast<const char*>(b);
    const TextMark mark = DetectMark(QByteArrayView(raw, n));
    if (mark.isUtf16()) {
        out.setUtf16(raw + 2, n - 2, mark.kind == TextMark::Utf16BE);
        return;
    }
    if (const char16_t* table = Ansi().singleByteTable();
        table && mark.kind != TextMark::Utf8 && !LooksUtf8(QByteArrayView(raw, n)))
        out.setSingleByte(raw, n, table);
    else
        out.setText(DecodeBytes(b, n));
}
} // namespace

void DecodeLines(const QByteArray& bytes, IndexList& out)
{
    CutBytes(reinterpret_cast<const uchar*>(bytes.constData()), bytes.size(), out);
}

QStringList DecodeLinesToStrings(const QByteArray& bytes)
{
    IndexList list;
    DecodeLines(bytes, list);
    QStringList lines;
    lines.reserve(list.count());
    for (int i = 0; i < list.count(); ++i)
        lines.append(list.line(i).toString());
    return lines;
}

namespace {

bool OpenForReading(QFile& file, const QString& path, qint64 cap, QString* error)
{
    const Status opened = OpenRegularFile(file, path, cap);
    if (!opened && error)
        *error = opened.error();
    return opened.ok();
}

// Reads up to `size` bytes into `raw`; `done` tells how many came (fewer when
// the file shrank while being read).
bool ReadInto(QFile& file, char* raw, qint64 size, qint64& done, const QString& path, QString* error)
{
    done = 0;
    while (done < size) {
        const qint64 got = file.read(raw + done, size - done);
        if (got < 0) {
            if (error)
                *error = QStringLiteral("Cannot read file \"%1\". %2").arg(path, file.errorString());
            return false;
        }
        if (got == 0)
            break;
        done += got;
    }
    return true;
}

} // namespace

Result<QByteArray> ReadFileBytes(const QString& path, qint64 cap)
{
    QFile file;
    QString error;
    if (!OpenForReading(file, path, cap, &error))
        return Status::failure(error);
    const qint64 size = file.size();
    QByteArray data;
    if (size > 0) {
        data.resize(size);
        qint64 done = 0;
        if (!ReadInto(file, data.data(), size, done, path, &error))
            return Status::failure(error);
        data.truncate(done);
    }
    // Files that report no size (/proc) or grew meanwhile, up to the cap,
    // a block at a time: read(n) would set n bytes aside first.
    char block[65536];
    for (qint64 got; data.size() <= cap && (got = file.read(block, sizeof block)) > 0;)
        data.append(block, qsizetype(got));
    if (data.size() > cap)
        return Status::failure(QStringLiteral("Cannot read file \"%1\". It grew past %2 MB while being read.")
                                   .arg(path).arg(cap >> 20));
    return data;
}

QByteArrayList CutByteLines(QByteArrayView bytes)
{
    QByteArrayList lines;
    qsizetype end = bytes.indexOf('\0');
    if (end < 0)
        end = bytes.size();
    qsizetype start = 0;
    qsizetype i = 0;
    while (i < end) {
        const char c = bytes[i];
        if (c != '\r' && c != '\n') {
            ++i;
            continue;
        }
        lines.append(bytes.sliced(start, i - start).toByteArray());
        ++i;
        if (c == '\r' && i < end && bytes[i] == '\n')
            ++i;
        start = i;
    }
    if (start < end)
        lines.append(bytes.sliced(start, end - start).toByteArray());
    return lines;
}

void AppendUtf16Le(QByteArray& out, QStringView text)
{
    const qsizetype at = out.size();
    out.resize(at + text.size() * 2);
    qToLittleEndian<char16_t>(text.utf16(), text.size(), out.data() + at);
}

QByteArray Utf16FileBytes(const QStringList& lines)
{
    qsizetype units = 1;
    for (const QString& l : lines)
        units += l.size() + 2;
    QByteArray out("\xFF\xFE", 2);
    out.reserve(units * 2);
    for (const QString& l : lines) {
        AppendUtf16Le(out, l);
        AppendUtf16Le(out, u"\r\n");
    }
    return out;
}

namespace {
// Only a text too large for an index throws while cutting.
template <typename F>
bool CutGuarded(const QString& path, QString* error, F&& cut)
{
    try {
        cut();
    } catch (const std::exception& e) {
        if (error)
            *error = QString::fromUtf8(e.what()) + QStringLiteral(": ") + path;
        return false;
    }
    return true;
}
} // namespace

namespace {
// A big buffer about to be filled: huge pages halve the cost of faulting it
// in. Only the whole 2 MB pages inside it are advised.
void AdviseHugePages(void* data, qsizetype bytes)
{
#if defined(Q_OS_LINUX) && defined(MADV_HUGEPAGE)
    constexpr quintptr kHuge = 2 * 1024 * 1024;
    const quintptr begin = (quintptr(data) + kHuge - 1) & ~(kHuge - 1);
    const quintptr end = (quintptr(data) + quintptr(bytes)) & ~(kHuge - 1);
    if (end > begin)
        madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE);
#else
    Q_UNUSED(data);
    Q_UNUSED(bytes);
#endif
}

// A big file is read as two halves at once: most of the time goes to the
// kernel copying it and clearing fresh pages, which a second core halves.
bool ReadInTwo(QFile& file, char* raw, qint64 size, qint64& done, const QString& path, QString* error)
{
    constexpr qint64 kSplitBytes = qint64(8) << 20;
    if (size < kSplitBytes)
        return ReadInto(file, raw, size, done, path, error);
    const qint64 half = size / 2;
    qint64 lateDone = 0;
    QString lateError;
    bool lateOk = false;
    std::thread late([&] {
        QFile other;
        lateOk = OpenForReading(other, path, size, &lateError) && other.seek(half)
            && ReadInto(other, raw + half, size - half, lateDone, path, &lateError);
    });
    const bool ok = ReadInto(file, raw, half, done, path, error);
    late.join();
    if (!ok)
        return false;
    if (!lateOk) {
        if (error)
            *error = lateError;
        return false;
    }
    if (done < half)
        return true;   // shorter than it was: the caller sees the size differ
    done += lateDone;
    return file.seek(size);
}

// The file is read into the buffer that will hold its text, so an index is
// never held twice: UTF-16 is cut where it lies; single-byte 8-bit text is
// read into the back of a buffer of one unit per byte and converted forwards.
// False when the file changed size while being read.
bool ReadIndexInPlace(QFile& file, qint64 size, const QString& path, IndexList& out, QString* error, bool& done)
{
    uchar head[3] = {0, 0, 0};
    qint64 got = 0;
    if (!ReadInto(file, reinterpret_cast<char*>(head), qMin<qint64>(3, size), got, path, error) || !file.seek(0))
        return false;
    const char16_t* table = Ansi().singleByteTable();
    const TextMark mark = DetectMark(QByteArrayView(reinterpret_cast<const char*>(head), got));
    const bool utf16 = mark.isUtf16();
    const bool inPlace8 = mark.kind == TextMark::None && table;
    // One unit more than the text needs leaves room for a final separator.
    const qsizetype units = inPlace8 ? qsizetype(size + 32) : qsizetype((size + 1) / 2 + 1);
    const qsizetype rawOffset = inPlace8 ? qsizetype(size + 32) : 0;
    QString buffer(units, Qt::Uninitialized);
    AdviseHugePages(buffer.data(), units * 2);
    char* raw = reinterpret_cast<char*>(buffer.data()) + rawOffset;
    qint64 read = 0;
    if (!ReadInTwo(file, raw, size, read, path, error))
        return false;
    char probe;
    if (read != size || file.read(&probe, 1) > 0)
        return true;   // it changed while being read: the general way
    if (inPlace8 && LooksUtf8(QByteArrayView(raw, read)))
        return true;   // UTF-8 without a mark: decoded the general way
    done = CutGuarded(path, error, [&] {
        const auto* b = reinterpret_cast<const uchar*>(raw);
        if (utf16)
            out.setRawUtf16(std::move(buffer), 1, (read - 2) / 2, mark.kind == TextMark::Utf16BE);
        else if (inPlace8)
            out.setSingleByteInPlace(std::move(buffer), rawOffset, read, table);
        else
            CutBytes(b, read, out);
    });
    return done;
}
} // namespace

Status ReadIndexFile(const QString& path, IndexList& out)
{
    QFile file;
    QString error;
    if (!OpenForReading(file, path, kIndexCap, &error))
        return Status::failure(error);
    const qint64 size = file.size();
    if (size > 0 && !file.isSequential()) {
        bool done = false;
        if (!ReadIndexInPlace(file, size, path, out, &error, done))
            return Status::failure(error);
        if (done)
            return {};
    }
    file.close();
    const Result<QByteArray> bytes = ReadFileBytes(path, kIndexCap);
    if (!bytes)
        return Status::failure(bytes.error());
    if (!CutGuarded(path, &error, [&] { DecodeLines(bytes.value(), out); }))
        return Status::failure(error);
    return {};
}

} // namespace lexifol
