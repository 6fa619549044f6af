// Faults the program must survive: the image library under failure, files
// it replaces, settings in a folder outside the code page, a frame that
// loses the mouse in the middle of a resize.
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>

#include "app/Globals.h"
#include "frame/Form3.h"
#include "imagelib/imgctl.h"
#include "output/imgctl.h"
#include "shape/mod_RGN_Proc.h"

namespace {

std::filesystem::path TempDir(const wchar_t* name) {
  wchar_t buf[MAX_PATH];
  ::GetTempPathW(MAX_PATH, buf);
  auto dir = std::filesystem::path(buf) / name;
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  return dir;
}

std::string Bytes(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// An 8 x 8 picture selected in a memory DC, and a DIB of it.
struct Picture {
  HDC dc = nullptr;
  HBITMAP bmp = nullptr;
  HGDIOBJ old = nullptr;
  HANDLE dib = nullptr;
  Picture() {
    HDC screen = ::GetDC(nullptr);
    dc = ::CreateCompatibleDC(screen);
    bmp = ::CreateCompatibleBitmap(screen, 8, 8);
    ::ReleaseDC(nullptr, screen);
    old = ::SelectObject(dc, bmp);
    dib = imgctl::DCtoDIB(dc, 0, 0, 8, 8);
  }
  ~Picture() {
    if (dib) imgctl::DeleteDIB(dib);
    ::SelectObject(dc, old);
    ::DeleteObject(bmp);
    ::DeleteDC(dc);
  }
};

int RegularFiles(const std::filesystem::path& dir) {
  int n = 0;
  for (auto& e : std::filesystem::directory_iterator(dir)) n += e.is_regular_file();
  return n;
}

}  // namespace

TEST(Library, ReplacingAFileKeepsItsAttributes) {
  auto dir = TempDir(L"kirasoe-replace");
  auto target = dir / L"shot.png";
  { std::ofstream(target, std::ios::binary) << "old"; }
  ::SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE);
  Picture p;
  ASSERT_NE(p.dib, nullptr);
  EXPECT_NE(imgctl::DIBtoPNG(target.wstring(), p.dib, 0), 0);
  EXPECT_EQ(Bytes(target).substr(1, 3), "PNG");
  EXPECT_TRUE(::GetFileAttributesW(target.c_str()) & FILE_ATTRIBUTE_HIDDEN);
  EXPECT_EQ(RegularFiles(dir), 1) << "no temporary file is left behind";
  std::filesystem::remove_all(dir);
}

TEST(Library, APathNearTheLimitAndPastItSaves) {
  auto dir = TempDir(L"kirasoe-long");
  Picture p;
  ASSERT_NE(p.dib, nullptr);
  // One name may have 255 characters at most; past that, a folder level.
  const std::wstring deep = L"\\\\?\\" + (dir / std::wstring(120, L'b')).wstring();
  ::CreateDirectoryW(deep.c_str(), nullptr);
  for (auto [folder, total] : {std::pair{dir.wstring(), 259u}, std::pair{deep.substr(4), 300u}}) {
    const std::size_t nameLength = total - folder.size() - 1 - 4;
    const std::wstring target = folder + L"\\" + std::wstring(nameLength, L'a') + L".png";
    ASSERT_EQ(target.size(), total);
    EXPECT_NE(imgctl::DIBtoPNG(target, p.dib, 0), 0) << total;
    EXPECT_NE(::GetFileAttributesW((L"\\\\?\\" + target).c_str()), INVALID_FILE_ATTRIBUTES) << total;
    ::DeleteFileW((L"\\\\?\\" + target).c_str());
  }
  ::RemoveDirectoryW(deep.c_str());
  EXPECT_EQ(RegularFiles(dir), 0) << "no temporary file is left behind";
  std::filesystem::remove_all(dir);
}

TEST(Library, TheLastErrorBelongsToTheThreadThatFailed) {
  EXPECT_EQ(imgctl::DeleteDIB(reinterpret_cast<HANDLE>(0x5678)), 0);
  EXPECT_EQ(imgctl::ImgctlError(), IMGCTL_ERR_HANDLE);
  int other = -1;
  std::thread([&] { other = imgctl::ImgctlError(); }).join();
  EXPECT_EQ(other, IMGCTL_OK);
  EXPECT_EQ(imgctl::ImgctlError(), IMGCTL_ERR_HANDLE);
}

TEST(Library, HandlesThatAreGoneOrWrongAreRefusedNotFollowed) {
  Picture p;
  ASSERT_NE(p.dib, nullptr);
  HANDLE dib = p.dib;
  EXPECT_NE(imgctl::DeleteDIB(dib), 0);
  p.dib = nullptr;
  auto dir = TempDir(L"kirasoe-stale");
  EXPECT_EQ(imgctl::DIBtoBMP((dir / L"x.bmp").wstring(), dib), 0);
  EXPECT_EQ(imgctl::ImgctlError(), IMGCTL_ERR_HANDLE);
  EXPECT_EQ(imgctl::DeleteDIB(dib), 0);
  EXPECT_EQ(imgctl::DCtoDIB(nullptr, 0, 0, 8, 8), nullptr);
  EXPECT_EQ(imgctl::ImgctlError(), IMGCTL_ERR_SOURCE);
  EXPECT_EQ(RegularFiles(dir), 0);
  std::filesystem::remove_all(dir);
}

TEST(Settings, AFolderOutsideTheCodePageKeepsAnAnsiFile) {
  // Hangul has no place in code page 932.
  auto dir = TempDir(L"kirasoe-설정");
  const std::wstring ini = (dir / L"kirasoe.ini").wstring();
  mod_RGN_Proc::WriteProfile(ini, L"Data", L"LFName", std::wstring(L"画像"));
  mod_RGN_Proc::WriteProfile(ini, L"Data", L"SnapW", std::wstring(L"1500"));
  EXPECT_EQ(mod_RGN_Proc::ReadProfile(ini, L"Data", L"LFName"), L"画像");
  EXPECT_EQ(mod_RGN_Proc::ReadProfile(ini, L"Data", L"SnapW"), L"1500");
  // The same bytes as ever: code page 932, CRLF, no byte-order mark.
  EXPECT_EQ(Bytes(ini), "[Data]\r\nLFName=\x89\xe6\x91\x9c\r\nSnapW=1500\r\n");
  std::filesystem::remove_all(dir);
}

TEST(Frame, AResizeEndsWhenTheMouseIsTakenAway) {
  using namespace kirasoe;
  SnapX = 3000;
  SnapY = 1800;
  SnapW = 1500;
  SnapH = 750;
  HWND frame = Form3.hWnd();
  Form3.HitCorner = 4;
  Form3.ButtonState = L"DOWN";
  ::SendMessageW(frame, WM_CAPTURECHANGED, 0, 0);
  EXPECT_EQ(Form3.ButtonState, L"UP");

  // A move without the left button held (its release went elsewhere) does
  // not resize either.
  Form3.ButtonState = L"DOWN";
  ::SendMessageW(frame, WM_MOUSEMOVE, 0, MAKELPARAM(150, 90));
  EXPECT_EQ(Form3.ButtonState, L"UP");
  EXPECT_EQ(SnapW, 1500);
  EXPECT_EQ(SnapH, 750);
  Form3.Unload();
}
