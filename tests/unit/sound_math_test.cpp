// The stereo position of a shot from its screen x.
#include <gtest/gtest.h>

#include "sound/sound_math.h"

TEST(PanForX, RunsFromLeftToJustUnderRightTruncatingTowardZero)
{
    // 5000 / 3 = 1666.7 and -5000 / 3 = -1666.7 lose their fractions; a width of 0 is the centre.
    const int32_t cases[][3] = {{0, 1024, -2500}, {512, 1024, 0}, {1023, 1024, 2495}, {100, 1024, -2012},
                                {1, 3, -834},     {-1, 3, -4166}, {400, 800, 0},      {10, 0, 0}};
    for (const auto &c : cases) EXPECT_EQ(PanForX(c[0], c[1]), c[2]) << c[0] << " of " << c[1];
}
