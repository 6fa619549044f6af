// The image file writers, with a fake library and with the real one.
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "imagelib/imgctl.h"
#include "win/image_library.h"
#include "win/image_writer.h"

using win::WriteImageFile;

namespace {

struct Fake {
  HANDLE dib = reinterpret_cast<HANDLE>(0x1234);
  int made = 0, released = 0, encoded = 0;
  win::ImageLibrarySteps library() {
    return {[this](HDC, int, int, int, int) {
              ++made;
              return dib;
            },
            [this](HANDLE h) {
              EXPECT_EQ(h, dib);
              ++released;
              return 1;
            }};
  }
};

const HDC kBuffer = reinterpret_cast<HDC>(1);

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

TEST(Writers, NoDibMeansNoEncoderAndNoRelease) {
  Fake fake;
  fake.dib = nullptr;
  bool result = WriteImageFile(fake.library(), kBuffer, 480, 360, [&](HANDLE) { return ++fake.encoded, 1; });
  EXPECT_FALSE(result);
  EXPECT_EQ(fake.encoded, 0);
  EXPECT_EQ(fake.released, 0);
}

TEST(Writers, AnyNonZeroIsSuccessAndTheDibIsReleasedOnce) {
  for (int returned : {2, 1, -1, 0}) {
    Fake fake;
    bool result = WriteImageFile(fake.library(), kBuffer, 480, 360, [&](HANDLE h) {
      EXPECT_EQ(h, fake.dib);
      return returned;
    });
    EXPECT_EQ(result, returned != 0);
    EXPECT_EQ(fake.released, 1);
  }
  Fake throwing;  // a library call that fails outright still releases
  EXPECT_FALSE(WriteImageFile(throwing.library(), kBuffer, 480, 360, [](HANDLE) -> int { throw imgctl::Unavailable("gone"); }));
  EXPECT_EQ(throwing.released, 1);
}

TEST(Writers, TwoWritesMakeAndReleaseTwoDibs) {
  Fake fake;
  WriteImageFile(fake.library(), kBuffer, 480, 360, [](HANDLE) { return 1; });
  WriteImageFile(fake.library(), kBuffer, 480, 360, [](HANDLE) { return 0; });
  EXPECT_EQ(fake.made, 2);
  EXPECT_EQ(fake.released, 2);
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
