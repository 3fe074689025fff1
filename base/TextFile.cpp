#include "base/TextFile.h"

#include "base/CodePage.h"
#include "base/RegularFile.h"
#include "base/TextCheck.h"

#include <QFile>
#include <QtEndian>

#include <cstring>

namespace lexifol {

namespace {
QString DecodeUtf16(const uchar* data, qsizetype size, bool bigEndian)
{
    const qsizetype units = size / 2; // an odd last byte is no unit
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
    QString text(size, Qt::Uninitialized); // never more units than bytes
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
            return QString(); // stray continuation byte or four-byte lead
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

QString DecodeText(QByteArrayView bytes)
{
    return DecodeBytes(reinterpret_cast<const uchar*>(bytes.data()), bytes.size());
}

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
        return Status::failure(
            QStringLiteral("Cannot read file \"%1\". It grew past %2 MB while being read.").arg(path).arg(cap >> 20));
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

} // namespace lexifol
