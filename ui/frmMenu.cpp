#include "ui/frmMenu.h"

#include "app/Globals.h"
#include "frame/Form3.h"
#include "shape/mod_RGN_UserFunction.h"
#include "toolkit/App.h"
#include "ui/frm_Version.h"

namespace kirasoe {

frmMenuClass& frmMenu = *new frmMenuClass;

frmMenuClass::frmMenuClass() : tk::Form({.name = L"frmMenu", .caption = L"frmMenu"}) {
  mpop_.caption = L"mpop";
  mcolor_.caption = L"選択ラインの色";
  const wchar_t* colours[] = {L"黒", L"灰色", L"白"};
  for (int i = 0; i < 3; ++i) {
    mc_[i].caption = colours[i];
    mc_[i].click = [this, i] { mc_Click(i); };
    mcolor_.children.push_back(&mc_[i]);
  }
  mpre_.caption = L"プレビューの表示";
  mpre_.click = [this] { mpre_Click(); };
  sep002_.caption = L"-";
  mver_.caption = L"バージョン情報";
  mver_.click = [this] { mver_Click(); };
  sep001_.caption = L"-";
  mend_.caption = L"終了";
  mend_.click = [this] { mend_Click(); };
  mpop_.children = {&mcolor_, &mpre_, &sep002_, &mver_, &sep001_, &mend_};
}

tk::MenuItem& frmMenuClass::mpop() {
  Load();
  return mpop_;
}
tk::MenuItem& frmMenuClass::mc(int index) {
  Load();
  return mc_[index < 0 || index > 2 ? 1 : index];
}
tk::MenuItem& frmMenuClass::mpre() {
  Load();
  return mpre_;
}

void frmMenuClass::Popup(tk::Form& on) {
  // While the menu is open a hotkey starts nothing; the flag is cleared also
  // when a chosen item's handler fails.
  struct Open {
    bool& flag;
    explicit Open(bool& f) : flag(f) { flag = true; }
    ~Open() { flag = false; }
  } open(open_);
  tk::PopupMenu(on.hWnd(), mpop());
}

void frmMenuClass::mc_Click(int index) {
  for (auto& item : mc_) item.checked = false;
  mc_[index].checked = true;
  Form3.BackColor(FrameColours(index));
  LineC = index;
}

void frmMenuClass::mpre_Click() { mpre_.checked = !mpre_.checked; }

void frmMenuClass::mver_Click() { tk::ShowModal(frm_Version); }

void frmMenuClass::mend_Click() {
  Unload(tk::kFormCode);
  tk::End();
}

void frmMenuClass::Form_QueryUnload(int& /*cancel*/, int /*mode*/) {
  mod_RGN_UserFunction::UnloadOtherForms(Name());
  tk::End();
}

}  // namespace kirasoe
