// The main window: start-up, the settings, exit.
#pragma once

#include <string>

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

 private:
  void RestoreStored(const settings::State& stored);
  void ComputeFirstStart();
  void KeepReachable();
};

extern Form1Class& Form1;

}  // namespace kirasoe
