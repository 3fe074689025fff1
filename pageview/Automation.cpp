#include "pageview/Automation.h"

#include "base/CodePage.h"
#include "pageview/ScrollRequest.h"

namespace lexifol {

namespace {

// Moves the cursor to the point and posts the window under it `times` scroll
// requests. The cursor stays there.
void ScrollAt(PlatformInput& io, QPoint point, int code, int times)
{
    io.setCursorPos(point);
    const WindowHandle w = io.windowAt(io.cursorPos().value_or(point));
    for (int i = 0; i < times; ++i)
        io.postMessage(w, kWmVScroll, code, 0);
}

void TypeKey(PlatformInput& io, int key)
{
    io.keyDown(key);
    io.keyUp(key);
}

// Steps 5 to 13: from the cursor read to the search started.
void DriveFindDialog(PlatformInput& io, const FindRequest& r, const QByteArray& savedLanguage)
{
    const std::optional<QPoint> saved = io.cursorPos();
    if (!saved)
        return; // US English stays active, the clipboard keeps the text
    io.showCursor(false);
    io.setCursorPos(r.point);
    const WindowHandle target = io.windowAt(io.cursorPos().value_or(r.point));
    io.postMessage(target, kWmKeyDown, vk::F, 1);
    io.processEvents();
    io.activateInputLanguage(savedLanguage);
    const WindowHandle front = io.foregroundWindow();
    const bool isFind = io.windowTitle(front) == QLatin1StringView(kFindTitle);
    if (isFind && (!r.closeFirst || !r.searchText().isEmpty())) {
        io.keyDown(vk::Control);
        TypeKey(io, vk::V);
        io.keyUp(vk::Control);
        io.setWindowPos(front, QPoint(0, 0), kHideWindowFlags);
        TypeKey(io, vk::Return);
    }
    io.setCursorPos(*saved);
    io.showCursor(true);
}

} // namespace

void LineScroll(PlatformInput& io, QPoint point, bool browserMouse, bool up)
{
    if (!browserMouse) {
        // A positive delta turns the wheel away from the user, which scrolls
        // up: the same sign as the Page keys, so that Down moves down.
        io.wheel(up ? kWheelLine : -kWheelLine);
        return;
    }
    if (!io.cursorPos())
        return;
    ScrollAt(io, point, up ? SB_LINEUP : SB_LINEDOWN, 1);
}

void WheelPage(PlatformInput& io, bool up)
{
    io.wheel(up ? kWheelPage : -kWheelPage);
}

void PageJump(PlatformInput& io, QPoint point, bool up)
{
    if (!io.cursorPos())
        return;
    ScrollAt(io, point, up ? SB_PAGEUP : SB_PAGEDOWN, 3);
}

void SearchBoxPageScroll(PlatformInput& io, QPoint point, bool up)
{
    ScrollAt(io, point, up ? SB_PAGEUP : SB_PAGEDOWN, 1);
}

bool FindCommand(PlatformInput& io, const FindRequest& r)
{
    try {
        const QString text = r.searchText();
        if (text.isEmpty())
            return true;
        if (r.closeFirst) {
            if (const WindowHandle old = io.findWindow(QString::fromLatin1(kFindTitle)))
                io.destroyWindow(old);
        }
        io.setClipboard(Ansi().encode(text), text);
        const QByteArray savedLanguage = io.inputLanguage();
        io.activateInputLanguage(kUsEnglish);
        DriveFindDialog(io, r, savedLanguage);
        return true;
    } catch (...) {
        // Shown again on every path, also when it failed before hiding it.
        io.showCursor(true);
        return false;
    }
}

} // namespace lexifol
