
#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <utility>
#include <vector>

#include "core/ui_port.h"
#include "model/conversion.h"
#include "model/kvx_file.h"
#include "model/dataset.h"
#include "model/text_util.h"
#include "model/utils.h"
#include "device/device.h"
#include "device/frames.h"
#include "device/texts.h"
#include "model/machine_parameter.h"

namespace accelog {

namespace {

constexpr int kSampleReplyLength = 21;
constexpr int kMaxRejected = 10;

std::string Reason() { return errno != 0 ? std::strerror(errno) : "unknown error"; }

}  // namespace

void Device::FileFailure(const std::string& file, const std::string& reason) {
  ui_.Message("The capture file " + file + " could not be written: " + reason,
               MessageIcon::Exclamation);
}

// The PC clock into positions 14..19, the moment the first sample arrived.
bool Device::WriteFirstSampleTime() {
  const std::time_t now = std::time(nullptr);
  std::tm tm{};
  localtime_r(&now, &tm);
  const uint8_t stamp[6] = {static_cast<uint8_t>(tm.tm_year + 1900 - 2000),
                            static_cast<uint8_t>(tm.tm_mon + 1), static_cast<uint8_t>(tm.tm_mday),
                            static_cast<uint8_t>(tm.tm_hour), static_cast<uint8_t>(tm.tm_min),
                            static_cast<uint8_t>(tm.tm_sec)};
  // The statistics show the start of the capture, not of the last file.
  FileHeadRecord& p = data_.Head;
  int16_t* const start[6] = {&p.StartYear, &p.StartMonth,  &p.StartDay,
                             &p.StartHour, &p.StartMinute, &p.StartSecond};
  for (int i = 0; i < 6; ++i) *start[i] = stamp[i];
  return data_.WriteCaptureBytes(14, stamp, 6);
}

// The samples written, high byte first into positions 10..13, and the file
// closed. Every ending goes through here, so the head never contradicts
// the file. False with errno set when the file did not take it.
bool Device::CloseCaptureFile() {
  if (data_.RealFileNumber == 0) return true;
  const uint32_t count = static_cast<uint32_t>(data_.RealFilePosition - kHeadBytes) / kSampleBytes;
  const uint8_t bytes[4] = {static_cast<uint8_t>(count >> 24), static_cast<uint8_t>(count >> 16),
                            static_cast<uint8_t>(count >> 8), static_cast<uint8_t>(count)};
  errno = 0;
  const bool written = data_.TruncateCaptureFile(data_.RealFilePosition) && data_.WriteCaptureBytes(10, bytes, 4);
  const int write_errno = errno;
  const bool closed = data_.CloseCaptureFile();
  if (!written) errno = write_errno;
  return written && closed;
}

void Device::ShowDiagnostic(const std::string& text) {
  live.CaptionDiagnostic = true;
  live.CaptionText = text;
  ui_.SetCaption(text);
}

void Device::SendNextSample() {
  command.Awaited = CommandCode::LiveSample;
  command.Operation = ActiveOperation::LiveData;
  SendLiveSampleRequest();
}

// The run ends here: the engine's "click" in state 3.
void Device::EndRun(LiveOutcome outcome) {
  live.Data = CaptureState::Idle;
  live.DataOutcome = outcome;
  EndLiveCapture();
  ReportLive();
}

void Device::StartFailed(const std::string& file, const std::string& reason) {
  data_.CloseCaptureFile();
  std::remove(file.c_str());  // no whole head, nothing to keep
  live.Data = CaptureState::Idle;
  live.DataOutcome = LiveOutcome::FileError;
  limit_timer_->SetEnabled(false);
  data_.MenuCommandCode = MenuOperation::None;
  ui_.RestoreMenus(12);
  FileFailure(file, reason);
  ReportLive();
}


void Device::ClearOtherRunsPanels() {
  ui_.StatusPanel(2, " ");
  ui_.StatusPanel(4, " ");
}

int SamplePeriodMs(int16_t interval, int16_t unit) {
  const int64_t ms = IntervalMilliseconds(static_cast<uint16_t>(interval), unit);
  return static_cast<int>(std::min<int64_t>(ms, INT_MAX));
}

std::string SpectrumFileName(const std::string& name) {
  constexpr std::string_view kEnd = "Frequency.Kvx";
  auto lower = [](std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
  };
  if (name.size() >= kEnd.size() + 1 &&
      lower(name.substr(name.size() - kEnd.size())) == lower(std::string(kEnd))) {
    return name;
  }
  return name.substr(0, name.size() < 4 ? 0 : name.size() - 4) + std::string(kEnd);
}

void Device::RequestLiveStop() {
  if (live.Data == CaptureState::Running) live.Data = CaptureState::StopRequested;
}

bool Device::ToggleLiveCapture() {
  switch (live.Data) {
    case CaptureState::Running: live.Data = CaptureState::StopRequested; return true;
    case CaptureState::StopRequested: return true;
    case CaptureState::Stopping: EndRun(LiveOutcome::Stopped); return true;
    case CaptureState::Idle: break;
  }
  return false;
}

void Device::ClearCaptionDiagnostic() {
  live.CaptionDiagnostic = false;
  ui_.SetCaption("");
}

void Device::StartLive(const std::string& name, const RecordingParameters& p, LiveOptions options) {
  live.DataOptions = std::move(options);
  data_.DownloadFileName = name;
  link.ReadLength = 125;
  std::memset(link.ReadBuffer, 0, 255);
  ReopenDevice();

  live.Data = CaptureState::Running;
  live.DataOutcome = LiveOutcome::Running;
  live.DataErrorCount = 0;
  data_.DataLoaded = false;
  data_.FrequencyFileLoaded = false;
  data_.FrequencyView = false;
  data_.MenuCommandCode = MenuOperation::None;
  ui_.ClearChart();
  ClearOtherRunsPanels();
  // MenuCommandCode first: the menus follow it.
  data_.MenuCommandCode = MenuOperation::LiveData;
  ui_.RestoreMenus(12);
  ui_.LiveChartReady(12, name);
  live.LimitMinutes = p.LimitTime;
  live.LimitKind = p.LimitKind;
  live.LimitSamples = p.LimitTime;
  const int period = SamplePeriodMs(p.RecordInterval, p.IntervalUnit);

  data_.CountPoint = 0;
  live.StampWritten = false;
  errno = 0;
  SetCurFromClock(parameters_);  // the head carries this run's start
  if (!data_.WriteCaptureHead(name, parameters_) || !data_.OpenCaptureFile(name)) {
    StartFailed(name, Reason());
    return;
  }
  live.LimitCounter = 0;
  if (p.LimitKind == 0) limit_timer_->Start(500);

  ui_.SetMenuMark(9, true);
  data_.ClearLiveSlots();
  data_.DispStartPoint = data_.DispEndPoint = 1;
  data_.CountPoint = 0;
  command.Awaited = CommandCode::LiveSample;
  command.Operation = ActiveOperation::LiveData;
  block_timer_->SetInterval(period);
  SendLiveSampleRequest();
}

void Device::ReadLiveSample() {
  block_timer_->SetEnabled(false);
  link.ReadLength = kSampleReplyLength;
  download.CommTimeoutCount = 0;
  // An earlier read already gave up on this request: what comes now is late.
  const bool late = link.EmptyReads > 0;
  ReadReply();
  if (link.TransportGone) {
    LoseDevice();
    return;
  }
  const bool came = link.LastReadOk;
  if (came && late) {
    ShowDiagnostic("Data exception ,Equipment in discussion to dial");
  }
  const std::vector<uint8_t> reply(link.ReadBuffer, link.ReadBuffer + kSampleReplyLength);
  std::memset(link.ReadBuffer, 0, 255);

  if (!CheckSampleReply(reply)) {
    ++live.DataErrorCount;
    ShowDiagnostic("data is erro!" + std::to_string(live.DataErrorCount));
    // A stop is honoured now, whatever the reply was.
    if (live.Data == CaptureState::StopRequested) {
      live.Data = CaptureState::Stopping;
      EndRun(LiveOutcome::Stopped);
      return;
    }
    if (live.DataErrorCount > kMaxRejected) {
      live.DataErrorCount = 0;
      live.Data = CaptureState::Stopping;
      EndRun(LiveOutcome::Rejected);
      return;
    }
    if (!came) {
      // Nothing came: a late reply is waited for at the next tick, a lost
      // one is asked for again.
      if (!ReplyOverdue()) {
        block_timer_->SetEnabled(true);
        return;
      }
      GiveUpLiveReply();
    }
    SendNextSample();
    return;
  }

  live.DataErrorCount = 0;
  // A good sample read in its own tick ends the diagnostic.
  if (live.CaptionDiagnostic && !late) {
    live.CaptionDiagnostic = false;
    ui_.SetCaption("");
  }
  auto signed16 = [&](int low) {
    return static_cast<int16_t>(static_cast<uint16_t>(reply[low + 1] << 8 | reply[low]));
  };
  data_.RawX = signed16(13);
  data_.RawY = signed16(15);
  data_.RawZ = signed16(17);

  // On disk first: whatever happens next, a received sample is kept.
  errno = 0;
  bool written = true;
  if (!live.StampWritten) {
    live.StampWritten = true;
    written = WriteFirstSampleTime();
  }
  written = written && data_.WriteCaptureBytes(data_.RealFilePosition + 1, reply.data() + 13, kSampleBytes);
  if (!written) {
    const std::string reason = Reason();
    live.Data = CaptureState::Stopping;
    EndRun(LiveOutcome::FileError);
    FileFailure(data_.DownloadFileName, reason);
    return;
  }
  data_.RealFilePosition += kSampleBytes;

  data_.AppendLiveSample();
  data_.MapLiveCountToSlots();
  ui_.ShowLivePoint();

  if (live.LimitKind == 1) {
    ++live.LimitCounter;
    if (live.LimitCounter >= live.LimitSamples) {
      limit_timer_->SetEnabled(false);
      RequestLiveStop();
    }
  }
  if (live.Data == CaptureState::StopRequested) {
    live.Data = CaptureState::Stopping;
    EndRun(LiveOutcome::Stopped);
    return;
  }
  SendNextSample();
}

void Device::OnLimitTimer() {
  ++live.LimitCounter;
  if (live.LimitCounter > live.LimitMinutes * 120) {
    limit_timer_->SetEnabled(false);
    RequestLiveStop();
  }
}

void Device::EndLiveCapture() {
  data_.DataLoaded = false;
  data_.FrequencyFileLoaded = false;
  data_.FrequencyView = false;
  data_.MenuCommandCode = MenuOperation::None;
  ui_.ClearChart();
  // Why the run ended stays in view until later work clears the chart.
  if (live.CaptionDiagnostic) ui_.SetCaption(live.CaptionText);

  limit_timer_->SetEnabled(false);
  block_timer_->SetEnabled(false);
  command.Awaited = CommandCode::None;
  command.Operation = ActiveOperation::None;
  ui_.SetMenuMark(9, false);
  ui_.StatusPanel(2, " ");

  const std::string file = data_.DownloadFileName;
  errno = 0;
  const bool closed = CloseCaptureFile();
  const std::string reason = Reason();
  ui_.RestoreMenus(12);
  if (!closed) {
    live.DataOutcome = LiveOutcome::FileError;
    FileFailure(file, reason);
  }
  ui_.ShowDataFile(file);
}

void Device::AbandonLiveCapture() {
  limit_timer_->SetEnabled(false);
  block_timer_->SetEnabled(false);
  ui_.SetMenuMark(9, false);
  const std::string file = data_.DownloadFileName;
  errno = 0;
  const bool closed = CloseCaptureFile();
  command.Awaited = CommandCode::None;
  data_.MenuCommandCode = MenuOperation::None;
  data_.DataLoaded = false;
  data_.FrequencyFileLoaded = false;
  live.Data = CaptureState::Idle;
  live.DataOutcome = LiveOutcome::DeviceLost;
  ui_.RestoreMenus(12);
  if (!closed) FileFailure(file, Reason());
  ReportLive();
}

void Device::ReportLive() {
  if (auto finished = std::exchange(live.DataOptions.finished, nullptr)) finished(live.DataOutcome);
}

}  // namespace accelog
