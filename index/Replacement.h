#pragma once
// Replacement rules: raw 8-bit lines "X=V" (UTF-8 bytes), with a lookup from
// key (bytes before the first "=") to the last line carrying it.
#include <QByteArray>
#include <QByteArrayList>
#include <QHash>
#include <QString>

#include <cstdint>
#include <vector>

namespace lexifol {

class ReplacementList
{
public:
    void clear();
    bool isEmpty() const { return lines_.isEmpty(); }
    int count() const { return int(lines_.size()); }
    const QByteArrayList& lines() const { return lines_; }
    void setLines(const QByteArrayList& lines);
    void append(const QByteArray& line);
    // Cuts raw bytes at CR LF, CR, LF; NUL ends; no mark is recognised.
    void setBytes(const QByteArray& bytes);

    // The last line whose key equals `key`, or nullptr.
    const QByteArray* ruleFor(QByteArrayView key) const;

    // What the rule in force does to one UTF-16 unit (the unit's UTF-8
    // encoding is the key), decoded once per change of the list.
    struct UnitRule {
        enum Kind : uint8_t {
            Keep,      // the rule line is not valid UTF-8
            Delete,    // "X="
            FirstOnly, // "X=f/V": V only at the start of the text
            Replace,   // "X=V"
        };
        Kind kind = Keep;
        QString text;
    };
    // nullptr when no line has that unit's key.
    const UnitRule* ruleForUnit(char16_t unit) const
    {
        if (dirty_)
            rebuild();
        const int32_t i = unit < kDirectUnits ? directUnits_[unit] : highUnits_.value(unit, -1);
        return i < 0 ? nullptr : &unitRules_[size_t(i)];
    }

private:
    void rebuild() const;
    static constexpr char16_t kDirectUnits = 0x800; // the one- and two-byte UTF-8 range

    QByteArrayList lines_;
    mutable QHash<QByteArray, int> lookup_;
    mutable std::vector<UnitRule> unitRules_;
    mutable std::vector<int32_t> directUnits_; // unit < kDirectUnits -> index or -1
    mutable QHash<char16_t, int32_t> highUnits_;
    mutable bool dirty_ = true;
};

} // namespace lexifol
