#pragma once
// The page-setup dialog's rules without the dialog: paper sizes, the
// picture-scale buttons, the move buttons and the checks of OK.
#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace accelog {

// The eleven values the dialog is handed and gives back.
struct PageSetup {
  int16_t PaperKind, PaperDirection;
  int16_t MarginLeft, MarginRight, MarginTop, MarginDown;
  int16_t PaperWidth, PaperHeight;
  float PictureScale;
  int16_t PictureMoveDown, PictureMoveRight;
};
struct RecordingParameters;
PageSetup CurrentPageSetup(const RecordingParameters& m);
void ApplyPageSetup(RecordingParameters& m, const PageSetup& s);

// Width x height in mm of paper kind 0..5; false for "User" (2) and others.
bool PaperSizeOf(int kind, int16_t& width, int16_t& height);

// "+" and "-": two decimals, never stuck on a value single precision cannot hold.
float PictureScaleUp(float scale);
float PictureScaleDown(float scale);

// The nine boxes as the dialog shows them.
using PageSetupTexts = std::array<std::string, 9>;
PageSetupTexts PageSetupToTexts(const PageSetup& s);
// OK: nothing when a box does not hold a usable number ("Error").
std::optional<PageSetup> PageSetupFromTexts(int kind, int direction, const PageSetupTexts& texts);

}  // namespace accelog
