#pragma once
// "Acceleration" (File004_Click): open a .kvx file as the acceleration view.
namespace accelog {
void File004_Click();
}  // namespace accelog
