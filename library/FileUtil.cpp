#include "library/FileUtil.h"

#include <QFileInfo>
#include <QSaveFile>

namespace lexifol {

QByteArrayList CutRawLines(QByteArrayView bytes)
{
    QByteArrayList lines;
    const qsizetype end = [&] {
        const qsizetype nul = bytes.indexOf('\0');
        return nul < 0 ? bytes.size() : nul;
    }();
    qsizetype i = 0;
    while (i < end) {
        qsizetype j = i;
        while (j < end && bytes[j] != '\r' && bytes[j] != '\n')
            ++j;
        lines.append(bytes.sliced(i, j - i).toByteArray());
        if (j < end && bytes[j] == '\r')
            ++j;
        if (j < end && bytes[j] == '\n')
            ++j;
        i = j;
    }
    return lines;
}

bool ReplaceFile(const QString& path, const QByteArray& bytes)
{
    const QFileInfo info(path);
    if (info.exists()) {
        // No write bit at all is the read-only mark; root passes access()
        // checks regardless, so the bits are looked at too.
        const auto anyWrite = QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther;
        if (!info.isFile() || !info.isWritable() || !(info.permissions() & anyWrite))
            return false;
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

} // namespace lexifol
