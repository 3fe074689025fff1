#include "index/Collation.h"

#include <unicode/ucol.h>
#include <unicode/uloc.h>

#include <atomic>
#include <map>
#include <mutex>
#include <vector>

namespace lexifol {

struct IndexCollation::Impl {
    UCollator* coll = nullptr;
    UCollator* letters = nullptr; // the same order blind to accents
    QString locale;
    bool known = false;
};

namespace {

// ICU maps the C and POSIX locales to en_US_POSIX, whose collation puts every
// capital before every small letter as a primary difference: case would no
// longer be ignored. Such a locale collates as its language and country.
QByteArray UsableLocale(const QString& requested)
{
    QByteArray id = requested.isEmpty() ? QByteArray(uloc_getDefault()) : requested.toUtf8();
    // A language tag with options ("en-u-ka-shifted") in ICU's own form
    // ("en@colalternate=shifted"), which ucol_open reads the options of.
    if (id.contains("-u-")) {
        char icu[ULOC_FULLNAME_CAPACITY] = {};
        UErrorCode tagErr = U_ZERO_ERROR;
        uloc_forLanguageTag(id.constData(), icu, sizeof icu, nullptr, &tagErr);
        if (U_SUCCESS(tagErr) && *icu)
            id = QByteArray(icu);
    }
    char variant[ULOC_FULLNAME_CAPACITY] = {};
    UErrorCode err = U_ZERO_ERROR;
    uloc_getVariant(id.constData(), variant, sizeof variant, &err);
    if (U_SUCCESS(err) && qstricmp(variant, "POSIX") == 0) {
        char lang[ULOC_LANG_CAPACITY] = {};
        char country[ULOC_COUNTRY_CAPACITY] = {};
        err = U_ZERO_ERROR;
        uloc_getLanguage(id.constData(), lang, sizeof lang, &err);
        uloc_getCountry(id.constData(), country, sizeof country, &err);
        id = QByteArray(lang);
        if (*country)
            id += '_' + QByteArray(country);
    }
    return id;
}

} // namespace

namespace {

UCollator* OpenCollator(const QByteArray& id, UCollationStrength strength)
{
    UErrorCode err = U_ZERO_ERROR; // fallback warnings are expected
    UCollator* coll = ucol_open(id.constData(), &err);
    if (U_FAILURE(err) || !coll) {
        err = U_ZERO_ERROR;
        coll = ucol_open("", &err); // root collation
        if (U_FAILURE(err))
            return nullptr;
    }
    // Secondary: case ignored, accents count. Alternate handling stays
    // non-ignorable so that TAB sorts before blanks, punctuation, digits
    // and letters, and "apple" < "apple<TAB>12" < "applesauce<TAB>3".
    err = U_ZERO_ERROR;
    ucol_setStrength(coll, strength);
    // Unless the locale asks for blanks and punctuation to be ignored
    // (dictionaries sorted letter by letter: "colAlternate=shifted").
    char alternate[32] = {};
    UErrorCode keyErr = U_ZERO_ERROR;
    const int32_t asked = uloc_getKeywordValue(id.constData(), "colalternate", alternate, sizeof alternate, &keyErr);
    if (U_FAILURE(keyErr) || asked <= 0)
        ucol_setAttribute(coll, UCOL_ALTERNATE_HANDLING, UCOL_NON_IGNORABLE, &err);
    return coll;
}

} // namespace

IndexCollation::IndexCollation(const QString& locale)
    : d(std::make_unique<Impl>())
{
    const QByteArray id = UsableLocale(locale);
    d->locale = QString::fromUtf8(id);
    d->coll = OpenCollator(id, UCOL_SECONDARY);
    d->letters = OpenCollator(id, UCOL_PRIMARY);
    if (d->coll) {
        UErrorCode validErr = U_ZERO_ERROR;
        const char* valid = ucol_getLocaleByType(d->coll, ULOC_VALID_LOCALE, &validErr);
        d->known = U_SUCCESS(validErr) && valid && (qstrcmp(valid, "root") != 0 || id.isEmpty() || id == "root");
    }
}

IndexCollation::~IndexCollation()
{
    if (d->coll)
        ucol_close(d->coll);
    if (d->letters)
        ucol_close(d->letters);
}

bool IndexCollation::sameLetters(QStringView a, QStringView b) const
{
    if (Q_UNLIKELY(!d->letters))
        return a.compare(b, Qt::CaseInsensitive) == 0;
    return ucol_strcoll(d->letters, reinterpret_cast<const UChar*>(a.utf16()), int32_t(a.size()),
                        reinterpret_cast<const UChar*>(b.utf16()), int32_t(b.size()))
        == UCOL_EQUAL;
}

int IndexCollation::compare(QStringView a, QStringView b) const
{
    if (Q_UNLIKELY(!d->coll))
        return a.compare(b, Qt::CaseInsensitive);
    return int(ucol_strcoll(d->coll, reinterpret_cast<const UChar*>(a.utf16()), int32_t(a.size()),
                            reinterpret_cast<const UChar*>(b.utf16()), int32_t(b.size())));
}

bool IndexCollation::appendSortKey(QStringView text, QByteArray& out) const
{
    if (!d->coll)
        return false;
    const auto* s = reinterpret_cast<const UChar*>(text.utf16());
    const qsizetype at = out.size();
    out.resize(at + 64);
    int32_t n = ucol_getSortKey(d->coll, s, int32_t(text.size()), reinterpret_cast<uint8_t*>(out.data() + at), 64);
    if (n > 64) {
        out.resize(at + n);
        n = ucol_getSortKey(d->coll, s, int32_t(text.size()), reinterpret_cast<uint8_t*>(out.data() + at), n);
    }
    out.resize(at + n);
    return true;
}

std::optional<quint64> IndexCollation::sortKeyPrefix(QStringView text, bool* whole) const
{
    if (!d->coll)
        return std::nullopt;
    const auto* s = reinterpret_cast<const UChar*>(text.utf16());
    uint8_t small[64];
    std::vector<uint8_t> large;
    uint8_t* key = small;
    int32_t n = ucol_getSortKey(d->coll, s, int32_t(text.size()), small, int32_t(sizeof small));
    if (n > int32_t(sizeof small)) {
        large.resize(size_t(n));
        key = large.data();
        n = ucol_getSortKey(d->coll, s, int32_t(text.size()), key, n);
    }
    quint64 prefix = 0;
    for (int i = 0; i < 8; ++i)
        prefix = prefix << 8 | (i < n ? key[i] : 0);
    *whole = n <= 8; // the terminating NUL counted
    return prefix;
}

QString IndexCollation::locale() const
{
    return d->locale;
}

bool IndexCollation::known() const
{
    return d->known;
}

namespace {
struct CollationState {
    std::mutex lock;
    std::atomic<IndexCollation*> current{nullptr};
    // Replaced collations stay alive: callers may still hold the reference.
    std::vector<std::unique_ptr<IndexCollation>> all;
    std::map<QString, std::unique_ptr<IndexCollation>> named;
};

CollationState& State()
{
    static CollationState s;
    return s;
}
} // namespace

const IndexCollation& IndexCollation::Default()
{
    CollationState& s = State();
    // Every search asks for it: no lock once it exists.
    if (IndexCollation* c = s.current.load(std::memory_order_acquire))
        return *c;
    std::lock_guard guard(s.lock);
    if (!s.current.load(std::memory_order_relaxed)) {
        s.all.push_back(std::make_unique<IndexCollation>());
        s.current.store(s.all.back().get(), std::memory_order_release);
    }
    return *s.current.load(std::memory_order_relaxed);
}

void IndexCollation::SetDefaultLocale(const QString& locale)
{
    CollationState& s = State();
    std::lock_guard guard(s.lock);
    s.all.push_back(std::make_unique<IndexCollation>(locale));
    s.current.store(s.all.back().get(), std::memory_order_release);
}

const IndexCollation* IndexCollation::ForLocale(const QString& locale)
{
    CollationState& s = State();
    std::lock_guard guard(s.lock);
    std::unique_ptr<IndexCollation>& slot = s.named[locale];
    if (!slot)
        slot = std::make_unique<IndexCollation>(locale);
    return slot->known() ? slot.get() : nullptr;
}

} // namespace lexifol
