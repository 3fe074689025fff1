#pragma once
// The language Lexifol speaks: [View] Language when it names one, else the
// system's, as gettext decides it (LANGUAGE, then LC_ALL, LC_MESSAGES and
// LANG). The messages of lexifol-index stay English: scripts read them.
#include <QString>
#include <QStringList>

#include <functional>

namespace lexifol {

// The translations to try, best first ("ru_RU", "ru"); empty: English.
// `setting` is [View] Language ("" or "system": follow the system; "en":
// English); `env` reads an environment variable.
QStringList TranslationCandidates(const QString& setting, const std::function<QString(const char*)>& env);

} // namespace lexifol
