#include "app/popup_menu.h"

#include <iterator>

#include "core/change_watch.h"
#include "core/frame_tools.h"
#include "core/kept_frames.h"
#include "core/recording.h"
#include "win/handles.h"

namespace {

// Command identifiers: the plain commands are their enum values; the
// commands of which there are several take a range each.
constexpr UINT kTimedBase = 100, kPresetBase = 120, kPositionAndSize = 130, kFitToWindow = 131, kKeepFrame = 132,
               kPointer = 133, kHotKeys = 134, kWatchChanges = 135, kWatchIntervalBase = 140, kRecord = 150, kRecordRateBase = 160, kUseKeptBase = 200,
               kRemoveKeptBase = 300;

UINT Checked(bool on) { return MF_STRING | (on ? MF_CHECKED : 0); }
// While a recording runs, the frame's other tools wait.
UINT Usable(UINT flags, bool recording) { return flags | (recording ? MF_GRAYED : 0); }
UINT Id(MenuCommand c) { return static_cast<UINT>(c); }

HMENU ColourMenu(int lineColour) {
  HMENU colours = ::CreatePopupMenu();
  ::AppendMenuW(colours, Checked(lineColour == 0), Id(MenuCommand::Black), L"黒");
  ::AppendMenuW(colours, Checked(lineColour == 1), Id(MenuCommand::Grey), L"灰色");
  ::AppendMenuW(colours, Checked(lineColour == 2), Id(MenuCommand::White), L"白");
  return colours;
}

void AppendKeptFrames(HMENU frame, const MenuState& state) {
  const std::vector<std::wstring>& names = state.keptNames;
  HMENU remove = ::CreatePopupMenu();
  for (UINT i = 0; i < names.size(); ++i) {
    const std::wstring text = kept_frames::MenuText(names[i]);
    ::AppendMenuW(frame, Usable(MF_STRING, state.recording), kUseKeptBase + i, text.c_str());
    ::AppendMenuW(remove, MF_STRING, kRemoveKeptBase + i, text.c_str());
  }
  ::AppendMenuW(frame, MF_POPUP | (names.empty() ? MF_GRAYED : 0), reinterpret_cast<UINT_PTR>(remove),
                L"保存したフレームを削除");
}

void AppendWatches(HMENU frame, const MenuState& state) {
  ::AppendMenuW(frame, Usable(Checked(state.watchingChanges), state.recording), kWatchChanges, L"変化したら撮影");
  HMENU intervals = ::CreatePopupMenu();
  const wchar_t* names[] = {L"5秒ごと", L"10秒ごと", L"30秒ごと", L"1分ごと", L"5分ごと"};
  for (UINT i = 0; i < std::size(change_watch::kIntervals); ++i)
    ::AppendMenuW(intervals, Checked(state.watchInterval == change_watch::kIntervals[i]), kWatchIntervalBase + i,
                  names[i]);
  ::AppendMenuW(frame, Usable(MF_POPUP | (state.watchInterval ? MF_CHECKED : 0), state.recording),
                reinterpret_cast<UINT_PTR>(intervals), L"一定間隔で撮影");
}

void AppendRecording(HMENU frame, const MenuState& state) {
  ::AppendMenuW(frame, MF_STRING, kRecord, state.recording ? L"録画を停止" : L"録画を開始");
  HMENU rates = ::CreatePopupMenu();
  for (UINT i = 0; i < std::size(recording::kRates); ++i) {
    const std::wstring text = std::to_wstring(recording::kRates[i]) + L"コマ/秒";
    ::AppendMenuW(rates, Checked(state.recordRate == recording::kRates[i]), kRecordRateBase + i, text.c_str());
  }
  ::AppendMenuW(frame, Usable(MF_POPUP, state.recording), reinterpret_cast<UINT_PTR>(rates), L"録画のコマ数");
}

HMENU FrameMenu(const MenuState& state) {
  HMENU frame = ::CreatePopupMenu();
  const bool r = state.recording;
  const wchar_t* timed[] = {L"3秒後に撮影", L"5秒後に撮影", L"10秒後に撮影"};
  for (UINT i = 0; i < 3; ++i)
    ::AppendMenuW(frame, Usable(Checked(state.countdownSeconds == kTimedSeconds[i]), r), kTimedBase + i, timed[i]);
  AppendWatches(frame, state);
  AppendRecording(frame, state);
  ::AppendMenuW(frame, MF_SEPARATOR, 0, nullptr);
  ::AppendMenuW(frame, Usable(MF_STRING, r), kPositionAndSize, L"位置とサイズ...");
  for (UINT i = 0; i < frame_tools::kPresets.size(); ++i)
    ::AppendMenuW(frame, Usable(MF_STRING, r), kPresetBase + i,
                  frame_tools::PresetText(frame_tools::kPresets[i]).c_str());
  ::AppendMenuW(frame, MF_SEPARATOR, 0, nullptr);
  ::AppendMenuW(frame, Usable(MF_STRING, r), kFitToWindow, L"ウィンドウに合わせる");
  ::AppendMenuW(frame, MF_SEPARATOR, 0, nullptr);
  ::AppendMenuW(frame, MF_STRING, kKeepFrame, L"このフレームを保存...");
  AppendKeptFrames(frame, state);
  return frame;
}

HMENU SettingsMenu(const MenuState& state) {
  HMENU settings = ::CreatePopupMenu();
  ::AppendMenuW(settings, Checked(state.pointer), kPointer, L"マウスポインタを含める");
  // A combination another program holds shows beside the item.
  const std::wstring hotKeys =
      state.hotKeysTaken.empty() ? L"ホットキー..." : L"ホットキー...	" + state.hotKeysTaken + L": 他のプログラムが使用中です";
  ::AppendMenuW(settings, MF_STRING, kHotKeys, hotKeys.c_str());
  return settings;
}

win::UniqueMenu BuildMenu(const MenuState& state) {
  // Submenus are owned by `menu` once appended.
  win::UniqueMenu menu(::CreatePopupMenu());
  ::AppendMenuW(menu.get(), MF_STRING | MF_POPUP, reinterpret_cast<UINT_PTR>(ColourMenu(state.lineColour)),
                L"選択ラインの色");
  ::AppendMenuW(menu.get(), Checked(state.preview), Id(MenuCommand::Preview), L"プレビューの表示");
  ::AppendMenuW(menu.get(), MF_STRING | MF_POPUP, reinterpret_cast<UINT_PTR>(FrameMenu(state)), L"フレーム");
  ::AppendMenuW(menu.get(), MF_STRING | MF_POPUP, reinterpret_cast<UINT_PTR>(SettingsMenu(state)), L"設定");
  ::AppendMenuW(menu.get(), MF_SEPARATOR, 0, nullptr);
  ::AppendMenuW(menu.get(), MF_STRING, Id(MenuCommand::Version), L"バージョン情報");
  ::AppendMenuW(menu.get(), MF_SEPARATOR, 0, nullptr);
  ::AppendMenuW(menu.get(), MF_STRING, Id(MenuCommand::Exit), L"終了");
  return menu;
}

MenuChoice ChoiceOf(UINT id) {
  struct Range {
    UINT base, count;
    MenuCommand command;
  };
  const Range ranges[] = {{Id(MenuCommand::Black), 6, MenuCommand::None},
                          {kTimedBase, 3, MenuCommand::Timed},
                          {kWatchChanges, 1, MenuCommand::WatchChanges},
                          {kWatchIntervalBase, static_cast<UINT>(std::size(change_watch::kIntervals)),
                           MenuCommand::WatchInterval},
                          {kRecord, 1, MenuCommand::Record},
                          {kRecordRateBase, static_cast<UINT>(std::size(recording::kRates)), MenuCommand::RecordRate},
                          {kPresetBase, static_cast<UINT>(frame_tools::kPresets.size()), MenuCommand::Preset},
                          {kPositionAndSize, 1, MenuCommand::PositionAndSize},
                          {kFitToWindow, 1, MenuCommand::FitToWindow},
                          {kKeepFrame, 1, MenuCommand::KeepFrame},
                          {kPointer, 1, MenuCommand::Pointer},
                          {kHotKeys, 1, MenuCommand::HotKeys},
                          {kUseKeptBase, kept_frames::kMaxFrames, MenuCommand::UseKept},
                          {kRemoveKeptBase, kept_frames::kMaxFrames, MenuCommand::RemoveKept}};
  for (const Range& r : ranges) {
    if (id < r.base || id >= r.base + r.count) continue;
    if (r.command == MenuCommand::None) return {static_cast<MenuCommand>(id)};
    const int index = static_cast<int>(id - r.base);
    if (r.command == MenuCommand::Timed) return {r.command, kTimedSeconds[index]};
    if (r.command == MenuCommand::WatchInterval) return {r.command, change_watch::kIntervals[index]};
    if (r.command == MenuCommand::RecordRate) return {r.command, recording::kRates[index]};
    return {r.command, index};
  }
  return {};
}

}  // namespace

MenuChoice ShowPopupMenu(HWND owner, const MenuState& state) {
  win::UniqueMenu menu = BuildMenu(state);
  POINT pt{};
  ::GetCursorPos(&pt);
  // The owner must be the foreground window, or the menu does not close when
  // the user clicks elsewhere.
  ::SetForegroundWindow(owner);
  const UINT id = static_cast<UINT>(::TrackPopupMenu(
      menu.get(), TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RETURNCMD | TPM_RIGHTBUTTON, pt.x, pt.y, 0, owner, nullptr));
  ::PostMessageW(owner, WM_NULL, 0, 0);
  MenuChoice choice = ChoiceOf(id);
  choice.shift = ::GetKeyState(VK_SHIFT) < 0;
  return choice;
}
