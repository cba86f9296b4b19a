#include "device/link.h"

#include <algorithm>
#include <cstring>

#include "core/ui_port.h"
#include "device/command_engine.h"
#include "device/device_timers.h"
#include "device/download.h"
#include "device/frames.h"
#include "model/utils.h"

namespace accelog {

LinkState Link;

namespace {

constexpr const char* kVendorText = "1041";
constexpr const char* kProductText = "8102";
// Longer than any reply is late (up to 1 s), so a late one is still matched.
constexpr int kLostReplyMs = 1500;
constexpr int kMaxFramesPerRead = 64;
// A live reply later than this is taken for lost (loggers seen late by up to
// 180 ms stay under it); at a period of 300 ms or more that is the first read.
constexpr int kOverdueReads = 3;
constexpr int kOverdueMs = 300;

std::unique_ptr<Transport>& TransportSlot() {
  static std::unique_ptr<Transport> transport;
  return transport;
}

using std::chrono::steady_clock;

int ElapsedMs(steady_clock::time_point since) {
  return static_cast<int>(
      std::chrono::duration_cast<std::chrono::milliseconds>(steady_clock::now() - since).count());
}

// One frame has come in: it settles the oldest owed reply. True when it is
// the reply to the last command, false when it is dropped.
bool TakeFrame() {
  Link.LastTraffic = steady_clock::now();
  if (Link.OwedReplies == 0) {
    if (Link.LiveRepliesGivenUp > 0) {
      // A live reply given up as lost came after all: still a sample.
      --Link.LiveRepliesGivenUp;
      return true;
    }
    ++Link.UnsolicitedReplies;
    return false;
  }
  --Link.OwedReplies;
  if (Link.StaleReplies == 0) return true;
  --Link.StaleReplies;
  ++Link.StaleRepliesDiscarded;
  return false;
}

void ForgetLostReplies() {
  if (Link.OwedReplies > 0 && ElapsedMs(Link.LastTraffic) > Link.LostReplyMs) {
    Link.ForgottenReplies += Link.OwedReplies;
    Link.OwedReplies = 0;
    Link.StaleReplies = 0;
  }
  if (Link.LiveRepliesGivenUp > 0 && ElapsedMs(Link.LiveGiveUpTime) > Link.LostReplyMs) {
    Link.ForgottenReplies += Link.LiveRepliesGivenUp;
    Link.LiveRepliesGivenUp = 0;
  }
}

void ClearReplyAccounting() {
  Link.OwedReplies = 0;
  Link.StaleReplies = 0;
  Link.LiveRepliesGivenUp = 0;
  Link.EmptyReads = 0;
  Link.TransportGone = false;
}

void RefuseUndetected() { Ui().Message("Please First Detect the Device!"); }

}  // namespace

void ResetLinkState() {
  Link = LinkState{};
  Link.LostReplyMs = kLostReplyMs;
}

void SetDeviceTransport(std::unique_ptr<Transport> transport) {
  CloseDevice();
  TransportSlot() = std::move(transport);
}

Transport& DeviceTransport() {
  if (!TransportSlot()) TransportSlot() = MakeUsbTransport();
  return *TransportSlot();
}

void CloseDevice() {
  if (TransportSlot()) TransportSlot()->Close();
  Link.HidDeviceOpen = false;
  ClearReplyAccounting();
}

bool ParseDeviceIds(const std::string& path, int16_t& vendor, int16_t& product) {
  const size_t hash = path.find('#');
  if (hash == std::string::npos || hash >= 100) return false;
  auto field = [&](size_t at) { return at < path.size() ? path.substr(at, 4) : std::string(); };
  vendor = HexTextToInteger(field(hash + 5));
  product = HexTextToInteger(field(hash + 14));
  return true;
}

bool FindTheHid_Boolean() {
  // A fresh pass starts from a closed device; a socket left open would keep
  // a simulated logger busy with the dead connection.
  CloseDevice();
  Transport& t = DeviceTransport();
  const int16_t want_vendor = HexTextToInteger(kVendorText);
  const int16_t want_product = HexTextToInteger(kProductText);
  const std::vector<std::string> paths = t.EnumeratePaths();
  const size_t n = std::min<size_t>(paths.size(), kMaxScanIndices);
  for (size_t i = 0; i < n; ++i) {
    // The identity is read from the path before anything is opened: opening
    // a USB device claims it and detaches its kernel driver, which must
    // never happen to somebody's keyboard or disk.
    int16_t vendor = 0, product = 0;
    if (!ParseDeviceIds(paths[i], vendor, product) || vendor != want_vendor ||
        product != want_product) {
      continue;
    }
    if (!t.Open(paths[i])) continue;
    Link.VendorID = vendor;
    Link.ProductID = product;
    Link.DevicePathName = paths[i];
    Link.HidDeviceOpen = true;
    ClearReplyAccounting();
    Link.LastTraffic = steady_clock::now();
    return true;
  }
  return false;
}

bool LoggerPresent() {
  const int16_t want_vendor = HexTextToInteger(kVendorText);
  const int16_t want_product = HexTextToInteger(kProductText);
  for (const std::string& path : DeviceTransport().EnumeratePaths()) {
    int16_t vendor = 0, product = 0;
    if (ParseDeviceIds(path, vendor, product) && vendor == want_vendor && product == want_product) {
      return true;
    }
  }
  return false;
}

bool ReadReport_Boolean() {
  if (!Link.DeviceConnected) {
    RefuseUndetected();
    return false;
  }
  std::memset(Link.ReadBuffer, 0, 255);
  Link.LastReadOk = false;
  const int n = std::clamp<int>(Link.ReadLength, 0, kReadBufferSize);
  if (!Link.HidDeviceOpen) return false;
  uint8_t frame[kReadBufferSize];
  const auto give_up = steady_clock::now() + std::chrono::milliseconds(kReadWaitMs);
  // A logger that floods frames cannot hold the read past its wait.
  for (int frames = 0; frames < kMaxFramesPerRead; ++frames) {
    const int left = static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                          give_up - steady_clock::now()).count());
    if (frames > 0 && left <= 0) break;
    const int got = DeviceTransport().Read(frame, n, std::max(left, 0));
    if (got < 0) Link.TransportGone = true;
    if (got <= 0) break;
    if (TakeFrame()) {
      std::memcpy(Link.ReadBuffer, frame, static_cast<size_t>(got));
      Link.LastReadOk = true;
      Link.EmptyReads = 0;
      return true;
    }
  }
  ++Link.EmptyReads;
  return false;
}

bool LinkQuiet(int wait_ms) {
  if (!Link.HidDeviceOpen) return Link.OwedReplies == 0;
  uint8_t frame[kReadBufferSize];
  const auto give_up = steady_clock::now() + std::chrono::milliseconds(std::clamp(wait_ms, 0, kReadWaitMs));
  for (int frames = 0; frames < kMaxFramesPerRead; ++frames) {
    ForgetLostReplies();
    int left = 0;
    if (Link.OwedReplies > 0) {
      left = std::max(0, static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                              give_up - steady_clock::now()).count()));
    }
    const int got = DeviceTransport().Read(frame, kReadBufferSize, left);
    if (got < 0) {
      // The device has gone: nothing owed will come, and the next write
      // finds out and restarts the scan.
      Link.OwedReplies = Link.StaleReplies = Link.LiveRepliesGivenUp = 0;
      Link.TransportGone = true;
      break;
    }
    if (got == 0) break;
    TakeFrame();
  }
  ForgetLostReplies();
  return Link.OwedReplies == 0;
}

bool WriteReport_Boolean() {
  if (!Link.DeviceConnected) {
    RefuseUndetected();
    return false;
  }
  if (!Link.HidDeviceOpen) return Link.LastWriteOk = false;
  const int n = std::clamp<int>(Link.WriteLength, 0, kWriteBufferSize);
  if (n > 11 && Link.WriteBuffer[11] == 0x22) {
    // Frames that came stay for the sample reader: a late live reply is a
    // sample, not something to clear away.
    ForgetLostReplies();
  } else {
    LinkQuiet(0);
    // Live replies given up that still come answer nothing asked now.
    Link.OwedReplies += Link.LiveRepliesGivenUp;
    Link.LiveRepliesGivenUp = 0;
  }
  Link.LastWriteOk = DeviceTransport().Write(Link.WriteBuffer, n);
  if (Link.LastWriteOk) {
    // What is still owed answers earlier commands and comes first.
    Link.StaleReplies = Link.OwedReplies;
    Link.OwedReplies += RepliesOwedFor(Link.WriteBuffer, n);
    Link.LastTraffic = steady_clock::now();
    Link.EmptyReads = 0;
  }
  return Link.LastWriteOk;
}

bool ReplyOverdue() {
  return Link.EmptyReads >= kOverdueReads || ElapsedMs(Link.LastTraffic) >= kOverdueMs;
}

void GiveUpLiveReply() {
  if (Link.OwedReplies <= Link.StaleReplies) return;
  --Link.OwedReplies;
  ++Link.LiveRepliesGivenUp;
  Link.LiveGiveUpTime = steady_clock::now();
}

void RestUsbSet() {
  CloseDevice();
  FindTheHid_Boolean();
}

void usbDeviceDetect() {
  Link.LinkConfirmed = false;
  Link.ScanAttempt = 0;
  Link.DeviceFound = false;
  Link.ScanGaveUp = false;
  Timers.Timer4->Start(500);
  Timers.Timer1->SetEnabled(false);
}

void Timer4_Timer() {
  if (Link.DeviceFound) {
    Ui().StatusPanel(1, "find set");
    Link.DeviceConnected = Link.DeviceFound;
    Link.DevicePreviouslyFound = Link.DeviceFound;
    Timers.Timer4->SetEnabled(false);
    SendCommand_12();
    return;
  }
  ++Link.ScanAttempt;
  if (!Link.DevicePreviouslyFound) {
    Ui().StatusPanel(1, "Scan for usb devices...." + std::to_string(Link.ScanAttempt));
  }
  Link.DeviceFound = FindTheHid_Boolean();
  if (Link.DeviceFound) return;
  if (Link.ScanAttempt > 5) LoseDevice();
}

void LoseDevice() {
  Ui().StatusPanel(1, "No Device !");
  Timers.Timer4->SetEnabled(false);
  CloseDevice();
  Link.DeviceConnected = false;
  Link.DevicePreviouslyFound = false;
  Link.DeviceFound = false;
  Link.ScanAttempt = 0;
  Link.LinkConfirmed = false;
  Link.ScanGaveUp = true;
  AbandonActiveOperation();
  // A logger that is there but cannot be opened is not "no device": say
  // why, and what the user can do about it.
  const std::string problem = DeviceTransport().OpenProblem();
  if (!problem.empty()) Ui().Message(problem, MessageIcon::Exclamation);
}

void AbandonActiveOperation() {
  const int16_t op = Command.ActiveOperation;
  Command.ActiveOperation = 0;
  if (op == 24) {
    AbandonDownload();
  } else if (op == 22) {
    if (RealTimeHooks.AbandonRealTimeData) RealTimeHooks.AbandonRealTimeData();
  } else if (op == 21) {
    if (RealTimeHooks.AbandonRealTimeFrequency) RealTimeHooks.AbandonRealTimeFrequency();
  }
}

}  // namespace accelog
