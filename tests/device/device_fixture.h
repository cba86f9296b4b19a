#pragma once
// What the device engine tests share: a recording message port, a loopback
// transport onto the simulated logger's frame logic (no socket, no thread),
// and a fixture on the virtual clock.
#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <functional>

#include "app/device_menu.h"
#include "core/virtual_clock.h"
#include "device/device.h"
#include "device/frames.h"
#include "device/transport.h"
#include "model/dataset.h"
#include "model/machine_parameter.h"
#include "sim/logger.h"
#include "sim/recording.h"
#include "support/kvx_builder.h"
#include "support/recording_ui.h"
#include "support/temp_folder.h"

namespace accelog::testing {

// The first `bytes` of a download's file image, as a download that ended
// there leaves it: whole samples under the head the logger announced.
inline std::vector<unsigned char> DownloadCutTo(const std::vector<unsigned char>& image, size_t bytes) {
  std::vector<unsigned char> file(image.begin(), image.begin() + static_cast<long>(std::min(bytes, image.size())));
  if (file.size() >= 19) file.resize(19 + (file.size() - 19) / 6 * 6);
  return file;
}

// The shared recording port with the save and parameter dialogs scripted,
// and what the live runs show.
class DeviceUi : public RecordingUi {
 public:
  std::string save_name;
  std::function<void()> parameter_dialog;  // runs in place of the dialog
  std::vector<std::string> captions;
  std::vector<bool> marks, spectrum_marks;  // of the live and the spectrum item
  std::vector<std::string> frequency_files;
  int points_shown = 0;
  std::vector<std::vector<uint8_t>> sets;  // the samples of every spectrum set shown
  size_t stop_after = 0;                   // sets shown before a spectrum run is stopped
  Device* device = nullptr;                // the one stopped
  std::string SaveFileName(const std::string&, const std::string&) override { return save_name; }
  void ShowDataFile(const std::string& file) override { shown_files.push_back(file); }
  void ShowParameterDialog() override { parameter_dialog ? parameter_dialog() : void(device->Parameters().ParameterAccepted = true); }
  void SetCaption(const std::string& text) override { captions.push_back(text); }
  void SetMenuMark(int item, bool on) override { (item == 9 ? marks : spectrum_marks).push_back(on); }
  void ShowLivePoint() override { ++points_shown; }
  void ShowFrequencyFile(const std::string& file) override { frequency_files.push_back(file); }
  void ShowLiveSet() override {
    std::vector<uint8_t> s;
    for (int i = 20; i <= 1555; ++i) s.push_back(static_cast<uint8_t>(device->Data().FFTMemory[i]));
    sets.push_back(s);
    if (sets.size() == stop_after && device) device->RequestSpectrumStop();
  }
  std::string Panel(int n) const { return panels.contains(n) ? panels.at(n) : std::string(); }
  // Every text panel n showed, in order.
  std::vector<std::string> PanelTexts(int n) const {
    std::vector<std::string> texts;
    const std::string key = std::to_string(n) + ":";
    for (const auto& h : panel_history)
      if (h.rfind(key, 0) == 0) texts.push_back(h.substr(key.size()));
    return texts;
  }
  bool PanelShowed(int n, const std::string& text) const { return std::ranges::count(PanelTexts(n), text) > 0; }
};

// The logger's frame logic behind the transport interface, on the virtual
// clock: a read takes the next reply if it is due within its wait, without
// sleeping. `shape` sees every reply (numbered from 0), may change it, and
// says how often it is sent: 0 drops it, 2 adds a copy nobody asked for.
class LoopbackTransport : public Transport {
 public:
  LoopbackTransport(sim::Recording memory, std::function<int64_t()> now, std::string id = "LOOPBACK0001")
      : logger(std::move(memory), std::move(id), 7), now_(std::move(now)) {}

  sim::Logger logger;
  std::vector<std::string> paths = {SimulatedDevicePath("/loopback")};
  std::function<int(sim::Packet&, long)> shape;
  std::function<bool(const uint8_t*, int)> refuse_write;  // true: the write fails
  std::function<int(long)> delay_ms;  // delay of reply n on the virtual clock
  std::vector<std::vector<uint8_t>> written;
  std::deque<std::pair<sim::Packet, int64_t>> queue;  // each reply and when it falls due
  long replies = 0;
  bool open = false;
  int opens = 0;

  std::vector<std::string> EnumeratePaths() override { return paths; }
  bool Open(const std::string&) override {
    ++opens;
    open = true;
    return true;
  }
  bool Write(const uint8_t* bytes, int n) override {
    if (!open) return false;
    if (refuse_write && refuse_write(bytes, n)) return false;
    written.emplace_back(bytes, bytes + n);
    for (auto& p : logger.Respond(std::span<const uint8_t>(bytes, static_cast<size_t>(n)))) {
      const long index = replies++;
      const int copies = shape ? shape(p, index) : 1;
      const int64_t due = now_() + (delay_ms ? delay_ms(index) : 0);
      for (int c = 0; c < copies; ++c) queue.push_back({p, due});
    }
    return true;
  }
  int Read(uint8_t* bytes, int n, int wait_ms) override {
    if (!open) return -1;
    if (queue.empty() || queue.front().second > now_() + wait_ms) return 0;
    const auto p = std::move(queue.front().first);
    queue.pop_front();
    const int got = std::min<int>(n, static_cast<int>(p.size()));
    std::copy(p.begin(), p.begin() + got, bytes);
    return got;
  }
  void Close() override { open = false; }

  // Control bytes of the commands written so far.
  std::vector<int> Commands() const {
    std::vector<int> c;
    for (auto& w : written) c.push_back(w.size() > 11 ? w[11] : -1);
    return c;
  }
  int Sent(int control) const {
    const auto c = Commands();
    return static_cast<int>(std::count(c.begin(), c.end(), control));
  }

 private:
  std::function<int64_t()> now_;
};

class DeviceEngineTest : public ProgramFolderTest {
 protected:
  void SetUp() override {
    ProgramFolderTest::SetUp();
    ApplyDefaults(params_);
    params_.LanguageFlag = 1;
  }

  // A fresh device on `transport`, its timers on the virtual clock. A logger
  // in another thread is late in real time, so its link times are real too.
  void Install(std::unique_ptr<Transport> transport, bool real_link_time = false) {
    dev_.reset();
    DeviceClock clock = real_link_time ? SteadyDeviceClock([&] { return clock_.MakeTimer(); }) : device_clock_;
    dev_ = std::make_unique<Device>(std::move(transport), std::move(clock), ui_, data_, params_);
    ui_.device = dev_.get();
  }
  // A fresh device on a loopback logger holding `samples`.
  LoopbackTransport* InstallLoopback(uint32_t samples, uint32_t seed = 1) {
    auto t = std::make_unique<LoopbackTransport>(sim::MakeRecording(samples, seed), device_clock_.now_ms);
    loop_ = t.get();
    Install(std::move(t));
    return loop_;
  }
  // Scan, connect and identify; true when the link is up and idle.
  bool BringUp() {
    dev_->StartScan();
    return clock_.RunUntil([&] { return dev_->Connected(); }, 10000);
  }
  // A fresh port and device on a loopback logger holding `samples`; true when the link is up.
  bool Fresh(uint32_t samples) {
    ui_ = DeviceUi{};
    InstallLoopback(samples);
    return BringUp();
  }

  // A whole download into `name` (through the save dialog); true when it ended
  // one way or the other within the virtual limit.
  bool RunDownload(const std::string& name, int64_t limit_ms = 3'600'000) {
    ui_.save_name = name;
    DownloadData(*dev_);
    return clock_.RunUntil([&] { return dev_->download.Outcome != DownloadOutcome::Running; }, limit_ms);
  }

  // Starts "Real Time Data" into Out(): a sample every 500 ms up to `limit`
  // (minutes for kind 0, samples for kind 1).
  void StartLive(int16_t kind, int16_t limit) {
    ui_.save_name = Out();
    params_.RecordInterval = 500;
    params_.IntervalUnit = 0;
    params_.LimitKind = kind;
    params_.LimitTime = limit;
    ToggleLiveCapture(*dev_);
    ASSERT_EQ(dev_->live.Data, CaptureState::Running);
  }
  bool RunLive(int64_t limit_ms = 3'600'000) {
    return clock_.RunUntil([&] { return dev_->live.DataOutcome != LiveOutcome::Running; }, limit_ms);
  }
  // Where a download or a live run writes.
  std::string Out() const { return folder_.File("out.kvx"); }

  VirtualClock clock_;
  DeviceClock device_clock_ = VirtualDeviceClock(clock_);  // the loopback's replies fall due on it
  DeviceUi ui_;
  Dataset data_;
  RecordingParameters params_{};  // the record the menu items hand the device
  std::unique_ptr<Device> dev_;
  LoopbackTransport* loop_ = nullptr;  // the last one installed
};

}  // namespace accelog::testing
