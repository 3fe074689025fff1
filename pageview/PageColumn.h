#pragma once
// Where the pages of a continuous column lie: one below another with a gap,
// each centred across the column. Sizes are logical pixels; pages are
// counted as the document counts them, from `first`.
#include <QRectF>
#include <QSizeF>

#include <functional>
#include <utility>
#include <vector>

namespace lexifol::pv {

inline constexpr double kPageGap = 8.0;

class PageColumn
{
public:
    void layOut(int first, int count, const std::function<QSizeF(int)>& sizeOf);
    void setSize(int page, QSizeF size);
    void clear() { layOut(0, 0, {}); }

    int first() const { return first_; }
    int count() const { return int(sizes_.size()); }
    bool contains(int page) const { return page >= first_ && page < first_ + count(); }
    QSizeF size(int page) const;
    double top(int page) const;
    double height() const;
    double widest() const;

    // The page whose slot (the page and the gap below it) holds `y`; the
    // nearest page for a point above or below the column.
    int pageAt(double y) const;
    // The first and last page that [y0, y1) touches.
    std::pair<int, int> pagesBetween(double y0, double y1) const;
    // The page showing most of [y0, y1); the upper one on a tie.
    int pageInView(double y0, double y1) const;

private:
    void settle() const;

    int first_ = 0;
    std::vector<QSizeF> sizes_;
    mutable std::vector<double> tops_; // made again after a change
    mutable double widest_ = 0;
    mutable bool dirty_ = true;
};

} // namespace lexifol::pv
