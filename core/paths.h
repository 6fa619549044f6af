// Paths as the file system takes them: the long form, and short names for
// temporary files. Pure C++, shared by the program and the image library.
#pragma once

#include <string>
#include <string_view>

namespace paths {

// `path` in the form that reaches past the classic 260-character limit: a
// drive path gets "\\?\", a network path ("\\server\share\...") "\\?\UNC\";
// a path short enough for every call, or one already in that form, is kept.
std::wstring LongForm(std::wstring_view path);

// How many temporary names a writer tries before it gives up.
inline constexpr unsigned kTemporaryTries = 100;
// The `attempt`th temporary name to try ("~ks1a2b.tmp" for `kind` 's'),
// spread by `seed` (the process and the time): short, so that a folder close
// to the path limit still takes it. Writers of different kinds never meet.
std::wstring TemporaryName(wchar_t kind, unsigned seed, unsigned attempt);

}  // namespace paths
