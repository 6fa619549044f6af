#include "app/popup_menu.h"

#include "win/handles.h"

namespace {

UINT Checked(bool on) { return MF_STRING | (on ? MF_CHECKED : 0); }

win::UniqueMenu BuildMenu(const MenuChecks& checks) {
  win::UniqueMenu menu(::CreatePopupMenu());
  HMENU colours = ::CreatePopupMenu();  // owned by `menu` once appended
  ::AppendMenuW(colours, Checked(checks.lineColour == 0), static_cast<UINT>(MenuCommand::Black), L"黒");
  ::AppendMenuW(colours, Checked(checks.lineColour == 1), static_cast<UINT>(MenuCommand::Grey), L"灰色");
  ::AppendMenuW(colours, Checked(checks.lineColour == 2), static_cast<UINT>(MenuCommand::White), L"白");
  ::AppendMenuW(menu.get(), MF_STRING | MF_POPUP, reinterpret_cast<UINT_PTR>(colours), L"選択ラインの色");
  ::AppendMenuW(menu.get(), Checked(checks.preview), static_cast<UINT>(MenuCommand::Preview), L"プレビューの表示");
  ::AppendMenuW(menu.get(), MF_SEPARATOR, 0, nullptr);
  ::AppendMenuW(menu.get(), MF_STRING, static_cast<UINT>(MenuCommand::Version), L"バージョン情報");
  ::AppendMenuW(menu.get(), MF_SEPARATOR, 0, nullptr);
  ::AppendMenuW(menu.get(), MF_STRING, static_cast<UINT>(MenuCommand::Exit), L"終了");
  return menu;
}

}  // namespace

MenuCommand ShowPopupMenu(HWND owner, const MenuChecks& checks) {
  win::UniqueMenu menu = BuildMenu(checks);
  POINT pt{};
  ::GetCursorPos(&pt);
  // The owner must be the foreground window, or the menu does not close when
  // the user clicks elsewhere.
  ::SetForegroundWindow(owner);
  const UINT id = static_cast<UINT>(::TrackPopupMenu(
      menu.get(), TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RETURNCMD | TPM_RIGHTBUTTON, pt.x, pt.y, 0, owner, nullptr));
  ::PostMessageW(owner, WM_NULL, 0, 0);
  return id >= static_cast<UINT>(MenuCommand::Black) && id <= static_cast<UINT>(MenuCommand::Exit)
             ? static_cast<MenuCommand>(id)
             : MenuCommand::None;
}
