#pragma once
// The chart side of opening a data file for the acceleration view.
#include <string>

#include "model/kvx_file.h"

namespace accelog {

// Chart set-up for a file view: X, Y, Z, V and the points on, the angles off,
// Check1..Check8 and "All Point" enabled, "Disp Frequency" disabled, the X,
// Y and Z curves hidden until drawn, no data set loaded, MenuCommandCode 14,
// the file-name box showing DataFileName's own name.
void DispDataReady_14();

// The file-name box: the file's name as it is on disk, the full path behind it.
void ShowFileNameBox(const std::string& path);

// After OpenDataFileServer returned Ok: buttons "Previous "/"Next" hidden,
// both axes labelled, the window drawn, the point-count box and the scroll
// track set.
void DispOpenedDataFile();

// The whole road: DataFileName = file, DispDataReady_14, the data side and,
// when it succeeds, the chart side.
OpenResult OpenDataFileInChart(const std::string& file);

}  // namespace accelog
