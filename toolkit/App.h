// The application object, the screen, and the few program-wide services the
// forms use: one pass of the message loop, ending at once, message boxes.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "toolkit/Placement.h"

namespace tk {

namespace App {
HINSTANCE hInstance();
std::wstring Path();     // folder of the executable, no trailing "\" except a drive root
std::wstring EXEName();  // executable's file name without extension
inline const wchar_t* Title() { return L"Kirasoe"; }
}  // namespace App

class Form;

namespace Screen {
double TwipsPerPixelX();  // 1440 / system DPI, read on every call
double TwipsPerPixelY();
float Width();   // primary screen, twips
float Height();
// Every monitor of the desktop, in pixels.
std::vector<placement::Monitor> Monitors();
// Moves `form` fully onto the nearest monitor's work area when it lies
// outside every one; true when it moved.
bool BringOnScreen(Form& form);
}  // namespace Screen

// Handles every message pending for this thread, then returns.
void DoEvents();

// Ends the process at once; no further handler of any window runs.
[[noreturn]] void End();

// Modal message box: OK only, no icon, the application's title.
void MsgBox(const std::wstring& text);

// Modal Yes/No question with the application's title; true for Yes.
bool AskYesNo(const std::wstring& text);

// Hidden windows must leave the screen at once: no hide animation for `hwnd`.
void DisableTransitions(HWND hwnd);
// Waits until what was drawn or hidden has reached the screen: the next
// composition where the desktop is composed, otherwise a frame's time.
void SettleScreen();

// UTF-16 <-> the system's ANSI code page.
std::string ToAnsi(const std::wstring& s);
std::wstring FromAnsi(const std::string& s);

}  // namespace tk
