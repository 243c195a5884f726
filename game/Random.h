// The game's one random generator (Park-Miller minimal standard, multiplier 48271).
#pragma once

namespace tonvella {

void SeedRandom(int seed);
// Uniform in [min(a,b), min(a,b) + |a-b|); the order of the bounds does not matter.
double RandomFloat(double a, double b);
// Uniform over min(a,b) .. max(a,b), both bounds included.
int RandomInt(int a, int b);
// One raw step of the generator (exposed for tests).
int RandomStep();
// The generator's state, to look ahead at its draws and go back.
int RandomState();
void RestoreRandom(int state);

} // namespace tonvella
