#include "app/page_setup.h"

#include <cmath>

#include "model/text_util.h"
#include "model/machine_parameter.h"
#include "model/numeric_text.h"

namespace accelog {

PageSetup CurrentPageSetup(const RecordingParameters& m) {
  return {m.PaperKind,  m.PaperDirection, m.MarginLeft,   m.MarginRight,     m.MarginTop,       m.MarginDown,
          m.PaperWidth, m.PaperHeight,    m.PictureScale, m.PictureMoveDown, m.PictureMoveRight};
}

void ApplyPageSetup(RecordingParameters& m, const PageSetup& s) {
  m.PaperKind = s.PaperKind;
  m.PaperDirection = s.PaperDirection;
  m.MarginLeft = s.MarginLeft;
  m.MarginRight = s.MarginRight;
  m.MarginTop = s.MarginTop;
  m.MarginDown = s.MarginDown;
  m.PaperWidth = s.PaperWidth;
  m.PaperHeight = s.PaperHeight;
  m.PictureScale = s.PictureScale;
  m.PictureMoveDown = s.PictureMoveDown;
  m.PictureMoveRight = s.PictureMoveRight;
}

bool PaperSizeOf(int kind, int16_t& width, int16_t& height) {
  static const int16_t kSizes[6][2] = {{210, 297}, {297, 420}, {0, 0}, {216, 279}, {216, 356}, {279, 432}};
  if (kind < 0 || kind > 5 || kind == 2) return false;
  width = kSizes[kind][0];
  height = kSizes[kind][1];
  return true;
}

// Hundredths by the integer part, as the buttons always counted. The scale
// is single precision: 0.06 is held as 0.0599999, whose integer part alone
// would make "-" jump to 0.04, so the integer part forgives that much.
namespace {
double Hundredths(double v) { return std::floor(v * 100 + 1e-3) / 100; }
}  // namespace

float PictureScaleUp(float scale) {
  const auto next = static_cast<float>(Hundredths(scale + 0.01));
  return next > scale ? next : static_cast<float>(scale + 0.01);
}

float PictureScaleDown(float scale) {
  const auto next = static_cast<float>(Hundredths(scale - 0.01));
  return next < scale ? next : static_cast<float>(scale - 0.01);
}

PageSetupTexts PageSetupToTexts(const PageSetup& s) {
  auto n = [](int v) { return std::to_string(v); };
  return {n(s.PaperWidth),  n(s.PaperHeight), n(s.MarginLeft),
          n(s.MarginRight), n(s.MarginTop),   n(s.MarginDown),
          ExactFloatText(s.PictureScale), n(s.PictureMoveDown), n(s.PictureMoveRight)};
}

std::optional<PageSetup> PageSetupFromTexts(int kind, int direction, const PageSetupTexts& texts) {
  int16_t v[9] = {};
  double scale = 0;
  for (size_t i = 0; i < texts.size(); ++i) {
    const std::optional<double> n = NumericValue(texts[i]);
    if (!n) return std::nullopt;
    if (i == 6) {
      scale = *n;
      continue;
    }
    const double r = std::nearbyint(*n);
    if (!(r >= -32768 && r <= 32767)) return std::nullopt;
    v[i] = static_cast<int16_t>(r);
  }
  // A page without size, a margin below zero or a picture of no size
  // cannot be laid out: the same "Error" as a word in a box.
  if (v[0] < 1 || v[1] < 1 || v[2] < 0 || v[3] < 0 || v[4] < 0 || v[5] < 0) return std::nullopt;
  if (!PictureScaleAccepted(scale)) return std::nullopt;
  return PageSetup{static_cast<int16_t>(kind), static_cast<int16_t>(direction != 0 ? 1 : 0),
                   v[2], v[3], v[4], v[5], v[0], v[1], static_cast<float>(scale), v[7], v[8]};
}

}  // namespace accelog
