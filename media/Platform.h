// System services of the platform layer. Time goes through an installable clock so that tests
// and benchmarks can drive the game with simulated time.
#pragma once

#include <string>

namespace tonvella {

// Millisecond tick count of the system (or of the installed clock).
int Milliseconds();
// True once the time t (a Milliseconds value) lies in the past.
bool Passed(int t);
// Suspends the thread for n milliseconds; negative n does not sleep.
void SleepMs(int n);
// Tells whether input has arrived since the wait began; it may poll the system to find out.
using TInputCheck = bool (*)();
// Waits until input arrives or n milliseconds have passed, whichever is first; n <= 0 does not
// wait. A loop with nothing to do until its next due time waits here rather than waking every
// millisecond or two to look.
void WaitForInput(int n, TInputCheck arrived);
// How the window system waits for its next event, at most ms milliseconds. The window layer
// installs it; without one, waiting for input is sleeping.
using TSystemWait = void (*)(int ms);
void InstallSystemWait(TSystemWait wait);
// Waits the way the system clock does, in the window system's wait: for a clock of one's own
// that keeps real time (a benchmark's) and should wait as the game does.
void SystemWaitForInput(int ms, TInputCheck arrived);
// Ends the process at once with status 0.
[[noreturn]] void ExitProgram();
// Value of an environment variable, the empty string when unset.
std::u16string GetEnvVar(const std::u16string& name);
// Writes a line to standard output and flushes it.
void DebugPrint(const std::u16string& text);
// While one of these lives, DebugPrint on its thread prints nothing and counts the line instead.
// Work done ahead on a thread of its own stays quiet that way; when it had something to say it
// is thrown away and done again where its lines belong.
class THeldDiagnostics {
public:
    THeldDiagnostics();
    ~THeldDiagnostics();
    THeldDiagnostics(const THeldDiagnostics&) = delete;
    THeldDiagnostics& operator=(const THeldDiagnostics&) = delete;
    int Lines() const { return _lines; }

private:
    int _lines = 0;
    int* _outer = nullptr;
};
// Hands heap memory freed by a big load (pictures, fonts, a card set's sounds) back to the
// system; the C library would otherwise keep it for reuse and the resident size would creep.
void ReturnFreedMemory();
// Makes every thread allocate from the one heap. The C library would give a thread that
// allocates (decoding ahead) a heap of its own, whose free end ReturnFreedMemory never hands
// back: the pictures made on such threads would stay resident after they went to the driver.
void ShareOneHeap();
// Full path of the running executable (empty when unknown).
std::u16string ProgramPath();
// The file name of a path without directory and extension.
std::u16string StripDirAndExt(const std::u16string& path);

// A source of time. The system clock is used unless another one is installed.
class TClock {
public:
    virtual ~TClock() = default;
    virtual int Now() = 0;
    virtual void Sleep(int ms) = 0;
    // Waits up to ms for input. A clock of a test's own sleeps a millisecond at a time, so that
    // its time goes on while the loop waits; the system clock waits in the window system's wait.
    virtual void WaitForInput(int ms, TInputCheck arrived);
};

// Installs a clock (none restores the system clock). The caller keeps ownership. Tests use
// TSimulatedClock (tests/support/SimulatedClock.h).
void InstallClock(TClock* clock);

} // namespace tonvella
