#include "base/CodePage.h"

#include <unicode/ucnv.h>

#include <cstdlib>
#include <initializer_list>
#include <mutex>
#include <vector>

namespace lexifol {

namespace {

struct LocaleParts {
    QString language;  // lower case
    QString territory; // upper case
    QString script;    // e.g. "Hant"
};

// "zh_TW.Big5@mod", "zh-Hant-HK", "ru" -> language, script, territory.
LocaleParts SplitLocale(const QString& name)
{
    QStringView s(name);
    const qsizetype cut = [&] {
        qsizetype i = 0;
        while (i < s.size() && s[i] != u'.' && s[i] != u'@')
            ++i;
        return i;
    }();
    s = s.left(cut);
    LocaleParts parts;
    int index = 0;
    qsizetype start = 0;
    for (qsizetype i = 0; i <= s.size(); ++i) {
        if (i < s.size() && s[i] != u'_' && s[i] != u'-')
            continue;
        const QStringView tag = s.mid(start, i - start);
        start = i + 1;
        if (tag.isEmpty())
            continue;
        if (index == 0) {
            parts.language = tag.toString().toLower();
        } else if (tag.size() == 4) {
            parts.script = tag.toString();
        } else if (parts.territory.isEmpty()) {
            parts.territory = tag.toString().toUpper();
        }
        ++index;
    }
    return parts;
}

} // namespace

QString AnsiCodePageForLocale(const QString& localeName)
{
    const LocaleParts p = SplitLocale(localeName);
    const QString& lang = p.language;
    auto in = [&](std::initializer_list<const char*> list) {
        for (const char* l : list)
            if (lang == QLatin1StringView(l))
                return true;
        return false;
    };
    if (in({"ru", "uk", "be", "bg", "sr", "mk"}))
        return QStringLiteral("windows-1251");
    if (in({"cs", "pl", "hu", "sk", "sl", "hr", "ro", "sq"}))
        return QStringLiteral("windows-1250");
    if (in({"el"}))
        return QStringLiteral("windows-1253");
    if (in({"tr", "az"}))
        return QStringLiteral("windows-1254");
    if (in({"he", "iw"}))
        return QStringLiteral("windows-1255");
    if (in({"ar", "fa", "ur"}))
        return QStringLiteral("windows-1256");
    if (in({"et", "lv", "lt"}))
        return QStringLiteral("windows-1257");
    if (in({"vi"}))
        return QStringLiteral("windows-1258");
    if (in({"th"}))
        return QStringLiteral("windows-874");
    if (in({"ja"}))
        return QStringLiteral("windows-932");
    if (in({"ko"}))
        return QStringLiteral("windows-949");
    if (in({"zh"})) {
        // Windows gives Traditional Chinese to Taiwan, Hong Kong and Macao,
        // Simplified (GBK) to everything else.
        const bool traditional = p.script.compare(QLatin1StringView("Hant"), Qt::CaseInsensitive) == 0
            || p.territory == QLatin1StringView("TW") || p.territory == QLatin1StringView("HK")
            || p.territory == QLatin1StringView("MO");
        return traditional ? QStringLiteral("windows-950") : QStringLiteral("windows-936");
    }
    return QStringLiteral("windows-1252");
}

struct AnsiCodec::Impl {
    QString name;
    UConverter* cnv = nullptr;
    // A converter carries state: one caller at a time.
    std::mutex lock;
    // Single-byte code pages: ICU's unit for every byte, read once.
    bool singleByte = false;
    char16_t table[256] = {};
};

namespace {
UConverter* OpenConverter(const QString& name)
{
    UErrorCode err = U_ZERO_ERROR;
    UConverter* cnv = ucnv_open(name.toLatin1().constData(), &err);
    if (U_FAILURE(err) || !cnv)
        return nullptr;
    err = U_ZERO_ERROR;
    ucnv_setSubstChars(cnv, "?", 1, &err);
    return cnv;
}
} // namespace

AnsiCodec::AnsiCodec(const QString& codePageName)
    : d(std::make_unique<Impl>())
{
    d->name = codePageName;
    d->cnv = OpenConverter(codePageName);
    if (!d->cnv && codePageName != QLatin1StringView("windows-1252")) {
        d->name = QStringLiteral("windows-1252");
        d->cnv = OpenConverter(d->name);
    }
    if (d->cnv && ucnv_getMaxCharSize(d->cnv) == 1) {
        d->singleByte = true;
        for (int b = 0; b < 256 && d->singleByte; ++b) {
            const char byte = char(b);
            UChar unit[2];
            UErrorCode err = U_ZERO_ERROR;
            const int32_t n = ucnv_toUChars(d->cnv, unit, 2, &byte, 1, &err);
            d->singleByte = U_SUCCESS(err) && n == 1;
            d->table[b] = unit[0];
        }
    }
}

const char16_t* AnsiCodec::singleByteTable() const
{
    return d->singleByte ? d->table : nullptr;
}

AnsiCodec::~AnsiCodec()
{
    if (d->cnv)
        ucnv_close(d->cnv);
}

QString AnsiCodec::name() const
{
    return d->name;
}

QString AnsiCodec::decode(QByteArrayView bytes) const
{
    if (bytes.isEmpty())
        return QString();
    if (!d->cnv) // ICU without converter data: Latin-1 is the nearest 8-bit guess
        return QString::fromLatin1(bytes);
    std::lock_guard guard(d->lock);
    // None of the Windows code pages yields more UTF-16 units than bytes;
    // the retry below covers a converter that does.
    qsizetype capacity = bytes.size() + 1;
    for (int attempt = 0; attempt < 2; ++attempt) {
        QString out(capacity, Qt::Uninitialized);
        UErrorCode err = U_ZERO_ERROR;
        const int32_t n = ucnv_toUChars(d->cnv, reinterpret_cast<UChar*>(out.data()), int32_t(capacity), bytes.data(),
                                        int32_t(bytes.size()), &err);
        if (err == U_BUFFER_OVERFLOW_ERROR) {
            capacity = qsizetype(n) + 1;
            continue;
        }
        if (U_FAILURE(err))
            return QString();
        out.truncate(n);
        return out;
    }
    return QString();
}

QByteArray AnsiCodec::encode(QStringView text) const
{
    if (text.isEmpty())
        return QByteArray();
    if (!d->cnv)
        return text.toLatin1();
    std::lock_guard guard(d->lock);
    const qsizetype capacity = text.size() * ucnv_getMaxCharSize(d->cnv) + 1;
    QByteArray out(capacity, Qt::Uninitialized);
    UErrorCode err = U_ZERO_ERROR;
    const int32_t n = ucnv_fromUChars(d->cnv, out.data(), int32_t(capacity),
                                      reinterpret_cast<const UChar*>(text.utf16()), int32_t(text.size()), &err);
    if (U_FAILURE(err))
        return QByteArray();
    out.truncate(n);
    return out;
}

QString AnsiLocaleName()
{
    for (const char* var : {"LC_ALL", "LC_CTYPE", "LANG"}) {
        const char* v = std::getenv(var);
        if (v && *v)
            return QString::fromLocal8Bit(v);
    }
    return QString();
}

namespace {

struct AnsiState {
    std::mutex lock;
    AnsiCodec* current = nullptr;
    // Replaced codecs stay alive: callers may still hold the reference.
    std::vector<std::unique_ptr<AnsiCodec>> all;
};

AnsiState& State()
{
    static AnsiState s;
    return s;
}

} // namespace

const AnsiCodec& Ansi()
{
    AnsiState& s = State();
    std::lock_guard guard(s.lock);
    if (!s.current) {
        s.all.push_back(std::make_unique<AnsiCodec>(AnsiCodePageForLocale(AnsiLocaleName())));
        s.current = s.all.back().get();
    }
    return *s.current;
}

void SetAnsiLocale(const QString& localeName)
{
    AnsiState& s = State();
    std::lock_guard guard(s.lock);
    s.all.push_back(std::make_unique<AnsiCodec>(AnsiCodePageForLocale(localeName)));
    s.current = s.all.back().get();
}

} // namespace lexifol
