#include "core/settings_store.h"

namespace settings {

bool Store::Read() {
  kept = kept_frames::Read(SectionReader(kept_frames::kSection));
  kept_frames::ReadMasks(kept, SectionReader(kept_frames::kMasksSection));
  keptRead_ = kept;
  masks = masksRead_ = masks::Read(SectionReader(masks::kSection));
  options = optionsRead_ = options::Read(SectionReader(options::kSection));
  watch = watchRead_ = change_watch::Read(SectionReader(change_watch::kSection));
  record = recordRead_ = recording::Read(SectionReader(recording::kSection));
  const Reader read = SectionReader(kSection);
  preview = ReadPreviewPosition(read);
  const std::optional<State> stored = ReadStored(read);
  if (stored) data = *stored;
  return stored.has_value();
}

bool Store::Write(const std::optional<Position>& previewAt) {
  if (!WriteSection(kSection, ExitWrites(data))) return false;
  if (kept != keptRead_) {
    const auto writes = kept_frames::Writes(kept);
    if (!WriteSection(kept_frames::kSection, Writes(writes.begin(), writes.end()))) return false;
    const auto masked = kept_frames::MasksWrites(kept);
    if (!WriteSection(kept_frames::kMasksSection, Writes(masked.begin(), masked.end()))) return false;
  }
  if (masks != masksRead_) {
    const auto writes = masks::Writes(masks);
    if (!WriteSection(masks::kSection, Writes(writes.begin(), writes.end()))) return false;
  }
  if (!(options == optionsRead_)) {
    Writes writes;
    // The language is written only when it was changed.
    for (const auto& [key, value] : options::Writes(options))
      if (key != L"Language" || options.language != optionsRead_.language) writes.emplace_back(key, value);
    if (!WriteSection(options::kSection, writes)) return false;
  }
  if (!(watch == watchRead_)) {
    const auto writes = change_watch::Writes(watch);
    if (!WriteSection(change_watch::kSection, Writes(writes.begin(), writes.end()))) return false;
  }
  if (!(record == recordRead_)) {
    const auto writes = recording::Writes(record);
    if (!WriteSection(recording::kSection, Writes(writes.begin(), writes.end()))) return false;
  }
  return !previewAt || WriteSection(kSection, PreviewWrites(*previewAt));
}

bool Store::WriteSection(const wchar_t* section, const Writes& writes) {
  for (const auto& [key, value] : writes)
    if (!file_.Write(section, key, value)) return false;
  return true;
}

}  // namespace settings
