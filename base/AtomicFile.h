#pragma once
// The one writer of every file the program writes.
#include "base/Status.h"
#include <atomic>
#include <QByteArray>
#include <QString>
#include <functional>

namespace lexifol {

// Replaces the file through a temporary file and a rename, so that a reader
// sees either the old or the new content, never a half-written file. Fails,
// with the system's reason, unless every byte reached the disk; the old file
// is then left as it was.
// `Unsynced` skips waiting for the disk, for a file rebuilt for every use
// (the page view file): a crash may lose it, never leave it half written.
enum class Durability { Synced, Unsynced };
Status WriteFileAtomically(const QString& path, const QByteArray& bytes, Durability durability = Durability::Synced);
// The same for content made a piece at a time (a large file never held
// whole): `next` fills the next piece and returns false after the last.
// When `cancel` turns true the old file stays as it was and "Cancelled" is
// returned.
Status WriteFileAtomically(const QString& path, const std::function<bool(QByteArray&)>& next,
                           Durability durability = Durability::Synced, const std::atomic<bool>* cancel = nullptr);

} // namespace lexifol
