#include "djvu/RenderRows.h"
#include "djvu/BilevelScale.h"

#include <algorithm>
#include <cstring>

namespace lexifol::djvu {

void RenderInto(ddjvu_page_t* page, const ddjvu_format_t* format, QSize size, uchar* first, qsizetype line, int from,
                int rows)
{
    if (RenderBilevelReduced(page, size, first, line, from, rows))
        return;
    ddjvu_rect_t pageRect{0, 0, unsigned(size.width()), unsigned(size.height())};
    ddjvu_rect_t renderRect{0, from, unsigned(size.width()), unsigned(rows)};
    // FALSE means there was nothing to draw: the rows are white.
    if (!ddjvu_page_render(page, DDJVU_RENDER_COLOR, &pageRect, &renderRect, format, unsigned(line),
                           reinterpret_cast<char*>(first)))
        std::memset(first, 0xff, size_t(line) * size_t(rows));
}

RenderHelper::RenderHelper()
{
    pool_.setMaxThreadCount(1);
    pool_.setExpiryTimeout(-1);
}

RenderHelper::~RenderHelper()
{
    pool_.waitForDone();
}

void RenderHelper::runLater(std::function<void()> work)
{
    pool_.start(std::move(work));
}

} // namespace lexifol::djvu
