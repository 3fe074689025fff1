#pragma once
// Files a dictionary pack names are opened only when they are regular files
// of a sane size: a FIFO would block the opening for ever, a device such as
// /dev/zero would be read until memory runs out.
#include "base/Status.h"
#include <QFile>
#include <QString>

namespace lexifol {

// Largest sizes read, by kind of file.
inline constexpr qint64 kIndexCap = qint64(1) << 30;     // index files
inline constexpr qint64 kListCap = qint64(64) << 20;     // bookmarks, catalogue, rules
inline constexpr qint64 kSmallFileCap = qint64(4) << 20; // descriptors, settings, Plugin.dat, pages of HTML

// Why `path` is refused, in words: missing, a folder, not a regular file,
// larger than `cap`. Empty when it is a regular file within the cap.
QString RegularFileRefusal(const QString& path, qint64 cap);

// Opens `path` for reading, unbuffered, without ever blocking on it: only a
// regular file within `cap` bytes is opened. The error names the file.
Status OpenRegularFile(QFile& file, const QString& path, qint64 cap);

} // namespace lexifol
