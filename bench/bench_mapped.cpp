// Starts a program and waits until a window of it is mapped on the X
// server: the start-up a user sees, whatever the program does inside.
//   bench_mapped RUNS COMMAND [ARGS...]   prints each run's milliseconds
#include <xcb/xcb.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

double OneRun(xcb_connection_t* c, xcb_window_t root, char** command)
{
    const auto t0 = std::chrono::steady_clock::now();
    const pid_t child = fork();
    if (child == 0) {
        execvp(command[0], command);
        _exit(127);
    }
    double ms = -1;
    // The window manager maps the frame of a new window as a child of the
    // root: the first MapNotify there is the window coming up. A program
    // that ends first (handed its work to a running one) or takes over ten
    // seconds counts as -1.
    pollfd fd{xcb_get_file_descriptor(c), POLLIN, 0};
    bool ended = false;
    while (ms < 0 && !ended) {
        xcb_generic_event_t* e = xcb_poll_for_event(c);
        if (!e) {
            ended = waitpid(child, nullptr, WNOHANG) == child
                || std::chrono::steady_clock::now() - t0 > std::chrono::seconds(10);
            poll(&fd, 1, 5);
            continue;
        }
        if ((e->response_type & 0x7f) == XCB_MAP_NOTIFY)
            ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
        free(e);
    }
    if (!ended) {
        kill(child, SIGTERM);
        waitpid(child, nullptr, 0);
    }
    // The unmaps and destroys of the closing window are not the next run's.
    usleep(300000);
    while (xcb_generic_event_t* e = xcb_poll_for_event(c))
        free(e);
    (void)root;
    return ms;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 3)
        return std::fprintf(stderr, "usage: bench_mapped RUNS COMMAND [ARGS...]\n"), 2;
    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(c))
        return std::fprintf(stderr, "bench_mapped: no X server\n"), 2;
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(c, root, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(c);
    for (int run = 0, runs = std::atoi(argv[1]); run < runs; ++run)
        std::printf("%.1f\n", OneRun(c, root, argv + 2));
    xcb_disconnect(c);
    return 0;
}
