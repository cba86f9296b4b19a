#include "device/frames.h"

#include <cstring>
#include <string>

#include "model/utils.h"
#include "device/command_engine.h"
#include "device/device_timers.h"
#include "device/link.h"

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

void LogSendError() {
  WriteErrorLog("发送错误 命令=" + std::to_string(Command.CommandCode));
}

bool WriteFrame(const uint8_t* frame, int length) {
  std::memcpy(Link.WriteBuffer, frame, static_cast<size_t>(length));
  Link.WriteLength = static_cast<int16_t>(length);
  Link.LastWriteOk = WriteReport_Boolean();
  return Link.LastWriteOk;
}

// 0x11, 0x12, 0x20, 0x23: TimerMSComm reads the one reply 500 ms on.
void SendShortCommand(int16_t code, const uint8_t* frame, int length) {
  try {
    Command.CommandCode = code;
    Timers.TimerMSComm->SetEnabled(true);
    if (!WriteFrame(frame, length)) usbDeviceDetect();
  } catch (...) {
    LogSendError();
  }
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

std::array<uint8_t, kParameterFrameLength> BuildCommand20Frame(const RecordingParameters& p) {
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

bool CheckCommand12_Boolean(std::span<const uint8_t> r) { return FrameOk(r, 0x92, 0); }

bool CheckCommand20_Boolean(std::span<const uint8_t> r) {
  return r.size() >= 15 && HeaderOk(r, 0xA0) && r[12] == 0 && r[13] == 0x9A && r[14] == kEnd;
}

bool CheckCommand23_Boolean(std::span<const uint8_t> r) { return FrameOk(r, 0xA3, 19); }

bool CheckCommand22_Boolean(std::span<const uint8_t> r) { return FrameOk(r, 0xA2, 6); }

bool CheckCommand24_Boolean(std::span<const uint8_t> r, int n) {
  if (n < kFrameOverhead || static_cast<int>(r.size()) < n) return false;
  if (n == kBlockReplyLength) return FrameOk(r, 0xA4, 48);
  return FrameOk(r, 0xA4, n - kFrameOverhead);
}

// Judged whole, checksum and end byte too: a damaged end-of-data frame is a
// rejected reply and is asked for again, never the end of a download.
bool CheckDownloadCommandStop_Boolean(std::span<const uint8_t> r) { return FrameOk(r, 0xA4, 0); }

bool CheckCommand21_Boolean(std::span<const uint8_t> set, int n) {
  if (n < kSpectrumSetLength || static_cast<int>(set.size()) < kSpectrumSetLength) return false;
  for (int k = 0; k < kSpectrumBlocks; ++k) {
    if (!FrameOk(set.subspan(static_cast<size_t>(k * kBlockReplyLength), kBlockReplyLength), 0xA1, 48)) {
      return false;
    }
  }
  return true;
}

void SendCommand_12() {
  const auto f = BuildCommandFrame(0x12);
  SendShortCommand(12, f.data(), static_cast<int>(f.size()));
}

void SendCommand_11() {
  const auto f = BuildCommandFrame(0x11);
  SendShortCommand(11, f.data(), static_cast<int>(f.size()));
}

void SendCommand_20() {
  const auto f = BuildCommand20Frame(MachineParameter);
  SendShortCommand(20, f.data(), static_cast<int>(f.size()));
}

void SendCommand_23() {
  const auto f = BuildCommandFrame(0x23);
  SendShortCommand(23, f.data(), static_cast<int>(f.size()));
}

void SendCommand_24() {
  try {
    const auto f = BuildCommandFrame(0x24);
    Command.CommandCode = 24;
    if (WriteFrame(f.data(), static_cast<int>(f.size()))) {
      Timers.Timer1->SetInterval(20);
      Timers.Timer1->SetEnabled(true);
    } else {
      usbDeviceDetect();
    }
  } catch (...) {
    LogSendError();
  }
}

void SendCommand_25() {
  try {
    const auto f = BuildCommandFrame(0x25);
    Command.CommandCode = 24;
    if (WriteFrame(f.data(), static_cast<int>(f.size()))) {
      Timers.Timer1->SetEnabled(true);
    } else {
      usbDeviceDetect();
    }
  } catch (...) {
    LogSendError();
  }
}

void SendCommand_22() {
  try {
    const auto f = BuildCommandFrame(0x22);
    Command.CommandCode = 22;
    std::memset(Link.ReadBuffer, 0, 254);
    // A live request the logger cannot be sent ends the capture with what
    // it has, instead of reading for replies that cannot come.
    if (!WriteFrame(f.data(), static_cast<int>(f.size()))) {
      LoseDevice();
      return;
    }
    Timers.Timer1->SetEnabled(true);
  } catch (...) {
    LogSendError();
  }
}

void SendCommand_21() {
  try {
    const auto f = BuildCommandFrame(0x21);
    Command.CommandCode = 21;
    if (!WriteFrame(f.data(), static_cast<int>(f.size()))) {
      LoseDevice();
      return;
    }
    Timers.Timer20ms->Start(20);
    Command.FreqBlockIndex = 0;
  } catch (...) {
    LogSendError();
  }
}

}  // namespace accelog
