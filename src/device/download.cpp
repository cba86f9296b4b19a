
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <utility>

#include "core/ui_port.h"
#include "model/kvx_file.h"
#include "model/dataset.h"
#include "model/text_util.h"
#include "model/utils.h"
#include "device/device.h"
#include "device/frames.h"
#include "device/texts.h"

namespace accelog {

namespace {

constexpr int kMaxBlockRetries = 50;

}  // namespace

std::string Device::FileProblem(const std::string& what) const {
  return data_.DownloadFileName + ": " + what + ": " + std::strerror(errno);
}

int32_t Device::SamplesKept() const {
  return data_.DownloadBytesWritten < kHeadBytes ? 0 : (data_.DownloadBytesWritten - kHeadBytes) / kSampleBytes;
}

// A file that ends short keeps whole samples only. Its head keeps the count
// the logger announced, so opening it later says the download was not
// finished; one without a single sample is removed, as there is nothing in it
// to open. Every ending comes here.
std::string Device::KeepWholeSamples(int fd) {
  const int32_t kept = SamplesKept();
  const int64_t whole_bytes = kHeadBytes + int64_t{kSampleBytes} * kept;
  if (kept == 0 || data_.DownloadBytesWritten == whole_bytes) return {};
  data_.DownloadBytesWritten = static_cast<int32_t>(whole_bytes);
  if (::ftruncate(fd, whole_bytes) != 0) return FileProblem("cannot be cut to its whole samples");
  return {};
}

// Every byte the kernel has is on the disk, then the file is closed; the
// first failure is the reason, empty when both went well.
std::string Device::CloseDownloadFile() {
  const int fd = download.FileDescriptor;
  download.FileDescriptor = -1;
  if (fd < 0) return {};
  std::string problem = KeepWholeSamples(fd);
  if (::fsync(fd) != 0 && problem.empty()) problem = FileProblem("cannot be saved");
  if (::close(fd) != 0 && problem.empty()) problem = FileProblem("cannot be closed");
  if (SamplesKept() == 0) {
    std::remove(data_.DownloadFileName.c_str());
    data_.DownloadBytesWritten = 0;
  }
  return problem;
}

// Straight to the kernel, no buffer of ours: a block that arrived is in the
// file even if the program dies the next moment.
std::string Device::WriteToFile(const uint8_t* bytes, int n) {
  while (n > 0) {
    const ssize_t put = ::write(download.FileDescriptor, bytes, static_cast<size_t>(n));
    if (put < 0 && errno == EINTR) continue;
    if (put <= 0) {
      if (put == 0) errno = ENOSPC;
      return FileProblem("cannot be written");
    }
    bytes += put;
    n -= static_cast<int>(put);
    data_.DownloadBytesWritten += static_cast<int32_t>(put);
  }
  return {};
}

void Device::ShowBlockCounter() {
  ui_.StatusPanel(4, std::to_string(download.BlockIndex) + "    " +
                          std::to_string(download.BlockCount));
}

void Device::ShowNoData(DownloadOutcome outcome) {
  ui_.StatusPanel(2, Lang("No data", "下位机器没有数据"));
  command.Awaited = CommandCode::None;
  data_.MenuCommandCode = MenuOperation::None;
  download.Outcome = outcome;
  ReportDownload({});
}

std::string Device::KeptText() const {
  if (SamplesKept() == 0) return "no sample kept, no file left";
  return std::to_string(SamplesKept()) + " of " + std::to_string(data_.DeviceSampleCount) + " samples kept";
}

// The end of the block loop, whole or not: the file keeps what arrived and
// the menus work again. Returns the close's problem, if any.
std::string Device::EndBlockLoop(const std::string& text, DownloadOutcome outcome) {
  ShowBlockCounter();
  download.BlockRetryCount = 0;
  download.BlockIndex = 0;
  download.PendingRequest = 0;
  block_timer_->SetEnabled(false);
  ui_.StatusPanel(2, text);
  ui_.ProgressHide();
  std::string problem = CloseDownloadFile();
  command.Awaited = CommandCode::None;
  command.Operation = ActiveOperation::None;
  data_.MenuCommandCode = MenuOperation::None;
  ui_.RestoreMenus(11);
  download.Outcome = outcome;
  return problem;
}

// A download that cannot go on: nothing is shown as if it were whole, and
// the message names the file and the reason.
void Device::Fail(const std::string& reason) {
  const std::string problem = EndBlockLoop(Lang("Download failed", "下载失败"), DownloadOutcome::Failed);
  const std::string message = reason + "; " + KeptText() + (problem.empty() ? "" : "; " + problem);
  ui_.Message(message, MessageIcon::Exclamation);
  ReportDownload(message);
}

void Device::FailWith(const std::string& why) { Fail(data_.DownloadFileName + ": " + why); }

// "Download End" only once the file is on the disk.
void Device::Finish() {
  const std::string problem = CloseDownloadFile();
  if (!problem.empty()) {
    Fail(problem);
    return;
  }
  // The logger's end-of-data reply can come before the count it announced.
  const int32_t kept = SamplesKept();
  const bool whole = kept == data_.DeviceSampleCount;
  EndBlockLoop(Lang("Download End", "下载完成"), whole ? DownloadOutcome::Ended : DownloadOutcome::Short);
  std::string message;
  if (!whole) {
    message = data_.DownloadFileName + ": the logger ended after " + std::to_string(kept) + " of " +
              std::to_string(data_.DeviceSampleCount) + " samples" + (kept == 0 ? "; no file left" : "");
    ui_.Message(message, MessageIcon::Exclamation);
  }
  if (kept > 0) ui_.ShowDataFile(data_.DownloadFileName);
  ReportDownload(message);
}

// Frames no command asked for mean the replies can no longer be matched to
// the commands: nothing after them can be trusted.
bool Device::RepliesTrusted() {
  if (link.UnsolicitedReplies == download.UnsolicitedAtStart) return true;
  FailWith("the logger sent replies no command asked for");
  return false;
}

// A block is asked for only when no earlier reply is owed: a late block then
// never lands in the place of the next one, and a late logger is not sent
// repeats that it would answer late too. The request waits on the block timer.
void Device::RequestBlock(bool repeat) {
  command.Awaited = CommandCode::Block;
  command.Operation = ActiveOperation::Download;
  if (!LinkQuiet(kReadWaitMs)) {
    download.PendingRequest = repeat ? 0x25 : 0x24;
    block_timer_->SetEnabled(true);
    return;
  }
  download.PendingRequest = 0;
  if (!RepliesTrusted()) return;
  if (repeat) {
    SendBlockRepeat();
  } else {
    SendBlockRequest();
  }
  // A failed write has already restarted the scan; the download ends here
  // instead of waiting with its codes set for a later lost-device step.
  if (!link.LastWriteOk) FailWith("the link to the logger failed");
}

// A rejected reply: ask for the same block again, up to 50 times in a row.
// A tick spent waiting for an owed reply counts as a try too, so a silent
// logger still fails after 51 (about 6 s).
bool Device::TriesLeft() {
  if (++download.BlockRetryCount <= kMaxBlockRetries) return true;
  FailWith("no valid reply for block " + std::to_string(download.BlockIndex + 1) + " after " +
           std::to_string(kMaxBlockRetries + 1) + " tries");
  return false;
}

void Device::RetryBlock(std::span<const uint8_t> reply) {
  if (CheckEndOfData(reply)) {
    Finish();
    return;
  }
  --download.BlockIndex;
  if (TriesLeft()) RequestBlock(true);
}

void Device::TimeOut() {
  block_timer_->SetEnabled(false);
  CloseDownloadFile();
  ui_.StatusPanel(2, parameters_.LanguageFlag == 1
                          ? "Communction Over Time" + std::to_string(static_cast<int>(command.Awaited))
                          : std::string("通讯超时失败"));
  ui_.StatusPanel(1, " ");
  download.CommTimeoutCount = 0;
  data_.DataLoaded = false;
  data_.FrequencyFileLoaded = false;
  data_.FrequencyView = false;
  command.Awaited = CommandCode::None;
  data_.MenuCommandCode = MenuOperation::None;
  ui_.RestoreMenus(11);
  StartScan();
  const bool downloading = command.Operation == ActiveOperation::Download;
  if (downloading) download.Outcome = DownloadOutcome::TimedOut;
  AbandonActiveOperation();
  if (downloading) ReportDownload(data_.DownloadFileName + ": the logger stopped answering");
}

// A count past what a file can hold and still be opened is shown and asked
// about before months of blocks begin.
bool Device::CountConfirmed(uint32_t count) {
  if (count < static_cast<uint32_t>(kTooManyPoints)) return true;
  const std::string question = "The logger reports " + std::to_string(count) +
                          " samples; a file of more than " + std::to_string(kTooManyPoints - 1) +
                          " samples cannot be opened here. Download anyway?";
  if (download.Options.confirm_large_count) return download.Options.confirm_large_count(question);
  return ui_.AskOkCancel(question);
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

void Device::Download(const std::string& path, DownloadOptions options) {
  download.Options = std::move(options);
  data_.DownloadFileName = path;
  data_.MenuCommandCode = MenuOperation::Download;
  download.Outcome = DownloadOutcome::Running;
  SendDataInquiry();
}

void Device::ReportDownload(const std::string& message) {
  DownloadResult result;
  result.outcome = download.Outcome;
  result.message = message;
  result.file = data_.DownloadFileName;
  result.samples_kept = SamplesKept();
  result.samples_announced = data_.DeviceSampleCount;
  if (auto finished = std::exchange(download.Options.finished, nullptr)) finished(result);
}

void Device::ReadDataInquiryReply() {
  reply_timer_->SetEnabled(false);
  link.ReadLength = 34;
  ReadReply();
  const std::span<const uint8_t> reply(link.ReadBuffer, 34);
  if (!CheckInquiryReply(reply)) {
    ShowNoData(DownloadOutcome::NoReply);
    return;
  }
  ui_.StatusPanel(2, Lang("Send 'command 23'  is ok", "发送回收数据指令23成功"));
  command.Awaited = CommandCode::None;
  const uint32_t count = (uint32_t{reply[22]} << 24) | (uint32_t{reply[23]} << 16) |
                         (uint32_t{reply[24]} << 8) | uint32_t{reply[25]};
  data_.DeviceSampleCount = static_cast<int32_t>(count);
  if (count < 8) {
    ShowNoData(DownloadOutcome::NoData);
    return;
  }
  ui_.StatusPanel(2, Lang("Total:", "下位机有数据") + std::to_string(count));
  if (!CountConfirmed(count)) {
    data_.MenuCommandCode = MenuOperation::None;
    download.Outcome = DownloadOutcome::Declined;
    ReportDownload({});
    return;
  }
  ui_.ProgressShow(1, static_cast<int>(count / 8 + 1));

  data_.DownloadBytesWritten = 0;
  download.FileDescriptor =
      ::open(data_.DownloadFileName.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (download.FileDescriptor < 0) {
    Fail(FileProblem("cannot be created"));
    return;
  }
  if (const std::string problem = WriteToFile(reply.data() + 13, 19); !problem.empty()) {
    Fail(problem);
    return;
  }
  download.BlockCount = BlockCountFor(count);
  download.LastBlockLength = LastBlockLengthFor(count);
  download.BlockIndex = 0;
  download.BlockRetryCount = 0;
  download.PendingRequest = 0;
  download.UnsolicitedAtStart = link.UnsolicitedReplies;
  block_timer_->SetInterval(10);
  command.Awaited = CommandCode::Block;
  ui_.RestoreMenus(11);
  command.Operation = ActiveOperation::Download;
  RequestBlock(false);
}

void Device::OnBlockTimer() {
  ++download.CommTimeoutCount;
  if (download.CommTimeoutCount > 3) {
    TimeOut();
    return;
  }
  switch (command.Awaited) {
    case CommandCode::Block: ReadBlockReply(); break;
    case CommandCode::LiveSample: ReadLiveSample(); break;
    case CommandCode::SpectrumSet: ReadSpectrumSet(); break;
    default: break;
  }
}

void Device::ReadBlockReply() {
  block_timer_->SetEnabled(false);
  download.CommTimeoutCount = 0;
  if (download.PendingRequest != 0) {
    const bool repeat = download.PendingRequest == 0x25;
    if (!repeat || TriesLeft()) RequestBlock(repeat);
    return;
  }
  ++download.BlockIndex;
  const bool partial_last =
      download.LastBlockLength > 0 && download.BlockIndex == download.BlockCount;
  link.ReadLength = static_cast<int16_t>(partial_last ? download.LastBlockLength : kBlockReplyLength);
  ReadReply();
  const std::span<const uint8_t> reply(link.ReadBuffer, static_cast<size_t>(link.ReadLength));
  ui_.ProgressValue(download.BlockIndex);
  ShowBlockCounter();

  if (download.BlockIndex <= download.BlockCount &&
      link.ReadLength == kBlockReplyLength) {
    if (!CheckBlockReply(reply, kBlockReplyLength)) {
      RetryBlock(reply);
      return;
    }
    download.BlockRetryCount = 0;
    ui_.StatusPanel(2, "ok");
    if (const std::string problem = WriteToFile(reply.data() + 13, 48); !problem.empty()) {
      Fail(problem);
      return;
    }
    if (download.LastBlockLength == 0 && download.BlockIndex == download.BlockCount) {
      if (RepliesTrusted()) Finish();
    } else {
      RequestBlock(false);
    }
  } else if (partial_last) {
    if (!CheckBlockReply(reply, download.LastBlockLength)) {
      RetryBlock(reply);
      return;
    }
    download.BlockRetryCount = 0;
    ui_.StatusPanel(2, "ok");
    command.Awaited = CommandCode::None;
    if (const std::string problem = WriteToFile(reply.data() + 13, download.LastBlockLength - kFrameOverhead);
        !problem.empty()) {
      Fail(problem);
      return;
    }
    if (RepliesTrusted()) Finish();
  }
}

void Device::StopDownload() {
  if (data_.MenuCommandCode != MenuOperation::Download) return;
  const std::string stopped = Lang("Download stopped", "下载已停止");
  if (command.Operation != ActiveOperation::Download) {
    // Still asking how much there is: no file yet.
    reply_timer_->SetEnabled(false);
    command.Awaited = CommandCode::None;
    data_.MenuCommandCode = MenuOperation::None;
    ui_.StatusPanel(2, stopped);
    download.Outcome = DownloadOutcome::Stopped;
    ReportDownload(data_.DownloadFileName + ": stopped");
    return;
  }
  const std::string problem = EndBlockLoop(stopped, DownloadOutcome::Stopped);
  const std::string message = data_.DownloadFileName + ": stopped; " + KeptText() + (problem.empty() ? "" : "; " + problem);
  ui_.Message(message, MessageIcon::Information);
  ReportDownload(message);
}

void Device::AbandonDownload() {
  download.BlockIndex = 0;
  download.PendingRequest = 0;
  block_timer_->SetEnabled(false);
  ui_.ProgressHide();
  CloseDownloadFile();
  command.Awaited = CommandCode::None;
  data_.MenuCommandCode = MenuOperation::None;
  ui_.RestoreMenus(11);
  if (download.Outcome == DownloadOutcome::Running) {
    download.Outcome = DownloadOutcome::DeviceLost;
    ReportDownload(data_.DownloadFileName + ": the logger was lost; " + KeptText());
  }
}

}  // namespace accelog
