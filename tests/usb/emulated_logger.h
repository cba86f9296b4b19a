#pragma once
// The logger emulated at the usbfs level: a umockdev testbed holds its sysfs
// entry and device node, and an ioctl handler on the node answers the
// USBDEVFS_* requests libusb's Linux backend makes with auto-detach on (the
// kernel driver goes with the claim, in one request). OUT payloads go to the
// simulated logger core; its replies, through the same fault plan as the
// socket simulator, complete IN URBs in max-packet pieces. An IN URB with
// nothing to deliver stays pending until libusb discards it, so a reply later
// than a read's wait lands in a later read, as on the device.
//
// The program under test (this process, or a child) must run with
// libumockdev-preload.so.0 in LD_PRELOAD; RunUnderUmockdev arranges that.
#include <array>
#include <chrono>
#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <type_traits>
#include <vector>

#include "sim/faults.h"
#include "sim/logger.h"
#include "sim/recording.h"

typedef struct _UMockdevTestbed UMockdevTestbed;
typedef struct _UMockdevIoctlBase UMockdevIoctlBase;
typedef struct _UMockdevIoctlClient UMockdevIoctlClient;
typedef struct _UMockdevIoctlData UMockdevIoctlData;

namespace accelog::testing {

// Re-runs the program once with umockdev's preload library; returns when it
// is already loaded (or the re-run could not be made: UsbEmulationMissing
// then says why).
void RunUnderUmockdev(char** argv);
// Empty when loggers can be emulated in this process; otherwise the reason.
std::string UsbEmulationMissing();

struct EmulatedLoggerOptions {
  int address = 2;                     // on bus 1
  bool bulk = false;                   // bulk endpoints instead of interrupt
  std::string kernel_driver;           // bound to interface 0 ("usbhid"): libusb must detach it
  bool claimed_elsewhere = false;      // another program holds interface 0
  std::string id_text = "ACCELOG-USB1";
  uint32_t seed = 1;
};

class EmulatedLogger {
 public:
  EmulatedLogger(sim::Recording memory, const EmulatedLoggerOptions& options);
  ~EmulatedLogger();
  EmulatedLogger(const EmulatedLogger&) = delete;
  EmulatedLogger& operator=(const EmulatedLogger&) = delete;

  void SetFaults(const sim::Faults& faults);
  const sim::Recording& Memory() const { return memory_; }
  std::array<uint8_t, 23> Parameters() const { return Locked([&] { return logger_.Parameters(); }); }
  bool ParametersSet() const { return Locked([&] { return logger_.ParametersSet(); }); }
  // Every OUT payload, in order.
  std::vector<std::vector<uint8_t>> Received() const { return Locked([&] { return received_; }); }
  // close_after was reached: the logger has left the bus.
  bool Unplugged() const { return Locked([&] { return gone_; }); }
  // Times libusb detached the kernel driver to claim the interface.
  int DriverDetaches() const { return Locked([&] { return detaches_; }); }
  const EmulatedLoggerOptions& Options() const { return options_; }

  UMockdevIoctlBase* Handler() const { return handler_; }
  void MarkGone() {
    std::lock_guard lock(mutex_);
    gone_ = true;
  }

 private:
  template <typename F>
  std::invoke_result_t<F> Locked(F read) const {
    std::lock_guard lock(mutex_);
    return read();
  }
  struct Urb {
    UMockdevIoctlClient* client;
    UMockdevIoctlData* data;  // the caller's struct usbdevfs_urb, resolved
    int status = 0;
    int actual_length = 0;
  };
  struct Reply {
    std::vector<uint8_t> bytes;
    size_t sent = 0;
    bool ended = false;  // the last piece (short or zero-length) went out
    std::chrono::steady_clock::time_point ready;
  };

  static int OnIoctl(UMockdevIoctlBase*, UMockdevIoctlClient* client, void* self);
  static void OnClientGone(UMockdevIoctlBase*, UMockdevIoctlClient* client, void* self);
  bool HandleIoctl(UMockdevIoctlClient* client);
  // Lets go of the URBs of `client`, or of everyone's for nullptr.
  void DropUrbs(UMockdevIoctlClient* client);
  void Submit(UMockdevIoctlClient* client);
  void Reap(UMockdevIoctlClient* client);
  void Discard(UMockdevIoctlClient* client);
  bool ReapOne(UMockdevIoctlClient* client, UMockdevIoctlData* arg);
  void TakeCommand(const std::vector<uint8_t>& frame);
  void Finish(UMockdevIoctlData* arg, Urb urb);

  const sim::Recording memory_;
  const EmulatedLoggerOptions options_;
  mutable std::mutex mutex_;
  sim::Logger logger_;
  sim::FaultPlan plan_;
  std::chrono::steady_clock::time_point last_ready_{};
  std::deque<Urb> pending_in_;  // IN URBs waiting for a reply
  std::deque<Urb> finished_;    // URBs done (OUT, discarded, failed) waiting for a reap
  std::deque<Reply> replies_;
  std::vector<std::vector<uint8_t>> received_;
  struct EmptyReaps {
    int count = 0;
    std::chrono::steady_clock::time_point last;
  };
  std::map<UMockdevIoctlClient*, EmptyReaps> empty_reaps_;
  bool gone_ = false;
  bool driver_bound_;
  int detaches_ = 0;
  UMockdevIoctlBase* handler_;
};

class UsbTestbed {
 public:
  UsbTestbed();
  ~UsbTestbed();
  UsbTestbed(const UsbTestbed&) = delete;
  UsbTestbed& operator=(const UsbTestbed&) = delete;

  // A logger on bus 1 at options.address (with an "add" uevent); libusb
  // needs no root hub entry to list it.
  EmulatedLogger& Plug(sim::Recording memory, const EmulatedLoggerOptions& options = {});
  // The logger leaves the bus: its URBs fail with ENODEV, a "remove" uevent
  // goes out and its sysfs entry and node go.
  void Unplug(EmulatedLogger& logger);
  // Unplugs the loggers whose fault plan unplugged them.
  void RemoveUnplugged();
  // Makes the logger's node unreadable for anyone without CAP_DAC_OVERRIDE.
  void DenyAccess(const EmulatedLogger& logger);

 private:
  UMockdevTestbed* bed_;
  std::string root_;
  struct Plugged {
    std::unique_ptr<EmulatedLogger> logger;
    bool removed = false;
  };
  std::vector<Plugged> loggers_;
};

}  // namespace accelog::testing
