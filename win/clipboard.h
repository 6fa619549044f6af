// The clipboard: one picture at a time.
#pragma once

#include <windows.h>

#include "win/bitmap_buffer.h"
#include "win/handles.h"

namespace win::clipboard {

// Replaces the clipboard's content with `picture`, as a bitmap, as a
// device-independent bitmap and as the registered format "PNG", each made
// from it only when a program asks for it (the GUI thread's message loop serves such requests) and before the
// program ends. `picture` must stay as it is until Withdraw. The clipboard
// may be held open by another program for a moment: opening is retried for
// about a second. False when it stayed closed.
bool Offer(const BitmapBuffer& picture);
// The same, every form made at once: for a picture that will not stay
// (a script's command may end, or take the next one, right away).
bool Put(const BitmapBuffer& picture);

// The offered picture is about to change: nothing asked for from now until
// the next Offer is made from it.
void Withdraw();

// Makes whatever is still promised on the clipboard, so that it stays there
// after the process ends.
void RenderBeforeExit() noexcept;

// A copy of the clipboard's picture; empty when it holds none.
UniqueBitmap GetPicture();

// The function that opens the clipboard (OpenClipboard). Wine waits while
// another program holds the clipboard where Windows refuses at once; a
// stand-in that refuses lets the refusal be exercised anywhere.
using OpenFunction = BOOL(WINAPI*)(HWND);
void OpenWith(OpenFunction open);

}  // namespace win::clipboard
