#include "device/download.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

#include "core/ui_port.h"
#include "model/kvx_file.h"
#include "model/state.h"
#include "model/text_util.h"
#include "model/utils.h"
#include "device/command_engine.h"
#include "device/device_timers.h"
#include "device/frames.h"
#include "device/link.h"
#include "device/texts.h"

namespace accelog {

DownloadState Download;

namespace {

constexpr int kMaxBlockRetries = 50;

std::string FileProblem(const std::string& what) {
  return Data.DownloadFileName + ": " + what + ": " + std::strerror(errno);
}

int32_t SamplesKept() {
  return Data.DownloadBytesWritten < kHeadBytes ? 0 : (Data.DownloadBytesWritten - kHeadBytes) / kSampleBytes;
}

// A file that ends short keeps whole samples only. Its head keeps the count
// the logger announced, so opening it later says the download was not
// finished; one without a single sample is removed, as there is nothing in it
// to open. Every ending comes here.
std::string KeepWholeSamples(int fd) {
  const int32_t kept = SamplesKept();
  const int64_t whole_bytes = kHeadBytes + int64_t{kSampleBytes} * kept;
  if (kept == 0 || Data.DownloadBytesWritten == whole_bytes) return {};
  Data.DownloadBytesWritten = static_cast<int32_t>(whole_bytes);
  if (::ftruncate(fd, whole_bytes) != 0) return FileProblem("cannot be cut to its whole samples");
  return {};
}

// Every byte the kernel has is on the disk, then the file is closed; the
// first failure is the reason, empty when both went well.
std::string CloseDownloadFile() {
  const int fd = Download.DownloadFileNumber;
  Download.DownloadFileNumber = -1;
  if (fd < 0) return {};
  std::string problem = KeepWholeSamples(fd);
  if (::fsync(fd) != 0 && problem.empty()) problem = FileProblem("cannot be saved");
  if (::close(fd) != 0 && problem.empty()) problem = FileProblem("cannot be closed");
  if (SamplesKept() == 0) {
    std::remove(Data.DownloadFileName.c_str());
    Data.DownloadBytesWritten = 0;
  }
  return problem;
}

// Straight to the kernel, no buffer of ours: a block that arrived is in the
// file even if the program dies the next moment.
std::string WriteToFile(const uint8_t* bytes, int n) {
  while (n > 0) {
    const ssize_t put = ::write(Download.DownloadFileNumber, bytes, static_cast<size_t>(n));
    if (put < 0 && errno == EINTR) continue;
    if (put <= 0) {
      if (put == 0) errno = ENOSPC;
      return FileProblem("cannot be written");
    }
    bytes += put;
    n -= static_cast<int>(put);
    Data.DownloadBytesWritten += static_cast<int32_t>(put);
  }
  return {};
}

void ShowBlockCounter() {
  Ui().StatusPanel(4, std::to_string(Download.DownloadBlockIndex) + "    " +
                          std::to_string(Download.DownloadBlockCount));
}

void ShowNoData(DownloadOutcome outcome) {
  Ui().StatusPanel(2, Lang("No data", "下位机器没有数据"));
  Command.CommandCode = 0;
  Data.MenuCommandCode = MenuOperation::None;
  Download.Outcome = outcome;
}

std::string KeptText() {
  if (SamplesKept() == 0) return "no sample kept, no file left";
  return std::to_string(SamplesKept()) + " of " + std::to_string(Data.DeviceSampleCount) + " samples kept";
}

// The end of the block loop, whole or not: the file keeps what arrived and
// the menus work again. Returns the close's problem, if any.
std::string EndBlockLoop(const std::string& text, DownloadOutcome outcome) {
  ShowBlockCounter();
  Download.BlockRetryCount = 0;
  Download.DownloadBlockIndex = 0;
  Download.PendingRequest = 0;
  Timers.Timer1->SetEnabled(false);
  Ui().StatusPanel(2, text);
  Ui().ProgressHide();
  std::string problem = CloseDownloadFile();
  Command.CommandCode = 0;
  Command.ActiveOperation = 0;
  Data.MenuCommandCode = MenuOperation::None;
  Ui().RestoreMenus(11);
  Download.Outcome = outcome;
  return problem;
}

// A download that cannot go on: nothing is shown as if it were whole, and
// the message names the file and the reason.
void Fail(const std::string& reason) {
  const std::string problem = EndBlockLoop(Lang("Download failed", "下载失败"), DownloadOutcome::Failed);
  Ui().Message(reason + "; " + KeptText() + (problem.empty() ? "" : "; " + problem),
               MessageIcon::Exclamation);
}

void FailWith(const std::string& why) { Fail(Data.DownloadFileName + ": " + why); }

// "Download End" only once the file is on the disk.
void Finish() {
  const std::string problem = CloseDownloadFile();
  if (!problem.empty()) {
    Fail(problem);
    return;
  }
  // The logger's end-of-data reply can come before the count it announced.
  const int32_t kept = SamplesKept();
  const bool whole = kept == Data.DeviceSampleCount;
  EndBlockLoop(Lang("Download End", "下载完成"), whole ? DownloadOutcome::Ended : DownloadOutcome::Short);
  if (!whole) {
    Ui().Message(Data.DownloadFileName + ": the logger ended after " + std::to_string(kept) + " of " +
                     std::to_string(Data.DeviceSampleCount) + " samples" +
                     (kept == 0 ? "; no file left" : ""),
                 MessageIcon::Exclamation);
  }
  if (kept > 0) Ui().ShowDataFile(Data.DownloadFileName);
}

// Frames no command asked for mean the replies can no longer be matched to
// the commands: nothing after them can be trusted.
bool RepliesTrusted() {
  if (Link.UnsolicitedReplies == Download.UnsolicitedAtStart) return true;
  FailWith("the logger sent replies no command asked for");
  return false;
}

// A block is asked for only when no earlier reply is owed: a late block then
// never lands in the place of the next one, and a late logger is not sent
// repeats that it would answer late too. The request waits on Timer1.
void RequestBlock(bool repeat) {
  Command.CommandCode = 24;
  Command.ActiveOperation = 24;
  if (!LinkQuiet(kReadWaitMs)) {
    Download.PendingRequest = repeat ? 0x25 : 0x24;
    Timers.Timer1->SetEnabled(true);
    return;
  }
  Download.PendingRequest = 0;
  if (!RepliesTrusted()) return;
  if (repeat) {
    SendCommand_25();
  } else {
    SendCommand_24();
  }
  // A failed write has already restarted the scan; the download ends here
  // instead of waiting with its codes set for a later lost-device step.
  if (!Link.LastWriteOk) FailWith("the link to the logger failed");
}

// A rejected reply: ask for the same block again, up to 50 times in a row.
// A tick spent waiting for an owed reply counts as a try too, so a silent
// logger still fails after 51 (about 6 s).
bool TriesLeft() {
  if (++Download.BlockRetryCount <= kMaxBlockRetries) return true;
  FailWith("no valid reply for block " + std::to_string(Download.DownloadBlockIndex + 1) + " after " +
           std::to_string(kMaxBlockRetries + 1) + " tries");
  return false;
}

void RetryBlock(std::span<const uint8_t> reply) {
  if (CheckDownloadCommandStop_Boolean(reply)) {
    Finish();
    return;
  }
  --Download.DownloadBlockIndex;
  if (TriesLeft()) RequestBlock(true);
}

void TimeOut() {
  Timers.Timer1->SetEnabled(false);
  CloseDownloadFile();
  Ui().StatusPanel(2, MachineParameter.LanguageFlag == 1
                          ? "Communction Over Time" + std::to_string(Command.CommandCode)
                          : std::string("通讯超时失败"));
  Ui().StatusPanel(1, " ");
  Download.CommTimeoutCount = 0;
  Data.DataLoaded = false;
  Data.FrequencyFileLoaded = false;
  Data.FrequencyView = false;
  Command.CommandCode = 0;
  Data.MenuCommandCode = MenuOperation::None;
  Ui().RestoreMenus(11);
  usbDeviceDetect();
  const bool downloading = Command.ActiveOperation == 24;
  AbandonActiveOperation();
  if (downloading) Download.Outcome = DownloadOutcome::TimedOut;
}

// A count past what a file can hold and still be opened is shown and asked
// about before months of blocks begin.
bool CountConfirmed(uint32_t count) {
  if (count < static_cast<uint32_t>(kTooManyPoints)) return true;
  return Ui().AskOkCancel("The logger reports " + std::to_string(count) +
                          " samples; a file of more than " + std::to_string(kTooManyPoints - 1) +
                          " samples cannot be opened here. Download anyway?");
}

}  // namespace

void ResetDownloadState() {
  CloseDownloadFile();
  Download = DownloadState{};
}

int16_t LastBlockLengthFor(uint32_t count) {
  return count % 8 == 0 ? 0 : static_cast<int16_t>((count % 8) * 6 + kFrameOverhead);
}

int32_t BlockCountFor(uint32_t count) {
  return static_cast<int32_t>(count / 8 + (count % 8 == 0 ? 0 : 1));
}

std::string DownloadTargetProblem(const std::string& name) {
  namespace fs = std::filesystem;
  const fs::path path(name);
  if (path.filename() == ".kvx") return "names a folder, not a file";
  std::error_code ec;
  const fs::file_status st = fs::status(path, ec);
  if (fs::is_directory(st)) return "is a folder";
  if (fs::exists(st) && !fs::is_regular_file(st)) return "is not a regular file";
  const fs::path parent = path.parent_path().empty() ? fs::path(".") : path.parent_path();
  if (!fs::is_directory(parent, ec)) return "folder " + parent.string() + " does not exist";
  if (::access(parent.c_str(), W_OK | X_OK) != 0) return std::strerror(errno);
  return {};
}

void File008_Click() {
  if (!Link.LinkConfirmed) {
    Ui().Message(Lang("No Connet", "没有连接设备"));
    return;
  }
  if (Data.MenuCommandCode != MenuOperation::None) return;
  Data.DataLoaded = false;
  Data.FrequencyFileLoaded = false;
  Data.FrequencyView = false;
  Data.MenuCommandCode = MenuOperation::None;
  Ui().ClearChart();

  const std::string chosen = Ui().SaveFileName("Select File", "*.KVX");
  const std::string name = chosen.empty() ? std::string() : FileNameFilter_String(chosen) + ".kvx";
  if (TrimBlanks(name).empty()) return;
  // Checked before the logger is asked anything: a folder is never the file.
  if (const std::string problem = DownloadTargetProblem(name); !problem.empty()) {
    Ui().Message(name + ": " + problem, MessageIcon::Exclamation);
    Download.Outcome = DownloadOutcome::Failed;
    return;
  }
  std::error_code ec;
  if (std::filesystem::exists(name, ec)) {
    if (!Ui().AskOkCancel("The filename already exists ,overwrite it  ?")) return;
    if (!std::filesystem::remove(name, ec)) {
      Ui().Message(name + ": cannot be replaced: " + ec.message(), MessageIcon::Exclamation);
      Download.Outcome = DownloadOutcome::Failed;
      return;
    }
  }
  Data.DownloadFileName = name;
  Data.MenuCommandCode = MenuOperation::Download;
  Download.Outcome = DownloadOutcome::Running;
  SendCommand_23();
}

void DataInquiry_23() {
  Timers.TimerMSComm->SetEnabled(false);
  Link.ReadLength = 34;
  ReadReport_Boolean();
  const std::span<const uint8_t> reply(Link.ReadBuffer, 34);
  if (!CheckCommand23_Boolean(reply)) {
    ShowNoData(DownloadOutcome::NoReply);
    return;
  }
  Ui().StatusPanel(2, Lang("Send 'command 23'  is ok", "发送回收数据指令23成功"));
  Command.CommandCode = 0;
  const uint32_t count = (uint32_t{reply[22]} << 24) | (uint32_t{reply[23]} << 16) |
                         (uint32_t{reply[24]} << 8) | uint32_t{reply[25]};
  Data.DeviceSampleCount = static_cast<int32_t>(count);
  if (count < 8) {
    ShowNoData(DownloadOutcome::NoData);
    return;
  }
  Ui().StatusPanel(2, Lang("Total:", "下位机有数据") + std::to_string(count));
  if (!CountConfirmed(count)) {
    Data.MenuCommandCode = MenuOperation::None;
    Download.Outcome = DownloadOutcome::Declined;
    return;
  }
  Ui().ProgressShow(1, static_cast<int>(count / 8 + 1));

  Data.DownloadBytesWritten = 0;
  Download.DownloadFileNumber =
      ::open(Data.DownloadFileName.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (Download.DownloadFileNumber < 0) {
    Fail(FileProblem("cannot be created"));
    return;
  }
  if (const std::string problem = WriteToFile(reply.data() + 13, 19); !problem.empty()) {
    Fail(problem);
    return;
  }
  Download.DownloadBlockCount = BlockCountFor(count);
  Download.LastBlockLength = LastBlockLengthFor(count);
  Download.DownloadBlockIndex = 0;
  Download.BlockRetryCount = 0;
  Download.PendingRequest = 0;
  Download.UnsolicitedAtStart = Link.UnsolicitedReplies;
  Timers.Timer1->SetInterval(10);
  Command.CommandCode = 24;
  Ui().RestoreMenus(11);
  Command.ActiveOperation = 24;
  RequestBlock(false);
}

void Timer1_Timer() {
  ++Download.CommTimeoutCount;
  if (Download.CommTimeoutCount > 3) {
    TimeOut();
    return;
  }
  switch (Command.CommandCode) {
    case 24: BlockReader_24(); break;
    case 22:
      if (RealTimeHooks.Timer1Branch22) RealTimeHooks.Timer1Branch22();
      break;
    case 21:
      if (RealTimeHooks.Timer1Branch21) RealTimeHooks.Timer1Branch21();
      break;
    default: break;
  }
}

void BlockReader_24() {
  Timers.Timer1->SetEnabled(false);
  Download.CommTimeoutCount = 0;
  if (Download.PendingRequest != 0) {
    const bool repeat = Download.PendingRequest == 0x25;
    if (!repeat || TriesLeft()) RequestBlock(repeat);
    return;
  }
  ++Download.DownloadBlockIndex;
  const bool partial_last =
      Download.LastBlockLength > 0 && Download.DownloadBlockIndex == Download.DownloadBlockCount;
  Link.ReadLength = static_cast<int16_t>(partial_last ? Download.LastBlockLength : kBlockReplyLength);
  ReadReport_Boolean();
  const std::span<const uint8_t> reply(Link.ReadBuffer, static_cast<size_t>(Link.ReadLength));
  Ui().ProgressValue(Download.DownloadBlockIndex);
  ShowBlockCounter();

  if (Download.DownloadBlockIndex <= Download.DownloadBlockCount &&
      Link.ReadLength == kBlockReplyLength) {
    if (!CheckCommand24_Boolean(reply, kBlockReplyLength)) {
      RetryBlock(reply);
      return;
    }
    Download.BlockRetryCount = 0;
    Ui().StatusPanel(2, "ok");
    if (const std::string problem = WriteToFile(reply.data() + 13, 48); !problem.empty()) {
      Fail(problem);
      return;
    }
    if (Download.LastBlockLength == 0 && Download.DownloadBlockIndex == Download.DownloadBlockCount) {
      if (RepliesTrusted()) Finish();
    } else {
      RequestBlock(false);
    }
  } else if (partial_last) {
    if (!CheckCommand24_Boolean(reply, Download.LastBlockLength)) {
      RetryBlock(reply);
      return;
    }
    Download.BlockRetryCount = 0;
    Ui().StatusPanel(2, "ok");
    Command.CommandCode = 0;
    if (const std::string problem = WriteToFile(reply.data() + 13, Download.LastBlockLength - kFrameOverhead);
        !problem.empty()) {
      Fail(problem);
      return;
    }
    if (RepliesTrusted()) Finish();
  }
}

void StopDownload() {
  if (Data.MenuCommandCode != MenuOperation::Download) return;
  const std::string stopped = Lang("Download stopped", "下载已停止");
  if (Command.ActiveOperation != 24) {
    // Still asking how much there is: no file yet.
    Timers.TimerMSComm->SetEnabled(false);
    Command.CommandCode = 0;
    Data.MenuCommandCode = MenuOperation::None;
    Ui().StatusPanel(2, stopped);
    Download.Outcome = DownloadOutcome::Stopped;
    return;
  }
  const std::string problem = EndBlockLoop(stopped, DownloadOutcome::Stopped);
  Ui().Message(Data.DownloadFileName + ": stopped; " + KeptText() +
                   (problem.empty() ? "" : "; " + problem),
               MessageIcon::Information);
}

void AbandonDownload() {
  Download.DownloadBlockIndex = 0;
  Download.PendingRequest = 0;
  Timers.Timer1->SetEnabled(false);
  Ui().ProgressHide();
  CloseDownloadFile();
  Command.CommandCode = 0;
  Data.MenuCommandCode = MenuOperation::None;
  Ui().RestoreMenus(11);
  if (Download.Outcome == DownloadOutcome::Running) Download.Outcome = DownloadOutcome::DeviceLost;
}

}  // namespace accelog
