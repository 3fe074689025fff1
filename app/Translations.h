#pragma once
// Lexifol's own translation and Qt's, for its standard dialogs, installed
// for the first language that Lexifol has a translation for.
#include <QStringList>

namespace lexifol {

// The language installed ("ru"), or empty: English.
QString InstallTranslations(const QStringList& candidates, const QString& folder = QStringLiteral(":/i18n"));
// What the last call installed: the language the window's own pages (help,
// welcome) are shown in.
QString InstalledLanguage();

} // namespace lexifol
