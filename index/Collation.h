#pragma once
// The one comparison for index order: linguistic, in the user's locale,
// letter case ignored, blanks and punctuation not ignorable.
#include <QString>
#include <optional>
#include <QStringView>
#include <memory>

namespace lexifol {

class IndexCollation
{
public:
    // ICU locale id such as "en_US", "ru", "de"; empty for the user's default.
    explicit IndexCollation(const QString& locale = QString());
    ~IndexCollation();
    IndexCollation(const IndexCollation&) = delete;
    IndexCollation& operator=(const IndexCollation&) = delete;

    // <0, 0, >0 over the full texts.
    int compare(QStringView a, QStringView b) const;
    // Equal but for accents and letter case ("cafe", "Café").
    bool sameLetters(QStringView a, QStringView b) const;
    // Appends the text's sort key, NUL-terminated: keys compared bytewise
    // (strcmp) order as compare() does. False when there is no collator.
    bool appendSortKey(QStringView text, QByteArray& out) const;
    // The first eight bytes of the sort key as one number (zeros past its
    // end): numbers that differ order as compare() does; equal numbers need
    // compare() unless `whole` says the key fitted. nullopt: no collator.
    std::optional<quint64> sortKeyPrefix(QStringView text, bool* whole) const;
    QString locale() const;
    // Whether ICU has collation data for the locale; an unknown name gets
    // the root order, which sorts no language's dictionary.
    bool known() const;

    // The process-wide collation; SetDefaultCollationLocale replaces it (tests).
    static const IndexCollation& Default();
    static void SetDefaultLocale(const QString& locale);
    // The collation of a named locale, made once per name and kept for the
    // process; nullptr when ICU does not know the locale.
    static const IndexCollation* ForLocale(const QString& locale);

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

} // namespace lexifol
