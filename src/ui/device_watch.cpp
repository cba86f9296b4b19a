#include "ui/device_watch.h"

#include <libusb.h>

#include <QFileInfo>
#include <QMetaObject>

#include "model/dataset.h"
#include "device/device.h"

namespace accelog {

DeviceWatch::DeviceWatch(QObject* parent) : QObject(parent) {
  connect(&watcher_, &QFileSystemWatcher::directoryChanged, this, [this] { SocketFolderChanged(); });
  connect(&poll_, &QTimer::timeout, this, [this] { Poll(); });
}

DeviceWatch::~DeviceWatch() {
  stopping_ = true;
  if (usb_) {
    if (hotplug_handle_) libusb_hotplug_deregister_callback(usb_, hotplug_handle_);  // wakes the loop
    if (usb_thread_.joinable()) usb_thread_.join();
    libusb_exit(usb_);
  }
}

namespace {
int OnHotplug(libusb_context*, libusb_device*, libusb_hotplug_event, void* user) {
  // Runs on the event thread: only hand the news to the UI thread.
  auto* self = static_cast<DeviceWatch*>(user);
  QMetaObject::invokeMethod(self, [self] { emit self->DeviceChanged(); }, Qt::QueuedConnection);
  return 0;
}
}  // namespace

bool DeviceWatch::WatchUsb() {
  if (usb_) return true;
  if (libusb_init(&usb_) != 0) {
    usb_ = nullptr;
    poll_.start(2000);
    return false;
  }
  if (!libusb_has_capability(LIBUSB_CAP_HAS_HOTPLUG) ||
      libusb_hotplug_register_callback(
          usb_, static_cast<libusb_hotplug_event>(LIBUSB_HOTPLUG_EVENT_DEVICE_ARRIVED | LIBUSB_HOTPLUG_EVENT_DEVICE_LEFT),
          LIBUSB_HOTPLUG_NO_FLAGS, 0x1041, 0x8102, LIBUSB_HOTPLUG_MATCH_ANY, OnHotplug, this,
          &hotplug_handle_) != LIBUSB_SUCCESS) {
    libusb_exit(usb_);
    usb_ = nullptr;
    poll_.start(2000);
    return false;
  }
  usb_thread_ = std::thread([this] {
    while (!stopping_) {
      timeval tv{0, 200000};
      libusb_handle_events_timeout_completed(usb_, &tv, nullptr);
    }
  });
  return true;
}

void DeviceWatch::WatchSocket(const QString& socket_path) {
  socket_path_ = socket_path;
  socket_present_ = QFileInfo::exists(socket_path);
  const QString folder = QFileInfo(socket_path).absolutePath();
  if (!watcher_.directories().contains(folder)) watcher_.addPath(folder);
}

void DeviceWatch::Poll() {
  // Only while nothing runs and the last scan gave up: a plugged-in logger
  // then counts as a device change. The look opens nothing.
  if (!device_ || device_->Data().MenuCommandCode != MenuOperation::None || device_->link.LinkConfirmed) return;
  if (!device_->ScanGaveUp()) return;
  if (device_->LoggerPresent()) emit DeviceChanged();
}

void DeviceWatch::SocketFolderChanged() {
  // The folder changed: only the socket's own coming or going counts.
  const bool present = QFileInfo::exists(socket_path_);
  if (present == socket_present_) return;
  socket_present_ = present;
  emit DeviceChanged();
}

}  // namespace accelog
