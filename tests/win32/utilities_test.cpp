// Window utilities, the toolkit's forms and the image library's presence,
// at the DPI of the prefix the test runs in.
#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/twips.h"
#include "imagelib/imgctl.h"
#include "win/image_library.h"
#include "win/mark_canvas.h"
#include "win/screen_copy.h"
#include "win/screen.h"
#include "win/system_changes.h"
#include "win/system_move.h"
#include "win/window.h"

namespace {

int ExpectedDpi() {
  const char* env = std::getenv("KIRASOE_DPI");
  return env ? std::atoi(env) : 96;
}

class TestWindow : public win::Window {
 public:
  bool Open() { return Create({.className = L"Kirasoe.Test"}); }
  int destroyed = 0;

 protected:
  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) noexcept override {
    if (msg == WM_DESTROY) ++destroyed;
    return Default(msg, wp, lp);
  }
};

}  // namespace

TEST(Screen, RatioCursorAndUsableHeightComeFromTheSystem) {
  const double tpp = 1440.0 / ExpectedDpi();
  EXPECT_EQ(win::CurrentScale(), (twips::Scale{tpp, tpp}));
  ASSERT_TRUE(::SetCursorPos(100, 50));
  EXPECT_EQ(win::CursorPos(), (geometry::Point{100, 50}));
  EXPECT_EQ(win::UsableHeight(), ::GetSystemMetrics(SM_CYFULLSCREEN) + ::GetSystemMetrics(SM_CYCAPTION));
  ASSERT_FALSE(win::Monitors().empty());
  EXPECT_EQ(win::Monitors()[0].area, (geometry::Rect{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)}));
}

TEST(Windows, PlacedInPixelsJoinTheTopmostBandAndAreDestroyedWithTheirObject) {
  int destroyed = 0;
  {
    TestWindow window;
    ASSERT_TRUE(window.Open());
    window.Place({100, 40, 130, 60});
    EXPECT_EQ(window.Bounds(), (geometry::Rect{100, 40, 130, 60}));
    EXPECT_FALSE(window.Visible());
    win::MakeTopmost(window.hwnd(), true);  // joins the band, stays hidden
    EXPECT_FALSE(window.Visible());
    EXPECT_TRUE(::GetWindowLongW(window.hwnd(), GWL_EXSTYLE) & WS_EX_TOPMOST);
    win::MakeTopmost(window.hwnd(), false);
    EXPECT_TRUE(window.Visible());
    EXPECT_EQ(window.Bounds(), (geometry::Rect{100, 40, 130, 60}));  // neither moved nor sized
    // Off every monitor: brought fully onto the nearest work area.
    window.Place({-500, 40, -470, 60});
    EXPECT_TRUE(win::BringOnScreen(window));
    EXPECT_EQ(window.Bounds().left, win::Monitors()[0].work.left);
    EXPECT_FALSE(win::BringOnScreen(window));
    window.Destroy();
    EXPECT_FALSE(window.Exists());
    destroyed = window.destroyed;
  }
  EXPECT_EQ(destroyed, 1);
}

TEST(ImageLibrary, IsFoundBesideTheProgram) {
  EXPECT_EQ(imgctl::ImgctlVersion(), 100);
  EXPECT_EQ(imgctl::ImgctlError(), IMGCTL_OK);
}

TEST(ImageLibrary, DibIsLimitedToTheBitmapAndReleasedOnce) {
  HDC screen = ::GetDC(nullptr);
  HDC dc = ::CreateCompatibleDC(screen);
  HBITMAP bmp = ::CreateCompatibleBitmap(screen, 32, 20);
  ::ReleaseDC(nullptr, screen);
  HGDIOBJ old = ::SelectObject(dc, bmp);
  RECT all{0, 0, 32, 20};
  HBRUSH red = ::CreateSolidBrush(RGB(255, 0, 0));
  ::FillRect(dc, &all, red);
  ::DeleteObject(red);

  // Asked in twips, as the writers do: the result is the bitmap itself.
  HANDLE dib = imgctl::DCtoDIB(dc, 0, 0, 480, 300);
  ASSERT_NE(dib, nullptr);
  wchar_t temp[MAX_PATH];
  ::GetTempPathW(MAX_PATH, temp);
  std::wstring path = std::wstring(temp) + L"kirasoe-dib-テスト.bmp";
  EXPECT_NE(imgctl::DIBtoBMP(path, dib), 0);
  WIN32_FILE_ATTRIBUTE_DATA fa{};
  ASSERT_TRUE(::GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &fa));
  EXPECT_EQ(fa.nFileSizeLow, 54u + 96u * 20u);
  ::DeleteFileW(path.c_str());

  EXPECT_NE(imgctl::DeleteDIB(dib), 0);
  EXPECT_EQ(imgctl::DeleteDIB(dib), 0);  // already released
  EXPECT_EQ(imgctl::ImgctlError(), IMGCTL_ERR_HANDLE);
  ::SelectObject(dc, old);
  ::DeleteObject(bmp);
  ::DeleteDC(dc);
}

namespace {

// The user's stored setting for showing window contents while dragging.
std::wstring StoredDragSetting() {
  wchar_t value[16] = {};
  DWORD size = sizeof value;
  ::RegGetValueW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", L"DragFullWindows", RRF_RT_REG_SZ, nullptr, value, &size);
  return value;
}

BOOL DragSettingInUse() {
  BOOL on = FALSE;
  ::SystemParametersInfoW(SPI_GETDRAGFULLWINDOWS, 0, &on, 0);
  return on;
}

}  // namespace

TEST(SystemMove, TheUsersDragSettingIsSwitchedForTheSessionOnly) {
  const BOOL original = DragSettingInUse();
  // The user keeps "off" in the profile.
  ::SystemParametersInfoW(SPI_SETDRAGFULLWINDOWS, FALSE, nullptr, SPIF_UPDATEINIFILE);
  ASSERT_EQ(StoredDragSetting(), L"0");
  {
    win::ContentsShownWhileDragging shown;
    EXPECT_TRUE(DragSettingInUse());
    // Ended here, the program would leave the user's setting as it was.
    EXPECT_EQ(StoredDragSetting(), L"0");
  }
  EXPECT_FALSE(DragSettingInUse());
  EXPECT_EQ(StoredDragSetting(), L"0");
  ::SystemParametersInfoW(SPI_SETDRAGFULLWINDOWS, original, nullptr, SPIF_UPDATEINIFILE);
}

namespace {

std::uint32_t PixelOf(HDC dc, int x, int y) {
  const COLORREF c = ::GetPixel(dc, x, y);
  return static_cast<std::uint32_t>(GetRValue(c)) << 16 | GetGValue(c) << 8 | GetBValue(c);
}

}  // namespace

TEST(Masks, APictureHasItsMaskedPixelsReplacedAndNoOthers) {
  win::BitmapBuffer picture;
  ASSERT_TRUE(picture.Resize(20, 10));
  const RECT all{0, 0, 20, 10};
  win::UniqueBrush grey(::CreateSolidBrush(RGB(0x12, 0x34, 0x56)));
  ::FillRect(picture.dc(), &all, grey.get());
  // One mask inside, one reaching past the right edge.
  ASSERT_TRUE(win::HideMasked(picture, {{{2, 3, 5, 6}, 0xFF8000}, {{18, 0, 40, 2}, 0x000000}}));
  EXPECT_EQ(PixelOf(picture.dc(), 2, 3), 0xFF8000u);
  EXPECT_EQ(PixelOf(picture.dc(), 4, 5), 0xFF8000u);
  EXPECT_EQ(PixelOf(picture.dc(), 5, 5), 0x123456u);
  EXPECT_EQ(PixelOf(picture.dc(), 19, 1), 0x000000u);
  EXPECT_EQ(PixelOf(picture.dc(), 17, 1), 0x123456u);
  EXPECT_EQ(PixelOf(picture.dc(), 19, 2), 0x123456u);
  win::BitmapBuffer none;
  EXPECT_FALSE(win::HideMasked(none, {})) << "no picture goes out";
}

TEST(MarkCanvas, TheMarkedPictureHasTheMarksPixelsAndTheLettersInTheirColour) {
  win::BitmapBuffer picture, out;
  ASSERT_TRUE(picture.Resize(120, 60));
  const RECT all{0, 0, 120, 60};
  win::UniqueBrush white(::CreateSolidBrush(RGB(255, 255, 255)));
  ::FillRect(picture.dc(), &all, white.get());
  win::MarkCanvas canvas;
  ASSERT_TRUE(canvas.Load(picture));
  EXPECT_EQ(canvas.dc(), picture.dc()) << "nothing copied before the first mark";
  const geometry::Rect box = canvas.TextBox(L"Kirasoe", 24, {40, 10});
  EXPECT_EQ(box.Height(), 24);
  const std::vector<marks::Mark> drawn{{marks::Tool::Hide, 0x0000FF, 1, {{0, 0}, {9, 9}}, L""},
                                       {marks::Tool::Text, 0xFF0000, 3, {{box.left, box.top}, {box.right - 1, box.bottom - 1}}, L"Kirasoe"}};
  ASSERT_TRUE(canvas.Compose(drawn, {0, 0, 120, 60}));
  ASSERT_TRUE(canvas.CopyOut({0, 0, 120, 60}, out));
  int red = 0, other = 0;
  for (int y = 0; y < 60; ++y) {
    for (int x = 0; x < 120; ++x) {
      const std::uint32_t p = PixelOf(out.dc(), x, y);
      if (x < 10 && y < 10) {
        EXPECT_EQ(p, 0x0000FFu);
      } else if (p == 0xFF0000u) {
        ++red;
        EXPECT_TRUE(box.Contains({x, y})) << x << "," << y;
      } else if (p != 0xFFFFFFu) {
        ++other;
      }
    }
  }
  EXPECT_GT(red, 30) << "the letters are drawn";
  EXPECT_EQ(other, 0) << "letters without smoothing: every pixel is the mark's colour or the picture's";
  EXPECT_EQ(PixelOf(picture.dc(), 0, 0), 0xFFFFFFu) << "the capture itself stays as it was";
}
