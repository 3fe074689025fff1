#include "base/TextCheck.h"

#include "base/TextFile.h"

#include <cstring>

namespace lexifol {

qsizetype FirstBadUtf8(QByteArrayView bytes, bool* multiByte)
{
    if (multiByte)
        *multiByte = false;
    const auto* b = reinterpret_cast<const uchar*>(bytes.data());
    const qsizetype n = bytes.size();
    for (qsizetype i = 0; i < n;) {
        // Runs of ASCII, eight bytes at a time.
        while (i + 8 <= n) {
            quint64 chunk;
            std::memcpy(&chunk, b + i, 8);
            if (chunk & 0x8080808080808080ULL)
                break;
            i += 8;
        }
        if (i >= n)
            break;
        const uchar c = b[i];
        if (c < 0x80) {
            ++i;
            continue;
        }
        int len = 0;
        char32_t cp = 0, least = 0;
        if ((c & 0xE0) == 0xC0) {
            len = 2, cp = c & 0x1F, least = 0x80;
        } else if ((c & 0xF0) == 0xE0) {
            len = 3, cp = c & 0x0F, least = 0x800;
        } else if ((c & 0xF8) == 0xF0) {
            len = 4, cp = c & 0x07, least = 0x10000;
        } else {
            return i;
        }
        if (i + len > n)
            return i;
        for (int k = 1; k < len; ++k) {
            if ((b[i + k] & 0xC0) != 0x80)
                return i;
            cp = (cp << 6) | (b[i + k] & 0x3F);
        }
        if (cp < least || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
            return i;
        if (multiByte)
            *multiByte = true;
        i += len;
    }
    return -1;
}

bool LooksUtf8(QByteArrayView bytes)
{
    bool multiByte = false;
    return FirstBadUtf8(bytes, &multiByte) < 0 && multiByte;
}

TextVerdict CheckUtf16(QByteArrayView bytes, bool bigEndian, int mark)
{
    TextVerdict v;
    v.encoding = bigEndian ? QStringLiteral("UTF-16BE") : QStringLiteral("UTF-16LE");
    v.why = QStringLiteral("its byte-order mark");
    const auto* b = reinterpret_cast<const uchar*>(bytes.data());
    const qsizetype n = bytes.size();
    bool highPending = false;
    qsizetype highAt = 0;
    for (qsizetype i = mark; i + 1 < n; i += 2) {
        const char16_t u = bigEndian ? char16_t(b[i] << 8 | b[i + 1]) : char16_t(b[i + 1] << 8 | b[i]);
        const bool high = u >= 0xD800 && u <= 0xDBFF, low = u >= 0xDC00 && u <= 0xDFFF;
        if (u == 0 || (highPending && !low) || (!highPending && low)) {
            v.badOffset = u == 0 || !highPending ? i : highAt;
            v.bad = u == 0 ? QStringLiteral("a NUL character, where the reader stops")
                           : QStringLiteral("an unpaired UTF-16 surrogate");
            return v;
        }
        highPending = high;
        highAt = i;
    }
    if (highPending) {
        v.badOffset = highAt;
        v.bad = QStringLiteral("an unpaired UTF-16 surrogate");
    } else if ((n - mark) % 2 != 0) {
        v.badOffset = n - 1;
        v.bad = QStringLiteral("a single byte at the end, half a UTF-16 unit");
    }
    return v;
}

TextVerdict CheckText(QByteArrayView bytes)
{
    const TextMark mark = DetectMark(bytes);
    if (mark.isUtf16())
        return CheckUtf16(bytes, mark.kind == TextMark::Utf16BE, mark.length);
    TextVerdict v;
    const QByteArrayView body = bytes.sliced(mark.length);
    bool multiByte = false;
    const qsizetype badUtf8 = FirstBadUtf8(body, &multiByte);
    if (mark.kind == TextMark::Utf8) {
        v.encoding = QStringLiteral("UTF-8");
        v.why = QStringLiteral("its byte-order mark");
        if (badUtf8 >= 0) {
            v.badOffset = mark.length + badUtf8;
            v.bad = QStringLiteral("a malformed UTF-8 sequence, after which the reader reads nothing");
        }
    } else {
        const bool utf8 = badUtf8 < 0 && multiByte;
        v.encoding = utf8 ? QStringLiteral("UTF-8 without a mark") : QStringLiteral("8-bit");
        v.why = badUtf8 >= 0 ? QStringLiteral("no byte-order mark, and not valid UTF-8")
            : multiByte      ? QStringLiteral("no byte-order mark, valid UTF-8 with multi-byte characters")
                             : QStringLiteral("no byte-order mark, ASCII only");
    }
    if (v.ok()) {
        const qsizetype nul = body.indexOf('\0');
        if (nul >= 0) {
            v.badOffset = mark.length + nul;
            v.bad = QStringLiteral("a NUL byte, where the reader stops");
        }
    }
    return v;
}

QString DescribeBadText(const TextVerdict& v)
{
    return QStringLiteral("byte offset %1: %2").arg(v.badOffset).arg(v.bad);
}

} // namespace lexifol
