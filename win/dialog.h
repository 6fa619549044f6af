// Small modal dialogs described in code: a template built in memory (so
// that the texts stay in the sources, in UTF-8), run by the system's dialog
// manager, which gives Tab, Enter and Esc their usual meaning. A C++ object
// answers its messages.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace win {

// One control, in dialog units.
struct DialogItem {
  const wchar_t* className;  // "BUTTON", "EDIT", "STATIC", "LISTBOX", ...
  std::wstring text;
  DWORD style;
  short x, y, cx, cy;
  WORD id;
};

class Dialog {
 public:
  Dialog() = default;
  Dialog(const Dialog&) = delete;
  Dialog& operator=(const Dialog&) = delete;
  virtual ~Dialog() = default;

  // Shows the dialog centred, above the program's topmost windows, owned by
  // `owner` (disabled meanwhile), and returns what End was given; IDCANCEL
  // when it was closed otherwise or could not be made.
  INT_PTR Run(HWND owner, const std::wstring& title, short cx, short cy, const std::vector<DialogItem>& items);

 protected:
  virtual void OnInit() {}
  // A command from a control; IDOK and IDCANCEL end the dialog unless
  // handled here (true).
  virtual bool OnCommand(WORD id, WORD code) = 0;

  HWND hwnd() const { return hwnd_; }
  HWND Item(int id) const { return ::GetDlgItem(hwnd_, id); }
  std::wstring ItemText(int id) const;
  void SetItemText(int id, const std::wstring& text) const { ::SetDlgItemTextW(hwnd_, id, text.c_str()); }
  // Puts the caret into an edit control with its whole text selected.
  void FocusField(int id) const;
  void End(INT_PTR result) const { ::EndDialog(hwnd_, result); }

 private:
  static INT_PTR CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) noexcept;
  HWND hwnd_ = nullptr;
};

}  // namespace win
