#pragma once
// The two live captures: "Real Time Data" (one 0x22 sample per period into a
// capture file and the chart) and "Real Time Data For Frequency" (256-sample
// sets of 32 0x21 blocks, shown as spectra, the last one saved). Both items
// are toggles: a second click asks the engine to stop at its next tick.
#include <cstdint>
#include <string>

namespace accelog {

// How the last run of a capture ended.
// NoSet: a spectrum run ended before any good set, so nothing was saved.
enum class LiveOutcome { None, Running, Stopped, Rejected, DeviceLost, FileError, NoSet };

struct RealTimeStateRecord {
  int16_t RealTimeState;   // 0 idle, 1 running, 2 stop requested, 3 stopping
  int16_t SpectrumState;   // the same four values
  int32_t LimitCounter;    // Timer5 ticks or samples: 300 minutes are 36000 ticks
  int16_t DataErrorCount;  // rejected replies or sets in a row, from 0 at every start
  int16_t RealTimeLimitMinutes;
  bool RealTimeStampWritten;
  bool CaptionDiagnostic;  // the caption shows a diagnostic text
  std::string CaptionText; // the last one
  int32_t GoodSets;        // good spectrum sets of this run
  bool SetRequestPending;  // the next set waits until no block is owed
  uint8_t FreqBlockBuffer[2542];  // 1..2541: block b at 63b+1 .. 63b+63
  LiveOutcome DataOutcome;
  LiveOutcome SpectrumOutcome;
};

extern RealTimeStateRecord RealTime;

// Idle again, and the engine's timer branches plugged into the link.
void ResetRealTimeState();

// "Real Time Data".
void File009_Click();
void MenuFile009();
void RealTimeSample_22();  // Timer1 branch 22
void Timer5_Timer();
void AbandonRealTimeData();

// "Real Time Data For Frequency".
void File011_Click();
void MenuFile011();
void Timer20ms_Timer();
void SpectrumSet_21();  // Timer1 branch 21
void AbandonRealTimeFrequency();

// The second click, as a limit or a stop signal gives it: a running capture
// is asked to stop at its next tick.
void RequestRealTimeStop();
void RequestSpectrumStop();

// A capture starts without the results of a download or an earlier run in
// the status bar.
void ClearOtherRunsPanels();

// The sample period: ms for unit 0, s for unit 1, as long as it is (the
// other units as the file head reads them).
int SamplePeriodMs(int16_t interval, int16_t unit);
// A spectrum capture's name ends in "Frequency.Kvx": otherwise its last four
// characters give way to it.
std::string SpectrumFileName(const std::string& name);

inline constexpr const char* kSpectrumCancelName = "123Frequency.Kvx";

}  // namespace accelog
