#include "app/Translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace lexifol {

namespace {
// Translators are the process's, and so is their language.
QString g_installed;
} // namespace

QString InstalledLanguage()
{
    return g_installed;
}

QString InstallTranslations(const QStringList& candidates, const QString& folder)
{
    for (const QString& language : candidates) {
        auto* own = new QTranslator(QCoreApplication::instance());
        if (!own->load(QStringLiteral("lexifol_") + language, folder)) {
            delete own;
            continue;
        }
        QCoreApplication::installTranslator(own);
        auto* qt = new QTranslator(QCoreApplication::instance());
        if (qt->load(QStringLiteral("qtbase_") + language, QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
            QCoreApplication::installTranslator(qt);
        else
            delete qt;
        return g_installed = language;
    }
    return g_installed = QString();
}

} // namespace lexifol
