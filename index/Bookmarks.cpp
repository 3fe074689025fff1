#include "index/Bookmarks.h"
#include "base/AtomicFile.h"
#include "index/IndexList.h"
#include "base/TextFile.h"
#include "index/IndexFile.h"
#include <QFile>
#include <QFileInfo>

namespace lexifol {

Result<QStringList> LoadBookmarks(const QString& path)
{
    const Result<QByteArray> bytes = ReadFileBytes(path, kListCap);
    if (!bytes)
        return Status::failure(bytes.error());
    QStringList lines = DecodeLinesToStrings(bytes.value());
    const bool onlyMark = bytes->size() == DetectMark(bytes.value()).length;
    if (lines.isEmpty() && !onlyMark)
        return Status::failure(QStringLiteral("%1 holds no text").arg(path));
    return lines;
}

bool SetUnusableFileAside(const QString& path)
{
    QString aside = path + QStringLiteral(".bak");
    for (int n = 2; QFileInfo::exists(aside); ++n)
        aside = path + QStringLiteral(".bak") + QString::number(n);
    return QFile::rename(path, aside);
}

QByteArray BookmarkFileBytes(const QStringList& lines)
{
    return Utf16FileBytes(lines);
}

Status SaveBookmarks(const QString& path, const QStringList& lines)
{
    return WriteFileAtomically(path, BookmarkFileBytes(lines));
}

QString EntryHeadword(const QString& line)
{
    const auto parts = SplitAtTab(line);
    return parts ? parts->before.toString() : QString();
}

QString EntryDictionary(const QString& line)
{
    const auto parts = SplitAtTab(line);
    return parts ? parts->after.toString() : QString();
}

} // namespace lexifol
