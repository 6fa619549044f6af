// The settings file as the program keeps it for the run: its sections
// ("Data", "Frames" with "FrameMasks", "Options", "Watch", "Record",
// "Masks") read once at start, and at exit written once, each section only
// as far as it must be.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/change_watch.h"
#include "core/kept_frames.h"
#include "core/masks.h"
#include "core/options.h"
#include "core/recording.h"
#include "core/settings.h"

namespace settings {

// One key of the file at a time; the program's file access.
class File {
 public:
  // Empty when missing.
  virtual std::wstring Read(const std::wstring& section, const std::wstring& key) = 0;
  // nullopt removes the key; false when the key could not be written.
  virtual bool Write(const std::wstring& section, const std::wstring& key, const Text& value) = 0;

 protected:
  ~File() = default;
};

class Store {
 public:
  explicit Store(File& file) : file_(file) {}
  Store(const Store&) = delete;
  Store& operator=(const Store&) = delete;

  // Reads the sections; false when no settings are stored (a first start:
  // `data` is then for the caller to set).
  bool Read();
  // Writes "Data", then the other sections when they differ
  // from what was read (a file whose frames or options were never touched
  // is left as it was), then the preview's position when it was shown.
  // Stops at the first key that cannot be written: false.
  bool Write(const std::optional<Position>& previewAt);

  State data;                // "Data"
  Position preview;          // the preview's position as read ("X2", "Y2")
  kept_frames::List kept;    // "Frames"
  options::Options options;  // "Options"
  change_watch::Settings watch;  // "Watch"
  recording::Settings record;    // "Record"
  masks::List masks;             // "Masks": what every picture of the frame hides

 private:
  using Writes = std::vector<std::pair<std::wstring, Text>>;
  bool WriteSection(const wchar_t* section, const Writes& writes);
  // Reads one key of `section`.
  auto SectionReader(const wchar_t* section) {
    return [this, section](const std::wstring& key) { return file_.Read(section, key); };
  }

  File& file_;
  kept_frames::List keptRead_;
  options::Options optionsRead_;
  change_watch::Settings watchRead_;
  recording::Settings recordRead_;
  masks::List masksRead_;
};

}  // namespace settings
