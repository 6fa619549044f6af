// The save's rules: the dialog's file types, the final file name with the
// extension of the chosen type, and what is remembered for next time.
// Pure C++.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "core/texts.h"

namespace save_names {

enum class Writer { Bmp, Gif, Jpg, Png };

// How file names are compared: both sides folded by the file system's rule,
// which the program takes from the system (upper case, as NTFS compares).
using FoldCase = std::function<std::wstring(const std::wstring&)>;

struct FileType {
  texts::Id description;
  const wchar_t* pattern;
  const wchar_t* extension;
  Writer writer;
  int quality;  // JPEG only
};

// 0-based type index: 0 BMP, 1 GIF, 2-4 JPEG high/middle/low, 5 PNG.
const FileType* TypeAt(int index);

// Descriptions and patterns joined by single NULs, no NUL after the last.
std::wstring FilterText(texts::Language language);

// What the save dialog was confirmed with: the type (0-based; outside 0 to
// 5 for no type of ours) and the path.
struct DialogChoice {
  int type = 0;
  std::wstring path;
};
// From the dialog's 1-based filter index and its file buffer, which holds
// the path up to the first NUL and whatever a longer initial name left.
DialogChoice DialogChoiceOf(unsigned filterIndex, std::wstring_view fileBuffer);

// The final path: the type's extension is appended unless the last four
// characters of the path already are it (compared as file names are).
std::wstring MakeSaveFileName(const DialogChoice& choice, const FoldCase& fold);

struct Remembered {
  std::wstring name;    // without folder and extension
  std::wstring folder;  // without the trailing "\"
};
Remembered RememberSaveFile(const std::wstring& path);

// The file name part of a path ("C:\a\shot.png" -> "shot.png").
std::wstring FileNameOf(const std::wstring& path);


// What the user is told when a file could not be written: the path and,
// when it is known, why.
std::wstring NotSavedText(const std::wstring& path, const std::wstring& reason, texts::Language language);

// What the user is told when the save dialog failed with `code` (the
// dialog's extended error), rather than being cancelled.
std::wstring DialogErrorText(unsigned code, texts::Language language);

}  // namespace save_names
