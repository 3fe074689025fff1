#pragma once
// Bilevel pages drawn at a size that is not a whole fraction of theirs.
#include <QSize>

#include <libdjvu/ddjvuapi.h>

namespace lexifol::djvu {

// Rows [from, from + rows) of a bilevel page drawn at `size`, into RGB32
// rows `line` bytes apart. DjVuLibre reduces by a whole factor, which is a
// plain count of black pixels per cell; the rest of the way is linear
// interpolation here, at half the cost of DjVuLibre's own scaler.
// False, with nothing written, for pages this does not apply to: colour,
// rotated, or drawn larger than or at a whole fraction of their size.
bool RenderBilevelReduced(ddjvu_page_t* page, QSize size, uchar* first, qsizetype line, int from, int rows);

} // namespace lexifol::djvu
