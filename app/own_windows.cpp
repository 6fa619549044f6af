#include "app/own_windows.h"

#include "core/frame_model.h"
#include "win/screen.h"

namespace {

// The ring shows that a watch or a recording runs.
constexpr COLORREF kKeptOffColour = RGB(230, 0, 0);

}  // namespace

void OwnWindows::StepAside() {
  notice.Hide();
  sizeLabel.Hide();
  statusLabel.Hide();
  camera.Hide();
  frame.Hide();
}

void OwnWindows::ComeBack() {
  // The camera comes back active, so that the save dialog it owns has the
  // keys; a window manager that places it anew meanwhile is undone by the
  // camera itself.
  camera.Show();
  frame.Show();
}

std::vector<geometry::Rect> OwnWindows::Shown() const {
  std::vector<geometry::Rect> shown;
  for (const win::Window* w : std::initializer_list<const win::Window*>{&camera, &notice, &sizeLabel, &statusLabel,
                                                                        &preview})
    if (w->Exists() && w->Visible()) shown.push_back(w->Bounds());
  return shown;
}

void OwnWindows::KeepOff(const CaptureArea& area) {
  bool changed = false;
  if (!keepingOff_) {
    keepingOff_ = changed = true;
    frame.SetColour(kKeptOffColour);
    frame.ShowOutside(true, area);
  }
  // The hotkeys and the frame's own menu still reach the program.
  for (win::Window* w : std::initializer_list<win::Window*>{&camera, &preview, &notice, &sizeLabel}) {
    if (!w->Exists() || !w->Visible() || !geometry::Intersects(w->Bounds(), area.Pixels())) continue;
    w->Hide();
    hidden_.push_back(w);
    changed = true;
  }
  if (!changed) return;
  // The ring on the area's edge and the windows over it must have left the
  // screen before the next picture is taken.
  win::PumpPending();
  win::SettleScreen();
  win::PumpPending();
}

void OwnWindows::GiveBack(const CaptureArea& area, COLORREF colour) {
  if (!keepingOff_) return;
  keepingOff_ = false;
  statusLabel.Hide();
  frame.ShowOutside(false, area);
  frame.SetColour(colour);
  for (win::Window* w : hidden_) w->Show();
  hidden_.clear();
}

void OwnWindows::ShowNotice(const std::wstring& file) { notice.ShowText(file, camera.Bounds(), frame.Bounds(), 1500); }

void OwnWindows::ShowSize(const CaptureArea& area) {
  const geometry::Rect beside = frame.Bounds();
  sizeLabel.ShowText(frame::SizeText(area.Pixels().Width(), area.Pixels().Height()), beside, beside, 1000);
}

void OwnWindows::ShowStatus(const std::wstring& text) {
  // It stays while the watch or the recording runs.
  constexpr unsigned kUntilHidden = 0x7FFFFFFF;
  const geometry::Rect beside = frame.Bounds();
  statusLabel.ShowText(text, beside, beside, kUntilHidden);
}
