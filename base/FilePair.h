#pragma once
// Two files of a folder replaced as one: the second index and its
// replacement list must never be a new one beside an old one. Both are
// written beside their targets first; a commit mark then says that the new
// pair is complete; the renames follow, and the mark goes. Whoever finds
// the folder afterwards (the next opening, the next build) finishes what a
// crash interrupted: forward when the mark is there, back when it is not.
#include "base/Status.h"
#include <QByteArray>
#include <QString>

#include <functional>

namespace lexifol {

struct PairFile {
    QString name; // file name inside the folder
    QByteArray bytes;
    // When set, the content a piece at a time instead (as WriteFileAtomically
    // takes it): a large file never held whole.
    std::function<bool(QByteArray&)> pieces = {};
};

// Replaces both files of `folder`, or neither; the error names the file.
Status WriteFilePair(const QString& folder, const PairFile& a, const PairFile& b);

// Finishes or undoes an interrupted WriteFilePair of these two names. Quiet:
// a folder that cannot be written is left as it is.
void RecoverFilePair(const QString& folder, const QString& a, const QString& b);

// The commit mark's name.
inline constexpr char kPairMark[] = "pair.commit";

} // namespace lexifol
