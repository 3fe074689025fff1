#pragma once
// An index file in memory: the decoded text in one UTF-16 buffer plus the
// offset of every line. A million lines are one allocation, not a million
// strings; headword and value are views into the buffer. A copy shares both
// blocks (they are never changed once built), so the open dictionary, the
// cache and the other dictionaries' look-ups hold one index once.
#include <QString>
#include <QStringView>

#include "index/LineOffsets.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <stdexcept>

namespace lexifol {

// "List index out of bounds (%d)", as the user sees it.
QString ListIndexMessage(long long position);

// The two sides of a "name TAB rest" line (index entries, history and
// bookmark entries, catalogue lines): nothing when the line has no TAB.
struct TabSplit {
    QStringView before, after;
};
std::optional<TabSplit> SplitAtTab(QStringView line);

// Cuts `text` into lines where it lies, by the rules of setText: each line
// then ends in one separator unit, and `offsets` holds where each begins
// and where the last ends. Both keep their blocks from call to call, for
// readers that take a file a piece at a time.
void CutLinesInPlace(QString& text, LineOffsets& offsets);

class IndexList
{
public:
    int count() const { return lines_; }
    bool isEmpty() const { return count() == 0; }
    void clear();
    void swap(IndexList& other) noexcept;

    // Empty outside 0..count-1: callers check positions against count().
    QStringView line(long long pos) const;
    QStringView headword(long long pos) const; // text before the first TAB; empty without TAB
    // Everything after the first TAB (without TAB: the line without its first
    // character).
    QStringView value(long long pos) const;

    // Builds the list from decoded text (the text is cut into lines with the
    // index file rules: CR LF, CR, LF, U+2028; NUL ends the text).
    // These builders throw std::length_error, leaving the list as it was,
    // for a text of 2^31 - 1 units or more.
    void setText(QString text);
    // The same from raw UTF-16 (mark already skipped), decoded and cut in
    // one pass without an intermediate copy of the text.
    void setUtf16(const char* data, qsizetype bytes, bool bigEndian);
    // Takes over a buffer whose units [start, start + units) hold raw UTF-16
    // file content (the mark before `start`) and cuts it where it lies. The
    // buffer must hold at least start + units + 1 units.
    void setRawUtf16(QString buffer, qsizetype start, qsizetype units, bool bigEndian);
    // The same from 8-bit text of a single-byte code page through its table
    // of 256 units, decoded and cut in one pass.
    void setSingleByte(const char* data, qsizetype bytes, const char16_t* table);
    // The same from bytes that lie in `buffer` itself, from byte `rawOffset`
    // on, which must be at least bytes + 32 (the units written trail the
    // bytes read): a file is converted with no second copy of it.
    void setSingleByteInPlace(QString buffer, qsizetype rawOffset, qsizetype bytes, const char16_t* table);
    // For tests and builders: one entry per string.
    void setLines(const QStringList& lines);

    // Approximate heap bytes held (text + offsets), counted once however
    // many copies share them.
    size_t memoryBytes() const;
    // Another copy holds the same blocks.
    bool isShared() const { return offsets_.use_count() > 1; }

private:
    void decodeSingleByte(QString out, const uchar* data, qsizetype bytes, const char16_t* table);
    void adopt(QString text, qsizetype units, LineOffsets offsets);
    void hold(QString text, LineOffsets offsets);

    // Lines are compacted in place so that each is followed by exactly one
    // separator unit: line i is [offsets_[i], offsets_[i+1] - 1).
    // offsets_[0] may be 1: a UTF-16 file read in place keeps its mark there.
    QString text_;
    std::shared_ptr<const LineOffsets> offsets_;
    const uint32_t* at_ = nullptr; // offsets_'s block, read without a second hop
    int lines_ = 0;
};

} // namespace lexifol
