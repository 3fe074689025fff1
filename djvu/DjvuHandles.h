#pragma once
// Owning handles for DjVuLibre objects: every release happens here, when a
// handle is reset or destroyed, on the thread that holds it.
#include <libdjvu/ddjvuapi.h>
#include <memory>

namespace lexifol::djvu {

struct DjvuRelease {
    void operator()(ddjvu_context_t* p) const { ddjvu_context_release(p); }
    void operator()(ddjvu_document_t* p) const { ddjvu_document_release(p); }
    void operator()(ddjvu_page_t* p) const { ddjvu_page_release(p); }
    void operator()(ddjvu_format_t* p) const { ddjvu_format_release(p); }
};

template<typename T> using DjvuHandle = std::unique_ptr<T, DjvuRelease>;

} // namespace lexifol::djvu
