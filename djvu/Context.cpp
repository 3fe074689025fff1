#include "djvu/Context.h"

#include <QElapsedTimer>

#include <chrono>

namespace lexifol::djvu {

void TakeMessages(ddjvu_context_t* ctx, unsigned long long known, unsigned long long& taken,
                  const std::function<void(const ddjvu_message_t&)>& each)
{
    while (taken < known) {
        const ddjvu_message_t* m = ddjvu_message_peek(ctx);
        if (!m)
            return;
        if (each)
            each(*m);
        ddjvu_message_pop(ctx);
        ++taken;
    }
}

Context& Context::shared()
{
    static Context context;
    return context;
}

Context::Context()
{
    ctx_ = ddjvu_context_create("lexifol");
    if (ctx_)
        ddjvu_message_set_callback(ctx_, &Context::OnMessage, this);
}

Context::~Context()
{
    if (!ctx_)
        return;
    ddjvu_message_set_callback(ctx_, nullptr, nullptr);
    ddjvu_context_release(ctx_);
}

void Context::OnMessage(ddjvu_context_t*, void* closure)
{
    // Called on a decoder thread: only count and wake.
    auto* self = static_cast<Context*>(closure);
    ++self->posted_;
    {
        std::lock_guard lock(self->mutex_);
        ++self->messages_;
    }
    self->arrived_.notify_all();
}

void Context::pump()
{
    // Not mutex_: the callback takes that one with DjVuLibre's lock held.
    std::lock_guard lock(pumpMutex_);
    TakeMessages(ctx_, posted_.load(), taken_);
}

bool Context::waitFor(const std::function<bool()>& ready, int stallMs)
{
    if (!ctx_)
        return false;
    QElapsedTimer still;
    still.start();
    unsigned long long seen = 0;
    {
        std::lock_guard lock(mutex_);
        seen = messages_;
    }
    while (true) {
        pump();
        if (ready())
            return true;
        std::unique_lock lock(mutex_);
        arrived_.wait_for(lock, std::chrono::milliseconds(2), [&] { return messages_ != seen; });
        if (messages_ != seen) {
            seen = messages_;
            still.restart();
        } else if (still.elapsed() > stallMs) {
            return false;
        }
    }
}

} // namespace lexifol::djvu
