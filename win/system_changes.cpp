#include "win/system_changes.h"

#include <windows.h>

#include "win/failure_log.h"
#include "win/files.h"

namespace win {
namespace {

constexpr const wchar_t* kDragNote = L"drag-setting";
constexpr const wchar_t* kPointerNote = L"pointers";

// The note is written before the change: a change without its note could
// outlive the program.
bool LeaveNote(const wchar_t* change) {
  const std::wstring path = ChangeNotePath(change);
  HANDLE note = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (note == INVALID_HANDLE_VALUE) {
    LogFailure(L"system change note", path + L": " + SystemMessage(::GetLastError()));
    return false;
  }
  ::CloseHandle(note);
  return true;
}

void RemoveNote(const wchar_t* change) {
  const std::wstring path = ChangeNotePath(change);
  if (!::DeleteFileW(path.c_str()) && ::GetLastError() != ERROR_FILE_NOT_FOUND)
    LogFailure(L"system change note", path + L": " + SystemMessage(::GetLastError()));
}

bool NoteLeft(const wchar_t* change) {
  return ::GetFileAttributesW(ChangeNotePath(change).c_str()) != INVALID_FILE_ATTRIBUTES;
}

void ShowOutlineWhileDragging() { ::SystemParametersInfoW(SPI_SETDRAGFULLWINDOWS, FALSE, nullptr, 0); }
void UsersPointers() { ::SystemParametersInfoW(SPI_SETCURSORS, 0, nullptr, 0); }

constexpr DWORD kShapes[] = {32512, 32513, 32514, 32515, 32516, 32642, 32643, 32644, 32645, 32646, 32648, 32649, 32650};

}  // namespace

std::wstring ChangeNotePath(const wchar_t* change) {
  wchar_t folder[MAX_PATH + 1] = {};
  const DWORD n = ::GetTempPathW(MAX_PATH + 1, folder);
  return std::wstring(folder, n > MAX_PATH ? 0 : n) + L"Kirasoe." + change + L".undo";
}

void UndoChangesLeftBehind() {
  // A note stands only for a setting that was off (the drag setting) or the
  // user's own (the pointers) before the change.
  if (NoteLeft(kDragNote)) ShowOutlineWhileDragging();
  if (NoteLeft(kPointerNote)) UsersPointers();
  RemoveNote(kDragNote);
  RemoveNote(kPointerNote);
}

ContentsShownWhileDragging::ContentsShownWhileDragging() {
  BOOL before = FALSE;
  ::SystemParametersInfoW(SPI_GETDRAGFULLWINDOWS, 0, &before, 0);
  if (before || !LeaveNote(kDragNote)) return;
  switched_ = ::SystemParametersInfoW(SPI_SETDRAGFULLWINDOWS, TRUE, nullptr, 0) != 0;
  if (!switched_) RemoveNote(kDragNote);
}

ContentsShownWhileDragging::~ContentsShownWhileDragging() {
  if (!switched_) return;
  ShowOutlineWhileDragging();
  RemoveNote(kDragNote);
}

CrossPointer::CrossPointer() {
  if (LeaveNote(kPointerNote)) {
    for (DWORD shape : kShapes) {
      HCURSOR cross = static_cast<HCURSOR>(::CopyIcon(::LoadCursorW(nullptr, IDC_CROSS)));
      // The system owns the copy once it is in place.
      if (cross && ::SetSystemCursor(cross, shape)) replaced_ = true;
      else if (cross) ::DestroyCursor(cross);
    }
    if (!replaced_) RemoveNote(kPointerNote);
  }
  ::SetCursor(::LoadCursorW(nullptr, IDC_CROSS));
}

CrossPointer::~CrossPointer() {
  if (!replaced_) return;
  UsersPointers();
  RemoveNote(kPointerNote);
}

}  // namespace win
