#pragma once
// Driving the page view as a user would: wheel movements and scroll requests
// aimed at the window under a fixed point of the main window, and key strokes
// into the view's "Find" dialog. The actions are fixed sequences of the
// platform operations below; a real implementation acts on the program's own
// widgets, a recording one serves the tests.
#include <QByteArray>
#include <QPoint>
#include <QString>
#include <functional>
#include <optional>

namespace lexifol {

using WindowHandle = quintptr; // 0: no window

// Platform constants the actions are written in.
namespace vk {
inline constexpr int F = 0x46, V = 0x56, Control = 0x11, Return = 0x0D;
}
inline constexpr int kWmKeyDown = 0x0100;
inline constexpr int kWmVScroll = 0x0115;
inline constexpr int kHideWindowFlags = 0x95; // no size, no z-order, no activation, hide
inline constexpr int kWheelLine = 30;
inline constexpr int kWheelPage = 355;
inline constexpr char kUsEnglish[] = "00000409";
inline constexpr char kFindTitle[] = "Find";

class PlatformInput
{
public:
    virtual ~PlatformInput() = default;
    virtual std::optional<QPoint> cursorPos() = 0;
    virtual void setCursorPos(QPoint p) = 0;
    virtual WindowHandle windowAt(QPoint p) = 0;
    // A message queued for a window: WM_VSCROLL with a scroll code, or
    // WM_KEYDOWN with a virtual key (second parameter as given).
    virtual void postMessage(WindowHandle w, int message, int wParam, int lParam) = 0;
    virtual void wheel(int delta) = 0;
    virtual void keyDown(int virtualKey) = 0;
    virtual void keyUp(int virtualKey) = 0;
    virtual QByteArray inputLanguage() = 0; // 8 hex digits
    virtual bool activateInputLanguage(const QByteArray& id) = 0;
    virtual void showCursor(bool show) = 0;
    virtual WindowHandle foregroundWindow() = 0;
    virtual QString windowTitle(WindowHandle w) = 0;
    virtual void setWindowPos(WindowHandle w, QPoint p, int flags) = 0;
    virtual WindowHandle findWindow(const QString& title) = 0; // top-level, exact title
    virtual void destroyWindow(WindowHandle w) = 0;
    virtual void setClipboard(const QByteArray& ansi, const QString& unicode) = 0;
    virtual void processEvents() = 0;
};

// Up and Down: a wheel line, or with `browserMouse` a line scroll request to
// the window under the automation point.
void LineScroll(PlatformInput& io, QPoint point, bool browserMouse, bool up);
// Page Up and Page Down outside the search box: a wheel page.
void WheelPage(PlatformInput& io, bool up);
// Home and End: three page scroll requests.
void PageJump(PlatformInput& io, QPoint point, bool up);
// Page Up and Page Down in the search box: one page scroll request.
void SearchBoxPageScroll(PlatformInput& io, QPoint point, bool up);

struct FindRequest {
    QPoint point;                        // automation point
    std::function<QString()> searchText; // read at the start and before pasting
    bool closeFirst = true;              // Find button and F2; F3 keeps the dialog
};
// The Find command. Returns false when it failed inside (the cursor is then
// shown again), true otherwise, also when it stopped early.
bool FindCommand(PlatformInput& io, const FindRequest& request);

} // namespace lexifol
