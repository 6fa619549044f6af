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

// The first series name from the next free number on that `reserve` can
// claim (it creates the file only when no file of that name exists). Empty
// when none could be claimed in `attempts` tries.
std::wstring ClaimNext(const std::vector<std::wstring>& files, const std::wstring& name, const std::wstring& extension,
                       const save_names::FoldCase& fold, const std::function<bool(const std::wstring& fileName)>& reserve,
                       int attempts = 1000);

}  // namespace series
