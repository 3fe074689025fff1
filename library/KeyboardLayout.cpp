#include "library/KeyboardLayout.h"

#include "library/KeyboardLayoutPlatform.h"

#include <cctype>

namespace lexifol {

namespace {

struct Language {
    quint16 langId;     // Windows LANGID
    const char* layout; // XKB layout
    const char* name;   // XKB's descriptive group name
};

// Where several languages share one XKB layout, the one listed first is the
// identifier reported for that layout (the usual Windows layout for it).
constexpr Language kLanguages[] = {
    {0x0409, "us", "English (US)"},
    {0x0809, "gb", "English (UK)"},
    {0x0419, "ru", "Russian"},
    {0x0422, "ua", "Ukrainian"},
    {0x0423, "by", "Belarusian"},
    {0x0402, "bg", "Bulgarian"},
    {0x0C1A, "rs", "Serbian"},
    {0x042F, "mk", "Macedonian"},
    {0x0407, "de", "German"},
    {0x0807, "ch", "German (Switzerland)"},
    {0x0C07, "at", "German (Austria)"},
    {0x040C, "fr", "French"},
    {0x080C, "be", "Belgian"},
    {0x0813, "be", "Belgian"},
    {0x0C0C, "ca", "French (Canada)"},
    {0x0410, "it", "Italian"},
    {0x040A, "es", "Spanish"},
    {0x0C0A, "es", "Spanish"},
    {0x080A, "latam", "Spanish (Latin American)"},
    {0x0816, "pt", "Portuguese"},
    {0x0416, "br", "Portuguese (Brazil)"},
    {0x0413, "nl", "Dutch"},
    {0x0406, "dk", "Danish"},
    {0x0414, "no", "Norwegian"},
    {0x041D, "se", "Swedish"},
    {0x040B, "fi", "Finnish"},
    {0x040F, "is", "Icelandic"},
    {0x0415, "pl", "Polish"},
    {0x0405, "cz", "Czech"},
    {0x041B, "sk", "Slovak"},
    {0x040E, "hu", "Hungarian"},
    {0x0418, "ro", "Romanian"},
    {0x041A, "hr", "Croatian"},
    {0x0424, "si", "Slovenian"},
    {0x041C, "al", "Albanian"},
    {0x0425, "ee", "Estonian"},
    {0x0426, "lv", "Latvian"},
    {0x0427, "lt", "Lithuanian"},
    {0x0408, "gr", "Greek"},
    {0x041F, "tr", "Turkish"},
    {0x040D, "il", "Hebrew"},
    {0x0401, "ara", "Arabic"},
    {0x0429, "ir", "Persian"},
    {0x0420, "pk", "Urdu (Pakistan)"},
    {0x0437, "ge", "Georgian"},
    {0x042B, "am", "Armenian"},
    {0x042C, "az", "Azerbaijani"},
    {0x043F, "kz", "Kazakh"},
    {0x0440, "kg", "Kyrgyz"},
    {0x0443, "uz", "Uzbek"},
    {0x0428, "tj", "Tajik"},
    {0x0450, "mn", "Mongolian"},
    {0x0439, "in", "Indian"},
    {0x0445, "bd", "Bangla"},
    {0x041E, "th", "Thai"},
    {0x042A, "vn", "Vietnamese"},
    {0x0411, "jp", "Japanese"},
    {0x0412, "kr", "Korean"},
    {0x0804, "cn", "Chinese"},
    {0x0404, "tw", "Taiwanese"},
};

QByteArray identifierFor(quint16 langId)
{
    return QByteArray::number(langId, 16).toUpper().rightJustified(8, '0');
}

QByteArray bareLayout(const QByteArray& layout)
{
    QByteArray l = layout.trimmed().toLower();
    const qsizetype paren = l.indexOf('(');
    if (paren >= 0)
        l.truncate(paren);
    return l.trimmed();
}

// The identifier that stands for a group, empty when its language is unknown.
QByteArray identifierForGroup(const detail::XkbGroups& g, int group)
{
    if (group < 0)
        return {};
    if (group < g.layouts.size())
        return IdentifierForXkbLayout(g.layouts[group]);
    if (group < g.names.size())
        return IdentifierForXkbGroupName(g.names[group]);
    return {};
}

int groupForLayout(const detail::XkbGroups& g, const QByteArray& layout)
{
    for (int i = 0; i < g.layouts.size(); ++i) {
        if (bareLayout(g.layouts[i]) == layout)
            return i;
    }
    if (!g.layouts.isEmpty())
        return -1;
    // Without a layout list the descriptive names are all there is.
    const QByteArray wanted = IdentifierForXkbLayout(layout);
    for (int i = 0; i < g.names.size(); ++i) {
        if (!wanted.isEmpty() && IdentifierForXkbGroupName(g.names[i]) == wanted)
            return i;
    }
    return -1;
}

struct Active {
    QByteArray id;              // empty until something was activated
    int groupAtActivation = -1; // XKB group right after it, -1 without XKB
};

Active& active()
{
    static Active a;
    return a;
}

} // namespace

std::optional<quint16> KeyboardLayoutLanguage(const QByteArray& id8hex)
{
    if (id8hex.size() != 8)
        return std::nullopt;
    for (char c : id8hex) {
        if (!std::isxdigit(static_cast<unsigned char>(c)))
            return std::nullopt;
    }
    bool ok = false;
    const uint v = id8hex.toUInt(&ok, 16);
    if (!ok)
        return std::nullopt;
    return quint16(v & 0xFFFF);
}

QByteArray XkbLayoutForLanguage(quint16 langId)
{
    for (const Language& l : kLanguages) {
        if (l.langId == langId)
            return QByteArray(l.layout);
    }
    return {};
}

QByteArray IdentifierForXkbLayout(const QByteArray& layout)
{
    const QByteArray bare = bareLayout(layout);
    for (const Language& l : kLanguages) {
        if (bare == l.layout)
            return identifierFor(l.langId);
    }
    return {};
}

QByteArray IdentifierForXkbGroupName(const QString& groupName)
{
    const QString name = groupName.trimmed();
    if (name.isEmpty())
        return {};
    for (const Language& l : kLanguages) {
        if (name.compare(QLatin1StringView(l.name), Qt::CaseInsensitive) == 0)
            return identifierFor(l.langId);
    }
    // A variant's name extends its layout's: "Russian (phonetic)",
    // "English (US, intl., with dead keys)". The longest stem wins, so that
    // "Portuguese (Brazil, ...)" is not taken for "Portuguese".
    const Language* best = nullptr;
    qsizetype bestLen = 0;
    for (const Language& l : kLanguages) {
        QString stem = QString::fromLatin1(l.name);
        if (stem.endsWith(u')')) {
            stem.chop(1);
            stem += QStringLiteral(", ");
        } else {
            stem += QStringLiteral(" (");
        }
        if (name.startsWith(stem, Qt::CaseInsensitive) && stem.size() > bestLen) {
            best = &l;
            bestLen = stem.size();
        }
    }
    return best ? identifierFor(best->langId) : QByteArray();
}

QByteArrayList LayoutsFromRulesNames(const QByteArray& property)
{
    const QByteArrayList fields = property.split('\0');
    if (fields.size() < 3 || fields[2].isEmpty())
        return {};
    QByteArrayList layouts = fields[2].split(',');
    for (QByteArray& l : layouts)
        l = l.trimmed();
    return layouts;
}

bool LoadKeyboardLayout(const QByteArray& id8hex, bool switchSystem)
{
    const std::optional<quint16> lang = KeyboardLayoutLanguage(id8hex);
    if (!lang)
        return false;
    int group = -1;
    if (const std::optional<detail::XkbGroups> g = switchSystem ? detail::QueryXkbGroups() : std::nullopt) {
        group = g->current;
        const QByteArray layout = XkbLayoutForLanguage(*lang);
        const int wanted = layout.isEmpty() ? -1 : groupForLayout(*g, layout);
        if (wanted >= 0 && detail::LockXkbGroup(wanted))
            group = wanted;
    }
    active().id = id8hex.toUpper();
    active().groupAtActivation = group;
    return true;
}

bool CanSwitchTo(const QByteArray& xkbLayout)
{
    const std::optional<detail::XkbGroups> g = detail::QueryXkbGroups();
    return g && !xkbLayout.isEmpty() && groupForLayout(*g, xkbLayout) >= 0;
}

QByteArray ActiveKeyboardLayoutName()
{
    const Active& a = active();
    const std::optional<detail::XkbGroups> g = detail::QueryXkbGroups();
    // A group switched by the user since the last activation is what is
    // active now, as the Windows call would report it.
    const bool switched = g && (a.id.isEmpty() || g->current != a.groupAtActivation);
    if (switched) {
        const QByteArray id = identifierForGroup(*g, g->current);
        if (!id.isEmpty())
            return id;
    }
    if (!a.id.isEmpty())
        return a.id;
    return QByteArrayLiteral("00000409");
}

#if !defined(LEXIFOL_HAVE_XKB)
// Builds without X11 have no group to query or lock.
namespace detail {
std::optional<XkbGroups> QueryXkbGroups()
{
    return std::nullopt;
}
bool LockXkbGroup(int)
{
    return false;
}
} // namespace detail
#endif

} // namespace lexifol
