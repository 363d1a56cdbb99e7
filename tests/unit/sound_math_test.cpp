// The stereo position of a shot from its screen x.
#include <gtest/gtest.h>

#include "sound/sound_math.h"

TEST(PanForX, RunsFromLeftToJustUnderRight)
{
    EXPECT_EQ(PanForX(0, 1024), -2500);
    EXPECT_EQ(PanForX(512, 1024), 0);
    EXPECT_EQ(PanForX(1023, 1024), 2495);
    EXPECT_EQ(PanForX(100, 1024), -2012);
    // Truncation toward zero, not flooring: 1 * 5000 / 3 = 1666.
    EXPECT_EQ(PanForX(1, 3), -834);
    EXPECT_EQ(PanForX(400, 800), 0);
}

TEST(PanForX, WidthZeroGivesTheCentreInsteadOfDividingByZero)
{
    EXPECT_EQ(PanForX(10, 0), 0);
}
