#include "win/dialog.h"

#include "win/module.h"
#include "win/failure_log.h"

namespace win {

namespace {

// The template's words: DLGTEMPLATE, then its items, each DWORD-aligned.
class TemplateWords {
 public:
  void Word(WORD w) { words_.push_back(w); }
  void Dword(DWORD d) {
    Word(LOWORD(d));
    Word(HIWORD(d));
  }
  void Text(const std::wstring& s) {
    for (wchar_t c : s) Word(static_cast<WORD>(c));
    Word(0);
  }
  void Align() {
    if (words_.size() % 2) Word(0);
  }
  const DLGTEMPLATE* get() const { return reinterpret_cast<const DLGTEMPLATE*>(words_.data()); }

 private:
  std::vector<WORD> words_;
};

void AddHeader(TemplateWords& t, const std::wstring& title, short cx, short cy, size_t count) {
  t.Dword(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_CENTER | DS_SETFONT);
  t.Dword(0);
  t.Word(static_cast<WORD>(count));
  for (short v : {short{0}, short{0}, cx, cy}) t.Word(static_cast<WORD>(v));
  t.Word(0);  // no menu
  t.Word(0);  // the standard dialog class
  t.Text(title);
  t.Word(9);
  t.Text(L"MS Shell Dlg");
}

void AddItem(TemplateWords& t, const DialogItem& item) {
  t.Align();
  t.Dword(item.style | WS_CHILD | WS_VISIBLE);
  t.Dword(0);
  for (short v : {item.x, item.y, item.cx, item.cy}) t.Word(static_cast<WORD>(v));
  t.Word(item.id);
  t.Text(item.className);
  t.Text(item.text);
  t.Word(0);  // no creation data
}

}  // namespace

INT_PTR Dialog::Run(HWND owner, const std::wstring& title, short cx, short cy, const std::vector<DialogItem>& items) {
  TemplateWords words;
  AddHeader(words, title, cx, cy, items.size());
  for (const DialogItem& item : items) AddItem(words, item);
  const INT_PTR result =
      ::DialogBoxIndirectParamW(Instance(), words.get(), owner, &Dialog::Proc, reinterpret_cast<LPARAM>(this));
  hwnd_ = nullptr;
  return result > 0 ? result : IDCANCEL;
}

INT_PTR CALLBACK Dialog::Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) noexcept {
  try {
    if (msg == WM_INITDIALOG) {
      auto* self = reinterpret_cast<Dialog*>(lp);
      ::SetWindowLongPtrW(hwnd, DWLP_USER, lp);
      self->hwnd_ = hwnd;
      // The program's windows are topmost: the dialog must be above them.
      ::SetWindowPos(hwnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
      self->OnInit();
      return TRUE;
    }
    auto* self = reinterpret_cast<Dialog*>(::GetWindowLongPtrW(hwnd, DWLP_USER));
    if (!self || msg != WM_COMMAND) return FALSE;
    const WORD id = LOWORD(wp);
    if (self->OnCommand(id, HIWORD(wp))) return TRUE;
    if (id == IDOK || id == IDCANCEL) ::EndDialog(hwnd, id);
    return TRUE;
  } catch (...) {
    // A handler's failure must not unwind through the system.
    LogCurrentException(L"dialog");
    return FALSE;
  }
}

std::wstring Dialog::ItemText(int id) const {
  HWND item = Item(id);
  std::wstring text(static_cast<size_t>(::GetWindowTextLengthW(item)) + 1, L'\0');
  text.resize(static_cast<size_t>(::GetWindowTextW(item, text.data(), static_cast<int>(text.size()))));
  return text;
}

void Dialog::FocusField(int id) const {
  ::SendMessageW(hwnd_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Item(id)), TRUE);
  ::SendMessageW(Item(id), EM_SETSEL, 0, -1);
}

}  // namespace win
