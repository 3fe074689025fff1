#pragma once
// Index files read into one decoded buffer cut into lines.
#include "base/Status.h"
#include "index/IndexList.h"
#include <QByteArray>
#include <QStringList>

namespace lexifol {

// Decodes as DecodeText does and cuts into lines into an IndexList.
void DecodeLines(const QByteArray& bytes, IndexList& out);
// The same lines as strings (small files only: bookmarks, catalogue tests).
QStringList DecodeLinesToStrings(const QByteArray& bytes);

// Reads a whole file and cuts it into lines, as DecodeLines does, with the
// least copying: what the index loaders use. On an open or read error fails
// and leaves `out` unchanged.
Status ReadIndexFile(const QString& path, IndexList& out);

} // namespace lexifol
