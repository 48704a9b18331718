// The disk as the server last read it. An editor that watches the files
// tells the server of every change (workspace/didChangeWatchedFiles), so
// between two such events an edit's examination need not read again the
// thousand files of a large program that did not change, nor list their
// folders. Without that promise it reads the disk each time.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/file_tree.h"

namespace vt::lsp {

class DiskSnapshot final : public FileTree {
 public:
  // Whether answers are kept: only once the client watches the files.
  void KeepAnswers(bool keep) {
    keep_ = keep;
    Forget();
  }
  // Drops every answer kept: something on the disk changed.
  void Forget();

  FileKind KindOf(TextView path) const override;
  bool CanEnter(TextView folder) const override;
  bool List(TextView folder, std::vector<Text>& names, std::vector<bool>& folders) const override;
  ReadOutcome ReadBytes(TextView path, std::string& bytes) const override;
  Text Canonical(TextView path) const override;

 private:
  struct Listing {
    bool listed = false;
    std::vector<Text> names;
    std::vector<bool> folders;
  };

  DiskFileTree disk_;
  bool keep_ = false;
  mutable std::map<Text, FileKind, std::less<>> kinds_;
  mutable std::map<Text, bool, std::less<>> enterable_;
  mutable std::map<Text, Listing, std::less<>> listings_;
  // Only what was read whole; a file that could not be read is asked again.
  mutable std::map<Text, std::string, std::less<>> bytes_;
  mutable std::map<Text, Text, std::less<>> canonical_;
};

}  // namespace vt::lsp
