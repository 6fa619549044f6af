// The public face of the window utilities and the settings file access.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "toolkit/Form.h"

namespace mod_RGN_UserFunction {

std::wstring ReadIni(const std::wstring& section, const std::wstring& key);
void WriteIni(const std::wstring& section, const std::wstring& key, const std::optional<std::wstring>& value);

void WaitMs(double milliseconds);
void UnloadOtherForms(const std::wstring& keepName);
void DragForm(tk::Form& form);
std::int32_t GetCursorXTwips();
std::int32_t GetCursorYTwips();

// Joins the topmost band keeping position and size; shows the window too
// unless noShow.
void SetTopmost(tk::Form& form, bool noShow);

std::int32_t TwipsToPixelsX(double twips);
std::int32_t TwipsToPixelsY(double twips);
std::int32_t PixelsToTwipsX(double pixels);
std::int32_t PixelsToTwipsY(double pixels);

}  // namespace mod_RGN_UserFunction
