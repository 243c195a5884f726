// Watches a program from outside, the way a person at the screen sees it: the time from fork to
// the first window content with more than 100 colours, read from the X server's copy of the
// window every 20 ms (not the program's own report), and, with --idle, the processor time of
// every thread from 10 to 30 s after the start and the proportional memory at 30 s.
//
// Usage: first_picture [--idle] PROGRAM [ARG ...]   (under an X display)
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kPollMs = 20;
constexpr int kColours = 100;
constexpr int kGiveUpMs = 30000;

int IgnoreXErrors(Display*, XErrorEvent*) {
    return 0; // a window may go away or not be mapped yet between two requests
}

long WindowPid(Display* display, Window window) {
    static const Atom pid_atom = XInternAtom(display, "_NET_WM_PID", True);
    if (pid_atom == None) return -1;
    Atom type;
    int format;
    unsigned long count, after;
    unsigned char* data = nullptr;
    long pid = -1;
    if (XGetWindowProperty(display, window, pid_atom, 0, 1, False, XA_CARDINAL, &type, &format,
                           &count, &after, &data) == Success &&
        data) {
        if (count == 1 && format == 32) pid = long(*reinterpret_cast<unsigned long*>(data));
        XFree(data);
    }
    return pid;
}

// The program's mapped window among the top-level ones (there is no window manager under Xvfb,
// but a reparenting one would put it one level down).
Window FindWindow(Display* display, Window parent, pid_t pid, int depth) {
    Window root, up, *children = nullptr;
    unsigned n = 0;
    if (!XQueryTree(display, parent, &root, &up, &children, &n)) return 0;
    Window found = 0;
    for (unsigned i = 0; i < n && !found; ++i) {
        XWindowAttributes a;
        if (!XGetWindowAttributes(display, children[i], &a) || a.map_state != IsViewable) continue;
        if (WindowPid(display, children[i]) == pid)
            found = children[i];
        else if (depth > 0)
            found = FindWindow(display, children[i], pid, depth - 1);
    }
    if (children) XFree(children);
    return found;
}

// More than `limit` distinct colours in the window's picture?
bool Colourful(Display* display, Window window, int limit) {
    XWindowAttributes a;
    if (!XGetWindowAttributes(display, window, &a)) return false;
    XImage* image =
        XGetImage(display, window, 0, 0, unsigned(a.width), unsigned(a.height), AllPlanes, ZPixmap);
    if (!image) return false;
    static std::vector<bool> seen(1 << 24);
    std::vector<unsigned long> set;
    for (int y = 0; y < image->height && int(set.size()) <= limit; ++y)
        for (int x = 0; x < image->width; ++x) {
            const unsigned long p = XGetPixel(image, x, y) & 0xFFFFFF;
            if (!seen[p]) {
                seen[p] = true;
                set.push_back(p);
            }
        }
    for (unsigned long p : set)
        seen[p] = false;
    XDestroyImage(image);
    return int(set.size()) > limit;
}

struct TThreadTime {
    std::string name;
    double cpu_ns = 0;
    double runs = 0; // times it was put on a processor, that is about its wake-ups
};

// Every thread of the process: processor time in nanoseconds from the scheduler's statistics.
std::map<int, TThreadTime> Threads(pid_t pid) {
    std::map<int, TThreadTime> threads;
    const std::string base = "/proc/" + std::to_string(pid) + "/task";
    DIR* dir = opendir(base.c_str());
    if (!dir) return threads;
    while (dirent* entry = readdir(dir)) {
        if (entry->d_name[0] == '.') continue;
        const std::string task = base + "/" + entry->d_name;
        TThreadTime t;
        std::ifstream(task + "/comm") >> t.name;
        std::ifstream schedstat(task + "/schedstat");
        double wait_ns = 0;
        if (schedstat >> t.cpu_ns >> wait_ns >> t.runs) threads[std::atoi(entry->d_name)] = t;
    }
    closedir(dir);
    return threads;
}

double Field(pid_t pid, const char* file, const char* label) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/" + file);
    std::string line;
    while (std::getline(in, line))
        if (line.rfind(label, 0) == 0) return std::atof(line.c_str() + std::strlen(label));
    return -1;
}

void SleepUntil(Clock::time_point start, int ms) {
    std::this_thread::sleep_until(start + std::chrono::milliseconds(ms));
}

int MsSince(Clock::time_point start) {
    return int(std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count());
}

} // namespace

int main(int argc, char** argv) {
    int first = 1;
    const bool idle = argc > 1 && std::strcmp(argv[1], "--idle") == 0;
    if (idle) ++first;
    if (first >= argc) {
        std::fprintf(stderr, "usage: first_picture [--idle] PROGRAM [ARG ...]\n");
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "first_picture: no X display\n");
        return 2;
    }
    XSetErrorHandler(IgnoreXErrors);

    const Clock::time_point start = Clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        // What the program prints is not watched, and a terminal would slow it down.
        if (int null = open("/dev/null", O_WRONLY); null >= 0) {
            dup2(null, 1);
            dup2(null, 2);
        }
        execvp(argv[first], argv + first);
        _exit(127);
    }
    int status = 0;
    int seen_ms = -1;
    for (int tick = 0; tick * kPollMs < kGiveUpMs; ++tick) {
        SleepUntil(start, tick * kPollMs);
        if (waitpid(pid, &status, WNOHANG) == pid) {
            std::fprintf(stderr, "first_picture: the program ended before it showed anything\n");
            return 1;
        }
        const int polled = MsSince(start);
        Window window = FindWindow(display, DefaultRootWindow(display), pid, 1);
        if (window && Colourful(display, window, kColours)) {
            seen_ms = polled;
            break;
        }
    }
    if (seen_ms < 0)
        std::fprintf(stderr, "first_picture: no picture within 30 s\n");
    else
        std::printf("first picture: %d ms\n", seen_ms);

    if (idle && seen_ms >= 0) {
        SleepUntil(start, 10000);
        const auto before = Threads(pid);
        SleepUntil(start, 30000);
        const auto after = Threads(pid);
        double total = 0, runs = 0;
        std::map<std::string, std::pair<double, double>> by_name; // threads of one name add up
        for (const auto& [tid, t] : after) {
            auto b = before.find(tid);
            const double cpu = t.cpu_ns - (b != before.end() ? b->second.cpu_ns : 0);
            const double n = t.runs - (b != before.end() ? b->second.runs : 0);
            by_name[t.name].first += cpu;
            by_name[t.name].second += n;
            total += cpu;
            runs += n;
        }
        std::printf("idle CPU 10-30 s: %.3f %% of one core, %.0f wake-ups per second\n",
                    total / 20e9 * 100, runs / 20);
        for (const auto& [name, v] : by_name)
            std::printf("idle thread %s: %.3f %%, %.1f wake-ups per second\n", name.c_str(),
                        v.first / 20e9 * 100, v.second / 20);
        std::printf("proportional memory at 30 s: %.1f MB (resident %.1f MB)\n",
                    Field(pid, "smaps_rollup", "Pss:") / 1024,
                    Field(pid, "status", "VmRSS:") / 1024);
    }
    kill(pid, SIGTERM);
    for (int i = 0; i < 100 && waitpid(pid, &status, WNOHANG) != pid; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    if (waitpid(pid, &status, WNOHANG) == 0) {
        kill(pid, SIGKILL);
        waitpid(pid, &status, 0);
    }
    XCloseDisplay(display);
    return seen_ms >= 0 ? 0 : 1;
}
