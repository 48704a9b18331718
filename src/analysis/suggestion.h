// The suggestion as a value: the framework blocks of one examination, each
// with one code box per source unit. The report renders it as a page, the
// command line as text.
#pragma once

#include <memory>
#include <utility>
#include <vector>

#include "analysis/source_records.h"

namespace vt {

// Why a line of a code box is there: the word or literal that called for
// its module where it first stands, and the rule or template involved.
struct Reason {
  Text word;          // as written; a literal in double quotes
  Text file;          // relative to the main file's folder
  int32_t line = 0;   // counted from 1; 0 when the place is unknown
  Text rule;          // e.g. "audio", "declared by BRL.Audio", or empty
  Text templateName;  // on the Framework line and on drivers a template chose

  // The comment that follows the line, e.g. `DrawText at inc/player.bmx:12`;
  // empty when nothing is known.
  Text Comment() const;
};

// Reasons parallel to a list of modules. Once made they never change, and
// copies share them: the next examination of a program takes the reasons
// of its unchanged units without copying a large program's reasons.
class ReasonList {
 public:
  ReasonList() = default;
  ReasonList(std::vector<Reason> reasons)
      : list_(std::make_shared<const std::vector<Reason>>(std::move(reasons))) {}

  size_t size() const { return list_ ? list_->size() : 0; }
  bool empty() const { return size() == 0; }
  const Reason& operator[](size_t at) const { return (*list_)[at]; }
  const Reason& at(size_t at) const { return All().at(at); }
  std::vector<Reason>::const_iterator begin() const { return All().begin(); }
  std::vector<Reason>::const_iterator end() const { return All().end(); }
  void clear() { list_.reset(); }
  // Whether both are copies of one list, and so the same.
  bool Shares(const ReasonList& other) const { return list_ && list_ == other.list_; }

 private:
  const std::vector<Reason>& All() const {
    static const std::vector<Reason> none;
    return list_ ? *list_ : none;
  }
  std::shared_ptr<const std::vector<Reason>> list_;
};

// The imports a unit needs only under one platform condition.
struct GuardedModules {
  Text condition;  // as the program writes it, e.g. "Win32"
  SharedTextList modules;
  ReasonList reasons;  // parallel to `modules` once explained
};

struct CodeBox {
  Text label;      // "Main Source: " or "Imported Code: "
  Text path;       // the unit's file, as the walk recorded it
  SharedTextList modules;          // in order; on the main box the first is the framework
  SharedTextList optionalModules;  // "may be required"
  TextList extraLines;       // statements such as the graphics driver line
  // Imports inside "?condition ... ?" sections, after the plain ones.
  std::vector<GuardedModules> guarded;
  bool isMain = false;
  // The module a template replaced by its driver ("BRL.Max2D"), or empty.
  Text standsInFor;
  // Parallel to `modules` and `optionalModules` once explained; empty before.
  ReasonList reasons;
  ReasonList optionalReasons;

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
  // Why the line is there, for plain text only; the page never shows it.
  Text reason = {};
};

// The lines of a code box's text area, in order.
std::vector<CodeLine> CodeLinesOf(const CodeBox& box);

// The same lines, handed one by one to `take(fixed, data, reason)` as views
// that live as long as `box`: a box can hold thousands of lines, and the page
// and the terminal need no copy of them. `reason` is computed only when the
// box carries reasons.
template <typename Take>
void ForEachCodeLine(const CodeBox& box, Take&& take) {
  if (box.modules.empty() && box.optionalModules.empty() && box.guarded.empty()) {
    take(u"** No modules required **", TextView(), TextView());
    return;
  }
  bool explained = box.reasons.size() == box.modules.size();
  for (size_t i = 0; i < box.modules.size(); ++i) {
    const Text& m = box.modules[i];
    bool framework = box.isMain && m == box.modules.front();
    Text reason = explained ? box.reasons[i].Comment() : Text();
    take(framework ? u"Framework " : u"Import ", m, reason);
  }
  // Before the driver lines: an Import after a statement does not compile.
  for (const GuardedModules& section : box.guarded) {
    take(u"?", section.condition, TextView());
    bool explainedGuarded = section.reasons.size() == section.modules.size();
    for (size_t i = 0; i < section.modules.size(); ++i) {
      Text reason = explainedGuarded ? section.reasons[i].Comment() : Text();
      take(u"Import ", section.modules[i], reason);
    }
    take(u"?", TextView(), TextView());
  }
  if (!box.optionalModules.empty()) {
    take(u"", TextView(), TextView());
    take(u"' modules which may be required:", TextView(), TextView());
    bool explainedOptional = box.optionalReasons.size() == box.optionalModules.size();
    for (size_t i = 0; i < box.optionalModules.size(); ++i) {
      Text reason = explainedOptional ? box.optionalReasons[i].Comment() : Text();
      take(u"' Import ", box.optionalModules[i], reason);
    }
  }
  if (!box.extraLines.empty()) {
    take(u"", TextView(), TextView());
    take(u"", TextView(), TextView());
    for (const Text& extra : box.extraLines) take(u"", extra, TextView());
  }
}

// The graphics framework templates: puts the module that belongs on the
// Framework line first, adds the driver line and makes one framework block
// per driver the program can use. The records stay as they are.
Suggestion SuggestFrameworks(const AnalysisState& analysis);
// The same, moving the records' module lists into the suggestion rather than
// copying them: for a caller that reads them no more (no explanation is
// asked for). The records are left with empty module lists.
Suggestion TakeFrameworks(AnalysisState& analysis);

// The list operations the templates use. Removal takes the first entry that
// is exactly equal, and does nothing when there is none: a list that others
// share stays shared then.
void RemoveEntry(SharedTextList& list, TextView entry);
void InsertAtFront(SharedTextList& list, TextView entry);
void Append(TextList& list, TextView entry);

}  // namespace vt
