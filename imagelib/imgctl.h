// imgctl.dll: the image library the program saves its captures with.
//
// All exports use the standard Win32 calling convention. File paths are wide
// (UTF-16) strings, so that every name the save dialog accepts can be written.
//
//   ImgctlVersion()                      library version times 100 (1.00 -> 100)
//   ImgctlError()                        code of the last failure, see below
//   DCtoDIB(dc, x, y, width, height)     copies the bitmap selected in `dc` into a new
//                                        device-independent bitmap (DIB); the rectangle is
//                                        limited to that bitmap, so a twips-sized request
//                                        yields exactly the picture. 0 on failure.
//   DIBtoBMP(path, dib)                  24-bit BMP                      nonzero on success
//   DIBtoJPG(path, dib, quality, option) baseline JPEG, quality 1..100   nonzero on success
//   DIBtoPNG(path, dib, option)          PNG, 24-bit                     nonzero on success
//   DIBtoGIF(path, dib, option)          GIF, exact palette when possible nonzero on success
//   DeleteDIB(dib)                       releases a DIB from DCtoDIB; nonzero on success
//
// Animations, for a recording: frames of one size added one by one, each
// shown for its time; a frame the same as the one before lengthens it. Each
// frame is compressed as it comes and kept in `framesFile` (made new, and
// removed by the system when the animation is deleted or the program ends,
// however it ends), or in memory when that is null. Both formats loop
// forever.
//   AnimationBegin(format, framesFile)   IMGCTL_ANIMATION_GIF or _APNG; 0 on failure
//   AnimationAddFrame(anim, dib, ms)     nonzero on success (0 for another size)
//   AnimationToFile(path, anim)          writes the file, complete or not at all
//   AnimationDelete(anim)                releases an animation; nonzero on success
//
// A file is written to a temporary name in the target's folder and put in
// place only when complete, so a failure never leaves a half-written file; an
// existing file is replaced and keeps its attributes and security settings.
// No call throws into its caller: every failure is a result of 0 and a code
// for ImgctlError, which each thread keeps for itself. A picture too large to
// hold is refused with IMGCTL_ERR_MEMORY.
#pragma once

#include <windows.h>

// Codes returned by ImgctlError.
enum ImgctlErrorCode : int {
  IMGCTL_OK = 0,
  IMGCTL_ERR_HANDLE = 1,       // not a DIB made by DCtoDIB, or already deleted
  IMGCTL_ERR_ARGUMENT = 2,     // empty rectangle, null path, quality out of range
  IMGCTL_ERR_SOURCE = 3,       // no bitmap selected in the device context, or it cannot be read
  IMGCTL_ERR_FILE = 4,         // the file could not be created, written or moved into place
  IMGCTL_ERR_ENCODE = 5,       // the encoder failed
  IMGCTL_ERR_UNSUPPORTED = 6,  // the format is not available in this build
  IMGCTL_ERR_MEMORY = 7,       // out of memory
};

typedef HANDLE HIMGDIB;
typedef HANDLE HIMGANIM;

enum ImgctlAnimationFormat : int { IMGCTL_ANIMATION_GIF = 0, IMGCTL_ANIMATION_APNG = 1 };

#ifdef __cplusplus
extern "C" {
#endif

int WINAPI ImgctlVersion(void);
int WINAPI ImgctlError(void);
HIMGDIB WINAPI DCtoDIB(HDC dc, int x, int y, int width, int height);
int WINAPI DIBtoBMP(LPCWSTR path, HIMGDIB dib);
int WINAPI DIBtoJPG(LPCWSTR path, HIMGDIB dib, int quality, int option);
int WINAPI DIBtoPNG(LPCWSTR path, HIMGDIB dib, int option);
int WINAPI DIBtoGIF(LPCWSTR path, HIMGDIB dib, int option);
int WINAPI DeleteDIB(HIMGDIB dib);
HIMGANIM WINAPI AnimationBegin(int format, LPCWSTR framesFile);
int WINAPI AnimationAddFrame(HIMGANIM anim, HIMGDIB dib, int durationMs);
int WINAPI AnimationToFile(LPCWSTR path, HIMGANIM anim);
int WINAPI AnimationDelete(HIMGANIM anim);

#ifdef __cplusplus
}
#endif
