#pragma once
// The process-wide DjVuLibre context of the waiting callers, with a wait
// that cannot hang: DjVuLibre sometimes finishes without a message, so the
// state is looked at again every few milliseconds, and a wait without
// progress for too long is given up.
#include <libdjvu/ddjvuapi.h>

#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>

namespace lexifol::djvu {

// Pops the messages known to be queued: `known` posted so far (as counted
// by the message callback), `taken` popped before. Peeking into an empty
// queue makes DjVuLibre wait a moment, a switch of threads every time.
void TakeMessages(ddjvu_context_t* ctx, unsigned long long known, unsigned long long& taken,
                  const std::function<void(const ddjvu_message_t&)>& each = {});

class Context
{
public:
    static Context& shared();
    ddjvu_context_t* get() const { return ctx_; }

    // Waits until `ready` holds; false when nothing moved for `stallMs`.
    // Any message counts as movement. Safe from any thread.
    bool waitFor(const std::function<bool()>& ready, int stallMs);

private:
    Context();
    ~Context();
    static void OnMessage(ddjvu_context_t* ctx, void* closure);
    void pump();

    ddjvu_context_t* ctx_ = nullptr;
    std::mutex pumpMutex_;
    std::mutex mutex_;
    std::condition_variable arrived_;
    unsigned long long messages_ = 0; // guarded by mutex_
    std::atomic<unsigned long long> posted_{0};
    unsigned long long taken_ = 0; // guarded by pumpMutex_
};

} // namespace lexifol::djvu
