#include "win/image_writer.h"

#include <algorithm>
#include <exception>

#include "imagelib/imgctl.h"
#include "win/files.h"
#include "win/image_library.h"
#include "win/failure_log.h"

namespace win {
namespace {

int Encode(HANDLE dib, const save_names::FileType& type, const std::wstring& path) {
  switch (type.writer) {
    case save_names::Writer::Bmp: return imgctl::DIBtoBMP(path, dib);
    case save_names::Writer::Gif: return imgctl::DIBtoGIF(path, dib, 0);
    case save_names::Writer::Jpg: return imgctl::DIBtoJPG(path, dib, type.quality, 0);
    case save_names::Writer::Png: return imgctl::DIBtoPNG(path, dib, 0);
  }
  return 0;
}

// The library's code for the failure just met; both are read before
// anything else can overwrite them (releasing a DIB clears the library's).
WriteOutcome Failed() {
  WriteOutcome outcome;
  outcome.systemError = ::GetLastError();
  try {
    outcome.libraryError = imgctl::ImgctlError();
  } catch (const std::exception&) {
    outcome.libraryError = IMGCTL_ERR_UNSUPPORTED;  // the library itself is gone
  }
  return outcome;
}

}  // namespace

LibraryPicture& LibraryPicture::operator=(LibraryPicture&& other) noexcept {
  if (this != &other) {
    Release();
    dib_ = other.dib_;
    other.dib_ = nullptr;
  }
  return *this;
}

void LibraryPicture::Release() noexcept {
  // The library was there to make the DIB; it stays loaded for the process.
  if (dib_) {
    try {
      imgctl::DeleteDIB(dib_);
    } catch (...) {
      LogCurrentException(L"image library");
    }
  }
  dib_ = nullptr;
}

LibraryPicture TakePixels(const BitmapBuffer& picture, WriteOutcome& failure) {
  if (!picture.dc()) {
    failure = {.libraryError = IMGCTL_ERR_SOURCE};
    return {};
  }
  try {
    LibraryPicture taken(imgctl::DCtoDIB(picture.dc(), 0, 0, picture.Width(), picture.Height()));
    if (!taken) failure = Failed();
    return taken;
  } catch (const std::exception&) {
    failure = {.libraryError = IMGCTL_ERR_UNSUPPORTED};
    return {};
  }
}

WriteOutcome WriteImage(const LibraryPicture& picture, const save_names::FileType& type, const std::wstring& path) {
  try {
    if (picture && Encode(picture.get(), type, path)) return {.written = true};
    return Failed();
  } catch (const std::exception&) {
    return {.libraryError = IMGCTL_ERR_UNSUPPORTED};
  }
}

WriteOutcome WriteImage(const BitmapBuffer& picture, const save_names::FileType& type, const std::wstring& path) {
  WriteOutcome failure;
  const LibraryPicture pixels = TakePixels(picture, failure);
  return pixels ? WriteImage(pixels, type, path) : failure;
}

LibraryAnimation& LibraryAnimation::operator=(LibraryAnimation&& other) noexcept {
  if (this != &other) {
    Release();
    handle_ = other.handle_;
    other.handle_ = nullptr;
  }
  return *this;
}

void LibraryAnimation::Release() noexcept {
  if (handle_) {
    try {
      imgctl::AnimationDelete(handle_);
    } catch (...) {
      LogCurrentException(L"image library");
    }
  }
  handle_ = nullptr;
}

LibraryAnimation LibraryAnimation::Begin(bool apng, const std::wstring& framesFile, WriteOutcome& failure) {
  try {
    LibraryAnimation made(imgctl::AnimationBegin(apng ? IMGCTL_ANIMATION_APNG : IMGCTL_ANIMATION_GIF, framesFile));
    if (!made) failure = Failed();
    return made;
  } catch (const std::exception&) {
    failure = {.libraryError = IMGCTL_ERR_UNSUPPORTED};
    return {};
  }
}

bool LibraryAnimation::Add(const LibraryPicture& picture, std::int64_t durationMs, WriteOutcome& failure) {
  try {
    const int ms = static_cast<int>(std::min<std::int64_t>(std::max<std::int64_t>(durationMs, 0), 0x7FFFFFFF));
    if (handle_ && picture && imgctl::AnimationAddFrame(handle_, picture.get(), ms)) return true;
    failure = Failed();
  } catch (const std::exception&) {
    failure = {.libraryError = IMGCTL_ERR_UNSUPPORTED};
  }
  return false;
}

WriteOutcome LibraryAnimation::ToFile(const std::wstring& path) {
  try {
    if (handle_ && imgctl::AnimationToFile(path, handle_)) return {.written = true};
    return Failed();
  } catch (const std::exception&) {
    return {.libraryError = IMGCTL_ERR_UNSUPPORTED};
  }
}

std::wstring WriteOutcome::Reason(texts::Language language) const {
  if (written) return {};
  if (libraryError == IMGCTL_ERR_MEMORY) return texts::Get(texts::Id::NotEnoughMemory, language);
  if (libraryError == IMGCTL_ERR_UNSUPPORTED) return texts::Get(texts::Id::LibraryMissing, language);
  // A file the library could not write, or a write that could not start.
  if ((libraryError == IMGCTL_ERR_FILE || libraryError == IMGCTL_OK) && systemError) return SystemMessage(systemError);
  return {};
}

}  // namespace win
