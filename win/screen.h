// The screen: its ratio, monitors and cursor, the message queue, and waiting
// until what was drawn has reached the screen.
#pragma once

#include <windows.h>

#include <vector>

#include "core/geometry.h"
#include "core/placement.h"
#include "core/twips.h"
#include "win/window.h"

namespace win {

// Twips per pixel from the system's DPI, read on every call.
twips::Scale CurrentScale();
std::vector<placement::Monitor> Monitors();
// The work area of the monitor nearest to `r`.
geometry::Rect WorkAreaNear(const geometry::Rect& r);
geometry::Point CursorPos();
std::int32_t ScreenWidth();   // the primary screen, pixels
std::int32_t UsableHeight();  // the full-screen client height and a caption

// Moves `window` fully onto the nearest monitor's work area when it lies
// outside every one; true when it moved.
bool BringOnScreen(Window& window);

// Handles every message pending for this thread, then returns.
void PumpPending();

// Hidden windows must leave the screen at once: no hide animation for `hwnd`.
void DisableTransitions(HWND hwnd);
// Waits until what was drawn or hidden has reached the screen: the next
// composition where the desktop is composed, otherwise a frame's time.
void SettleScreen();

// Joins the topmost band keeping position and size; shows the window too
// (activating it) unless `keepHidden`.
void MakeTopmost(HWND hwnd, bool keepHidden);

}  // namespace win
