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
#include <vector>

#include <sddl.h>

#include "app/frame_window.h"
#include "imagelib/imgctl.h"
#include "win/image_library.h"
#include "win/image_writer.h"
#include "win/profile.h"
#include "win/screen.h"

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

namespace {

// A file's access rules as text (its discretionary ACL in SDDL).
std::wstring AccessRulesOf(const std::wstring& path) {
  DWORD size = 0;
  ::GetFileSecurityW(path.c_str(), DACL_SECURITY_INFORMATION, nullptr, 0, &size);
  std::vector<std::uint8_t> sd(size);
  if (!size || !::GetFileSecurityW(path.c_str(), DACL_SECURITY_INFORMATION, sd.data(), size, &size)) return L"";
  wchar_t* text = nullptr;
  if (!::ConvertSecurityDescriptorToStringSecurityDescriptorW(sd.data(), SDDL_REVISION_1, DACL_SECURITY_INFORMATION,
                                                              &text, nullptr))
    return L"";
  std::wstring rules(text);
  ::LocalFree(text);
  return rules;
}

void SetAccessRules(const std::wstring& path, const wchar_t* sddl) {
  PSECURITY_DESCRIPTOR sd = nullptr;
  ASSERT_TRUE(::ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl, SDDL_REVISION_1, &sd, nullptr));
  ::SetFileSecurityW(path.c_str(), DACL_SECURITY_INFORMATION, sd);
  ::LocalFree(sd);
}

}  // namespace

TEST(Library, AReplacedFileKeepsItsAccessRulesAlsoWhenMovedOver) {
  auto dir = TempDir(L"kirasoe-rules");
  Picture p;
  ASSERT_NE(p.dib, nullptr);
  // A short path the system replaces, and a long one Wine cannot replace,
  // where the library moves the new file over the old one.
  const std::wstring deep = L"\\\\?\\" + (dir / std::wstring(200, L'd')).wstring();
  ::CreateDirectoryW(deep.c_str(), nullptr);
  const wchar_t* rules = L"D:P(A;;FA;;;WD)(A;;FR;;;BU)";
  for (const std::wstring& target : {(dir / L"short.png").wstring(), deep + L"\\" + std::wstring(80, L'l') + L".png"}) {
    { std::ofstream(std::filesystem::path(target), std::ios::binary) << "old"; }
    SetAccessRules(target, rules);
    const std::wstring before = AccessRulesOf(target);
    if (before.find(L"(A;;FR;;;BU)") == std::wstring::npos) GTEST_SKIP() << "no access rules kept here: " << before;
    EXPECT_NE(imgctl::DIBtoPNG(target, p.dib, 0), 0) << target.size();
    EXPECT_EQ(AccessRulesOf(target), before) << target.size();
    ::DeleteFileW(target.c_str());
  }
  ::RemoveDirectoryW(deep.c_str());
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
  win::WriteProfile(ini, L"Data", L"LFName", std::wstring(L"画像"));
  win::WriteProfile(ini, L"Data", L"SnapW", std::wstring(L"1500"));
  EXPECT_EQ(win::ReadProfile(ini, L"Data", L"LFName"), L"画像");
  EXPECT_EQ(win::ReadProfile(ini, L"Data", L"SnapW"), L"1500");
  // The same bytes as ever: code page 932, CRLF, no byte-order mark.
  EXPECT_EQ(Bytes(ini), "[Data]\r\nLFName=\x89\xe6\x91\x9c\r\nSnapW=1500\r\n");
  std::filesystem::remove_all(dir);
}

namespace {

class FrameOwner : public FrameWindow::Owner {
 public:
  void FrameChanged(const geometry::Rect&) override { ++changes; }
  void FrameMoving() override {}
  void FrameMovedBySystem(const geometry::Rect&) override {}
  void MenuRequested(HWND) override {}
  void SystemMoveStarted() override {}
  void SystemMoveEnded() override {}
  void ExitRequested(bool) override {}
  int changes = 0;
};

}  // namespace

TEST(Frame, AResizeEndsWhenTheMouseIsTakenAway) {
  FrameOwner owner;
  FrameWindow frame(owner);
  ASSERT_TRUE(frame.Open(CaptureArea({3000, 1800, 1500, 750}, win::CurrentScale()), FrameColour(1)));
  const geometry::Rect r = frame.Bounds();
  ::SetCursorPos(r.right - 2, r.bottom - 2);  // on the bottom-right handle
  ::SendMessageW(frame.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, 0);
  ASSERT_TRUE(frame.Resizing());
  ::SendMessageW(frame.hwnd(), WM_CAPTURECHANGED, 0, 0);
  EXPECT_FALSE(frame.Resizing());

  // A move without the left button held (its release went elsewhere) does
  // not resize either.
  ::SendMessageW(frame.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, 0);
  ASSERT_TRUE(frame.Resizing());
  ::SetCursorPos(r.right + 40, r.bottom + 30);
  ::SendMessageW(frame.hwnd(), WM_MOUSEMOVE, 0, 0);
  EXPECT_FALSE(frame.Resizing());
  EXPECT_EQ(owner.changes, 0);
  EXPECT_EQ(frame.Bounds(), r);
}

TEST(Library, AFailedWriteKeepsTheSystemsReason) {
  auto dir = TempDir(L"kirasoe-reason");
  ::CreateDirectoryW((dir / L"shot.png").c_str(), nullptr);  // a folder where the file should go
  win::BitmapBuffer picture;
  ASSERT_TRUE(picture.Resize(8, 8));
  const win::WriteOutcome outcome = win::WriteImage(picture, *save_names::TypeAt(5), (dir / L"shot.png").wstring());
  EXPECT_FALSE(outcome.written);
  EXPECT_EQ(outcome.libraryError, IMGCTL_ERR_FILE);
  EXPECT_EQ(outcome.systemError, static_cast<unsigned long>(ERROR_ACCESS_DENIED));
  EXPECT_FALSE(outcome.Reason(texts::Language::Japanese).empty());
  std::filesystem::remove_all(dir);
}
