#include "shape/mod_RGN_Proc.h"

#include <algorithm>

#include "shape/IniPath.h"
#include "shape/frm_RGN_Picture.h"
#include "shape/mod_RGN_Data.h"
#include "toolkit/Twips.h"
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

void SetFormShape(int slot, tk::Form& form, bool paint) { ApplyShape(slot, form, paint ? 7 : 3, 0, 0, false); }

void ApplyShape(int slot, tk::Form& form, int steps, double x, double y, bool combine) {
  if (!mod_RGN_Data::ShapesLoaded) {
    mod_RGN_Data::LoadShapeTables();
    mod_RGN_Data::ShapesLoaded = true;
  }
  if (!form.AutoRedraw()) form.AutoRedraw(true);
  if (steps & 1) SizeFormToShape(slot, form);
  if (steps & 2) SetShapeRegion(slot, form, x, y, combine);
  form.Cls();
  if (steps & 4) PaintShapePicture(slot, form, x, y);
}

void SizeFormToShape(int slot, tk::Form& form) {
  // Fixed twips, whatever the screen's ratio.
  if (slot == 0) {
    form.Height(375);
    form.Width(420);
  } else if (slot == 1) {
    form.Height(480);
    form.Width(480);
  }
}

namespace {

void OffsetInPixels(HRGN region, double x, double y) {
  ::OffsetRgn(region, twips::ToPixels(x, tk::Screen::TwipsPerPixelX()), twips::ToPixels(y, tk::Screen::TwipsPerPixelY()));
}

}  // namespace

tk::UniqueRgn CreateShapeRegion(int slot, double x, double y) {
  const XFORM identity{1.0f, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f};
  HRGN made = nullptr;
  if (slot >= 0 && slot < mod_RGN_Data::kSlots) {
    const auto& data = mod_RGN_Data::ShapeRegions[slot];
    auto header = mod_RGN_Data::ReadHeader(data);
    DWORD bytes = header.dwSize + header.nRgnSize;
    // An empty slot has no header at all; the system would read nothing sensible.
    if (header.dwSize == sizeof(RGNDATAHEADER) && bytes <= data.size())
      made = ::ExtCreateRegion(&identity, bytes, reinterpret_cast<const RGNDATA*>(data.data()));
  }
  if (!made) {
    tk::MsgBox(L"It failed in reading of region data.");
    tk::End();
  }
  tk::UniqueRgn region(made);
  if (x != 0 || y != 0) OffsetInPixels(region.get(), x, y);
  return region;
}

void SetShapeRegion(int slot, tk::Form& form, double x, double y, bool combine) {
  tk::UniqueRgn region = CreateShapeRegion(slot, x, y);
  if (combine) {
    tk::UniqueRgn current(::CreateRectRgn(0, 0, 0, 0));
    ::GetWindowRgn(form.hWnd(), current.get());
    ::CombineRgn(region.get(), current.get(), region.get(), RGN_OR);
  }
  if (!::SetWindowRgn(form.hWnd(), region.get(), TRUE)) {
    tk::MsgBox(L"It failed in plastic surgery of a window.");
    tk::End();
  }
  region.release();  // the window owns it now
}

void PaintShapePicture(int slot, tk::Form& form, double x, double y) {
  tk::UniqueRgn region = CreateShapeRegion(slot, 0, 0);
  OffsetInPixels(region.get(), x, y);
  ::SelectClipRgn(form.hDC(), region.get());
  form.PaintPicture(kirasoe::frm_RGN_Picture.pPicture(slot), static_cast<float>(x), static_cast<float>(y), SRCCOPY);
  ::SelectClipRgn(form.hDC(), nullptr);
}

}  // namespace mod_RGN_Proc
