#include "app/Translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace lexifol {

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
        return language;
    }
    return QString();
}

} // namespace lexifol
