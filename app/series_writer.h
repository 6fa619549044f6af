// The numbered series: a picture written straight to the last folder, in the
// last type, as the last name followed by the next free number. It is
// written in full under a temporary name first and then given the free
// name, so that nobody ever sees an empty or half-written file, and a name
// taken meanwhile moves on to the next number.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "app/save_flow.h"
#include "app/voice.h"
#include "core/series.h"
#include "core/settings.h"
#include "win/bitmap_buffer.h"

class SeriesWriter {
 public:
  SeriesWriter(settings::State& data, SaveFlow& saves, Voice voice) : data_(data), saves_(saves), voice_(voice) {}

  // The last folder exists and the last name is one a series can have
  // (else the user is told).
  bool Possible();
  // Possible, or made so by choosing a folder and a name in the save
  // dialog; false when the user cancelled.
  bool Choose();

  // A picture on its way into the series.
  struct Write {
    const save_names::FileType* type = nullptr;
    std::wstring folder, name, temporary;
    std::vector<std::wstring> entries;
    win::WriteOutcome failure;  // why the write did not start
  };
  // Starts writing `picture` on the saver's thread under a temporary name.
  Write Start(const win::BitmapBuffer& picture);
  // Waits for it and gives it the next free name: that name, or nothing
  // when it failed (the user has been told).
  std::optional<std::wstring> Finish(const Write& write);

 private:
  std::wstring Name() const;
  // Moves the written file to the next free name of the series.
  std::optional<std::wstring> Claim(const Write& write);

  settings::State& data_;
  SaveFlow& saves_;
  Voice voice_;
};

// Moves `temporary`, a complete file in `folder` (ending in "\\"), to the
// next free name `name`_NNN`extension` there, never replacing a file; a
// name taken meanwhile moves on to the next number. `error` says why a move
// failed.
series::ClaimResult MoveToNextFreeName(const std::wstring& folder, const std::wstring& name,
                                       const std::wstring& extension, const std::wstring& temporary,
                                       const save_names::FoldCase& fold, unsigned long& error);
