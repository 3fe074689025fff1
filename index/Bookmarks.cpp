#include "index/Bookmarks.h"
#include "index/TextFile.h"
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
