// The Win32 side of imgctl.dll: device contexts, DIB handles and files. The
// encoders themselves are portable and know nothing of Windows.
#include "imagelib/imgctl.h"

#include <algorithm>
#include <cstdio>
#include <memory>
#include <mutex>
#include <new>
#include <limits>
#include <map>
#include <string>
#include <vector>

#include "core/paths.h"
#include "imagelib/Apng.h"
#include "imagelib/Bmp.h"
#include "imagelib/Gif.h"
#include "imagelib/GifAnimation.h"
#include "imagelib/Jpeg.h"
#include "imagelib/Png.h"
#include "imagelib/Image.h"

namespace {

// The last failure, per thread: two threads saving at once each see their own.
thread_local int g_lastError = IMGCTL_OK;
std::mutex g_mutex;
// Live handles. A call holds its own reference while it works, so a
// DeleteDIB from another thread cannot free the picture under it.
std::map<imagelib::Image*, std::shared_ptr<imagelib::Image>> g_dibs;

// Writes all of `size` bytes at `p`; the system's error, or 0.
DWORD WriteAll(HANDLE file, const std::uint8_t* p, std::size_t size) {
  while (size > 0) {
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(size, 1u << 24));
    DWORD written = 0;
    if (!::WriteFile(file, p, chunk, &written, nullptr) || written != chunk) return ::GetLastError();
    p += written;
    size -= written;
  }
  return ERROR_SUCCESS;
}

DWORD WriteAll(HANDLE file, const std::vector<std::uint8_t>& bytes) { return WriteAll(file, bytes.data(), bytes.size()); }

// Copies all of `from`, from its start, to `to`; the system's error, or 0.
DWORD CopyAll(HANDLE from, HANDLE to) {
  if (::SetFilePointer(from, 0, nullptr, FILE_BEGIN) == INVALID_SET_FILE_POINTER) return ::GetLastError();
  std::vector<std::uint8_t> buffer(1u << 20);
  for (;;) {
    DWORD read = 0;
    if (!::ReadFile(from, buffer.data(), static_cast<DWORD>(buffer.size()), &read, nullptr)) return ::GetLastError();
    if (read == 0) return ERROR_SUCCESS;
    if (const DWORD error = WriteAll(to, buffer.data(), read)) return error;
  }
}

// An animation being made: one of the two writers, and the file its frames
// go to as they are compressed (or none: they stay in memory). The file is
// removed by the system when its handle closes, so that even a program that
// is killed leaves nothing behind.
struct Animation {
  std::unique_ptr<imagelib::AnimationWriter> writer;
  HANDLE spill = INVALID_HANDLE_VALUE;
  std::vector<std::uint8_t> kept;  // what was taken out without a file
  ~Animation() {
    if (spill != INVALID_HANDLE_VALUE) ::CloseHandle(spill);
  }
  // Moves what the writer has compressed to the file (or the memory kept);
  // the system's error, or 0.
  DWORD KeepWritten() {
    const std::vector<std::uint8_t> written = writer->TakeWritten();
    if (spill != INVALID_HANDLE_VALUE) return WriteAll(spill, written);
    kept.insert(kept.end(), written.begin(), written.end());
    return ERROR_SUCCESS;
  }
};
std::map<Animation*, std::shared_ptr<Animation>> g_animations;

std::shared_ptr<Animation> LookupAnimation(HIMGANIM anim) {
  std::lock_guard<std::mutex> lock(g_mutex);
  auto it = g_animations.find(static_cast<Animation*>(anim));
  return it == g_animations.end() ? nullptr : it->second;
}

int Fail(int code) {
  g_lastError = code;
  return 0;
}

std::shared_ptr<imagelib::Image> Lookup(HIMGDIB dib) {
  std::lock_guard<std::mutex> lock(g_mutex);
  auto it = g_dibs.find(static_cast<imagelib::Image*>(dib));
  return it == g_dibs.end() ? nullptr : it->second;
}

std::wstring LongPath(const std::wstring& path) { return paths::LongForm(path); }

// The access rules of a file (its discretionary ACL), to give to the file
// that takes its place; empty when they cannot be read.
std::vector<std::uint8_t> AccessRules(const std::wstring& path) {
  DWORD size = 0;
  ::GetFileSecurityW(path.c_str(), DACL_SECURITY_INFORMATION, nullptr, 0, &size);
  std::vector<std::uint8_t> rules(size);
  if (!size || !::GetFileSecurityW(path.c_str(), DACL_SECURITY_INFORMATION, rules.data(), size, &size)) return {};
  return rules;
}

// Puts `source` in the place of the existing file `target`, which keeps its
// attributes (`attributes`) and access rules.
bool Replace(const std::wstring& target, const std::wstring& source, DWORD attributes) {
  // A file another program holds open is not replaced; asked first, so that
  // nothing is moved aside for nothing.
  HANDLE probe = ::CreateFileW(target.c_str(), GENERIC_WRITE | DELETE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  if (probe == INVALID_HANDLE_VALUE) return false;
  ::CloseHandle(probe);
  bool ok = ::ReplaceFileW(target.c_str(), source.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr,
                           nullptr) != 0;
  // Where the system cannot replace (Wine with a long path, no right to
  // change the rules), a move over the file, which is still complete or not
  // at all; the old file's access rules are given to the new one.
  if (!ok && ::GetFileAttributesW(source.c_str()) != INVALID_FILE_ATTRIBUTES) {
    std::vector<std::uint8_t> rules = AccessRules(target);
    ok = ::MoveFileExW(source.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
    if (ok && !rules.empty()) ::SetFileSecurityW(target.c_str(), DACL_SECURITY_INFORMATION, rules.data());
  }
  // Windows keeps the attributes; Wine's replace does not.
  if (ok && ::GetFileAttributesW(target.c_str()) != attributes) ::SetFileAttributesW(target.c_str(), attributes);
  return ok;
}

// A new temporary file in `folder`, with a short name: a name close to the
// path limit must still save. INVALID_HANDLE_VALUE with the system's error.
HANDLE CreateTemporary(const std::wstring& folder, std::wstring& temp) {
  const unsigned seed = ::GetCurrentProcessId() + ::GetTickCount();
  for (unsigned attempt = 0; attempt < paths::kTemporaryTries; ++attempt) {
    temp = folder + L"\\" + paths::TemporaryName(L's', seed, attempt);
    HANDLE file = ::CreateFileW(LongPath(temp).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE || ::GetLastError() != ERROR_FILE_EXISTS) return file;
  }
  return INVALID_HANDLE_VALUE;
}

// Puts the complete temporary file in the place of `path`. An existing file
// is replaced rather than moved over, so that it keeps its attributes; a
// folder is never replaced. The system's error, or 0.
DWORD PutInPlace(const std::wstring& path, const std::wstring& temp) {
  const std::wstring target = LongPath(path), source = LongPath(temp);
  const DWORD existing = ::GetFileAttributesW(target.c_str());
  if (existing != INVALID_FILE_ATTRIBUTES && (existing & FILE_ATTRIBUTE_DIRECTORY)) return ERROR_ACCESS_DENIED;
  const bool ok = existing != INVALID_FILE_ATTRIBUTES
                      ? Replace(target, source, existing)
                      : ::MoveFileExW(source.c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH) != 0;
  if (ok) return ERROR_SUCCESS;
  const DWORD error = ::GetLastError();
  return error ? error : ERROR_ACCESS_DENIED;
}

// Writes a temporary file in the target's folder with `fill` (the system's
// error, or 0) and puts it in place only when it is complete, so a failure
// never leaves a half-written file. On failure the system's error is left
// for the caller (GetLastError).
template <class Fill>
bool WriteAtomically(const std::wstring& path, Fill fill) {
  const auto slash = path.find_last_of(L"\\/");
  const std::wstring folder = slash == std::wstring::npos ? L"." : path.substr(0, slash);
  std::wstring temp;
  HANDLE file = CreateTemporary(folder, temp);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD error = fill(file);
  if (!::FlushFileBuffers(file) && !error) error = ::GetLastError();
  if (!::CloseHandle(file) && !error) error = ::GetLastError();
  if (!error) error = PutInPlace(path, temp);
  if (!error) return true;
  ::DeleteFileW(LongPath(temp).c_str());
  ::SetLastError(error);
  return false;
}

// The file that `fill` fills (the system's error, or 0), written whole:
// 1, or 0 with the failure's code.
template <class Fill>
int FileOrFailure(LPCWSTR path, Fill fill) {
  if (!WriteAtomically(path, fill)) {
    // The system's reason stays for the caller: keeping the library's own
    // error may touch it.
    const DWORD reason = ::GetLastError();
    Fail(IMGCTL_ERR_FILE);
    ::SetLastError(reason);
    return 0;
  }
  g_lastError = IMGCTL_OK;
  return 1;
}

// The file made by `encode` (empty bytes: `emptyError`), written whole, or
// the failure's code; no exception leaves it.
template <class Encode>
int ToFile(LPCWSTR path, Encode encode, int emptyError) noexcept {
  try {
    if (!path || !*path) return Fail(IMGCTL_ERR_ARGUMENT);
    int refused = IMGCTL_OK;
    const std::vector<std::uint8_t> bytes = encode(refused);
    if (refused) return Fail(refused);
    if (bytes.empty()) return Fail(emptyError);
    return FileOrFailure(path, [&bytes](HANDLE file) { return WriteAll(file, bytes); });
  } catch (const std::bad_alloc&) {
    return Fail(IMGCTL_ERR_MEMORY);
  } catch (...) {
    return Fail(IMGCTL_ERR_ENCODE);
  }
}

template <class Encode>
int EncodeToFile(LPCWSTR path, HIMGDIB dib, Encode encode) noexcept {
  return ToFile(path, [&](int& refused) {
    const std::shared_ptr<imagelib::Image> image = Lookup(dib);
    if (!image) refused = IMGCTL_ERR_HANDLE;
    return image ? encode(*image) : std::vector<std::uint8_t>();
  }, IMGCTL_ERR_ENCODE);
}

// The bitmap is selected in the caller's DC, where GetDIBits may not read
// it: the rectangle is copied into a DIB section of our own instead, and
// from there into `image` as RGB.
bool ReadPixels(HDC dc, int left, int top, int w, int h, imagelib::Image& image) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = w;
  info.bmiHeader.biHeight = -h;  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP section = ::CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!section) throw std::bad_alloc();
  HDC mem = ::CreateCompatibleDC(dc);
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
      image.rgb[i * 3] = bgra[i * 4 + 2];
      image.rgb[i * 3 + 1] = bgra[i * 4 + 1];
      image.rgb[i * 3 + 2] = bgra[i * 4];
    }
  }
  ::DeleteObject(section);
  return copied;
}

HIMGDIB Register(std::shared_ptr<imagelib::Image> image) {
  imagelib::Image* handle = image.get();
  {
    std::lock_guard<std::mutex> lock(g_mutex);
    g_dibs.emplace(handle, std::move(image));
  }
  g_lastError = IMGCTL_OK;
  return handle;
}

HIMGDIB CopyFromDC(HDC dc, int x, int y, int width, int height) {
  HBITMAP bitmap = dc ? static_cast<HBITMAP>(::GetCurrentObject(dc, OBJ_BITMAP)) : nullptr;
  BITMAP bm{};
  if (!dc || !bitmap || !::GetObjectW(bitmap, sizeof bm, &bm)) {
    Fail(IMGCTL_ERR_SOURCE);
    return nullptr;
  }
  // Limit the request to the bitmap: callers may ask for more.
  const int left = std::clamp(x, 0, static_cast<int>(bm.bmWidth));
  const int top = std::clamp(y, 0, static_cast<int>(bm.bmHeight));
  const int w = std::clamp(width, 0, static_cast<int>(bm.bmWidth) - left);
  const int h = std::clamp(height, 0, static_cast<int>(bm.bmHeight) - top);
  if (w <= 0 || h <= 0) {
    Fail(IMGCTL_ERR_ARGUMENT);
    return nullptr;
  }
  if (!imagelib::Addressable(w, h)) {
    Fail(IMGCTL_ERR_MEMORY);
    return nullptr;
  }
  auto image = std::make_shared<imagelib::Image>();
  image->rgb.resize(static_cast<std::size_t>(w) * h * 3);
  if (!ReadPixels(dc, left, top, w, h, *image)) {
    Fail(IMGCTL_ERR_SOURCE);
    return nullptr;
  }
  image->width = w;
  image->height = h;
  return Register(std::move(image));
}

}  // namespace

extern "C" {

int WINAPI ImgctlVersion(void) { return 100; }

int WINAPI ImgctlError(void) { return g_lastError; }

HIMGDIB WINAPI DCtoDIB(HDC dc, int x, int y, int width, int height) {
  try {
    return CopyFromDC(dc, x, y, width, height);
  } catch (const std::bad_alloc&) {
    Fail(IMGCTL_ERR_MEMORY);
  } catch (...) {
    Fail(IMGCTL_ERR_SOURCE);
  }
  return nullptr;
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
  try {
    std::shared_ptr<imagelib::Image> released;  // freed here, or by the last call still using it
    {
      std::lock_guard<std::mutex> lock(g_mutex);
      auto it = g_dibs.find(static_cast<imagelib::Image*>(dib));
      if (it == g_dibs.end()) return Fail(IMGCTL_ERR_HANDLE);
      released = std::move(it->second);
      g_dibs.erase(it);
    }
    g_lastError = IMGCTL_OK;
    return 1;
  } catch (...) {
    return Fail(IMGCTL_ERR_HANDLE);
  }
}

HIMGANIM WINAPI AnimationBegin(int format, LPCWSTR framesFile) {
  if (format != IMGCTL_ANIMATION_GIF && format != IMGCTL_ANIMATION_APNG) {
    Fail(IMGCTL_ERR_ARGUMENT);
    return nullptr;
  }
  try {
    auto animation = std::make_shared<Animation>();
    if (format == IMGCTL_ANIMATION_GIF) animation->writer = std::make_unique<imagelib::GifAnimationWriter>();
    else animation->writer = std::make_unique<imagelib::ApngWriter>();
    if (framesFile && *framesFile) {
      // Not shared for deleting: another start of the program, clearing
      // what a lost recording left, cannot remove it while it is in use.
      animation->spill = ::CreateFileW(LongPath(framesFile).c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ,
                                       nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE,
                                       nullptr);
      if (animation->spill == INVALID_HANDLE_VALUE) {
        const DWORD reason = ::GetLastError();
        Fail(IMGCTL_ERR_FILE);
        ::SetLastError(reason);
        return nullptr;
      }
    }
    Animation* handle = animation.get();
    std::lock_guard<std::mutex> lock(g_mutex);
    g_animations.emplace(handle, std::move(animation));
    g_lastError = IMGCTL_OK;
    return handle;
  } catch (...) {
    Fail(IMGCTL_ERR_MEMORY);
    return nullptr;
  }
}

int WINAPI AnimationAddFrame(HIMGANIM anim, HIMGDIB dib, int durationMs) {
  try {
    const std::shared_ptr<Animation> animation = LookupAnimation(anim);
    const std::shared_ptr<imagelib::Image> image = Lookup(dib);
    if (!animation || !image) return Fail(IMGCTL_ERR_HANDLE);
    if (durationMs < 0) return Fail(IMGCTL_ERR_ARGUMENT);
    const auto ms = static_cast<std::uint32_t>(durationMs);
    const bool added = animation->writer->Add(*image, ms);
    if (!added) return Fail(IMGCTL_ERR_ARGUMENT);
    // What is compressed goes to the file at once: memory stays flat
    // however long the recording.
    if (const DWORD error = animation->KeepWritten()) {
      Fail(IMGCTL_ERR_FILE);
      ::SetLastError(error);
      return 0;
    }
    g_lastError = IMGCTL_OK;
    return 1;
  } catch (const std::bad_alloc&) {
    return Fail(IMGCTL_ERR_MEMORY);
  } catch (...) {
    return Fail(IMGCTL_ERR_ENCODE);
  }
}

namespace {

// Head, the frames (the writer's smaller form, or those kept in the file or
// in memory), tail.
DWORD WriteAnimation(Animation& a, HANDLE file) {
  DWORD error = WriteAll(file, a.writer->Head());
  if (const std::vector<std::uint8_t>* smaller = a.writer->KeptBody(); !error && smaller)
    error = WriteAll(file, *smaller);
  else if (!error)
    error = a.spill == INVALID_HANDLE_VALUE ? WriteAll(file, a.kept) : CopyAll(a.spill, file);
  if (!error) error = WriteAll(file, a.writer->Tail());
  if (a.spill != INVALID_HANDLE_VALUE) ::SetFilePointer(a.spill, 0, nullptr, FILE_END);
  return error;
}

}  // namespace

int WINAPI AnimationToFile(LPCWSTR path, HIMGANIM anim) {
  try {
    if (!path || !*path) return Fail(IMGCTL_ERR_ARGUMENT);
    const std::shared_ptr<Animation> animation = LookupAnimation(anim);
    if (!animation) return Fail(IMGCTL_ERR_HANDLE);
    const bool any = animation->writer->Close();
    if (!any) return Fail(IMGCTL_ERR_ARGUMENT);  // no frame added
    // The last frame, completed by Close, is kept with the others, so that
    // a failed write can be tried again.
    if (const DWORD error = animation->KeepWritten()) {
      Fail(IMGCTL_ERR_FILE);
      ::SetLastError(error);
      return 0;
    }
    return FileOrFailure(path, [&](HANDLE file) { return WriteAnimation(*animation, file); });
  } catch (const std::bad_alloc&) {
    return Fail(IMGCTL_ERR_MEMORY);
  } catch (...) {
    return Fail(IMGCTL_ERR_ENCODE);
  }
}

int WINAPI AnimationDelete(HIMGANIM anim) {
  std::shared_ptr<Animation> released;  // freed here, or by the last call still using it
  std::lock_guard<std::mutex> lock(g_mutex);
  auto it = g_animations.find(static_cast<Animation*>(anim));
  if (it == g_animations.end()) return Fail(IMGCTL_ERR_HANDLE);
  released = std::move(it->second);
  g_animations.erase(it);
  g_lastError = IMGCTL_OK;
  return 1;
}

}  // extern "C"
