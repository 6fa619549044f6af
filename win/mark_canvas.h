// A picture being marked up: its own pixels kept as they were, and the
// pixels shown with the marks drawn over them, both 32-bit DIB sections in
// memory. Only the part a change touches is drawn again, so that a stroke
// on a large picture follows the mouse. Letters are drawn by GDI into the
// same pixels, in the system's UI font, without smoothing: every pixel of
// a mark is its colour.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "core/geometry.h"
#include "core/marks.h"
#include "win/bitmap_buffer.h"
#include "win/handles.h"

namespace win {

class MarkCanvas {
 public:
  MarkCanvas() = default;
  MarkCanvas(const MarkCanvas&) = delete;
  MarkCanvas& operator=(const MarkCanvas&) = delete;
  ~MarkCanvas();

  // Shows `picture`, which must stay as it is until Release; its pixels are
  // copied only when the first mark is drawn, so that the editor opens as
  // fast as the picture can be shown. False when there is none.
  bool Load(const BitmapBuffer& picture);
  void Release();
  std::int32_t Width() const { return width_; }
  std::int32_t Height() const { return height_; }
  // The pixels shown: the picture's own until the first mark.
  HDC dc() const { return marked_.dc ? marked_.dc.get() : source_ ? source_->dc() : nullptr; }
  // `region` of the picture drawn again from its own pixels and `marks`.
  bool Compose(const std::vector<marks::Mark>& marks, const geometry::Rect& region);
  // `part` of the pixels shown, as a picture of its own.
  bool CopyOut(const geometry::Rect& part, BitmapBuffer& picture) const;
  // The size the letters of `text` take at `height` pixels.
  geometry::Rect TextBox(const std::wstring& text, std::int32_t height, geometry::Point at) const;

 private:
  struct Section {
    MemoryDC dc;
    UniqueBitmap bitmap;
    HGDIOBJ old = nullptr;
    std::uint32_t* bits = nullptr;
  };
  bool Make(Section& section) const;
  static void Free(Section& section);
  void Letter(const marks::Mark& mark, int number, const geometry::Rect& region) const;

  // The picture's own pixels and the marked ones, made at the first mark.
  bool MakeSections();

  const BitmapBuffer* source_ = nullptr;
  Section own_, marked_;
  std::int32_t width_ = 0, height_ = 0;
};

// The UI font at a height of `pixels` (the letters' cell), without smoothing.
UniqueFont UiFont(std::int32_t pixels, bool bold = false);

}  // namespace win
