// The flash window: a plain window in the highlighted-text colour, shown over
// the capture rectangle for a moment before each capture.
#pragma once

#include "toolkit/Form.h"

namespace kirasoe {

class Form4Class : public tk::Form {
 public:
  Form4Class();
};

extern Form4Class& Form4;

}  // namespace kirasoe
