#pragma once
// The byte transport under the link's WriteRequest / ReadReply: the
// operations the link needs of the platform, nothing more.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace accelog {

// Longest wait of a read.
inline constexpr int kReadWaitMs = 100;

class Transport {
 public:
  virtual ~Transport() = default;
  // Candidate device paths in a stable order. Each path carries
  // "#vid_vvvv&pid_pppp#" so the scan can compare the identity.
  virtual std::vector<std::string> EnumeratePaths() = 0;
  // Opens a path for writing and reading; false when it cannot be opened.
  virtual bool Open(const std::string& path) = 0;
  // Writes n bytes; false when the device refused or has gone.
  virtual bool Write(const uint8_t* bytes, int n) = 0;
  // Up to n bytes of the next reply, waiting at most wait_ms (capped at
  // kReadWaitMs). Returns the byte count, 0 when nothing came in time, -1
  // when the device has gone.
  virtual int Read(uint8_t* bytes, int n, int wait_ms) = 0;
  virtual void Close() = 0;
  // The last failure of any operation in words, for the frame trace.
  virtual std::string LastError() const { return {}; }
  // Why the last pass found the logger but could not open it, when the user
  // can do something about it (permissions, another program holding it);
  // empty otherwise.
  virtual std::string OpenProblem() const { return {}; }
};

// "usb" (the default) or "sim:<socket path>". Nothing for any other text.
std::unique_ptr<Transport> MakeTransport(const std::string& uri);

std::unique_ptr<Transport> MakeUsbTransport();
std::unique_ptr<Transport> MakeSocketTransport(const std::string& socket_path);

// Writes every frame sent and received and every failure of `inner` to the
// file `trace_path` (monotonic ms, direction, length, hex); nothing and a
// reason in `error` when the file cannot be created.
std::unique_ptr<Transport> MakeTracingTransport(std::unique_ptr<Transport> inner,
                                                const std::string& trace_path, std::string* error);

// The path a simulated logger on `socket_path` is found under.
std::string SimulatedDevicePath(const std::string& socket_path);

}  // namespace accelog
