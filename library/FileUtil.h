#pragma once
// Replacing the library's files ("diclist.dat", settings).
#include "base/Status.h"
#include <QByteArray>
#include <QString>

namespace lexifol {

// Replaces the file with `bytes` through a temporary file and a rename, so
// a reader sees either the old or the new content. Refuses a file that
// exists but is not writable: the rename would otherwise bypass the
// read-only mark that Windows honours.
Status ReplaceFile(const QString& path, const QByteArray& bytes);

} // namespace lexifol
