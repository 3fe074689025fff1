#pragma once
// Drawing a page's rows, and the worker's helper thread for work that
// nobody waits for.
#include <QSize>
#include <QThreadPool>

#include <functional>

#include <libdjvu/ddjvuapi.h>

namespace lexifol::djvu {

// `rows` rows of the page drawn at `size` from row `from` on, into memory
// laid out as an RGB32 image's, `line` bytes a row.
void RenderInto(ddjvu_page_t* page, const ddjvu_format_t* format, QSize size, uchar* first, qsizetype line, int from,
                int rows);

// One thread for work done while nothing waits (memory made ready for the
// next page). A page is drawn on one thread only: DjVuLibre is not known
// to be safe with two threads drawing one page at once.
class RenderHelper
{
public:
    RenderHelper();
    ~RenderHelper();
    void runLater(std::function<void()> work);

private:
    QThreadPool pool_;
};

} // namespace lexifol::djvu
