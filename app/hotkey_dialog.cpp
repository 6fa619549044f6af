#include "app/hotkey_dialog.h"

#include <commctrl.h>

#include <vector>

#include "win/dialog.h"

namespace {

// Each row: its field, its 「なし」 button and its status line.
constexpr WORD kFieldBase = 101, kNoneBase = 111, kStatusBase = 121;
constexpr texts::Id kLabels[options::kHotKeyCount] = {texts::Id::CaptureLabel, texts::Id::QuickCaptureLabel,
                                                      texts::Id::SelectCaptureLabel, texts::Id::SelectLabel};

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
    std::vector<win::DialogItem> items;
    for (WORD i = 0; i < options::kHotKeyCount; ++i) {
      const short y = static_cast<short>(8 + 30 * i);
      items.push_back({L"STATIC", Say(kLabels[i]), SS_RIGHT, 4, static_cast<short>(y + 2), 80, 9, 0xFFFF});
      items.push_back({HOTKEY_CLASSW, L"", field, 87, y, 104, 13, static_cast<WORD>(kFieldBase + i)});
      items.push_back({L"BUTTON", Say(texts::Id::NoKey), button, 195, static_cast<short>(y - 1), 38, 14,
                       static_cast<WORD>(kNoneBase + i)});
      items.push_back({L"STATIC", L"", 0, 87, static_cast<short>(y + 15), 146, 9, static_cast<WORD>(kStatusBase + i)});
    }
    const short buttons = 8 + 30 * options::kHotKeyCount + 3;
    items.push_back({L"BUTTON", Say(texts::Id::Ok), BS_DEFPUSHBUTTON | WS_TABSTOP, 128, buttons, 50, 14, IDOK});
    items.push_back({L"BUTTON", Say(texts::Id::Cancel), button, 183, buttons, 50, 14, IDCANCEL});
    Run(owner, Say(texts::Id::HotKeysTitle), 240, static_cast<short>(buttons + 21), items);
  }

 protected:
  void OnInit() override {
    for (WORD i = 0; i < options::kHotKeyCount; ++i)
      ::SendMessageW(Item(kFieldBase + i), HKM_SETHOTKEY, ControlValue(choice_.keys[i]), 0);
    ShowTaken();
  }
  bool OnCommand(WORD id, WORD) override {
    if (id >= kNoneBase && id < kNoneBase + options::kHotKeyCount) {
      ::SendMessageW(Item(kFieldBase + (id - kNoneBase)), HKM_SETHOTKEY, 0, 0);
      return true;
    }
    if (id != IDOK) return false;
    HotKeyChoice wanted;
    for (WORD i = 0; i < options::kHotKeyCount; ++i)
      wanted.keys[i] = ComboOf(static_cast<WORD>(::SendMessageW(Item(kFieldBase + i), HKM_GETHOTKEY, 0, 0)));
    choice_ = apply_(wanted);
    if (!choice_.refused) End(IDOK);
    else ShowTaken();
    return true;
  }

 private:
  void ShowTaken() const {
    for (WORD i = 0; i < options::kHotKeyCount; ++i)
      SetItemText(kStatusBase + i, choice_.taken[i] ? Say(texts::Id::TakenByAnother) : L"");
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
