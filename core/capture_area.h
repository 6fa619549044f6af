// The capture rectangle: kept in twips, as the settings file holds it, and
// shown in pixels. This is the one place where the stored rectangle is
// converted; what the user did not change keeps the twips it was read with,
// so that a file written at another scale does not drift. Pure C++.
#pragma once

#include "core/geometry.h"
#include "core/settings.h"
#include "core/twips.h"

class CaptureArea {
 public:
  CaptureArea() = default;
  CaptureArea(const settings::TwipsRect& stored, twips::Scale scale);

  const settings::TwipsRect& Stored() const { return stored_; }
  const geometry::Rect& Pixels() const { return pixels_; }
  twips::Scale Scale() const { return scale_; }
  // No area set: a width or a height of 0 twips.
  bool Empty() const { return stored_.w == 0 || stored_.h == 0; }

  // The rectangle the user chose on screen. An edge or size whose pixel did
  // not change keeps its twips.
  void Set(const geometry::Rect& pixels);

 private:
  settings::TwipsRect stored_;
  geometry::Rect pixels_;
  twips::Scale scale_;
};
