#include "device/download.h"

#include <filesystem>
#include <string>
#include <vector>

#include "core/ui_port.h"
#include "data/state.h"
#include "data/text_util.h"
#include "data/utils.h"
#include "device/command_engine.h"
#include "device/device_timers.h"
#include "device/frames.h"
#include "device/link.h"
#include "device/texts.h"

namespace accelog {

DownloadState Download;

namespace {

constexpr int kMaxBlockRetries = 50;

void CloseDownloadFile() {
  if (Download.DownloadFile) std::fclose(Download.DownloadFile);
  Download.DownloadFile = nullptr;
}

bool WriteToFile(const uint8_t* bytes, int n) {
  if (!Download.DownloadFile) return false;
  if (std::fwrite(bytes, 1, static_cast<size_t>(n), Download.DownloadFile) != static_cast<size_t>(n)) {
    return false;
  }
  Data.DownloadBytesWritten += n;
  return true;
}

void ShowBlockCounter() {
  Ui().StatusPanel(4, std::to_string(Download.DownloadBlockIndex) + "    " +
                          std::to_string(Download.DownloadBlockCount));
}

void ShowNoData() {
  Ui().StatusPanel(2, Lang("No data", "下位机器没有数据"));
  Command.CommandCode = 0;
  Data.MenuCommandCode = 0;
  Download.Outcome = DownloadOutcome::NoData;
}

// The end of the block loop, whole or not: the file keeps what arrived and
// the menus work again.
void EndBlockLoop(const std::string& text, DownloadOutcome outcome) {
  ShowBlockCounter();
  Download.BlockRetryCount = 0;
  Download.DownloadBlockIndex = 0;
  Timers.Timer1->SetEnabled(false);
  Ui().StatusPanel(2, text);
  Ui().ProgressHide();
  CloseDownloadFile();
  Command.CommandCode = 0;
  Command.ActiveOperation = 0;
  Data.MenuCommandCode = 0;
  Ui().RestoreMenus(11);
  Download.Outcome = outcome;
}

void Finish() {
  EndBlockLoop(Lang("Download End", "下载完成"), DownloadOutcome::Ended);
  Ui().ShowDataFile(Data.DownloadFileName);
}

// A download that cannot go on: nothing is shown as if it were whole.
void Fail() { EndBlockLoop(Lang("Download failed", "下载失败"), DownloadOutcome::Failed); }

// A failed write has already restarted the scan; the download ends here
// instead of waiting with its codes set for a later lost-device step.
void RequestBlock(bool repeat) {
  Command.CommandCode = 24;
  Command.ActiveOperation = 24;
  if (repeat) {
    SendCommand_25();
  } else {
    SendCommand_24();
  }
  if (!Link.LastWriteOk) Fail();
}

// A rejected reply: ask for the same block again, up to 50 times in a row.
void RetryBlock(std::span<const uint8_t> reply) {
  if (CheckDownloadCommandStop_Boolean(reply)) {
    Finish();
    return;
  }
  ++Download.BlockRetryCount;
  if (Download.BlockRetryCount > kMaxBlockRetries) {
    Fail();
    return;
  }
  --Download.DownloadBlockIndex;
  RequestBlock(true);
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
  Data.MenuCommandCode = 0;
  Ui().RestoreMenus(11);
  usbDeviceDetect();
  const bool downloading = Command.ActiveOperation == 24;
  AbandonActiveOperation();
  if (downloading) Download.Outcome = DownloadOutcome::TimedOut;
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

void File008_Click() {
  if (!Link.LinkConfirmed) {
    Ui().Message(Lang("No Connet", "没有连接设备"));
    return;
  }
  if (Data.MenuCommandCode != 0) return;
  Data.DataLoaded = false;
  Data.FrequencyFileLoaded = false;
  Data.FrequencyView = false;
  Data.MenuCommandCode = 0;
  Ui().ClearChart();

  const std::string chosen = Ui().SaveFileName("Select File", "*.KVX");
  const std::string name = chosen.empty() ? std::string() : FileNameFilter_String(chosen) + ".kvx";
  if (TrimBlanks(name).empty()) return;
  std::error_code ec;
  if (std::filesystem::exists(name, ec)) {
    if (!Ui().AskOkCancel("The filename already exists ,overwrite it  ?")) return;
    std::filesystem::remove(name, ec);
  }
  Data.DownloadFileName = name;
  Data.MenuCommandCode = 11;
  Download.Outcome = DownloadOutcome::Running;
  SendCommand_23();
}

void DataInquiry_23() {
  Timers.TimerMSComm->SetEnabled(false);
  Link.ReadLength = 34;
  ReadReport_Boolean();
  const std::vector<uint8_t> reply(Link.ReadBuffer, Link.ReadBuffer + 34);
  if (!CheckCommand23_Boolean(reply)) {
    ShowNoData();
    return;
  }
  Ui().StatusPanel(2, Lang("Send 'command 23'  is ok", "发送回收数据指令23成功"));
  Command.CommandCode = 0;
  const uint32_t count = (uint32_t{reply[22]} << 24) | (uint32_t{reply[23]} << 16) |
                         (uint32_t{reply[24]} << 8) | uint32_t{reply[25]};
  Data.DeviceSampleCount = static_cast<int32_t>(count);
  if (count < 8) {
    ShowNoData();
    return;
  }
  Ui().StatusPanel(2, Lang("Total:", "下位机有数据") + std::to_string(count));
  Ui().ProgressShow(1, static_cast<int>(count / 8 + 1));

  Download.DownloadFile = std::fopen(Data.DownloadFileName.c_str(), "wb");
  Data.DownloadBytesWritten = 0;
  if (!WriteToFile(reply.data() + 13, 19)) {
    Fail();
    return;
  }
  Download.DownloadBlockCount = BlockCountFor(count);
  Download.LastBlockLength = LastBlockLengthFor(count);
  Download.DownloadBlockIndex = 0;
  Download.BlockRetryCount = 0;
  Timers.Timer1->SetInterval(10);
  Command.CommandCode = 24;
  Ui().RestoreMenus(11);
  Command.ActiveOperation = 24;
  SendCommand_24();
  if (!Link.LastWriteOk) Fail();
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
  ++Download.DownloadBlockIndex;
  Download.CommTimeoutCount = 0;
  const bool partial_last =
      Download.LastBlockLength > 0 && Download.DownloadBlockIndex == Download.DownloadBlockCount;
  Link.ReadLength = static_cast<int16_t>(partial_last ? Download.LastBlockLength : kBlockReplyLength);
  ReadReport_Boolean();
  const std::vector<uint8_t> reply(Link.ReadBuffer, Link.ReadBuffer + Link.ReadLength);
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
    if (!WriteToFile(reply.data() + 13, 48)) {
      Fail();
      return;
    }
    if (Download.LastBlockLength == 0 && Download.DownloadBlockIndex == Download.DownloadBlockCount) {
      Finish();
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
    if (!WriteToFile(reply.data() + 13, Download.LastBlockLength - kFrameOverhead)) {
      Fail();
      return;
    }
    Finish();
  }
}

void AbandonDownload() {
  Download.DownloadBlockIndex = 0;
  Timers.Timer1->SetEnabled(false);
  Ui().ProgressHide();
  CloseDownloadFile();
  Command.CommandCode = 0;
  Data.MenuCommandCode = 0;
  Ui().RestoreMenus(11);
  if (Download.Outcome == DownloadOutcome::Running) Download.Outcome = DownloadOutcome::DeviceLost;
}

}  // namespace accelog
