#include "device/command_engine.h"

#include <cstring>
#include <span>
#include <vector>

#include "core/ui_port.h"
#include "model/state.h"
#include "device/device_timers.h"
#include "device/download.h"
#include "device/frames.h"
#include "device/link.h"
#include "device/texts.h"
#include "model/machine_parameter.h"

namespace accelog {

CommandState Command;
ScreenCaptureHookSet ScreenCaptureHooks;

namespace {

// Stops the reader, reads `length` bytes and returns them.
std::vector<uint8_t> ReadReply(int length) {
  Timers.TimerMSComm->SetEnabled(false);
  Link.ReadLength = static_cast<int16_t>(length);
  ReadReport_Boolean();
  return std::vector<uint8_t>(Link.ReadBuffer, Link.ReadBuffer + length);
}

// Bytes as 8-bit character codes (Latin-1) in UTF-8.
std::string Latin1Text(const uint8_t* bytes, int n) {
  std::string s;
  for (int i = 0; i < n; ++i) {
    const uint8_t c = bytes[i];
    if (c < 0x80) {
      s += static_cast<char>(c);
    } else {
      s += static_cast<char>(0xC0 | (c >> 6));
      s += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return s;
}

void IdentifyReply_11() {
  const auto reply = ReadReply(27);
  Command.CommandCode = 0;
  Command.DeviceIdText = Latin1Text(reply.data() + 13, 12);
  Ui().StatusPanel(2, Command.DeviceIdText);
}

void ConnectReply_12() {
  const auto reply = ReadReply(15);
  Link.LinkConfirmed = CheckCommand12_Boolean(reply);
  if (Link.LinkConfirmed) {
    Timers.Timer4->SetEnabled(false);
    Ui().StatusPanel(1, Lang("Connet    OK", "连接成功"));
    SendCommand_11();
  } else {
    Ui().Message("command12 is error!");
  }
}

void ParameterReply_20() {
  const auto reply = ReadReply(15);
  if (CheckCommand20_Boolean(reply)) {
    Ui().StatusPanel(2, Lang("Send parameter ok", "发送参数成功"));
    Command.CommandCode = 0;
  }
}

}  // namespace

void ResetCommandState() { Command = CommandState{}; }

void TimerMSComm_Timer() {
  switch (Command.CommandCode) {
    case 11: IdentifyReply_11(); break;
    case 12: ConnectReply_12(); break;
    case 20: ParameterReply_20(); break;
    case 23: DataInquiry_23(); break;
    default: break;
  }
}

void File002_Click() {
  if (!Link.LinkConfirmed) {
    Ui().Message(Lang("No Connet", "没有连接设备"));
    return;
  }
  if (Data.MenuCommandCode != MenuOperation::None) return;
  MachineParameter.ParameterAccepted = false;
  Data.DataLoaded = false;
  Data.FrequencyFileLoaded = false;
  Data.FrequencyView = false;
  Ui().ClearChart();
  if (Link.LinkConfirmed) {
    MachineParameter.ParameterDialogMode = 0;
    Ui().ShowParameterDialog();
    if (MachineParameter.ParameterAccepted && Link.LinkConfirmed) SendCommand_20();
    MachineParameter.ParameterAccepted = false;
  }
  if (!Link.LinkConfirmed) {
    Ui().Message(Lang("No connect machine!", "设备没有连接!!"), MessageIcon::Exclamation);
  }
}

void Timer6_Timer() {
  ++Command.Timer6Count;
  if (Command.Timer6Count == 1) {
    if (ScreenCaptureHooks.PressPrintScreen) ScreenCaptureHooks.PressPrintScreen();
    return;
  }
  Timers.Timer6->SetEnabled(false);
  Command.Timer6Count = 0;
  if (ScreenCaptureHooks.ToExcelFile) ScreenCaptureHooks.ToExcelFile();
}

}  // namespace accelog
