#pragma once
// Raw counts to mg, vector sum and tilt angles; plot positions; statistics;
// the mg axis scale; the distribution of a window of points over the chart's
// 200 columns; zero points.
#include <cstdint>
#include <string>

#include "model/dataset.h"

namespace accelog {





// One raw sample into X..AZ of a record.
void ConvertSample(int16_t x, int16_t y, int16_t z, RealDataRecord& r);
// Date and time texts of a record from its Year..Second fields.
void StampRecordTexts(RealDataRecord& r);
// The same, taking the texts of the record before where its fields match.
void StampRecordTexts(RealDataRecord& r, const RealDataRecord& before);
// A channel's value in a record.
float ChannelValue(const RealDataRecord& r, int channel);

// PlotX..PlotAZ of RealData(1..CountPoint) in the chart's drawing units.
// The mg axis from the statistics' largest X..V maximum; below 500 mg only
// AccelPeak changes.
// The ZeroPointFlag part of HideAllZeroPoint; the chart hides the markers.


}  // namespace accelog
