// The suggestion as a value: the framework blocks of one examination, each
// with one code box per source unit. The report renders it as a page, the
// command line as text.
#pragma once

#include <vector>

#include "analysis/source_records.h"

namespace vt {

struct CodeBox {
  Text label;      // "Main Source: " or "Imported Code: "
  Text path;       // the unit's file, as the walk recorded it
  TextList modules;          // in order; on the main box the first is the framework
  TextList optionalModules;  // "may be required"
  TextList extraLines;       // statements such as the graphics driver line
  bool isMain = false;

  // The module on the Framework line: the main box's first module, if any.
  Text Framework() const;
  // The modules on Import lines.
  TextList Imports() const;
};

struct FrameworkBlock {
  Text title;  // e.g. "Max2D OpenGL template:"
  // A hint shown under the block, or empty.
  Text note;
  std::vector<CodeBox> boxes;
};

struct Suggestion {
  // Set when the program can use either of two drivers: the blocks are then
  // a choice, and the page says so above them.
  bool driverChoice = false;
  std::vector<FrameworkBlock> blocks;
};

// One line of a code box's text: a fixed part, then text from the analysis
// (module names, driver lines) that a page must escape and plain text must not.
struct CodeLine {
  Text fixed;
  Text data;
};

// The lines of a code box's text area, in order.
std::vector<CodeLine> CodeLinesOf(const CodeBox& box);

// The graphics framework templates: puts the module that belongs on the
// Framework line first, adds the driver line and makes one framework block
// per driver the program can use. The records stay as they are.
Suggestion SuggestFrameworks(const AnalysisState& analysis);

// The list operations the templates use. Removal takes the first entry that
// is exactly equal, and does nothing when there is none.
void RemoveEntry(TextList& list, TextView entry);
void InsertAtFront(TextList& list, TextView entry);
void Append(TextList& list, TextView entry);

}  // namespace vt
