// 10,000 generated settings files through the settings reader: random bytes,
// huge and negative numbers, NaN and Inf, duplicated keys and sections, long
// values, broken Shift-JIS. Each must read without failing and give values
// that the exit writes and the next start read back unchanged.
#include <gtest/gtest.h>

#include <map>
#include <random>
#include <string>

#include "core/numbers.h"
#include "core/settings.h"

namespace {

const char* const kKeys[] = {"X", "Y", "SnapX", "SnapY", "SnapW", "SnapH", "LFName", "LFPath", "LFType", "LineC",
                             "Preview", "X2", "Y2"};

std::string Value(std::mt19937& rng) {
  static const char* const kSpecial[] = {"NaN", "Inf", "-Inf", "1e999", "-1e400", "12345678901", "-2147483649",
                                         "2147483647", "-2147483648", "1.5", "2.5", "-0", "0x10", "", " ",
                                         "\"quoted\"", "１２３", "9e-999", "+7", "1,5", "3e", "."};
  switch (rng() % 5) {
    case 0: return kSpecial[rng() % (sizeof kSpecial / sizeof *kSpecial)];
    case 1: return std::to_string(static_cast<long long>(rng()) * ((rng() & 1) ? -1 : 1) * (rng() % 100000));
    case 2: return std::string(rng() % 10000 + 1, static_cast<char>('0' + rng() % 10));
    case 3: {  // random bytes, Shift-JIS lead bytes without their trail among them
      std::string s(rng() % 40, '\0');
      for (auto& c : s) c = static_cast<char>(rng() % 2 ? 0x81 + rng() % 0x1f : rng() % 256);
      return s;
    }
    default: return std::to_string(static_cast<int>(rng() % 40000) - 20000);
  }
}

// A generated file and a reader over it that finds what the profile functions
// find: the first section named Data, the first line of a key in it, the
// value trimmed of spaces, cut to 510 bytes.
struct GeneratedFile {
  std::map<std::string, std::string> first;
  explicit GeneratedFile(std::mt19937& rng) {
    for (int n = rng() % 30; n > 0; --n) {
      std::string key = rng() % 8 ? kKeys[rng() % 13] : std::string(1, static_cast<char>(rng() % 256));
      std::string value = Value(rng);
      if (value.find_first_of("\r\n") != std::string::npos) continue;
      if (value.size() > 510) value.resize(510);
      first.emplace(key, value);  // a duplicated key keeps its first value
    }
  }
  settings::Reader Reader() const {
    return [this](const std::wstring& key) {
      auto it = first.find(std::string(key.begin(), key.end()));
      if (it == first.end()) return std::wstring();
      std::wstring w;
      for (unsigned char c : it->second) w += static_cast<wchar_t>(c);  // bytes as they are, one by one
      return settings::CleanProfileValue(w);
    };
  }
};

}  // namespace

TEST(SettingsFuzz, TenThousandGeneratedFilesReadSoundAndWriteBackTheSame) {
  std::mt19937 rng(20261207);
  int stored = 0;
  for (int i = 0; i < 10000; ++i) {
    GeneratedFile file(rng);
    auto state = settings::ReadStored(file.Reader());
    if (!state) continue;  // no settings: a first start
    ++stored;
    std::map<std::wstring, std::wstring> written;
    for (const auto& [key, value] : settings::ExitWrites(*state)) {
      if (!value) continue;
      written[key] = *value;
      if (key != L"LFName" && key != L"LFPath") {
        // Every number written is a plain number that fits.
        auto v = num::ParseLeadingNumber(*value);
        ASSERT_TRUE(v && num::ToInt32(*v)) << "file " << i << " key " << std::string(key.begin(), key.end());
      }
    }
    auto again = settings::ReadStored([&](const std::wstring& key) {
      auto it = written.find(key);
      return it == written.end() ? std::wstring() : it->second;
    });
    ASSERT_TRUE(again) << "file " << i;
    EXPECT_EQ(again->snap.x, state->snap.x);
    EXPECT_EQ(again->snap.w, state->snap.w);
    EXPECT_EQ(again->lineColour, state->lineColour);
    EXPECT_EQ(again->camera.left, state->camera.left);
    EXPECT_EQ(again->lastType, state->lastType);
    EXPECT_EQ(again->preview, state->preview);
  }
  EXPECT_GT(stored, 1000);  // the generator reaches the stored-settings path often
}
