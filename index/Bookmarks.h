#pragma once
// "Bookmarks.dat": read with the index file reader, written as UTF-16LE with
// FF FE and CR LF after every line, replaced atomically.
#include <QString>
#include <QStringList>

namespace lexifol {

// False when the file cannot be read; `lines` is then left empty.
bool LoadBookmarks(const QString& path, QStringList& lines);
bool SaveBookmarks(const QString& path, const QStringList& lines);
QByteArray BookmarkFileBytes(const QStringList& lines);

// Headword of a history or bookmark line (text before the first TAB, empty
// without one) and the dictionary name (everything after the first TAB).
QString EntryHeadword(const QString& line);
QString EntryDictionary(const QString& line);

} // namespace lexifol
