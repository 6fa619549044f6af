#include "win/image_writer.h"

#include "imagelib/imgctl.h"
#include "win/files.h"
#include "win/image_library.h"

namespace win {
namespace {

const ImageLibrarySteps& RealLibrary() {
  static const ImageLibrarySteps library{
      [](HDC dc, int x, int y, int w, int h) { return imgctl::DCtoDIB(dc, x, y, w, h); },
      [](HANDLE dib) { return imgctl::DeleteDIB(dib); },
  };
  return library;
}

// The library's call for one file type.
std::function<int(HANDLE)> Encoder(const save_names::FileType& type, const std::wstring& path) {
  switch (type.writer) {
    case save_names::Writer::Bmp: return [&path](HANDLE dib) { return imgctl::DIBtoBMP(path, dib); };
    case save_names::Writer::Gif: return [&path](HANDLE dib) { return imgctl::DIBtoGIF(path, dib, 0); };
    case save_names::Writer::Jpg:
      return [&path, q = type.quality](HANDLE dib) { return imgctl::DIBtoJPG(path, dib, q, 0); };
    case save_names::Writer::Png: return [&path](HANDLE dib) { return imgctl::DIBtoPNG(path, dib, 0); };
  }
  return [](HANDLE) { return 0; };
}

}  // namespace

bool WriteImageFile(const ImageLibrarySteps& library, HDC source, int width, int height,
                    const std::function<int(HANDLE)>& encode) {
  HANDLE dib = nullptr;
  try {
    dib = library.makeDib(source, 0, 0, width, height);
  } catch (...) {
  }
  if (!dib) return false;
  bool result = false;
  try {
    result = encode(dib) != 0;
  } catch (...) {
  }
  try {
    library.deleteDib(dib);
  } catch (...) {
  }
  return result;
}

WriteOutcome WriteImage(const BitmapBuffer& picture, const save_names::FileType& type, const std::wstring& path) {
  WriteOutcome outcome;
  if (!picture.dc()) return outcome;
  const auto encode = Encoder(type, path);
  bool encoded = false;
  outcome.written = WriteImageFile(RealLibrary(), picture.dc(), picture.Width(), picture.Height(), [&](HANDLE dib) {
    encoded = true;
    const int result = encode(dib);
    // Both read before anything else can overwrite them (releasing the DIB
    // clears the library's error).
    if (!result) {
      outcome.systemError = ::GetLastError();
      outcome.libraryError = imgctl::ImgctlError();
    }
    return result;
  });
  if (!outcome.written && !encoded) {  // the DIB could not be made
    try {
      outcome.libraryError = imgctl::ImgctlError();
    } catch (...) {
    }
  }
  return outcome;
}

std::wstring WriteOutcome::Reason() const {
  if (written) return {};
  if (libraryError == IMGCTL_ERR_MEMORY) return L"メモリが足りません。";
  if (libraryError == IMGCTL_ERR_FILE && systemError) return SystemMessage(systemError);
  return {};
}

}  // namespace win
