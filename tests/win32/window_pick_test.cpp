// Windows under the pointer and the dialogs built in memory.
#include <gtest/gtest.h>
#include <windows.h>

#include "win/dialog.h"
#include "win/window_pick.h"

namespace {

HWND PlainWindow(DWORD style, int x, int y, int w, int h, HWND parent = nullptr) {
  return ::CreateWindowExW(0, parent ? L"STATIC" : L"BUTTON", L"", style | WS_VISIBLE, x, y, w, h, parent, nullptr,
                           ::GetModuleHandleW(nullptr), nullptr);
}

}  // namespace

TEST(WindowPick, TheDeepestControlAndItsBoundsAndNeverOurOwnWindow) {
  HWND top = PlainWindow(WS_POPUP, 300, 200, 200, 150);
  HWND group = PlainWindow(WS_CHILD, 10, 10, 150, 100, top);
  HWND inner = PlainWindow(WS_CHILD, 20, 30, 60, 25, group);
  ASSERT_TRUE(top && group && inner);
  EXPECT_EQ(win::ControlAt(top, {300 + 10 + 20 + 5, 200 + 10 + 30 + 5}), inner);
  EXPECT_EQ(win::ControlAt(top, {300 + 12, 200 + 12}), group);
  EXPECT_EQ(win::ControlAt(top, {300 + 190, 200 + 140}), top);
  EXPECT_EQ(win::VisibleBounds(inner), (geometry::Rect{330, 240, 390, 265}));
  EXPECT_EQ(win::VisibleBounds(top), (geometry::Rect{300, 200, 500, 350}));
  EXPECT_NE(win::TopLevelAt({350, 250}), top);
  ::DestroyWindow(top);
}

namespace {

// Types into its edit control while it runs, then presses the button.
class TypingDialog : public win::Dialog {
 public:
  std::wstring seen;

 protected:
  void OnInit() override {
    FocusField(101);
    SetItemText(101, L"名前 화면");
    ::PostMessageW(hwnd(), WM_COMMAND, IDOK, 0);
  }
  bool OnCommand(WORD id, WORD) override {
    if (id != IDOK) return false;
    seen = ItemText(101);
    End(42);
    return true;
  }
};

}  // namespace

TEST(Dialog, RunsFromATemplateInMemoryAndGivesWhatEndWasGiven) {
  TypingDialog dialog;
  const INT_PTR result = dialog.Run(nullptr, L"テスト", 120, 40,
                                    {{L"EDIT", L"", ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 5, 5, 100, 12, 101},
                                     {L"BUTTON", L"OK", BS_DEFPUSHBUTTON | WS_TABSTOP, 5, 22, 40, 14, IDOK}});
  EXPECT_EQ(result, 42);
  EXPECT_EQ(dialog.seen, L"名前 화면");
}
