#include "app/Form1.h"

#include "app/Globals.h"
#include "frame/Form3.h"
#include "output/imgctl.h"
#include "shape/mod_RGN_Proc.h"
#include "shape/mod_RGN_UserFunction.h"
#include "toolkit/App.h"
#include "ui/frmMenu.h"

namespace kirasoe {

namespace uf = mod_RGN_UserFunction;

Form1Class& Form1 = *new Form1Class;  // lives until the process ends

Form1Class::Form1Class() : tk::Form({.name = L"Form1", .caption = L"Kirasoe"}) {}

void Form1Class::Form_Load() {
  try {
    imgctl::ImgctlVersion();  // proves that the image library can be called
    uf::SetTopmost(*this, false);
    mod_RGN_Proc::SetFormShape(0, *this, true);
    auto stored = settings::ReadStored([](const std::wstring& key) { return uf::ReadIni(settings::kSection, key); });
    if (stored)
      RestoreStored(*stored);
    else
      ComputeFirstStart();
    Form3.Visible(true);
  } catch (...) {
    tk::MsgBox(L"imgctl.dllが組み込まれていません。");
    tk::End();
  }
}

void Form1Class::RestoreStored(const settings::State& stored) {
  Left(stored.left);
  Top(stored.top);
  LFName = stored.lfName;
  LFPath = stored.lfPath;
  LFType = stored.lfType;
  LineC = stored.lineC;
  SnapX = stored.snap.x;
  SnapY = stored.snap.y;
  SnapW = stored.snap.w;
  SnapH = stored.snap.h;
  frmMenu.mpre().checked = stored.preview;
}

void Form1Class::ComputeFirstStart() {
  auto pos = settings::FirstStartPosition(tk::Screen::Width(), Width(), mod_RGN_Proc::GetUsableScreenHeight(), Height());
  Left(pos.left);
  Top(pos.top);
  // The window's actual position, after rounding to whole pixels.
  auto first = settings::FirstStartState(Left(), Top(), tk::Screen::TwipsPerPixelX(), tk::Screen::TwipsPerPixelY());
  LineC = first.lineC;
  SnapX = first.snap.x;
  SnapY = first.snap.y;
  SnapW = first.snap.w;
  SnapH = first.snap.h;
}

void Form1Class::Form_QueryUnload(int& /*cancel*/, int /*mode*/) {
  settings::State s;
  s.left = Left();
  s.top = Top();
  s.snap = {SnapX, SnapY, SnapW, SnapH};
  s.lfName = LFName;
  s.lfPath = LFPath;
  s.lfType = LFType;
  s.lineC = LineC;
  s.preview = frmMenu.mpre().checked;
  for (const auto& [key, value] : settings::ExitWrites(s)) uf::WriteIni(settings::kSection, key, value);
  uf::UnloadOtherForms(Name());
  tk::End();
}

}  // namespace kirasoe
