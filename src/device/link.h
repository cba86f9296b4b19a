#pragma once
// The link to the logger: the device scan, the connection flags and the two
// byte operations every command goes through.
#include <chrono>
#include <cstdint>
#include <memory>
#include <string>

#include "device/transport.h"

namespace accelog {

inline constexpr int kReadBufferSize = 2541;
inline constexpr int kWriteBufferSize = 64;
inline constexpr int kMaxScanIndices = 51;

struct LinkState {
  // One open transport path stands for the write handle and the read handle.
  bool HidDeviceOpen;
  std::string DevicePathName;
  int16_t VendorID, ProductID;  // parsed from DevicePathName, signed 16-bit
  int16_t ScanAttempt;
  bool LastWriteOk, LastReadOk;

  bool DeviceFound;
  bool DeviceConnected;
  bool DevicePreviouslyFound;
  bool LinkConfirmed;
  bool ScanGaveUp;  // the last scan ended in "No Device !"

  uint8_t WriteBuffer[kWriteBufferSize];
  int16_t WriteLength;
  uint8_t ReadBuffer[kReadBufferSize];
  int16_t ReadLength;

  // Replies the logger still owes for commands whose read gave up. A reply
  // that comes after its read gave up is discarded before the next command
  // is written, so it is never taken for the reply to that command.
  int OwedReplies;
  std::chrono::steady_clock::time_point OwedSince;
  int StaleReplyGraceMs;  // how long an owed reply is waited for
  int StaleRepliesDiscarded;
};

extern LinkState Link;

// Start-up values; keeps the transport.
void ResetLinkState();

// The transport the link uses (USB unless a program chose otherwise).
void SetDeviceTransport(std::unique_ptr<Transport> transport);
Transport& DeviceTransport();

// (Re)starts the device scan: six passes 500 ms apart.
void usbDeviceDetect();
// One enumeration pass; leaves the accepted device open.
bool FindTheHid_Boolean();
// Read ReadLength bytes into ReadBuffer, waiting at most 100 ms.
bool ReadReport_Boolean();
// Write WriteLength bytes of WriteBuffer.
bool WriteReport_Boolean();
// Closes the device and runs one enumeration pass.
void RestUsbSet();
void CloseDevice();
// The scan tick.
void Timer4_Timer();
// The lost-device step: ends whatever ActiveOperation names.
void AbandonActiveOperation();

// The vendor and product fields of a device path ("...#vid_vvvv&pid_pppp#..."),
// as HexTextToInteger gives them; false when the path has no "#" in its
// first 100 characters.
bool ParseDeviceIds(const std::string& path, int16_t& vendor, int16_t& product);

}  // namespace accelog
