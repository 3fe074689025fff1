#pragma once
// "Bookmarks.dat": read with the index file reader, written as UTF-16LE with
// FF FE and CR LF after every line, replaced atomically.
#include "base/Status.h"
#include <QString>
#include <QStringList>

namespace lexifol {

// Fails when the file holds something that did not come through as text:
// it cannot be read, or bytes beyond a mark decode to nothing (malformed
// UTF-8, a leading NUL). Such a file must not be overwritten unseen.
Result<QStringList> LoadBookmarks(const QString& path);
// Moves such a file aside to "<path>.bak" (or .bak2, .bak3 ... when that
// exists), so that writing the bookmarks loses nothing. False on failure.
bool SetUnusableFileAside(const QString& path);
Status SaveBookmarks(const QString& path, const QStringList& lines);
QByteArray BookmarkFileBytes(const QStringList& lines);

// Headword of a history or bookmark line (text before the first TAB, empty
// without one) and the dictionary name (everything after the first TAB).
QString EntryHeadword(const QString& line);
QString EntryDictionary(const QString& line);

} // namespace lexifol
