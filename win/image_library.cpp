#include "win/image_library.h"

#include "win/module.h"

namespace imgctl {
namespace {

// Only the library beside the program: a bare name would let the system go
// on searching (the current folder, PATH) and run whatever imgctl.dll it
// finds there.
std::wstring LibraryPath() {
  std::wstring path = win::ExeFolder();
  if (path.empty() || path.back() != L'\\') path += L'\\';
  return path + L"imgctl.dll";
}

HMODULE Library() {
  static HMODULE module = nullptr;
  // Stays loaded for the life of the process.
  if (!module) module = ::LoadLibraryExW(LibraryPath().c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
  if (!module) throw Unavailable("imgctl.dll cannot be loaded");
  return module;
}

template <class Fn>
Fn Entry(Fn& cache, const char* name) {
  if (!cache) {
    cache = reinterpret_cast<Fn>(reinterpret_cast<void*>(::GetProcAddress(Library(), name)));
    if (!cache) throw Unavailable(std::string("imgctl.dll has no ") + name);
  }
  return cache;
}

#define IMGCTL_ENTRY(name, Ret, ...)     \
  using name##Fn = Ret(WINAPI*)(__VA_ARGS__); \
  name##Fn name##Ptr = nullptr;

IMGCTL_ENTRY(ImgctlVersion, int, void)
IMGCTL_ENTRY(ImgctlError, int, void)
IMGCTL_ENTRY(DCtoDIB, HANDLE, HDC, int, int, int, int)
IMGCTL_ENTRY(DIBtoBMP, int, LPCWSTR, HANDLE)
IMGCTL_ENTRY(DIBtoJPG, int, LPCWSTR, HANDLE, int, int)
IMGCTL_ENTRY(DIBtoPNG, int, LPCWSTR, HANDLE, int)
IMGCTL_ENTRY(DIBtoGIF, int, LPCWSTR, HANDLE, int)
IMGCTL_ENTRY(DeleteDIB, int, HANDLE)
IMGCTL_ENTRY(AnimationBegin, HANDLE, int, LPCWSTR)
IMGCTL_ENTRY(AnimationAddFrame, int, HANDLE, HANDLE, int)
IMGCTL_ENTRY(AnimationToFile, int, LPCWSTR, HANDLE)
IMGCTL_ENTRY(AnimationDelete, int, HANDLE)
#undef IMGCTL_ENTRY

}  // namespace

int ImgctlVersion() { return Entry(ImgctlVersionPtr, "ImgctlVersion")(); }
int ImgctlError() { return Entry(ImgctlErrorPtr, "ImgctlError")(); }
DibHandle DCtoDIB(HDC dc, int x, int y, int w, int h) { return Entry(DCtoDIBPtr, "DCtoDIB")(dc, x, y, w, h); }
int DIBtoBMP(const std::wstring& path, DibHandle dib) { return Entry(DIBtoBMPPtr, "DIBtoBMP")(path.c_str(), dib); }
int DIBtoJPG(const std::wstring& path, DibHandle dib, int quality, int option) {
  return Entry(DIBtoJPGPtr, "DIBtoJPG")(path.c_str(), dib, quality, option);
}
int DIBtoPNG(const std::wstring& path, DibHandle dib, int option) {
  return Entry(DIBtoPNGPtr, "DIBtoPNG")(path.c_str(), dib, option);
}
int DIBtoGIF(const std::wstring& path, DibHandle dib, int option) {
  return Entry(DIBtoGIFPtr, "DIBtoGIF")(path.c_str(), dib, option);
}
int DeleteDIB(DibHandle dib) { return Entry(DeleteDIBPtr, "DeleteDIB")(dib); }
HANDLE AnimationBegin(int format, const std::wstring& framesFile) {
  return Entry(AnimationBeginPtr, "AnimationBegin")(format, framesFile.empty() ? nullptr : framesFile.c_str());
}
int AnimationAddFrame(HANDLE animation, DibHandle dib, int durationMs) {
  return Entry(AnimationAddFramePtr, "AnimationAddFrame")(animation, dib, durationMs);
}
int AnimationToFile(const std::wstring& path, HANDLE animation) {
  return Entry(AnimationToFilePtr, "AnimationToFile")(path.c_str(), animation);
}
int AnimationDelete(HANDLE animation) { return Entry(AnimationDeletePtr, "AnimationDelete")(animation); }

}  // namespace imgctl
