// "Real Time Data For Frequency": 256-sample sets of 32 blocks, each shown
// as it arrives; the last good set is saved when the run ends.
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <utility>

#include "core/ui_port.h"
#include "model/conversion.h"
#include "model/fft.h"
#include "model/kvx_file.h"
#include "model/staged_file.h"
#include "model/dataset.h"
#include "model/text_util.h"
#include "model/utils.h"
#include "device/device.h"
#include "device/frames.h"
#include "device/texts.h"
#include "model/machine_parameter.h"

namespace accelog {

namespace {

constexpr int kMaxRejectedSets = 10;

}  // namespace

// A set is asked for only when no block of an earlier one is owed: a late
// block would otherwise stand in the next set. The request waits on the block timer.
void Device::RequestSet() {
  command.Awaited = CommandCode::SpectrumSet;
  command.Operation = ActiveOperation::LiveSpectrum;
  live.SetRequestPending = !LinkQuiet(kReadWaitMs);
  if (link.TransportGone) {
    LoseDevice();
  } else if (live.SetRequestPending) {
    block_timer_->SetEnabled(true);
  } else {
    SendSpectrumRequest();
  }
}

// FFTMemory(1..1555) into the capture file, replacing what was there:
// written beside it, checked and renamed, so the name holds a whole set or
// nothing. With no good set there is nothing to save, which is a failure.
bool Device::SaveSpectrumFile(const std::string& file) {
  if (live.GoodSets == 0) {
    ui_.Message(file + ": no spectrum set was received; nothing was saved", MessageIcon::Exclamation);
    return false;
  }
  uint8_t image[kFFTMemoryBytes];
  for (int i = 0; i < kFFTMemoryBytes; ++i) image[i] = static_cast<uint8_t>(data_.FFTMemory[i + 1]);
  const StagedFile staged = CreateStagedFile(file);
  Result result = staged.result;
  if (staged.fd >= 0) {
    errno = 0;
    if (::write(staged.fd, image, sizeof image) != static_cast<ssize_t>(sizeof image)) {
      if (errno == 0) errno = EFBIG;  // a short write says nothing
      result = Result::Failed(ErrnoReason(file));
    }
    if (::close(staged.fd) != 0 && result.Ok()) result = Result::Failed(ErrnoReason(file));
    result = FinishStagedFile(staged.name, file, result, nullptr);
  }
  if (!result.Ok()) ui_.Message("The capture file could not be written: " + result.message, MessageIcon::Exclamation);
  return result.Ok();
}

// The end of a run that reached its end procedure.
void Device::EndSpectrumRun(LiveOutcome outcome) {
  live.SpectrumOutcome = outcome;
  EndSpectrumCapture();
  live.Spectrum = CaptureState::Idle;
  ReportSpectrum();
}

void Device::ReportSpectrum() {
  if (auto finished = std::exchange(live.SpectrumOptions.finished, nullptr)) finished(live.SpectrumOutcome);
}


void Device::RequestSpectrumStop() {
  if (live.Spectrum == CaptureState::Running) live.Spectrum = CaptureState::StopRequested;
}

bool Device::ToggleLiveSpectrum() {
  switch (live.Spectrum) {
    case CaptureState::Running: live.Spectrum = CaptureState::StopRequested; return true;
    case CaptureState::StopRequested: return true;
    case CaptureState::Stopping: EndSpectrumRun(LiveOutcome::Stopped); return true;
    case CaptureState::Idle: break;
  }
  return false;
}

void Device::StartLiveSpectrum(const std::string& name, LiveOptions options) {
  live.SpectrumOptions = std::move(options);
  data_.DownloadFileName = name;

  data_.DataLoaded = false;
  data_.FrequencyFileLoaded = false;
  data_.MenuCommandCode = MenuOperation::None;
  ui_.ClearChart();
  ClearOtherRunsPanels();
  download.CommTimeoutCount = 0;
  data_.MenuCommandCode = MenuOperation::LiveSpectrum;  // the menus follow it
  ui_.RestoreMenus(13);
  parameters_.ParameterDialogMode = 2;  // the dialog of this view, from the chart's first set
  ui_.LiveChartReady(13, name);
  SetCurFromClock(parameters_);  // the sets' start is this run's, not an earlier file's
  data_.WriteSpectrumHead(parameters_);

  live.GoodSets = 0;
  live.DataErrorCount = 0;
  live.SetRequestPending = false;
  live.SpectrumOutcome = LiveOutcome::Running;
  command.Operation = ActiveOperation::LiveSpectrum;
  // All set before the request: a request that cannot be written ends the run.
  block_timer_->SetInterval(3000);
  ui_.SetMenuMark(11, true);
  live.Spectrum = CaptureState::Running;
  SendSpectrumRequest();
}

void Device::OnSpectrumBlockTimer() {
  link.ReadLength = kBlockReplyLength;
  ReadReply();
  if (link.TransportGone) {
    LoseDevice();
    return;
  }
  const int at = kBlockReplyLength * command.SpectrumBlockIndex + 1;
  if (link.LastReadOk) {
    std::memcpy(live.SpectrumBlocks + at, link.ReadBuffer, kBlockReplyLength);
    ++command.SpectrumBlockIndex;
  } else {
    // A block that has not come may be late: its slot waits for it. Once
    // it is overdue the set is short, and its empty slots fail the check.
    if (!ReplyOverdue()) return;
    std::memset(live.SpectrumBlocks + at, 0,
                static_cast<size_t>(kBlockReplyLength * (kSpectrumBlocks - command.SpectrumBlockIndex)));
    command.SpectrumBlockIndex = kSpectrumBlocks;
  }
  if (command.SpectrumBlockIndex < kSpectrumBlocks) return;
  command.SpectrumBlockIndex = 0;
  spectrum_block_timer_->SetEnabled(false);
  block_timer_->Start(500);
}

void Device::ReadSpectrumSet() {
  download.CommTimeoutCount = 0;
  command.Awaited = CommandCode::None;
  block_timer_->SetEnabled(false);
  if (live.SetRequestPending) {
    if (live.Spectrum == CaptureState::StopRequested) {
      live.Spectrum = CaptureState::Stopping;
      EndSpectrumRun(LiveOutcome::Stopped);
    } else {
      RequestSet();
    }
    return;
  }
  const std::span<const uint8_t> set(live.SpectrumBlocks + 1, kSpectrumSetLength);

  if (!CheckSpectrumSet(set)) {
    // A logger that has gone answers nothing: the run cannot go on for ever.
    if (++live.DataErrorCount > kMaxRejectedSets) {
      live.DataErrorCount = 0;
      live.Spectrum = CaptureState::Stopping;
      block_timer_->SetEnabled(false);
      EndSpectrumRun(LiveOutcome::Rejected);
    } else if (live.Spectrum == CaptureState::StopRequested) {
      live.Spectrum = CaptureState::Stopping;
      EndSpectrumRun(LiveOutcome::Stopped);
    } else {
      RequestSet();
    }
    return;
  }

  live.DataErrorCount = 0;
  ++live.GoodSets;
  data_.RealFilePosition = 20;
  for (int b = 0; b < kSpectrumBlocks; ++b) {
    for (int s = 0; s < 8; ++s) {
      const int p = kBlockReplyLength * b + kSampleBytes * s;
      for (int i = 0; i < kSampleBytes; ++i) data_.FFTMemory[data_.RealFilePosition + i] = set[p + 13 + i];
      data_.RealFilePosition += kSampleBytes;
    }
  }
  ui_.StatusPanel(2, "Download the end");
  data_.DispStartPoint = 1;
  data_.CountPoint = data_.DispEndPoint = 256;
  data_.DataLoaded = true;
  data_.ReadSpectrumMemoryHead();
  data_.ReadSpectrumMemoryPoints();
  data_.ComputeStatistics(1, kFFTPoints);
  ui_.ShowLiveSet();

  if (live.Spectrum == CaptureState::StopRequested) {
    live.Spectrum = CaptureState::Stopping;
    block_timer_->SetEnabled(false);
    EndSpectrumRun(LiveOutcome::Stopped);
    return;
  }
  ui_.StatusPanel(2, "download");
  parameters_.ParameterDialogMode = 2;
  RequestSet();
}

void Device::EndSpectrumCapture() {
  data_.DataLoaded = false;
  data_.FrequencyFileLoaded = false;
  data_.MenuCommandCode = MenuOperation::None;
  ui_.ClearChart();
  const std::string file = data_.DownloadFileName;
  const bool saved = SaveSpectrumFile(file);
  ui_.RestoreMenus(13);
  ui_.SetMenuMark(11, false);
  block_timer_->SetEnabled(false);
  spectrum_block_timer_->SetEnabled(false);
  command.Awaited = CommandCode::None;
  command.Operation = ActiveOperation::None;
  if (!saved) live.SpectrumOutcome = live.GoodSets == 0 ? LiveOutcome::NoSet : LiveOutcome::FileError;
  data_.DataFileName = file;
  if (saved) ui_.ShowFrequencyFile(file);
  data_.MenuCommandCode = MenuOperation::None;
}

void Device::AbandonLiveSpectrum() {
  ui_.SetMenuMark(11, false);
  block_timer_->SetEnabled(false);
  spectrum_block_timer_->SetEnabled(false);
  data_.MenuCommandCode = MenuOperation::None;
  data_.DataLoaded = false;
  data_.FrequencyFileLoaded = false;
  data_.FrequencyView = false;
  live.Spectrum = CaptureState::Idle;
  // Nothing received is lost: the last good set is saved as a stop saves it.
  const bool saved = live.GoodSets == 0 || SaveSpectrumFile(data_.DownloadFileName);
  live.SpectrumOutcome = saved ? LiveOutcome::DeviceLost : LiveOutcome::FileError;
  ui_.RestoreMenus(13);
  ui_.ClearChart();
  ReportSpectrum();
}

}  // namespace accelog
