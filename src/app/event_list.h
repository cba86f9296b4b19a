#pragma once
// What the events window needs beside the events themselves: a first
// threshold that fits the file, and the window a chosen event is shown in.
#include <cstdint>

#include "app/ab_cursors.h"

namespace accelog {

class Dataset;
struct ThresholdEvent;

// SuggestedThreshold of the whole file; 100 mg when no value leaves its mean.
double DefaultEventThreshold(const Dataset& data);

// The event with as many points again on either side (at least 10), within 1..count.
PointSpan EventWindow(const ThresholdEvent& event, int32_t count);

}  // namespace accelog
