#include "data/text_util.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <random>

namespace accelog {
namespace {

float ReadBack(const std::string& s) { return std::strtof(s.c_str(), nullptr); }

TEST(FloatText, ShortestTextThatReadsBackWithAtMostSevenDigits) {
  EXPECT_EQ(FloatText(998.4f), "998.4");
  EXPECT_EQ(FloatText(-780.0f), "-780");
  EXPECT_EQ(FloatText(0.5f) + FloatText(-0.5f, false), "0.5-.5");
  for (float v : {3.9f, -200 * 3.9f, 1.0f / 3.0f, 89.99999f, 1e-3f, 12345.67f}) {
    const std::string s = FloatText(v);
    EXPECT_EQ(s.find('e'), std::string::npos) << s;
    EXPECT_NEAR(ReadBack(s), v, std::fabs(v) * 1e-6f) << s;
  }
  // 1/3 needs 8 digits to read back exactly; the text keeps 7.
  EXPECT_EQ(FloatText(1.0f / 3.0f), "0.3333333");
  EXPECT_EQ(FloatText(123456789.0f), "1.234568E+08");
  EXPECT_EQ(FloatText(1e-8f), "1E-08");
}

TEST(NumberText, LeadingBlankForValuesNotBelowZero) {
  EXPECT_EQ(NumberText(327601LL), " 327601");
  EXPECT_EQ(NumberText(-5LL), "-5");
  EXPECT_EQ(NumberText(0.5f), " .5");
}

TEST(Utf8Cut, NeverSplitsACharacter) {
  const std::string s = "ab\xe4\xb8\x8b";  // "ab" + one three-byte character
  EXPECT_EQ(CutUtf8(s, 5), s);
  EXPECT_EQ(CutUtf8(s, 4), "ab");
  EXPECT_EQ(CutUtf8(s, 2), "ab");
  EXPECT_EQ(TrimBlanks(std::string("  c:\\ \0\0", 8)), "c:\\");
  EXPECT_EQ(RemoveBlanks(" 1 2 "), "12");
}

TEST(ExactFloatText, ReadsBackToTheSameValueWhereSevenDigitsDoNot) {
  EXPECT_EQ(ExactFloatText(1000.530517578125f), "1000.5305");
  std::mt19937 rng(7);
  for (int i = 0; i < 20000; ++i) {
    uint32_t bits = rng();
    float v;
    std::memcpy(&v, &bits, sizeof v);
    if (!std::isfinite(v)) continue;
    const std::string t = ExactFloatText(v);
    EXPECT_EQ(std::strtof(t.c_str(), nullptr), v) << t;
    EXPECT_EQ(t.find(','), std::string::npos);
  }
}

}  // namespace
}  // namespace accelog
