#include "output/mod_OpenSaveFile.h"

#include <commdlg.h>

#include "toolkit/App.h"
#include "toolkit/Numbers.h"

namespace mod_OpenSaveFile {

std::wstring ShowSaveFileDialog(HWND owner, const std::wstring& filter, const std::wstring& initialDir,
                                const std::wstring& initialName, float filterIndex) {
  // The wide form of the dialog: type names and file names outside the ANSI
  // code page survive; the record keeps its pre-2000 size.
  std::wstring filterList = filter + std::wstring(2, L'\0');
  std::wstring file = initialName + std::wstring(250, L'\0');
  std::wstring title(250, L'\0');
  OPENFILENAMEW ofn{};
  ofn.lStructSize = OPENFILENAME_SIZE_VERSION_400W;
  ofn.hwndOwner = owner;
  ofn.hInstance = tk::App::hInstance();
  ofn.lpstrFilter = filterList.c_str();
  ofn.nFilterIndex = static_cast<DWORD>(num::ToInt32Saturated(filterIndex));
  ofn.lpstrFile = file.data();
  ofn.nMaxFile = 250;
  ofn.lpstrFileTitle = title.data();
  ofn.nMaxFileTitle = 250;
  ofn.lpstrInitialDir = initialDir.c_str();
  ofn.lpstrTitle = L"ファイルを保存する";
  ofn.Flags = OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST;
  if (!::GetSaveFileNameW(&ofn)) return {};
  return std::to_wstring(ofn.nFilterIndex) + file;
}

}  // namespace mod_OpenSaveFile
