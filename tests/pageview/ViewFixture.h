#pragma once
// A page view in a window of its own, and the wheel turned over it.
#include "pageview/PageView.h"

#include <QApplication>
#include <QTest>
#include <QWheelEvent>

namespace lexifol::testing {

// Shown and exposed, 600x500 unless told; null when it never came up.
inline PageView* NewShownView(QSize size = QSize(600, 500))
{
    auto* view = new PageView;
    view->resize(size);
    view->show();
    if (!QTest::qWaitForWindowExposed(view)) {
        delete view;
        return nullptr;
    }
    return view;
}

// `delta` eighths of a degree at `at` of `w` (its middle when not given).
inline void TurnWheel(QWidget* w, int delta, Qt::KeyboardModifiers mods = Qt::NoModifier, QPoint at = QPoint(-1, -1))
{
    if (at.x() < 0)
        at = QPoint(w->width() / 2, w->height() / 2);
    QWheelEvent e(at, w->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton, mods, Qt::NoScrollPhase, false);
    QApplication::sendEvent(w, &e);
}

} // namespace lexifol::testing
