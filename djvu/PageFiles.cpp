#include "djvu/PageFiles.h"

#include <QDir>
#include <algorithm>

namespace lexifol::djvu {

PageSource PageSourceFor(const QString& folder, const QString& name, bool wholeFile, const QString& pageReference,
                         bool annotation)
{
    if (annotation && pageReference == QLatin1StringView("Annotation"))
        return {folder + QStringLiteral("Annotation.djvu"), QString(), false};
    if (!wholeFile)
        return {folder + pageReference + QStringLiteral(".djvu"), QString(), false};
    return {WholeDocumentPath(folder, name), pageReference, true};
}

QString WholeDocumentPath(const QString& folder, const QString& name)
{
    return folder + name + QStringLiteral(".djvu");
}

QFileInfoList ListPageFiles(const QString& folder)
{
    QFileInfoList files = QDir(folder).entryInfoList({QStringLiteral("*.djvu")}, QDir::Files, QDir::Name);
    files.erase(std::remove_if(files.begin(), files.end(),
                               [](const QFileInfo& f) {
                                   return f.completeBaseName().compare(QLatin1String("Annotation"), Qt::CaseInsensitive)
                                       == 0;
                               }),
                files.end());
    std::stable_sort(files.begin(), files.end(), [](const QFileInfo& a, const QFileInfo& b) {
        bool na = false, nb = false;
        const qlonglong x = a.completeBaseName().toLongLong(&na), y = b.completeBaseName().toLongLong(&nb);
        return na && nb ? x < y : na && !nb;
    });
    return files;
}

} // namespace lexifol::djvu
