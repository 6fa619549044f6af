// The clipboard: one picture at a time.
#pragma once

#include <windows.h>

#include "toolkit/Handles.h"

namespace tk::Clipboard {

// Replaces the clipboard's content with `image` (a bitmap no DC holds, which
// the clipboard then owns), as a bitmap and as a device-independent bitmap.
// The clipboard may be held open by another program for a moment: opening is
// retried for about a second. False when it stayed closed.
bool SetImage(HWND owner, UniqueBitmap image);

// A copy of the clipboard's picture; empty when it holds none.
UniqueBitmap GetPicture(HWND owner);

}  // namespace tk::Clipboard
