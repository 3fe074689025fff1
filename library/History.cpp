#include "library/History.h"

namespace lexifol {

void History::add(const QString& entry)
{
    position_ = AppendHistory(entries_, entry);
}

HistoryStep History::apply(HistoryStep step)
{
    if (step.act)
        position_ = step.select;
    return step;
}

HistoryStep History::back()
{
    return apply(StepBack(size(), position_));
}

HistoryStep History::forward()
{
    return apply(StepForward(size(), position_));
}

void History::clear()
{
    entries_.clear();
    position_ = -1;
}

} // namespace lexifol
