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

// The file is opened by its wide path, so that a folder whose name the
// system code page cannot spell still works; the file itself stays an ANSI
// profile, as the system's profile functions keep a file without a byte-order
// mark.
std::wstring ReadProfile(const std::wstring& path, const std::wstring& section, const std::wstring& key) {
  std::wstring buffer(512, L' ');
  ::GetPrivateProfileStringW(section.c_str(), key.c_str(), nullptr, buffer.data(), 511, path.c_str());
  buffer.resize(buffer.find(L'\0') == std::wstring::npos ? buffer.size() : buffer.find(L'\0'));
  // A stored value is at most 510 bytes of the code page, as it always was.
  std::string bytes = tk::ToAnsi(buffer);
  if (bytes.size() > 510) {
    bytes.resize(510);
    buffer = tk::FromAnsi(bytes);
  }
  return inipath::CleanProfileValue(buffer);
}

void WriteProfile(const std::wstring& path, const std::wstring& section, const std::wstring& key,
                  const std::optional<std::wstring>& value) {
  ::WritePrivateProfileStringW(section.c_str(), key.c_str(), value ? value->c_str() : nullptr, path.c_str());
}

std::wstring ReadIni(const std::wstring& section, const std::wstring& key) {
  return ReadProfile(IniFilePath(), section, key);
}

void WriteIni(const std::wstring& section, const std::wstring& key, const std::optional<std::wstring>& value) {
  WriteProfile(IniFilePath(), section, key, value);
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
  return twips::FromPixels(pt.x, tk::Screen::TwipsPerPixelX());
}

std::int32_t GetCursorYTwips() {
  POINT pt{};
  ::GetCursorPos(&pt);
  return twips::FromPixels(pt.y, tk::Screen::TwipsPerPixelY());
}

std::int32_t GetUsableScreenHeight() {
  return twips::FromPixels(::GetSystemMetrics(SM_CYFULLSCREEN) + ::GetSystemMetrics(SM_CYCAPTION),
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
