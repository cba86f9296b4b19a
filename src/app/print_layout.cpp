#include "app/print_layout.h"

#include <algorithm>
#include <cmath>

#include "app/chart_scene.h"
#include "model/machine_parameter.h"

namespace accelog {

namespace {

int16_t Nearest16(double v) {
  return static_cast<int16_t>(std::clamp(std::nearbyint(v), -32768.0, 32767.0));
}

int16_t Add16(int16_t v, int d) { return static_cast<int16_t>(std::clamp(v + d, -32768, 32767)); }

}  // namespace

void LocateChartInCapture(PrintJob& p, const ChartSceneRecord& s, int32_t origin_x, int32_t origin_y) {
  p.PrintLeft = Nearest16(origin_x + s.OuterBorder.Left + s.InnerBorder.Left + 50);
  p.PrintTop = Nearest16(origin_y + s.OuterBorder.Top + s.InnerBorder.Top + s.PlotFrame.Top + 50);
  p.PrintHeight = Nearest16(s.TimeLabelStrip.Height + s.PlotFrame.Height);
  p.PrintWidth = Nearest16(s.PlotFrame.Width + 1500 + 1500 + 800);
}

PageTwips PageSizeTwips(int width_mm, int height_mm, int direction) {
  const double w = width_mm * kTwipsPerMm, h = height_mm * kTwipsPerMm;
  return direction != 0 ? PageTwips{h, w} : PageTwips{w, h};
}

float PreviewZoomFor(PageTwips page, int window_width, int window_height) {
  float zoom = 1.0f;
  for (int i = 0; i < 100; ++i) {
    zoom = static_cast<float>(zoom - 0.01);
    if (zoom * page.Width + 1000 < window_width && zoom * page.Height + 1000 < window_height) break;
  }
  zoom = static_cast<float>(zoom - 0.1);
  // A window too small for any step would leave a negative page.
  return std::max(zoom, 0.05f);
}

PreviewLayout LayOutPreview(PrintJob& p, int window_width, int window_height) {
  const auto& m = p.PageSetup();
  const PageTwips page = PageSizeTwips(m.PaperWidth, m.PaperHeight, m.PaperDirection);
  p.PreviewZoom = PreviewZoomFor(page, window_width, window_height);
  const double zoom = p.PreviewZoom;
  PreviewLayout l{};
  l.PageWidth = page.Width * zoom;
  l.PageHeight = page.Height * zoom;
  p.ViewMarginTop = Nearest16(m.MarginTop * kTwipsPerMm * zoom);
  p.ViewMarginDown = Nearest16(m.MarginDown * kTwipsPerMm * zoom);
  p.ViewMarginLeft = Nearest16(m.MarginLeft * kTwipsPerMm * zoom);
  p.ViewMarginRight = Nearest16(m.MarginRight * kTwipsPerMm * zoom);
  l.LineTop = p.ViewMarginTop;
  l.LineDown = static_cast<int32_t>(std::lround(l.PageHeight)) - p.ViewMarginDown;
  l.LineLeft = p.ViewMarginLeft;
  l.LineRight = static_cast<int32_t>(std::lround(l.PageWidth)) - p.ViewMarginRight;
  p.CropLeft = p.PrintLeft;
  p.CropTop = p.PrintTop;
  p.CropWidth = p.PrintWidth;
  p.CropHeight = p.PrintHeight;
  l.Picture = {static_cast<double>(l.LineLeft + 100), static_cast<double>(l.LineTop + 100),
               p.CropWidth * zoom * m.PictureScale, p.CropHeight * zoom * m.PictureScale};
  return l;
}

MarginLine MarginLineNear(const PreviewLayout& l, double x, double y) {
  constexpr double kReach = 50;
  if (std::abs(x - l.LineLeft) <= kReach) return MarginLine::Left;
  if (std::abs(x - l.LineRight) <= kReach) return MarginLine::Right;
  if (std::abs(y - l.LineTop) <= kReach) return MarginLine::Top;
  if (std::abs(y - l.LineDown) <= kReach) return MarginLine::Down;
  return MarginLine::None;
}

int16_t MarginFromView(double view, float zoom) {
  return Nearest16(view / static_cast<double>(zoom) / kTwipsPerMm);
}

int16_t DragMarginLine(PrintJob& p, MarginLine line, const PreviewLayout& l, double x, double y) {
  // The pointer may leave the page; the margin stays on it.
  x = std::clamp(x, 0.0, l.PageWidth);
  y = std::clamp(y, 0.0, l.PageHeight);
  auto& m = p.PageSetup();
  int16_t* view = nullptr;
  int16_t* mm = nullptr;
  double distance = 0;
  switch (line) {
    case MarginLine::Left: view = &p.ViewMarginLeft, mm = &m.MarginLeft, distance = x; break;
    case MarginLine::Right: view = &p.ViewMarginRight, mm = &m.MarginRight, distance = l.PageWidth - x; break;
    case MarginLine::Top: view = &p.ViewMarginTop, mm = &m.MarginTop, distance = y; break;
    case MarginLine::Down: view = &p.ViewMarginDown, mm = &m.MarginDown, distance = l.PageHeight - y; break;
    case MarginLine::None: return 0;
  }
  *view = Nearest16(distance);
  *mm = MarginFromView(*view, p.PreviewZoom);
  return *mm;
}

bool MovePictureByZone(PrintJob& job, int32_t x, int32_t y, double width, double height) {
  auto& m = job.PageSetup();
  if (x >= 1 && x < 3000) {
    m.PictureMoveRight = Add16(m.PictureMoveRight, 10);
  } else if (x > width - 3000 && x <= width) {
    m.PictureMoveRight = Add16(m.PictureMoveRight, -10);
  } else if (y >= 1 && y < 3000) {
    m.PictureMoveDown = Add16(m.PictureMoveDown, 10);
  } else if (y > height - 3000 && y <= height) {
    m.PictureMoveDown = Add16(m.PictureMoveDown, -10);
  } else {
    return false;
  }
  return true;
}

TwipRect CutOutSource(const PrintJob& p) {
  const auto& m = p.PageSetup();
  return {static_cast<double>(m.PictureMoveRight + p.CropLeft), static_cast<double>(m.PictureMoveDown + p.CropTop),
          static_cast<double>(p.CropWidth), static_cast<double>(p.CropHeight)};
}

TwipRect PrintedPicture(const PrintJob& p) {
  const auto& m = p.PageSetup();
  return {m.MarginLeft * kTwipsPerMm, m.MarginTop * kTwipsPerMm, p.CropWidth * static_cast<double>(m.PictureScale),
          p.CropHeight * static_cast<double>(m.PictureScale)};
}

}  // namespace accelog
