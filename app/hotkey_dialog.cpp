#include "app/hotkey_dialog.h"

#include <commctrl.h>

#include "win/dialog.h"

namespace {

constexpr WORD kCaptureField = 101, kQuickField = 102, kCaptureNone = 103, kQuickNone = 104, kCaptureStatus = 105,
               kQuickStatus = 106;

// Keys whose name the control finds only with the extended-key flag
// (PrintScreen would read as the keypad's "*").
bool Extended(unsigned key) {
  return key == VK_SNAPSHOT || (key >= VK_PRIOR && key <= VK_DOWN) || key == VK_INSERT || key == VK_DELETE ||
         key == VK_DIVIDE || key == VK_NUMLOCK || key == VK_APPS;
}

// The hotkey control's modifier flags and the system's hotkey modifiers.
WORD ControlValue(const options::KeyCombo& c) {
  BYTE flags = Extended(c.key) ? HOTKEYF_EXT : 0;
  if (c.modifiers & options::kShift) flags |= HOTKEYF_SHIFT;
  if (c.modifiers & options::kControl) flags |= HOTKEYF_CONTROL;
  if (c.modifiers & options::kAlt) flags |= HOTKEYF_ALT;
  return MAKEWORD(static_cast<BYTE>(c.key), flags);
}

options::KeyCombo ComboOf(WORD value) {
  const BYTE flags = HIBYTE(value);
  options::KeyCombo c{0, LOBYTE(value)};
  if (flags & HOTKEYF_SHIFT) c.modifiers |= options::kShift;
  if (flags & HOTKEYF_CONTROL) c.modifiers |= options::kControl;
  if (flags & HOTKEYF_ALT) c.modifiers |= options::kAlt;
  return c.key ? c : options::KeyCombo{};
}

class HotKeyDialog : public win::Dialog {
 public:
  HotKeyDialog(const HotKeyChoice& current, const HotKeyApply& apply, texts::Language language)
      : choice_(current), apply_(apply), language_(language) {}
  void Ask(HWND owner) {
    const DWORD field = WS_BORDER | WS_TABSTOP, button = BS_PUSHBUTTON | WS_TABSTOP;
    Run(owner, Say(texts::Id::HotKeysTitle), 226, 92,
        {{L"STATIC", Say(texts::Id::CaptureLabel), SS_RIGHT, 4, 10, 66, 9, 0xFFFF},
         {HOTKEY_CLASSW, L"", field, 73, 8, 104, 13, kCaptureField},
         {L"BUTTON", Say(texts::Id::NoKey), button, 181, 7, 38, 14, kCaptureNone},
         {L"STATIC", L"", 0, 73, 23, 146, 9, kCaptureStatus},
         {L"STATIC", Say(texts::Id::QuickCaptureLabel), SS_RIGHT, 4, 40, 66, 9, 0xFFFF},
         {HOTKEY_CLASSW, L"", field, 73, 38, 104, 13, kQuickField},
         {L"BUTTON", Say(texts::Id::NoKey), button, 181, 37, 38, 14, kQuickNone},
         {L"STATIC", L"", 0, 73, 53, 146, 9, kQuickStatus},
         {L"BUTTON", Say(texts::Id::Ok), BS_DEFPUSHBUTTON | WS_TABSTOP, 114, 71, 50, 14, IDOK},
         {L"BUTTON", Say(texts::Id::Cancel), button, 169, 71, 50, 14, IDCANCEL}});
  }

 protected:
  void OnInit() override {
    ::SendMessageW(Item(kCaptureField), HKM_SETHOTKEY, ControlValue(choice_.capture), 0);
    ::SendMessageW(Item(kQuickField), HKM_SETHOTKEY, ControlValue(choice_.quick), 0);
    ShowTaken();
  }
  bool OnCommand(WORD id, WORD) override {
    if (id == kCaptureNone || id == kQuickNone) {
      ::SendMessageW(Item(id == kCaptureNone ? kCaptureField : kQuickField), HKM_SETHOTKEY, 0, 0);
      return true;
    }
    if (id != IDOK) return false;
    HotKeyChoice wanted;
    wanted.capture = ComboOf(static_cast<WORD>(::SendMessageW(Item(kCaptureField), HKM_GETHOTKEY, 0, 0)));
    wanted.quick = ComboOf(static_cast<WORD>(::SendMessageW(Item(kQuickField), HKM_GETHOTKEY, 0, 0)));
    choice_ = apply_(wanted);
    if (!choice_.refused) End(IDOK);
    else ShowTaken();
    return true;
  }

 private:
  void ShowTaken() const {
    SetItemText(kCaptureStatus, choice_.captureTaken ? Say(texts::Id::TakenByAnother) : L"");
    SetItemText(kQuickStatus, choice_.quickTaken ? Say(texts::Id::TakenByAnother) : L"");
  }
  std::wstring Say(texts::Id id) const { return texts::Get(id, language_); }

  HotKeyChoice choice_;
  const HotKeyApply& apply_;
  texts::Language language_;
};

}  // namespace

void AskHotKeys(HWND owner, const HotKeyChoice& current, const HotKeyApply& apply, texts::Language language) {
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_HOTKEY_CLASS};
  ::InitCommonControlsEx(&controls);
  HotKeyDialog dialog(current, apply, language);
  dialog.Ask(owner);
}
