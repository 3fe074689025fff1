#include "index/IndexFile.h"

#include "base/CodePage.h"
#include "base/RegularFile.h"
#include "base/TextCheck.h"
#include "base/TextFile.h"

#include <QFile>

#include <thread>

#ifdef Q_OS_LINUX
#include <sys/mman.h>
#endif

namespace lexifol {

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
        out.setText(DecodeText(QByteArrayView(b, n)));
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
// Only a text too large for an index throws while cutting.
template<typename F> bool CutGuarded(const QString& path, QString* error, F&& cut)
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
        return true; // shorter than it was: the caller sees the size differ
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
        return true; // it changed while being read: the general way
    if (inPlace8 && LooksUtf8(QByteArrayView(raw, read)))
        return true; // UTF-8 without a mark: decoded the general way
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
