#pragma once
// The menu operation in progress. A menu command does nothing while another
// one holds it; the values are the codes the enabling rules are keyed by.
#include <cstdint>

namespace accelog {

enum class MenuOperation : int16_t {
  None = 0,
  Download = 11,
  LiveData = 12,
  LiveSpectrum = 13,
  DataView = 14,
  FrequencyView = 15,
  DataList = 16,
  Export = 17,
  Print = 18,
};

}  // namespace accelog
