#pragma once
// The short exchanges: connect, identify, set parameters, and the reply
// reader TimerMSComm that judges each single reply.
#include <cstdint>
#include <functional>
#include <string>

namespace accelog {

struct CommandState {
  int16_t CommandCode;      // command whose reply is awaited, 0 none
  int16_t ActiveOperation;  // 24 download, 22 live data, 21 live spectrum
  std::string DeviceIdText; // the logger's 12 identification characters
  int16_t FreqBlockIndex;   // spectrum blocks read of the current set
  int16_t Timer6Count;      // steps of the screen capture done
};

extern CommandState Command;

void ResetCommandState();

void TimerMSComm_Timer();
// "System Parameter".
void File002_Click();
// Two-step screen capture before the spreadsheet export.
void Timer6_Timer();

// The export plugs its two capture steps in here.
struct ScreenCaptureHookSet {
  std::function<void()> PressPrintScreen;
  std::function<void()> ToExcelFile;
};
extern ScreenCaptureHookSet ScreenCaptureHooks;

}  // namespace accelog
