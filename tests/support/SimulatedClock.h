// A clock for tests: simulated time that only sleeping and waiting advance, so that a loop under
// test runs as fast as it can and still sees its pacing.
#pragma once

#include "media/Platform.h"

namespace tonvella {

// A wait steps through its time a millisecond at a time and ends in the millisecond in which the
// simulated input arrives, as real input would end it.
class TSimulatedClock : public TClock {
public:
    int now = 0;
    int Now() override { return now; }
    void Sleep(int ms) override { now += ms; }
    void WaitForInput(int ms, TInputCheck arrived) override {
        for (int i = 0; i < ms; ++i) {
            ++now;
            if (arrived && arrived()) return;
        }
    }
};

} // namespace tonvella
