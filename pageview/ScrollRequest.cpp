#include "pageview/ScrollRequest.h"

namespace lexifol {

QEvent::Type ScrollRequestEvent::eventType()
{
    static const auto t = QEvent::Type(QEvent::registerEventType());
    return t;
}

} // namespace lexifol
