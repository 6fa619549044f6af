// The frame tools' dialogs: the position and size typed in pixels, and the
// name a frame is kept under.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "core/geometry.h"
#include "core/texts.h"

// The rectangle typed, once it is one the frame can take (the user is told
// what to correct until then); nullopt when cancelled.
std::optional<geometry::Rect> AskPositionAndSize(HWND owner, const geometry::Rect& current,
                                                 const std::vector<geometry::Rect>& monitors, texts::Language language);

// A usable name for the current frame; nullopt when cancelled.
std::optional<std::wstring> AskFrameName(HWND owner, texts::Language language);
