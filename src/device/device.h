#pragma once
// The logger as one object: the link, the short commands, the download, the
// two live captures and their timers. The program, the CLI and each test
// build their own, handing in the transport, the clock and the UI port.
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "core/timer.h"
#include "device/transport.h"
#include "model/machine_parameter.h"

namespace accelog {

struct Dataset;
class UiPort;
class VirtualClock;

inline constexpr int kReadBufferSize = 2541;
inline constexpr int kWriteBufferSize = 64;
inline constexpr int kMaxScanIndices = 51;

// The timers and the monotonic time the device runs on.
struct DeviceClock {
  TimerFactory make_timer;
  std::function<int64_t()> now_ms;
  // A read waited `ms` for nothing: a clock that does not follow the real
  // one moves on by as much. Empty for the steady clock.
  std::function<void(int ms)> waited;
};
// Timers from `make_timer`, time from the steady clock.
DeviceClock SteadyDeviceClock(TimerFactory make_timer);
// Timers of a virtual clock; its time plus the reads' waits, so a read's
// wait passes without sleeping. Copies share the waits.
DeviceClock VirtualDeviceClock(VirtualClock& clock);

// The command whose reply is awaited; the values are the codes the
// time-out text shows.
enum class CommandCode : int16_t {
  None = 0,
  Identify = 11,
  Connect = 12,
  SetParameters = 20,
  SpectrumSet = 21,
  LiveSample = 22,
  DataInquiry = 23,
  Block = 24,  // 0x24 and its repeat 0x25
};

// The long operation the lost-device step has to end.
enum class ActiveOperation : int16_t { None = 0, LiveSpectrum = 21, LiveData = 22, Download = 24 };

// A live capture's run: a second click asks it to stop at its next tick.
enum class CaptureState : int16_t { Idle, Running, StopRequested, Stopping };

// NoReply: the data inquiry got no valid answer; NoData: a valid answer of
// fewer than 8 samples; Declined: a count too large to open was not confirmed;
// Short: the logger's end-of-data reply came before the samples it announced.
enum class DownloadOutcome {
  None, Running, Ended, Failed, NoData, NoReply, Declined, Stopped, TimedOut, DeviceLost, Short
};

// How the last run of a capture ended.
// NoSet: a spectrum run ended before any good set, so nothing was saved.
enum class LiveOutcome { None, Running, Stopped, Rejected, DeviceLost, FileError, NoSet };

struct DownloadResult {
  DownloadOutcome outcome = DownloadOutcome::None;
  std::string message;     // names the file and the reason; empty for a whole download
  std::string file;
  int32_t samples_kept = 0;
  int32_t samples_announced = 0;
};

struct DownloadOptions {
  // Asked before a count too large to open is downloaded; the window's
  // OK/Cancel question when empty.
  std::function<bool(const std::string& question)> confirm_large_count;
  std::function<void(const DownloadResult&)> finished;
};

struct LiveOptions {
  std::function<void(LiveOutcome)> finished;
};

struct LinkState {
  // One open transport path stands for the write handle and the read handle.
  bool HidDeviceOpen = false;
  std::string DevicePathName;
  int16_t VendorID = 0, ProductID = 0;  // parsed from DevicePathName, signed 16-bit
  int16_t ScanAttempt = 0;
  bool LastWriteOk = false, LastReadOk = false;

  bool DeviceFound = false;
  bool DeviceConnected = false;
  bool DevicePreviouslyFound = false;
  bool LinkConfirmed = false;
  bool ScanGaveUp = false;  // the last scan ended in "No Device !"

  uint8_t WriteBuffer[kWriteBufferSize] = {};
  int16_t WriteLength = 0;
  uint8_t ReadBuffer[kReadBufferSize] = {};
  int16_t ReadLength = 0;

  // Reply accounting. The logger answers every command in order, one reply
  // each (32 for 0x21), but a reply may come late, or never. A reply is never
  // forgotten because its read gave up: it stays owed, and when it comes it
  // is dropped instead of being taken for the answer to a later command.
  int OwedReplies = 0;         // replies still to come for the commands written
  int StaleReplies = 0;        // of those, the ones owed to earlier commands
  int UnsolicitedReplies = 0;  // frames that came while nothing was owed
  int ForgottenReplies = 0;    // owed replies given up after LostReplyMs of silence
  int StaleRepliesDiscarded = 0;
  int64_t LastTraffic = 0;     // ms of the last write or arriving frame
  int LostReplyMs = 1500;      // longer than any reply is late (up to 1 s)

  // A live sample (0x22) has no number: its reply answers whichever live
  // request is waiting. A reply that has not come after a few reads or ms is
  // given up: it is no longer owed and the sample is asked for again, but if
  // it still comes it is taken like any other.
  int EmptyReads = 0;          // reads in a row that found nothing
  int LiveRepliesGivenUp = 0;  // 0x22 replies given up that may still come
  int64_t LiveGiveUpTime = 0;
  bool TransportGone = false;  // a read found the device gone
};

struct CommandState {
  CommandCode Awaited = CommandCode::None;
  ActiveOperation Operation = ActiveOperation::None;
  std::string DeviceIdText;     // the logger's 12 identification characters
  int16_t SpectrumBlockIndex = 0;  // spectrum blocks read of the current set
  std::function<void(bool)> ParametersSent;  // hears whether the logger took them
};

struct DownloadState {
  int FileDescriptor = -1;       // of the open download file
  int32_t BlockCount = 0;        // blocks to fetch
  int16_t LastBlockLength = 0;   // reply length of a partial last block, else 0
  int32_t BlockIndex = 0;        // blocks requested so far
  int16_t BlockRetryCount = 0;   // consecutive rejected block replies
  int16_t CommTimeoutCount = 0;  // block timer ticks no branch took
  uint8_t PendingRequest = 0;    // 0x24 or 0x25 held back until no reply is owed
  int UnsolicitedAtStart = 0;    // link.UnsolicitedReplies when the block loop began
  DownloadOutcome Outcome = DownloadOutcome::None;
  DownloadOptions Options;       // of the download under way
};

struct LiveState {
  CaptureState Data = CaptureState::Idle;
  CaptureState Spectrum = CaptureState::Idle;
  int32_t LimitCounter = 0;     // limit timer ticks or samples: 300 minutes are 36000 ticks
  int16_t DataErrorCount = 0;   // rejected replies or sets in a row, from 0 at every start
  int16_t LimitMinutes = 0;
  int16_t LimitKind = 0;        // 0 minutes, 1 samples
  int16_t LimitSamples = 0;
  bool StampWritten = false;
  bool CaptionDiagnostic = false;  // the caption shows a diagnostic text
  std::string CaptionText;         // the last one
  int32_t GoodSets = 0;            // good spectrum sets of this run
  bool SetRequestPending = false;  // the next set waits until no block is owed
  uint8_t SpectrumBlocks[kReadBufferSize + 1] = {};  // 1..2541: block b at 63b+1 .. 63b+63
  LiveOutcome DataOutcome = LiveOutcome::None;
  LiveOutcome SpectrumOutcome = LiveOutcome::None;
  LiveOptions DataOptions, SpectrumOptions;
};

class Device {
 public:
  // The samples and view the engines fill.
  Dataset& Data() { return data_; }
  // The port the engines and the menus that drive them speak through.
  UiPort& Port() { return ui_; }
  // The recording parameters: their language, the dialog's layout, the
  // clock fields a capture's head carries.
  RecordingParameters& Parameters() { return parameters_; }
  Device(std::unique_ptr<Transport> transport, DeviceClock clock, UiPort& ui, Dataset& data,
         RecordingParameters& parameters);
  ~Device();
  Device(const Device&) = delete;
  Device& operator=(const Device&) = delete;

  // (Re)starts the device scan: six passes 500 ms apart, then connect and identify.
  void StartScan();
  // The link is up and no short command is waiting for its reply.
  bool Connected() const;
  // The scan gave up, or the connect reply was rejected and nothing retries it.
  bool ConnectFailed() const;
  // Whether a path of the logger is listed now; nothing is opened.
  bool LoggerPresent();
  // The scan gave up and is not running again.
  bool ScanGaveUp() const;
  const std::string& DeviceIdText() const { return command.DeviceIdText; }

  // "No Connet" when the link is down; false then.
  bool RefuseWithoutLink();
  // The parameters and the clock to the logger; `done` hears whether it took them.
  void SendParameters(const RecordingParameters& p, std::function<void(bool)> done = {});
  // The data inquiry, then the blocks into `path` (checked and free to write).
  void Download(const std::string& path, DownloadOptions options = {});
  // A live capture into `path` with these parameters' period and limit.
  void StartLive(const std::string& path, const RecordingParameters& p, LiveOptions options = {});
  // A live spectrum run; its last good set is saved as `path`.
  void StartLiveSpectrum(const std::string& path, LiveOptions options = {});
  // The second click of a live item: a running capture stops at its next
  // tick, a stopping one ends now. True when it was running.
  bool ToggleLiveCapture();
  bool ToggleLiveSpectrum();
  // A running capture is asked to stop at its next tick (a limit, a signal).
  void RequestLiveStop();
  void RequestSpectrumStop();
  // Escape and the CLI's signals: ends a running download or inquiry; the
  // file keeps the whole blocks received.
  void StopDownload();
  // Before a live capture's dialogs: the caption is the program's own again.
  void ClearCaptionDiagnostic();

  CaptureState LiveCaptureState() const { return live.Data; }
  CaptureState LiveSpectrumState() const { return live.Spectrum; }
  DownloadOutcome LastDownloadOutcome() const { return download.Outcome; }

  // The engines' state, read by the window and the tests.
  LinkState link;
  CommandState command;
  DownloadState download;
  LiveState live;

  // Link operations, public for the tests of the reply accounting.
  // The reply to the last command written: replies owed to earlier commands
  // are dropped on the way. Up to ReadLength bytes into ReadBuffer, waiting at
  // most 100 ms in all.
  bool ReadReply();
  // Write WriteLength bytes of WriteBuffer.
  bool WriteRequest();
  // Takes in the frames that have come, waiting at most wait_ms (capped at
  // 100) while replies are owed, and forgets owed replies after LostReplyMs
  // without traffic. True when nothing is owed.
  bool LinkQuiet(int wait_ms);
  // Closes the device and runs one enumeration pass.
  void ReopenDevice();
  void CloseDevice();
  // One enumeration pass; leaves the accepted device open.
  bool FindLogger();
  Timer& BlockTimer() { return *block_timer_; }
  Timer& ReplyTimer() { return *reply_timer_; }
  Timer& ScanTimer() { return *scan_timer_; }
  Timer& LimitTimer() { return *limit_timer_; }
  Timer& SpectrumBlockTimer() { return *spectrum_block_timer_; }

 private:
  int64_t Now() const { return clock_.now_ms(); }
  std::string Lang(const char* english, const char* chinese) const;
  void Waited(int ms) {
    if (ms > 0 && clock_.waited) clock_.waited(ms);
  }
  int ElapsedMs(int64_t since) const { return static_cast<int>(Now() - since); }
  std::unique_ptr<Timer> MakeTimer(int interval_ms, std::function<void()> tick);

  // Link.
  bool TakeFrame();
  void ForgetLostReplies();
  void ClearReplyAccounting();
  void RefuseUndetected();
  bool ReplyOverdue() const;
  void GiveUpLiveReply();
  void LoseDevice();
  void AbandonActiveOperation();
  void OnScanTimer();

  // Frames.
  bool WriteFrame(const uint8_t* frame, int length);
  void SendShortCommand(CommandCode code, const uint8_t* frame, int length);
  void SendConnect();
  void SendIdentify();
  void SendDataInquiry();
  void SendBlockRequest();
  void SendBlockRepeat();
  void SendLiveSampleRequest();
  void SendSpectrumRequest();
  void LogSendError();

  // Short commands.
  void OnReplyTimer();
  std::vector<uint8_t> ReadShortReply(int length);
  void ReadIdentifyReply();
  void ReadConnectReply();
  void ReadParameterReply();

  // Download.
  void ReadDataInquiryReply();
  void OnBlockTimer();
  void ReadBlockReply();
  void AbandonDownload();
  void ReportDownload(const std::string& message);
  std::string FileProblem(const std::string& what) const;
  int32_t SamplesKept() const;
  std::string KeepWholeSamples(int fd);
  std::string CloseDownloadFile();
  std::string WriteToFile(const uint8_t* bytes, int n);
  void ShowBlockCounter();
  void ShowNoData(DownloadOutcome outcome);
  std::string KeptText() const;
  std::string EndBlockLoop(const std::string& text, DownloadOutcome outcome);
  void Fail(const std::string& reason);
  void FailWith(const std::string& why);
  void Finish();
  bool RepliesTrusted();
  void RequestBlock(bool repeat);
  bool TriesLeft();
  void RetryBlock(std::span<const uint8_t> reply);
  void TimeOut();
  bool CountConfirmed(uint32_t count);

  // Live data.
  void ReadLiveSample();
  void OnLimitTimer();
  void EndLiveCapture();
  void AbandonLiveCapture();
  void FileFailure(const std::string& file, const std::string& reason);
  bool WriteFirstSampleTime();
  bool CloseCaptureFile();
  void ShowDiagnostic(const std::string& text);
  void SendNextSample();
  void EndRun(LiveOutcome outcome);
  void StartFailed(const std::string& file, const std::string& reason);
  void ClearOtherRunsPanels();
  void ReportLive();
  void ReportSpectrum();

  // Live spectrum.
  void OnSpectrumBlockTimer();
  void ReadSpectrumSet();
  void EndSpectrumCapture();
  void AbandonLiveSpectrum();
  void RequestSet();
  bool SaveSpectrumFile(const std::string& file);
  void EndSpectrumRun(LiveOutcome outcome);

  std::unique_ptr<Transport> transport_;
  DeviceClock clock_;
  UiPort& ui_;
  Dataset& data_;
  RecordingParameters& parameters_;
  std::unique_ptr<Timer> scan_timer_;            // device scan, 500 ms
  std::unique_ptr<Timer> reply_timer_;           // single reply reader, 500 ms
  std::unique_ptr<Timer> block_timer_;           // blocks and live samples, time-out
  std::unique_ptr<Timer> spectrum_block_timer_;  // live spectrum blocks, 20 ms
  std::unique_ptr<Timer> limit_timer_;           // live-data time limit, 500 ms
};

// The vendor and product fields of a device path ("...#vid_vvvv&pid_pppp#..."),
// as HexTextToInteger gives them; false when the path has no "#" in its
// first 100 characters.
bool ParseDeviceIds(const std::string& path, int16_t& vendor, int16_t& product);

// Why `name` cannot be the download file (a folder, a missing or closed
// folder...), empty when it can.
std::string DownloadTargetProblem(const std::string& name);
// 15 + 6 x (count mod 8), 0 for a multiple of 8.
int16_t LastBlockLengthFor(uint32_t count);
int32_t BlockCountFor(uint32_t count);
// The sample period: ms for unit 0, s for unit 1, as long as it is (the
// other units as the file head reads them).
int SamplePeriodMs(int16_t interval, int16_t unit);
// A spectrum capture's name ends in "Frequency.Kvx": otherwise its last four
// characters give way to it.
std::string SpectrumFileName(const std::string& name);

inline constexpr const char* kSpectrumCancelName = "123Frequency.Kvx";

}  // namespace accelog
