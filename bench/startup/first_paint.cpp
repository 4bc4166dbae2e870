// Starts a program and reports when its first window is on screen with its content painted:
// a viewable top-level window whose client area no longer shows what the screen showed before
// the launch. Prints "pid=N mapped_ms=M painted_ms=P window=0xW" and leaves the program running.
//
// Usage: first_paint TIMEOUT_SECONDS PROGRAM [ARGUMENTS...]
// Without a window manager the program's windows are direct children of the root.

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {

constexpr int smallestWindow = 100;  // skips the toolkits' 1×1 helper windows
constexpr double paintedShare = 0.4; // the root's weave still matches about half of a flat colour
constexpr long pollNanoseconds = 2'000'000;

double millisecondsSince(const timespec& start) {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return (now.tv_sec - start.tv_sec) * 1e3 + (now.tv_nsec - start.tv_nsec) / 1e6;
}

struct ImageDeleter {
    void operator()(XImage* image) const { XDestroyImage(image); }
};
using Image = std::unique_ptr<XImage, ImageDeleter>;

struct Found {
    Window window = 0;
    XWindowAttributes attributes{};
};

Found findViewableWindow(Display* display, Window root) {
    Window parent = 0;
    Window rootReturn = 0;
    Window* children = nullptr;
    unsigned count = 0;
    Found found;
    if (!XQueryTree(display, root, &rootReturn, &parent, &children, &count)) return found;
    for (unsigned i = count; i-- > 0;) {  // topmost first
        XWindowAttributes attributes{};
        if (!XGetWindowAttributes(display, children[i], &attributes)) continue;
        if (attributes.map_state != IsViewable) continue;
        if (attributes.width < smallestWindow || attributes.height < smallestWindow) continue;
        found = {children[i], attributes};
        break;
    }
    if (children) XFree(children);
    return found;
}

// Two horizontal strips across the middle of the window, compared with the screen before launch.
bool isPainted(Display* display, Window root, const XWindowAttributes& at, XImage* before) {
    const int left = at.x + at.width / 10;
    const int width = at.width * 8 / 10;
    int differing = 0;
    int sampled = 0;
    for (const int y : {at.y + at.height / 2, at.y + at.height * 3 / 4}) {
        if (y < 0 || y >= before->height) continue;
        Image strip(XGetImage(display, root, left, y, unsigned(width), 1, AllPlanes, ZPixmap));
        if (!strip) return false;
        for (int x = 0; x < width; ++x) {
            if (left + x < 0 || left + x >= before->width) continue;
            ++sampled;
            if (XGetPixel(strip.get(), x, 0) != XGetPixel(before, left + x, y)) ++differing;
        }
    }
    return sampled > 0 && differing >= sampled * paintedShare;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s TIMEOUT_SECONDS PROGRAM [ARGUMENTS...]\n", argv[0]);
        return 2;
    }
    const double timeoutMs = std::atof(argv[1]) * 1e3;
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "first_paint: cannot open the display\n");
        return 2;
    }
    const Window root = DefaultRootWindow(display);
    XWindowAttributes rootAttributes{};
    XGetWindowAttributes(display, root, &rootAttributes);
    Image before(XGetImage(display, root, 0, 0, unsigned(rootAttributes.width), unsigned(rootAttributes.height),
                           AllPlanes, ZPixmap));
    if (!before) {
        std::fprintf(stderr, "first_paint: cannot read the screen\n");
        return 2;
    }

    timespec start{};
    clock_gettime(CLOCK_MONOTONIC, &start);
    const pid_t pid = fork();
    if (pid < 0) {
        std::perror("first_paint: fork");
        return 2;
    }
    if (pid == 0) {
        close(ConnectionNumber(display));
        dup2(STDERR_FILENO, STDOUT_FILENO);  // our one line of output is the only thing on stdout
        execvp(argv[2], argv + 2);
        std::perror("first_paint: exec");
        _exit(127);
    }

    double mappedMs = -1;
    const timespec pause{0, pollNanoseconds};
    while (millisecondsSince(start) < timeoutMs) {
        const Found found = findViewableWindow(display, root);
        if (found.window != 0) {
            if (mappedMs < 0) mappedMs = millisecondsSince(start);
            if (isPainted(display, root, found.attributes, before.get())) {
                std::printf("pid=%d mapped_ms=%.1f painted_ms=%.1f window=0x%lx\n", pid, mappedMs,
                            millisecondsSince(start), found.window);
                return 0;
            }
        }
        nanosleep(&pause, nullptr);
    }
    std::printf("pid=%d mapped_ms=%.1f painted_ms=-1 window=0x0\n", pid, mappedMs);
    std::fprintf(stderr, "first_paint: no painted window within %s s\n", argv[1]);
    return 1;
}
