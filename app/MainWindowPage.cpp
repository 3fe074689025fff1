// The main window composes and shows pages, and has the page of the entry
// typed drawn ahead of Enter.
#include "app/MainWindow.h"
#include "app/WindowKeys.h"
#include "pageview/PageView.h"

using namespace lexifol;

void MainWindow::findOnPage()
{
    keys_->find(true);
}

CompositionInput MainWindow::compositionFor(const QString& pageReference, bool annotationCase) const
{
    CompositionInput in;
    in.programFolder = ProgramFolder;
    in.dictionary = CurrentDictionary;
    in.wholeFile = WholeFile;
    in.pluginParameters = PluginParameters;
    in.pageReference = pageReference;
    in.annotationCase = annotationCase;
    return in;
}

void MainWindow::composeAndShow(const QString& pageReference, bool annotationCase, const QString& word, int occurrence)
{
    PageViewState state{SingleFileOnView, ExtraPageOnView};
    const PageViewRequest request = ComposeAndWrite(compositionFor(pageReference, annotationCase), state,
                                                    Places.pageViewFile());
    SingleFileOnView = state.singleFileOnView;
    const bool annotation = annotationCase && pageReference == QLatin1StringView("Annotation");
    if (LocateHeadwordOnPage && !annotation && !word.isEmpty())
        pageView->LocateWord(word, occurrence);
    pageView->Show(request);
}

// The page Enter would show for the selected entry, drawn now, so that
// Enter finds it ready. Nothing is written and nothing on view changes.
void MainWindow::prepareSelectedPage()
{
    const int row = indexItemCount() > 0 ? selectedIndexRow() : -1;
    const std::optional<Hit> hit = row >= 0 ? EntryHit(Dictionary, row, searchBox->text()) : std::nullopt;
    if (!hit || hit->noPage)
        return;
    PageViewRequest request = ComposePageRequest(compositionFor(hit->page, true), {SingleFileOnView, ExtraPageOnView});
    request.viewFile = Places.pageViewFile();
    pageView->Prepare(request);
}
