#include "app/QtPlatformInput.h"

#include "library/KeyboardLayout.h"
#include "pageview/ScrollRequest.h"

#include <QApplication>
#include <QClipboard>
#include <QCursor>
#include <QKeyEvent>
#include <QElapsedTimer>
#include <QMimeData>
#include <QSet>
#include <QThread>
#include <QWheelEvent>

namespace lexifol {

namespace {

// Only widgets that still exist are handed back.
QWidget* widgetOf(WindowHandle w)
{
    auto* widget = reinterpret_cast<QWidget*>(w);
    return widget && QApplication::allWidgets().contains(widget) ? widget : nullptr;
}

WindowHandle handleOf(QWidget* w)
{
    return reinterpret_cast<WindowHandle>(w);
}

Qt::Key qtKey(int virtualKey)
{
    switch (virtualKey) {
    case vk::Control:
        return Qt::Key_Control;
    case vk::Return:
        return Qt::Key_Return;
    default:
        // Letters and digits share their codes with Qt's.
        return Qt::Key(virtualKey);
    }
}

} // namespace

QtPlatformInput::QtPlatformInput(std::function<QWidget*()> wheelTarget)
    : wheelTarget_(std::move(wheelTarget))
{ }

std::optional<QPoint> QtPlatformInput::cursorPos()
{
    return QCursor::pos();
}

void QtPlatformInput::setCursorPos(QPoint p)
{
    QCursor::setPos(p);
}

WindowHandle QtPlatformInput::windowAt(QPoint p)
{
    return handleOf(QApplication::widgetAt(p));
}

void QtPlatformInput::postMessage(WindowHandle w, int message, int wParam, int)
{
    QWidget* target = widgetOf(w);
    if (!target)
        return;
    if (message == kWmVScroll) {
        QCoreApplication::postEvent(target, new ScrollRequestEvent(wParam));
    } else if (message == kWmKeyDown) {
        const Qt::Key key = qtKey(wParam);
        const QString text = key >= Qt::Key_A && key <= Qt::Key_Z ? QString(QChar(key)).toLower() : QString();
        QCoreApplication::postEvent(target, new QKeyEvent(QEvent::KeyPress, key, Qt::NoModifier, text));
    }
}

void QtPlatformInput::wheel(int delta)
{
    QWidget* target = wheelTarget_ ? wheelTarget_() : nullptr;
    if (!target)
        return;
    const QPointF local = QPointF(target->rect().center());
    auto* e = new QWheelEvent(local, target->mapToGlobal(local), QPoint(), QPoint(0, delta), Qt::NoButton,
                              Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::postEvent(target, e);
}

void QtPlatformInput::sendKey(int virtualKey, bool down)
{
    const Qt::Key key = qtKey(virtualKey);
    if (key == Qt::Key_Control)
        held_.setFlag(Qt::ControlModifier, down);
    QWidget* window = keyWindow_ ? keyWindow_.data() : QApplication::activeWindow();
    QWidget* target = window ? window->focusWidget() : nullptr;
    if (!target)
        target = window;
    if (!target)
        return;
    QString text;
    if (down && key == Qt::Key_Return)
        text = QStringLiteral("\r");
    else if (down && key >= Qt::Key_A && key <= Qt::Key_Z && !(held_ & Qt::ControlModifier))
        text = QString(QChar(key)).toLower();
    QCoreApplication::postEvent(target, new QKeyEvent(down ? QEvent::KeyPress : QEvent::KeyRelease, key, held_, text));
}

void QtPlatformInput::keyDown(int virtualKey)
{
    sendKey(virtualKey, true);
}

void QtPlatformInput::keyUp(int virtualKey)
{
    sendKey(virtualKey, false);
}

QByteArray QtPlatformInput::inputLanguage()
{
    return ActiveKeyboardLayoutName();
}

bool QtPlatformInput::activateInputLanguage(const QByteArray& id)
{
    return LoadKeyboardLayout(id);
}

void QtPlatformInput::showCursor(bool show)
{
    if (!show) {
        QGuiApplication::setOverrideCursor(Qt::BlankCursor);
        ++hidden_;
    } else if (hidden_ > 0) {
        QGuiApplication::restoreOverrideCursor();
        --hidden_;
    }
}

WindowHandle QtPlatformInput::foregroundWindow()
{
    keyWindow_ = QApplication::activeWindow();
    return handleOf(keyWindow_);
}

QString QtPlatformInput::windowTitle(WindowHandle w)
{
    QWidget* widget = widgetOf(w);
    return widget ? widget->windowTitle() : QString();
}

void QtPlatformInput::setWindowPos(WindowHandle w, QPoint p, int flags)
{
    QWidget* widget = widgetOf(w);
    if (!widget)
        return;
    widget->move(p);
    if (flags & 0x80) // hide
        widget->hide();
}

WindowHandle QtPlatformInput::findWindow(const QString& title)
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->windowTitle() == title)
            return handleOf(w);
    return 0;
}

void QtPlatformInput::destroyWindow(WindowHandle w)
{
    delete widgetOf(w);
}

void QtPlatformInput::setClipboard(const QByteArray& ansi, const QString& unicode)
{
    auto* data = new QMimeData;
    data->setText(unicode);
    data->setData(QStringLiteral("application/x-lexifol-ansi-text"), ansi);
    QGuiApplication::clipboard()->setMimeData(data);
}

void QtPlatformInput::processEvents()
{
    const QWidgetList before = QApplication::topLevelWidgets();
    QSet<QWidget*> shownBefore;
    for (QWidget* w : before)
        if (w->isVisible())
            shownBefore.insert(w);
    // Until nothing is waiting: the posted F key opens the dialog...
    for (int i = 0; i < 4; ++i)
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    // ...which a window manager makes active a moment later, on its own time.
    QWidget* shown = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible() && !shownBefore.contains(w) && w->isWindow() && !w->windowTitle().isEmpty())
            shown = w;
    QElapsedTimer waited;
    waited.start();
    while (shown && QApplication::activeWindow() != shown && waited.elapsed() < 1000) {
        QThread::msleep(5);
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    }
}

} // namespace lexifol
