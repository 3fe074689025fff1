#include "djvu/PageFiles.h"

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

} // namespace lexifol::djvu
