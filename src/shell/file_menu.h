#pragma once
// "Acceleration" (File004_Click): open a .kvx file as the acceleration view.
namespace accelog {
void File004_Click();
// "Frequency" (File005_Click): open a .kvx file as the spectra of its first
// 256 points.
void File005_Click();
}  // namespace accelog
