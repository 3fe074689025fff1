#pragma once
// Whether file bytes come through the text reader whole: the tools refuse a
// file whose lines the reader would drop or garble, and say where.
#include <QByteArrayView>
#include <QString>

namespace lexifol {

// The first malformed UTF-8 sequence (a stray continuation byte, a cut or
// overlong sequence, a surrogate, past U+10FFFF), or -1; `multiByte` tells
// whether any sequence of two or more bytes came before it.
qsizetype FirstBadUtf8(QByteArrayView bytes, bool* multiByte = nullptr);

// Text without a mark that is valid UTF-8 and holds multi-byte sequences is
// read as UTF-8: real 8-bit dictionary text practically never is.
bool LooksUtf8(QByteArrayView bytes);

struct TextVerdict {
    QString encoding; // as lint reports it
    QString why;      // how it was told
    qsizetype badOffset = -1;
    QString bad; // what is wrong at badOffset
    bool ok() const { return badOffset < 0; }
};

// How the reader takes `bytes`, and the first byte offset where lines would
// be lost or garbled: a NUL (the reader stops there), malformed UTF-8 after
// its mark (the reader then reads nothing), an unpaired UTF-16 surrogate or
// a trailing odd byte.
TextVerdict CheckText(QByteArrayView bytes);
// UTF-16 units after `mark` bytes: NULs, unpaired surrogates, a lone byte.
TextVerdict CheckUtf16(QByteArrayView bytes, bool bigEndian, int mark);

// "byte offset N: what", for a message.
QString DescribeBadText(const TextVerdict& v);

} // namespace lexifol
