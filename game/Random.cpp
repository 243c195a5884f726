#include "game/Random.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace tonvella {

namespace {

constexpr int kModulus = 0x7FFFFFFF;
int state = 4660;

double Uniform() {
    double h = RandomStep() & 0x1FFFFFFC;
    double l = RandomStep() & 0x1FFFFFF8;
    return (h + l / 134217728.0) / 536870912.0; // (h + l / 2^27) / 2^29
}

} // namespace

void SeedRandom(int seed) {
    state = seed & kModulus;
    if (state == 0 || state == kModulus) state = 4660;
}

int RandomState() {
    return state;
}

void RestoreRandom(int saved) {
    state = saved;
}

int RandomStep() {
    // Schrage's method keeps 48271 * state inside 32 bits.
    state = 48271 * (state % 44488) - 3399 * (state / 44488);
    if (state < 0) state += kModulus;
    return state;
}

double RandomFloat(double a, double b) {
    return std::min(a, b) + Uniform() * std::fabs(a - b);
}

int RandomInt(int a, int b) {
    long long span = std::llabs(static_cast<long long>(a) - b) + 1;
    return int(std::min(a, b) + static_cast<long long>(Uniform() * double(span)));
}

} // namespace tonvella
