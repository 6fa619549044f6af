// Implementations behind the window utilities and the settings file access.
// Callers go through mod_RGN_UserFunction.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>

#include "toolkit/Form.h"

namespace mod_RGN_Proc {

std::wstring IniFilePath();
std::wstring ReadIni(const std::wstring& section, const std::wstring& key);
// nullopt is a never-assigned text: the key is removed.
void WriteIni(const std::wstring& section, const std::wstring& key, const std::optional<std::wstring>& value);

void WaitMs(double milliseconds);
void UnloadOtherForms(const std::wstring& keepName);
void DragForm(tk::Form& form);
std::int32_t GetCursorXTwips();
std::int32_t GetCursorYTwips();
std::int32_t GetUsableScreenHeight();

}  // namespace mod_RGN_Proc
