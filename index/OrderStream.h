#pragma once
// The order of an index file checked as it is read, a block at a time: the
// memory it takes does not grow with the file. It reads the text exactly as
// the loader does (same marks, same 8-bit or UTF-8 decision, same line
// ends) and refuses what the loader would lose.
#include "index/Collation.h"
#include "base/Status.h"
#include <QList>
#include <QString>

namespace lexifol {

struct StreamedOrder {
    long long lines = 0;
    // k: the lines k and k + 1 (counted from 1), as the order errors name them.
    QList<long long> outOfOrder;
    struct Equal {
        long long k;
        QString before, after;
    };
    QList<Equal> equal;
};

// `wholeLine`: compares whole lines (a second index), else headwords. Two
// threads share the work when the file is large.
Result<StreamedOrder> ScanOrderInFile(const QString& path, bool wholeLine,
                                      const IndexCollation& collation = IndexCollation::Default());

} // namespace lexifol
