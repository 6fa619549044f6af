#include "output/imgctl_util.h"

#include "output/imgctl.h"
#include "toolkit/Numbers.h"

namespace imgctl_util {
namespace {

const Library& RealLibrary() {
  static const Library library{
      [](HDC dc, int x, int y, int w, int h) { return imgctl::DCtoDIB(dc, x, y, w, h); },
      [](HANDLE dib) { return imgctl::DeleteDIB(dib); },
  };
  return library;
}

bool Write(tk::PictureBox& picture, const std::function<int(HANDLE)>& encode) {
  return WriteImageFile(
      RealLibrary(), [&] { return Source{picture.hDC(), picture.Width(), picture.Height()}; }, encode);
}

}  // namespace

bool WriteImageFile(const Library& library, const std::function<Source()>& source,
                    const std::function<int(HANDLE)>& encode) {
  bool result = false;
  Source s;
  try {
    s = source();
  } catch (...) {
  }
  const int width = num::ToInt32Saturated(s.width), height = num::ToInt32Saturated(s.height);
  HANDLE dib = nullptr;
  try {
    dib = library.DCtoDIB(s.dc, 0, 0, width, height);
  } catch (...) {
  }
  if (!dib) return false;
  try {
    result = encode(dib) != 0;
  } catch (...) {
  }
  try {
    library.DeleteDIB(dib);
  } catch (...) {
  }
  return result;
}

bool WriteBMPFile(tk::PictureBox& picture, const std::wstring& path) {
  return Write(picture, [&](HANDLE dib) { return imgctl::DIBtoBMP(path, dib); });
}
bool WriteGIFFile(tk::PictureBox& picture, const std::wstring& path, short option) {
  return Write(picture, [&](HANDLE dib) { return imgctl::DIBtoGIF(path, dib, option); });
}
bool WriteJPGFile(tk::PictureBox& picture, const std::wstring& path, short quality, short option) {
  return Write(picture, [&](HANDLE dib) { return imgctl::DIBtoJPG(path, dib, quality, option); });
}
bool WritePNGFile(tk::PictureBox& picture, const std::wstring& path, short option) {
  return Write(picture, [&](HANDLE dib) { return imgctl::DIBtoPNG(path, dib, option); });
}

}  // namespace imgctl_util
