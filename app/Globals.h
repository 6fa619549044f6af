// Program-wide settings state, owned by the main window for the life of the
// process: one settings::State, read at start and written at exit as a whole.
// The names the program uses everywhere (SnapX, LineC, LFName, ...) are its
// fields.
#pragma once

#include <cstdint>

#include "app/Settings.h"

namespace kirasoe {

inline settings::State Settings;

// Capture rectangle, screen twips: the frame window's outer rectangle.
inline std::int32_t& SnapX = Settings.snap.x;
inline std::int32_t& SnapY = Settings.snap.y;
inline std::int32_t& SnapW = Settings.snap.w;  // 0: no area set
inline std::int32_t& SnapH = Settings.snap.h;

inline std::int32_t& LineC = Settings.lineC;  // 0 black, 1 grey, 2 white

inline settings::Text& LFName = Settings.lfName;  // base name of the last saved file
inline settings::Text& LFPath = Settings.lfPath;  // its folder, no trailing "\"
inline float& LFType = Settings.lfType;           // 0-based file type of the last save

}  // namespace kirasoe
