// first_window_timer COMMAND [ARG...]
//
// Starts COMMAND and prints the milliseconds from the fork to the X server's MapNotify of the
// command's first named top-level window, then ends the command. Exits 1 when no such window
// came within the time bound (FIRST_WINDOW_TIMEOUT_MS, default 20000) or the command ended
// first. Needs a display without a window manager (Xvfb), where every top-level window is a
// child of the root.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <set>
#include <string>

namespace {

using Clock = std::chrono::steady_clock;

template <class T>
using Reply = std::unique_ptr<T, decltype(&std::free)>;

xcb_atom_t internAtom(xcb_connection_t* c, const char* name) {
    Reply<xcb_intern_atom_reply_t> r(
        xcb_intern_atom_reply(
            c, xcb_intern_atom(c, 0, static_cast<uint16_t>(std::strlen(name)), name), nullptr),
        &std::free);
    return r ? r->atom : xcb_atom_t(XCB_ATOM_NONE);
}

bool hasName(xcb_connection_t* c, xcb_window_t w, xcb_atom_t netWmName) {
    for (xcb_atom_t property : {xcb_atom_t(XCB_ATOM_WM_NAME), netWmName}) {
        if (property == XCB_ATOM_NONE) continue;
        Reply<xcb_get_property_reply_t> r(
            xcb_get_property_reply(
                c, xcb_get_property(c, 0, w, property, XCB_GET_PROPERTY_TYPE_ANY, 0, 64), nullptr),
            &std::free);
        if (r && xcb_get_property_value_length(r.get()) > 0) return true;
    }
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: first_window_timer COMMAND [ARG...]\n");
        return 2;
    }
    const char* bound = std::getenv("FIRST_WINDOW_TIMEOUT_MS");
    const int timeoutMs = bound ? std::atoi(bound) : 20000;

    int screenNumber = 0;
    xcb_connection_t* c = xcb_connect(nullptr, &screenNumber);
    if (xcb_connection_has_error(c)) {
        std::fprintf(stderr, "first_window_timer: no display\n");
        return 2;
    }
    // The command must not inherit our connection.
    const int fd = xcb_get_file_descriptor(c);
    fcntl(fd, F_SETFD, fcntl(fd, F_GETFD) | FD_CLOEXEC);
    xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(c));
    for (int i = 0; i < screenNumber; ++i) xcb_screen_next(&screens);
    const xcb_window_t root = screens.data->root;
    const xcb_atom_t netWmName = internAtom(c, "_NET_WM_NAME");

    const uint32_t rootMask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(c, root, XCB_CW_EVENT_MASK, &rootMask);
    // A round trip, so the selection holds before the command can map anything.
    std::free(xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr));

    const Clock::time_point start = Clock::now();
    const pid_t child = fork();
    if (child < 0) return 2;
    if (child == 0) {
        execvp(argv[1], argv + 1);
        std::perror("first_window_timer: exec");
        _exit(127);
    }

    // Mapped windows still without a name: a name given later counts from then.
    std::set<xcb_window_t> mappedUnnamed;
    double shownMs = -1;
    while (shownMs < 0) {
        int status = 0;
        if (waitpid(child, &status, WNOHANG) == child) {
            std::fprintf(stderr, "first_window_timer: the command ended before a window showed\n");
            return 1;
        }
        const auto waited =
            std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
        if (waited > timeoutMs) break;
        xcb_generic_event_t* event = xcb_poll_for_event(c);
        if (!event) {
            if (xcb_connection_has_error(c)) break;
            pollfd p{fd, POLLIN, 0};
            poll(&p, 1, 10);
            continue;
        }
        const Clock::time_point seen = Clock::now();
        const auto ms = [&] {
            return std::chrono::duration<double, std::milli>(seen - start).count();
        };
        switch (event->response_type & 0x7f) {
            case XCB_MAP_NOTIFY: {
                const auto* map = reinterpret_cast<xcb_map_notify_event_t*>(event);
                if (map->event != root || map->override_redirect) break;
                if (hasName(c, map->window, netWmName)) {
                    shownMs = ms();
                } else {
                    mappedUnnamed.insert(map->window);
                    const uint32_t mask = XCB_EVENT_MASK_PROPERTY_CHANGE;
                    xcb_change_window_attributes(c, map->window, XCB_CW_EVENT_MASK, &mask);
                    // Named in the meantime?
                    if (hasName(c, map->window, netWmName)) shownMs = ms();
                }
                break;
            }
            case XCB_UNMAP_NOTIFY:
                mappedUnnamed.erase(reinterpret_cast<xcb_unmap_notify_event_t*>(event)->window);
                break;
            case XCB_PROPERTY_NOTIFY: {
                const auto* property = reinterpret_cast<xcb_property_notify_event_t*>(event);
                if ((property->atom == XCB_ATOM_WM_NAME || property->atom == netWmName) &&
                    mappedUnnamed.count(property->window) &&
                    hasName(c, property->window, netWmName))
                    shownMs = ms();
                break;
            }
            default:
                break;
        }
        std::free(event);
    }

    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
    xcb_disconnect(c);
    if (shownMs < 0) {
        std::fprintf(stderr, "first_window_timer: no named window within %d ms\n", timeoutMs);
        return 1;
    }
    std::printf("%.1f\n", shownMs);
    return 0;
}
