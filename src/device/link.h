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

  // Reply accounting. The logger answers every command in order, one reply
  // each (32 for 0x21), but a reply may come late, or never. A reply is never
  // forgotten because its read gave up: it stays owed, and when it comes it
  // is dropped instead of being taken for the answer to a later command.
  int OwedReplies;         // replies still to come for the commands written
  int StaleReplies;        // of those, the ones owed to earlier commands
  int UnsolicitedReplies;  // frames that came while nothing was owed
  int ForgottenReplies;    // owed replies given up after LostReplyMs of silence
  int StaleRepliesDiscarded;
  std::chrono::steady_clock::time_point LastTraffic;  // last write or arriving frame
  int LostReplyMs;  // silence after which owed replies count as lost

  // A live sample (0x22) has no number: its reply answers whichever live
  // request is waiting. A reply that has not come after kOverdueReads reads
  // or kOverdueMs is given up: it is no longer owed and the sample is asked
  // for again, but if it still comes it is taken like any other.
  int EmptyReads;                // reads in a row that found nothing
  int LiveRepliesGivenUp;        // 0x22 replies given up that may still come
  std::chrono::steady_clock::time_point LiveGiveUpTime;
  bool TransportGone;            // a read found the device gone
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
// The reply to the last command written: replies owed to earlier commands
// are dropped on the way. Up to ReadLength bytes into ReadBuffer, waiting at
// most 100 ms in all.
bool ReadReport_Boolean();
// Takes in the frames that have come (owed replies whose reads gave up, and
// unsolicited ones), waiting at most wait_ms (capped at 100) while replies are
// owed, and forgets owed replies after LostReplyMs without traffic. True when
// nothing is owed: the reply to a command written now is the next frame.
bool LinkQuiet(int wait_ms);
// Write WriteLength bytes of WriteBuffer.
bool WriteReport_Boolean();
// Whether the reply awaited is overdue: too many empty reads, or too long
// since the last traffic. Until then it may only be late.
bool ReplyOverdue();
// The reply to the last live sample request is given up as lost.
void GiveUpLiveReply();
// The lost-device step: "No Device !", the link down and the running
// operation ended, as the scan does after its sixth failed pass.
void LoseDevice();
// Whether a path of the logger is listed now; nothing is opened.
bool LoggerPresent();
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
