#include "shape/mod_RGN_UserFunction.h"

#include "shape/mod_RGN_Proc.h"
#include "toolkit/App.h"
#include "toolkit/Twips.h"

namespace mod_RGN_UserFunction {

std::wstring ReadIni(const std::wstring& section, const std::wstring& key) {
  return mod_RGN_Proc::ReadIni(section, key);
}
void WriteIni(const std::wstring& section, const std::wstring& key, const std::optional<std::wstring>& value) {
  mod_RGN_Proc::WriteIni(section, key, value);
}
void WaitMs(double milliseconds) { mod_RGN_Proc::WaitMs(milliseconds); }
void UnloadOtherForms(const std::wstring& keepName) { mod_RGN_Proc::UnloadOtherForms(keepName); }
void DragForm(tk::Form& form) { mod_RGN_Proc::DragForm(form); }
std::int32_t GetCursorXTwips() { return mod_RGN_Proc::GetCursorXTwips(); }
std::int32_t GetCursorYTwips() { return mod_RGN_Proc::GetCursorYTwips(); }

void SetTopmost(tk::Form& form, bool noShow) {
  UINT flags = SWP_NOSIZE | SWP_NOMOVE | (noShow ? 0 : SWP_SHOWWINDOW);
  ::SetWindowPos(form.hWnd(), HWND_TOPMOST, 0, 0, 0, 0, flags);
}

std::int32_t TwipsToPixelsX(double t) { return twips::ToPixels(t, tk::Screen::TwipsPerPixelX()); }
std::int32_t TwipsToPixelsY(double t) { return twips::ToPixels(t, tk::Screen::TwipsPerPixelY()); }
std::int32_t PixelsToTwipsX(double p) { return twips::FromPixels(p, tk::Screen::TwipsPerPixelX()); }
std::int32_t PixelsToTwipsY(double p) { return twips::FromPixels(p, tk::Screen::TwipsPerPixelY()); }

}  // namespace mod_RGN_UserFunction
