#pragma once
// What the keyboard layer needs from the window system. The X11 version
// lives in its own file so that builds without X11 compile without it.
#include <QByteArrayList>
#include <QStringList>
#include <optional>

namespace lexifol::detail {

struct XkbGroups {
    QByteArrayList layouts; // per group, from the rules names (may be empty)
    QStringList names;      // per group, descriptive names
    int current = 0;
};

// The configured groups and the current one; nothing when the program does
// not run on an X display with XKB.
std::optional<XkbGroups> QueryXkbGroups();
// Locks the group so that typing really switches; false without XKB.
bool LockXkbGroup(int group);

} // namespace lexifol::detail
