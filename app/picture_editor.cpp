#include "app/picture_editor.h"

#include <windowsx.h>

#include <algorithm>
#include <array>
#include <utility>

#include "core/placement.h"
#include "resources/resource.h"
#include "win/clipboard.h"
#include "win/failure_log.h"
#include "win/screen.h"
#include "win/still_screen.h"

namespace {

using geometry::Point;
using geometry::Rect;

// The tools in the menu's order, with the key of each; index 0 selects.
struct ToolEntry {
  std::optional<marks::Tool> tool;
  texts::Id text;
  WPARAM key;
};
const std::array<ToolEntry, 10> kTools{{{std::nullopt, texts::Id::ToolSelect, 'V'},
                                        {marks::Tool::Rectangle, texts::Id::ToolRectangle, 'R'},
                                        {marks::Tool::Arrow, texts::Id::ToolArrow, 'A'},
                                        {marks::Tool::Line, texts::Id::ToolLine, 'L'},
                                        {marks::Tool::Pen, texts::Id::ToolPen, 'P'},
                                        {marks::Tool::Highlighter, texts::Id::ToolHighlighter, 'H'},
                                        {marks::Tool::Text, texts::Id::ToolText, 'T'},
                                        {marks::Tool::Number, texts::Id::ToolNumber, 'N'},
                                        {marks::Tool::Hide, texts::Id::ToolHide, 'B'},
                                        {marks::Tool::Crop, texts::Id::ToolCrop, 'C'}}};

struct ColourEntry {
  std::uint32_t rgb;
  texts::Id text;
};
constexpr std::array<ColourEntry, 6> kColours{{{0x000000, texts::Id::Black},
                                               {0x808080, texts::Id::Grey},
                                               {0xFFFFFF, texts::Id::White},
                                               {0xFF0000, texts::Id::Red},
                                               {0xFFFF00, texts::Id::Yellow},
                                               {0x0000FF, texts::Id::Blue}}};

constexpr WORD kToolBase = 1000, kColourBase = 1100, kWidthBase = 1200, kUndo = 1300, kRedo = 1301,
               kDelete = 1302, kKeepMask = 1303, kZoomIn = 1400, kZoomOut = 1401, kActualSize = 1402,
               kSave = 1500, kCopy = 1501, kClose = 1502;
constexpr std::int32_t kHandle = 4;  // half the side of a selected mark's corner handles

Rect Union(const Rect& a, const Rect& b) {
  if (a.Width() <= 0 || a.Height() <= 0) return b;
  if (b.Width() <= 0 || b.Height() <= 0) return a;
  return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right), std::max(a.bottom, b.bottom)};
}

}  // namespace

PictureEditor::Outcome PictureEditor::Edit(const win::BitmapBuffer& picture, Point at, win::BitmapBuffer& edited) {
  if (!Begin(picture, at, edited)) return Outcome::Closed;
  return Wait();
}

bool PictureEditor::Begin(const win::BitmapBuffer& picture, Point at, win::BitmapBuffer& edited) {
  if (editing_) return false;
  if (!canvas_.Load(picture)) {
    needs_.voice.Tell(Say(texts::Id::NotEnoughMemory));
    return false;
  }
  doc_ = {};
  selected_.reset();
  drag_ = {};
  zoom_ = 100;
  scroll_ = {};
  edited_ = &edited;
  outcome_ = Outcome::Closed;
  done_ = false;
  if (!Open(at)) return false;
  editing_ = true;
  return true;
}

PictureEditor::Outcome PictureEditor::Wait() {
  while (!done_) {
    MSG msg;
    const BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
    if (got <= 0) {
      // The end of the program: the loop above must see it too.
      if (got == 0) ::PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    if (TextKey(msg)) continue;
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
  editing_ = false;
  EndText(false);
  // Gone from the screen before what comes next: the save dialog must get
  // the keyboard.
  Hide();
  win::PumpPending();
  canvas_.Release();  // the memory goes back
  return outcome_;
}

namespace {
// No scroll bars: Wine draws a window with them at half the speed; the
// wheel, Shift+wheel, the arrow keys and a drag with the middle button move
// a picture larger than the window.
constexpr DWORD kStyle = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
// Above the frame, whose ring would cover the picture's edge. A window
// manager gives the keyboard to a window of this kind (a dialog's frame) as
// soon as it shows, as it does to the save dialog.
constexpr DWORD kExStyle = WS_EX_DLGMODALFRAME | WS_EX_TOPMOST;
}  // namespace

bool PictureEditor::Make() {
  HICON icon = ::LoadIconW(win::Instance(), MAKEINTRESOURCEW(IDI_KIRASOE));
  return Create({.className = L"Kirasoe.Editor", .style = kStyle, .exStyle = kExStyle, .classStyle = 0,
                 .owner = needs_.owner.hwnd(), .icon = icon});
}

bool PictureEditor::Open(Point at) {
  // Made once and kept hidden between uses, as the preview is.
  if (!Exists() && !Make()) return false;
  // The texts in the language of the moment.
  if (!::GetMenu(hwnd()) || menuLanguage_ != needs_.voice.Language()) {
    menuLanguage_ = needs_.voice.Language();
    ::SetWindowTextW(hwnd(), Say(texts::Id::EditorTitle).c_str());
    HMENU before = ::GetMenu(hwnd());
    ::SetMenu(hwnd(), BuildMenu());
    if (before) ::DestroyMenu(before);
  }
  UpdateChecks();
  // The client area the picture's size, its top left pixel at `at`; wide
  // enough for the menu bar on one line.
  const int dpi = win::MonitorAt(at).dpi;
  const int width = std::max(canvas_.Width(), ::MulDiv(460, dpi, 96));
  const int height = std::max(canvas_.Height(), ::MulDiv(120, dpi, 96));
  RECT r{at.x, at.y, at.x + width, at.y + height};
  ::AdjustWindowRectEx(&r, kStyle, TRUE, kExStyle);
  const Rect wanted{r.left, r.top, r.right, r.bottom};
  const Rect placed = placement::FitInside(wanted, win::WorkAreaNear(wanted));
  if (Bounds() != placed) Place(placed);
  Relayout();
  Show();
  ::SetForegroundWindow(hwnd());
  return true;
}

HMENU PictureEditor::BuildMenu() const {
  HMENU bar = ::CreateMenu(), tools = ::CreatePopupMenu(), colours = ::CreatePopupMenu(),
        widths = ::CreatePopupMenu(), edit = ::CreatePopupMenu(), view = ::CreatePopupMenu();
  for (std::size_t i = 0; i < kTools.size(); ++i)
    ::AppendMenuW(tools, MF_STRING, kToolBase + i, Say(kTools[i].text).c_str());
  for (std::size_t i = 0; i < kColours.size(); ++i)
    ::AppendMenuW(colours, MF_STRING, kColourBase + i, Say(kColours[i].text).c_str());
  for (int w = 1; w <= 8; ++w)
    ::AppendMenuW(widths, MF_STRING, kWidthBase + w,
                  texts::Format(texts::Id::WidthPixels, needs_.voice.Language(), {std::to_wstring(w)}).c_str());
  ::AppendMenuW(edit, MF_STRING, kUndo, Say(texts::Id::Undo).c_str());
  ::AppendMenuW(edit, MF_STRING, kRedo, Say(texts::Id::Redo).c_str());
  ::AppendMenuW(edit, MF_STRING, kDelete, Say(texts::Id::DeleteMark).c_str());
  ::AppendMenuW(edit, MF_SEPARATOR, 0, nullptr);
  ::AppendMenuW(edit, MF_STRING, kKeepMask, (Say(texts::Id::KeepMask) + L"\tCtrl+M").c_str());
  ::AppendMenuW(view, MF_STRING, kZoomIn, Say(texts::Id::ZoomIn).c_str());
  ::AppendMenuW(view, MF_STRING, kZoomOut, Say(texts::Id::ZoomOut).c_str());
  ::AppendMenuW(view, MF_STRING, kActualSize, Say(texts::Id::ActualSize).c_str());
  const std::pair<HMENU, texts::Id> popups[] = {{tools, texts::Id::ToolsMenu}, {colours, texts::Id::ColourMenu},
                                                {widths, texts::Id::WidthMenu}, {edit, texts::Id::EditMenu},
                                                {view, texts::Id::ViewMenu}};
  for (const auto& [popup, text] : popups)
    ::AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(popup), Say(text).c_str());
  ::AppendMenuW(bar, MF_STRING, kSave, Say(texts::Id::SaveButton).c_str());
  ::AppendMenuW(bar, MF_STRING, kCopy, Say(texts::Id::CopyButton).c_str());
  ::AppendMenuW(bar, MF_STRING, kClose, Say(texts::Id::CloseButton).c_str());
  return bar;
}

void PictureEditor::UpdateChecks() const {
  HMENU menu = ::GetMenu(hwnd());
  if (!menu) return;
  ::CheckMenuRadioItem(menu, kToolBase, kToolBase + kTools.size() - 1, kToolBase + tool_, MF_BYCOMMAND);
  for (std::size_t i = 0; i < kColours.size(); ++i)
    if (kColours[i].rgb == colour_)
      ::CheckMenuRadioItem(menu, kColourBase, kColourBase + kColours.size() - 1, kColourBase + i, MF_BYCOMMAND);
  ::CheckMenuRadioItem(menu, kWidthBase + 1, kWidthBase + 8, kWidthBase + width_, MF_BYCOMMAND);
}

void PictureEditor::Finish(Outcome outcome) {
  outcome_ = outcome;
  done_ = true;
  // The loop waits for a message to see it.
  if (Exists()) ::PostMessageW(hwnd(), WM_NULL, 0, 0);
}

LRESULT PictureEditor::OnMessage(UINT msg, WPARAM wp, LPARAM lp) noexcept {
  try {
    const Point client{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
    switch (msg) {
      case WM_ERASEBKGND: return 1;
      case WM_PAINT: Paint(); return 0;
      case WM_SIZE: Relayout(); return 0;
      case WM_COMMAND:
        // The text field's notifications are not commands.
        if (lp == 0) OnCommand(LOWORD(wp));
        return 0;
      case WM_KEYDOWN:
        if (OnKey(wp)) return 0;
        break;
      case WM_LBUTTONDOWN: OnPress(client); return 0;
      case WM_MOUSEMOVE: OnMove(client, wp & MK_MBUTTON); return 0;
      case WM_LBUTTONUP: OnRelease(); return 0;
      case WM_CAPTURECHANGED: OnRelease(); return 0;
      case WM_MBUTTONDOWN: StartPan(client); return 0;
      case WM_MBUTTONUP:
        if (drag_.kind == DragKind::None && ::GetCapture() == hwnd()) ::ReleaseCapture();
        return 0;
      case WM_MOUSEWHEEL:
        OnWheel(GET_WHEEL_DELTA_WPARAM(wp), GET_KEYSTATE_WPARAM(wp) & MK_CONTROL, GET_KEYSTATE_WPARAM(wp) & MK_SHIFT);
        return 0;
      case WM_SETCURSOR:
        if (LOWORD(lp) != HTCLIENT) break;
        ::SetCursor(::LoadCursorW(nullptr, tool_ == 0 ? IDC_ARROW : IDC_CROSS));
        return TRUE;
      case WM_CLOSE: Finish(Outcome::Closed); return 0;
      default: break;
    }
  } catch (...) {
    // A handler's failure must not unwind through the system.
    win::LogCurrentException(L"editor");
    needs_.voice.Tell(win::CurrentExceptionText());
  }
  return Default(msg, wp, lp);
}

void PictureEditor::OnCommand(WORD id) {
  EndText(true);
  if (id >= kToolBase && id < kToolBase + kTools.size()) return ChooseTool(id - kToolBase);
  if (id >= kColourBase && id < kColourBase + kColours.size()) colour_ = kColours[id - kColourBase].rgb;
  if (id > kWidthBase && id <= kWidthBase + 8) width_ = id - kWidthBase;
  switch (id) {
    case kUndo: case kRedo:
      if (id == kUndo ? doc_.Undo() : doc_.Redo()) {
        selected_.reset();
        RefreshAll();
      }
      break;
    case kDelete:
      if (selected_) {
        doc_.Remove(*selected_);
        selected_.reset();
        RefreshAll();
      }
      break;
    case kKeepMask: KeepMask(); break;
    case kZoomIn: SetZoom(marks::NextZoom(zoom_, true)); break;
    case kZoomOut: SetZoom(marks::NextZoom(zoom_, false)); break;
    case kActualSize: SetZoom(100); break;
    case kSave: Save(); break;
    case kCopy: Copy(); break;
    case kClose: Finish(Outcome::Closed); break;
    default: break;
  }
  UpdateChecks();
}

bool PictureEditor::OnKey(WPARAM key) {
  const bool control = ::GetKeyState(VK_CONTROL) < 0;
  if (control) {
    const std::pair<WPARAM, WORD> keys[] = {{'Z', kUndo}, {'Y', kRedo}, {'S', kSave}, {'M', kKeepMask},
                                            {'C', kCopy}, {'0', kActualSize}, {VK_OEM_PLUS, kZoomIn},
                                            {VK_OEM_MINUS, kZoomOut}};
    for (const auto& [k, command] : keys)
      if (k == key) return OnCommand(command), true;
    return false;
  }
  if (key == VK_ESCAPE) {
    if (drag_.kind == DragKind::None) return Finish(Outcome::Closed), true;
    // Esc during a drag drops what is being drawn or moved.
    drag_ = {};
    ::ReleaseCapture();
    RefreshAll();
    return true;
  }
  if (key == VK_DELETE) return OnCommand(kDelete), true;
  const std::pair<WPARAM, Point> arrows[] = {{VK_LEFT, {-40, 0}}, {VK_RIGHT, {40, 0}}, {VK_UP, {0, -40}}, {VK_DOWN, {0, 40}}};
  for (const auto& [k, step] : arrows)
    if (k == key) return ScrollBy(step.x, step.y), true;
  if (key >= '1' && key <= '8') return OnCommand(static_cast<WORD>(kWidthBase + (key - '0'))), true;
  for (std::size_t i = 0; i < kTools.size(); ++i)
    if (kTools[i].key == key) return OnCommand(static_cast<WORD>(kToolBase + i)), true;
  return false;
}

void PictureEditor::ChooseTool(int index) {
  tool_ = index;
  if (tool_ != 0 && selected_) {
    selected_.reset();
    RefreshAll();
  }
  UpdateChecks();
}

void PictureEditor::PointerAt(Point client, bool pressed) {
  if (pressed && drag_.kind == DragKind::None) OnPress(client);
  else if (pressed) OnMove(client, false);
  else OnRelease();
  ::UpdateWindow(hwnd());
}

void PictureEditor::OnPress(Point client) {
  if (textField_) return EndText(true);
  const Point at = ToPicture(client);
  const std::optional<marks::Tool> tool = kTools[static_cast<std::size_t>(tool_)].tool;
  if (!tool) return StartSelecting(at, client);
  if (*tool == marks::Tool::Text) return StartText(at);
  const marks::Mark mark{*tool, colour_, width_, {at, at}, L""};
  if (*tool == marks::Tool::Number) return Commit({*tool, colour_, width_, {at}, L""});
  drag_ = {DragKind::Draw, at, mark, 0, {}, false, false};
  if (*tool == marks::Tool::Pen || *tool == marks::Tool::Highlighter) drag_.draft.points.pop_back();
  ::SetCapture(hwnd());
  Refresh(marks::Bounds(drag_.draft));
}

void PictureEditor::StartSelecting(Point at, Point client) {
  // A corner handle of the mark selected resizes it.
  if (selected_) {
    const marks::Mark& mark = doc_.Marks()[*selected_];
    const Rect box = ToClient(marks::Bounds(mark));
    for (bool right : {false, true})
      for (bool bottom : {false, true}) {
        const Point corner{right ? box.right : box.left, bottom ? box.bottom : box.top};
        if (std::abs(client.x - corner.x) > kHandle || std::abs(client.y - corner.y) > kHandle) continue;
        drag_ = {DragKind::Resize, at, mark, *selected_, marks::Box(mark), right, bottom};
        ::SetCapture(hwnd());
        return;
      }
  }
  const Rect before = selected_ ? marks::Bounds(doc_.Marks()[*selected_]) : Rect{};
  selected_ = doc_.HitTest(at, std::max(2, kHandle * 100 / zoom_));
  if (selected_) {
    drag_ = {DragKind::Move, at, doc_.Marks()[*selected_], *selected_, {}, false, false};
    ::SetCapture(hwnd());
  }
  Refresh(Union(before, selected_ ? marks::Bounds(doc_.Marks()[*selected_]) : Rect{}));
}

void PictureEditor::OnMove(Point client, bool panning) {
  if (panning && drag_.kind == DragKind::None) {
    scroll_ = {panFrom_.x - client.x, panFrom_.y - client.y};
    return Relayout();
  }
  if (drag_.kind == DragKind::None) return;
  const Point at = ToPicture(client);
  const marks::Mark before = drag_.draft;
  marks::Mark& draft = drag_.draft;
  if (drag_.kind == DragKind::Draw) {
    const bool stroke = draft.tool == marks::Tool::Pen || draft.tool == marks::Tool::Highlighter;
    if (stroke && draft.points.back() == at) return;
    if (stroke) draft.points.push_back(at);
    else draft.points[1] = at;
  } else if (drag_.kind == DragKind::Move) {
    draft = marks::Moved(doc_.Marks()[drag_.index], at.x - drag_.from.x, at.y - drag_.from.y);
  } else {
    const Rect b = drag_.anchorBox;
    const Point fixed{drag_.right ? b.left : b.right - 1, drag_.bottom ? b.top : b.bottom - 1};
    const Rect to{std::min(fixed.x, at.x), std::min(fixed.y, at.y), std::max(fixed.x, at.x) + 1,
                  std::max(fixed.y, at.y) + 1};
    draft = marks::Resized(doc_.Marks()[drag_.index], to);
  }
  // Only what the move changed is drawn again.
  for (const Rect& part : marks::Changed(before, draft)) Refresh(part);
}

void PictureEditor::OnRelease() {
  if (drag_.kind == DragKind::None) return;
  const Drag done = drag_;
  drag_ = {};
  if (::GetCapture() == hwnd()) ::ReleaseCapture();
  if (done.kind == DragKind::Draw) return Commit(done.draft);
  const marks::Mark& before = doc_.Marks()[done.index];
  if (done.draft == before) return Refresh(marks::Bounds(before));
  const Rect region = Union(marks::Bounds(before), marks::Bounds(done.draft));
  if (done.kind == DragKind::Move) {
    const Point moved{done.draft.points[0].x - before.points[0].x, done.draft.points[0].y - before.points[0].y};
    doc_.Move(done.index, moved.x, moved.y);
  } else {
    doc_.Resize(done.index, marks::Box(done.draft));
  }
  Refresh(region);
}

void PictureEditor::Commit(const marks::Mark& draft) {
  const bool box = draft.tool != marks::Tool::Pen && draft.tool != marks::Tool::Highlighter &&
                   draft.tool != marks::Tool::Number && draft.tool != marks::Tool::Text;
  // A click with a tool of two points draws nothing.
  if (box && draft.points.size() == 2 && draft.points[0] == draft.points[1]) return Refresh(marks::Bounds(draft));
  doc_.Add(draft);
  if (draft.tool == marks::Tool::Crop) return RefreshAll();
  Refresh(marks::Bounds(draft));
}

void PictureEditor::StartText(Point at) {
  EndText(true);
  const Rect shown = ToClient(geometry::RectAt(at.x, at.y, 1, marks::TextHeight(width_)));
  textFont_ = win::UiFont(shown.Height());
  textField_ = ::CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL, shown.left - 2,
                                 shown.top - 2, std::max(200, shown.Height() * 8), shown.Height() + 4, hwnd(), nullptr,
                                 win::Instance(), nullptr);
  if (!textField_) return;
  ::SendMessageW(textField_, WM_SETFONT, reinterpret_cast<WPARAM>(textFont_.get()), FALSE);
  textAt_ = at;
  ::SetFocus(textField_);
}

bool PictureEditor::TextKey(const MSG& msg) {
  if (!textField_ || msg.hwnd != textField_ || msg.message != WM_KEYDOWN) return false;
  if (msg.wParam != VK_RETURN && msg.wParam != VK_ESCAPE) return false;
  EndText(msg.wParam == VK_RETURN);
  return true;
}

void PictureEditor::EndText(bool keep) {
  if (!textField_) return;
  const int length = ::GetWindowTextLengthW(textField_);
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  text.resize(static_cast<std::size_t>(::GetWindowTextW(textField_, text.data(), length + 1)));
  HWND field = std::exchange(textField_, nullptr);
  ::DestroyWindow(field);
  textFont_.reset();
  if (Exists()) ::SetFocus(hwnd());
  if (!keep || text.empty()) return;
  const Rect box = canvas_.TextBox(text, marks::TextHeight(width_), textAt_);
  Commit({marks::Tool::Text, colour_, width_, {{box.left, box.top}, {box.right - 1, box.bottom - 1}}, text});
}

void PictureEditor::KeepMask() {
  std::optional<std::size_t> hide;
  if (selected_ && doc_.Marks()[*selected_].tool == marks::Tool::Hide) hide = selected_;
  for (std::size_t i = doc_.Marks().size(); !hide && i-- > 0;)
    if (doc_.Marks()[i].tool == marks::Tool::Hide) hide = i;
  if (!hide) return needs_.voice.Tell(Say(texts::Id::KeepMaskNeedsHide));
  const marks::Mark& mark = doc_.Marks()[*hide];
  needs_.keepMask({marks::Box(mark), mark.colour});
}

void PictureEditor::Save() {
  if (!canvas_.CopyOut(Crop(), *edited_)) return needs_.voice.Tell(Say(texts::Id::NotEnoughMemory));
  Finish(Outcome::Saved);
}

void PictureEditor::Copy() {
  // The picture offered before is about to change.
  win::clipboard::Withdraw();
  if (!canvas_.CopyOut(Crop(), *edited_)) return needs_.voice.Tell(Say(texts::Id::NotEnoughMemory));
  if (!win::clipboard::Offer(*edited_)) needs_.voice.Tell(Say(texts::Id::ClipboardFailed));
}

std::vector<marks::Mark> PictureEditor::Shown() const {
  std::vector<marks::Mark> shown = doc_.Marks();
  if (drag_.kind == DragKind::Draw && drag_.draft.tool != marks::Tool::Crop) shown.push_back(drag_.draft);
  if (drag_.kind == DragKind::Move || drag_.kind == DragKind::Resize) shown[drag_.index] = drag_.draft;
  return shown;
}

Rect PictureEditor::Crop() const { return marks::CropOf(doc_.Marks(), canvas_.Width(), canvas_.Height()); }

Point PictureEditor::ToPicture(Point client) const {
  const Rect crop = Crop();
  const auto back = [this](std::int32_t v) {
    const std::int64_t scaled = static_cast<std::int64_t>(v) * 100;
    return static_cast<std::int32_t>(scaled >= 0 ? scaled / zoom_ : (scaled - zoom_ + 1) / zoom_);
  };
  return {crop.left + back(client.x + scroll_.x), crop.top + back(client.y + scroll_.y)};
}

Rect PictureEditor::ToClient(const Rect& picture) const {
  const Rect crop = Crop();
  const auto down = [this](std::int32_t v) { return static_cast<std::int32_t>(static_cast<std::int64_t>(v) * zoom_ / 100); };
  const auto up = [this](std::int32_t v) {
    return static_cast<std::int32_t>((static_cast<std::int64_t>(v) * zoom_ + 99) / 100);
  };
  return {down(picture.left - crop.left) - scroll_.x, down(picture.top - crop.top) - scroll_.y,
          up(picture.right - crop.left) - scroll_.x, up(picture.bottom - crop.top) - scroll_.y};
}

Rect PictureEditor::ClientSize() const {
  RECT c{};
  ::GetClientRect(hwnd(), &c);
  return {0, 0, c.right, c.bottom};
}

void PictureEditor::Refresh(const Rect& r) {
  if (r.Width() <= 0 || r.Height() <= 0) return;
  if (!canvas_.Compose(Shown(), r)) return needs_.voice.Tell(Say(texts::Id::NotEnoughMemory));
  // The handles of a selected mark stand a little outside it.
  const Rect shown = ToClient(r);
  const RECT dirty{shown.left - kHandle - 1, shown.top - kHandle - 1, shown.right + kHandle + 1,
                   shown.bottom + kHandle + 1};
  ::InvalidateRect(hwnd(), &dirty, FALSE);
}

void PictureEditor::RefreshAll() {
  if (!canvas_.Compose(Shown(), {0, 0, canvas_.Width(), canvas_.Height()}))
    return needs_.voice.Tell(Say(texts::Id::NotEnoughMemory));
  Relayout();
}

void PictureEditor::Paint() {
  PAINTSTRUCT ps;
  HDC dc = ::BeginPaint(hwnd(), &ps);
  const Rect crop = Crop();
  const Rect shown = ToClient(crop);
  const int saved = ::SaveDC(dc);
  // Above 100 % every pixel is a sharp square; below, the picture is smoothed.
  ::SetStretchBltMode(dc, zoom_ < 100 ? HALFTONE : COLORONCOLOR);
  ::SetBrushOrgEx(dc, 0, 0, nullptr);
  if (zoom_ == 100)
    ::BitBlt(dc, shown.left, shown.top, shown.Width(), shown.Height(), canvas_.dc(), crop.left, crop.top, SRCCOPY);
  else
    ::StretchBlt(dc, shown.left, shown.top, shown.Width(), shown.Height(), canvas_.dc(), crop.left, crop.top,
                 crop.Width(), crop.Height(), SRCCOPY);
  ::ExcludeClipRect(dc, shown.left, shown.top, shown.right, shown.bottom);
  ::FillRect(dc, &ps.rcPaint, ::GetSysColorBrush(COLOR_APPWORKSPACE));
  ::RestoreDC(dc, saved);
  PaintOverlay(dc);
  ::EndPaint(hwnd(), &ps);
}

void PictureEditor::PaintOverlay(HDC dc) const {
  // What is not in the picture: the crop being drawn, the selected mark.
  if (drag_.kind == DragKind::Draw && drag_.draft.tool == marks::Tool::Crop) {
    const Rect r = ToClient(marks::Box(drag_.draft));
    const RECT rect{r.left, r.top, r.right, r.bottom};
    ::DrawFocusRect(dc, &rect);
  }
  if (!selected_ || *selected_ >= doc_.Marks().size()) return;
  const Rect r = ToClient(marks::Bounds(drag_.kind != DragKind::None ? drag_.draft : doc_.Marks()[*selected_]));
  const RECT rect{r.left, r.top, r.right, r.bottom};
  ::DrawFocusRect(dc, &rect);
  for (Point c : {Point{r.left, r.top}, Point{r.right, r.top}, Point{r.left, r.bottom}, Point{r.right, r.bottom}}) {
    const RECT handle{c.x - kHandle, c.y - kHandle, c.x + kHandle, c.y + kHandle};
    ::FillRect(dc, &handle, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
    ::FrameRect(dc, &handle, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
  }
}

void PictureEditor::Relayout() {
  if (!Exists()) return;
  const Rect crop = Crop(), client = ClientSize();
  const std::int32_t width = static_cast<std::int32_t>(static_cast<std::int64_t>(crop.Width()) * zoom_ / 100);
  const std::int32_t height = static_cast<std::int32_t>(static_cast<std::int64_t>(crop.Height()) * zoom_ / 100);
  scroll_ = {std::clamp(scroll_.x, 0, std::max(0, width - client.Width())),
             std::clamp(scroll_.y, 0, std::max(0, height - client.Height()))};
  ::InvalidateRect(hwnd(), nullptr, FALSE);
}

void PictureEditor::StartPan(Point client) {
  panFrom_ = {client.x + scroll_.x, client.y + scroll_.y};
  ::SetCapture(hwnd());
}

void PictureEditor::ScrollBy(std::int32_t dx, std::int32_t dy) {
  EndText(true);
  scroll_ = {scroll_.x + dx, scroll_.y + dy};
  Relayout();
}

void PictureEditor::OnWheel(short delta, bool control, bool shift) {
  EndText(true);
  if (control) return SetZoom(marks::NextZoom(zoom_, delta > 0));
  const std::int32_t step = -delta * 60 / WHEEL_DELTA;
  ScrollBy(shift ? step : 0, shift ? 0 : step);
}

void PictureEditor::SetZoom(std::int32_t percent) {
  if (percent == zoom_) return;
  // The pixel in the middle of the window stays there.
  const Rect client = ClientSize();
  const Point middle = ToPicture({client.Width() / 2, client.Height() / 2});
  const Rect crop = Crop();
  zoom_ = percent;
  scroll_ = {static_cast<std::int32_t>(static_cast<std::int64_t>(middle.x - crop.left) * zoom_ / 100) - client.Width() / 2,
             static_cast<std::int32_t>(static_cast<std::int64_t>(middle.y - crop.top) * zoom_ / 100) - client.Height() / 2};
  Relayout();
}
