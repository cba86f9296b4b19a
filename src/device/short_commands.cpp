#include <cstring>
#include <span>
#include <utility>
#include <vector>

#include "core/ui_port.h"
#include "device/device.h"
#include "device/frames.h"
#include "device/texts.h"
#include "model/dataset.h"

namespace accelog {

namespace {

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

}  // namespace

// Stops the reader, reads `length` bytes and returns them.
std::vector<uint8_t> Device::ReadShortReply(int length) {
  reply_timer_->SetEnabled(false);
  link.ReadLength = static_cast<int16_t>(length);
  ReadReply();
  return std::vector<uint8_t>(link.ReadBuffer, link.ReadBuffer + length);
}

void Device::ReadIdentifyReply() {
  const auto reply = ReadShortReply(27);
  command.Awaited = CommandCode::None;
  command.DeviceIdText = Latin1Text(reply.data() + 13, 12);
  ui_.StatusPanel(2, command.DeviceIdText);
}

void Device::ReadConnectReply() {
  const auto reply = ReadShortReply(15);
  link.LinkConfirmed = CheckConnectReply(reply);
  if (link.LinkConfirmed) {
    scan_timer_->SetEnabled(false);
    ui_.StatusPanel(1, Lang("Connet    OK", "连接成功"));
    SendIdentify();
  } else {
    ui_.Message("command12 is error!");
  }
}

void Device::ReadParameterReply() {
  const auto reply = ReadShortReply(15);
  const bool taken = CheckParameterReply(reply);
  if (taken) {
    ui_.StatusPanel(2, Lang("Send parameter ok", "发送参数成功"));
    command.Awaited = CommandCode::None;
  }
  if (auto done = std::exchange(command.ParametersSent, nullptr)) done(taken);
}

void Device::OnReplyTimer() {
  switch (command.Awaited) {
    case CommandCode::Identify: ReadIdentifyReply(); break;
    case CommandCode::Connect: ReadConnectReply(); break;
    case CommandCode::SetParameters: ReadParameterReply(); break;
    case CommandCode::DataInquiry: ReadDataInquiryReply(); break;
    default: break;
  }
}

bool Device::RefuseWithoutLink() {
  if (link.LinkConfirmed) return false;
  ui_.Message(Lang("No Connet", "没有连接设备"));
  return true;
}

void Device::SendParameters(const RecordingParameters& p, std::function<void(bool)> done) {
  command.ParametersSent = std::move(done);
  const auto f = BuildParameterFrame(p);
  SendShortCommand(CommandCode::SetParameters, f.data(), static_cast<int>(f.size()));
}

}  // namespace accelog
