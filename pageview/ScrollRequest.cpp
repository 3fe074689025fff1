#include "pageview/ScrollRequest.h"

namespace lexifol {

QEvent::Type ScrollRequestEvent::eventType()
{
    static const auto t = QEvent::Type(QEvent::registerEventType());
    return t;
}

void ApplyScrollCode(QAbstractSlider* bar, int code)
{
    static constexpr QAbstractSlider::SliderAction kActions[] = {
        QAbstractSlider::SliderSingleStepSub, QAbstractSlider::SliderSingleStepAdd, QAbstractSlider::SliderPageStepSub,
        QAbstractSlider::SliderPageStepAdd};
    if (bar && code >= SB_LINEUP && code <= SB_PAGEDOWN)
        bar->triggerAction(kActions[code]);
}

} // namespace lexifol
