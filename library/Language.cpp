#include "library/Language.h"

namespace lexifol {

namespace {

// "ru_RU.UTF-8@latin" gives "ru_RU" and "ru"; "C" and "POSIX" give nothing.
QStringList Forms(QString name)
{
    name = name.section(u'@', 0, 0).section(u'.', 0, 0).trimmed();
    if (name.isEmpty() || name == u"C" || name == u"POSIX")
        return {};
    const QString language = name.section(u'_', 0, 0).section(u'-', 0, 0).toLower();
    if (language.isEmpty() || language.size() > 3
        || !std::all_of(language.begin(), language.end(), [](QChar c) { return c >= u'a' && c <= u'z'; }))
        return {};
    QStringList out;
    if (name.contains(u'_'))
        out << language + u'_' + name.section(u'_', 1).toUpper();
    out << language;
    return out;
}

} // namespace

QStringList TranslationCandidates(const QString& setting, const std::function<QString(const char*)>& env)
{
    const QString chosen = setting.trimmed();
    QStringList names;
    if (!chosen.isEmpty() && chosen.compare(u"system", Qt::CaseInsensitive) != 0) {
        names << chosen;
    } else {
        QString locale;
        for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"})
            if (locale = env(variable); !locale.isEmpty())
                break;
        // As gettext: LANGUAGE is a list of preferences, heard only when
        // the locale is not C.
        if (Forms(locale).isEmpty())
            return {};
        names = env("LANGUAGE").split(u':', Qt::SkipEmptyParts);
        names << locale;
    }
    QStringList out;
    for (const QString& name : names) {
        const QStringList forms = Forms(name);
        // English is the source language: nothing to load, and no later
        // preference overrides the choice of it.
        if (!forms.isEmpty() && forms.last() == u"en")
            break;
        for (const QString& f : forms)
            if (!out.contains(f))
                out << f;
    }
    return out;
}

} // namespace lexifol
