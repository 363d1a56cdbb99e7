// Where bullets land: the generator's sequence, the distance curve, the root search and the spread.
#include <gtest/gtest.h>

#include <math.h>
#include <stdint.h>
#include <stdlib.h>

#include "shooting/shot_math.h"

namespace {

const uint32_t LCG_MULTIPLIER = 214013u;
const uint32_t LCG_INCREMENT = 2531011u;

// The next RandomBelow(1024) values from a state, read without disturbing the real generator.
void PeekDraws(uint32_t state, int *draws, int count)
{
    uint32_t saved = randomState;
    randomState = state;
    for (int i = 0; i < count; i++) {
        draws[i] = RandomBelow(1024);
    }
    randomState = saved;
}

// A generator state whose next three RandomBelow(1024) values are a, b, c. The draw is bits
// 21..30 of the state after the step, so only the other 22 bits of that state are searched;
// the state before it comes from the step run backwards with the multiplier's inverse.
bool StateForDraws(int a, int b, int c, uint32_t *state)
{
    uint32_t inverse = LCG_MULTIPLIER;
    for (int i = 0; i < 5; i++) {
        inverse *= 2u - LCG_MULTIPLIER * inverse;   // Newton step: doubles the correct bits
    }
    for (uint32_t free = 0; free < (1u << 22); free++) {
        uint32_t first = ((free >> 21) << 31) | ((uint32_t)a << 21) | (free & 0x1FFFFF);
        uint32_t second = first * LCG_MULTIPLIER + LCG_INCREMENT;
        uint32_t third = second * LCG_MULTIPLIER + LCG_INCREMENT;
        if ((int)((second >> 21) & 1023) == b && (int)((third >> 21) & 1023) == c) {
            *state = (first - LCG_INCREMENT) * inverse;
            return true;
        }
    }
    return false;
}

// Places one bullet whose draws are the direction (dx, dy) at the full distance 40. Draws 1020..1023
// all give d = 40, so whichever has a reachable state is taken.
bool PlaceAtFullDistance(int dx, int dy, BulletPlacement *bullet)
{
    for (int r = 1023; r >= 1020; r--) {
        uint32_t state = 0;
        if (StateForDraws(r, dx + 512, dy + 512, &state)) {
            randomState = state;
            BulletPlace(bullet);
            return true;
        }
    }
    return false;
}

} // namespace

TEST(Random, RunsTheRuntimeSequenceFromStateOne)
{
    randomState = 1;
    const int expected[] = {41, 18467, 6334, 26500, 19169, 15724};
    for (int value : expected) {
        EXPECT_EQ(RandomNext(), value);
    }
}

TEST(Random, BelowScalesOneDrawWithTruncation)
{
    randomState = 1;
    for (int i = 0; i < 10000; i++) {
        uint32_t before = randomState;
        int v = RandomNext();
        uint32_t after = randomState;
        randomState = before;
        ASSERT_EQ(RandomBelow(1024), v >> 5);
        ASSERT_EQ(randomState, after);   // exactly one draw consumed
    }
    // 18467 * 1000 / 32768 = 563.56: truncated, not rounded.
    randomState = 1;
    EXPECT_EQ(RandomBelow(1000), 1);
    EXPECT_EQ(RandomBelow(1000), 563);
    EXPECT_EQ(RandomBelow(1), 0);
    EXPECT_EQ(RandomBelow(32768), 26500);
}

TEST(MulDivRound, RoundsHalvesAwayFromZero)
{
    EXPECT_EQ(MulDivRound(3, 1, 2), 2);
    EXPECT_EQ(MulDivRound(-3, 1, 2), -2);
    EXPECT_EQ(MulDivRound(3, -1, 2), -2);
    EXPECT_EQ(MulDivRound(3, 1, -2), -2);
    EXPECT_EQ(MulDivRound(-3, -1, -2), -2);
    EXPECT_EQ(MulDivRound(-3, -1, 2), 2);
    EXPECT_EQ(MulDivRound(5, 1, 4), 1);     // 1.25
    EXPECT_EQ(MulDivRound(-5, 1, 4), -1);
    EXPECT_EQ(MulDivRound(7, 1, 4), 2);     // 1.75
    EXPECT_EQ(MulDivRound(-7, 1, 4), -2);
    EXPECT_EQ(MulDivRound(0, 5, -3), 0);
}

TEST(MulDivRound, KeepsTheFullProductAndRefusesZeroDivisor)
{
    EXPECT_EQ(MulDivRound(1 << 20, 1 << 20, 1 << 10), 1 << 30);
    EXPECT_EQ(MulDivRound(INT32_MAX, INT32_MAX, INT32_MAX), INT32_MAX);
    EXPECT_EQ(MulDivRound(-2000000000, 3, 4), -1500000000);
    EXPECT_EQ(MulDivRound(7, 8, 0), -1);
}

TEST(SpreadDistance, FollowsTheCurveAcrossAllDraws)
{
    int counts[41] = {0};
    int largest = -1;
    for (int r = 0; r < 1024; r++) {
        int d = SpreadDistance(r);
        ASSERT_GE(d, 0) << r;
        ASSERT_LE(d, 40) << r;
        if (r > 0) {
            ASSERT_GE(d, SpreadDistance(r - 1)) << r;   // the curve never turns back
        }
        counts[d]++;
        largest = d > largest ? d : largest;
    }
    EXPECT_EQ(largest, 40);
    const int distances[] = {0, 1, 2, 3, 4, 5, 10, 20, 30, 39, 40};
    const int expected[] = {80, 123, 84, 63, 52, 43, 26, 16, 12, 10, 4};
    for (int i = 0; i < 11; i++) {
        EXPECT_EQ(counts[distances[i]], expected[i]) << "d = " << distances[i];
    }
}

TEST(SpreadRoot, FindsTheMultipleOfEightJustBelowTheLength)
{
    EXPECT_EQ(SpreadRoot(512), 16);       // shortest accepted direction: 16, 16
    EXPECT_EQ(SpreadRoot(524288), 720);   // longest: -512, -512
    EXPECT_EQ(SpreadRoot(576), 16);       // 24^2 itself is not below s
    EXPECT_EQ(SpreadRoot(577), 24);
    for (int32_t s = 1; s <= 524288; s++) {
        int lo = SpreadRoot(s);
        ASSERT_EQ(lo % 8, 0) << s;
        ASSERT_LT(lo * lo, s) << s;
        ASSERT_GE((lo + 8) * (lo + 8), s) << s;
    }
}

TEST(BulletPlace, FirstBulletsOfARun)
{
    randomState = 1;
    const BulletPlacement expected[] = {
        {1, 65, -315, 0, 0, 0},
        {828, 87, -21, 23, 23, -5},
        {358, 405, 330, 4, 3, 3},
        {764, -334, 367, 19, -13, 14},
    };
    for (const BulletPlacement &want : expected) {
        BulletPlacement got = {};
        BulletPlace(&got);
        EXPECT_EQ(got.r, want.r);
        EXPECT_EQ(got.dx, want.dx);
        EXPECT_EQ(got.dy, want.dy);
        EXPECT_EQ(got.distance, want.distance);
        EXPECT_EQ(got.offsetX, want.offsetX);
        EXPECT_EQ(got.offsetY, want.offsetY);
    }
    // Three draws per bullet when nothing is redrawn: twelve steps of the generator from 1.
    uint32_t state = 1;
    for (int i = 0; i < 12; i++) {
        state = state * LCG_MULTIPLIER + LCG_INCREMENT;
    }
    EXPECT_EQ(randomState, state);
}

TEST(BulletPlace, RedrawsBothComponentsWhenEitherIsNearTheAxis)
{
    // One seed each where only dx, only dy, and both of the first pair are too small.
    const int wanted[3][2] = {{1, 0}, {0, 1}, {1, 1}};
    for (const int *want : wanted) {
        uint32_t seed = 1;
        int draws[5] = {0};
        for (;; seed++) {
            PeekDraws(seed, draws, 5);
            bool dxSmall = abs(draws[1] - 512) < 16;
            bool dySmall = abs(draws[2] - 512) < 16;
            bool secondAccepted = abs(draws[3] - 512) >= 16 && abs(draws[4] - 512) >= 16;
            if (dxSmall == (want[0] != 0) && dySmall == (want[1] != 0) && secondAccepted) {
                break;
            }
        }
        randomState = seed;
        BulletPlacement bullet = {};
        BulletPlace(&bullet);
        SCOPED_TRACE(testing::Message() << "seed " << seed);
        EXPECT_EQ(bullet.r, draws[0]);
        EXPECT_EQ(bullet.dx, draws[3] - 512);
        EXPECT_EQ(bullet.dy, draws[4] - 512);
        uint32_t afterFive = seed;
        for (int i = 0; i < 5; i++) {
            afterFive = afterFive * LCG_MULTIPLIER + LCG_INCREMENT;
        }
        EXPECT_EQ(randomState, afterFive);
    }
}

TEST(BulletPlace, ShortestDirectionsReachFurthest)
{
    // |dx| = |dy| = 16: s = 512, root 16, so the full distance lands 40 out on both axes.
    BulletPlacement bullet = {};
    ASSERT_TRUE(PlaceAtFullDistance(16, -16, &bullet));
    EXPECT_EQ(bullet.distance, 40);
    EXPECT_EQ(bullet.offsetX, 40);
    EXPECT_EQ(bullet.offsetY, -40);

    // Because the root lies below the length, one axis can exceed 40: 16, 17 keeps root 16
    // (545 <= 24^2), so oy = 40 * 17 / 16 = 42.5, rounded away to 43.
    ASSERT_TRUE(PlaceAtFullDistance(16, 17, &bullet));
    EXPECT_EQ(bullet.offsetX, 40);
    EXPECT_EQ(bullet.offsetY, 43);

    // 27, 16: s = 985 sits under 32^2, root 24, ox = 40 * 27 / 24 = 45.
    ASSERT_TRUE(PlaceAtFullDistance(27, 16, &bullet));
    EXPECT_EQ(bullet.offsetX, 45);
    EXPECT_EQ(bullet.offsetY, 27);
}

TEST(BulletPlace, LongRunStaysInsideTheSpread)
{
    // With |dx|, |dy| >= 16 and root lo (a multiple of 8, lo^2 < s <= (lo + 8)^2):
    //  - each offset is d * component / lo rounded, so it keeps the component's sign or is 0;
    //  - the exact offset's length is d * sqrt(s) / lo, between d and d * (lo + 8) / lo <= 1.5 d,
    //    and rounding both axes moves it by at most sqrt(0.5);
    //  - dx^2 <= s - 256 <= (lo + 8)^2 - 256, and that over lo^2 peaks at lo = 24 (4/3), so
    //    |ox| <= 40 * sqrt(4/3) = 46.2: no axis offset above 46;
    //  - for d >= 1 the offsets are never both 0: that needs 2|dx| < lo and 2|dy| < lo, so
    //    2s < lo^2 < s.
    // A single axis offset of 0 with d > 0 does occur (d = 1, |dx| < lo / 2).
    randomState = 1;
    for (int i = 0; i < 100000; i++) {
        BulletPlacement b = {};
        BulletPlace(&b);
        SCOPED_TRACE(testing::Message() << "bullet " << i);
        ASSERT_EQ(b.distance, SpreadDistance(b.r));
        ASSERT_TRUE(b.dx >= -512 && b.dx <= 511 && abs(b.dx) >= 16) << b.dx;
        ASSERT_TRUE(b.dy >= -512 && b.dy <= 511 && abs(b.dy) >= 16) << b.dy;
        ASSERT_GE(b.offsetX * b.dx, 0);
        ASSERT_GE(b.offsetY * b.dy, 0);
        ASSERT_LE(abs(b.offsetX), 46);
        ASSERT_LE(abs(b.offsetY), 46);
        double length = hypot(b.offsetX, b.offsetY);
        ASSERT_GE(length, b.distance - 0.7072);
        ASSERT_LE(length, 1.5 * b.distance + 0.7072);
        if (b.distance == 0) {
            ASSERT_EQ(b.offsetX, 0);
            ASSERT_EQ(b.offsetY, 0);
        } else {
            ASSERT_TRUE(b.offsetX != 0 || b.offsetY != 0);
        }
    }
}
