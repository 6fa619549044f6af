// Window utilities, the toolkit's forms and the image library's presence,
// at the DPI of the prefix the test runs in.
#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <vector>

#include "imagelib/imgctl.h"
#include "output/imgctl.h"
#include "shape/mod_RGN_Proc.h"
#include "shape/mod_RGN_UserFunction.h"
#include "toolkit/App.h"
#include "toolkit/Form.h"

namespace uf = mod_RGN_UserFunction;

namespace {

int ExpectedDpi() {
  const char* env = std::getenv("KIRASOE_DPI");
  return env ? std::atoi(env) : 96;
}

class TestForm : public tk::Form {
 public:
  explicit TestForm(const wchar_t* name) : tk::Form({.name = name, .caption = name}) {}
  void Form_QueryUnload(int&, int mode) override {
    ++queryUnloads;
    lastMode = mode;
  }
  int queryUnloads = 0;
  int lastMode = -1;

 protected:
  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) noexcept override {
    if (msg == WM_APP) ++appMessages;
    return tk::Form::OnMessage(msg, wp, lp);
  }

 public:
  int appMessages = 0;
};

}  // namespace

TEST(Screen, RatiosComeFromTheSystemDpi) {
  double tpp = 1440.0 / ExpectedDpi();
  EXPECT_DOUBLE_EQ(tk::Screen::TwipsPerPixelX(), tpp);
  EXPECT_DOUBLE_EQ(tk::Screen::TwipsPerPixelY(), tpp);
  EXPECT_FLOAT_EQ(tk::Screen::Width(), static_cast<float>(::GetSystemMetrics(SM_CXSCREEN) * tpp));
}

TEST(Conversions, FollowTheScreenRatio) {
  int tpp = 1440 / ExpectedDpi();
  EXPECT_EQ(uf::PixelsToTwipsX(32), 32 * tpp);
  EXPECT_EQ(uf::PixelsToTwipsY(5), 5 * tpp);
  EXPECT_EQ(uf::TwipsToPixelsX(tpp - 1), 0);
  EXPECT_EQ(uf::TwipsToPixelsX(2 * tpp - 1), 1);
  EXPECT_EQ(uf::TwipsToPixelsY(2 * tpp), 2);
  EXPECT_EQ(uf::TwipsToPixelsX(-(tpp - 1)), 0);
}

TEST(CursorAndScreen, TwipsFromPixels) {
  double tpp = tk::Screen::TwipsPerPixelX();
  ASSERT_TRUE(::SetCursorPos(100, 50));
  EXPECT_EQ(uf::GetCursorXTwips(), static_cast<int>(100 * tpp));
  EXPECT_EQ(uf::GetCursorYTwips(), static_cast<int>(50 * tpp));
  int usable = (::GetSystemMetrics(SM_CYFULLSCREEN) + ::GetSystemMetrics(SM_CYCAPTION)) * static_cast<int>(tpp);
  EXPECT_EQ(mod_RGN_Proc::GetUsableScreenHeight(), usable);
}

TEST(Forms, GeometryInTwipsAndTopmost) {
  TestForm form(L"Geometry");
  double tpp = tk::Screen::TwipsPerPixelX();
  form.Load();
  form.Left(static_cast<float>(100 * tpp));
  form.Top(static_cast<float>(40 * tpp));
  form.Width(static_cast<float>(30 * tpp));
  form.Height(static_cast<float>(20 * tpp));
  RECT r{};
  ::GetWindowRect(form.hWnd(), &r);
  EXPECT_EQ(r.left, 100);
  EXPECT_EQ(r.top, 40);
  EXPECT_EQ(r.right - r.left, 30);
  EXPECT_EQ(r.bottom - r.top, 20);
  EXPECT_FLOAT_EQ(form.Width(), static_cast<float>(30 * tpp));

  EXPECT_FALSE(form.Visible());
  uf::SetTopmost(form, true);  // joins the band, stays hidden
  EXPECT_FALSE(form.Visible());
  EXPECT_TRUE(::GetWindowLongW(form.hWnd(), GWL_EXSTYLE) & WS_EX_TOPMOST);
  uf::SetTopmost(form, false);
  EXPECT_TRUE(form.Visible());
  ::GetWindowRect(form.hWnd(), &r);
  EXPECT_EQ(r.left, 100);  // neither moved nor sized
  EXPECT_EQ(r.right - r.left, 30);
  form.Unload();
  EXPECT_FALSE(form.Loaded());
}

TEST(Forms, UnloadOtherFormsKeepsTheNamedOne) {
  TestForm a(L"A"), b(L"B"), c(L"C");
  a.Load();
  b.Load();
  c.Load();
  uf::UnloadOtherForms(L"B");
  EXPECT_FALSE(a.Loaded());
  EXPECT_TRUE(b.Loaded());
  EXPECT_FALSE(c.Loaded());
  EXPECT_EQ(a.queryUnloads, 1);
  EXPECT_EQ(b.queryUnloads, 0);
  EXPECT_EQ(c.queryUnloads, 1);
  EXPECT_EQ(a.lastMode, tk::kFormCode);
  for (tk::Form* f : tk::LoadedForms()) EXPECT_NE(f->Name(), L"A");
  b.Unload();
}

TEST(Forms, CloseRequestRunsQueryUnload) {
  TestForm form(L"Closing");
  form.Load();
  ::SendMessageW(form.hWnd(), WM_CLOSE, 0, 0);
  EXPECT_EQ(form.queryUnloads, 1);
  EXPECT_EQ(form.lastMode, tk::kFormControlMenu);
  EXPECT_FALSE(form.Loaded());
}

TEST(WaitMs, HandlesPendingEventsThenSleeps) {
  TestForm form(L"Waiting");
  form.Load();
  ::PostMessageW(form.hWnd(), WM_APP, 0, 0);
  auto start = std::chrono::steady_clock::now();
  uf::WaitMs(50);
  auto elapsed = std::chrono::steady_clock::now() - start;
  EXPECT_EQ(form.appMessages, 1);
  EXPECT_GE(std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count(), 49);
  form.Unload();
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
