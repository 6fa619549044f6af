// The Win32 side of imgctl.dll: device contexts, DIB handles and files. The
// encoders themselves are portable and know nothing of Windows.
#include "imagelib/imgctl.h"

#include <algorithm>
#include <cstdio>
#include <memory>
#include <mutex>
#include <new>
#include <set>
#include <string>
#include <vector>

#include "imagelib/Bmp.h"
#include "imagelib/Gif.h"
#include "imagelib/Jpeg.h"
#include "imagelib/Png.h"
#include "imagelib/Image.h"

namespace {

int g_lastError = IMGCTL_OK;
std::mutex g_mutex;
std::set<imagelib::Image*> g_dibs;  // live handles, so a stale one is refused

int Fail(int code) {
  g_lastError = code;
  return 0;
}

imagelib::Image* Lookup(HIMGDIB dib) {
  auto* image = static_cast<imagelib::Image*>(dib);
  std::lock_guard<std::mutex> lock(g_mutex);
  return g_dibs.count(image) ? image : nullptr;
}

// Writes beside the target and moves into place only when complete.
bool WriteAtomically(const std::wstring& path, const std::vector<std::uint8_t>& bytes) {
  std::wstring temp = path + L".kirasoe-" + std::to_wstring(::GetCurrentProcessId()) + L".tmp";
  HANDLE file = ::CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  const std::uint8_t* p = bytes.data();
  std::size_t left = bytes.size();
  bool ok = true;
  while (ok && left > 0) {
    DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(left, 1u << 24));
    DWORD written = 0;
    ok = ::WriteFile(file, p, chunk, &written, nullptr) && written == chunk;
    p += written;
    left -= written;
  }
  ok = ::FlushFileBuffers(file) && ok;
  ok = ::CloseHandle(file) && ok;
  if (ok) ok = ::MoveFileExW(temp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
  if (!ok) ::DeleteFileW(temp.c_str());
  return ok;
}

template <class Encode>
int EncodeToFile(LPCWSTR path, HIMGDIB dib, Encode encode) {
  if (!path || !*path) return Fail(IMGCTL_ERR_ARGUMENT);
  imagelib::Image* image = Lookup(dib);
  if (!image) return Fail(IMGCTL_ERR_HANDLE);
  std::vector<std::uint8_t> bytes;
  try {
    bytes = encode(*image);
  } catch (const std::bad_alloc&) {
    return Fail(IMGCTL_ERR_MEMORY);
  } catch (...) {
    return Fail(IMGCTL_ERR_ENCODE);
  }
  if (bytes.empty()) return Fail(IMGCTL_ERR_ENCODE);
  if (!WriteAtomically(path, bytes)) return Fail(IMGCTL_ERR_FILE);
  g_lastError = IMGCTL_OK;
  return 1;
}

}  // namespace

extern "C" {

int WINAPI ImgctlVersion(void) { return 100; }

int WINAPI ImgctlError(void) { return g_lastError; }

HIMGDIB WINAPI DCtoDIB(HDC dc, int x, int y, int width, int height) {
  HBITMAP bitmap = static_cast<HBITMAP>(::GetCurrentObject(dc, OBJ_BITMAP));
  BITMAP bm{};
  if (!dc || !bitmap || !::GetObjectW(bitmap, sizeof bm, &bm)) {
    Fail(IMGCTL_ERR_SOURCE);
    return nullptr;
  }
  // Limit the request to the bitmap: callers may ask in twips.
  int left = std::clamp(x, 0, static_cast<int>(bm.bmWidth));
  int top = std::clamp(y, 0, static_cast<int>(bm.bmHeight));
  int w = std::clamp(width, 0, static_cast<int>(bm.bmWidth) - left);
  int h = std::clamp(height, 0, static_cast<int>(bm.bmHeight) - top);
  if (w <= 0 || h <= 0) {
    Fail(IMGCTL_ERR_ARGUMENT);
    return nullptr;
  }
  auto image = std::unique_ptr<imagelib::Image>(new (std::nothrow) imagelib::Image);
  if (!image) {
    Fail(IMGCTL_ERR_MEMORY);
    return nullptr;
  }
  try {
    image->rgb.resize(static_cast<std::size_t>(w) * h * 3);
  } catch (const std::bad_alloc&) {
    Fail(IMGCTL_ERR_MEMORY);
    return nullptr;
  }
  // The bitmap is selected in the caller's DC, where GetDIBits may not read
  // it; copy the rectangle into a DIB section of our own instead.
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = w;
  info.bmiHeader.biHeight = -h;  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP section = ::CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HDC mem = section ? ::CreateCompatibleDC(dc) : nullptr;
  bool copied = false;
  if (mem) {
    HGDIOBJ old = ::SelectObject(mem, section);
    copied = ::BitBlt(mem, 0, 0, w, h, dc, left, top, SRCCOPY) != 0;
    ::GdiFlush();
    ::SelectObject(mem, old);
    ::DeleteDC(mem);
  }
  if (copied) {
    const auto* bgra = static_cast<const std::uint8_t*>(bits);
    for (std::size_t i = 0, n = static_cast<std::size_t>(w) * h; i < n; ++i) {
      image->rgb[i * 3] = bgra[i * 4 + 2];
      image->rgb[i * 3 + 1] = bgra[i * 4 + 1];
      image->rgb[i * 3 + 2] = bgra[i * 4];
    }
  }
  if (section) ::DeleteObject(section);
  if (!copied) {
    Fail(IMGCTL_ERR_SOURCE);
    return nullptr;
  }
  image->width = w;
  image->height = h;
  std::lock_guard<std::mutex> lock(g_mutex);
  g_dibs.insert(image.get());
  g_lastError = IMGCTL_OK;
  return image.release();
}

int WINAPI DIBtoBMP(LPCWSTR path, HIMGDIB dib) {
  return EncodeToFile(path, dib, [](const imagelib::Image& image) { return imagelib::EncodeBmp(image); });
}

int WINAPI DIBtoJPG(LPCWSTR path, HIMGDIB dib, int quality, int /*option*/) {
  if (quality < 1 || quality > 100) return Fail(IMGCTL_ERR_ARGUMENT);
  return EncodeToFile(path, dib, [quality](const imagelib::Image& image) { return imagelib::EncodeJpeg(image, quality); });
}

int WINAPI DIBtoPNG(LPCWSTR path, HIMGDIB dib, int /*option*/) {
  return EncodeToFile(path, dib, [](const imagelib::Image& image) { return imagelib::EncodePng(image); });
}

int WINAPI DIBtoGIF(LPCWSTR path, HIMGDIB dib, int /*option*/) {
  return EncodeToFile(path, dib, [](const imagelib::Image& image) { return imagelib::EncodeGif(image); });
}

int WINAPI DeleteDIB(HIMGDIB dib) {
  auto* image = static_cast<imagelib::Image*>(dib);
  {
    std::lock_guard<std::mutex> lock(g_mutex);
    if (!g_dibs.erase(image)) return Fail(IMGCTL_ERR_HANDLE);
  }
  delete image;
  g_lastError = IMGCTL_OK;
  return 1;
}

}  // extern "C"
