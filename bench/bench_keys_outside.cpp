// Key press to window drawn, timed from outside the program: a key sent to
// the X server (XTEST) and the first drawing the server then reports on the
// active window (DAMAGE). What a user waits for, whatever the toolkit does
// inside; the same for every program, so that one can be a floor.
//   bench_keys_outside SAMPLES COMMAND [ARGS...]   prints each key's ms
// The program must come up with the focus in a text box; keys type a few
// letters and take them back, so that every key moves a list.
#include <xcb/damage.h>
#include <xcb/xcb.h>
#include <xcb/xtest.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double Ms(Clock::time_point since)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - since).count();
}

xcb_atom_t Atom(xcb_connection_t* c, const char* name)
{
    xcb_intern_atom_reply_t* r = xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, uint16_t(strlen(name)), name), nullptr);
    const xcb_atom_t a = r ? r->atom : XCB_NONE;
    free(r);
    return a;
}

// The window manager names the window it gave the focus to.
xcb_window_t ActiveWindow(xcb_connection_t* c, xcb_window_t root, xcb_atom_t active)
{
    xcb_get_property_reply_t* r = xcb_get_property_reply(c, xcb_get_property(c, 0, root, active, XCB_ATOM_WINDOW, 0, 1),
                                                         nullptr);
    xcb_window_t w = XCB_NONE;
    if (r && xcb_get_property_value_length(r) == 4)
        std::memcpy(&w, xcb_get_property_value(r), 4);
    free(r);
    return w;
}

uint32_t WindowPid(xcb_connection_t* c, xcb_window_t w, xcb_atom_t pid)
{
    xcb_get_property_reply_t* r = xcb_get_property_reply(c, xcb_get_property(c, 0, w, pid, XCB_ATOM_CARDINAL, 0, 1),
                                                         nullptr);
    uint32_t value = 0;
    if (r && xcb_get_property_value_length(r) == 4)
        std::memcpy(&value, xcb_get_property_value(r), 4);
    free(r);
    return value;
}

xcb_keycode_t KeyCode(xcb_connection_t* c, xcb_keysym_t sym)
{
    const xcb_setup_t* setup = xcb_get_setup(c);
    const int count = setup->max_keycode - setup->min_keycode + 1;
    xcb_get_keyboard_mapping_reply_t* r = xcb_get_keyboard_mapping_reply(
        c, xcb_get_keyboard_mapping(c, setup->min_keycode, uint8_t(count)), nullptr);
    xcb_keycode_t code = 0;
    const xcb_keysym_t* syms = xcb_get_keyboard_mapping_keysyms(r);
    for (int k = 0; k < count && !code; ++k)
        if (syms[k * r->keysyms_per_keycode] == sym)
            code = xcb_keycode_t(setup->min_keycode + k);
    free(r);
    return code;
}

// Waits for a drawing reported on the damage object; false after `limitMs`.
bool WaitDamage(xcb_connection_t* c, uint8_t damageEvent, double limitMs)
{
    const auto t0 = Clock::now();
    pollfd fd{xcb_get_file_descriptor(c), POLLIN, 0};
    while (Ms(t0) < limitMs) {
        while (xcb_generic_event_t* e = xcb_poll_for_event(c)) {
            const bool drawn = (e->response_type & 0x7f) == damageEvent;
            free(e);
            if (drawn)
                return true;
        }
        poll(&fd, 1, 1);
    }
    return false;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 3)
        return std::fprintf(stderr, "usage: bench_keys_outside SAMPLES COMMAND [ARGS...]\n"), 2;
    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(c))
        return std::fprintf(stderr, "bench_keys_outside: no X server\n"), 2;
    const xcb_query_extension_reply_t* damageExt = xcb_get_extension_data(c, &xcb_damage_id);
    if (!damageExt || !damageExt->present)
        return std::fprintf(stderr, "bench_keys_outside: no DAMAGE extension\n"), 2;
    free(xcb_damage_query_version_reply(c, xcb_damage_query_version(c, 1, 1), nullptr));
    const uint8_t damageEvent = damageExt->first_event + XCB_DAMAGE_NOTIFY;
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    const xcb_atom_t active = Atom(c, "_NET_ACTIVE_WINDOW");
    const xcb_atom_t pidAtom = Atom(c, "_NET_WM_PID");

    const pid_t child = fork();
    if (child == 0) {
        execvp(argv[2], argv + 2);
        _exit(127);
    }
    // The program's window is the one the window manager activates that
    // names the program's process; then it is given time to settle.
    const auto t0 = Clock::now();
    xcb_window_t window = XCB_NONE;
    while (window == XCB_NONE && Ms(t0) < 20000) {
        usleep(20000);
        const xcb_window_t w = ActiveWindow(c, root, active);
        if (w != XCB_NONE && WindowPid(c, w, pidAtom) == uint32_t(child))
            window = w;
    }
    if (window == XCB_NONE) {
        kill(child, SIGTERM), waitpid(child, nullptr, 0);
        return std::fprintf(stderr, "bench_keys_outside: no window came up\n"), 1;
    }
    const xcb_damage_damage_t damage = xcb_generate_id(c);
    xcb_damage_create(c, damage, window, XCB_DAMAGE_REPORT_LEVEL_NON_EMPTY);
    xcb_flush(c);
    sleep(2);

    const xcb_keysym_t word[] = {'c', 'o', 'm', 'p'};
    const xcb_keycode_t back = KeyCode(c, 0xff08);
    std::vector<xcb_keycode_t> keys;
    for (xcb_keysym_t s : word)
        keys.push_back(KeyCode(c, s));
    const int samples = std::atoi(argv[1]);
    for (int i = 0; i < samples; ++i) {
        // Quiet first: nothing drawn for 150 ms (a page drawn ahead after a
        // pause in typing is not the next key's).
        xcb_damage_subtract(c, damage, XCB_NONE, XCB_NONE);
        xcb_flush(c);
        while (WaitDamage(c, damageEvent, 150))
            xcb_damage_subtract(c, damage, XCB_NONE, XCB_NONE), xcb_flush(c);
        const int step = i % 8;
        const xcb_keycode_t key = step < 4 ? keys[size_t(step)] : back;
        const auto sent = Clock::now();
        xcb_test_fake_input(c, XCB_KEY_PRESS, key, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
        xcb_test_fake_input(c, XCB_KEY_RELEASE, key, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
        xcb_flush(c);
        if (WaitDamage(c, damageEvent, 2000))
            std::printf("%.3f\n", Ms(sent));
        else
            std::printf("-1\n");
    }
    std::fflush(stdout);
    kill(child, SIGTERM);
    waitpid(child, nullptr, 0);
    xcb_disconnect(c);
    return 0;
}
