#include "base/SaveReport.h"

#include <QDir>
#include <QFileInfo>

namespace lexifol {

QString SaveReport::message(const QString& path, const Status& result)
{
    const QString full = QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
    if (result.ok()) {
        failing_.remove(full);
        return {};
    }
    if (failing_.contains(full))
        return {};
    failing_.insert(full);
    return QStringLiteral("Can not save %1: %2").arg(full, result.error());
}

} // namespace lexifol
