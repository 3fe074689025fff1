// XKB groups of the X display the program runs on.
#include "library/KeyboardLayoutPlatform.h"

#if defined(LEXIFOL_HAVE_XKB)

#include "library/KeyboardLayout.h"

#include <QGuiApplication>

#include <X11/XKBlib.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>

namespace lexifol::detail {

namespace {

// One connection of our own for the process's life, opened on first use:
// the group state is the server's, so any connection may read and lock it.
Display* display()
{
    static Display* dpy = []() -> Display* {
        // Only when Qt itself talks to an X server: under "offscreen" or
        // Wayland a display from the environment is not the user's keyboard.
        if (QGuiApplication::platformName() != QLatin1StringView("xcb"))
            return nullptr;
        int event = 0, error = 0, reason = 0;
        int major = XkbMajorVersion, minor = XkbMinorVersion;
        return XkbOpenDisplay(nullptr, &event, &error, &major, &minor, &reason);
    }();
    return dpy;
}

QByteArray rulesNames(Display* dpy)
{
    const Atom prop = XInternAtom(dpy, "_XKB_RULES_NAMES", True);
    if (prop == None)
        return {};
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    QByteArray out;
    if (XGetWindowProperty(dpy, DefaultRootWindow(dpy), prop, 0, 1024, False, XA_STRING, &type, &format, &count, &after,
                           &data)
            == Success
        && type == XA_STRING && format == 8 && data) {
        out = QByteArray(reinterpret_cast<const char*>(data), qsizetype(count));
    }
    if (data)
        XFree(data);
    return out;
}

QStringList groupNames(Display* dpy)
{
    QStringList names;
    XkbDescPtr xkb = XkbAllocKeyboard();
    if (!xkb)
        return names;
    if (XkbGetControls(dpy, XkbGroupsWrapMask, xkb) == Success && XkbGetNames(dpy, XkbGroupNamesMask, xkb) == Success
        && xkb->names && xkb->ctrls) {
        const int n = qBound(0, int(xkb->ctrls->num_groups), XkbNumKbdGroups);
        for (int i = 0; i < n; ++i) {
            const Atom a = xkb->names->groups[i];
            char* s = a != None ? XGetAtomName(dpy, a) : nullptr;
            names.append(s ? QString::fromUtf8(s) : QString());
            if (s)
                XFree(s);
        }
    }
    XkbFreeKeyboard(xkb, 0, True);
    return names;
}

} // namespace

std::optional<XkbGroups> QueryXkbGroups()
{
    Display* dpy = display();
    if (!dpy)
        return std::nullopt;
    XkbStateRec state{};
    if (XkbGetState(dpy, XkbUseCoreKbd, &state) != Success)
        return std::nullopt;
    XkbGroups g;
    g.current = state.group;
    g.layouts = LayoutsFromRulesNames(rulesNames(dpy));
    if (g.layouts.isEmpty())
        g.names = groupNames(dpy);
    return g;
}

bool LockXkbGroup(int group)
{
    Display* dpy = display();
    if (!dpy || group < 0 || group >= XkbNumKbdGroups)
        return false;
    if (!XkbLockGroup(dpy, XkbUseCoreKbd, unsigned(group)))
        return false;
    // The lock must be in force before the next key is typed.
    XSync(dpy, False);
    return true;
}

} // namespace lexifol::detail

#endif
