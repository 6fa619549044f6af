#include "shape/mod_RGN_Proc.h"

#include <algorithm>

#include "shape/IniPath.h"
#include "toolkit/App.h"
#include "toolkit/Numbers.h"

namespace mod_RGN_Proc {

std::wstring IniFilePath() { return inipath::IniFilePath(tk::App::Path(), tk::App::EXEName()); }

std::wstring ReadIni(const std::wstring& section, const std::wstring& key) {
  std::string buffer(512, ' ');
  ::GetPrivateProfileStringA(tk::ToAnsi(section).c_str(), tk::ToAnsi(key).c_str(), nullptr, buffer.data(), 511,
                             tk::ToAnsi(IniFilePath()).c_str());
  // Cut at the terminator before converting, so that no stray bytes of the
  // space-filled buffer are taken for characters.
  buffer.resize(buffer.find('\0') == std::string::npos ? buffer.size() : buffer.find('\0'));
  return inipath::CleanProfileValue(tk::FromAnsi(buffer));
}

void WriteIni(const std::wstring& section, const std::wstring& key, const std::optional<std::wstring>& value) {
  std::string v = value ? tk::ToAnsi(*value) : std::string();
  ::WritePrivateProfileStringA(tk::ToAnsi(section).c_str(), tk::ToAnsi(key).c_str(), value ? v.c_str() : nullptr,
                               tk::ToAnsi(IniFilePath()).c_str());
}

void WaitMs(double milliseconds) {
  tk::DoEvents();
  ::Sleep(static_cast<DWORD>(std::max(0, num::ToInt32Saturated(milliseconds))));
}

void UnloadOtherForms(const std::wstring& keepName) {
  for (tk::Form* form : tk::LoadedForms()) {
    if (form->Name() != keepName) form->Unload(tk::kFormCode);
  }
}

void DragForm(tk::Form& form) {
  UINT fullWindows = 0;
  ::SystemParametersInfoA(SPI_GETDRAGFULLWINDOWS, 0, &fullWindows, 0);
  ::SystemParametersInfoA(SPI_SETDRAGFULLWINDOWS, 1, nullptr, SPIF_UPDATEINIFILE | SPIF_SENDCHANGE);
  ::ReleaseCapture();
  ::SendMessageA(form.hWnd(), WM_NCLBUTTONDOWN, HTCAPTION, 0);
  ::SystemParametersInfoA(SPI_SETDRAGFULLWINDOWS, fullWindows, nullptr, SPIF_UPDATEINIFILE | SPIF_SENDCHANGE);
}

std::int32_t GetCursorXTwips() {
  POINT pt{};
  ::GetCursorPos(&pt);
  return num::ToInt32Saturated(pt.x * tk::Screen::TwipsPerPixelX());
}

std::int32_t GetCursorYTwips() {
  POINT pt{};
  ::GetCursorPos(&pt);
  return num::ToInt32Saturated(pt.y * tk::Screen::TwipsPerPixelY());
}

std::int32_t GetUsableScreenHeight() {
  return num::ToInt32Saturated((::GetSystemMetrics(SM_CYFULLSCREEN) + ::GetSystemMetrics(SM_CYCAPTION)) *
                               tk::Screen::TwipsPerPixelY());
}

}  // namespace mod_RGN_Proc
