#include "device/frames.h"

#include <cstring>
#include <string>

#include "model/utils.h"
#include "device/device.h"

namespace accelog {
namespace {

constexpr uint8_t kHeader[11] = {0xFE, 0xFE, 0xFE, 0xFE, 0x68, 0xA0,
                                 0xA1, 0xA2, 0xA3, 0xA4, 0x68};
constexpr uint8_t kEnd = 0x16;

bool HeaderOk(std::span<const uint8_t> r, uint8_t control) {
  return r.size() >= 13 && std::memcmp(r.data(), kHeader, sizeof kHeader) == 0 && r[11] == control;
}

// Header, C, L and the checksum/end pair after L data bytes.
bool FrameOk(std::span<const uint8_t> r, uint8_t control, int data_length) {
  const size_t n = static_cast<size_t>(kFrameOverhead + data_length);
  return r.size() >= n && HeaderOk(r, control) && r[12] == data_length &&
         r[n - 2] == FrameChecksum(r, static_cast<int>(n) - 3) && r[n - 1] == kEnd;
}

}  // namespace

uint8_t FrameChecksum(std::span<const uint8_t> frame, int last) {
  unsigned sum = 0;
  for (int i = 4; i <= last && i < static_cast<int>(frame.size()); ++i) sum += frame[static_cast<size_t>(i)];
  return static_cast<uint8_t>(sum & 0xFF);
}

std::vector<uint8_t> BuildFrame(uint8_t control, std::span<const uint8_t> data) {
  std::vector<uint8_t> f(kHeader, kHeader + sizeof kHeader);
  f.push_back(control);
  f.push_back(static_cast<uint8_t>(data.size()));
  f.insert(f.end(), data.begin(), data.end());
  f.push_back(FrameChecksum(f, static_cast<int>(f.size()) - 1));
  f.push_back(kEnd);
  return f;
}

std::array<uint8_t, kFrameOverhead> BuildCommandFrame(uint8_t control) {
  std::array<uint8_t, kFrameOverhead> out{};
  const auto f = BuildFrame(control);
  std::memcpy(out.data(), f.data(), out.size());
  return out;
}

std::array<uint8_t, kParameterFrameLength> BuildParameterFrame(const RecordingParameters& p) {
  auto byte = [](int16_t v) { return static_cast<uint8_t>(v & 0xFF); };
  const uint8_t data[23] = {
      HighByte(p.RecordInterval), LowByte(p.RecordInterval),
      byte(p.IntervalUnit), byte(p.LedCycle),
      byte(p.CriticalX), byte(p.CriticalY), byte(p.CriticalZ),
      byte(p.RecordMode), byte(p.WorkMode),
      byte(p.CurYear), byte(p.CurMonth), byte(p.CurDay),
      byte(p.CurHour), byte(p.CurMinute), byte(p.CurSecond),
      byte(p.StartYear), byte(p.StartMonth), byte(p.StartDay),
      byte(p.StartHour), byte(p.StartMinute), byte(p.StartSecond),
      HighByte(p.LimitTime), LowByte(p.LimitTime),
  };
  std::array<uint8_t, kParameterFrameLength> out{};
  const auto f = BuildFrame(0x20, data);
  std::memcpy(out.data(), f.data(), out.size());
  return out;
}

int RepliesOwedFor(const uint8_t* frame, int length) {
  if (length < 12) return 0;
  return frame[11] == 0x21 ? kSpectrumBlocks : 1;
}

bool CheckConnectReply(std::span<const uint8_t> r) { return FrameOk(r, 0x92, 0); }

bool CheckParameterReply(std::span<const uint8_t> r) {
  return r.size() >= 15 && HeaderOk(r, 0xA0) && r[12] == 0 && r[13] == 0x9A && r[14] == kEnd;
}

bool CheckInquiryReply(std::span<const uint8_t> r) { return FrameOk(r, 0xA3, 19); }

bool CheckSampleReply(std::span<const uint8_t> r) { return FrameOk(r, 0xA2, 6); }

bool CheckBlockReply(std::span<const uint8_t> r, int n) {
  if (n < kFrameOverhead || static_cast<int>(r.size()) < n) return false;
  if (n == kBlockReplyLength) return FrameOk(r, 0xA4, 48);
  return FrameOk(r, 0xA4, n - kFrameOverhead);
}

// Judged whole, checksum and end byte too: a damaged end-of-data frame is a
// rejected reply and is asked for again, never the end of a download.
bool CheckEndOfData(std::span<const uint8_t> r) { return FrameOk(r, 0xA4, 0); }

bool CheckSpectrumSet(std::span<const uint8_t> set, int n) {
  if (n < kSpectrumSetLength || static_cast<int>(set.size()) < kSpectrumSetLength) return false;
  for (int k = 0; k < kSpectrumBlocks; ++k) {
    if (!FrameOk(set.subspan(static_cast<size_t>(k * kBlockReplyLength), kBlockReplyLength), 0xA1, 48)) {
      return false;
    }
  }
  return true;
}

void Device::LogSendError() {
  WriteErrorLog("发送错误 命令=" + std::to_string(static_cast<int>(command.Awaited)));
}

bool Device::WriteFrame(const uint8_t* frame, int length) {
  std::memcpy(link.WriteBuffer, frame, static_cast<size_t>(length));
  link.WriteLength = static_cast<int16_t>(length);
  link.LastWriteOk = WriteRequest();
  return link.LastWriteOk;
}

// 0x11, 0x12, 0x20, 0x23: the reply timer reads the one reply 500 ms on.
void Device::SendShortCommand(CommandCode code, const uint8_t* frame, int length) {
  try {
    command.Awaited = code;
    reply_timer_->SetEnabled(true);
    if (!WriteFrame(frame, length)) StartScan();
  } catch (...) {
    LogSendError();
  }
}

void Device::SendConnect() {
  const auto f = BuildCommandFrame(0x12);
  SendShortCommand(CommandCode::Connect, f.data(), static_cast<int>(f.size()));
}

void Device::SendIdentify() {
  const auto f = BuildCommandFrame(0x11);
  SendShortCommand(CommandCode::Identify, f.data(), static_cast<int>(f.size()));
}

void Device::SendDataInquiry() {
  const auto f = BuildCommandFrame(0x23);
  SendShortCommand(CommandCode::DataInquiry, f.data(), static_cast<int>(f.size()));
}

void Device::SendBlockRequest() {
  try {
    const auto f = BuildCommandFrame(0x24);
    command.Awaited = CommandCode::Block;
    if (WriteFrame(f.data(), static_cast<int>(f.size()))) {
      block_timer_->SetInterval(20);
      block_timer_->SetEnabled(true);
    } else {
      StartScan();
    }
  } catch (...) {
    LogSendError();
  }
}

void Device::SendBlockRepeat() {
  try {
    const auto f = BuildCommandFrame(0x25);
    command.Awaited = CommandCode::Block;
    if (WriteFrame(f.data(), static_cast<int>(f.size()))) {
      block_timer_->SetEnabled(true);
    } else {
      StartScan();
    }
  } catch (...) {
    LogSendError();
  }
}

void Device::SendLiveSampleRequest() {
  try {
    const auto f = BuildCommandFrame(0x22);
    command.Awaited = CommandCode::LiveSample;
    std::memset(link.ReadBuffer, 0, 254);
    // A live request the logger cannot be sent ends the capture with what
    // it has, instead of reading for replies that cannot come.
    if (!WriteFrame(f.data(), static_cast<int>(f.size()))) {
      LoseDevice();
      return;
    }
    block_timer_->SetEnabled(true);
  } catch (...) {
    LogSendError();
  }
}

void Device::SendSpectrumRequest() {
  try {
    const auto f = BuildCommandFrame(0x21);
    command.Awaited = CommandCode::SpectrumSet;
    if (!WriteFrame(f.data(), static_cast<int>(f.size()))) {
      LoseDevice();
      return;
    }
    spectrum_block_timer_->Start(20);
    command.SpectrumBlockIndex = 0;
  } catch (...) {
    LogSendError();
  }
}

}  // namespace accelog
