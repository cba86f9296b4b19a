#pragma once
// "Download Data": the data inquiry, the block loop of Timer1 with its
// retries and the communication time-out, and the clean-ups.
#include <cstdint>
#include <string>

namespace accelog {

// NoReply: the data inquiry got no valid answer; NoData: a valid answer of
// fewer than 8 samples; Declined: a count too large to open was not confirmed;
// Short: the logger's end-of-data reply came before the samples it announced.
enum class DownloadOutcome {
  None, Running, Ended, Failed, NoData, NoReply, Declined, Stopped, TimedOut, DeviceLost, Short
};

struct DownloadState {
  int DownloadFileNumber = -1; // descriptor of the open download file
  int32_t DownloadBlockCount;  // blocks to fetch
  int16_t LastBlockLength;     // reply length of a partial last block, else 0
  int32_t DownloadBlockIndex;  // blocks requested so far
  int16_t BlockRetryCount;     // consecutive rejected block replies
  int16_t CommTimeoutCount;    // Timer1 ticks no branch took
  uint8_t PendingRequest;      // 0x24 or 0x25 held back until no reply is owed
  int UnsolicitedAtStart;      // Link.UnsolicitedReplies when the block loop began
  DownloadOutcome Outcome;     // how the last download ended
};

extern DownloadState Download;

// Closes any open download file and clears the state.
void ResetDownloadState();

// The "Download Data" menu item.
void File008_Click();
// Why `name` cannot be the download file (a folder, a missing or closed
// folder...), empty when it can.
std::string DownloadTargetProblem(const std::string& name);
// Escape and the CLI's signals: ends a running download or inquiry; the file
// keeps the whole blocks received.
void StopDownload();
// TimerMSComm branch 23: the reply to the data inquiry.
void DataInquiry_23();
// Timer1: the time-out prologue, then the branch CommandCode names.
void Timer1_Timer();
// Timer1 branch 24: one block reply.
void BlockReader_24();
// The lost-device step for ActiveOperation 24.
void AbandonDownload();

// 15 + 6 x (count mod 8), 0 for a multiple of 8.
int16_t LastBlockLengthFor(uint32_t count);
int32_t BlockCountFor(uint32_t count);

}  // namespace accelog
