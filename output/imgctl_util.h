// The image file writers: each makes a DIB from the capture buffer through the
// image library, has one encoder write the file, and releases the DIB.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "toolkit/PictureBox.h"

namespace imgctl_util {

// What the shared steps need of the image library and of the capture buffer.
struct Library {
  std::function<HANDLE(HDC, int, int, int, int)> DCtoDIB;
  std::function<int(HANDLE)> DeleteDIB;
};
struct Source {
  HDC dc = nullptr;
  float width = 0, height = 0;  // twips, as the buffer reports them
};

// The steps every writer runs: a failing step is skipped; a DIB that was made
// is released exactly once; none is made or released when DCtoDIB gives 0.
bool WriteImageFile(const Library& library, const std::function<Source()>& source,
                    const std::function<int(HANDLE)>& encode);

// Each writer is handed the picture box it writes (the capture buffer).
bool WriteBMPFile(tk::PictureBox& picture, const std::wstring& path);
bool WriteGIFFile(tk::PictureBox& picture, const std::wstring& path, short option);
bool WriteJPGFile(tk::PictureBox& picture, const std::wstring& path, short quality, short option);
bool WritePNGFile(tk::PictureBox& picture, const std::wstring& path, short option);

}  // namespace imgctl_util
