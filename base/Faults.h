#pragma once
// Fault injection for tests: the writers ask before each step that can fail
// on a real disk (writing, syncing, renaming, removing). Without a hook,
// which is always so outside tests, every step goes ahead.
#include <functional>

namespace lexifol::faults {

enum class Op { Write, Sync, Rename, Remove };

// The hook answers true to make that step fail as the system would; it may
// also end the process there, to stand for a crash.
using Hook = std::function<bool(Op)>;
void SetHook(Hook hook);
bool Fail(Op op);

} // namespace lexifol::faults
