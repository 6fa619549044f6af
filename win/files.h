// Files and folders as the program needs them, by wide path.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace win {

// The file system's case folding: names compare equal when their folded
// forms do (upper case, locale-independent, as NTFS compares).
std::wstring FoldFileName(const std::wstring& name);

// `path` in the form that reaches past the classic 260-character limit.
std::wstring LongPath(const std::wstring& path);

bool IsFolder(const std::wstring& path);
bool Exists(const std::wstring& path);
// The names of the entries of `folder` (which ends in "\").
std::vector<std::wstring> FolderEntries(const std::wstring& folder);
// Creates `path` only when nothing of that name exists; true when it did.
bool CreateNewFile(const std::wstring& path);
// False, with the system's error, when the file is still there.
bool RemoveFile(const std::wstring& path);

// Moves `from` to `to` only when nothing of that name exists; `error` gets
// the system's code of a failure.
enum class MoveResult { Moved, Exists, Failed };
MoveResult MoveWithoutReplacing(const std::wstring& from, const std::wstring& to, unsigned long& error);

// A name for a temporary file in `folder` (ending in "\") that no file has;
// nullopt when none of the names tried is free.
std::optional<std::wstring> UnusedTemporaryName(const std::wstring& folder);

// The user's temporary folder, ending in "\".
std::wstring TemporaryFolder();
// Removes the files of `folder` whose names match `pattern` ("*" and "?"),
// as far as they can be removed (one in use stays).
void RemoveMatching(const std::wstring& folder, const std::wstring& pattern);

// The system's words for an error code; empty when it has none.
std::wstring SystemMessage(unsigned long code);

}  // namespace win
