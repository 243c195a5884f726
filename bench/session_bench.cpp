// A session of the real game driven from its clock: resident memory after start-up (once the
// first frames are drawn and the camera has arrived), frames
// and logic steps per second while a card is held and notes rise, then 100 card-set switches
// (the menu's digit command: a new set file and a restart of the board) with their times and
// the resident memory afterwards. Run under a display (see bench/run-all.sh); the names of the
// checkpoints below ("first", "start", "end") are those of these three measurements.
#include "game/Board.h"
#include "game/CardSets.h"
#include "game/GameState.h"
#include "game/MainLoop.h"
#include "game/Startup.h"
#include "media/Events.h"
#include "media/Graphics.h"
#include "media/Platform.h"

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <malloc.h>
#include <string>
#include <thread>
#include <vector>

using namespace tonvella;

namespace {

constexpr int kHoldMs = 5000;
constexpr int kSwitches = 100;
constexpr int kLastFullRound = kSwitches - kSwitches % 8; // every set loaded again as often
constexpr int kSwitchEveryMs = 40; // a frame or so between switches, as a player's keys give

// A "kB" field of /proc/self/status: VmRSS, or its parts RssAnon (heap, stacks, the GL
// driver's own memory) and RssFile (mapped code and data of the program and its libraries).
long StatusKiB(const std::string& field) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind(field + ":", 0) == 0) return std::stol(line.substr(field.size() + 1));
    return -1;
}

long ResidentKiB() {
    return StatusKiB("VmRSS");
}

// Resident pages of the OpenGL driver's own code files: Mesa's software renderer maps LLVM, a
// hardware driver maps its own; either way it is the machine's driver, not the game.
long DriverCodeKiB() {
    std::ifstream smaps("/proc/self/smaps");
    std::string line;
    bool driver = false;
    long kib = 0;
    while (std::getline(smaps, line)) {
        if (!line.empty() && std::isxdigit(static_cast<unsigned char>(line[0])) &&
            line.find('-') != std::string::npos && line.find(' ') > line.find('-')) {
            driver = line.find("/libLLVM") != std::string::npos ||
                     line.find("/dri/") != std::string::npos;
        } else if (driver && line.rfind("Rss:", 0) == 0) {
            kib += std::stol(line.substr(4));
        }
    }
    return kib;
}

// Where memory is measured, two settings help to find its owners: TONVELLA_SMAPS=<path>
// copies /proc/self/smaps to "<path>.<when>", and TONVELLA_STOP_AT=<when> ends the program
// there at once, so that a heap profiler lists what is live at that point as never freed.
void Checkpoint(const char* when) {
    if (const char* base = std::getenv("TONVELLA_SMAPS"); base && *base) {
        std::ifstream in("/proc/self/smaps");
        std::ofstream out(std::string(base) + "." + when);
        out << in.rdbuf();
    }
    if (const char* stop = std::getenv("TONVELLA_STOP_AT"); stop && std::string(stop) == when) {
        std::fflush(stdout);
        std::_Exit(0);
    }
}

// Bytes the program holds on the heap now (what the resident size shows, less what the
// allocator keeps for reuse).
double HeapMB() {
    struct mallinfo2 info = mallinfo2();
    return double(info.uordblks + info.hblkhd) / (1024.0 * 1024.0);
}

class TSessionClock : public TClock {
public:
    long rss_first_frame = 0, rss_start = 0, rss_anon = 0, rss_file = 0, rss_driver_code = 0;
    long rss_after_first_round = 0, rss_end = 0;
    double heap_start = 0, heap_after_first_round = 0, heap_end = 0, heap_last_full_round = 0;
    double fps = 0, steps_per_second = 0;
    std::vector<double> switch_ms;

    int Now() override {
        using namespace std::chrono;
        static const steady_clock::time_point start = steady_clock::now();
        int now = int(duration_cast<milliseconds>(steady_clock::now() - start).count());
        // Restarting the board reads the clock itself; act only from the loop's own reads.
        if (!_busy) {
            _busy = true;
            Step(now);
            _busy = false;
        }
        return now;
    }
    void Sleep(int ms) override { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

private:
    enum class Phase { Start, Settle, Hold, Release, Switch, Done };
    Phase _phase = Phase::Start;
    int _until = 0;
    int _frames0 = 0, _steps0 = 0, _hold_start = 0;
    bool _busy = false;

    void Step(int now) {
        if (now < _until) return;
        switch (_phase) {
        case Phase::Start:
            if (FramesPresented() == 0) return;
            rss_first_frame = ResidentKiB();
            Checkpoint("first");
            _phase = Phase::Settle;
            // The camera reaches player 1, and the driver has made the textures and glyphs
            // of the frames so far: the game is then as a player finds it.
            _until = now + 1500;
            break;
        case Phase::Settle:
            rss_start = ResidentKiB();
            Checkpoint("start");
            rss_anon = StatusKiB("RssAnon");
            rss_file = StatusKiB("RssFile");
            rss_driver_code = DriverCodeKiB();
            heap_start = HeapMB();
            // Over card 5 (x = -2, z = 3 on the table), then press and hold.
            EmitEvent(EVENT_MOUSEMOVE, 0, 400, 525);
            EmitEvent(EVENT_MOUSEDOWN, 1, 400, 525);
            _frames0 = LoopStats().frames;
            _steps0 = LoopStats().logic_steps;
            _hold_start = now;
            _phase = Phase::Hold;
            _until = now + kHoldMs;
            break;
        case Phase::Hold: {
            double seconds = (now - _hold_start) / 1000.0;
            fps = (LoopStats().frames - _frames0) / seconds;
            steps_per_second = (LoopStats().logic_steps - _steps0) / seconds;
            EmitEvent(EVENT_MOUSEUP, 1, 400, 525);
            _phase = Phase::Release;
            _until = now + 2000;
            break;
        }
        case Phase::Release:
            ReadSetCatalog();
            _phase = Phase::Switch;
            break;
        case Phase::Switch: {
            int n = int(switch_ms.size());
            CurrentSetFile = SetCatalog[size_t(1 + (n + 1) % 8)];
            auto t0 = std::chrono::steady_clock::now();
            if (!RestartBoard()) std::fprintf(stderr, "session_bench: a set was refused\n");
            auto t1 = std::chrono::steady_clock::now();
            switch_ms.push_back(std::chrono::duration<double, std::milli>(t1 - t0).count());
            if (n + 1 == 8) {
                rss_after_first_round = ResidentKiB();
                heap_after_first_round = HeapMB();
            }
            // Sets differ in the length of their sounds: growth shows between two moments
            // with the same set loaded.
            if (n + 1 == kLastFullRound) heap_last_full_round = HeapMB();
            _until = now + kSwitchEveryMs;
            if (int(switch_ms.size()) == kSwitches) {
                rss_end = ResidentKiB();
                Checkpoint("end");
                heap_end = HeapMB();
                EmitEvent(EVENT_KEYDOWN, 27, 0, 0);
                _phase = Phase::Done;
            }
            break;
        }
        case Phase::Done:
            break;
        }
    }
};

} // namespace

int main() {
    TSessionClock clock;
    InstallClock(&clock);
    int status = RunProgram();
    InstallClock(nullptr);
    if (status != 0) return status;
    if (clock.switch_ms.size() != size_t(kSwitches)) {
        std::fprintf(stderr, "session_bench: the game ended early\n");
        return 1;
    }
    std::vector<double> sorted = clock.switch_ms;
    std::sort(sorted.begin(), sorted.end());
    double sum = 0;
    for (double ms : sorted)
        sum += ms;
    std::printf("resident memory at the first frame: %.1f MB\n", clock.rss_first_frame / 1024.0);
    std::printf("resident memory after start: %.1f MB (anonymous %.1f MB, mapped files %.1f MB)\n",
                clock.rss_start / 1024.0, clock.rss_anon / 1024.0, clock.rss_file / 1024.0);
    std::printf("resident memory after start without the GL driver's code files: %.1f MB "
                "(driver code %.1f MB)\n",
                double(clock.rss_start - clock.rss_driver_code) / 1024.0,
                clock.rss_driver_code / 1024.0);
    std::printf("frames per second while notes rise: %.1f\n", clock.fps);
    std::printf("logic steps per second while notes rise: %.0f\n", clock.steps_per_second);
    std::printf("set switch: median %.1f ms, max %.1f ms, mean %.1f ms\n",
                sorted[sorted.size() / 2], sorted.back(), sum / double(sorted.size()));
    std::printf("resident memory after 8 set switches: %.1f MB\n",
                clock.rss_after_first_round / 1024.0);
    std::printf("resident memory after %d set switches: %.1f MB\n", kSwitches,
                clock.rss_end / 1024.0);
    std::printf(
        "heap in use after start, after 8 and after %d set switches: %.1f MB, %.1f MB, %.1f MB\n",
        kSwitches, clock.heap_start, clock.heap_after_first_round, clock.heap_end);
    std::printf("heap in use with the same set loaded, after 8 and after %d set switches: %.1f MB, "
                "%.1f MB\n",
                kLastFullRound, clock.heap_after_first_round, clock.heap_last_full_round);
    return 0;
}
