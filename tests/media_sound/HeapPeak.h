// The most heap memory a piece of code holds at once, counted through this test program's own
// global operator new (allocations made on the measuring thread only; C code's malloc is not
// seen).
#pragma once

namespace tonvella::test {

class THeapPeak {
public:
    THeapPeak();  // starts counting from zero
    ~THeapPeak(); // stops
    THeapPeak(const THeapPeak&) = delete;
    THeapPeak& operator=(const THeapPeak&) = delete;

    // Bytes above what was held at the start, at the highest point so far.
    long long Peak() const;
};

} // namespace tonvella::test
