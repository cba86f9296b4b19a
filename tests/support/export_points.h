#pragma once
// RealData filled with chosen values for the export and list tests.
#include <cstring>
#include <vector>

#include "model/state.h"

namespace accelog::testing {

struct Point {
  float x, y, z, ax;
};

// Points 1..n at 9:5:7 on 7 May 2013, shown whole as after opening a file.
inline void LoadPoints(const std::vector<Point>& points) {
  ResetDataState();
  for (const Point& p : points) {
    RealDataRecord& r = Data.RealData[++Data.CountPoint];
    r.No = Data.CountPoint;
    r.Year = 2013, r.Month = 5, r.Day = 7, r.Hour = 9, r.Minute = 5, r.Second = 7;
    r.X = p.x, r.Y = p.y, r.Z = p.z, r.V = p.z * 1.5f, r.AX = p.ax, r.AY = -p.ax;
    std::memcpy(r.DateText, "7/5/2013  ", 10);
    std::memcpy(r.TimeText, "9:5:7   ", 8);
  }
  Data.DispStartPoint = 1;
  Data.DispEndPoint = Data.CountPoint;
  Data.DataLoaded = true;
}

}  // namespace accelog::testing
