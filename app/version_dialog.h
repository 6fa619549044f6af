// The version dialog: icon, name, version, a separator and OK.
#pragma once

#include <string>
#include <vector>

#include "win/handles.h"
#include "win/window.h"

class VersionDialog : public win::Window {
 public:
  explicit VersionDialog(std::wstring title) : title_(std::move(title)) {}
  // Shows the dialog centred on the screen, above everything, and returns
  // when it is closed; `disable` take no input meanwhile.
  void ShowModal(const std::vector<HWND>& disable);

 protected:
  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) noexcept override;

 private:
  bool Make();
  void Paint();
  std::wstring title_;
  win::UniqueFont nameFont_, versionFont_;
  HWND ok_ = nullptr;
};
