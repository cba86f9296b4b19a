// The frame trace: a Transport that passes everything to the real one and
// writes one line per frame and per failure, so a session with a real
// logger can be reported and replayed. Lines:
//   MS > LEN HEX     a frame written to the logger
//   MS < LEN HEX     a frame read from it
//   MS ! TEXT        a failure of the transport
//   MS = TEXT        scan results, opening and closing
// MS is monotonic time in milliseconds since the trace began. Reads that
// found nothing are not written: a download asks thousands of them.
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <ctime>

#include "device/transport.h"

namespace accelog {
namespace {

class TracingTransport : public Transport {
 public:
  TracingTransport(std::unique_ptr<Transport> inner, std::FILE* file, std::string path)
      : inner_(std::move(inner)), file_(file), path_(std::move(path)), start_(std::chrono::steady_clock::now()) {
    char when[64];
    const std::time_t now = std::time(nullptr);
    std::tm utc{};
    gmtime_r(&now, &utc);
    std::strftime(when, sizeof when, "%Y-%m-%d %H:%M:%S UTC", &utc);
    std::fprintf(file_, "# accelog frame trace, begun %s; ms since then, > sent, < received, ! failure\n", when);
    Flush();
  }

  ~TracingTransport() override {
    inner_.reset();
    if (!file_) return;
    // The trace is the report of a failure: it must be whole on the disk.
    bool ok = std::fflush(file_) == 0 && ::fsync(fileno(file_)) == 0;
    int problem = errno;
    if (std::fclose(file_) != 0 && ok) {
      ok = false;
      problem = errno;
    }
    if (!ok) std::fprintf(stderr, "trace %s: cannot be saved: %s\n", path_.c_str(), std::strerror(problem));
  }

  std::vector<std::string> EnumeratePaths() override {
    std::vector<std::string> paths = inner_->EnumeratePaths();
    if (paths != last_paths_) {
      std::string line = std::to_string(paths.size()) + " device(s)";
      for (const std::string& p : paths) line += " " + p;
      Note('=', line);
      last_paths_ = paths;
    }
    return paths;
  }

  bool Open(const std::string& path) override {
    const bool ok = inner_->Open(path);
    open_ = ok;
    if (ok) {
      Note('=', "open " + path);
    } else {
      Note('!', "open " + path + ": " + Reason());
    }
    return ok;
  }

  bool Write(const uint8_t* bytes, int n) override {
    const bool ok = inner_->Write(bytes, n);
    if (ok) {
      Frame('>', bytes, n);
    } else {
      Note('!', "write of " + std::to_string(n) + " bytes: " + Reason());
    }
    return ok;
  }

  int Read(uint8_t* bytes, int n, int wait_ms) override {
    const int got = inner_->Read(bytes, n, wait_ms);
    if (got > 0) Frame('<', bytes, got);
    if (got < 0) Note('!', "read: " + Reason());
    return got;
  }

  void Close() override {
    inner_->Close();
    if (open_) Note('=', "close");
    open_ = false;
  }

  std::string LastError() const override { return inner_->LastError(); }
  std::string OpenProblem() const override { return inner_->OpenProblem(); }

 private:
  std::string Reason() const {
    const std::string e = inner_->LastError();
    return e.empty() ? "failed" : e;
  }

  void Stamp(char what) {
    const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start_).count();
    std::fprintf(file_, "%.3f %c ", ms, what);
  }

  void Note(char what, const std::string& text) {
    if (!file_ || failed_) return;
    Stamp(what);
    std::fputs(text.c_str(), file_);
    std::fputc('\n', file_);
    Flush();
  }

  void Frame(char direction, const uint8_t* bytes, int n) {
    if (!file_ || failed_) return;
    static const char kHex[] = "0123456789ABCDEF";
    line_.assign(static_cast<size_t>(2 * n), ' ');
    for (int i = 0; i < n; ++i) {
      line_[static_cast<size_t>(2 * i)] = kHex[bytes[i] >> 4];
      line_[static_cast<size_t>(2 * i + 1)] = kHex[bytes[i] & 15];
    }
    Stamp(direction);
    std::fprintf(file_, "%d %s\n", n, line_.c_str());
    Flush();
  }

  // Line by line, so a trace of a session that crashed still holds its end.
  void Flush() {
    if (std::fflush(file_) == 0 && !std::ferror(file_)) return;
    failed_ = true;
    std::fprintf(stderr, "trace %s: cannot be written: %s; tracing stops\n", path_.c_str(), std::strerror(errno));
  }

  std::unique_ptr<Transport> inner_;
  std::FILE* file_;
  std::string path_;
  std::chrono::steady_clock::time_point start_;
  std::vector<std::string> last_paths_;
  std::string line_;
  bool failed_ = false;
  bool open_ = false;
};

}  // namespace

std::unique_ptr<Transport> MakeTracingTransport(std::unique_ptr<Transport> inner, const std::string& trace_path,
                                                std::string* error) {
  if (!inner) return nullptr;
  std::FILE* file = std::fopen(trace_path.c_str(), "we");
  if (!file) {
    if (error) *error = trace_path + ": " + std::strerror(errno);
    return nullptr;
  }
  return std::make_unique<TracingTransport>(std::move(inner), file, trace_path);
}

}  // namespace accelog
