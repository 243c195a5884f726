// Start-up time and the processor use of the idle game.
// Runs the real game; measures the time from process start to the first presented frame, waits
// for the opening camera travel to end, then lets the game sit idle for 10 s and reports its CPU
// time as a share of one core.
#include "game/MainLoop.h"
#include "game/Startup.h"
#include "media/Events.h"
#include "media/Graphics.h"
#include "media/Platform.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/resource.h>
#include <thread>
#include <time.h>
#include <unistd.h>

using namespace tonvella;

namespace {

double Seconds(const timeval& t) {
    return double(t.tv_sec) + double(t.tv_usec) / 1e6;
}

double CpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return Seconds(usage.ru_utime) + Seconds(usage.ru_stime);
}

// Seconds since boot at which this process started (field 22 of /proc/self/stat).
double ProcessStartSinceBoot() {
    std::ifstream stat("/proc/self/stat");
    std::string line;
    std::getline(stat, line);
    std::istringstream fields(line.substr(line.rfind(')') + 2));
    std::string field;
    for (int i = 3; i <= 22; ++i)
        fields >> field;
    return std::stod(field) / double(sysconf(_SC_CLK_TCK));
}

double NowSinceBoot() {
    timespec t{};
    clock_gettime(CLOCK_BOOTTIME, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

// CPU time per thread, by name: which part of the program uses the processor.
void ReportThreads() {
    const long ticks = sysconf(_SC_CLK_TCK);
    for (const auto& task : std::filesystem::directory_iterator("/proc/self/task")) {
        std::ifstream stat(task.path() / "stat");
        std::string line;
        std::getline(stat, line);
        const auto open = line.find('('), close = line.rfind(')');
        std::istringstream fields(line.substr(close + 2));
        std::string field;
        long utime = 0, stime = 0;
        for (int i = 3; i <= 15; ++i) {
            fields >> field;
            if (i == 14) utime = std::stol(field);
            if (i == 15) stime = std::stol(field);
        }
        std::fprintf(stderr, "thread %s: %.2f s\n", line.substr(open + 1, close - open - 1).c_str(),
                     double(utime + stime) / double(ticks));
    }
}

// The system clock, watching for the first frame and ending the game after the idle period.
class TBenchClock : public TClock {
public:
    double first_frame = -1, idle_cpu_start = 0, idle_cpu_end = 0;
    int idle_start_ms = -1, first_frame_ms = 0, settle_ms = 0;
    int last_presented = 0, last_present_ms = 0;
    TLoopStats idle_frames_start, idle_frames_end;
    int Now() override {
        using namespace std::chrono;
        static const steady_clock::time_point start = steady_clock::now();
        int now = int(duration_cast<milliseconds>(steady_clock::now() - start).count());
        if (first_frame < 0 && FramesPresented() > 0) {
            first_frame = NowSinceBoot() - ProcessStartSinceBoot();
            first_frame_ms = now;
        }
        // The game opens with the camera travelling to the first player; idle begins when
        // nothing has been drawn for a second.
        if (first_frame >= 0 && idle_start_ms < 0) {
            if (FramesPresented() != last_presented) {
                last_presented = FramesPresented();
                last_present_ms = now;
            } else if (now - last_present_ms >= 1000) {
                idle_start_ms = now;
                settle_ms = last_present_ms - first_frame_ms;
                idle_cpu_start = CpuSeconds();
                idle_frames_start = LoopStats();
            }
        }
        if (idle_start_ms >= 0 && now - idle_start_ms >= 10000 && idle_cpu_end == 0) {
            idle_cpu_end = CpuSeconds();
            idle_frames_end = LoopStats();
            ReportThreads();
            TEvent escape;
            escape.id = EVENT_KEYDOWN;
            escape.data = 27;
            EmitEvent(escape);
        }
        return now;
    }
    void Sleep(int ms) override { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }
    // As the game waits without this clock; the end of the idle period is seen at the next
    // heartbeat.
    void WaitForInput(int ms, TInputCheck arrived) override { SystemWaitForInput(ms, arrived); }
};

} // namespace

int main() {
    TBenchClock clock;
    InstallClock(&clock);
    int status = RunProgram();
    if (status != 0) return status;
    std::printf("start to first frame: %.0f ms\n", clock.first_frame * 1000);
    std::printf("idle CPU over 10 s: %.2f %% of one core\n",
                (clock.idle_cpu_end - clock.idle_cpu_start) / 10.0 * 100);
    std::printf("opening camera travel: %d ms\n", clock.settle_ms);
    std::printf("frames drawn while idle: %d of %d due\n",
                clock.idle_frames_end.frames_drawn - clock.idle_frames_start.frames_drawn,
                clock.idle_frames_end.frames - clock.idle_frames_start.frames);
    return 0;
}
