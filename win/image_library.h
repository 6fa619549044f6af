// The image library imgctl.dll, loaded from the program's folder on first use. Each operation
// is looked up when it is first called; a library or entry that cannot be
// found raises imgctl::Unavailable.
#pragma once

#include <windows.h>

#include <stdexcept>
#include <string>

namespace imgctl {

struct Unavailable : std::runtime_error {
  using std::runtime_error::runtime_error;
};

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
