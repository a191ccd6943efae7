// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Starts a program and prints the seconds from its start to the moment the X
// server maps its first top-level window, then ends it. The program's name
// and the window's title are printed beside the time; the program's own
// output is discarded.
//
//   window_map_timer [--timeout SECONDS] PROGRAM [ARGS...]
// Needs DISPLAY. Without a window manager a top-level window is mapped as a
// child of the root window, so watching the root's substructure sees it.
#include <xcb/xcb.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace {

double now() { return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count(); }

std::string property(xcb_connection_t* c, xcb_window_t w, xcb_atom_t name) {
    const auto cookie = xcb_get_property(c, 0, w, name, XCB_GET_PROPERTY_TYPE_ANY, 0, 256);
    xcb_get_property_reply_t* reply = xcb_get_property_reply(c, cookie, nullptr);
    std::string value;
    if (reply) {
        value.assign(static_cast<const char*>(xcb_get_property_value(reply)), xcb_get_property_value_length(reply));
        std::free(reply);
    }
    return value;
}

// The UTF-8 title where the program sets one; WM_NAME may be compound text.
std::string windowTitle(xcb_connection_t* c, xcb_window_t w) {
    const char name[] = "_NET_WM_NAME";
    xcb_intern_atom_reply_t* atom = xcb_intern_atom_reply(c, xcb_intern_atom(c, 1, sizeof name - 1, name), nullptr);
    std::string title;
    if (atom) {
        if (atom->atom != XCB_ATOM_NONE) title = property(c, w, atom->atom);
        std::free(atom);
    }
    return title.empty() ? property(c, w, XCB_ATOM_WM_NAME) : title;
}

void endChild(pid_t child) {
    kill(child, SIGTERM);
    for (int k = 0; k < 50; ++k) {
        if (waitpid(child, nullptr, WNOHANG) == child) return;
        usleep(100000);
    }
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
}

}  // namespace

int main(int argc, char** argv) {
    double timeout = 30;
    int first = 1;
    if (argc > 2 && std::strcmp(argv[1], "--timeout") == 0) {
        timeout = std::atof(argv[2]);
        first = 3;
    }
    if (first >= argc) {
        std::fprintf(stderr, "usage: %s [--timeout SECONDS] PROGRAM [ARGS...]\n", argv[0]);
        return 2;
    }
    // A fresh Xvfb now and then refuses a connection for a moment.
    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    for (int attempt = 0; attempt < 20 && xcb_connection_has_error(c); ++attempt) {
        xcb_disconnect(c);
        usleep(100000);
        c = xcb_connect(nullptr, nullptr);
    }
    if (xcb_connection_has_error(c)) {
        std::fprintf(stderr, "no X display\n");
        return 2;
    }
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_request_check(c, xcb_change_window_attributes_checked(c, root, XCB_CW_EVENT_MASK, &mask));

    const double started = now();
    const pid_t child = fork();
    if (child == 0) {
        // The program's own chatter would bury the figure.
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, STDOUT_FILENO);
        dup2(null, STDERR_FILENO);
        execvp(argv[first], argv + first);
        _exit(127);
    }
    if (child < 0) return 2;

    pollfd fd{xcb_get_file_descriptor(c), POLLIN, 0};
    double mapped = -1;
    xcb_window_t window = 0;
    while (mapped < 0) {
        while (xcb_generic_event_t* e = xcb_poll_for_event(c)) {
            if ((e->response_type & 0x7f) == XCB_MAP_NOTIFY) {
                const auto* map = reinterpret_cast<xcb_map_notify_event_t*>(e);
                if (map->event == root && !map->override_redirect && mapped < 0) {
                    mapped = now() - started;
                    window = map->window;
                }
            }
            std::free(e);
        }
        if (mapped >= 0) break;
        if (xcb_connection_has_error(c) || waitpid(child, nullptr, WNOHANG) == child) {
            std::fprintf(stderr, "%s ended without showing a window\n", argv[first]);
            return 1;
        }
        const double left = started + timeout - now();
        if (left <= 0) {
            std::fprintf(stderr, "%s showed no window within %.0f s\n", argv[first], timeout);
            endChild(child);
            return 1;
        }
        poll(&fd, 1, static_cast<int>(std::min(left, 0.2) * 1000) + 1);
    }
    const std::string title = windowTitle(c, window);
    std::printf("%.4f %s \"%s\"\n", mapped, argv[first], title.c_str());
    std::fflush(stdout);
    endChild(child);
    xcb_disconnect(c);
    return 0;
}
