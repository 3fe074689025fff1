#include "library/FileUtil.h"
#include "base/AtomicFile.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace lexifol {

Status ReplaceFile(const QString& path, const QByteArray& bytes)
{
    const QFileInfo info(path);
    if (info.exists()) {
        // No write bit at all is the read-only mark; root passes access()
        // checks regardless, so the bits are looked at too.
        const auto anyWrite = QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther;
        if (!info.isFile() || !info.isWritable() || !(info.permissions() & anyWrite))
            return Status::failure(QCoreApplication::translate("lexifol", "The file is read-only"));
    }
    return WriteFileAtomically(path, bytes);
}

} // namespace lexifol
