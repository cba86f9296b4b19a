#include "usb/emulated_logger.h"

#include <linux/usbdevice_fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <umockdev.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <thread>

namespace accelog::testing {
namespace {

using Clock = std::chrono::steady_clock;

constexpr int kMaxPacket = 64;
constexpr uint8_t kOutEndpoint = 0x01, kInEndpoint = 0x81;
// The node always polls ready, so libusb reaps as fast as it can: an empty
// reap is held this long before EAGAIN.
constexpr auto kEmptyReapHold = std::chrono::microseconds(300);
constexpr auto kSpinGap = std::chrono::milliseconds(1);

std::string SysPathOf(int address) { return "/devices/usb1/1-" + std::to_string(address); }

std::string NodeOf(int address) {
  char node[32];
  std::snprintf(node, sizeof node, "/dev/bus/usb/001/%03d", address);
  return node;
}

// The logger's sysfs entry: its device and configuration descriptors as
// the kernel puts them there.
std::string DeviceText(int address, bool bulk) {
  const uint8_t type = bulk ? 0x02 : 0x03, interval = bulk ? 0 : 1;
  const uint8_t descriptors[] = {
      0x12, 0x01, 0x00, 0x02, 0x00, 0x00, 0x00, 0x40, 0x41, 0x10, 0x02, 0x81, 0x00, 0x01, 0x00, 0x00, 0x00, 0x01,
      0x09, 0x02, 0x20, 0x00, 0x01, 0x01, 0x00, 0x80, 0x32,
      0x09, 0x04, 0x00, 0x00, 0x02, 0xFF, 0x00, 0x00, 0x00,
      0x07, 0x05, kOutEndpoint, type, kMaxPacket, 0x00, interval,
      0x07, 0x05, kInEndpoint, type, kMaxPacket, 0x00, interval};
  const std::string node = NodeOf(address).substr(5), number = node.substr(node.size() - 3);
  std::string text = "P: " + SysPathOf(address) + "\nN: " + node +
                     "\nE: SUBSYSTEM=usb\nE: DRIVER=usb\nE: DEVNAME=/dev/" + node +
                     "\nE: DEVTYPE=usb_device\nE: BUSNUM=001\nE: DEVNUM=" + number + "\nA: busnum=1\\n\nA: devnum=" +
                     std::to_string(address) + "\\n\nA: speed=12\\n\nA: bConfigurationValue=1\\n\nH: descriptors=";
  char hex[3];
  for (uint8_t b : descriptors) {
    std::snprintf(hex, sizeof hex, "%02x", b);
    text += hex;
  }
  return text + "\n";
}

usbdevfs_urb* UrbOf(UMockdevIoctlData* data) { return reinterpret_cast<usbdevfs_urb*>(data->data); }

}  // namespace

void RunUnderUmockdev(char** argv) {
  if (std::getenv("ACCELOG_UMOCKDEV_RERUN")) return;
  setenv("ACCELOG_UMOCKDEV_RERUN", "1", 1);
  const char* preload = std::getenv("LD_PRELOAD");
  std::string list = "libumockdev-preload.so.0";
  if (preload && *preload) list += std::string(":") + preload;
  setenv("LD_PRELOAD", list.c_str(), 1);
  // The preload comes before the sanitizer runtime.
  const char* asan = std::getenv("ASAN_OPTIONS");
  setenv("ASAN_OPTIONS", (std::string(asan ? asan : "") + (asan && *asan ? ":" : "") + "verify_asan_link_order=0").c_str(), 1);
  execv("/proc/self/exe", argv);
  std::fprintf(stderr, "cannot re-run under umockdev: %s\n", std::strerror(errno));
}

std::string UsbEmulationMissing() {
  std::ifstream maps("/proc/self/maps");
  const std::string loaded{std::istreambuf_iterator<char>(maps), {}};
  if (loaded.find("libumockdev-preload") == std::string::npos) {
    return "umockdev's preload library is not loaded (install the umockdev package: "
           "libumockdev-preload.so.0 must be loadable)";
  }
  return {};
}

EmulatedLogger::EmulatedLogger(sim::Recording memory, const EmulatedLoggerOptions& options)
    : memory_(std::move(memory)),
      options_(options),
      logger_(memory_, options.id_text, options.seed),
      plan_(options.seed),
      driver_bound_(!options.kernel_driver.empty()),
      handler_(umockdev_ioctl_base_new()) {
  // After the class handler, which declines every request.
  g_signal_connect_after(handler_, "handle-ioctl", G_CALLBACK(&EmulatedLogger::OnIoctl), this);
  g_signal_connect(handler_, "client-vanished", G_CALLBACK(&EmulatedLogger::OnClientGone), this);
}

EmulatedLogger::~EmulatedLogger() {
  std::lock_guard lock(mutex_);
  DropUrbs(nullptr);
  g_signal_handlers_disconnect_by_data(handler_, this);
  g_object_unref(handler_);
}

void EmulatedLogger::SetFaults(const sim::Faults& faults) {
  std::lock_guard lock(mutex_);
  plan_.Set(faults);
  logger_.SetEarlyEnd(faults.early_end);
}

int EmulatedLogger::OnIoctl(UMockdevIoctlBase*, UMockdevIoctlClient* client, void* self) {
  return static_cast<EmulatedLogger*>(self)->HandleIoctl(client) ? TRUE : FALSE;
}

void EmulatedLogger::OnClientGone(UMockdevIoctlBase*, UMockdevIoctlClient* client, void* self) {
  auto* me = static_cast<EmulatedLogger*>(self);
  std::lock_guard lock(me->mutex_);
  me->empty_reaps_.erase(client);
  me->DropUrbs(client);
}

void EmulatedLogger::DropUrbs(UMockdevIoctlClient* client) {
  for (auto* list : {&pending_in_, &finished_}) {
    std::erase_if(*list, [&](const Urb& u) {
      if (client && u.client != client) return false;
      g_object_unref(u.data);
      return true;
    });
  }
}

bool EmulatedLogger::HandleIoctl(UMockdevIoctlClient* client) {
  const unsigned long request = umockdev_ioctl_client_get_request(client);
  UMockdevIoctlData* arg = umockdev_ioctl_client_get_arg(client);
  auto done = [&](long result, int error) {
    umockdev_ioctl_client_complete(client, result, error);
    return true;
  };
  if (request == USBDEVFS_REAPURBNDELAY || request == USBDEVFS_REAPURB) {
    Reap(client);
    return true;
  }
  std::unique_lock lock(mutex_);
  if (gone_) return done(-1, ENODEV);
  switch (request) {
    case USBDEVFS_GET_CAPABILITIES: {
      UMockdevIoctlData* caps = umockdev_ioctl_data_resolve(arg, 0, sizeof(uint32_t), nullptr);
      const uint32_t value = USBDEVFS_CAP_BULK_CONTINUATION | USBDEVFS_CAP_NO_PACKET_SIZE_LIM |
                             USBDEVFS_CAP_REAP_AFTER_DISCONNECT;
      std::memcpy(caps->data, &value, sizeof value);
      g_object_unref(caps);
      return done(0, 0);
    }
    case USBDEVFS_DISCONNECT_CLAIM:
      // libusb asks to detach anything but another program's usbfs claim.
      if (options_.claimed_elsewhere) return done(-1, EBUSY);
      if (driver_bound_) ++detaches_;
      driver_bound_ = false;
      return done(0, 0);
    case USBDEVFS_CLAIMINTERFACE:
      return options_.claimed_elsewhere || driver_bound_ ? done(-1, EBUSY) : done(0, 0);
    case USBDEVFS_RELEASEINTERFACE:
      return done(0, 0);
    case USBDEVFS_SUBMITURB:
      lock.unlock();
      Submit(client);
      return true;
    case USBDEVFS_DISCARDURB:
      lock.unlock();
      Discard(client);
      return true;
    default:
      return done(-1, ENOTTY);
  }
}

void EmulatedLogger::Submit(UMockdevIoctlClient* client) {
  UMockdevIoctlData* arg = umockdev_ioctl_client_get_arg(client);
  UMockdevIoctlData* data = umockdev_ioctl_data_resolve(arg, 0, sizeof(usbdevfs_urb), nullptr);
  usbdevfs_urb* urb = UrbOf(data);
  std::unique_lock lock(mutex_);
  // What the kernel accepts: a bulk URB on either kind of endpoint, an
  // interrupt URB on an interrupt endpoint only.
  const int error = gone_                                                          ? ENODEV
                    : urb->endpoint != kOutEndpoint && urb->endpoint != kInEndpoint ? ENOENT
                    : urb->type == USBDEVFS_URB_TYPE_INTERRUPT ? options_.bulk : urb->type != USBDEVFS_URB_TYPE_BULK
                        ? EINVAL
                        : 0;
  if (error != 0) {
    lock.unlock();
    g_object_unref(data);
    umockdev_ioctl_client_complete(client, -1, error);
    return;
  }
  // Resolved into this process; written back to the caller with the reap.
  UMockdevIoctlData* buffer = umockdev_ioctl_data_resolve(data, offsetof(usbdevfs_urb, buffer),
                                                          static_cast<size_t>(urb->buffer_length), nullptr);
  if (urb->endpoint == kOutEndpoint) {
    const std::vector<uint8_t> payload(buffer->data, buffer->data + urb->buffer_length);
    received_.push_back(payload);
    TakeCommand(payload);
    // Written back only with the reap: a change now costs another trip.
    finished_.push_back({client, data, 0, urb->buffer_length});
  } else {
    pending_in_.push_back({client, data, 0, 0});
  }
  lock.unlock();
  g_object_unref(buffer);
  umockdev_ioctl_client_complete(client, 0, 0);
}

void EmulatedLogger::TakeCommand(const std::vector<uint8_t>& frame) {
  for (sim::Packet& reply : logger_.Respond(frame)) {
    const sim::ReplyPlan plan = plan_.Next(reply);
    if (plan.fate == sim::ReplyFate::Unplug) {
      gone_ = true;
      return;
    }
    if (plan.fate != sim::ReplyFate::Send) continue;
    // In order, as the logger sends them: a late reply holds back the rest.
    const auto ready = std::max(Clock::now(), last_ready_) + std::chrono::milliseconds(plan.delay_ms);
    last_ready_ = ready;
    replies_.push_back({std::move(reply), 0, false, ready});
  }
}

void EmulatedLogger::Discard(UMockdevIoctlClient* client) {
  UMockdevIoctlData* arg = umockdev_ioctl_client_get_arg(client);
  const auto address = reinterpret_cast<gulong>(*reinterpret_cast<void**>(arg->data));
  std::unique_lock lock(mutex_);
  auto it = std::find_if(pending_in_.begin(), pending_in_.end(),
                         [&](const Urb& u) { return u.client == client && u.data->client_addr == address; });
  if (it == pending_in_.end()) {
    lock.unlock();
    umockdev_ioctl_client_complete(client, -1, EINVAL);
    return;
  }
  Urb urb = *it;
  pending_in_.erase(it);
  urb.status = -ENOENT;
  finished_.push_back(urb);
  lock.unlock();
  umockdev_ioctl_client_complete(client, 0, 0);
}

void EmulatedLogger::Finish(UMockdevIoctlData* arg, Urb urb) {
  UrbOf(urb.data)->status = urb.status;
  UrbOf(urb.data)->actual_length = urb.actual_length;
  UMockdevIoctlData* slot = umockdev_ioctl_data_resolve(arg, 0, sizeof(void*), nullptr);
  umockdev_ioctl_data_set_ptr(slot, 0, urb.data);
  g_object_unref(slot);
  umockdev_ioctl_client_complete(urb.client, 0, 0);
  g_object_unref(urb.data);
}

bool EmulatedLogger::ReapOne(UMockdevIoctlClient* client, UMockdevIoctlData* arg) {
  std::unique_lock lock(mutex_);
  auto mine = [&](const Urb& u) { return u.client == client; };
  if (auto it = std::find_if(finished_.begin(), finished_.end(), mine); it != finished_.end()) {
    Urb urb = *it;
    finished_.erase(it);
    lock.unlock();
    Finish(arg, urb);
    return true;
  }
  auto in = std::find_if(pending_in_.begin(), pending_in_.end(), mine);
  if (gone_) {
    if (in == pending_in_.end()) {
      lock.unlock();
      umockdev_ioctl_client_complete(client, -1, ENODEV);
      return true;
    }
    Urb urb = *in;
    pending_in_.erase(in);
    urb.status = -ENODEV;
    lock.unlock();
    Finish(arg, urb);
    return true;
  }
  if (in == pending_in_.end() || replies_.empty() || replies_.front().ready > Clock::now()) return false;
  // Max-packet pieces of the reply until the URB is full or a short piece ends it.
  Urb urb = *in;
  pending_in_.erase(in);
  usbdevfs_urb* u = UrbOf(urb.data);
  Reply& reply = replies_.front();
  int filled = 0;
  while (!reply.ended && filled + kMaxPacket <= u->buffer_length) {
    const int piece = static_cast<int>(std::min<size_t>(kMaxPacket, reply.bytes.size() - reply.sent));
    std::memcpy(static_cast<uint8_t*>(u->buffer) + filled, reply.bytes.data() + reply.sent, static_cast<size_t>(piece));
    reply.sent += static_cast<size_t>(piece);
    filled += piece;
    if (piece < kMaxPacket) reply.ended = true;
  }
  urb.actual_length = filled;
  if (reply.ended) replies_.pop_front();
  lock.unlock();
  Finish(arg, urb);
  return true;
}

void EmulatedLogger::Reap(UMockdevIoctlClient* client) {
  UMockdevIoctlData* arg = umockdev_ioctl_client_get_arg(client);
  if (ReapOne(client, arg)) {
    std::lock_guard lock(mutex_);
    empty_reaps_[client].count = 0;
    return;
  }
  // An empty reap or two is libusb looking once (what a poll that is not
  // ready costs on the device); only a run of them is a spin to slow down.
  const auto now = Clock::now();
  bool spinning;
  {
    std::lock_guard lock(mutex_);
    EmptyReaps& run = empty_reaps_[client];
    run.count = now - run.last < kSpinGap ? run.count + 1 : 1;
    run.last = now;
    spinning = run.count > 2;
  }
  if (spinning) {
    std::this_thread::sleep_for(kEmptyReapHold);
    if (ReapOne(client, arg)) return;
  }
  umockdev_ioctl_client_complete(client, -1, EAGAIN);
}

UsbTestbed::UsbTestbed() : bed_(umockdev_testbed_new()) {
  gchar* root = umockdev_testbed_get_root_dir(bed_);
  root_ = root;
  g_free(root);
}

UsbTestbed::~UsbTestbed() {
  // The testbed's worker goes first: no handler runs after this.
  g_object_unref(bed_);
  loggers_.clear();
}

EmulatedLogger& UsbTestbed::Plug(sim::Recording memory, const EmulatedLoggerOptions& options) {
  auto logger = std::make_unique<EmulatedLogger>(std::move(memory), options);
  // The handler is attached before the node appears, so an open right after
  // the "add" uevent already reaches it.
  umockdev_testbed_attach_ioctl(bed_, NodeOf(options.address).c_str(), logger->Handler(), nullptr);
  const std::string text = DeviceText(options.address, options.bulk);
  umockdev_testbed_add_from_string(bed_, text.c_str(), nullptr);
  loggers_.push_back({std::move(logger), false});
  return *loggers_.back().logger;
}

void UsbTestbed::Unplug(EmulatedLogger& logger) {
  for (Plugged& p : loggers_) {
    if (p.logger.get() != &logger || p.removed) continue;
    logger.MarkGone();
    const std::string sys = "/sys" + SysPathOf(logger.Options().address);
    umockdev_testbed_uevent(bed_, sys.c_str(), "remove");
    umockdev_testbed_remove_device(bed_, sys.c_str());
    ::unlink((root_ + NodeOf(logger.Options().address)).c_str());
    p.removed = true;
  }
}

void UsbTestbed::RemoveUnplugged() {
  for (Plugged& p : loggers_) {
    if (!p.removed && p.logger->Unplugged()) Unplug(*p.logger);
  }
}

void UsbTestbed::DenyAccess(const EmulatedLogger& logger) {
  ::chmod((root_ + NodeOf(logger.Options().address)).c_str(), 0);
}

}  // namespace accelog::testing
