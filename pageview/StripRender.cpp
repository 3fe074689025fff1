#include "pageview/StripRender.h"
#include "pageview/BilevelScale.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <memory>

namespace lexifol::pv {

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

struct StripRenderer::Band {
    ddjvu_page_t* page = nullptr;
    const ddjvu_format_t* format = nullptr;
    QSize size;
    uchar* first = nullptr;
    qsizetype line = 0;
    int from = 0, rows = 0, strip = 0, count = 0;
    std::atomic<int> next{0};
    std::atomic<int> done{0};

    // Only a strip taken is drawn, and the caller waits for every strip
    // taken: a helper that comes late touches nothing.
    void drawStrips()
    {
        for (int i; (i = next.fetch_add(1)) < count;) {
            const int at = i * strip;
            RenderInto(page, format, size, first + at * line, line, from + at, std::min(strip, rows - at));
            done.fetch_add(1);
            done.notify_all();
        }
    }
};

StripRenderer::StripRenderer()
{
    pool_.setMaxThreadCount(1);
    pool_.setExpiryTimeout(-1);
    pool_.start([] {});   // its thread made now rather than for the first page
}

StripRenderer::~StripRenderer()
{
    pool_.waitForDone();
}

void StripRenderer::render(ddjvu_page_t* page, const ddjvu_format_t* format, QSize size, uchar* first,
                           qsizetype line, int from, int rows)
{
    constexpr int kStrips = 8, kLeastStrip = 64;
    const int strip = std::max(kLeastStrip, (rows + kStrips - 1) / kStrips);
    if (rows < 2 * strip) {
        if (rows > 0)
            RenderInto(page, format, size, first, line, from, rows);
        return;
    }
    auto band = std::make_shared<Band>();
    band->page = page;
    band->format = format;
    band->size = size;
    band->first = first;
    band->line = line;
    band->from = from;
    band->rows = rows;
    band->strip = strip;
    band->count = (rows + strip - 1) / strip;
    pool_.start([band] { band->drawStrips(); });
    band->drawStrips();
    for (int d; (d = band->done.load()) != band->count;)
        band->done.wait(d);
}

void StripRenderer::runLater(std::function<void()> work)
{
    pool_.start(std::move(work));
}

} // namespace lexifol::pv
