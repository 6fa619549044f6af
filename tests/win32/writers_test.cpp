// The image file writers, with the real library.
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>

#include "imagelib/imgctl.h"
#include "win/image_library.h"
#include "win/image_writer.h"

namespace {

std::filesystem::path TempDir() {
  wchar_t buf[MAX_PATH];
  ::GetTempPathW(MAX_PATH, buf);
  auto dir = std::filesystem::path(buf) / L"kirasoe-writers-テスト";
  std::filesystem::create_directories(dir);
  return dir;
}

std::string Bytes(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

}  // namespace

TEST(Writers, ThePixelsTakenAreWrittenOnAnotherThreadAfterTheBitmapIsGone) {
  win::WriteOutcome failure;
  win::LibraryPicture pixels;
  {
    win::BitmapBuffer picture;
    ASSERT_TRUE(picture.Resize(3, 2));
    ::SetPixel(picture.dc(), 0, 0, RGB(10, 20, 30));
    pixels = win::TakePixels(picture, failure);
  }
  ASSERT_TRUE(pixels);
  const auto bmp = TempDir() / L"thread.bmp";
  win::WriteOutcome written;
  std::thread writer([&] { written = win::WriteImage(pixels, *save_names::TypeAt(0), bmp.wstring()); });
  writer.join();
  EXPECT_TRUE(written.written);
  const std::string b = Bytes(bmp);
  ASSERT_EQ(b.size(), 54u + 2u * 12u);  // 3 * 3 = 9 bytes a row, padded to 12
  // Bottom-up: the top-left pixel starts the second row, blue first.
  EXPECT_EQ(static_cast<unsigned char>(b[54 + 12]), 30);
  EXPECT_EQ(static_cast<unsigned char>(b[54 + 13]), 20);
  EXPECT_EQ(static_cast<unsigned char>(b[54 + 14]), 10);
  std::filesystem::remove(bmp);
}

TEST(Writers, NoPictureIsAFailureWithTheLibrarysReason) {
  win::BitmapBuffer none;
  win::WriteOutcome failure;
  EXPECT_FALSE(win::TakePixels(none, failure));
  EXPECT_EQ(failure.libraryError, IMGCTL_ERR_SOURCE);
  EXPECT_FALSE(win::WriteImage(win::LibraryPicture(), *save_names::TypeAt(5), (TempDir() / L"x.png").wstring()).written);
}

TEST(Writers, RealLibraryWritesTheCaptureBuffer) {
  win::BitmapBuffer picture;
  ASSERT_TRUE(picture.Resize(33, 20));
  RECT all{0, 0, 33, 20};
  HBRUSH blue = ::CreateSolidBrush(RGB(0, 0, 255));
  ::FillRect(picture.dc(), &all, blue);
  ::DeleteObject(blue);
  auto dir = TempDir();
  auto bmp = dir / L"画像.bmp", png = dir / L"画像.png", gif = dir / L"画像.gif", jpg = dir / L"画像.jpg";
  EXPECT_TRUE(win::WriteImage(picture, *save_names::TypeAt(0), bmp.wstring()).written);
  EXPECT_EQ(std::filesystem::file_size(bmp), 54u + 100u * 20u);  // 33 * 3 = 99, padded to 100
  std::string b = Bytes(bmp);
  EXPECT_EQ(static_cast<unsigned char>(b[54]), 255);  // blue first
  EXPECT_EQ(static_cast<unsigned char>(b[56]), 0);
  EXPECT_TRUE(win::WriteImage(picture, *save_names::TypeAt(5), png.wstring()).written);
  EXPECT_EQ(Bytes(png).substr(1, 3), "PNG");
  EXPECT_TRUE(win::WriteImage(picture, *save_names::TypeAt(1), gif.wstring()).written);
  EXPECT_EQ(Bytes(gif).substr(0, 6), "GIF89a");
  EXPECT_TRUE(win::WriteImage(picture, *save_names::TypeAt(3), jpg.wstring()).written);
  EXPECT_EQ(static_cast<unsigned char>(Bytes(jpg)[0]), 0xFF);
  std::filesystem::remove_all(dir);
}

TEST(Library, AFailedWriteLeavesAnExistingFileAndNoTemporaryFile) {
  auto dir = TempDir();
  auto target = dir / L"keep.png";
  { std::ofstream(target, std::ios::binary) << "old contents"; }
  // Another program holds the file open, as an editor may: the new file
  // cannot take its place.
  HANDLE held = ::CreateFileW(target.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);

  HDC screen = ::GetDC(nullptr);
  HDC dc = ::CreateCompatibleDC(screen);
  HBITMAP bmp = ::CreateCompatibleBitmap(screen, 8, 8);
  ::ReleaseDC(nullptr, screen);
  HGDIOBJ old = ::SelectObject(dc, bmp);
  HANDLE dib = imgctl::DCtoDIB(dc, 0, 0, 8, 8);
  ASSERT_NE(dib, nullptr);
  EXPECT_EQ(imgctl::DIBtoPNG(target.wstring(), dib, 0), 0);
  EXPECT_EQ(imgctl::ImgctlError(), IMGCTL_ERR_FILE);
  ::CloseHandle(held);
  EXPECT_EQ(Bytes(target), "old contents");
  EXPECT_EQ(imgctl::DIBtoPNG((dir / L"no such folder" / L"x.png").wstring(), dib, 0), 0);
  EXPECT_NE(imgctl::DIBtoPNG(target.wstring(), dib, 0), 0);  // and replaces it when it can
  EXPECT_EQ(Bytes(target).substr(1, 3), "PNG");
  int files = 0;
  for (auto& e : std::filesystem::directory_iterator(dir)) files += e.is_regular_file();
  EXPECT_EQ(files, 1) << "no temporary file is left behind";
  imgctl::DeleteDIB(dib);
  ::SelectObject(dc, old);
  ::DeleteObject(bmp);
  ::DeleteDC(dc);
  std::filesystem::remove_all(dir);
}

TEST(Library, AnimationsAreWrittenWholeInBothFormatsAndAgainAfterAFailure) {
  // Two colours, and 300: an APNG with a palette (kept by the library in
  // memory) and one in RGB (from the frames' file).
  win::BitmapBuffer picture;
  ASSERT_TRUE(picture.Resize(64, 48));
  for (int y = 0; y < 48; ++y)  // a pattern, which RGB packs worse than a palette
    for (int x = 0; x < 64; ++x)
      if ((x * y + x / 3) % 5 == 0) ::SetPixel(picture.dc(), x, y, RGB(255, 255, 255));
  HANDLE first = imgctl::DCtoDIB(picture.dc(), 0, 0, 64, 48);
  ::SetPixel(picture.dc(), 3, 2, RGB(255, 0, 0));
  HANDLE second = imgctl::DCtoDIB(picture.dc(), 0, 0, 64, 48);
  for (int i = 0; i < 300; ++i) ::SetPixel(picture.dc(), i % 64, i / 64, RGB(i, i >> 8, 7));
  HANDLE many = imgctl::DCtoDIB(picture.dc(), 0, 0, 64, 48);
  ASSERT_TRUE(first && second && many);
  const auto dir = TempDir();
  struct Case {
    int format;
    HANDLE pictures[3];
    bool palette;
  };
  for (const Case& c : {Case{IMGCTL_ANIMATION_GIF, {first, second, first}, false},
                        Case{IMGCTL_ANIMATION_APNG, {first, second, first}, true},
                        Case{IMGCTL_ANIMATION_APNG, {many, second, many}, false}}) {
    // The frames go to a file of their own, which goes with the animation;
    // the file written is the one made in memory.
    const auto frames = dir / L"frames.tmp";
    HANDLE animation = imgctl::AnimationBegin(c.format, frames.wstring());
    HANDLE inMemory = imgctl::AnimationBegin(c.format, L"");
    ASSERT_TRUE(animation && inMemory);
    EXPECT_TRUE(std::filesystem::exists(frames));
    for (HANDLE a : {animation, inMemory}) {
      EXPECT_NE(imgctl::AnimationAddFrame(a, c.pictures[0], 100), 0);
      EXPECT_NE(imgctl::AnimationAddFrame(a, c.pictures[1], 100), 0);
      EXPECT_NE(imgctl::AnimationAddFrame(a, c.pictures[2], 250), 0);
    }
    EXPECT_EQ(imgctl::AnimationToFile((dir / L"no such folder" / L"a.bin").wstring(), animation), 0);
    EXPECT_EQ(imgctl::ImgctlError(), IMGCTL_ERR_FILE);
    const auto file = dir / (c.format == IMGCTL_ANIMATION_GIF ? L"rec.gif" : L"rec.png");
    EXPECT_NE(imgctl::AnimationToFile(file.wstring(), animation), 0);
    EXPECT_NE(imgctl::AnimationToFile((dir / L"memory.bin").wstring(), inMemory), 0);
    const std::string bytes = Bytes(file);
    EXPECT_EQ(bytes, Bytes(dir / L"memory.bin"));
    if (c.format == IMGCTL_ANIMATION_GIF) {
      EXPECT_EQ(bytes.substr(0, 6), "GIF89a");
      EXPECT_NE(bytes.find("NETSCAPE2.0"), std::string::npos);
    } else {
      EXPECT_EQ(bytes.substr(1, 3), "PNG");
      EXPECT_NE(bytes.find("acTL"), std::string::npos);
      EXPECT_EQ(bytes[25], c.palette ? 3 : 2);  // IHDR's colour type
      // Three frames: the first in IDAT, the two changes in fdAT.
      EXPECT_NE(bytes.find("fdAT"), bytes.rfind("fdAT"));
    }
    EXPECT_NE(imgctl::AnimationDelete(animation), 0);
    EXPECT_NE(imgctl::AnimationDelete(inMemory), 0);
    EXPECT_EQ(imgctl::AnimationDelete(animation), 0);  // gone
    EXPECT_FALSE(std::filesystem::exists(frames));
  }
  EXPECT_EQ(imgctl::AnimationBegin(7, L""), nullptr);
  imgctl::DeleteDIB(first);
  imgctl::DeleteDIB(second);
  imgctl::DeleteDIB(many);
  std::filesystem::remove_all(dir);
}
