#include "device/link.h"

#include <algorithm>
#include <cstring>

#include "core/ui_port.h"
#include "device/command_engine.h"
#include "device/device_timers.h"
#include "device/download.h"
#include "device/frames.h"
#include "data/utils.h"

namespace accelog {

LinkState Link;

namespace {

constexpr const char* kVendorText = "1041";
constexpr const char* kProductText = "8102";
constexpr int kDefaultGraceMs = 300;

std::unique_ptr<Transport>& TransportSlot() {
  static std::unique_ptr<Transport> transport;
  return transport;
}

int ElapsedMs(std::chrono::steady_clock::time_point since) {
  return static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(
                              std::chrono::steady_clock::now() - since)
                              .count());
}

// Reads and drops whatever the logger sent after its read gave up, waiting
// for owed replies up to the grace period.
void DiscardStaleReplies() {
  uint8_t scratch[kReadBufferSize];
  Transport& t = DeviceTransport();
  for (;;) {
    int wait = 0;
    if (Link.OwedReplies > 0) {
      const int left = Link.StaleReplyGraceMs - ElapsedMs(Link.OwedSince);
      if (left <= 0) {
        Link.OwedReplies = 0;  // lost on the way; stop waiting for it
      } else {
        wait = std::min(left, kReadWaitMs);
      }
    }
    const int got = t.Read(scratch, kReadBufferSize, wait);
    if (got < 0) return;
    if (got == 0) {
      if (Link.OwedReplies == 0) return;
      continue;
    }
    if (Link.OwedReplies > 0) --Link.OwedReplies;
    ++Link.StaleRepliesDiscarded;
  }
}

void RefuseUndetected() { Ui().Message("Please First Detect the Device!"); }

}  // namespace

void ResetLinkState() {
  Link = LinkState{};
  Link.StaleReplyGraceMs = kDefaultGraceMs;
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
  Link.OwedReplies = 0;
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
    Link.OwedReplies = 0;
    return true;
  }
  return false;
}

bool ReadReport_Boolean() {
  if (!Link.DeviceConnected) {
    RefuseUndetected();
    return false;
  }
  std::memset(Link.ReadBuffer, 0, 255);
  const int n = std::clamp<int>(Link.ReadLength, 0, kReadBufferSize);
  const int got = Link.HidDeviceOpen ? DeviceTransport().Read(Link.ReadBuffer, n, kReadWaitMs) : -1;
  if (got > 0 && Link.OwedReplies > 0) --Link.OwedReplies;
  Link.LastReadOk = got > 0;
  return Link.LastReadOk;
}

bool WriteReport_Boolean() {
  if (!Link.DeviceConnected) {
    RefuseUndetected();
    return false;
  }
  if (!Link.HidDeviceOpen) return Link.LastWriteOk = false;
  DiscardStaleReplies();
  const int n = std::clamp<int>(Link.WriteLength, 0, kWriteBufferSize);
  Link.LastWriteOk = DeviceTransport().Write(Link.WriteBuffer, n);
  if (Link.LastWriteOk) {
    Link.OwedReplies += RepliesOwedFor(Link.WriteBuffer, n);
    Link.OwedSince = std::chrono::steady_clock::now();
  }
  return Link.LastWriteOk;
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
  if (Link.ScanAttempt > 5) {
    Ui().StatusPanel(1, "No Device !");
    Timers.Timer4->SetEnabled(false);
    Link.DeviceConnected = false;
    Link.DevicePreviouslyFound = false;
    Link.DeviceFound = false;
    Link.ScanAttempt = 0;
    Link.LinkConfirmed = false;
    Link.ScanGaveUp = true;
    AbandonActiveOperation();
  }
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
