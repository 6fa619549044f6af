// The main window: start-up, the settings, exit.
#pragma once

#include <string>

#include "app/SaveFlow.h"
#include "app/Settings.h"
#include "toolkit/Form.h"
#include "toolkit/PictureBox.h"

namespace kirasoe {

class Form1Class : public tk::Form {
 public:
  Form1Class();
  void Form_Load() override;
  void Form_QueryUnload(int& cancel, int mode) override;
  void Form_MouseDown(short button, short shift, float x, float y) override;
  void Form_MouseMove(short button, short shift, float x, float y) override;
  void Form_MouseUp(short button, short shift, float x, float y) override;
  void Form_DblClick() override;

  // The capture sequence, from the flash to the end; `quick` saves without a
  // dialog under the next number of a series.
  void RunCapture(bool quick);
  // Quick capture: the picture goes straight to the remembered folder and
  // type; without a folder that exists the normal dialog opens instead.
  void QuickCapture();
  bool SaveQuick();
  // The capture buffer written as `type` to `path`; true when the file is there.
  bool WriteCapture(const saveflow::FileType& type, const std::wstring& path);
  // A capture, a dialog of ours or the menu is under way.
  bool Busy();
  void ShowCaptureFlash();
  void CaptureArea();
  // Hides the own windows, copies the capture rectangle into Picture1, shows
  // them again and puts the picture on the clipboard; false for an empty area.
  bool CopyScreenArea();
  void SaveCapture();
  void ShowPreview();
  void HidePreview();

  std::wstring ButtonState;         // "DOWN" from a left press until a drag starts or a release
  std::int32_t DownX = 0, DownY = 0;  // cursor at the last left press, screen twips
  HWND PrevForeground = nullptr;    // the window the focus goes back to after a capture
  float Capturing = 0;              // 1 while a capture runs

  tk::PictureBox Picture1;  // the capture buffer, never seen

 protected:
  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) noexcept override;

 private:
  void OnHotKey(int id);
  bool OnKeyDown(WPARAM key);
  void RestoreStored(const settings::State& stored);
  void ComputeFirstStart();
  void KeepReachable();
};

extern Form1Class& Form1;

}  // namespace kirasoe
