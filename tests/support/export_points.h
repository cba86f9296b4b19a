#pragma once
// RealData filled with chosen raw counts for the export and list tests.
#include <vector>

#include "model/dataset.h"
#include "support/kvx_builder.h"

namespace accelog::testing {

using Point = Sample;  // counts of 3.9 mg

// Points 1..n at 9:5:7 on 7 May 2013, shown whole as after opening a file.
inline void LoadPoints(Dataset& data, const std::vector<Point>& points) {
  data.RealData.Clear();
  data.CountPoint = 0;
  data.NoZeroCopySource = -1;
  for (const Point& p : points) {
    data.RealData.SetSample(++data.CountPoint, p.x, p.y, p.z);
    data.RealData.SetTime(data.CountPoint, {2013, 5, 7, 9, 5, 7, true});
  }
  data.DispStartPoint = 1;
  data.DispEndPoint = data.CountPoint;
  data.DataLoaded = true;
}

}  // namespace accelog::testing
