#include <gtest/gtest.h>
#include "data/utils.h"
TEST(Placeholder, Builds) { EXPECT_EQ(accelog::HexTextToInteger("8102"), -32510); }
