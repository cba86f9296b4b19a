#pragma once
// RealData filled with chosen raw counts for the export and list tests.
#include <vector>

#include "model/state.h"

namespace accelog::testing {

struct Point {
  int16_t x, y, z;  // counts of 3.9 mg
};

// Points 1..n at 9:5:7 on 7 May 2013, shown whole as after opening a file.
inline void LoadPoints(const std::vector<Point>& points) {
  ResetDataState();
  for (const Point& p : points) {
    Data.RealData.SetSample(++Data.CountPoint, p.x, p.y, p.z);
    Data.RealData.SetTime(Data.CountPoint, {2013, 5, 7, 9, 5, 7, true});
  }
  Data.DispStartPoint = 1;
  Data.DispEndPoint = Data.CountPoint;
  Data.DataLoaded = true;
}

}  // namespace accelog::testing
