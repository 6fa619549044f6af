// The two settings of the whole session that the program changes for a
// while: every pointer shape becomes a cross while a window is picked, and
// windows show their contents while they are dragged. Each change leaves a
// note in the user's temporary folder before it is made, and the note goes
// when the change is undone; a start after a crash or a kill undoes what a
// note still names. So nothing stays changed longer than until Kirasoe
// starts again, however it ended.
#pragma once

#include <string>

namespace win {

// Undoes what notes from an earlier run still name; at start.
void UndoChangesLeftBehind();

// Where the note of a change stands.
std::wstring ChangeNotePath(const wchar_t* change);

// Window contents shown while dragging, for as long as the object lives, for
// this session only (never written to the user's profile).
class ContentsShownWhileDragging {
 public:
  ContentsShownWhileDragging();
  ContentsShownWhileDragging(const ContentsShownWhileDragging&) = delete;
  ContentsShownWhileDragging& operator=(const ContentsShownWhileDragging&) = delete;
  ~ContentsShownWhileDragging();

 private:
  bool switched_ = false;
};

// The cross for every pointer shape of the system while the object lives
// (where the system allows it), as picking tools show.
class CrossPointer {
 public:
  CrossPointer();
  CrossPointer(const CrossPointer&) = delete;
  CrossPointer& operator=(const CrossPointer&) = delete;
  ~CrossPointer();

 private:
  bool replaced_ = false;
};

}  // namespace win
