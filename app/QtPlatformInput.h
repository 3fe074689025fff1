#pragma once
// The page automation's platform operations on this program's own widgets:
// wheel movements go to the page view whatever has the focus, posted
// messages to the widget under the point, typed keys to the window that was
// in front when the keys began (so that they still reach a dialog that was
// hidden meanwhile).
#include "pageview/Automation.h"

#include <QPointer>
#include <QWidget>
#include <functional>

namespace lexifol {

class QtPlatformInput : public PlatformInput
{
public:
    // `wheelTarget` gives the widget that wheel movements scroll.
    explicit QtPlatformInput(std::function<QWidget*()> wheelTarget);

    std::optional<QPoint> cursorPos() override;
    void setCursorPos(QPoint p) override;
    WindowHandle windowAt(QPoint p) override;
    void postMessage(WindowHandle w, int message, int wParam, int lParam) override;
    void wheel(int delta) override;
    void keyDown(int virtualKey) override;
    void keyUp(int virtualKey) override;
    QByteArray inputLanguage() override;
    bool activateInputLanguage(const QByteArray& id) override;
    void showCursor(bool show) override;
    WindowHandle foregroundWindow() override;
    QString windowTitle(WindowHandle w) override;
    void setWindowPos(WindowHandle w, QPoint p, int flags) override;
    WindowHandle findWindow(const QString& title) override;
    void destroyWindow(WindowHandle w) override;
    void setClipboard(const QByteArray& ansi, const QString& unicode) override;
    void processEvents() override;

private:
    void sendKey(int virtualKey, bool down);

    std::function<QWidget*()> wheelTarget_;
    QPointer<QWidget> keyWindow_;
    Qt::KeyboardModifiers held_;
    int hidden_ = 0; // cursor hides not yet undone
};

} // namespace lexifol
