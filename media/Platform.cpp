#include "media/Platform.h"

#include "media/Text.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>
#include <unistd.h>
#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace tonvella {

namespace {

class TSystemClock : public TClock {
public:
    // The game seeds its random generator with this count, so it must differ from start to
    // start; but a count from boot would overflow the int after 24 days of uptime and stall
    // every "has this time passed" test. So it starts at the system's tick count taken modulo
    // about 17 minutes and runs on from there.
    int Now() override {
        using namespace std::chrono;
        static const steady_clock::time_point start = steady_clock::now();
        static const int origin =
            int(duration_cast<milliseconds>(start.time_since_epoch()).count() % (1 << 20));
        return origin + int(duration_cast<milliseconds>(steady_clock::now() - start).count());
    }
    void Sleep(int ms) override { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }
    void WaitForInput(int ms, TInputCheck arrived) override;
};

TSystemClock system_clock;
TClock* current_clock = &system_clock;
TSystemWait system_wait = nullptr;

// Real time waits in the window system's wait, which input ends at once (or sleeps when there is
// no window).
void TSystemClock::WaitForInput(int ms, TInputCheck arrived) {
    if (arrived && arrived()) return;
    if (system_wait)
        system_wait(ms);
    else
        Sleep(ms);
}

} // namespace

bool Passed(int t) {
    return t < Milliseconds();
}

int Milliseconds() {
    return current_clock->Now();
}

void SleepMs(int n) {
    if (n > 0) current_clock->Sleep(n);
}

void WaitForInput(int n, TInputCheck arrived) {
    if (n > 0) current_clock->WaitForInput(n, arrived);
}

void InstallSystemWait(TSystemWait wait) {
    system_wait = wait;
}

void SystemWaitForInput(int ms, TInputCheck arrived) {
    if (ms > 0) system_clock.WaitForInput(ms, arrived);
}

void TClock::WaitForInput(int ms, TInputCheck arrived) {
    for (int i = 0; i < ms; ++i) {
        if (arrived && arrived()) return;
        Sleep(1);
    }
}

void ExitProgram() {
    std::fflush(stdout);
    std::_Exit(0);
}

std::u16string GetEnvVar(const std::u16string& name) {
    const char* value = std::getenv(ToUtf8(name).c_str());
    return value ? FromUtf8(value) : std::u16string();
}

namespace {
thread_local int* held_lines = nullptr;
} // namespace

THeldDiagnostics::THeldDiagnostics() : _outer(held_lines) {
    held_lines = &_lines;
}

THeldDiagnostics::~THeldDiagnostics() {
    held_lines = _outer;
}

void DebugPrint(const std::u16string& text) {
    if (held_lines) {
        ++*held_lines;
        return;
    }
    std::string line = ToUtf8(text);
    line += '\n';
    std::fwrite(line.data(), 1, line.size(), stdout);
    std::fflush(stdout);
}

std::u16string ProgramPath() {
    char buf[4096];
    ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
    return n > 0 ? FromUtf8(std::string_view(buf, size_t(n))) : std::u16string();
}

std::u16string StripDirAndExt(const std::u16string& path) {
    size_t slash = path.find_last_of(u"/\\");
    std::u16string name = slash == std::u16string::npos ? path : path.substr(slash + 1);
    size_t dot = name.rfind(u'.');
    return dot == std::u16string::npos ? name : name.substr(0, dot);
}

void InstallClock(TClock* clock) {
    current_clock = clock ? clock : &system_clock;
}

void ReturnFreedMemory() {
#ifdef __GLIBC__
    malloc_trim(0);
#endif
}

void ShareOneHeap() {
#ifdef __GLIBC__
    mallopt(M_ARENA_MAX, 1);
#endif
}

} // namespace tonvella
