// The capture's way through the clipboard and back into the capture buffer.
#include <gtest/gtest.h>
#include <windows.h>

#include "toolkit/App.h"
#include "toolkit/Clipboard.h"
#include "toolkit/Form.h"
#include "toolkit/PictureBox.h"

namespace {

class Owner : public tk::Form {
 public:
  Owner() : tk::Form({.name = L"ClipOwner", .caption = L"ClipOwner"}) {}
};

COLORREF Expected(int x, int y) { return RGB((x * 7 + y * 3) & 255, (x ^ y) & 255, (x * y + x) & 255); }

}  // namespace

TEST(Clipboard, PictureComesBackExactly) {
  Owner owner;
  owner.Load();
  for (int round = 0; round < 20; ++round) {
    tk::PictureBox source;
    const double tpp = 1440.0 / ::GetDeviceCaps(::GetDC(nullptr), LOGPIXELSX);
    const int w = 40 + round, h = 30;
    source.Width(static_cast<float>(w * tpp));
    source.Height(static_cast<float>(h * tpp));
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) ::SetPixel(source.hDC(), x, y, Expected(x, y));
    ASSERT_TRUE(tk::Clipboard::SetImage(source.CopyImage()));
    tk::DoEvents();

    // The DIB is made on request, from the same pixels.
    ASSERT_TRUE(::OpenClipboard(nullptr));
    auto* dib = static_cast<const BITMAPINFOHEADER*>(::GlobalLock(::GetClipboardData(CF_DIB)));
    ASSERT_NE(dib, nullptr) << round;
    ASSERT_EQ(dib->biWidth, w);
    ASSERT_EQ(dib->biHeight, h);  // bottom-up
    ASSERT_EQ(dib->biBitCount, 24);
    const auto* bits = reinterpret_cast<const BYTE*>(dib + 1);
    const int stride = (w * 3 + 3) & ~3;
    int wrongDib = 0;
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        const BYTE* p = bits + (h - 1 - y) * stride + x * 3;
        wrongDib += RGB(p[2], p[1], p[0]) != Expected(x, y);
      }
    ::GlobalUnlock(::GetClipboardData(CF_DIB));
    ::CloseClipboard();
    ASSERT_EQ(wrongDib, 0) << "round " << round;

    tk::UniqueBitmap back = tk::Clipboard::GetPicture();
    ASSERT_TRUE(back) << round;
    tk::PictureBox target;
    target.Picture(back.get());
    ASSERT_EQ(target.PixelSize().cx, w);
    ASSERT_EQ(target.PixelSize().cy, h);
    int wrong = 0;
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) wrong += ::GetPixel(target.hDC(), x, y) != Expected(x, y);
    ASSERT_EQ(wrong, 0) << "round " << round;
  }
  owner.Unload();
}
