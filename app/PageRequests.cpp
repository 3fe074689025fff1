#include "app/PageRequests.h"
#include "app/MainControls.h"
#include "app/StatusLine.h"
#include "pageview/PageView.h"

namespace lexifol {

CompositionInput PageRequests::input(const QString& pageReference, bool annotationCase) const
{
    const WindowState& s = w_.state;
    return {s.programFolder, s.dictionary.name, s.dictionary.wholeFile, s.dictionary.pluginParameters,
            pageReference,   annotationCase};
}

void PageRequests::show(const PageShow& page)
{
    WindowState& s = w_.state;
    PageViewState view{s.singleFileOnView, s.extraPageOnView};
    PageViewRequest request = ComposeAndWrite(input(page.page, page.annotationCase), view, s.places.pageViewFile());
    s.singleFileOnView = view.singleFileOnView;
    const bool annotation = page.annotationCase && page.page == QLatin1StringView("Annotation");
    if (s.locateHeadword && !annotation) {
        request.mark = page.mark;
        request.markOccurrence = page.occurrence;
    }
    request.find = page.find;
    w_.ui.pageView->Show(request);
}

void PageRequests::prepare(const QString& pageReference)
{
    const WindowState& s = w_.state;
    PageViewRequest request = ComposePageRequest(input(pageReference, true), {s.singleFileOnView, s.extraPageOnView});
    request.viewFile = s.places.pageViewFile();
    w_.ui.pageView->Prepare(request);
}

void PageRequests::showFile(const QString& path)
{
    w_.state.singleFileOnView = w_.state.extraPageOnView = true;
    w_.ui.pageView->Navigate(path);
    w_.ui.status->setPage(0, 0);
    w_.ui.status->setZoom(0);
}

} // namespace lexifol
