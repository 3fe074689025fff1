#include "djvu/BilevelScale.h"
#include "djvu/GreySpread.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

namespace lexifol::djvu {

namespace {

constexpr int kMostReduction = 15; // DjVuLibre reduces directly up to this
constexpr int kChunkRows = 128;    // rows drawn per call: small buffers stay in cache

struct GreyFormat {
    ddjvu_format_t* format = ddjvu_format_create(DDJVU_FORMAT_GREY8, 0, nullptr);
    GreyFormat()
    {
        if (format) {
            ddjvu_format_set_row_order(format, 1);
            ddjvu_format_set_y_direction(format, 1);
        }
    }
    ~GreyFormat()
    {
        if (format)
            ddjvu_format_release(format);
    }
};

struct Plan {
    QSize source; // the page reduced by a whole factor
    int64_t stepY = 0;
};

bool MakePlan(ddjvu_page_t* page, QSize size, Plan* plan)
{
    if (ddjvu_page_get_type(page) != DDJVU_PAGETYPE_BITONAL || ddjvu_page_get_rotation(page) != DDJVU_ROTATE_0)
        return false;
    const int w = ddjvu_page_get_width(page), h = ddjvu_page_get_height(page);
    if (size.width() < 1 || size.height() < 1 || w < size.width())
        return false;
    const int red = w / size.width();
    const QSize source((w + red - 1) / red, (h + red - 1) / red);
    if (red > kMostReduction || source == size || source.width() < 2 || source.height() < 2
        || source.height() < size.height() || source.height() > 2 * size.height() + 2)
        return false;
    plan->source = source;
    plan->stepY = (int64_t(source.height()) << 16) / size.height();
    return true;
}

// Two source rows mixed, `wy`/256 of the second.
void MixRow(const uint8_t* a, const uint8_t* b, int wy, int count, uint8_t* mixed)
{
    for (int x = 0; x < count; ++x)
        mixed[x] = uint8_t((a[x] * (256 - wy) + b[x] * wy + 128) >> 8);
}

} // namespace

bool RenderBilevelReduced(ddjvu_page_t* page, QSize size, uchar* first, qsizetype line, int from, int rows)
{
    Plan plan;
    if (!MakePlan(page, size, &plan))
        return false;
    static GreyFormat grey;
    if (!grey.format)
        return false;
    const int sw = plan.source.width(), sh = plan.source.height(), tw = size.width();
    // Kept per thread: buffers this size come from fresh memory each time
    // otherwise, and faulting it in costs more than the drawing.
    static thread_local GreySpread across;
    static thread_local std::vector<uint8_t> source, mixed;
    if (across.width() != tw || across.sourceWidth() != sw)
        across.prepare(sw, tw);
    mixed.assign(size_t(sw) + GreySpread::kPadding, 0);
    ddjvu_rect_t whole{0, 0, unsigned(sw), unsigned(sh)};
    for (int top = from; top < from + rows; top += kChunkRows) {
        const int count = std::min(kChunkRows, from + rows - top);
        const int y0 = int(GreySpread::SourceAt(top, plan.stepY) >> 16);
        const int y1 = std::min(sh - 1, int(GreySpread::SourceAt(top + count - 1, plan.stepY) >> 16) + 1);
        const int height = y1 - y0 + 1;
        source.resize(size_t(sw) * size_t(height));
        ddjvu_rect_t part{0, y0, unsigned(sw), unsigned(height)};
        // FALSE means there was nothing to draw: white.
        if (!ddjvu_page_render(page, DDJVU_RENDER_COLOR, &whole, &part, grey.format, unsigned(sw),
                               reinterpret_cast<char*>(source.data())))
            std::memset(source.data(), 0xff, source.size());
        for (int y = top; y < top + count; ++y) {
            const int64_t at = GreySpread::SourceAt(y, plan.stepY);
            const int i = int(at >> 16) - y0, wy = int((at >> 8) & 255);
            const uint8_t* a = source.data() + size_t(i) * size_t(sw);
            MixRow(a, i + 1 < height ? a + sw : a, wy, sw, mixed.data());
            across.spread(mixed.data(), reinterpret_cast<uint32_t*>(first + qsizetype(y - from) * line));
        }
    }
    return true;
}

} // namespace lexifol::djvu
