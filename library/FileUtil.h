#pragma once
// Byte-level helpers shared by the library's 8-bit files ("diclist.dat",
// Plugin.dat) and the profile writer.
#include <QByteArray>
#include <QByteArrayList>
#include <QByteArrayView>
#include <QString>

namespace lexifol {

// Cuts 8-bit text into lines at CR LF, CR and LF. A NUL byte ends the text
// and a break at the very end opens no empty last line, as the program's
// other 8-bit list readers do.
QByteArrayList CutRawLines(QByteArrayView bytes);

// Replaces the file with `bytes` through a temporary file and a rename, so
// a reader sees either the old or the new content. Refuses a file that
// exists but is not writable: the rename would otherwise bypass the
// read-only mark that Windows honours.
bool ReplaceFile(const QString& path, const QByteArray& bytes);

} // namespace lexifol
