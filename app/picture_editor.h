// The editor: a capture marked up before it goes anywhere. Rectangles,
// arrows, lines, pen and highlighter strokes, text, numbered discs, solid
// boxes that hide, and a crop; marks selected, moved, resized, deleted,
// every step undone and redone. What it shows at 100 % are the pixels that
// are saved and copied. It runs until 保存 (the marked picture goes on to
// the save dialog), 閉じる or Esc (the capture goes on without marks).
#pragma once

#include <windows.h>

#include <array>
#include <functional>
#include <optional>

#include "app/voice.h"
#include "core/marks.h"
#include "core/masks.h"
#include "win/bitmap_buffer.h"
#include "win/mark_canvas.h"
#include "win/window.h"

class PictureEditor : public win::Window {
 public:
  struct Needs {
    Voice voice;
    // Its owner, as the save dialog's: the window manager gives an owned
    // window the keyboard.
    const win::Window& owner;
    // A hidden box kept as a mask of the frame (relative to the picture).
    std::function<void(const masks::Mask&)> keepMask;
  };
  enum class Outcome { Saved, Closed };

  explicit PictureEditor(const Needs& needs) : needs_(needs) {}
  // Shows `picture` with the top left pixel of its client area at `at`
  // (moved onto the monitor where it does not fit) and waits. Saved: the
  // picture with its marks is in `edited`.
  Outcome Edit(const win::BitmapBuffer& picture, geometry::Point at, win::BitmapBuffer& edited);
  // The same in two steps, for a benchmark: shown (false when it could not
  // be), then waited for.
  bool Begin(const win::BitmapBuffer& picture, geometry::Point at, win::BitmapBuffer& edited);
  Outcome Wait();
  // Ends the editing as 閉じる does.
  void Cancel() { Finish(Outcome::Closed); }
  bool Editing() const { return editing_; }
  // For a benchmark: the left button pressed, held or released at `client`,
  // as the user's mouse, painted before it returns.
  void PointerAt(geometry::Point client, bool pressed);
  void ChooseTool(int index);  // 0 selects, then the menu's order

 protected:
  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) noexcept override;

 private:
  enum class DragKind { None, Draw, Move, Resize };
  struct Drag {
    DragKind kind = DragKind::None;
    geometry::Point from;
    marks::Mark draft;
    std::size_t index = 0;
    geometry::Rect anchorBox;  // a resize: the mark's box when it started
    bool right = false, bottom = false;  // a resize: the corner held
  };

  bool Make();
  bool Open(geometry::Point at);
  HMENU BuildMenu() const;
  void Finish(Outcome outcome);
  void OnCommand(WORD id);
  bool OnKey(WPARAM key);
  void OnPress(geometry::Point client);
  void StartSelecting(geometry::Point at, geometry::Point client);
  void OnMove(geometry::Point client, bool panning);
  void OnRelease();
  // Text is typed where it goes, in a field over the picture: Enter
  // keeps it, Esc drops it, and so does anything else done meanwhile.
  void StartText(geometry::Point at);
  // True when the message was the field's Enter or Esc.
  bool TextKey(const MSG& msg);
  void EndText(bool keep);
  void Commit(const marks::Mark& draft);
  void Paint();
  void PaintOverlay(HDC dc) const;
  void ScrollBy(std::int32_t dx, std::int32_t dy);
  void StartPan(geometry::Point client);
  void OnWheel(short delta, bool control, bool shift);
  void SetZoom(std::int32_t percent);
  void Relayout();
  // Draws `region` of the picture again and shows it.
  void Refresh(const geometry::Rect& region);
  void RefreshAll();
  void Save();
  void Copy();
  void KeepMask();
  void UpdateChecks() const;

  std::vector<marks::Mark> Shown() const;
  geometry::Rect Crop() const;
  geometry::Point ToPicture(geometry::Point client) const;
  geometry::Rect ToClient(const geometry::Rect& picture) const;
  geometry::Rect ClientSize() const;
  std::wstring Say(texts::Id id) const { return needs_.voice.Say(id); }

  Needs needs_;
  win::MarkCanvas canvas_;
  marks::Document doc_;
  int tool_ = 1;  // index into the tools: 0 selects, 1 the rectangle...
  std::uint32_t colour_ = 0xFF0000;
  std::int32_t width_ = 3;
  std::int32_t zoom_ = 100;
  geometry::Point scroll_;
  geometry::Point panFrom_;  // a drag with the middle button: where it held the picture
  std::optional<std::size_t> selected_;
  Drag drag_;
  HWND textField_ = nullptr;
  win::UniqueFont textFont_;
  geometry::Point textAt_;
  win::BitmapBuffer* edited_ = nullptr;
  Outcome outcome_ = Outcome::Closed;
  texts::Language menuLanguage_ = texts::Language::Japanese;
  bool editing_ = false;
  bool done_ = false;
};
