// The capture's way through the clipboard and back into the capture buffer.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "win/bitmap_buffer.h"
#include "win/clipboard.h"
#include "win/screen.h"

namespace {

COLORREF Expected(int x, int y) { return RGB((x * 7 + y * 3) & 255, (x ^ y) & 255, (x * y + x) & 255); }

}  // namespace

TEST(Clipboard, PictureComesBackExactly) {
  win::BitmapBuffer source;
  for (int round = 0; round < 20; ++round) {
    const int w = 40 + round, h = 30;
    win::clipboard::Withdraw();
    ASSERT_TRUE(source.Resize(w, h));
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) ::SetPixel(source.dc(), x, y, Expected(x, y));
    ASSERT_TRUE(win::clipboard::Offer(source));
    win::PumpPending();

    // Both forms are made on request, from the same pixels.
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

    win::UniqueBitmap back = win::clipboard::GetPicture();
    ASSERT_TRUE(back) << round;
    BITMAP bm{};
    ::GetObjectW(back.get(), sizeof bm, &bm);
    ASSERT_EQ(bm.bmWidth, w);
    ASSERT_EQ(bm.bmHeight, h);
    win::MemoryDC target(::CreateCompatibleDC(nullptr));
    win::SelectedObject selected(target.get(), back.get());
    int wrong = 0;
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) wrong += ::GetPixel(target.get(), x, y) != Expected(x, y);
    ASSERT_EQ(wrong, 0) << "round " << round;
  }
}

TEST(Clipboard, PngIsMadeBeforeTheProgramEndsLikeTheOthers) {
  win::BitmapBuffer source;
  win::clipboard::Withdraw();
  ASSERT_TRUE(source.Resize(37, 11));
  ASSERT_TRUE(win::clipboard::Offer(source));
  win::clipboard::RenderBeforeExit();
  const UINT png = ::RegisterClipboardFormatW(L"PNG");
  ASSERT_TRUE(::OpenClipboard(nullptr));
  HANDLE data = ::GetClipboardData(png);
  ASSERT_NE(data, nullptr);
  const auto* bytes = static_cast<const BYTE*>(::GlobalLock(data));
  // The signature, then IHDR with the width and height, big-endian.
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(bytes) + 1, 3), "PNG");
  EXPECT_EQ(bytes[0], 0x89);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(bytes) + 12, 4), "IHDR");
  EXPECT_EQ((bytes[16] << 24) | (bytes[17] << 16) | (bytes[18] << 8) | bytes[19], 37);
  EXPECT_EQ((bytes[20] << 24) | (bytes[21] << 16) | (bytes[22] << 8) | bytes[23], 11);
  ::GlobalUnlock(data);
  ::CloseClipboard();
}
