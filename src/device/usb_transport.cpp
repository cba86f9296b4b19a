// The real logger over libusb: devices in bus/address order, each under a
// path "usb#vid_vvvv&pid_pppp#BBB-AAA"; interface 0, its first OUT and first
// IN endpoint (interrupt or bulk).
#include <libusb.h>

#include <algorithm>
#include <cstdio>
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

struct Endpoint {
  uint8_t address = 0;
  uint8_t type = LIBUSB_TRANSFER_TYPE_INTERRUPT;
  int max_packet = 64;
};

class UsbTransport : public Transport {
 public:
  ~UsbTransport() override { Close(); }

  std::vector<std::string> EnumeratePaths() override {
    std::vector<std::tuple<int, int, std::string>> found;
    libusb_device** list = nullptr;
    if (!Context()) return {};
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
      return false;
    }
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
      if (libusb_open(list[i], &handle_) != 0) handle_ = nullptr;
      if (handle_ && !FindEndpoints(list[i])) Close();
    }
    if (n >= 0) libusb_free_device_list(list, 1);
    if (!handle_) return false;
    libusb_set_auto_detach_kernel_driver(handle_, 1);
    if (libusb_claim_interface(handle_, 0) != 0) {
      libusb_close(handle_);
      handle_ = nullptr;
      return false;
    }
    claimed_ = true;
    return true;
  }

  bool Write(const uint8_t* bytes, int n) override {
    if (!handle_ || n <= 0) return false;
    int sent = 0;
    const int rc = Transfer(out_, const_cast<uint8_t*>(bytes), n, &sent, 1000);
    return rc == 0 && sent == n;
  }

  int Read(uint8_t* bytes, int n, int wait_ms) override {
    if (!handle_ || n <= 0) return -1;
    // Ask for whole packets, or a longer packet than n overflows the transfer.
    const int size = (n + in_.max_packet - 1) / in_.max_packet * in_.max_packet;
    buffer_.assign(static_cast<size_t>(size), 0);
    int got = 0;
    // libusb takes 0 as "wait forever".
    const int rc = Transfer(in_, buffer_.data(), size, &got, std::clamp(wait_ms, 1, kReadWaitMs));
    if (rc == LIBUSB_ERROR_NO_DEVICE || rc == LIBUSB_ERROR_IO || rc == LIBUSB_ERROR_PIPE) return -1;
    // A timed-out transfer still reports what it moved.
    got = std::min(got, n);
    std::copy(buffer_.begin(), buffer_.begin() + got, bytes);
    return got;
  }

  void Close() override {
    if (!handle_) return;
    if (claimed_) libusb_release_interface(handle_, 0);
    libusb_close(handle_);
    handle_ = nullptr;
    claimed_ = false;
  }

 private:
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

  libusb_device_handle* handle_ = nullptr;
  bool claimed_ = false;
  Endpoint in_, out_;
  std::vector<uint8_t> buffer_;
};

}  // namespace

std::unique_ptr<Transport> MakeUsbTransport() { return std::make_unique<UsbTransport>(); }

}  // namespace accelog
