// Quick capture's rules: the next free name of a numbered series in a folder
// ("shot_001.png", "shot_002.png", ...), never reusing a number in use and
// never taking a name that appears meanwhile. Pure C++.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "core/save_names.h"

namespace series {

// The number of `file` in the series of `name` and `extension` ("shot_012.png"
// is 12 of "shot", ".png"); -1 when it is not one. Names and extensions are
// compared as the file system compares them (`fold`).
long long SeriesNumber(const std::wstring& file, const std::wstring& name, const std::wstring& extension,
                       const save_names::FoldCase& fold);

// One more than the highest number in use among `files`; 1 for none.
long long NextNumber(const std::vector<std::wstring>& files, const std::wstring& name, const std::wstring& extension,
                     const save_names::FoldCase& fold);

// "shot_001.png": the number with at least three digits.
std::wstring SeriesFileName(const std::wstring& name, long long number, const std::wstring& extension);

// Whether `name` can begin the names of a series in one folder: it names
// no other folder (no "\" or "/"), no stream of another file (no ":"), holds
// no character file names may not hold, and does not begin like a device's
// name ("CON", "NUL.x", ...). Names from the settings file may hold anything.
bool UsableBaseName(const std::wstring& name);

// What became of one try to put the picture under a series name.
enum class Claim { Done, Taken, Failed };

struct ClaimResult {
  std::wstring file;  // the name it was put under, or the one that failed
  Claim outcome = Claim::Failed;
};

// Tries the series names from the next free number on: a name `claim`
// finds taken moves on to the next number; success or any other failure
// ends at once. After `attempts` names taken, the last one is reported.
ClaimResult ClaimNext(const std::vector<std::wstring>& files, const std::wstring& name, const std::wstring& extension,
                      const save_names::FoldCase& fold, const std::function<Claim(const std::wstring& fileName)>& claim,
                      int attempts = 1000);

}  // namespace series
