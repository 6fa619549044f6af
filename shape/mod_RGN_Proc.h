// Implementations behind the window utilities and the settings file access.
// Callers go through mod_RGN_UserFunction.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>

#include "toolkit/Form.h"
#include "toolkit/Handles.h"

namespace mod_RGN_Proc {

std::wstring IniFilePath();
std::wstring ReadIni(const std::wstring& section, const std::wstring& key);
// The same, on a profile file of the caller's choosing.
std::wstring ReadProfile(const std::wstring& path, const std::wstring& section, const std::wstring& key);
void WriteProfile(const std::wstring& path, const std::wstring& section, const std::wstring& key,
                  const std::optional<std::wstring>& value);
// nullopt is a never-assigned text: the key is removed.
void WriteIni(const std::wstring& section, const std::wstring& key, const std::optional<std::wstring>& value);

void WaitMs(double milliseconds);
void UnloadOtherForms(const std::wstring& keepName);
void DragForm(tk::Form& form);
std::int32_t GetCursorXTwips();
std::int32_t GetCursorYTwips();
std::int32_t GetUsableScreenHeight();

// Window shapes: slot n of the region tables, with picture n of frm_RGN_Picture.
// Steps of ApplyShape: 1 size the form, 2 set the window region, 4 paint the picture.
void SetFormShape(int slot, tk::Form& form, bool paint);
void ApplyShape(int slot, tk::Form& form, int steps, double x, double y, bool combine);
void SizeFormToShape(int slot, tk::Form& form);
// Ends the program with a message when the table gives no region.
tk::UniqueRgn CreateShapeRegion(int slot, double x, double y);
// Ends the program with a message when the window refuses the region.
void SetShapeRegion(int slot, tk::Form& form, double x, double y, bool combine);
void PaintShapePicture(int slot, tk::Form& form, double x, double y);

}  // namespace mod_RGN_Proc
