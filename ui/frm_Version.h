// The version dialog: icon, name, version, a separator and OK.
#pragma once

#include "toolkit/Form.h"
#include "toolkit/Handles.h"

namespace kirasoe {

class frm_VersionClass : public tk::Form {
 public:
  frm_VersionClass();
  void Form_Load() override;
  void Form_Unload() override;
  void Command1_Click();

 protected:
  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) noexcept override;
  void DrawControls(HDC dc) override;

 private:
  tk::UniqueFont nameFont_, versionFont_, buttonFont_;
  HWND command1_ = nullptr;
};

extern frm_VersionClass& frm_Version;

}  // namespace kirasoe
