#pragma once
// Reading a page view file back: the DjVu embed tag and its attributes.
#include <QString>
#include <optional>

namespace lexifol {

struct EmbedTag {
    QString src;  // as a local path: the "file:\\localhost\" prefix removed
    QString page; // empty when there is no Page attribute
    QString zoom; // "width" when absent
    QString width, height;
    bool toolbar = true;     // Toolbar=no hides it
    bool scrollBars = true;  // ScrollBars=no hides them
    bool pageByPage = false; // src is one of a folder of page files, read on in their order
};

struct PageViewRequest;

// The tag that a page request stands for, as if read from its page view
// file, except that the document path is the request's own.
EmbedTag TagForRequest(const PageViewRequest& request);

// The embed tag of type "image/vnd.djvu" in an HTML text, if there is one.
// Attribute names are case-insensitive; values quoted (single or double) or not.
std::optional<EmbedTag> ParseDjvuEmbed(const QString& html);

} // namespace lexifol
