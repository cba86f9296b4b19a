// The real logger over libusb: devices in bus/address order, each under a
// path "usb#vid_vvvv&pid_pppp#BBB-AAA"; interface 0, its first OUT and first
// IN endpoint (interrupt or bulk).
//
// Two IN transfers stay submitted while the device is open, so the host
// keeps polling the logger and every packet it sends lands in a queue of
// replies at once. A read takes the next reply from that queue; waiting
// zero is a look at the queue, not a transfer (a synchronous transfer
// cannot wait zero and costs a millisecond or more). A reply later than a
// read's wait simply lands later and is the next read's.
#include <libusb.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <deque>
#include <iterator>
#include <tuple>

#include "device/transport.h"

namespace accelog {
namespace {

libusb_context* Context() {
  static libusb_context* ctx = [] {
    libusb_context* c = nullptr;
    return libusb_init(&c) == 0 ? c : nullptr;
  }();
  return ctx;
}

constexpr int kInTransfers = 2;
// A reply nobody reads is kept this long at most; the link drops stale
// frames itself, this only bounds the memory of a flooding device.
constexpr size_t kMaxQueuedReplies = 256;
constexpr auto kFreshLook = std::chrono::milliseconds(1);

struct Endpoint {
  uint8_t address = 0;
  uint8_t type = LIBUSB_TRANSFER_TYPE_INTERRUPT;
  int max_packet = 64;
};

std::string DeviceName(int bus, int address) {
  char text[48];
  std::snprintf(text, sizeof text, "USB bus %03d device %03d", bus, address);
  return text;
}

class UsbTransport : public Transport {
 public:
  ~UsbTransport() override { Close(); }

  std::vector<std::string> EnumeratePaths() override {
    open_problem_.clear();
    std::vector<std::tuple<int, int, std::string>> found;
    libusb_device** list = nullptr;
    if (!Context()) {
      last_error_ = "libusb could not start";
      return {};
    }
    const ssize_t n = libusb_get_device_list(Context(), &list);
    for (ssize_t i = 0; i < n; ++i) {
      libusb_device_descriptor d{};
      if (libusb_get_device_descriptor(list[i], &d) != 0) continue;
      const int bus = libusb_get_bus_number(list[i]);
      const int address = libusb_get_device_address(list[i]);
      char path[64];
      std::snprintf(path, sizeof path, "usb#vid_%04x&pid_%04x#%03d-%03d", d.idVendor, d.idProduct,
                    bus, address);
      found.emplace_back(bus, address, path);
    }
    if (n >= 0) libusb_free_device_list(list, 1);
    std::sort(found.begin(), found.end());
    std::vector<std::string> paths;
    for (auto& f : found) paths.push_back(std::get<2>(f));
    return paths;
  }

  bool Open(const std::string& path) override {
    Close();
    int bus = -1, address = -1;
    const size_t second = path.find('#', path.find('#') + 1);
    if (second == std::string::npos ||
        std::sscanf(path.c_str() + second + 1, "%d-%d", &bus, &address) != 2 || !Context()) {
      return Failed("open " + path + ": not a USB device path");
    }
    const std::string name = DeviceName(bus, address);
    int rc = LIBUSB_ERROR_NOT_FOUND;
    libusb_device** list = nullptr;
    const ssize_t n = libusb_get_device_list(Context(), &list);
    for (ssize_t i = 0; i < n && !handle_; ++i) {
      if (libusb_get_bus_number(list[i]) != bus || libusb_get_device_address(list[i]) != address) {
        continue;
      }
      // Only the logger is ever claimed, whatever path a caller passes.
      libusb_device_descriptor d{};
      if (libusb_get_device_descriptor(list[i], &d) != 0 || d.idVendor != 0x1041 || d.idProduct != 0x8102) {
        continue;
      }
      rc = libusb_open(list[i], &handle_);
      if (rc != 0) handle_ = nullptr;
      if (handle_ && !FindEndpoints(list[i])) {
        rc = LIBUSB_ERROR_NOT_SUPPORTED;
        libusb_close(handle_);
        handle_ = nullptr;
      }
    }
    if (n >= 0) libusb_free_device_list(list, 1);
    if (!handle_) {
      if (rc == LIBUSB_ERROR_ACCESS) {
        open_problem_ =
            "The logger (" + name + ") may not be opened by this user: permission denied. "
            "Install the udev rule 70-accelog.rules (SUBSYSTEM==\"usb\", ATTRS{idVendor}==\"1041\", "
            "ATTRS{idProduct}==\"8102\", TAG+=\"uaccess\"): sudo install -m 644 70-accelog.rules "
            "/etc/udev/rules.d/ && sudo udevadm control --reload-rules && sudo udevadm trigger; "
            "then plug the logger in again.";
      }
      return Failed("open " + name + ": " + libusb_error_name(rc));
    }
    libusb_set_auto_detach_kernel_driver(handle_, 1);
    rc = libusb_claim_interface(handle_, 0);
    if (rc != 0) {
      if (rc == LIBUSB_ERROR_BUSY) {
        open_problem_ = "The logger (" + name + ") is in use by another program, which has claimed "
                        "its interface. Close that program and scan again.";
      }
      libusb_close(handle_);
      handle_ = nullptr;
      return Failed("claim interface 0 of " + name + ": " + libusb_error_name(rc));
    }
    gone_ = false;
    replies_.clear();
    partial_.clear();
    if (!StartReading()) {
      Close();
      return false;
    }
    return true;
  }

  bool Write(const uint8_t* bytes, int n) override {
    if (!handle_ || n <= 0) return Failed("write: the device is not open");
    int sent = 0;
    const int rc = Transfer(out_, const_cast<uint8_t*>(bytes), n, &sent, 1000);
    last_look_ = std::chrono::steady_clock::now();  // the transfer handled the events
    if (rc == 0 && sent == n) return true;
    if (rc == LIBUSB_ERROR_NO_DEVICE) gone_ = true;
    return Failed("write: " + std::string(rc == 0 ? "short write" : libusb_error_name(rc)));
  }

  int Read(uint8_t* bytes, int n, int wait_ms) override {
    if (!handle_ || n <= 0) {
      Failed("read: the device is not open");
      return -1;
    }
    using Clock = std::chrono::steady_clock;
    const auto give_up = Clock::now() + std::chrono::milliseconds(std::clamp(wait_ms, 0, kReadWaitMs));
    for (;;) {
      if (!replies_.empty()) {
        // One reply is one read; what does not fit in n is dropped with it.
        const std::vector<uint8_t> reply = std::move(replies_.front());
        replies_.pop_front();
        const int got = std::min<int>(n, static_cast<int>(reply.size()));
        std::copy(reply.begin(), reply.begin() + got, bytes);
        return got;
      }
      if (gone_) return -1;
      const auto left = std::chrono::duration_cast<std::chrono::microseconds>(give_up - Clock::now());
      timeval tv{0, 0};
      if (left.count() > 0) {
        tv.tv_sec = static_cast<time_t>(left.count() / 1000000);
        tv.tv_usec = static_cast<suseconds_t>(left.count() % 1000000);
      }
      // A look at the device less than a millisecond old is as good as a
      // new one: two drains in a row cost one look.
      if (left.count() <= 0 && Clock::now() - last_look_ < kFreshLook) return gone_ ? -1 : 0;
      const int rc = libusb_handle_events_timeout_completed(Context(), &tv, nullptr);
      last_look_ = Clock::now();
      if (rc != 0 && rc != LIBUSB_ERROR_INTERRUPTED && rc != LIBUSB_ERROR_TIMEOUT) {
        Failed(std::string("read: ") + libusb_error_name(rc));
        return -1;
      }
      if (left.count() <= 0 && replies_.empty()) return gone_ ? -1 : 0;
    }
  }

  void Close() override {
    if (!handle_) return;
    StopReading();
    libusb_release_interface(handle_, 0);
    libusb_close(handle_);
    handle_ = nullptr;
    replies_.clear();
    partial_.clear();
  }

  std::string LastError() const override { return last_error_; }
  std::string OpenProblem() const override { return open_problem_; }

 private:
  bool Failed(const std::string& what) {
    last_error_ = what;
    return false;
  }

  bool FindEndpoints(libusb_device* dev) {
    libusb_config_descriptor* config = nullptr;
    if (libusb_get_active_config_descriptor(dev, &config) != 0 || !config) return false;
    bool have_in = false, have_out = false;
    if (config->bNumInterfaces > 0 && config->interface[0].num_altsetting > 0) {
      const libusb_interface_descriptor& alt = config->interface[0].altsetting[0];
      for (int e = 0; e < alt.bNumEndpoints; ++e) {
        const libusb_endpoint_descriptor& ep = alt.endpoint[e];
        const uint8_t type = ep.bmAttributes & LIBUSB_TRANSFER_TYPE_MASK;
        if (type != LIBUSB_TRANSFER_TYPE_INTERRUPT && type != LIBUSB_TRANSFER_TYPE_BULK) continue;
        Endpoint found{ep.bEndpointAddress, type, std::max<int>(1, ep.wMaxPacketSize & 0x7FF)};
        if ((ep.bEndpointAddress & LIBUSB_ENDPOINT_IN) != 0) {
          if (!have_in) in_ = found;
          have_in = true;
        } else {
          if (!have_out) out_ = found;
          have_out = true;
        }
      }
    }
    libusb_free_config_descriptor(config);
    return have_in && have_out;
  }

  int Transfer(const Endpoint& ep, uint8_t* data, int n, int* moved, unsigned timeout) {
    if (ep.type == LIBUSB_TRANSFER_TYPE_BULK) {
      return libusb_bulk_transfer(handle_, ep.address, data, n, moved, timeout);
    }
    return libusb_interrupt_transfer(handle_, ep.address, data, n, moved, timeout);
  }

  // One packet per transfer: a short packet ends a reply.
  bool StartReading() {
    for (InTransfer& t : in_transfers_) {
      t.buffer.assign(static_cast<size_t>(in_.max_packet), 0);
      if (!t.transfer) t.transfer = libusb_alloc_transfer(0);
      if (!t.transfer) return Failed("read: no memory for a transfer");
      libusb_fill_interrupt_transfer(t.transfer, handle_, in_.address, t.buffer.data(), in_.max_packet,
                                     &UsbTransport::OnInDone, this, 0);
      t.transfer->type = in_.type;
      const int rc = libusb_submit_transfer(t.transfer);
      if (rc != 0) return Failed(std::string("read: ") + libusb_error_name(rc));
      t.in_flight = true;
    }
    return true;
  }

  void StopReading() {
    // Even a cancel that fails (the device has gone) leaves the transfer
    // libusb's until its callback has run: freed only once given back.
    for (InTransfer& t : in_transfers_) {
      if (t.in_flight) libusb_cancel_transfer(t.transfer);
    }
    const auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(1);
    while (InFlight() && std::chrono::steady_clock::now() < give_up) {
      timeval tv{0, 10000};
      libusb_handle_events_timeout_completed(Context(), &tv, nullptr);
    }
    for (InTransfer& t : in_transfers_) {
      // A transfer libusb never gave back is leaked rather than freed under it.
      if (!t.in_flight) libusb_free_transfer(t.transfer);
      t.transfer = nullptr;
      t.in_flight = false;
    }
  }

  bool InFlight() const {
    return std::any_of(std::begin(in_transfers_), std::end(in_transfers_), [](const InTransfer& t) { return t.in_flight; });
  }

  static void LIBUSB_CALL OnInDone(libusb_transfer* transfer) {
    static_cast<UsbTransport*>(transfer->user_data)->TakeIn(transfer);
  }

  void TakeIn(libusb_transfer* transfer) {
    InTransfer* t = nullptr;
    for (InTransfer& c : in_transfers_) {
      if (c.transfer == transfer) t = &c;
    }
    if (!t) return;
    t->in_flight = false;
    switch (transfer->status) {
      case LIBUSB_TRANSFER_COMPLETED:
        partial_.insert(partial_.end(), transfer->buffer, transfer->buffer + transfer->actual_length);
        if (transfer->actual_length < transfer->length && !partial_.empty()) {
          if (replies_.size() >= kMaxQueuedReplies) replies_.pop_front();
          replies_.push_back(std::move(partial_));
          partial_.clear();
        }
        break;
      case LIBUSB_TRANSFER_CANCELLED:
        return;
      case LIBUSB_TRANSFER_NO_DEVICE:
        gone_ = true;
        Failed("read: the device has gone");
        return;
      default:
        // A stall or a bus error: the link cannot be trusted any more.
        gone_ = true;
        Failed("read: transfer status " + std::to_string(transfer->status));
        return;
    }
    const int rc = libusb_submit_transfer(transfer);
    if (rc == 0) {
      t->in_flight = true;
    } else {
      gone_ = true;
      Failed(std::string("read: ") + libusb_error_name(rc));
    }
  }

  struct InTransfer {
    libusb_transfer* transfer = nullptr;
    std::vector<uint8_t> buffer;
    bool in_flight = false;
  };

  libusb_device_handle* handle_ = nullptr;
  Endpoint in_, out_;
  InTransfer in_transfers_[kInTransfers];
  std::deque<std::vector<uint8_t>> replies_;
  std::vector<uint8_t> partial_;  // packets of a reply still arriving
  bool gone_ = false;
  std::chrono::steady_clock::time_point last_look_{};  // last event handling
  std::string last_error_, open_problem_;
};

}  // namespace

std::unique_ptr<Transport> MakeUsbTransport() { return std::make_unique<UsbTransport>(); }

}  // namespace accelog
