// Every text the user sees, in the two languages Kirasoe speaks: Japanese on
// a Japanese Windows, English everywhere else (or as chosen in 設定 ▸
// 表示言語). A text with {0}, {1}... takes values through Format. Pure C++.
#pragma once

#include <initializer_list>
#include <string>

namespace texts {

enum class Language { Japanese, English };
// What the user chose; Auto follows the system's language for its user.
enum class Choice { Auto, Japanese, English };
Language Resolve(Choice choice, bool userLanguageIsJapanese);

enum class Id {
  // The menu.
  LineColour, Black, Grey, White, ShowPreview, FrameMenu, SettingsMenu, About, Exit,
  CaptureIn, CaptureOnChange, CaptureAtIntervals, Every5Seconds, Every10Seconds, Every30Seconds, EveryMinute,
  Every5Minutes, StartRecording, StopRecording, RecordingRate, FramesPerSecond, PositionAndSizeItem, FitToWindow,
  SaveThisFrameItem, RemoveSavedFrame, IncludePointer, HotKeysItem, TakenByAnother, LanguageMenu, LanguageAuto,
  LanguageJapanese, LanguageEnglish, SelectArea, SelectAndCapture,
  // Dialogs.
  Ok, Cancel, PositionAndSizeTitle, FieldX, FieldY, FieldWidth, FieldHeight, SaveThisFrameTitle, NameLabel,
  HotKeysTitle, CaptureLabel, QuickCaptureLabel, SelectCaptureLabel, SelectLabel, NoKey, AboutTitle, SaveFileTitle, SaveRecordingTitle,
  TypeBmp, TypeGif, TypeJpegHigh, TypeJpegMiddle, TypeJpegLow, TypePng, TypeAnimatedGif, TypeApng,
  // Messages and labels.
  PictureNotTaken, FileExists, FileNameNotValid, FileNameTooLong, NotEnoughMemory, FileNotSaved, SaveDialogFailed,
  DialogErrorCode, CaptureFailed, NoCaptureArea, ClipboardFailed, FrameNameExists, TooManyFrames, NameTooLong,
  LibraryMissing, SettingsNotSaved, RecordingNotStarted, NoFramesRecorded, DiscardRecording, RecordingMinutesLimit,
  RecordingSecondsLimit, RecordingDataNotWritten, RecordingLabel, WatchPictureLimit, WatchChanging, WatchingChanges,
  WatchingInterval, NumberOutOfRange, FrameOffScreen, NoSelectionNow,
  // The editor, and its commands in the menu.
  EditAfterCapture, EditLastCapture, RemoveMasks, EditorTitle, ToolsMenu, ToolSelect, ToolRectangle, ToolArrow,
  ToolLine, ToolPen, ToolHighlighter, ToolText, ToolNumber, ToolHide, ToolCrop, ColourMenu, Red, Yellow, Blue,
  WidthMenu, WidthPixels, EditMenu, Undo, Redo, DeleteMark, KeepMask, ViewMenu, ZoomIn, ZoomOut, ActualSize,
  SaveButton, CopyButton, CloseButton, KeepMaskNeedsHide, TooManyMasks,
  Count
};

// The text as it stands in the table.
const wchar_t* Get(Id id, Language language);
// The text with {0}, {1}... replaced by `values`, in order.
std::wstring Format(Id id, Language language, std::initializer_list<std::wstring> values);

}  // namespace texts
