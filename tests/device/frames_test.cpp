#include <gtest/gtest.h>

#include <vector>

#include "device/frames.h"
#include "model/machine_parameter.h"

namespace accelog {
namespace {

std::vector<uint8_t> Reply(uint8_t control, std::vector<uint8_t> data = {}) { return BuildFrame(control, data); }

TEST(CommandFrames, CommandsWithoutDataCarryTheirFixedChecksums) {
  const std::pair<uint8_t, uint8_t> expected[] = {{0x12, 0x0C}, {0x11, 0x0B}, {0x23, 0x1D},
                                                  {0x24, 0x1E}, {0x25, 0x1F}, {0x22, 0x1C},
                                                  {0x21, 0x1B}};
  for (auto [control, checksum] : expected) {
    const auto f = BuildCommandFrame(control);
    const std::vector<uint8_t> head = {0xFE, 0xFE, 0xFE, 0xFE, 0x68, 0xA0, 0xA1,
                                       0xA2, 0xA3, 0xA4, 0x68, control, 0x00};
    EXPECT_TRUE(std::equal(head.begin(), head.end(), f.begin())) << int(control);
    EXPECT_EQ(f[13], checksum) << int(control);
    EXPECT_EQ(f[14], 0x16);
  }
  // The parameter acknowledgement's constant.
  EXPECT_EQ(Reply(0xA0)[13], 0x9A);
}

TEST(CommandFrames, ParameterFrameLayout) {
  RecordingParameters p{};
  // Every field in its place, 16-bit values high byte first.
  p.RecordInterval = 0x1234;
  p.IntervalUnit = 1;
  p.LedCycle = 2;
  p.CriticalX = 3;
  p.CriticalY = 4;
  p.CriticalZ = 5;
  p.RecordMode = 1;
  p.WorkMode = 2;
  p.CurYear = 26, p.CurMonth = 12, p.CurDay = 6, p.CurHour = 20, p.CurMinute = 1, p.CurSecond = 59;
  p.StartYear = 27, p.StartMonth = 1, p.StartDay = 2, p.StartHour = 3, p.StartMinute = 4, p.StartSecond = 5;
  p.LimitTime = 0x0102;
  const auto f = BuildParameterFrame(p);
  ASSERT_EQ(f.size(), 38u);
  EXPECT_EQ(f[12], 23);
  EXPECT_EQ(f[37], 0x16);
  const std::vector<uint8_t> data = {0x12, 0x34, 1, 2, 3, 4, 5, 1, 2, 26, 12, 6,
                                     20, 1, 59, 27, 1, 2, 3, 4, 5, 0x01, 0x02};
  EXPECT_TRUE(std::equal(data.begin(), data.end(), f.begin() + 13));
  EXPECT_EQ(f[36], FrameChecksum(f, 35));
}

TEST(ReplyValidators, AcceptWellFormedRepliesAndRejectEveryBrokenField) {
  const auto connect = Reply(0x92);
  EXPECT_TRUE(CheckConnectReply(connect));
  EXPECT_TRUE(CheckParameterReply(Reply(0xA0)));
  EXPECT_TRUE(CheckInquiryReply(Reply(0xA3, std::vector<uint8_t>(19, 7))));
  EXPECT_TRUE(CheckSampleReply(Reply(0xA2, std::vector<uint8_t>(6, 9))));
  EXPECT_FALSE(CheckConnectReply(Reply(0x91)));  // well formed, but the wrong reply
  EXPECT_FALSE(CheckInquiryReply(Reply(0xA3, std::vector<uint8_t>(18, 7))));

  // Any single changed byte of a connect reply fails it.
  for (size_t i = 0; i < connect.size(); ++i) {
    auto bad = connect;
    bad[i] ^= 0x40;
    EXPECT_FALSE(CheckConnectReply(bad)) << i;
  }
  // The cleared buffer of a read that got nothing.
  const std::vector<uint8_t> zeros(63, 0);
  EXPECT_FALSE(CheckConnectReply(zeros));
  EXPECT_FALSE(CheckParameterReply(zeros));
  EXPECT_FALSE(CheckBlockReply(zeros, 63));
  EXPECT_FALSE(CheckEndOfData(zeros));
  // Too short to hold the frame.
  EXPECT_FALSE(CheckConnectReply(std::span(connect).first(14)));
}

TEST(ReplyValidators, BlockRepliesMatchTheirLength) {
  for (int k = 1; k <= 8; ++k) {
    const auto block = Reply(0xA4, std::vector<uint8_t>(static_cast<size_t>(6 * k), 0x5A));
    EXPECT_TRUE(CheckBlockReply(block, 15 + 6 * k)) << k;
    if (k < 8) {
      std::vector<uint8_t> padded = block;
      padded.resize(63, 0);
      EXPECT_FALSE(CheckBlockReply(padded, 63)) << k;
    }
    if (k > 1) {
      EXPECT_FALSE(CheckBlockReply(block, 15 + 6 * (k - 1))) << k;
    }
  }
}

TEST(ReplyValidators, SpectrumSetFailsWhenAnyBlockFails) {
  std::vector<uint8_t> set;
  for (int b = 0; b < 32; ++b) {
    const auto block = Reply(0xA1, std::vector<uint8_t>(48, static_cast<uint8_t>(b)));
    set.insert(set.end(), block.begin(), block.end());
  }
  ASSERT_EQ(set.size(), 2016u);
  EXPECT_TRUE(CheckSpectrumSet(set, 2016));
  for (int b : {0, 17, 31}) {
    auto bad = set;
    bad[static_cast<size_t>(63 * b + 30)] ^= 1;
    EXPECT_FALSE(CheckSpectrumSet(bad, 2016)) << b;
  }
  EXPECT_FALSE(CheckSpectrumSet(std::span(set).first(2015), 2015));
}

}  // namespace
}  // namespace accelog
