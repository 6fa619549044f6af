// Program-wide settings state, owned by the main window for the life of the
// process: the capture rectangle, the frame's line colour, the last file.
#pragma once

#include <cstdint>

#include "app/Settings.h"

namespace kirasoe {

// Capture rectangle, screen twips: the frame window's outer rectangle.
inline std::int32_t SnapX = 0;
inline std::int32_t SnapY = 0;
inline std::int32_t SnapW = 0;  // 0: no area set
inline std::int32_t SnapH = 0;

inline std::int32_t LineC = 0;  // 0 black, 1 grey, 2 white

inline settings::Text LFName;  // base name of the last saved file
inline settings::Text LFPath;  // its folder, no trailing "\"
inline float LFType = 0;       // 0-based file type of the last save

}  // namespace kirasoe
