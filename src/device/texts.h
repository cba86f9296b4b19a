#pragma once
// The language switch of the device texts: English when LanguageFlag is 1.
#include <string>

#include "model/machine_parameter.h"

namespace accelog {

inline std::string Lang(const RecordingParameters& p, const char* english, const char* chinese) {
  return p.LanguageFlag == 1 ? english : chinese;
}

}  // namespace accelog
