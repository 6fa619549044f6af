#include "app/frame_dialogs.h"

#include <array>

#include "core/frame_tools.h"
#include "core/kept_frames.h"
#include "win/dialog.h"
#include "win/message_box.h"

namespace {

constexpr DWORD kEdit = ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP;
constexpr WORD kFirstField = 101;

class PositionDialog : public win::Dialog {
 public:
  PositionDialog(const geometry::Rect& current, const std::vector<geometry::Rect>& monitors, texts::Language language)
      : current_(current), monitors_(monitors), language_(language) {}
  std::optional<geometry::Rect> Ask(HWND owner) {
    std::vector<win::DialogItem> items;
    for (WORD f = 0; f < 4; ++f) {
      const short y = static_cast<short>(9 + f * 17);
      items.push_back({L"STATIC", Say(frame_tools::kFieldNames[f]) + L":", SS_RIGHT, 7, y, 30, 9, 0xFFFF});
      items.push_back({L"EDIT", L"", kEdit, 42, static_cast<short>(y - 2), 60, 12, static_cast<WORD>(kFirstField + f)});
    }
    items.push_back({L"BUTTON", Say(texts::Id::Ok), BS_DEFPUSHBUTTON | WS_TABSTOP, 7, 78, 50, 14, IDOK});
    items.push_back({L"BUTTON", Say(texts::Id::Cancel), BS_PUSHBUTTON | WS_TABSTOP, 62, 78, 50, 14, IDCANCEL});
    if (Run(owner, Say(texts::Id::PositionAndSizeTitle), 150, 100, items) != IDOK) return std::nullopt;
    return typed_;
  }

 protected:
  void OnInit() override {
    const std::int32_t values[] = {current_.left, current_.top, current_.Width(), current_.Height()};
    for (WORD f = 0; f < 4; ++f) SetItemText(kFirstField + f, std::to_wstring(values[f]));
    FocusField(kFirstField);
  }
  bool OnCommand(WORD id, WORD) override {
    if (id != IDOK) return false;
    std::array<std::wstring, 4> texts;
    for (WORD f = 0; f < 4; ++f) texts[f] = ItemText(kFirstField + f);
    const auto checked = frame_tools::CheckTyped(texts, monitors_, language_);
    if (const auto* refusal = std::get_if<frame_tools::Refusal>(&checked)) {
      win::ShowMessage(refusal->message);
      FocusField(kFirstField + refusal->field);
      return true;
    }
    typed_ = std::get<geometry::Rect>(checked);
    End(IDOK);
    return true;
  }

 private:
  std::wstring Say(texts::Id id) const { return texts::Get(id, language_); }

  geometry::Rect current_;
  const std::vector<geometry::Rect>& monitors_;
  texts::Language language_;
  geometry::Rect typed_;
};

constexpr WORD kNameField = 101;

class NameDialog : public win::Dialog {
 public:
  explicit NameDialog(texts::Language language) : language_(language) {}
  std::optional<std::wstring> Ask(HWND owner) {
    const std::vector<win::DialogItem> items{
        {L"STATIC", Say(texts::Id::NameLabel), 0, 7, 9, 30, 9, 0xFFFF},
        {L"EDIT", L"", kEdit, 40, 7, 133, 12, kNameField},
        {L"BUTTON", Say(texts::Id::Ok), BS_DEFPUSHBUTTON | WS_TABSTOP, 68, 28, 50, 14, IDOK},
        {L"BUTTON", Say(texts::Id::Cancel), BS_PUSHBUTTON | WS_TABSTOP, 123, 28, 50, 14, IDCANCEL}};
    if (Run(owner, Say(texts::Id::SaveThisFrameTitle), 180, 49, items) != IDOK) return std::nullopt;
    return name_;
  }

 protected:
  void OnInit() override {
    ::SendMessageW(Item(kNameField), EM_LIMITTEXT, kept_frames::kMaxNameLength + 16, 0);
    FocusField(kNameField);
  }
  bool OnCommand(WORD id, WORD) override {
    if (id != IDOK) return false;
    auto name = kept_frames::UsableName(ItemText(kNameField));
    if (!name) {
      win::ShowMessage(texts::Format(texts::Id::NameTooLong, language_, {std::to_wstring(kept_frames::kMaxNameLength)}));
      FocusField(kNameField);
      return true;
    }
    name_ = *name;
    End(IDOK);
    return true;
  }

 private:
  std::wstring Say(texts::Id id) const { return texts::Get(id, language_); }

  texts::Language language_;
  std::wstring name_;
};

}  // namespace

std::optional<geometry::Rect> AskPositionAndSize(HWND owner, const geometry::Rect& current,
                                                 const std::vector<geometry::Rect>& monitors, texts::Language language) {
  PositionDialog dialog(current, monitors, language);
  return dialog.Ask(owner);
}

std::optional<std::wstring> AskFrameName(HWND owner, texts::Language language) {
  NameDialog dialog(language);
  return dialog.Ask(owner);
}
