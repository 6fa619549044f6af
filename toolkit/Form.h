// A form: a top-level window with its geometry in twips, a background colour,
// an optional persistent image (AutoRedraw), a mouse pointer and the events
// the program's windows handle. Forms are created hidden by Load and join the
// loaded-forms collection until they are unloaded.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "toolkit/Handles.h"
#include "toolkit/Window.h"

namespace tk {

enum class BorderStyle { None, FixedDialog };

// The toolkit's mouse pointer values.
enum class MousePointer { Default = 0, SizeNESW = 6, SizeNWSE = 8, SizeAll = 15 };

// Why a form is unloaded.
enum UnloadMode { kFormControlMenu = 0, kFormCode = 1, kAppWindows = 2 };  // 2: the system is closing

struct FormSpec {
  const wchar_t* name;
  const wchar_t* caption;
  BorderStyle border = BorderStyle::None;
  bool showInTaskbar = false;
  bool topLevelTool = true;  // no taskbar button
  COLORREF backColor = GetSysColor(COLOR_BTNFACE);
  int iconId = 0;  // resource ID of the window's icon, 0 for none
  bool noActivate = false;  // never takes the focus; topmost; clicks pass through
};

class Form : public Window {
 public:
  explicit Form(const FormSpec& design);

  const std::wstring& Name() const { return name_; }
  bool Loaded() const { return Window::hWnd() != nullptr; }

  // Creates the window hidden and runs Form_Load; nothing when loaded.
  void Load();
  // Runs Form_QueryUnload (which may cancel), Form_Unload, then destroys the window.
  void Unload(UnloadMode mode = kFormCode);

  // Touching the window loads the form first, as every property below does.
  HWND hWnd();

  float Left();
  float Top();
  float Width();
  float Height();
  void Left(float twips);
  void Top(float twips);
  void Width(float twips);
  void Height(float twips);
  // All four at once, one placement of the window.
  void Move(float left, float top, float width, float height);
  float ScaleWidth();   // client area, twips
  float ScaleHeight();

  bool Visible();
  void Visible(bool show);
  // Shows the form without taking the focus from whoever has it.
  void ShowNoActivate();


  COLORREF BackColor() const { return backColor_; }
  void BackColor(COLORREF colour);

  bool AutoRedraw() const { return autoRedraw_; }
  void AutoRedraw(bool on);

  // The drawing surface: the persistent image with AutoRedraw, the window's
  // own device context otherwise.
  HDC hDC();
  void Cls();
  // Draws a bitmap at its own size at (x, y) in twips.
  void PaintPicture(HBITMAP picture, float x, float y, DWORD rop = SRCCOPY);

  MousePointer Pointer() const { return pointer_; }
  void Pointer(MousePointer p);

  // Events. Buttons: 1 left, 2 right, 4 middle; positions in twips.
  virtual void Form_Load() {}
  virtual void Form_QueryUnload(int& /*cancel*/, int /*mode*/) {}
  virtual void Form_Unload() {}
  virtual void Form_MouseDown(short /*button*/, short /*shift*/, float /*x*/, float /*y*/) {}
  virtual void Form_MouseMove(short /*button*/, short /*shift*/, float /*x*/, float /*y*/) {}
  virtual void Form_MouseUp(short /*button*/, short /*shift*/, float /*x*/, float /*y*/) {}
  virtual void Form_DblClick() {}

 protected:
  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) noexcept override;
  void OnDetached() noexcept override;
  // Lightweight controls the form draws itself, over its background or image.
  virtual void DrawControls(HDC /*dc*/) {}
  RECT WindowRectPx();

 private:
  void EnsureImage();
  void Dispatch(UINT msg, WPARAM wp, LPARAM lp);
  void MoveWindowPx(int x, int y, int w, int h);

  std::wstring name_;
  std::wstring caption_;
  int iconId_ = 0;
  BorderStyle border_;
  bool showInTaskbar_;
  COLORREF backColor_;
  UniqueBrush backBrush_;
  bool autoRedraw_ = false;
  MemoryDC imageDc_;
  UniqueBitmap image_;
  HGDIOBJ imageOld_ = nullptr;
  SIZE imageSize_{0, 0};
  MousePointer pointer_ = MousePointer::Default;
  bool noActivate_ = false;
  bool unloading_ = false;
};

// Forms currently loaded, in load order.
std::vector<Form*> LoadedForms();

// Shows `form` modally: every other loaded form takes no input until it is
// unloaded; Enter and Esc reach it as IDOK and IDCANCEL commands.
void ShowModal(Form& form);

// A menu item; an item with children is a submenu, caption "-" a separator.
struct MenuItem {
  std::wstring caption;
  bool checked = false;
  bool enabled = true;
  bool visible = true;
  std::vector<MenuItem*> children;
  std::function<void()> click;
};

// Shows the children of `menu` at the mouse position and waits; runs the
// chosen item's click handler before returning.
void PopupMenu(HWND owner, const MenuItem& menu);

}  // namespace tk
