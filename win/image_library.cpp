#include "win/image_library.h"

#include <mutex>

#include "win/module.h"

namespace imgctl {

// Only the library beside the program: a bare name would let the system go
// on searching (the current folder, PATH) and run whatever imgctl.dll it
// finds there.
std::wstring LibraryPath() {
  std::wstring path = win::ExeFolder();
  if (path.empty() || path.back() != L'\\') path += L'\\';
  return path + L"imgctl.dll";
}

namespace {

#define IMGCTL_ENTRIES(X)                    \
  X(ImgctlVersion, int, void)                 \
  X(ImgctlError, int, void)                   \
  X(DCtoDIB, HANDLE, HDC, int, int, int, int) \
  X(DIBtoBMP, int, LPCWSTR, HANDLE)           \
  X(DIBtoJPG, int, LPCWSTR, HANDLE, int, int) \
  X(DIBtoPNG, int, LPCWSTR, HANDLE, int)      \
  X(DIBtoGIF, int, LPCWSTR, HANDLE, int)      \
  X(DeleteDIB, int, HANDLE)                   \
  X(AnimationBegin, HANDLE, int, LPCWSTR)     \
  X(AnimationAddFrame, int, HANDLE, HANDLE, int) \
  X(AnimationToFile, int, LPCWSTR, HANDLE)    \
  X(AnimationDelete, int, HANDLE)

struct Entries {
#define IMGCTL_FIELD(name, Ret, ...) Ret(WINAPI* name)(__VA_ARGS__) = nullptr;
  IMGCTL_ENTRIES(IMGCTL_FIELD)
#undef IMGCTL_FIELD
};

// Filled once, before any caller sees them: the encoders' threads make
// their first calls at the same moment.
Entries LoadEntries() {
  // Stays loaded for the life of the process.
  HMODULE module = ::LoadLibraryExW(LibraryPath().c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
  if (!module) throw Unavailable("imgctl.dll cannot be loaded", ::GetLastError());
  Entries entries;
#define IMGCTL_LOOKUP(name, Ret, ...)                                                                   \
  entries.name = reinterpret_cast<decltype(entries.name)>(reinterpret_cast<void*>(::GetProcAddress(module, #name))); \
  if (!entries.name) throw Unavailable("imgctl.dll has no " #name);
  IMGCTL_ENTRIES(IMGCTL_LOOKUP)
#undef IMGCTL_LOOKUP
  return entries;
}

const Entries& Loaded() {
  static std::once_flag once;
  static Entries entries;
  // A failed load throws and leaves the flag unset: the next call tries again.
  std::call_once(once, [] { entries = LoadEntries(); });
  return entries;
}

}  // namespace

void Load() { Loaded(); }

int ImgctlVersion() { return Loaded().ImgctlVersion(); }
int ImgctlError() { return Loaded().ImgctlError(); }
DibHandle DCtoDIB(HDC dc, int x, int y, int w, int h) { return Loaded().DCtoDIB(dc, x, y, w, h); }
int DIBtoBMP(const std::wstring& path, DibHandle dib) { return Loaded().DIBtoBMP(path.c_str(), dib); }
int DIBtoJPG(const std::wstring& path, DibHandle dib, int quality, int option) {
  return Loaded().DIBtoJPG(path.c_str(), dib, quality, option);
}
int DIBtoPNG(const std::wstring& path, DibHandle dib, int option) {
  return Loaded().DIBtoPNG(path.c_str(), dib, option);
}
int DIBtoGIF(const std::wstring& path, DibHandle dib, int option) {
  return Loaded().DIBtoGIF(path.c_str(), dib, option);
}
int DeleteDIB(DibHandle dib) { return Loaded().DeleteDIB(dib); }
HANDLE AnimationBegin(int format, const std::wstring& framesFile) {
  return Loaded().AnimationBegin(format, framesFile.empty() ? nullptr : framesFile.c_str());
}
int AnimationAddFrame(HANDLE animation, DibHandle dib, int durationMs) {
  return Loaded().AnimationAddFrame(animation, dib, durationMs);
}
int AnimationToFile(const std::wstring& path, HANDLE animation) {
  return Loaded().AnimationToFile(path.c_str(), animation);
}
int AnimationDelete(HANDLE animation) { return Loaded().AnimationDelete(animation); }

}  // namespace imgctl
