// The image files: each writer makes a DIB of a picture through the image
// library, has one encoder write the file, and releases the DIB.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "core/save_names.h"
#include "win/bitmap_buffer.h"

namespace win {

// What the shared steps need of the image library.
struct ImageLibrarySteps {
  std::function<HANDLE(HDC, int, int, int, int)> makeDib;
  std::function<int(HANDLE)> deleteDib;
};

// The steps every writer runs: a failing step is skipped; a DIB that was made
// is released exactly once; none is made or released when making it gives 0.
bool WriteImageFile(const ImageLibrarySteps& library, HDC source, int width, int height,
                    const std::function<int(HANDLE)>& encode);

struct WriteOutcome {
  bool written = false;
  int libraryError = 0;           // the image library's code when not written
  unsigned long systemError = 0;  // the system's code the library met, if any
  // Why the file was not written, in the user's words; empty when unknown.
  std::wstring Reason() const;
};

// Writes `picture` to `path` as `type` says.
WriteOutcome WriteImage(const BitmapBuffer& picture, const save_names::FileType& type, const std::wstring& path);

}  // namespace win
