// The popup menu of the camera and the frame. Its check marks and the frames
// kept by name come from the program's state; the program carries out the
// command chosen.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "core/texts.h"

enum class MenuCommand {
  None, Black, Grey, White, Preview, Version, Exit,
  // The submenu 「フレーム」; `index` says which one of several.
  SelectArea, SelectAndCapture, Timed, WatchChanges, WatchInterval, Record, RecordRate, PositionAndSize, Preset, FitToWindow, KeepFrame, UseKept, RemoveKept,
  EditLast, RemoveMasks,
  // The submenu 「設定」.
  Pointer, HotKeys, Language, EditAfterCapture
};

struct MenuState {
  int lineColour = 1;  // 0 black, 1 grey, 2 white
  bool preview = false;
  int countdownSeconds = 0;  // the timed capture counting down, 0 when none
  bool watchingChanges = false;
  int watchInterval = 0;  // the seconds of the interval watch running, 0 when none
  bool recording = false;
  int recordRate = 10;  // frames a second
  std::vector<std::wstring> keptNames;
  bool pointer = false;
  std::wstring hotKeysTaken;  // the combinations another program holds, if any
  texts::Language language = texts::Language::Japanese;  // of the menu's texts
  texts::Choice languageChoice = texts::Choice::Auto;
  bool editAfterCapture = false;
  bool lastCapture = false;  // there is a capture to edit
  bool masked = false;       // the frame hides parts of its area
};

struct MenuChoice {
  MenuCommand command = MenuCommand::None;
  // A timed capture's or an interval's seconds, a frame rate, a preset's or a
  // kept frame's index, a language choice.
  int index = 0;
  bool shift = false;  // Shift was held when it was chosen
};

// The seconds a timed capture counts, in the submenu's order.
inline constexpr int kTimedSeconds[] = {3, 5, 10};

// Shows the menu at the pointer and waits; the command chosen, or None.
MenuChoice ShowPopupMenu(HWND owner, const MenuState& state);
