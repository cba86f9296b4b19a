#pragma once
// Raw counts to mg, vector sum and tilt angles; plot positions; statistics;
// the mg axis scale; the distribution of a window of points over the chart's
// 200 columns; zero points.
#include <cstdint>
#include <string>

#include "model/state.h"

namespace accelog {

enum Channel { kX = 0, kY, kZ, kV, kAX, kAY, kAZ, kChannels };

// A chart's factors from mg and degrees to its drawing units; the chart
// owns them, the plot positions read them.
struct PlotScale {
  float TwipsPerUnitY = 1.0f;
  float AccelScale = 1.0f;  // drawing units per mg
  float AngleScale = 2.0f;  // drawing units per degree: 25 per degree is 12.5 x 2
  float AccelRangeLow = -500.0f;
  // Nearest(AccelRangeLow). Wider than 16 bits: a vector sum of full-scale
  // counts puts the axis beyond -32768 mg.
  int32_t AccelRangeLowInt = -500;
  int16_t AccelOffset = -2500;
  float AccelPeak = 500.0f;
};

struct ConversionState {
  float StatMaxValue[kChannels];
  float StatMinValue[kChannels];
  int32_t StatMaxPoint[kChannels];
  int32_t StatMinPoint[kChannels];
  float StatAverage[kChannels];
};

extern ConversionState Conv;

void ResetConversionState();

// One raw sample into X..AZ of a record.
void ConvertSample(int16_t x, int16_t y, int16_t z, RealDataRecord& r);
// Date and time texts of a record from its Year..Second fields.
void StampRecordTexts(RealDataRecord& r);
// The same, taking the texts of the record before where its fields match.
void StampRecordTexts(RealDataRecord& r, const RealDataRecord& before);
// A channel's value in a record.
float ChannelValue(const RealDataRecord& r, int channel);

void MakeRealData();
// PlotX..PlotAZ of RealData(1..CountPoint) in the chart's drawing units.
void ComputePlotPositions(const PlotScale& scale);
void ComputeAccelPlotPositions(const PlotScale& scale);
void ComputeStatistics(int32_t start, int32_t end);
// The mg axis from the statistics' largest X..V maximum; below 500 mg only
// AccelPeak changes.
void ScaleAccelAxis(PlotScale& scale);
void MapRangeToSlots(int32_t start, int32_t end);
void MapRangeToLiveSlots(int32_t start, int32_t end);
void RealCountPoint();
int32_t PointAllZero_Long(int32_t start, int32_t end);
// The ZeroPointFlag part of HideAllZeroPoint; the chart hides the markers.
void ComputeZeroPointFlags(int32_t start, int32_t end);

// The texts DispMaxMin puts into the chart window's statistics boxes.
struct StatisticsTexts {
  std::string MaxText[4];  // X, Y, Z, V: value, three blanks, date, blank, time
  std::string MinText[4];
  std::string AverageText[4];
  std::string CriticalText[3];
  std::string UnitText;      // "mg"
  std::string StartText;     // d/m/yy h:m:s of the file head
  std::string IntervalText;  // "500 millisecond"
  std::string SampleCountText;
  std::string RecordModeText;  // "Normal" or "Motion Dectection"
};
StatisticsTexts DispMaxMinTexts();

}  // namespace accelog
