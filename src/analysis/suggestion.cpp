// The graphics framework templates, worked on copies of the records so that
// each block keeps the lists as they stood when it was made.
#include <algorithm>
#include <initializer_list>

#include "analysis/suggestion.h"

#include "analysis/rule_book.h"

namespace vt {

namespace {

constexpr char16_t kMixingHint[] = u"HINT: See help file - Mixing OpenGL/Max2D";

// The records' lists while the templates rearrange them.
class Drafts {
 public:
  // The boxes share the records' lists until a template changes one.
  explicit Drafts(const AnalysisState& analysis) {
    for (const auto& record : analysis.SourceModList) {
      CodeBox& box = AddBox(*record);
      box.modules = record->modules;
      box.optionalModules = record->optionalModules;
    }
  }
  // The templates of the rule set in force.
  const TemplateRules* templates = &BuiltInRules().classic.templates;
  // Takes the records' lists: a large program's are many. A record a memo
  // keeps too is copied from instead.
  explicit Drafts(AnalysisState& analysis, bool) {
    for (const auto& record : analysis.SourceModList) {
      CodeBox& box = AddBox(*record);
      if (record.use_count() > 1) {
        box.modules = record->modules;
        box.optionalModules = record->optionalModules;
        continue;
      }
      box.modules = std::move(record->modules);
      box.optionalModules = std::move(record->optionalModules);
      record->modules.clear();
      record->optionalModules.clear();
    }
  }

  // The first box whose modules hold `name` (lower-case), or null.
  CodeBox* Holding(TextView name) {
    for (CodeBox& box : boxes_) {
      // Every module of every box is asked: the length first, cheaply.
      for (const Text& entry : box.modules) {
        if (entry.size() == name.size() && EqualFolded(entry, name)) return &box;
      }
    }
    return nullptr;
  }

  // A block of the boxes as they stand now.
  FrameworkBlock Block(TextView title) const { return {Text(title), Text(), boxes_}; }
  // The same for the last block: the boxes move into it, and the drafts are
  // left empty.
  FrameworkBlock TakeBlock(TextView title) { return {Text(title), Text(), std::move(boxes_)}; }

 private:
  CodeBox& AddBox(const sourcemodtype& record) {
    CodeBox& box = boxes_.emplace_back();
    box.isMain = boxes_.size() == 1;
    box.label = box.isMain ? u"Main Source: " : u"Imported Code: ";
    box.path = record.path;
    for (const sourcemodtype& section : record.sections) {
      if (section.modules.empty()) continue;
      box.guarded.push_back({section.condition, section.modules, {}});
    }
    return box;
  }

  std::vector<CodeBox> boxes_;
};

// Moves `module` to the front of the list, dropping the generic `replaced`.
void PutFirst(CodeBox& box, TextView module, TextView replaced) {
  RemoveEntry(box.modules, module);
  RemoveEntry(box.modules, replaced);
  InsertAtFront(box.modules, module);
}

// A block titled `title` of the boxes as they stand, with the note of the
// driver it uses.
void AddBlock(Drafts& drafts, TextView title, const DriverTemplate& driver, bool last,
              Suggestion& out) {
  out.blocks.push_back(last ? drafts.TakeBlock(title) : drafts.Block(title));
  if (!driver.note.empty()) out.blocks.back().note = driver.note;
}

void OpenGLTemplate(Drafts& drafts, CodeBox& gl, Suggestion& out) {
  const DriverTemplate& driver = drafts.templates->openglGraphics;
  PutFirst(gl, driver.module, u"BRL.Graphics");
  Append(gl.extraLines, driver.line);
  bool mixesMax2D = drafts.Holding(u"brl.max2d") != nullptr;
  AddBlock(drafts, u"OpenGL template:", driver, true, out);
  if (mixesMax2D) out.blocks.back().note = kMixingHint;
}

void MoveGuiFirst(Drafts& drafts) {
  const Text& guiModule = drafts.templates->guiModule;
  if (CodeBox* gui = guiModule.empty() ? nullptr : drafts.Holding(Lower(guiModule))) {
    RemoveEntry(gui->modules, guiModule);
    InsertAtFront(gui->modules, guiModule);
  }
}

// A driver module brings in BRL.Graphics; a unit that gets none still needs
// it, or nothing would declare Graphics there.
void DropGraphicsIfDriven(Drafts& drafts, std::initializer_list<const CodeBox*> driven) {
  CodeBox* graphics = drafts.Holding(u"brl.graphics");
  if (!graphics) return;
  for (const CodeBox* box : driven) {
    if (box == graphics) RemoveEntry(graphics->modules, u"BRL.Graphics");
  }
}

void BothDriversTemplate(Drafts& drafts, CodeBox& dx, CodeBox& gl, Suggestion& out) {
  const DriverTemplate& directx = drafts.templates->directxMax2D;
  const DriverTemplate& opengl = drafts.templates->openglMax2D;
  PutFirst(dx, directx.module, u"BRL.Max2D");
  RemoveEntry(gl.modules, opengl.module);
  InsertAtFront(gl.modules, opengl.module);
  Append(dx.extraLines, directx.line);
  Append(gl.extraLines, opengl.line);
  AddBlock(drafts, u"Max2D DirectX+OpenGL template:", directx, true, out);
}

// A template is offered only with a driver module: the rules leave it
// without one where its driver is not installed.
bool Offered(const DriverTemplate& driver) { return !driver.module.empty(); }

// Max2D with no driver module: offer each installed driver, one block each.
void DriverChoice(Drafts& drafts, CodeBox& max2d, Suggestion& out) {
  struct Choice {
    const DriverTemplate* driver;
    TextView title;
  };
  std::vector<Choice> choices;
  const TemplateRules& templates = *drafts.templates;
  if (Offered(templates.openglMax2D)) {
    choices.push_back({&templates.openglMax2D, u"Max OpenGL template:"});
  }
  if (Offered(templates.directxMax2D)) {
    choices.push_back({&templates.directxMax2D, u"Max DirectX template:"});
  }
  out.driverChoice = choices.size() > 1;
  max2d.standsInFor = u"BRL.Max2D";
  TextView replaced = u"BRL.Max2D";
  for (const Choice& choice : choices) {
    RemoveEntry(max2d.modules, replaced);
    InsertAtFront(max2d.modules, choice.driver->module);
    max2d.extraLines.clear();
    Append(max2d.extraLines, choice.driver->line);
    AddBlock(drafts, choice.title, *choice.driver, &choice == &choices.back(), out);
    replaced = choice.driver->module;
  }
}

// One driver module: it goes on the Framework line in place of Max2D.
void SingleDriverTemplate(Drafts& drafts, CodeBox& box, const DriverTemplate& driver,
                          TextView title, Suggestion& out) {
  PutFirst(box, driver.module, u"BRL.Max2D");
  Append(box.extraLines, driver.line);
  AddBlock(drafts, title, driver, true, out);
}

// The templates, applied to the drafts of one examination.
Suggestion Suggest(Drafts& drafts) {
  Suggestion out;
  const TemplateRules& templates = *drafts.templates;
  auto holding = [&drafts](const DriverTemplate& driver) {
    return Offered(driver) ? drafts.Holding(Lower(driver.module)) : nullptr;
  };
  if (CodeBox* gl = holding(templates.openglGraphics)) {
    OpenGLTemplate(drafts, *gl, out);
    return out;
  }
  MoveGuiFirst(drafts);
  CodeBox* dx = holding(templates.directxMax2D);
  CodeBox* glMax2D = holding(templates.openglMax2D);
  // Without an installed driver Max2D stays, and so does BRL.Graphics.
  bool driverOffered = Offered(templates.openglMax2D) || Offered(templates.directxMax2D);
  CodeBox* max2d = dx || glMax2D || !driverOffered ? nullptr : drafts.Holding(u"brl.max2d");
  DropGraphicsIfDriven(drafts, {dx, glMax2D, max2d});
  if (dx && glMax2D) {
    BothDriversTemplate(drafts, *dx, *glMax2D, out);
  } else if (glMax2D) {
    SingleDriverTemplate(drafts, *glMax2D, templates.openglMax2D, u"Max2D OpenGL template:", out);
  } else if (dx) {
    SingleDriverTemplate(drafts, *dx, templates.directxMax2D, u"Max2D DirectX template:", out);
  } else if (max2d) {
    DriverChoice(drafts, *max2d, out);
  } else {
    out.blocks.push_back(drafts.TakeBlock(u"Programs template:"));
  }
  return out;
}

const TemplateRules& TemplatesOf(const AnalysisState& analysis) {
  return analysis.Rules ? analysis.Rules->templates : BuiltInRules().classic.templates;
}

}  // namespace

Text CodeBox::Framework() const {
  if (!isMain || modules.empty()) return Text();
  return modules.front();
}

TextList CodeBox::Imports() const {
  if (!isMain || modules.empty()) return modules;
  return TextList(modules.begin() + 1, modules.end());
}

std::vector<CodeLine> CodeLinesOf(const CodeBox& box) {
  std::vector<CodeLine> lines;
  ForEachCodeLine(box, [&lines](TextView fixed, TextView data, TextView reason) {
    lines.push_back({Text(fixed), Text(data), Text(reason)});
  });
  return lines;
}

void RemoveEntry(SharedTextList& list, TextView entry) {
  auto found = std::find(list.begin(), list.end(), entry);
  if (found == list.end()) return;
  size_t at = static_cast<size_t>(found - list.begin());
  TextList& own = list.Edit();
  own.erase(own.begin() + static_cast<std::ptrdiff_t>(at));
}

void InsertAtFront(SharedTextList& list, TextView entry) {
  TextList& own = list.Edit();
  own.insert(own.begin(), Text(entry));
}

void Append(TextList& list, TextView entry) { list.emplace_back(entry); }

Suggestion SuggestFrameworks(const AnalysisState& analysis) {
  Drafts drafts(analysis);
  drafts.templates = &TemplatesOf(analysis);
  return Suggest(drafts);
}

Suggestion TakeFrameworks(AnalysisState& analysis) {
  Drafts drafts(analysis, true);
  drafts.templates = &TemplatesOf(analysis);
  return Suggest(drafts);
}

}  // namespace vt
