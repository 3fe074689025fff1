#include "index/Bookmarks.h"
#include "index/AtomicFile.h"
#include "index/TextFile.h"
#include <QFile>
#include <QFileInfo>

namespace lexifol {

bool LoadBookmarks(const QString& path, QStringList& lines)
{
    lines.clear();
    QByteArray bytes;
    if (!ReadFileBytes(path, bytes))
        return false;
    lines = DecodeLinesToStrings(bytes);
    const bool onlyMark = bytes.size() == DetectMark(bytes).length;
    return !lines.isEmpty() || onlyMark;
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
    const qsizetype tab = line.indexOf(u'\t');
    return tab < 0 ? QString() : line.left(tab);
}

QString EntryDictionary(const QString& line)
{
    const qsizetype tab = line.indexOf(u'\t');
    return tab < 0 ? QString() : line.mid(tab + 1);
}

} // namespace lexifol
