#include "index/Replacement.h"
#include "base/TextFile.h"

#include <QStringDecoder>

namespace lexifol {

namespace {

// Strict UTF-8 (overlong forms, surrogates and cut-off sequences are errors);
// a leading EF BB BF is kept as U+FEFF rather than dropped.
bool DecodeStrictUtf8(QByteArrayView bytes, QString& out)
{
    QStringDecoder decoder(QStringDecoder::Utf8,
                           QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    out = decoder.decode(bytes);
    return !decoder.hasError();
}

// The unit whose UTF-8 encoding is exactly `key`, or -1. Surrogate halves
// have no UTF-8 encoding of their own, so no key ever names one.
int UnitForKey(QByteArrayView key)
{
    if (key.isEmpty() || key.size() > 3)
        return -1;
    QString decoded;
    if (!DecodeStrictUtf8(key, decoded) || decoded.size() != 1 || decoded.at(0).isSurrogate())
        return -1;
    return decoded.at(0).unicode();
}

} // namespace

void ReplacementList::clear()
{
    lines_.clear();
    dirty_ = true;
}

void ReplacementList::setLines(const QByteArrayList& lines)
{
    lines_ = lines;
    dirty_ = true;
}

void ReplacementList::append(const QByteArray& line)
{
    lines_.append(line);
    dirty_ = true;
}

void ReplacementList::setBytes(const QByteArray& bytes)
{
    lines_ = CutByteLines(bytes);
    dirty_ = true;
}

const QByteArray* ReplacementList::ruleFor(QByteArrayView key) const
{
    if (dirty_)
        rebuild();
    // Lines that begin with "=" are not in the table, so an empty key misses.
    const auto it = lookup_.constFind(key.toByteArray());
    return it == lookup_.cend() ? nullptr : &lines_.at(*it);
}

void ReplacementList::rebuild() const
{
    lookup_.clear();
    unitRules_.clear();
    highUnits_.clear();
    directUnits_.assign(kDirectUnits, -1);

    for (int i = 0; i < lines_.size(); ++i) {
        const qsizetype eq = lines_.at(i).indexOf('=');
        if (eq > 0)
            lookup_.insert(lines_.at(i).left(eq), i); // a later line replaces an earlier one
    }
    unitRules_.reserve(size_t(lookup_.size()));
    for (auto it = lookup_.cbegin(); it != lookup_.cend(); ++it) {
        const int unit = UnitForKey(it.key());
        if (unit < 0)
            continue;
        UnitRule rule;
        QString whole;
        // The rule line is "X=V"; X is a single unit, so V starts at index 2.
        if (DecodeStrictUtf8(lines_.at(*it), whole)) {
            const QStringView v = QStringView(whole).mid(2);
            if (v.isEmpty()) {
                rule.kind = UnitRule::Delete;
            } else if (v.size() >= 3 && v.startsWith(QLatin1StringView("f/"))) {
                rule.kind = UnitRule::FirstOnly;
                rule.text = v.mid(2).toString();
            } else {
                rule.kind = UnitRule::Replace;
                rule.text = v.toString();
            }
        }
        const int32_t index = int32_t(unitRules_.size());
        unitRules_.push_back(std::move(rule));
        if (unit < kDirectUnits)
            directUnits_[size_t(unit)] = index;
        else
            highUnits_.insert(char16_t(unit), index);
    }
    dirty_ = false;
}

} // namespace lexifol
