// The main window drives its page view as a user would: scrolling from the
// keyboard and the Find command.
#include "app/QtPlatformInput.h"
#include "app/Unit1.h"
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
