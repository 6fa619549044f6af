// The image library imgctl.dll, loaded from the program's folder with all
// its operations at once, before any thread calls one (Load, or the first
// call); a library or entry that cannot be found raises imgctl::Unavailable.
#pragma once

#include <windows.h>

#include <stdexcept>
#include <string>

namespace imgctl {

struct Unavailable : std::runtime_error {
  explicit Unavailable(const std::string& what, unsigned long error = 0) : std::runtime_error(what), systemError(error) {}
  // Why the system could not load the library; 0 when it loaded but lacks
  // an operation.
  unsigned long systemError;
};

// The library's full path: beside the program, nowhere else.
std::wstring LibraryPath();
// Loads the library and looks up every operation; throws Unavailable.
void Load();

using DibHandle = HANDLE;

int ImgctlVersion();
int ImgctlError();
DibHandle DCtoDIB(HDC dc, int x, int y, int width, int height);
int DIBtoBMP(const std::wstring& path, DibHandle dib);
int DIBtoJPG(const std::wstring& path, DibHandle dib, int quality, int option);
int DIBtoPNG(const std::wstring& path, DibHandle dib, int option);
int DIBtoGIF(const std::wstring& path, DibHandle dib, int option);
int DeleteDIB(DibHandle dib);
// An empty `framesFile` keeps the frames in memory.
HANDLE AnimationBegin(int format, const std::wstring& framesFile);
int AnimationAddFrame(HANDLE animation, DibHandle dib, int durationMs);
int AnimationToFile(const std::wstring& path, HANDLE animation);
int AnimationDelete(HANDLE animation);

}  // namespace imgctl
