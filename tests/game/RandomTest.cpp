#include "game/Random.h"

#include <gtest/gtest.h>
#include <set>

using namespace tonvella;

namespace {
// The same generator computed the plain way, with 64-bit products.
long long ReferenceStep(long long state) {
    return state * 48271 % 2147483647;
}
} // namespace

TEST(Random, StepsFollowTheMinimalStandardGenerator) {
    for (int seed : {1, 42, 123456789, 2147483646}) {
        SeedRandom(seed);
        long long expected = seed;
        for (int i = 0; i < 1000; ++i) {
            expected = ReferenceStep(expected);
            ASSERT_EQ(RandomStep(), expected) << "seed " << seed << " step " << i;
        }
    }
}

TEST(Random, DegenerateSeedsBecome4660) {
    SeedRandom(4660);
    int a = RandomStep();
    for (int seed : {0, 0x7FFFFFFF, int(0x80000000)}) {
        SeedRandom(seed);
        EXPECT_EQ(RandomStep(), a) << seed;
    }
    SeedRandom(-5); // only the low 31 bits count
    int b = RandomStep();
    SeedRandom(0x7FFFFFFB);
    EXPECT_EQ(RandomStep(), b);
}

TEST(Random, UniformValueIsBuiltFromTwoSteps) {
    SeedRandom(99);
    double h = ReferenceStep(99);
    double l = ReferenceStep(ReferenceStep(99));
    double u =
        (double((long long)h & 0x1FFFFFFC) + double((long long)l & 0x1FFFFFF8) / 134217728.0) /
        536870912.0;
    EXPECT_DOUBLE_EQ(RandomFloat(0, 10), 10 * u);
}

TEST(Random, IntegersCoverBothBoundsInEitherOrder) {
    SeedRandom(7);
    std::set<int> seen;
    for (int i = 0; i < 2000; ++i) {
        int v = i % 2 ? RandomInt(1, 4) : RandomInt(4, 1);
        ASSERT_GE(v, 1);
        ASSERT_LE(v, 4);
        seen.insert(v);
    }
    EXPECT_EQ(seen, (std::set<int>{1, 2, 3, 4}));
    EXPECT_EQ(RandomInt(5, 5), 5);
    for (int i = 0; i < 100; ++i) {
        int v = RandomInt(0, 255);
        ASSERT_TRUE(v >= 0 && v <= 255);
    }
}

TEST(Random, FloatsStayInsideTheRange) {
    SeedRandom(3);
    for (int i = 0; i < 1000; ++i) {
        double v = RandomFloat(5, 2);
        ASSERT_GE(v, 2.0);
        ASSERT_LT(v, 5.0);
    }
}
