#pragma once
// Raw counts to mg, vector sum and tilt angles; plot positions; statistics;
// the mg axis scale; the distribution of a window of points over the chart's
// 200 columns; zero points.
#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "model/dataset.h"

namespace accelog {





// One raw sample into X..AZ of a record.
void ConvertSample(int16_t x, int16_t y, int16_t z, RealDataRecord& r);
// Date and time texts of a record from its Year..Second fields.
void StampRecordTexts(RealDataRecord& r);
// Hands take(from, to, values) the seven channel values (kX..kAZ) of the
// points of start..end, a run at a time and in order (values[i - from] is
// point i); a long range is converted on two threads.
using PointRunTaker = std::function<void(int32_t from, int32_t to, const float (*values)[kChannels])>;
void ForEachPointInOrder(const SampleColumns& samples, int32_t start, int32_t end, const PointRunTaker& take);
// X, Y, Z and the vector sum in mg, as ConvertSample makes them, without
// the angles' cost.
std::array<float, 4> AccelerationOf(int16_t x, int16_t y, int16_t z);
// A channel's value in a record.
float ChannelValue(const RealDataRecord& r, int channel);

// PlotX..PlotAZ of RealData(1..CountPoint) in the chart's drawing units.
// The mg axis from the statistics' largest X..V maximum; below 500 mg only
// AccelPeak changes.
// The ZeroPointFlag part of HideAllZeroPoint; the chart hides the markers.


}  // namespace accelog
