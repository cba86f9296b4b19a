#include "device/realtime.h"

#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <vector>

#include "core/ui_port.h"
#include "model/conversion.h"
#include "model/kvx_file.h"
#include "model/state.h"
#include "model/text_util.h"
#include "model/utils.h"
#include "device/command_engine.h"
#include "device/device_timers.h"
#include "device/download.h"
#include "device/frames.h"
#include "device/link.h"
#include "device/texts.h"
#include "model/machine_parameter.h"

namespace accelog {

RealTimeStateRecord RealTime;

namespace {

constexpr int kSampleReplyLength = 21;
constexpr int kMaxRejected = 10;

std::string Reason() { return errno != 0 ? std::strerror(errno) : "unknown error"; }

void FileFailure(const std::string& file, const std::string& reason) {
  Ui().Message("The capture file " + file + " could not be written: " + reason,
               MessageIcon::Exclamation);
}

// The PC clock into positions 14..19, the moment the first sample arrived.
bool WriteFirstSampleTime() {
  const std::time_t now = std::time(nullptr);
  std::tm tm{};
  localtime_r(&now, &tm);
  const uint8_t stamp[6] = {static_cast<uint8_t>(tm.tm_year + 1900 - 2000),
                            static_cast<uint8_t>(tm.tm_mon + 1), static_cast<uint8_t>(tm.tm_mday),
                            static_cast<uint8_t>(tm.tm_hour), static_cast<uint8_t>(tm.tm_min),
                            static_cast<uint8_t>(tm.tm_sec)};
  // The statistics show the start of the capture, not of the last file.
  FileHeadRecord& p = Data.Head;
  int16_t* const start[6] = {&p.StartYear, &p.StartMonth,  &p.StartDay,
                             &p.StartHour, &p.StartMinute, &p.StartSecond};
  for (int i = 0; i < 6; ++i) *start[i] = stamp[i];
  return WriteRealDataBytes(14, stamp, 6);
}

// The samples written, high byte first into positions 10..13, and the file
// closed. Every ending goes through here, so the head never contradicts
// the file. False with errno set when the file did not take it.
bool CloseCaptureFile() {
  if (Data.RealFileNumber == 0) return true;
  const uint32_t count = static_cast<uint32_t>(Data.RealFilePosition - kHeadBytes) / kSampleBytes;
  const uint8_t bytes[4] = {static_cast<uint8_t>(count >> 24), static_cast<uint8_t>(count >> 16),
                            static_cast<uint8_t>(count >> 8), static_cast<uint8_t>(count)};
  errno = 0;
  const bool written = TruncateFileRealData(Data.RealFilePosition) && WriteRealDataBytes(10, bytes, 4);
  const int write_errno = errno;
  const bool closed = CloseFileRealData();
  if (!written) errno = write_errno;
  return written && closed;
}

void ShowDiagnostic(const std::string& text) {
  RealTime.CaptionDiagnostic = true;
  RealTime.CaptionText = text;
  Ui().SetCaption(text);
}

void SendNextSample() {
  Command.CommandCode = 22;
  Command.ActiveOperation = 22;
  SendCommand_22();
}

// The run ends here: the engine's "click" in state 3.
void EndRun(LiveOutcome outcome) {
  RealTime.RealTimeState = 0;
  RealTime.DataOutcome = outcome;
  MenuFile009();
}

void StartFailed(const std::string& file, const std::string& reason) {
  CloseFileRealData();
  std::remove(file.c_str());  // no whole head, nothing to keep
  RealTime.RealTimeState = 0;
  RealTime.DataOutcome = LiveOutcome::FileError;
  Timers.Timer5->SetEnabled(false);
  Data.MenuCommandCode = MenuOperation::None;
  Ui().RestoreMenus(12);
  FileFailure(file, reason);
}

}  // namespace

void ClearOtherRunsPanels() {
  Ui().StatusPanel(2, " ");
  Ui().StatusPanel(4, " ");
}

void ResetRealTimeState() {
  CloseFileRealData();
  RealTime = RealTimeStateRecord{};
  RealTimeHooks.Timer1Branch22 = RealTimeSample_22;
  RealTimeHooks.Timer5Tick = Timer5_Timer;
  RealTimeHooks.AbandonRealTimeData = AbandonRealTimeData;
  RealTimeHooks.Timer1Branch21 = SpectrumSet_21;
  RealTimeHooks.Timer20msTick = Timer20ms_Timer;
  RealTimeHooks.AbandonRealTimeFrequency = AbandonRealTimeFrequency;
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

void RequestRealTimeStop() {
  if (RealTime.RealTimeState == 1) RealTime.RealTimeState = 2;
}

void File009_Click() {
  if (!Link.LinkConfirmed) {
    Ui().Message(Lang("No Connet", "没有连接设备"));
    return;
  }
  if (Data.MenuCommandCode != MenuOperation::None && Data.MenuCommandCode != MenuOperation::LiveData) return;
  switch (RealTime.RealTimeState) {
    case 1: RealTime.RealTimeState = 2; return;
    case 2: return;
    case 3: EndRun(LiveOutcome::Stopped); return;
    default: break;
  }

  RealTime.CaptionDiagnostic = false;
  Ui().SetCaption("");
  const std::string chosen = Ui().SaveFileName("Select File", "*.KVX");
  const std::string name = chosen.empty() ? std::string() : FileNameFilter_String(chosen) + ".kvx";
  if (TrimBlanks(name).empty()) return;
  std::error_code ec;
  if (std::filesystem::exists(name, ec)) {
    if (!Ui().AskOkCancel("The filename already exists ,overwrite it  ?")) return;
    // A file that stays would lend its old tail to the new capture.
    if (!std::filesystem::remove(name, ec)) {
      FileFailure(name, ec.message());
      return;
    }
  }
  Data.DownloadFileName = name;
  auto& p = MachineParameter;
  p.ParameterDialogMode = 1;
  Ui().ShowParameterDialog();
  if (!p.ParameterAccepted) {
    p.ParameterDialogMode = 0;
    return;
  }

  p.ParameterAccepted = false;
  Link.ReadLength = 125;
  std::memset(Link.ReadBuffer, 0, 255);
  RestUsbSet();

  RealTime.RealTimeState = 1;
  RealTime.DataOutcome = LiveOutcome::Running;
  RealTime.DataErrorCount = 0;
  Data.DataLoaded = false;
  Data.FrequencyFileLoaded = false;
  Data.FrequencyView = false;
  Data.MenuCommandCode = MenuOperation::None;
  Ui().ClearChart();
  ClearOtherRunsPanels();
  // MenuCommandCode first: the menus follow it.
  Data.MenuCommandCode = MenuOperation::LiveData;
  Ui().RestoreMenus(12);
  Ui().LiveChartReady(12, name);
  p.ParameterDialogMode = 1;
  RealTime.RealTimeLimitMinutes = p.LimitTime;
  const int period = SamplePeriodMs(p.RecordInterval, p.IntervalUnit);

  Data.CountPoint = 0;
  RealTime.RealTimeStampWritten = false;
  errno = 0;
  if (!SaveParameterToFileHead(name) || !OpenFileRealData(name)) {
    StartFailed(name, Reason());
    return;
  }
  RealTime.LimitCounter = 0;
  if (p.LimitKind == 0) Timers.Timer5->Start(500);

  Ui().SetMenuMark(9, true);
  ClearSlots();
  Data.DispStartPoint = Data.DispEndPoint = 1;
  Data.CountPoint = 0;
  Command.CommandCode = 22;
  Command.ActiveOperation = 22;
  Timers.Timer1->SetInterval(period);
  SendCommand_22();
}

void RealTimeSample_22() {
  Timers.Timer1->SetEnabled(false);
  Link.ReadLength = kSampleReplyLength;
  Download.CommTimeoutCount = 0;
  // An earlier read already gave up on this request: what comes now is late.
  const bool late = Link.EmptyReads > 0;
  ReadReport_Boolean();
  if (Link.TransportGone) {
    LoseDevice();
    return;
  }
  const bool came = Link.LastReadOk;
  if (came && late) {
    ShowDiagnostic("Data exception ,Equipment in discussion to dial");
  }
  const std::vector<uint8_t> reply(Link.ReadBuffer, Link.ReadBuffer + kSampleReplyLength);
  std::memset(Link.ReadBuffer, 0, 255);

  if (!CheckCommand22_Boolean(reply)) {
    ++RealTime.DataErrorCount;
    ShowDiagnostic("data is erro!" + std::to_string(RealTime.DataErrorCount));
    // A stop is honoured now, whatever the reply was.
    if (RealTime.RealTimeState == 2) {
      RealTime.RealTimeState = 3;
      EndRun(LiveOutcome::Stopped);
      return;
    }
    if (RealTime.DataErrorCount > kMaxRejected) {
      RealTime.DataErrorCount = 0;
      RealTime.RealTimeState = 3;
      EndRun(LiveOutcome::Rejected);
      return;
    }
    if (!came) {
      // Nothing came: a late reply is waited for at the next tick, a lost
      // one is asked for again.
      if (!ReplyOverdue()) {
        Timers.Timer1->SetEnabled(true);
        return;
      }
      GiveUpLiveReply();
    }
    SendNextSample();
    return;
  }

  RealTime.DataErrorCount = 0;
  // A good sample read in its own tick ends the diagnostic.
  if (RealTime.CaptionDiagnostic && !late) {
    RealTime.CaptionDiagnostic = false;
    Ui().SetCaption("");
  }
  auto signed16 = [&](int low) {
    return static_cast<int16_t>(static_cast<uint16_t>(reply[low + 1] << 8 | reply[low]));
  };
  Data.RawX = signed16(13);
  Data.RawY = signed16(15);
  Data.RawZ = signed16(17);

  // On disk first: whatever happens next, a received sample is kept.
  errno = 0;
  bool written = true;
  if (!RealTime.RealTimeStampWritten) {
    RealTime.RealTimeStampWritten = true;
    written = WriteFirstSampleTime();
  }
  written = written && WriteRealDataBytes(Data.RealFilePosition + 1, reply.data() + 13, kSampleBytes);
  if (!written) {
    const std::string reason = Reason();
    RealTime.RealTimeState = 3;
    EndRun(LiveOutcome::FileError);
    FileFailure(Data.DownloadFileName, reason);
    return;
  }
  Data.RealFilePosition += kSampleBytes;

  MakeRealData();
  RealCountPoint();
  Ui().ShowLivePoint();

  if (MachineParameter.LimitKind == 1) {
    ++RealTime.LimitCounter;
    if (RealTime.LimitCounter >= MachineParameter.LimitTime) {
      Timers.Timer5->SetEnabled(false);
      RequestRealTimeStop();
    }
  }
  if (RealTime.RealTimeState == 2) {
    RealTime.RealTimeState = 3;
    EndRun(LiveOutcome::Stopped);
    return;
  }
  SendNextSample();
}

void Timer5_Timer() {
  ++RealTime.LimitCounter;
  if (RealTime.LimitCounter > RealTime.RealTimeLimitMinutes * 120) {
    Timers.Timer5->SetEnabled(false);
    RequestRealTimeStop();
  }
}

void MenuFile009() {
  Data.DataLoaded = false;
  Data.FrequencyFileLoaded = false;
  Data.FrequencyView = false;
  Data.MenuCommandCode = MenuOperation::None;
  Ui().ClearChart();
  // Why the run ended stays in view until later work clears the chart.
  if (RealTime.CaptionDiagnostic) Ui().SetCaption(RealTime.CaptionText);

  Timers.Timer5->SetEnabled(false);
  Timers.Timer1->SetEnabled(false);
  Command.CommandCode = 0;
  Command.ActiveOperation = 0;
  Ui().SetMenuMark(9, false);
  Ui().StatusPanel(2, " ");

  const std::string file = Data.DownloadFileName;
  errno = 0;
  const bool closed = CloseCaptureFile();
  const std::string reason = Reason();
  Ui().RestoreMenus(12);
  if (!closed) {
    RealTime.DataOutcome = LiveOutcome::FileError;
    FileFailure(file, reason);
  }
  Ui().ShowDataFile(file);
}

void AbandonRealTimeData() {
  Timers.Timer5->SetEnabled(false);
  Timers.Timer1->SetEnabled(false);
  Ui().SetMenuMark(9, false);
  const std::string file = Data.DownloadFileName;
  errno = 0;
  const bool closed = CloseCaptureFile();
  Command.CommandCode = 0;
  Data.MenuCommandCode = MenuOperation::None;
  Data.DataLoaded = false;
  Data.FrequencyFileLoaded = false;
  RealTime.RealTimeState = 0;
  RealTime.DataOutcome = LiveOutcome::DeviceLost;
  Ui().RestoreMenus(12);
  if (!closed) FileFailure(file, Reason());
}

}  // namespace accelog
