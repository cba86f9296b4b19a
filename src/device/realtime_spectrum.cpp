// "Real Time Data For Frequency": 256-sample sets of 32 blocks, each shown
// as it arrives; the last good set is saved when the run ends.
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "core/program_folder.h"
#include "core/ui_port.h"
#include "model/conversion.h"
#include "model/fft.h"
#include "model/kvx_file.h"
#include "model/staged_file.h"
#include "model/state.h"
#include "model/text_util.h"
#include "model/utils.h"
#include "device/command_engine.h"
#include "device/device_timers.h"
#include "device/download.h"
#include "device/frames.h"
#include "device/link.h"
#include "device/realtime.h"
#include "device/texts.h"
#include "model/machine_parameter.h"

namespace accelog {

namespace {

constexpr int kMaxRejectedSets = 10;

// A set is asked for only when no block of an earlier one is owed: a late
// block would otherwise stand in the next set. The request waits on Timer1.
void RequestSet() {
  Command.CommandCode = 21;
  Command.ActiveOperation = 21;
  RealTime.SetRequestPending = !LinkQuiet(kReadWaitMs);
  if (Link.TransportGone) {
    LoseDevice();
  } else if (RealTime.SetRequestPending) {
    Timers.Timer1->SetEnabled(true);
  } else {
    SendCommand_21();
  }
}

// FFTMemory(1..1555) into the capture file, replacing what was there:
// written beside it, checked and renamed, so the name holds a whole set or
// nothing. With no good set there is nothing to save, which is a failure.
bool SaveSpectrumFile(const std::string& file) {
  if (RealTime.GoodSets == 0) {
    Ui().Message(file + ": no spectrum set was received; nothing was saved", MessageIcon::Exclamation);
    return false;
  }
  uint8_t image[kFFTMemoryBytes];
  for (int i = 0; i < kFFTMemoryBytes; ++i) image[i] = static_cast<uint8_t>(Data.FFTMemory[i + 1]);
  std::string staged, reason;
  const int fd = CreateStagedFile(file, staged, reason);
  bool ok = fd >= 0;
  if (ok) {
    errno = 0;
    ok = ::write(fd, image, sizeof image) == static_cast<ssize_t>(sizeof image);
    if (!ok && errno == 0) errno = EFBIG;  // a short write says nothing
    if (!ok) reason = ErrnoReason(file);
    if (::close(fd) != 0 && ok) {
      ok = false;
      reason = ErrnoReason(file);
    }
    ok = FinishStagedFile(staged, file, ok, nullptr, reason);
  }
  if (!ok) Ui().Message("The capture file could not be written: " + reason, MessageIcon::Exclamation);
  return ok;
}

// The end of a run that reached its end procedure.
void EndSpectrumRun(LiveOutcome outcome) {
  RealTime.SpectrumOutcome = outcome;
  MenuFile011();
  RealTime.SpectrumState = 0;
}

}  // namespace

void RequestSpectrumStop() {
  if (RealTime.SpectrumState == 1) RealTime.SpectrumState = 2;
}

void File011_Click() {
  if (!Link.LinkConfirmed) {
    Ui().Message(Lang("No Connet", "没有连接设备"));
    return;
  }
  if (Data.MenuCommandCode != MenuOperation::None && Data.MenuCommandCode != MenuOperation::LiveSpectrum) return;
  switch (RealTime.SpectrumState) {
    case 1: RealTime.SpectrumState = 2; return;
    case 2: return;
    case 3: EndSpectrumRun(LiveOutcome::Stopped); return;
    default: break;
  }

  std::string name;
  if (!Ui().AskOkCancel("Do you want to save FFT Data  ?", "  ")) {
    name = ProgramFile(kSpectrumCancelName);
  } else {
    const std::string chosen = Ui().SaveFileName("Select File", "*.KVX");
    if (TrimBlanks(chosen).empty()) return;
    // The rule first: the file asked about is the file that is written.
    name = SpectrumFileName(FileNameFilter_String(chosen) + ".kvx");
    std::error_code ec;
    if (std::filesystem::exists(name, ec)) {
      if (!Ui().AskOkCancel("The filename already exists ,overwrite it  ?")) return;
      if (!std::filesystem::remove(name, ec)) {
        Ui().Message("The capture file " + name + " could not be written: " + ec.message(),
                     MessageIcon::Exclamation);
        return;
      }
    }
    Ui().Message("File name is  " + name);
  }
  Data.DownloadFileName = name;

  Data.DataLoaded = false;
  Data.FrequencyFileLoaded = false;
  Data.MenuCommandCode = MenuOperation::None;
  Ui().ClearChart();
  ClearOtherRunsPanels();
  Download.CommTimeoutCount = 0;
  Data.MenuCommandCode = MenuOperation::LiveSpectrum;  // the menus follow it
  Ui().RestoreMenus(13);
  Ui().LiveChartReady(13, name);
  SetCurFromClock();  // the sets' start is this run's, not an earlier file's
  SaveParameterToFFTMemory();

  RealTime.GoodSets = 0;
  RealTime.DataErrorCount = 0;
  RealTime.SetRequestPending = false;
  RealTime.SpectrumOutcome = LiveOutcome::Running;
  Command.ActiveOperation = 21;
  // All set before the request: a request that cannot be written ends the run.
  Timers.Timer1->SetInterval(3000);
  Ui().SetMenuMark(11, true);
  RealTime.SpectrumState = 1;
  SendCommand_21();
}

void Timer20ms_Timer() {
  Link.ReadLength = kBlockReplyLength;
  ReadReport_Boolean();
  if (Link.TransportGone) {
    LoseDevice();
    return;
  }
  const int at = kBlockReplyLength * Command.FreqBlockIndex + 1;
  if (Link.LastReadOk) {
    std::memcpy(RealTime.FreqBlockBuffer + at, Link.ReadBuffer, kBlockReplyLength);
    ++Command.FreqBlockIndex;
  } else {
    // A block that has not come may be late: its slot waits for it. Once
    // it is overdue the set is short, and its empty slots fail the check.
    if (!ReplyOverdue()) return;
    std::memset(RealTime.FreqBlockBuffer + at, 0,
                static_cast<size_t>(kBlockReplyLength * (kSpectrumBlocks - Command.FreqBlockIndex)));
    Command.FreqBlockIndex = kSpectrumBlocks;
  }
  if (Command.FreqBlockIndex < kSpectrumBlocks) return;
  Command.FreqBlockIndex = 0;
  Timers.Timer20ms->SetEnabled(false);
  Timers.Timer1->Start(500);
}

void SpectrumSet_21() {
  Download.CommTimeoutCount = 0;
  Command.CommandCode = 0;
  Timers.Timer1->SetEnabled(false);
  if (RealTime.SetRequestPending) {
    if (RealTime.SpectrumState == 2) {
      RealTime.SpectrumState = 3;
      EndSpectrumRun(LiveOutcome::Stopped);
    } else {
      RequestSet();
    }
    return;
  }
  const std::span<const uint8_t> set(RealTime.FreqBlockBuffer + 1, kSpectrumSetLength);

  if (!CheckCommand21_Boolean(set)) {
    // A logger that has gone answers nothing: the run cannot go on for ever.
    if (++RealTime.DataErrorCount > kMaxRejectedSets) {
      RealTime.DataErrorCount = 0;
      RealTime.SpectrumState = 3;
      Timers.Timer1->SetEnabled(false);
      EndSpectrumRun(LiveOutcome::Rejected);
    } else if (RealTime.SpectrumState == 2) {
      RealTime.SpectrumState = 3;
      EndSpectrumRun(LiveOutcome::Stopped);
    } else {
      RequestSet();
    }
    return;
  }

  RealTime.DataErrorCount = 0;
  ++RealTime.GoodSets;
  Data.RealFilePosition = 20;
  for (int b = 0; b < kSpectrumBlocks; ++b) {
    for (int s = 0; s < 8; ++s) {
      const int p = kBlockReplyLength * b + kSampleBytes * s;
      for (int i = 0; i < kSampleBytes; ++i) Data.FFTMemory[Data.RealFilePosition + i] = set[p + 13 + i];
      Data.RealFilePosition += kSampleBytes;
    }
  }
  Ui().StatusPanel(2, "Download the end");
  Data.DispStartPoint = 1;
  Data.CountPoint = Data.DispEndPoint = 256;
  Data.DataLoaded = true;
  ReadFFTMemoryHead();
  ReadFFTMemoryPoints();
  ComputeStatistics(1, kFFTPoints);
  Ui().ShowLiveSet();

  if (RealTime.SpectrumState == 2) {
    RealTime.SpectrumState = 3;
    Timers.Timer1->SetEnabled(false);
    EndSpectrumRun(LiveOutcome::Stopped);
    return;
  }
  Ui().StatusPanel(2, "download");
  MachineParameter.ParameterDialogMode = 2;
  RequestSet();
}

void MenuFile011() {
  Data.DataLoaded = false;
  Data.FrequencyFileLoaded = false;
  Data.MenuCommandCode = MenuOperation::None;
  Ui().ClearChart();
  const std::string file = Data.DownloadFileName;
  const bool saved = SaveSpectrumFile(file);
  Ui().RestoreMenus(13);
  Ui().SetMenuMark(11, false);
  Timers.Timer1->SetEnabled(false);
  Timers.Timer20ms->SetEnabled(false);
  Command.CommandCode = 0;
  Command.ActiveOperation = 0;
  if (!saved) RealTime.SpectrumOutcome = RealTime.GoodSets == 0 ? LiveOutcome::NoSet : LiveOutcome::FileError;
  Data.DataFileName = file;
  if (saved) Ui().ShowFrequencyFile(file);
  Data.MenuCommandCode = MenuOperation::None;
}

void AbandonRealTimeFrequency() {
  Ui().SetMenuMark(11, false);
  Timers.Timer1->SetEnabled(false);
  Timers.Timer20ms->SetEnabled(false);
  Data.MenuCommandCode = MenuOperation::None;
  Data.DataLoaded = false;
  Data.FrequencyFileLoaded = false;
  Data.FrequencyView = false;
  RealTime.SpectrumState = 0;
  // Nothing received is lost: the last good set is saved as a stop saves it.
  const bool saved = RealTime.GoodSets == 0 || SaveSpectrumFile(Data.DownloadFileName);
  RealTime.SpectrumOutcome = saved ? LiveOutcome::DeviceLost : LiveOutcome::FileError;
  Ui().RestoreMenus(13);
  Ui().ClearChart();
}

}  // namespace accelog
