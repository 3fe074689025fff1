#include "index/Bookmarks.h"
#include "index/TextFile.h"
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QtEndian>

namespace lexifol {

bool LoadBookmarks(const QString& path, QStringList& lines)
{
    lines.clear();
    QByteArray bytes;
    if (!ReadFileBytes(path, bytes))
        return false;
    lines = DecodeLinesToStrings(bytes);
    return true;
}

bool BookmarkFileUnusable(const QString& path)
{
    if (!QFileInfo::exists(path))
        return false;
    QByteArray bytes;
    if (!ReadFileBytes(path, bytes))
        return true;
    const bool onlyMark = bytes.isEmpty() || bytes == QByteArray("\xFF\xFE", 2) || bytes == QByteArray("\xFE\xFF", 2)
        || bytes == QByteArray("\xEF\xBB\xBF", 3);
    return !onlyMark && DecodeText(bytes).isEmpty();
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
    QByteArray out;
    qsizetype units = 1;
    for (const QString& l : lines)
        units += l.size() + 2;
    out.reserve(units * 2);
    out.append("\xFF\xFE", 2);
    auto put = [&out](char16_t u) {
        out.append(char(u & 0xFF));
        out.append(char(u >> 8));
    };
    for (const QString& l : lines) {
        for (QChar c : l)
            put(c.unicode());
        put(u'\r');
        put(u'\n');
    }
    return out;
}

bool SaveBookmarks(const QString& path, const QStringList& lines)
{
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        return false;
    const QByteArray bytes = BookmarkFileBytes(lines);
    if (f.write(bytes) != bytes.size()) {
        f.cancelWriting();
        return false;
    }
    return f.commit();
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
