// Copying pixels of the screen.
#pragma once

#include "core/geometry.h"
#include "win/bitmap_buffer.h"

namespace win {

// Copies `area` of the screen (all monitors) into `picture`, made that size.
// False when the picture could not be made or the screen not read.
bool CopyScreen(BitmapBuffer& picture, const geometry::Rect& area);

// Draws the mouse pointer as the screen shows it now into `picture`, which
// holds `area` of the screen: at its hot spot, through its masks (an I-beam
// inverts what is under it), clipped to the picture. Nothing when the
// pointer is hidden or its shape cannot be read.
void DrawPointer(BitmapBuffer& picture, const geometry::Rect& area);

}  // namespace win
