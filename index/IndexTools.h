#pragma once
// Building a second index from replacement rules, and checking the order of
// an index: plain functions the Configuration dialog and the command line
// both use.
#include "index/Collation.h"
#include "index/IndexList.h"
#include "index/Replacement.h"
#include "base/Status.h"

#include <QByteArrayList>
#include <QDateTime>
#include <QList>
#include <QStringList>

#include <functional>

namespace lexifol {

// Rule lines as typed: at least two units, the second "=". A final empty
// line after the last break is no line; any other bad line rejects all.
struct RuleCheck {
    QStringList accepted;   // as typed
    QByteArrayList encoded; // each UTF-16 unit's own UTF-8 encoding
    int badLine = -1;       // from 0; -1 when every line is good
};
RuleCheck CheckRules(const QString& editorText);

// UTF-8 of each UTF-16 unit on its own: a surrogate pair becomes two
// three-byte sequences.
QByteArray EncodeUnits(QStringView text);

// The file bytes of a replacement list: each line, CR LF.
QByteArray ReplacementFileBytes(const QByteArrayList& lines);

// The second index file (UTF-16LE, FF FE, CR LF after every line): line j is
// the normalised headword of line j of `first`, empty without a headword.
QByteArray SecondIndexFileBytes(const IndexList& first, const ReplacementList& rules);
// The same a piece at a time, for WriteFileAtomically: a million lines are
// written without the file held whole. `first` and `rules` must outlive it.
std::function<bool(QByteArray&)> SecondIndexPieces(const IndexList& first, const ReplacementList& rules);

// Writes both files of a second index into `folder`, or neither: each is
// written to a temporary file first, and the old files are replaced only
// when both are complete.
Status WriteSecondIndexFiles(const QString& folder, const QByteArray& rules, const QByteArray& index);
Status WriteSecondIndexFiles(const QString& folder, const QByteArray& rules,
                             const std::function<bool(QByteArray&)>& index);
// Finishes or undoes a replacement of the two that a crash interrupted.
void RecoverSecondIndexFiles(const QString& folder);

// Neighbouring lines out of order: the 1-based number k of the earlier line
// of each bad pair. The key is the headword (before the first TAB, empty
// without one) or, for a second index, the whole line. A pair is in order
// when it sorts strictly ascending or is identical.
QList<int> FindOrderErrors(const IndexList& lines, bool wholeLine,
                           const IndexCollation& collation = IndexCollation::Default());

// "Error: item on line k must be lower than item on line k+1".
QString OrderErrorLine(int k);

// The same pairs told apart: those out of order, and those that differ but
// compare equal ("AC", "Ac"), which no order can put apart.
struct OrderScan {
    QList<int> outOfOrder, equal; // k: lines k and k+1 (1-based k)
};
OrderScan ScanOrder(const IndexList& lines, bool wholeLine,
                    const IndexCollation& collation = IndexCollation::Default());
// "<title> (<long time>|<short date>)" in the default locale's formats.
QString CheckLogHeader(const QString& title, const QDateTime& when);

} // namespace lexifol
