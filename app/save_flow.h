// The save dialog and the writing of what it names, for a capture and for a
// recording alike: the dialog's type, the extension the type adds, the
// question before that extension replaces a file, and the file written on
// the saver's thread while the window thread keeps answering.
#pragma once

#include <functional>
#include <string>

#include "app/saver.h"
#include "app/voice.h"
#include "core/save_names.h"
#include "win/bitmap_buffer.h"
#include "win/files.h"
#include "win/window.h"

class SaveFlow {
 public:
  // The path a choice of the dialog is saved to (the type's extension added).
  using PathRule = std::function<std::wstring(const save_names::DialogChoice&)>;
  struct Request {
    std::wstring filter, title, folder, name;
    int filterIndex = 1;  // the type preselected, counted from 1 as the dialog does
    PathRule pathFor;
    // Whether a file the added extension names is replaced only when the
    // user says so (not when the dialog only chooses a folder and a name).
    bool askReplace = true;
  };
  enum class Answer { Chosen, Cancelled, NotReplaced };
  struct Chosen {
    std::wstring path;
    int type = 0;  // 0-based
  };

  SaveFlow(Voice voice, const win::Window& dialogOwner) : voice_(voice), dialogOwner_(dialogOwner) {}

  // Shows the dialog. Cancelled when the user cancelled (a dialog that
  // failed has said why); NotReplaced when the name the extension made is
  // that of a file the user chose not to replace.
  Answer Choose(const Request& request, Chosen& chosen);
  // Writes on the saver's thread and returns when the file is complete.
  win::WriteOutcome Write(std::function<win::WriteOutcome()> write) { return saver_.RunAnswering(std::move(write)); }
  // The picture as `type`: its pixels are taken here, on the thread that
  // owns its bitmap.
  win::WriteOutcome WritePicture(const win::BitmapBuffer& picture, const save_names::FileType& type,
                                 const std::wstring& path);
  // Tells the user that `path` was not saved, and why.
  void TellNotSaved(const std::wstring& path, const win::WriteOutcome& outcome) const;
  // Compares file names as the file system does.
  const save_names::FoldCase& Fold() const { return fold_; }
  Saver& Writer() { return saver_; }
  bool Writing() const { return saver_.Pending(); }

 private:
  Voice voice_;
  const win::Window& dialogOwner_;
  save_names::FoldCase fold_{&win::FoldFileName};
  Saver saver_;
};
