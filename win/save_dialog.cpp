#include "win/save_dialog.h"

#include <commdlg.h>

#include "win/module.h"

namespace win {

SaveDialogResult ShowSaveDialog(HWND owner, const std::wstring& filter, const std::wstring& initialDir,
                                const std::wstring& initialName, int filterIndex, const std::wstring& title) {
  // The wide form of the dialog: type names and file names outside the ANSI
  // code page survive; the record keeps its pre-2000 size.
  std::wstring filterList = filter + std::wstring(2, L'\0');
  // Room for the longest path the system allows, so that a long path is
  // never taken for Cancel.
  std::wstring file = initialName + std::wstring(kMaxFile, L'\0');
  std::wstring fileTitle(kMaxFile, L'\0');
  OPENFILENAMEW ofn{};
  ofn.lStructSize = OPENFILENAME_SIZE_VERSION_400W;
  ofn.hwndOwner = owner;
  ofn.hInstance = Instance();
  ofn.lpstrFilter = filterList.c_str();
  ofn.nFilterIndex = static_cast<DWORD>(filterIndex);
  ofn.lpstrFile = file.data();
  ofn.nMaxFile = static_cast<DWORD>(file.size());
  ofn.lpstrFileTitle = fileTitle.data();
  ofn.nMaxFileTitle = static_cast<DWORD>(fileTitle.size());
  ofn.lpstrInitialDir = initialDir.c_str();
  ofn.lpstrTitle = title.c_str();
  ofn.Flags = OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST;
  if (!::GetSaveFileNameW(&ofn)) return {{}, static_cast<unsigned>(::CommDlgExtendedError())};
  return {save_names::DialogChoiceOf(ofn.nFilterIndex, file), 0};
}

}  // namespace win
