#include "device/device.h"

#include <algorithm>
#include <cstring>

#include "core/ui_port.h"
#include "device/frames.h"
#include "model/utils.h"

namespace accelog {

namespace {

constexpr const char* kVendorText = "1041";
constexpr const char* kProductText = "8102";
constexpr int kMaxFramesPerRead = 64;
// A live reply later than this is taken for lost (loggers seen late by up to
// 180 ms stay under it); at a period of 300 ms or more that is the first read.
constexpr int kOverdueReads = 3;
constexpr int kOverdueMs = 300;

}  // namespace

// One frame has come in: it settles the oldest owed reply. True when it is
// the reply to the last command, false when it is dropped.
bool Device::TakeFrame() {
  link.LastTraffic = Now();
  if (link.OwedReplies == 0) {
    if (link.LiveRepliesGivenUp > 0) {
      // A live reply given up as lost came after all: still a sample.
      --link.LiveRepliesGivenUp;
      return true;
    }
    ++link.UnsolicitedReplies;
    return false;
  }
  --link.OwedReplies;
  if (link.StaleReplies == 0) return true;
  --link.StaleReplies;
  ++link.StaleRepliesDiscarded;
  return false;
}

void Device::ForgetLostReplies() {
  if (link.OwedReplies > 0 && ElapsedMs(link.LastTraffic) > link.LostReplyMs) {
    link.ForgottenReplies += link.OwedReplies;
    link.OwedReplies = 0;
    link.StaleReplies = 0;
  }
  if (link.LiveRepliesGivenUp > 0 && ElapsedMs(link.LiveGiveUpTime) > link.LostReplyMs) {
    link.ForgottenReplies += link.LiveRepliesGivenUp;
    link.LiveRepliesGivenUp = 0;
  }
}

void Device::ClearReplyAccounting() {
  link.OwedReplies = 0;
  link.StaleReplies = 0;
  link.LiveRepliesGivenUp = 0;
  link.EmptyReads = 0;
  link.TransportGone = false;
}

void Device::RefuseUndetected() { ui_.Message("Please First Detect the Device!"); }

void Device::CloseDevice() {
  transport_->Close();
  link.HidDeviceOpen = false;
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

bool Device::FindLogger() {
  // A fresh pass starts from a closed device; a socket left open would keep
  // a simulated logger busy with the dead connection.
  CloseDevice();
  Transport& t = *transport_;
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
    link.VendorID = vendor;
    link.ProductID = product;
    link.DevicePathName = paths[i];
    link.HidDeviceOpen = true;
    ClearReplyAccounting();
    link.LastTraffic = Now();
    return true;
  }
  return false;
}

bool Device::LoggerPresent() {
  const int16_t want_vendor = HexTextToInteger(kVendorText);
  const int16_t want_product = HexTextToInteger(kProductText);
  for (const std::string& path : transport_->EnumeratePaths()) {
    int16_t vendor = 0, product = 0;
    if (ParseDeviceIds(path, vendor, product) && vendor == want_vendor && product == want_product) {
      return true;
    }
  }
  return false;
}

bool Device::ReadReply() {
  if (!link.DeviceConnected) {
    RefuseUndetected();
    return false;
  }
  std::memset(link.ReadBuffer, 0, 255);
  link.LastReadOk = false;
  const int n = std::clamp<int>(link.ReadLength, 0, kReadBufferSize);
  if (!link.HidDeviceOpen) return false;
  uint8_t frame[kReadBufferSize];
  const int64_t give_up = Now() + kReadWaitMs;
  // A logger that floods frames cannot hold the read past its wait.
  for (int frames = 0; frames < kMaxFramesPerRead; ++frames) {
    const int left = static_cast<int>(give_up - Now());
    if (frames > 0 && left <= 0) break;
    const int got = transport_->Read(frame, n, std::max(left, 0));
    if (got < 0) link.TransportGone = true;
    if (got == 0) Waited(left);
    if (got <= 0) break;
    if (TakeFrame()) {
      std::memcpy(link.ReadBuffer, frame, static_cast<size_t>(got));
      link.LastReadOk = true;
      link.EmptyReads = 0;
      return true;
    }
  }
  ++link.EmptyReads;
  return false;
}

bool Device::LinkQuiet(int wait_ms) {
  if (!link.HidDeviceOpen) return link.OwedReplies == 0;
  uint8_t frame[kReadBufferSize];
  const int64_t give_up = Now() + std::clamp(wait_ms, 0, kReadWaitMs);
  for (int frames = 0; frames < kMaxFramesPerRead; ++frames) {
    ForgetLostReplies();
    int left = 0;
    if (link.OwedReplies > 0) {
      left = std::max(0, static_cast<int>(give_up - Now()));
    }
    const int got = transport_->Read(frame, kReadBufferSize, left);
    if (got < 0) {
      // The device has gone: nothing owed will come, and the next write
      // finds out and restarts the scan.
      link.OwedReplies = link.StaleReplies = link.LiveRepliesGivenUp = 0;
      link.TransportGone = true;
      break;
    }
    if (got == 0) {
      Waited(left);
      break;
    }
    TakeFrame();
  }
  ForgetLostReplies();
  return link.OwedReplies == 0;
}

bool Device::WriteRequest() {
  if (!link.DeviceConnected) {
    RefuseUndetected();
    return false;
  }
  if (!link.HidDeviceOpen) return link.LastWriteOk = false;
  const int n = std::clamp<int>(link.WriteLength, 0, kWriteBufferSize);
  if (n > 11 && link.WriteBuffer[11] == 0x22) {
    // Frames that came stay for the sample reader: a late live reply is a
    // sample, not something to clear away.
    ForgetLostReplies();
  } else {
    LinkQuiet(0);
    // Live replies given up that still come answer nothing asked now.
    link.OwedReplies += link.LiveRepliesGivenUp;
    link.LiveRepliesGivenUp = 0;
  }
  link.LastWriteOk = transport_->Write(link.WriteBuffer, n);
  if (link.LastWriteOk) {
    // What is still owed answers earlier commands and comes first.
    link.StaleReplies = link.OwedReplies;
    link.OwedReplies += RepliesOwedFor(link.WriteBuffer, n);
    link.LastTraffic = Now();
    link.EmptyReads = 0;
  }
  return link.LastWriteOk;
}

bool Device::ReplyOverdue() const {
  return link.EmptyReads >= kOverdueReads || ElapsedMs(link.LastTraffic) >= kOverdueMs;
}

void Device::GiveUpLiveReply() {
  if (link.OwedReplies <= link.StaleReplies) return;
  --link.OwedReplies;
  ++link.LiveRepliesGivenUp;
  link.LiveGiveUpTime = Now();
}

void Device::ReopenDevice() {
  CloseDevice();
  FindLogger();
}

void Device::StartScan() {
  link.LinkConfirmed = false;
  link.ScanAttempt = 0;
  link.DeviceFound = false;
  link.ScanGaveUp = false;
  scan_timer_->Start(500);
  block_timer_->SetEnabled(false);
}

void Device::OnScanTimer() {
  if (link.DeviceFound) {
    ui_.StatusPanel(1, "find set");
    link.DeviceConnected = link.DeviceFound;
    link.DevicePreviouslyFound = link.DeviceFound;
    scan_timer_->SetEnabled(false);
    SendConnect();
    return;
  }
  ++link.ScanAttempt;
  if (!link.DevicePreviouslyFound) {
    ui_.StatusPanel(1, "Scan for usb devices...." + std::to_string(link.ScanAttempt));
  }
  link.DeviceFound = FindLogger();
  if (link.DeviceFound) return;
  if (link.ScanAttempt > 5) LoseDevice();
}

void Device::LoseDevice() {
  ui_.StatusPanel(1, "No Device !");
  scan_timer_->SetEnabled(false);
  CloseDevice();
  link.DeviceConnected = false;
  link.DevicePreviouslyFound = false;
  link.DeviceFound = false;
  link.ScanAttempt = 0;
  link.LinkConfirmed = false;
  link.ScanGaveUp = true;
  AbandonActiveOperation();
  // A logger that is there but cannot be opened is not "no device": say
  // why, and what the user can do about it.
  const std::string problem = transport_->OpenProblem();
  if (!problem.empty()) ui_.Message(problem, MessageIcon::Exclamation);
}

void Device::AbandonActiveOperation() {
  const ActiveOperation op = command.Operation;
  command.Operation = ActiveOperation::None;
  switch (op) {
    case ActiveOperation::Download: AbandonDownload(); break;
    case ActiveOperation::LiveData: AbandonLiveCapture(); break;
    case ActiveOperation::LiveSpectrum: AbandonLiveSpectrum(); break;
    case ActiveOperation::None: break;
  }
}

bool Device::ScanGaveUp() const { return link.ScanGaveUp && !scan_timer_->IsEnabled(); }

bool Device::Connected() const { return link.LinkConfirmed && command.Awaited == CommandCode::None; }

bool Device::ConnectFailed() const {
  if (link.ScanGaveUp) return true;
  // The connect reply was rejected: nothing retries it.
  return !link.LinkConfirmed && command.Awaited == CommandCode::Connect && !reply_timer_->IsEnabled() &&
         !scan_timer_->IsEnabled();
}

}  // namespace accelog
