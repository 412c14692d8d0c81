#include "win32/page_pictures.h"

#include <objidl.h>
#include <gdiplus.h>

#include <functional>

#include "app/layout.h"

namespace qm {

namespace {

namespace gp = Gdiplus;

// GDI+ for the time the pictures are drawn.
class GdiplusSession {
 public:
  GdiplusSession() {
    gp::GdiplusStartupInput input;
    ok_ = gp::GdiplusStartup(&token_, &input, nullptr) == gp::Ok;
  }
  GdiplusSession(const GdiplusSession&) = delete;
  GdiplusSession& operator=(const GdiplusSession&) = delete;
  ~GdiplusSession() {
    if (ok_) gp::GdiplusShutdown(token_);
  }
  bool ok() const { return ok_; }

 private:
  ULONG_PTR token_ = 0;
  bool ok_ = false;
};

gp::Color Rgb(BYTE r, BYTE g, BYTE b) { return gp::Color(255, r, g, b); }

// A four-pointed sparkle centred on (x, y).
void Sparkle(gp::Graphics& g, float x, float y, float size, const gp::Color& color) {
  const float w = size / 4;
  const gp::PointF points[] = {{x, y - size}, {x + w, y - w}, {x + size, y}, {x + w, y + w},
                               {x, y + size}, {x - w, y + w}, {x - size, y}, {x - w, y - w}};
  gp::SolidBrush brush(color);
  g.FillPolygon(&brush, points, 8);
}

// A broom sweeping, with sparkles: the cleaning page.
void DrawCleaning(gp::Graphics& g) {
  gp::Pen handle(Rgb(139, 90, 43), 4.5f);
  handle.SetStartCap(gp::LineCapRound);
  handle.SetEndCap(gp::LineCapRound);
  g.DrawLine(&handle, 39.0f, 4.0f, 22.0f, 25.0f);
  const gp::PointF bristles[] = {{17, 22}, {28, 30}, {22, 45}, {4, 38}};
  gp::LinearGradientBrush straw(gp::PointF(20, 24), gp::PointF(12, 44), Rgb(247, 201, 72), Rgb(214, 150, 30));
  g.FillPolygon(&straw, bristles, 4);
  gp::Pen strands(Rgb(176, 118, 20), 1.2f);
  for (float t : {0.25f, 0.5f, 0.75f}) {
    const gp::PointF top(17 + (28 - 17) * t, 22 + (30 - 22) * t);
    const gp::PointF bottom(4 + (22 - 4) * t, 38 + (45 - 38) * t);
    g.DrawLine(&strands, top, bottom);
  }
  gp::Pen band(Rgb(120, 72, 30), 4.0f);
  g.DrawLine(&band, 16.5f, 22.0f, 28.5f, 30.0f);
  Sparkle(g, 38, 33, 6, Rgb(52, 132, 228));
  Sparkle(g, 31, 42, 3.5f, Rgb(52, 132, 228));
  Sparkle(g, 42, 20, 3.5f, Rgb(52, 132, 228));
}

// A shield with a check mark: findings that match an exclusion are kept safe.
void DrawExclusions(gp::Graphics& g) {
  gp::GraphicsPath shield;
  shield.AddLine(24.0f, 3.0f, 41.0f, 9.0f);
  shield.AddLine(41.0f, 9.0f, 41.0f, 22.0f);
  shield.AddBezier(41.0f, 22.0f, 41.0f, 33.0f, 33.0f, 41.0f, 24.0f, 45.0f);
  shield.AddBezier(24.0f, 45.0f, 15.0f, 41.0f, 7.0f, 33.0f, 7.0f, 22.0f);
  shield.AddLine(7.0f, 22.0f, 7.0f, 9.0f);
  shield.CloseFigure();
  gp::LinearGradientBrush fill(gp::PointF(24, 3), gp::PointF(24, 45), Rgb(64, 178, 110), Rgb(24, 118, 64));
  g.FillPath(&fill, &shield);
  gp::Pen rim(Rgb(18, 92, 50), 1.5f);
  g.DrawPath(&rim, &shield);
  gp::Pen tick(Rgb(255, 255, 255), 4.5f);
  tick.SetStartCap(gp::LineCapRound);
  tick.SetEndCap(gp::LineCapRound);
  tick.SetLineJoin(gp::LineJoinRound);
  const gp::PointF mark[] = {{15.5f, 24}, {21.5f, 30.5f}, {33, 17}};
  g.DrawLines(&tick, mark, 3);
}

// An archive box with a round restore arrow: the backups page.
void DrawBackups(gp::Graphics& g) {
  gp::LinearGradientBrush body(gp::PointF(0, 16), gp::PointF(0, 44), Rgb(222, 170, 104), Rgb(184, 128, 62));
  g.FillRectangle(&body, 6.0f, 17.0f, 30.0f, 26.0f);
  gp::SolidBrush lid(Rgb(160, 106, 46));
  g.FillRectangle(&lid, 4.0f, 10.0f, 34.0f, 8.0f);
  gp::SolidBrush slot(Rgb(110, 70, 28));
  g.FillRectangle(&slot, 15.0f, 22.0f, 12.0f, 3.5f);
  gp::SolidBrush disc(Rgb(36, 120, 214));
  g.FillEllipse(&disc, 23.0f, 23.0f, 24.0f, 24.0f);
  gp::Pen ring(Rgb(255, 255, 255), 3.0f);
  g.DrawArc(&ring, 29.0f, 29.0f, 12.0f, 12.0f, 200.0f, 270.0f);
  gp::SolidBrush white(Rgb(255, 255, 255));
  const gp::PointF head[] = {{26.5f, 28.5f}, {33.5f, 29.0f}, {28.0f, 34.5f}};
  g.FillPolygon(&white, head, 3);
}

// One picture of `size` pixels drawn on a 48-unit canvas; an empty one without a painter.
UniqueBitmap Picture(int size, const std::function<void(gp::Graphics&)>& paint) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = size;
  info.bmiHeader.biHeight = -size;  // top-down rows
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  UniqueBitmap bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!bitmap || !paint) return bitmap;
  gp::Bitmap canvas(size, size, size * 4, PixelFormat32bppPARGB, static_cast<BYTE*>(bits));
  gp::Graphics graphics(&canvas);
  graphics.SetSmoothingMode(gp::SmoothingModeAntiAlias);
  graphics.SetPixelOffsetMode(gp::PixelOffsetModeHalf);
  graphics.ScaleTransform(size / 48.0f, size / 48.0f);
  paint(graphics);
  graphics.Flush(gp::FlushIntentionSync);
  return bitmap;
}

}  // namespace

UniqueImageList CreatePagePictures(int dpi) {
  const int size = ScaleToDpi(48, dpi);
  UniqueImageList list(ImageList_Create(size, size, ILC_COLOR32, 6, 0));
  GdiplusSession gdiplus;
  if (!list || !gdiplus.ok()) return list;
  const std::function<void(gp::Graphics&)> painters[6] = {nullptr, nullptr, nullptr, DrawCleaning, DrawBackups,
                                                           DrawExclusions};
  for (const auto& paint : painters) {
    UniqueBitmap picture = Picture(size, paint);
    ImageList_Add(list.get(), picture.get(), nullptr);
  }
  return list;
}

}  // namespace qm
