#pragma once
// The one way the engines talk to the person at the screen. The GUI shows
// real dialogs and panels, the CLI prints, tests record. Every method has a
// quiet default so a front end overrides only what it shows.
#include <string>
#include <utility>
#include <vector>

namespace accelog {

enum class MessageIcon { None, Exclamation, Information, Critical };

// Status panel 3 says what is wrong with the file on view, or why a command
// that needs one did nothing.
inline constexpr int kFileNotePanel = 3;
inline constexpr const char* kOpenAFileFirst = "Open a file first";

// The export's save dialog: the name, the filter chosen (1-based) and the
// "Only the points shown" box. An empty name means cancelled.
struct ExportChoice {
  std::string name;
  int filter = 0;
  bool only_shown = false;
};

class UiPort {
 public:
  virtual ~UiPort() = default;

  // Modal message with one OK button; the title is a single blank.
  virtual void Message(const std::string& text, MessageIcon icon = MessageIcon::None) {
    (void)text; (void)icon;
  }
  // The same with a title of its own and an explanation under the text.
  virtual void MessageWith(const std::string& text, MessageIcon icon, const std::string& title,
                           const std::string& explanation) {
    (void)title; (void)explanation;
    Message(text, icon);
  }
  // OK/Cancel question; true for OK.
  virtual bool AskOkCancel(const std::string& text) { (void)text; return false; }
  // The same with its own title (the spectrum capture's question has two blanks).
  virtual bool AskOkCancel(const std::string& text, const std::string& title) {
    (void)title; return AskOkCancel(text);
  }
  // File dialogs; an empty result means cancelled.
  virtual std::string OpenFileName(const std::string& title, const std::string& filter) {
    (void)title; (void)filter; return {};
  }
  virtual std::string SaveFileName(const std::string& title, const std::string& filter) {
    (void)title; (void)filter; return {};
  }
  // Filters as (caption, pattern) pairs, e.g. ("Text Files(*.txt)", "*.txt").
  virtual ExportChoice ExportFileName(const std::string& title,
                                      const std::vector<std::pair<std::string, std::string>>& filters) {
    (void)title; (void)filters; return {};
  }
  // Lets the window system handle waiting input while a long job runs.
  virtual void ProcessMessages() {}
  // Status bar panels 1..5.
  virtual void StatusPanel(int panel, const std::string& text) { (void)panel; (void)text; }
  // The chart window's progress bar (ProgressBar1).
  virtual void ProgressShow(int minimum, int maximum) { (void)minimum; (void)maximum; }
  virtual void ProgressValue(int value) { (void)value; }
  virtual void ProgressHide() {}
  // MenuCommandCodeEnabledButton_11/12/13: menus and tool bar follow MenuCommandCode.
  virtual void RestoreMenus(int code) { (void)code; }
  // Hourglass pointer while a file loads.
  virtual void BusyPointer(bool busy) { (void)busy; }
  // ClearText and ClearScreen: the chart window's texts and plot emptied.
  virtual void ClearChart() {}
  // DispDataReady_14, then Open with the chart's drawing. The
  // default does the data side only (no window to draw in).
  virtual void ShowDataFile(const std::string& file);
  // The "Frequency" view of a chosen file: read, refused or shown as spectra
  // in the chart. The default does the data side only.
  virtual void ShowFrequencyFile(const std::string& file);
  // SetMachineParameter, the modal parameter dialog: it leaves its answer in
  // the recording parameters. A port without the dialog leaves them alone.
  virtual void ShowParameterDialog() {}

  // Live captures.
  // The main window's caption; empty gives back the program's own.
  virtual void SetCaption(const std::string& text) { (void)text; }
  // The check mark of "Real Time Data" (9) or "Real Time Data For Frequency" (11).
  virtual void SetMenuMark(int item, bool checked) { (void)item; (void)checked; }
  // DispRealTimeDataReady_12 (code 12) or DispRealTimeFrequencyReady_13 (13),
  // the file-name box showing `file`.
  virtual void LiveChartReady(int code, const std::string& file) { (void)code; (void)file; }
  // RealData(CountPoint) is a new live point: curves, statistics, count box.
  virtual void ShowLivePoint() {}
  // RealData(1..256) holds a new live set: its spectra or its curves.
  virtual void ShowLiveSet() {}
};

}  // namespace accelog
