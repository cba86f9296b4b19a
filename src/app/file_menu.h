#pragma once
// "Acceleration": open a .kvx file as the acceleration view.
#include <string>

#include "core/ui_port.h"

namespace accelog {

template <class Result>
struct FileOutcome;

// A refused file's message, shown as opening it has always shown it.
template <class Result>
void ShowRefusal(UiPort& ui, const FileOutcome<Result>& outcome) {
  if (!outcome.message.empty()) ui.Message(outcome.message, outcome.warning ? MessageIcon::Exclamation : MessageIcon::None);
}

class Dataset;
class UiPort;
void OpenAccelerationFromDialog(UiPort& ui, Dataset& data);
// "Frequency": open a .kvx file as the spectra of its first
// 256 points.
void OpenFrequencyFromDialog(UiPort& ui, Dataset& data);
// The same views of a file named without the dialog (the command line).
void OpenAccelerationFile(UiPort& ui, Dataset& data, const std::string& name);
void OpenFrequencyFile(UiPort& ui, Dataset& data, const std::string& name);
}  // namespace accelog
