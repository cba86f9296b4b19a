#pragma once
// A message port for tests: records what the program shows and answers
// questions and file dialogs from a script.
#include <deque>
#include <map>
#include <string>
#include <vector>

#include "core/ui_port.h"

namespace accelog::testing {

class RecordingUi : public UiPort {
 public:
  void Message(const std::string& text, MessageIcon icon) override {
    messages.push_back(text);
    icons.push_back(icon);
    titles.push_back(" ");
    explanations.emplace_back();
  }
  void MessageWith(const std::string& text, MessageIcon icon, const std::string& title,
                   const std::string& explanation) override {
    Message(text, icon);
    titles.back() = title;
    explanations.back() = explanation;
  }
  bool AskOkCancel(const std::string& text) override {
    questions.push_back(text);
    return answer_ok;
  }
  std::string OpenFileName(const std::string& title, const std::string& filter) override {
    dialogs.push_back(title + "|" + filter);
    return NextFile();
  }
  std::string SaveFileName(const std::string& title, const std::string& filter) override {
    dialogs.push_back(title + "|" + filter);
    return NextFile();
  }
  void StatusPanel(int panel, const std::string& text) override {
    panels[panel] = text;
    panel_history.push_back(std::to_string(panel) + ":" + text);
  }
  void ProgressShow(int, int maximum) override {
    progress_visible = true;
    progress_max = maximum;
  }
  void ProgressValue(int value) override { progress_value = value; }
  void ProgressHide() override { progress_visible = false; }
  void RestoreMenus(int code) override { restored.push_back(code); }
  void ShowDataFile(const std::string& file) override {
    shown_files.push_back(file);
    UiPort::ShowDataFile(file);
  }

  std::deque<std::string> files;  // answers of the file dialogs, in order
  bool answer_ok = true;

  std::vector<std::string> messages;
  std::vector<MessageIcon> icons;
  std::vector<std::string> titles, explanations;
  std::vector<std::string> questions;
  std::vector<std::string> dialogs;
  std::map<int, std::string> panels;
  std::vector<std::string> panel_history;
  bool progress_visible = false;
  int progress_max = 0, progress_value = 0;
  std::vector<int> restored;
  std::vector<std::string> shown_files;

 private:
  std::string NextFile() {
    if (files.empty()) return {};
    std::string f = files.front();
    files.pop_front();
    return f;
  }
};

}  // namespace accelog::testing
