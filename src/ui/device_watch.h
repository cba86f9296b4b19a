#pragma once
// Device arrival and removal without a window hook: libusb hotplug events for
// 1041:8102, and the simulated logger's socket appearing or vanishing.
#include <QFileSystemWatcher>
#include <QObject>
#include <QTimer>
#include <atomic>
#include <functional>
#include <thread>

struct libusb_context;

namespace accelog {

class Device;

class DeviceWatch : public QObject {
  Q_OBJECT
 public:
  explicit DeviceWatch(QObject* parent = nullptr);
  ~DeviceWatch() override;

  // Watches the real logger. Where libusb has no hotplug support it polls
  // instead, every 2 s while idle, and returns false.
  bool WatchUsb();
  // Watches a simulated logger's socket file.
  void WatchSocket(const QString& socket_path);
  // The device the poll asks whether the logger is plugged in.
  void SetDevice(Device* device) { device_ = device; }

 signals:
  // The device set changed (on the UI thread).
  void DeviceChanged();

 private:
  void SocketFolderChanged();
  void Poll();

  QFileSystemWatcher watcher_;
  QTimer poll_;
  QString socket_path_;
  Device* device_ = nullptr;
  bool socket_present_ = false;
  libusb_context* usb_ = nullptr;
  int hotplug_handle_ = 0;
  std::atomic<bool> stopping_{false};
  std::thread usb_thread_;
};

}  // namespace accelog
