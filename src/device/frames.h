#pragma once
// Command and reply frames: FE FE FE FE 68 A0 A1 A2 A3 A4 68 C L data.. CS 16.
#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "model/machine_parameter.h"

namespace accelog {

inline constexpr int kFrameOverhead = 15;  // a frame is 15 + L bytes
inline constexpr int kBlockReplyLength = 63;
inline constexpr int kParameterFrameLength = 38;
inline constexpr int kSpectrumBlocks = 32;
inline constexpr int kSpectrumSetLength = kSpectrumBlocks * kBlockReplyLength;  // 2016

// Low 8 bits of the sum of frame bytes 4 .. last.
uint8_t FrameChecksum(std::span<const uint8_t> frame, int last);
// A whole frame with control byte `control` and the data bytes.
std::vector<uint8_t> BuildFrame(uint8_t control, std::span<const uint8_t> data = {});
// The 15-byte frame of a command without data.
std::array<uint8_t, kFrameOverhead> BuildCommandFrame(uint8_t control);
// The 38-byte set-parameters-and-clock frame of these parameters.
std::array<uint8_t, kParameterFrameLength> BuildParameterFrame(const RecordingParameters& p);

// Replies the logger sends for the command frame in `frame` (32 for 0x21).
int RepliesOwedFor(const uint8_t* frame, int length);

// Reply validators; a reply shorter than the tests need fails.
bool CheckConnectReply(std::span<const uint8_t> reply);
bool CheckParameterReply(std::span<const uint8_t> reply);
bool CheckInquiryReply(std::span<const uint8_t> reply);
bool CheckSampleReply(std::span<const uint8_t> reply);
bool CheckBlockReply(std::span<const uint8_t> reply, int n);
bool CheckEndOfData(std::span<const uint8_t> reply);
bool CheckSpectrumSet(std::span<const uint8_t> set, int n = kSpectrumSetLength);

}  // namespace accelog
