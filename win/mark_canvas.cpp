#include "win/mark_canvas.h"

#include <algorithm>
#include <cstring>

namespace win {

UniqueFont UiFont(std::int32_t pixels, bool bold) {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  LOGFONTW font{};
  if (::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) font = metrics.lfMessageFont;
  font.lfHeight = std::max(pixels, 1);
  font.lfWidth = 0;
  font.lfWeight = bold ? FW_BOLD : FW_NORMAL;
  font.lfQuality = NONANTIALIASED_QUALITY;
  return UniqueFont(::CreateFontIndirectW(&font));
}

MarkCanvas::~MarkCanvas() { Release(); }

void MarkCanvas::Release() {
  Free(marked_);
  Free(own_);
  source_ = nullptr;
  width_ = height_ = 0;
}

void MarkCanvas::Free(Section& section) {
  if (section.dc && section.old) ::SelectObject(section.dc.get(), section.old);
  section.old = nullptr;
  section.dc.reset();
  section.bitmap.reset();
  section.bits = nullptr;
}

bool MarkCanvas::Make(Section& section) const {
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), width_, -height_, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  WindowDC screen(nullptr);
  section.dc.reset(::CreateCompatibleDC(screen.get()));
  section.bitmap.reset(::CreateDIBSection(section.dc.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!section.dc || !section.bitmap) {
    section.dc.reset();
    section.bitmap.reset();
    return false;
  }
  section.old = ::SelectObject(section.dc.get(), section.bitmap.get());
  section.bits = static_cast<std::uint32_t*>(bits);
  return true;
}

bool MarkCanvas::Load(const BitmapBuffer& picture) {
  Release();
  if (!picture.dc()) return false;
  source_ = &picture;
  width_ = picture.Width();
  height_ = picture.Height();
  return true;
}

bool MarkCanvas::MakeSections() {
  if (marked_.dc) return true;
  if (!source_ || !Make(own_)) return false;
  const bool copied = ::BitBlt(own_.dc.get(), 0, 0, width_, height_, source_->dc(), 0, 0, SRCCOPY);
  ::GdiFlush();
  if (!copied || !Make(marked_)) {
    Free(own_);
    return false;
  }
  std::memcpy(marked_.bits, own_.bits, static_cast<std::size_t>(width_) * height_ * 4);
  return true;
}

bool MarkCanvas::Compose(const std::vector<marks::Mark>& marks, const geometry::Rect& region) {
  const geometry::Rect r{std::max(region.left, 0), std::max(region.top, 0), std::min(region.right, width_),
                         std::min(region.bottom, height_)};
  if (r.left >= r.right || r.top >= r.bottom) return true;
  if (!MakeSections()) return false;
  ::GdiFlush();
  const std::size_t stride = static_cast<std::size_t>(width_);
  for (std::int32_t y = r.top; y < r.bottom; ++y)
    std::memcpy(marked_.bits + y * stride + r.left, own_.bits + y * stride + r.left,
                static_cast<std::size_t>(r.Width()) * 4);
  marks::Draw(marks, marked_.bits + r.top * stride + r.left, r, stride,
              [this](const marks::Mark& m, int number, const geometry::Rect& within) { Letter(m, number, within); });
  ::GdiFlush();
  return true;
}

void MarkCanvas::Letter(const marks::Mark& mark, int number, const geometry::Rect& region) const {
  HDC dc = marked_.dc.get();
  ::GdiFlush();  // the pixels drawn before come first
  const int saved = ::SaveDC(dc);
  ::IntersectClipRect(dc, region.left, region.top, region.right, region.bottom);
  ::SetBkMode(dc, TRANSPARENT);
  const geometry::Rect box = marks::Bounds(mark);
  RECT r{box.left, box.top, box.right, box.bottom};
  const std::uint32_t c = mark.colour;
  if (mark.tool == marks::Tool::Text) {
    UniqueFont font = UiFont(box.Height());
    SelectedObject use(dc, font.get());
    ::IntersectClipRect(dc, r.left, r.top, r.right, r.bottom);
    ::SetTextColor(dc, RGB(c >> 16, (c >> 8) & 0xFF, c & 0xFF));
    ::DrawTextW(dc, mark.text.c_str(), static_cast<int>(mark.text.size()), &r, DT_LEFT | DT_TOP | DT_NOPREFIX | DT_SINGLELINE);
  } else {
    // Dark figures on a light disc, light ones on a dark disc.
    const std::uint32_t light = ((c >> 16) & 0xFF) * 3 + ((c >> 8) & 0xFF) * 6 + (c & 0xFF);
    UniqueFont font = UiFont(box.Height() * 2 / 3, true);
    SelectedObject use(dc, font.get());
    ::SetTextColor(dc, light > 1500 ? RGB(0, 0, 0) : RGB(255, 255, 255));
    const std::wstring figures = std::to_wstring(number);
    ::DrawTextW(dc, figures.c_str(), static_cast<int>(figures.size()), &r,
                DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_NOCLIP);
  }
  ::RestoreDC(dc, saved);
  ::GdiFlush();
}

geometry::Rect MarkCanvas::TextBox(const std::wstring& text, std::int32_t height, geometry::Point at) const {
  UniqueFont font = UiFont(height);
  WindowDC screen(nullptr);
  MemoryDC measure(::CreateCompatibleDC(screen.get()));
  SelectedObject use(measure.get(), font.get());
  SIZE size{0, height};
  ::GetTextExtentPoint32W(measure.get(), text.c_str(), static_cast<int>(text.size()), &size);
  return geometry::RectAt(at.x, at.y, std::max<LONG>(size.cx, 1), height);
}

bool MarkCanvas::CopyOut(const geometry::Rect& part, BitmapBuffer& picture) const {
  if (!picture.Resize(part.Width(), part.Height())) return false;
  return ::BitBlt(picture.dc(), 0, 0, part.Width(), part.Height(), dc(), part.left, part.top, SRCCOPY);
}

}  // namespace win
