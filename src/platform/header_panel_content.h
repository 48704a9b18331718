// What the header panel beside the report shows, as plain data: the core
// works it out, a window only lays it out.
#pragma once

#include <vector>

#include "base/text.h"

namespace vt {

// One line of a code box, as the page's text area holds it.
struct PanelLine {
  Text text;
  // Why the line is there, in the words of --explain; often empty.
  Text reason;
};

// Whether a file's header already is what the chosen block suggests.
enum class HeaderCheckState { Matches, Differs, Unreadable };

// One code box of the chosen block: one source file.
struct PanelBox {
  Text title;  // e.g. "Main Source: game.bmx"
  Text file;   // relative to the program's folder
  std::vector<PanelLine> lines;
  HeaderCheckState check = HeaderCheckState::Matches;
  // What differs, one line each in the words of --check ("game.bmx:3:
  // missing Import BRL.Retro (...)"); empty when the header matches.
  std::vector<Text> findings;
};

struct HeaderPanelContent {
  // One title per framework block, for the choice between them.
  std::vector<Text> blockTitles;
  size_t block = 0;  // the chosen one, from 0
  std::vector<PanelBox> boxes;
  // What the examination could not read, one line each.
  std::vector<Text> warnings;
};

}  // namespace vt
