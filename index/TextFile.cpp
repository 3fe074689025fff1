#include "index/TextFile.h"

#include "index/CodePage.h"

#include <QFile>
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

} // namespace

// The whole file is decoded before the text is cut at its first NUL: a
// malformed UTF-8 sequence anywhere in the file empties the text.
QString DecodeText(const QByteArray& bytes)
{
    const auto* b = reinterpret_cast<const uchar*>(bytes.constData());
    const qsizetype n = bytes.size();
    QString text;
    if (n >= 2 && b[0] == 0xFF && b[1] == 0xFE)
        text = DecodeUtf16(b + 2, n - 2, false);
    else if (n >= 2 && b[0] == 0xFE && b[1] == 0xFF)
        text = DecodeUtf16(b + 2, n - 2, true);
    else if (n >= 3 && b[0] == 0xEF && b[1] == 0xBB && b[2] == 0xBF)
        text = DecodeUtf8(b + 3, n - 3);
    else
        text = Ansi().decode(bytes);
    const qsizetype nul = QStringView(text).indexOf(QChar(0));
    if (nul >= 0)
        text.truncate(nul);
    return text;
}

void DecodeLines(const QByteArray& bytes, IndexList& out)
{
    out.setText(DecodeText(bytes));
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

bool ReadFileBytes(const QString& path, QByteArray& bytes, QString* error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered)) {
        if (error)
            *error = QStringLiteral("Cannot open file \"%1\". %2").arg(path, file.errorString());
        return false;
    }
    const qint64 size = file.size();
    QByteArray data;
    if (size > 0) {
        data.resize(size);
        qint64 done = 0;
        while (done < size) {
            const qint64 got = file.read(data.data() + done, size - done);
            if (got < 0) {
                if (error)
                    *error = QStringLiteral("Cannot read file \"%1\". %2").arg(path, file.errorString());
                return false;
            }
            if (got == 0)
                break;   // the file shrank while being read
            done += got;
        }
        data.truncate(done);
    }
    // Files that report no size (pipes, /proc) or grew meanwhile.
    const QByteArray rest = file.readAll();
    if (!rest.isEmpty())
        data.append(rest);
    bytes = std::move(data);
    return true;
}

} // namespace lexifol
