// The image files. The pixels are taken from the picture's bitmap into the
// image library's memory on the window thread; writing the file then needs
// no GDI object and may run on any thread.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "core/save_names.h"
#include "core/texts.h"
#include "win/bitmap_buffer.h"

namespace win {

struct WriteOutcome {
  bool written = false;
  int libraryError = 0;           // the image library's code when not written
  unsigned long systemError = 0;  // the system's code the library met, if any
  // Why the file was not written, in the user's words; empty when unknown.
  std::wstring Reason(texts::Language language) const;
};

// A picture's pixels held by the image library; released with the object.
class LibraryPicture {
 public:
  LibraryPicture() = default;
  explicit LibraryPicture(HANDLE dib) : dib_(dib) {}
  LibraryPicture(LibraryPicture&& other) noexcept : dib_(other.dib_) { other.dib_ = nullptr; }
  LibraryPicture& operator=(LibraryPicture&& other) noexcept;
  LibraryPicture(const LibraryPicture&) = delete;
  LibraryPicture& operator=(const LibraryPicture&) = delete;
  ~LibraryPicture() { Release(); }
  HANDLE get() const { return dib_; }
  explicit operator bool() const { return dib_ != nullptr; }

 private:
  void Release() noexcept;
  HANDLE dib_ = nullptr;
};

// The pixels of `picture`, read on the thread that owns its bitmap; empty,
// with `failure` saying why, when they cannot be had.
LibraryPicture TakePixels(const BitmapBuffer& picture, WriteOutcome& failure);

// An animation of the image library, its frames kept compressed in a file
// of their own that goes with it; released with the object. Usable from one
// thread at a time, any thread.
class LibraryAnimation {
 public:
  LibraryAnimation() = default;
  LibraryAnimation(LibraryAnimation&& other) noexcept : handle_(other.handle_) { other.handle_ = nullptr; }
  LibraryAnimation& operator=(LibraryAnimation&& other) noexcept;
  LibraryAnimation(const LibraryAnimation&) = delete;
  LibraryAnimation& operator=(const LibraryAnimation&) = delete;
  ~LibraryAnimation() { Release(); }
  explicit operator bool() const { return handle_ != nullptr; }

  // A new animation (APNG or GIF) with its frames in `framesFile`.
  static LibraryAnimation Begin(bool apng, const std::wstring& framesFile, WriteOutcome& failure);
  // `picture` shown for `durationMs`; false with `failure` (the frames file
  // could not take it).
  bool Add(const LibraryPicture& picture, std::int64_t durationMs, WriteOutcome& failure);
  WriteOutcome ToFile(const std::wstring& path);

 private:
  explicit LibraryAnimation(HANDLE handle) : handle_(handle) {}
  void Release() noexcept;
  HANDLE handle_ = nullptr;
};

// Writes `picture` to `path` as `type` says; on any thread.
WriteOutcome WriteImage(const LibraryPicture& picture, const save_names::FileType& type, const std::wstring& path);
// Both steps on the calling thread.
WriteOutcome WriteImage(const BitmapBuffer& picture, const save_names::FileType& type, const std::wstring& path);

}  // namespace win
