// Copying pixels of the screen.
#pragma once

#include "core/geometry.h"
#include "win/bitmap_buffer.h"

namespace win {

// Copies `area` of the screen (all monitors) into `picture`, made that size.
// False when the picture could not be made or the screen not read.
bool CopyScreen(BitmapBuffer& picture, const geometry::Rect& area);

}  // namespace win
