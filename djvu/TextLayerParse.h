#pragma once
// Reading a text layer out of DjVuLibre's expression: private to djvu/.
#include "djvu/TextLayer.h"
#include <libdjvu/miniexp.h>

namespace lexifol::djvu {

// `text` as ddjvu_document_get_pagetext gives it with "word" detail;
// `quarterTurns` the page's orientation flag.
TextLayer ParseTextLayer(miniexp_t text, int quarterTurns);

} // namespace lexifol::djvu
