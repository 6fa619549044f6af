#include "output/mod_OpenSaveFile.h"

#include <commdlg.h>

#include "toolkit/App.h"
#include "toolkit/Numbers.h"

namespace mod_OpenSaveFile {

namespace {
unsigned g_lastError = 0;
}

unsigned LastDialogError() { return g_lastError; }

std::wstring ShowSaveFileDialog(HWND owner, const std::wstring& filter, const std::wstring& initialDir,
                                const std::wstring& initialName, float filterIndex) {
  // The wide form of the dialog: type names and file names outside the ANSI
  // code page survive; the record keeps its pre-2000 size.
  std::wstring filterList = filter + std::wstring(2, L'\0');
  // Room for the longest path the system allows, so that a long path is
  // never taken for Cancel.
  std::wstring file = initialName + std::wstring(kMaxFile, L'\0');
  std::wstring title(kMaxFile, L'\0');
  OPENFILENAMEW ofn{};
  ofn.lStructSize = OPENFILENAME_SIZE_VERSION_400W;
  ofn.hwndOwner = owner;
  ofn.hInstance = tk::App::hInstance();
  ofn.lpstrFilter = filterList.c_str();
  ofn.nFilterIndex = static_cast<DWORD>(num::ToInt32Saturated(filterIndex));
  ofn.lpstrFile = file.data();
  ofn.nMaxFile = static_cast<DWORD>(file.size());
  ofn.lpstrFileTitle = title.data();
  ofn.nMaxFileTitle = static_cast<DWORD>(title.size());
  ofn.lpstrInitialDir = initialDir.c_str();
  ofn.lpstrTitle = L"ファイルを保存する";
  ofn.Flags = OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST;
  g_lastError = 0;
  if (!::GetSaveFileNameW(&ofn)) {
    g_lastError = ::CommDlgExtendedError();
    return {};
  }
  return std::to_wstring(ofn.nFilterIndex) + file;
}

}  // namespace mod_OpenSaveFile
