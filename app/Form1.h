// The main window: start-up, the settings, exit.
#pragma once

#include "app/Settings.h"
#include "toolkit/Form.h"

namespace kirasoe {

class Form1Class : public tk::Form {
 public:
  Form1Class();
  void Form_Load() override;
  void Form_QueryUnload(int& cancel, int mode) override;

 private:
  void RestoreStored(const settings::State& stored);
  void ComputeFirstStart();
};

extern Form1Class& Form1;

}  // namespace kirasoe
