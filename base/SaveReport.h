#pragma once
// Which failed saves of the user's files are told: the first failure of a
// file, not every retry after it; a save that succeeds again ends the run of
// failures, so a later one is told again.
#include "base/Status.h"
#include <QSet>
#include <QString>

namespace lexifol {

class SaveReport
{
public:
    // The message to show after saving `path` with `result`; empty when
    // nothing is to be said.
    QString message(const QString& path, const Status& result);

private:
    QSet<QString> failing_;
};

} // namespace lexifol
