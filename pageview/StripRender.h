#pragma once
// Drawing a page's rows on two threads at once.
#include <QSize>
#include <QThreadPool>

#include <functional>

#include <libdjvu/ddjvuapi.h>

namespace lexifol::pv {

// `rows` rows of the page drawn at `size` from row `from` on, into memory
// laid out as an RGB32 image's, `line` bytes a row.
void RenderInto(ddjvu_page_t* page, const ddjvu_format_t* format, QSize size, uchar* first, qsizetype line,
                int from, int rows);

// A second thread that draws alongside the caller's. The rows go in strips
// to whichever thread is free: waking a thread that has slept a while took
// up to 4 ms here, about as long as drawing the part of a page in view, and
// a helper late to wake must not hold the caller up.
class StripRenderer
{
public:
    StripRenderer();
    ~StripRenderer();

    // Draws as RenderInto does, in strips taken by whichever thread is free;
    // returns when all are drawn.
    void render(ddjvu_page_t* page, const ddjvu_format_t* format, QSize size, uchar* first, qsizetype line, int from,
                int rows);
    // Work for the helper when it has nothing else.
    void runLater(std::function<void()> work);

private:
    struct Band;
    QThreadPool pool_;
};

} // namespace lexifol::pv
