#pragma once
// What the window's page view is asked to show: a page of the open
// dictionary composed from the window's state, with its page view file
// written and its marks carried; a page drawn ahead; a page of its own.
#include "app/WindowParts.h"
#include "pageview/Composition.h"

namespace lexifol {

class PageRequests
{
public:
    explicit PageRequests(const WindowParts& w)
        : w_(w)
    { }
    void show(const PageShow& page);
    // Drawn now so that Enter finds it ready; nothing on view changes.
    void prepare(const QString& pageReference);
    // Help, the introduction, an annotation page: no page of the document.
    void showFile(const QString& path);

private:
    CompositionInput input(const QString& pageReference, bool annotationCase) const;
    WindowParts w_;
};

} // namespace lexifol
