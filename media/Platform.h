// System services of the platform layer. Time goes through an installable clock so that tests
// and benchmarks can drive the game with simulated time.
#pragma once

#include <string>

namespace tonvella {

// Millisecond tick count of the system (or of the installed clock).
int Milliseconds();
// Suspends the thread for n milliseconds; negative n does not sleep.
void SleepMs(int n);
// Ends the process at once with status 0.
[[noreturn]] void ExitProgram();
// Value of an environment variable, the empty string when unset.
std::u16string GetEnvVar(const std::u16string& name);
// Writes a line to standard output and flushes it.
void DebugPrint(const std::u16string& text);
// Hands heap memory freed by a big load (pictures, fonts, a card set's sounds) back to the
// system; the C library would otherwise keep it for reuse and the resident size would creep.
void ReturnFreedMemory();
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
};

// Installs a clock (none restores the system clock). The caller keeps ownership.
void InstallClock(TClock* clock);

// Simulated time that only sleeping advances: a loop under test runs as fast as it can and
// still sees its pacing.
class TSimulatedClock : public TClock {
public:
    int now = 0;
    int Now() override { return now; }
    void Sleep(int ms) override { now += ms; }
};

} // namespace tonvella
