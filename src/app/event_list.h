#pragma once
// What the events window needs beside the events themselves: a first
// threshold that fits the file, and the window a chosen event is shown in.
#include <cstdint>

#include "app/ab_cursors.h"

namespace accelog {

class Dataset;
struct ThresholdEvent;

// Half the largest distance of X, Y, Z or V from its mean over the file's
// non-zero points, rounded down to 1, 2 or 5 times a power of ten (mg), so
// that the first list holds the file's strongest movements; 100 mg when the
// file has no such distance.
double DefaultEventThreshold(const Dataset& data);

// The event with as many points again on either side (at least 10), within 1..count.
PointSpan EventWindow(const ThresholdEvent& event, int32_t count);

}  // namespace accelog
