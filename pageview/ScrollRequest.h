#pragma once
// A vertical scroll request posted to the page window, as the platform's
// scroll message: line or page, up or down.
#include <QAbstractSlider>
#include <QEvent>

namespace lexifol {

enum ScrollCode { SB_LINEUP = 0, SB_LINEDOWN = 1, SB_PAGEUP = 2, SB_PAGEDOWN = 3 };

// Carries out a scroll request on a scroll bar; an unknown code does nothing.
void ApplyScrollCode(QAbstractSlider* bar, int code);

class ScrollRequestEvent : public QEvent
{
public:
    explicit ScrollRequestEvent(int code)
        : QEvent(eventType())
        , code_(code)
    { }
    int code() const { return code_; }
    static QEvent::Type eventType();

private:
    int code_;
};

} // namespace lexifol
