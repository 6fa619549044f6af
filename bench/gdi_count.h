// Live GDI objects of this process. GetGuiResources where the system answers;
// Wine's is a stub, so there every handle slot is asked for its type.
#pragma once

#include <windows.h>

inline long CountGdiObjects() {
  DWORD n = ::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS);
  if (n) return static_cast<long>(n);
  long count = 0;
  for (UINT_PTR slot = 1; slot < 0x10000; ++slot)
    if (::GetObjectType(reinterpret_cast<HGDIOBJ>(slot))) ++count;
  return count;
}
