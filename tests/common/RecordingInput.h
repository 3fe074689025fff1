#pragma once
// A recording stand-in for the page automation's platform operations.
#include "pageview/Automation.h"

#include <QStringList>
#include <stdexcept>

namespace lexifol {

// Records every operation as text; windows are numbered.
class RecordingInput : public PlatformInput
{
public:
    QStringList log;
    bool cursorReadable = true;
    QString frontTitle = QStringLiteral("Find");
    QString failAt; // an operation that throws
    QString text = QStringLiteral("word");

    void note(const QString& op)
    {
        log << op;
        if (!failAt.isEmpty() && op.startsWith(failAt))
            throw std::runtime_error("failed");
    }
    std::optional<QPoint> cursorPos() override
    {
        note(QStringLiteral("getCursor"));
        return cursorReadable ? std::optional<QPoint>(QPoint(7, 8)) : std::nullopt;
    }
    void setCursorPos(QPoint p) override { note(QStringLiteral("setCursor %1,%2").arg(p.x()).arg(p.y())); }
    WindowHandle windowAt(QPoint p) override
    {
        note(QStringLiteral("windowAt %1,%2").arg(p.x()).arg(p.y()));
        return 5;
    }
    void postMessage(WindowHandle w, int m, int wp, int lp) override
    {
        note(QStringLiteral("post %1 %2 %3 %4").arg(w).arg(m, 0, 16).arg(wp, 0, 16).arg(lp));
    }
    void wheel(int delta) override { note(QStringLiteral("wheel %1").arg(delta)); }
    void keyDown(int k) override { note(QStringLiteral("down %1").arg(k, 0, 16)); }
    void keyUp(int k) override { note(QStringLiteral("up %1").arg(k, 0, 16)); }
    QByteArray inputLanguage() override
    {
        note(QStringLiteral("getLanguage"));
        return "00000419";
    }
    bool activateInputLanguage(const QByteArray& id) override
    {
        note(QStringLiteral("language ") + QString::fromLatin1(id));
        return true;
    }
    void showCursor(bool show) override { note(show ? QStringLiteral("showCursor") : QStringLiteral("hideCursor")); }
    WindowHandle foregroundWindow() override
    {
        note(QStringLiteral("foreground"));
        return 9;
    }
    QString windowTitle(WindowHandle w) override
    {
        note(QStringLiteral("title %1").arg(w));
        return w == 9 ? frontTitle : QString();
    }
    void setWindowPos(WindowHandle w, QPoint p, int flags) override
    {
        note(QStringLiteral("setWindowPos %1 %2,%3 %4").arg(w).arg(p.x()).arg(p.y()).arg(flags, 0, 16));
    }
    WindowHandle findWindow(const QString& title) override
    {
        note(QStringLiteral("findWindow ") + title);
        return 3;
    }
    void destroyWindow(WindowHandle w) override { note(QStringLiteral("destroy %1").arg(w)); }
    void setClipboard(const QByteArray& ansi, const QString& unicode) override
    {
        note(QStringLiteral("clipboard %1 %2").arg(QString::fromLatin1(ansi), unicode));
    }
    void processEvents() override { note(QStringLiteral("process")); }
};

} // namespace lexifol
