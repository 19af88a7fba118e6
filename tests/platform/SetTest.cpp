#include "platform/TSet.h"

#include <gtest/gtest.h>

namespace {

enum TFruit { frApple, frPear, frPlum, frFig };
using TFruits = TSet<TFruit>;

TEST(TSet, BitsFollowOrdinals) {
    EXPECT_EQ(TFruits({frApple}).ToBits(), 1u);
    EXPECT_EQ(TFruits({frPear, frFig}).ToBits(), 0b1010u);
    EXPECT_EQ(TFruits::FromBits(0b0101u), TFruits({frApple, frPlum}));
    EXPECT_TRUE(TFruits().Empty());
}

TEST(TSet, Operations) {
    TFruits S{frApple, frPlum};
    EXPECT_TRUE(S.Contains(frPlum));
    EXPECT_FALSE(S.Contains(frPear));
    S.Include(frPear).Exclude(frApple);
    EXPECT_EQ(S, TFruits({frPear, frPlum}));
    EXPECT_EQ(S + TFruits{frFig}, TFruits({frPear, frPlum, frFig}));
    EXPECT_EQ(S * TFruits({frPlum, frFig}), TFruits({frPlum}));
    EXPECT_EQ(S - TFruits({frPlum}), TFruits({frPear}));
    EXPECT_NE(S, TFruits({frPear}));
}

} // namespace
