#pragma once
// Amplitude spectra of 256 consecutive samples of X, Y and Z: the transform,
// the three spectra into the plot fields of RealData(1..128), the in-memory
// image of a spectrum capture (FFTMemory) and the data side of the views.
#include <cstdint>
#include <string>

#include "model/dataset.h"

namespace accelog {

inline constexpr int kFFTOrder = 8;
inline constexpr int kFFTPoints = 256;           // samples per spectrum
inline constexpr int kSpectrumBins = 128;        // lines shown, records 1..128
inline constexpr int kMaxFFTOrder = 10;          // FFTWork holds 1024
inline constexpr int32_t kMaxFrequencyPoints = 30000;
inline constexpr int kFFTMemoryBytes = 1555;     // head + 256 samples
inline constexpr int kSpectrumInterval = 4;      // ms, written into the head

Complex ComplexAdd(Complex a, Complex b);
Complex ComplexSub(Complex a, Complex b);
Complex ComplexMul(Complex a, Complex b);

// Forward radix-2 transform (decimation in frequency) of FFTInput(0..2^order-1)
// into FFTOutput in natural order, unnormalised, with twiddles exp(+i2πk/N).
// Orders outside 0..10 do nothing.


// Spectrum of RealData(1..256).X (.Y, .Z) into PlotX (PlotY, PlotZ) of
// RealData(1..128): magnitudes rounded half to even.

// FFTMemory(1..19) = spectrum capture head: interval 4 ms, the recording
// parameters, work mode 1, count 256, Cur time fields as they stand. Sets
// RecordInterval = 4, IntervalUnit = 0, WorkMode = 1.
// ReadFileHead and ReadAllPoints on FFTMemory instead of a file: the head
// from elements 1..19, the 256 samples from 20..1555 into RealData(1..256).

// The data side of the chart's raw-sample view: CountPoint = 256 shown as
// 1..256 and the column map of the raw samples (the chart scales its axis
// and places the points).
// The data side of the chart's spectrum view: the three spectra, then
// CountPoint = 128 (the chart's spectrum axis runs between the two).

// Line `line`'s true frequency in Hz, (line - 1) / (256 x interval), for
// samples `interval_ms` apart (> 0).
double LineFrequency(int32_t line, int64_t interval_ms);
// A frequency as the chart shows it: four significant digits ("1.016").
std::string FrequencyText(double hz);

// The refusal's message ("Too much data =" N, "Data is error !",
// "Data is error !  <256"); empty for Ok.
std::string FrequencyFileMessage(FrequencyFileResult result, int32_t count);
// Head, count and limits; on a refusal shows the message and returns why,
// leaving RealData as it was. Otherwise reads the points (all of them; the
// spectra take the first 256), CountPoint = 256, DispStartPoint = 1,
// DispEndPoint = 256, statistics of 1..256. `count` receives the file's count.
// A file the spectrum capture saved: its fixed head (interval 4 ms, work
// mode 1, count 256) and 256 samples. Reads nothing into the program's state.
bool IsSpectrumCapture(const std::string& file_name);

}  // namespace accelog
