// The main window drives its page view as a user would: scrolling from the
// keyboard and the Find command; and it has the page of the entry typed
// drawn ahead of Enter.
#include "app/QtPlatformInput.h"
#include "app/Unit1.h"
#include "index/IndexOps.h"
#include "index/Lookup.h"
#include "pageview/WebBrowser.h"

using namespace lexifol;

QPoint TForm1::AutomationPoint() const
{
    return frameGeometry().topLeft() + QPoint(400, 250);
}

void TForm1::LineScroll(bool up)
{
    lexifol::LineScroll(*Automation, AutomationPoint(), BrowserMouse, up);
}

void TForm1::WheelPage(bool up)
{
    lexifol::WheelPage(*Automation, up);
}

void TForm1::PageJump(bool up)
{
    lexifol::PageJump(*Automation, AutomationPoint(), up);
}

void TForm1::SearchBoxPageScroll(bool up)
{
    lexifol::SearchBoxPageScroll(*Automation, AutomationPoint(), up);
}

bool TForm1::FindInPage(bool closeFirst)
{
    FindRequest request;
    request.point = AutomationPoint();
    request.searchText = [this] { return TntEdit3->text(); };
    request.closeFirst = closeFirst;
    return FindCommand(*Automation, request);
}

// The page Enter would show for the selected entry, drawn now, so that
// Enter finds it ready. Nothing is written and nothing on view changes.
void TForm1::prepareSelectedPage()
{
    const int row = indexItemCount() > 0 ? selectedIndexRow() : -1;
    if (row < 0)
        return;
    const std::optional<int> target = FollowCrossReference(Dictionary.indexes(), row);
    if (!target)
        return;
    const QStringList parts = SplitValue(FirstIndex.value(*target));
    if (parts.isEmpty())
        return;
    try {
        WebBrowser1->Prepare(ComposePageRequest(compositionFor(parts.at(0), true),
                                                PageViewState{SingleFileOnView, ExtraPageOnView}));
    } catch (...) {
        // Only a head start: Enter reports what is wrong.
    }
}
