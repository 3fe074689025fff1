#include "config/Messages.h"
#include <cstdio>

namespace lexifol {

namespace {
MessageHandler& handler()
{
    static MessageHandler h;
    return h;
}
}

void ShowMessage(const QString& text, MsgIcon icon, const QString& caption, QWidget* owner)
{
    Message m{text, caption, icon, owner};
    if (handler()) {
        handler()(m);
        return;
    }
    std::fprintf(stderr, "%s: %s\n", qPrintable(caption), qPrintable(text));
}

MessageHandler SetMessageHandler(MessageHandler h)
{
    MessageHandler old = std::move(handler());
    handler() = std::move(h);
    return old;
}

} // namespace lexifol
