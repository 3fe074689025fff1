#include "pageview/PageColumn.h"

#include <algorithm>

namespace lexifol::pv {

void PageColumn::layOut(int first, int count, const std::function<QSizeF(int)>& sizeOf)
{
    first_ = first;
    sizes_.assign(size_t(std::max(0, count)), QSizeF());
    for (int i = 0; i < count; ++i)
        sizes_[size_t(i)] = sizeOf(first + i);
    dirty_ = true;
}

void PageColumn::setSize(int page, QSizeF size)
{
    if (!contains(page) || sizes_[size_t(page - first_)] == size)
        return;
    sizes_[size_t(page - first_)] = size;
    dirty_ = true;
}

QSizeF PageColumn::size(int page) const
{
    return contains(page) ? sizes_[size_t(page - first_)] : QSizeF();
}

void PageColumn::settle() const
{
    if (!dirty_)
        return;
    tops_.resize(sizes_.size() + 1);
    double y = 0;
    widest_ = 0;
    for (size_t i = 0; i < sizes_.size(); ++i) {
        tops_[i] = y;
        y += sizes_[i].height() + kPageGap;
        widest_ = std::max(widest_, sizes_[i].width());
    }
    tops_[sizes_.size()] = y; // one gap past the last page
    dirty_ = false;
}

double PageColumn::top(int page) const
{
    settle();
    return tops_[size_t(std::clamp(page - first_, 0, count()))];
}

double PageColumn::height() const
{
    settle();
    return sizes_.empty() ? 0 : tops_.back() - kPageGap;
}

double PageColumn::widest() const
{
    settle();
    return widest_;
}

int PageColumn::pageAt(double y) const
{
    if (sizes_.empty())
        return first_;
    settle();
    const auto after = std::upper_bound(tops_.begin(), tops_.end() - 1, y);
    const int i = int(after - tops_.begin()) - 1;
    return first_ + std::clamp(i, 0, count() - 1);
}

std::pair<int, int> PageColumn::pagesBetween(double y0, double y1) const
{
    return {pageAt(y0), pageAt(std::max(y0, y1 - 0.5))};
}

int PageColumn::pageInView(double y0, double y1) const
{
    const auto [from, to] = pagesBetween(y0, y1);
    int best = from;
    double most = -1;
    for (int p = from; p <= to; ++p) {
        const double shown = std::min(y1, top(p) + size(p).height()) - std::max(y0, top(p));
        if (shown > most + 0.5) {
            most = shown;
            best = p;
        }
    }
    return best;
}

} // namespace lexifol::pv
