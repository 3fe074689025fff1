#include "base/Faults.h"

namespace lexifol::faults {

namespace {
Hook& Current()
{
    static Hook hook;
    return hook;
}
} // namespace

void SetHook(Hook hook)
{
    Current() = std::move(hook);
}

bool Fail(Op op)
{
    const Hook& hook = Current();
    return hook && hook(op);
}

} // namespace lexifol::faults
