// Where bullets land: the generator's sequence, the distance curve, the root search and the spread.
#include <gtest/gtest.h>

#include <stdlib.h>

#include <vector>

#include "shooting/shot_math.h"

namespace {

uint32_t Step(uint32_t state, int steps)
{
    while (steps-- > 0) state = state * 214013u + 2531011u;
    return state;
}

// r, dx, dy, distance, offsetX, offsetY of the next bullet.
std::vector<int> Placed()
{
    BulletPlacement b = {};
    BulletPlace(&b);
    return {b.r, b.dx, b.dy, b.distance, b.offsetX, b.offsetY};
}

TEST(Random, RuntimeSequenceScaledWithTruncationOneDrawEach)
{
    randomState = 1;
    for (int value : {41, 18467, 6334, 26500}) EXPECT_EQ(RandomNext(), value);
    randomState = 1;
    for (int value : {1, 563, 193, 808}) EXPECT_EQ(RandomBelow(1000), value);   // 563.56, 808.72
    EXPECT_EQ(randomState, Step(1, 4));
}

TEST(MulDivRound, RoundsHalvesAwayFromZeroOverTheFullProduct)
{
    const int32_t cases[][4] = {
        {3, 1, 2, 2},   {-3, 1, 2, -2}, {3, -1, 2, -2}, {3, 1, -2, -2}, {-3, -1, -2, -2},
        {-3, -1, 2, 2}, {5, 1, 4, 1},   {-5, 1, 4, -1}, {7, 1, 4, 2},   {-7, 1, 4, -2},
        {0, 5, -3, 0},  {7, 8, 0, -1},  {1 << 20, 1 << 20, 1 << 10, 1 << 30},
        {INT32_MAX, INT32_MAX, INT32_MAX, INT32_MAX}, {-2000000000, 3, 4, -1500000000}};
    for (const auto &c : cases)
        EXPECT_EQ(MulDivRound(c[0], c[1], c[2]), c[3]) << c[0] << " * " << c[1] << " / " << c[2];
}

TEST(SpreadDistance, RisesToFortyWithTheKnownHistogram)
{
    int counts[41] = {0};
    for (int r = 0; r < 1024; r++) {
        int d = SpreadDistance(r);
        ASSERT_TRUE(d >= 0 && d <= 40 && (r == 0 || d >= SpreadDistance(r - 1))) << r;
        counts[d]++;
    }
    const int histogram[][2] = {{0, 80}, {1, 123}, {2, 84}, {3, 63}, {4, 52}, {5, 43},
                                {10, 26}, {20, 16}, {30, 12}, {39, 10}, {40, 4}};
    for (const auto &h : histogram) EXPECT_EQ(counts[h[0]], h[1]) << "d = " << h[0];
}

TEST(SpreadRoot, IsTheMultipleOfEightJustBelowTheLength)
{
    EXPECT_EQ(SpreadRoot(512), 16);       // shortest accepted direction: 16, 16
    EXPECT_EQ(SpreadRoot(524288), 720);   // longest: -512, -512
    EXPECT_EQ(SpreadRoot(576), 16);       // 24^2 itself is not below s
    EXPECT_EQ(SpreadRoot(577), 24);
    for (int32_t s = 1; s <= 524288; s++) {
        int lo = SpreadRoot(s);
        ASSERT_TRUE(lo % 8 == 0 && lo * lo < s && (lo + 8) * (lo + 8) >= s) << s << ": " << lo;
    }
}

TEST(BulletPlace, FirstBulletsOfARunTakeThreeDrawsEach)
{
    randomState = 1;
    EXPECT_EQ(Placed(), std::vector<int>({1, 65, -315, 0, 0, 0}));
    EXPECT_EQ(Placed(), std::vector<int>({828, 87, -21, 23, 23, -5}));
    EXPECT_EQ(Placed(), std::vector<int>({358, 405, 330, 4, 3, 3}));
    EXPECT_EQ(Placed(), std::vector<int>({764, -334, 367, 19, -13, 14}));
    EXPECT_EQ(randomState, Step(1, 12));
}

TEST(BulletPlace, FullDistanceWithShortDirections)
{
    // States found offline whose next draws are r (1020..1023 all give d = 40), dx + 512, dy + 512.
    const std::pair<uint32_t, std::vector<int>> cases[] = {
        {0x45AE0796u, {1023, 16, -16, 40, 40, -40}},   // s = 512, root 16: the largest offset
        {0x33D577D2u, {1023, -16, 16, 40, -40, 40}},
        {0xDAC75E5Bu, {1023, 16, 17, 40, 40, 43}},     // root 16 still: 40 * 17 / 16 = 42.5
        {0x052EB779u, {1022, 27, 16, 40, 45, 27}}};    // s = 985, root 24: 40 * 27 / 24 = 45
    for (const auto &c : cases) {
        randomState = c.first;
        EXPECT_EQ(Placed(), c.second) << std::hex << c.first;
    }
}

TEST(BulletPlace, RedrawsBothComponentsWhenEitherIsNearTheAxis)
{
    // One seed each where only dx, only dy, and both of the first pair are under 16.
    for (int want : {1, 2, 3}) {
        uint32_t seed = 0;
        int draws[5] = {0};
        for (int small = 0; small != want || abs(draws[3]) < 16 || abs(draws[4]) < 16;) {
            randomState = ++seed;
            for (int &draw : draws) draw = RandomBelow(1024) - 512;
            small = (abs(draws[1]) < 16 ? 1 : 0) | (abs(draws[2]) < 16 ? 2 : 0);
        }
        randomState = seed;
        std::vector<int> bullet = Placed();
        bullet.resize(3);
        EXPECT_EQ(bullet, std::vector<int>({draws[0] + 512, draws[3], draws[4]})) << "seed " << seed;
        EXPECT_EQ(randomState, Step(seed, 5));
    }
}

} // namespace
