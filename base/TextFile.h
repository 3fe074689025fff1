#pragma once
// The one reader for the program's Unicode text files (indexes, bookmarks,
// the order checker): byte-order mark detection, 8-bit fallback, line cutting.
#include "base/RegularFile.h"
#include "base/Status.h"
#include <QByteArray>
#include <QByteArrayList>
#include <QString>
#include <QStringList>

class QFile;

namespace lexifol {

// The byte-order mark a text starts with: FF FE, FE FF, or EF BB BF (this
// one only in a text of three bytes or more), and its length in bytes.
struct TextMark {
    enum Kind { None, Utf16LE, Utf16BE, Utf8 } kind = None;
    int length = 0;
    bool isUtf16() const { return kind == Utf16LE || kind == Utf16BE; }
};
TextMark DetectMark(QByteArrayView bytes);

// Decodes file bytes: FF FE, FE FF, EF BB BF (only for files of at least three
// bytes), else the ANSI code page. Malformed or cut-off UTF-8 gives an empty
// text. A trailing odd UTF-16 byte is ignored. The text ends at the first NUL.
QString DecodeText(const QByteArray& bytes);

QString DecodeText(QByteArrayView bytes);

// Reads a whole file (other readers allowed); fails when it cannot be
// opened or read.
Result<QByteArray> ReadFileBytes(const QString& path, qint64 cap);

// Opens a regular file of at most `cap` bytes; the reason in `error` if not.
bool OpenForReading(QFile& file, const QString& path, qint64 cap, QString* error);
// Reads up to `size` bytes into `raw`; `done` tells how many came (fewer when
// the file shrank while being read).
bool ReadInto(QFile& file, char* raw, qint64 size, qint64& done, const QString& path, QString* error);

// Cuts 8-bit text into byte lines at CR LF, CR and LF. A NUL byte ends the
// text, no mark is recognised, and a break at the very end opens no empty
// last line.
QByteArrayList CutByteLines(QByteArrayView bytes);

// Appends the text as UTF-16 little-endian, whatever the host's byte order.
void AppendUtf16Le(QByteArray& out, QStringView text);

// Lines as UTF-16LE with the FF FE mark, CR LF after every line: the form
// the program writes its Unicode files in (bookmarks, second index).
QByteArray Utf16FileBytes(const QStringList& lines);

} // namespace lexifol
