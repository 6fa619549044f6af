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
               kPointer = 133, kHotKeys = 134, kLanguageBase = 136, kWatchChanges = 135, kWatchIntervalBase = 140, kRecord = 150, kRecordRateBase = 160, kSelectArea = 170,
               kSelectAndCapture = 171, kEditAfter = 172, kEditLast = 173, kRemoveMasks = 174, kUseKeptBase = 200,
               kRemoveKeptBase = 300;

UINT Checked(bool on) { return MF_STRING | (on ? MF_CHECKED : 0); }
// While a recording runs, the frame's other tools wait.
UINT Usable(UINT flags, bool recording) { return flags | (recording ? MF_GRAYED : 0); }
UINT Id(MenuCommand c) { return static_cast<UINT>(c); }
const wchar_t* Say(texts::Id id, const MenuState& state) { return texts::Get(id, state.language); }

HMENU ColourMenu(const MenuState& state) {
  const int lineColour = state.lineColour;
  HMENU colours = ::CreatePopupMenu();
  ::AppendMenuW(colours, Checked(lineColour == 0), Id(MenuCommand::Black), Say(texts::Id::Black, state));
  ::AppendMenuW(colours, Checked(lineColour == 1), Id(MenuCommand::Grey), Say(texts::Id::Grey, state));
  ::AppendMenuW(colours, Checked(lineColour == 2), Id(MenuCommand::White), Say(texts::Id::White, state));
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
                Say(texts::Id::RemoveSavedFrame, state));
}

void AppendWatches(HMENU frame, const MenuState& state) {
  ::AppendMenuW(frame, Usable(Checked(state.watchingChanges), state.recording), kWatchChanges,
                Say(texts::Id::CaptureOnChange, state));
  HMENU intervals = ::CreatePopupMenu();
  const texts::Id names[] = {texts::Id::Every5Seconds, texts::Id::Every10Seconds, texts::Id::Every30Seconds,
                             texts::Id::EveryMinute, texts::Id::Every5Minutes};
  for (UINT i = 0; i < std::size(change_watch::kIntervals); ++i)
    ::AppendMenuW(intervals, Checked(state.watchInterval == change_watch::kIntervals[i]), kWatchIntervalBase + i,
                  Say(names[i], state));
  ::AppendMenuW(frame, Usable(MF_POPUP | (state.watchInterval ? MF_CHECKED : 0), state.recording),
                reinterpret_cast<UINT_PTR>(intervals), Say(texts::Id::CaptureAtIntervals, state));
}

void AppendRecording(HMENU frame, const MenuState& state) {
  ::AppendMenuW(frame, MF_STRING, kRecord, Say(state.recording ? texts::Id::StopRecording : texts::Id::StartRecording, state));
  HMENU rates = ::CreatePopupMenu();
  for (UINT i = 0; i < std::size(recording::kRates); ++i) {
    const std::wstring text = texts::Format(texts::Id::FramesPerSecond, state.language, {std::to_wstring(recording::kRates[i])});
    ::AppendMenuW(rates, Checked(state.recordRate == recording::kRates[i]), kRecordRateBase + i, text.c_str());
  }
  ::AppendMenuW(frame, Usable(MF_POPUP, state.recording), reinterpret_cast<UINT_PTR>(rates),
                Say(texts::Id::RecordingRate, state));
}

HMENU FrameMenu(const MenuState& state) {
  HMENU frame = ::CreatePopupMenu();
  const bool r = state.recording;
  ::AppendMenuW(frame, Usable(MF_STRING, r), kSelectArea, Say(texts::Id::SelectArea, state));
  ::AppendMenuW(frame, Usable(MF_STRING, r), kSelectAndCapture, Say(texts::Id::SelectAndCapture, state));
  ::AppendMenuW(frame, MF_SEPARATOR, 0, nullptr);
  for (UINT i = 0; i < 3; ++i) {
    const std::wstring timed = texts::Format(texts::Id::CaptureIn, state.language, {std::to_wstring(kTimedSeconds[i])});
    ::AppendMenuW(frame, Usable(Checked(state.countdownSeconds == kTimedSeconds[i]), r), kTimedBase + i, timed.c_str());
  }
  AppendWatches(frame, state);
  AppendRecording(frame, state);
  ::AppendMenuW(frame, MF_SEPARATOR, 0, nullptr);
  ::AppendMenuW(frame, Usable(MF_STRING, r), kPositionAndSize, Say(texts::Id::PositionAndSizeItem, state));
  for (UINT i = 0; i < frame_tools::kPresets.size(); ++i)
    ::AppendMenuW(frame, Usable(MF_STRING, r), kPresetBase + i,
                  frame_tools::PresetText(frame_tools::kPresets[i]).c_str());
  ::AppendMenuW(frame, MF_SEPARATOR, 0, nullptr);
  ::AppendMenuW(frame, Usable(MF_STRING, r), kFitToWindow, Say(texts::Id::FitToWindow, state));
  ::AppendMenuW(frame, MF_SEPARATOR, 0, nullptr);
  ::AppendMenuW(frame, MF_STRING, kKeepFrame, Say(texts::Id::SaveThisFrameItem, state));
  AppendKeptFrames(frame, state);
  ::AppendMenuW(frame, MF_SEPARATOR, 0, nullptr);
  ::AppendMenuW(frame, Usable(MF_STRING | (state.lastCapture ? 0 : MF_GRAYED), state.recording), kEditLast,
                Say(texts::Id::EditLastCapture, state));
  ::AppendMenuW(frame, MF_STRING | (state.masked ? 0 : MF_GRAYED), kRemoveMasks, Say(texts::Id::RemoveMasks, state));
  return frame;
}

HMENU SettingsMenu(const MenuState& state) {
  HMENU settings = ::CreatePopupMenu();
  ::AppendMenuW(settings, Checked(state.pointer), kPointer, Say(texts::Id::IncludePointer, state));
  // A combination another program holds shows beside the item.
  std::wstring hotKeys = Say(texts::Id::HotKeysItem, state);
  if (!state.hotKeysTaken.empty())
    hotKeys += L"\t" + state.hotKeysTaken + L": " + Say(texts::Id::TakenByAnother, state);
  ::AppendMenuW(settings, MF_STRING, kHotKeys, hotKeys.c_str());
  // Each language in its own words, so that it is found whatever the menu speaks.
  HMENU languages = ::CreatePopupMenu();
  const texts::Id names[] = {texts::Id::LanguageAuto, texts::Id::LanguageJapanese, texts::Id::LanguageEnglish};
  for (UINT i = 0; i < 3; ++i)
    ::AppendMenuW(languages, Checked(static_cast<int>(state.languageChoice) == static_cast<int>(i)),
                  kLanguageBase + i, Say(names[i], state));
  ::AppendMenuW(settings, MF_POPUP, reinterpret_cast<UINT_PTR>(languages), Say(texts::Id::LanguageMenu, state));
  ::AppendMenuW(settings, Checked(state.editAfterCapture), kEditAfter, Say(texts::Id::EditAfterCapture, state));
  return settings;
}

win::UniqueMenu BuildMenu(const MenuState& state) {
  // Submenus are owned by `menu` once appended.
  win::UniqueMenu menu(::CreatePopupMenu());
  ::AppendMenuW(menu.get(), MF_STRING | MF_POPUP, reinterpret_cast<UINT_PTR>(ColourMenu(state)),
                Say(texts::Id::LineColour, state));
  ::AppendMenuW(menu.get(), Checked(state.preview), Id(MenuCommand::Preview), Say(texts::Id::ShowPreview, state));
  ::AppendMenuW(menu.get(), MF_STRING | MF_POPUP, reinterpret_cast<UINT_PTR>(FrameMenu(state)),
                Say(texts::Id::FrameMenu, state));
  ::AppendMenuW(menu.get(), MF_STRING | MF_POPUP, reinterpret_cast<UINT_PTR>(SettingsMenu(state)),
                Say(texts::Id::SettingsMenu, state));
  ::AppendMenuW(menu.get(), MF_SEPARATOR, 0, nullptr);
  ::AppendMenuW(menu.get(), MF_STRING, Id(MenuCommand::Version), Say(texts::Id::About, state));
  ::AppendMenuW(menu.get(), MF_SEPARATOR, 0, nullptr);
  ::AppendMenuW(menu.get(), MF_STRING, Id(MenuCommand::Exit), Say(texts::Id::Exit, state));
  return menu;
}

MenuChoice ChoiceOf(UINT id) {
  struct Range {
    UINT base, count;
    MenuCommand command;
  };
  const Range ranges[] = {{Id(MenuCommand::Black), 6, MenuCommand::None},
                          {kSelectArea, 1, MenuCommand::SelectArea},
                          {kSelectAndCapture, 1, MenuCommand::SelectAndCapture},
                          {kEditAfter, 1, MenuCommand::EditAfterCapture},
                          {kEditLast, 1, MenuCommand::EditLast},
                          {kRemoveMasks, 1, MenuCommand::RemoveMasks},
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
                          {kLanguageBase, 3, MenuCommand::Language},
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
