#include "app/chart.h"
#include "app/frequency_chart.h"

#include <cmath>
#include <cstdint>
#include <string>

#include "model/dataset.h"
#include "model/text_util.h"

namespace accelog {

float SpectrumScale(int64_t max_magnitude) {
  return max_magnitude >= 4500 ? static_cast<float>(std::floor(max_magnitude / 5000.0) + 2) : 1.0f;
}

void Chart::LabelSpectrumAxis() {
  std::vector<int32_t>* const fields[3] = {&data_.Plot.X, &data_.Plot.Y, &data_.Plot.Z};
  int64_t all_max = -10000;
  for (int axis = 0; axis < 3; ++axis) {
    int64_t max = -10000;
    int peak = 0;
    for (int i = 1; i <= kSpectrumLines; ++i) {
      const int64_t v = (*fields[axis])[static_cast<size_t>(i)];
      if (v > max) {
        max = v;
        peak = i;
      }
    }
    scene.StatBox[kPeakLineBox + axis].Caption = LineText(peak);
    if (max > all_max) all_max = max;
  }
  const double f = SpectrumScale(all_max);
  for (int i = 0; i <= 10; ++i) {
    scene.AccelLabel[i].Caption = NumberText(static_cast<long long>(i * 500 * f));
  }
  for (int i = 1; i <= kSpectrumLines; ++i) {
    for (auto* field : fields) {
      int32_t& v = (*field)[static_cast<size_t>(i)];
      v = static_cast<int32_t>(std::nearbyint(5000.0 - v / f));
    }
  }
}

}  // namespace accelog
