#include "output/json_output.h"

#include <nlohmann/json.hpp>

#include "analysis/rule_book.h"
#include "output/text_output.h"
#include "base/paths.h"
#include "base/version.h"

namespace vt {

namespace {

using json = nlohmann::ordered_json;

std::string Utf8(TextView text) { return ToUtf8(text); }

json Strings(const TextList& list) {
  json array = json::array();
  for (const Text& entry : list) array.push_back(Utf8(entry));
  return array;
}

json OrNull(const Text& text) { return text.empty() ? json(nullptr) : json(Utf8(text)); }

json ReasonJson(const Text& module, bool optional, const Reason& reason,
               const Text& condition = Text()) {
  return {
      {"module", Utf8(module)},
      {"optional", optional},
      {"condition", OrNull(condition)},
      {"text", Utf8(reason.Comment())},
      {"word", OrNull(reason.word)},
      {"file", OrNull(reason.file)},
      {"line", reason.line > 0 ? json(reason.line) : json(nullptr)},
      {"rule", OrNull(reason.rule)},
      {"template", OrNull(reason.templateName)},
  };
}

json Reasons(const CodeBox& box) {
  json array = json::array();
  if (box.reasons.size() == box.modules.size()) {
    for (size_t i = 0; i < box.modules.size(); ++i) {
      array.push_back(ReasonJson(box.modules[i], false, box.reasons[i]));
    }
  }
  // In the order of the box's lines.
  for (const GuardedModules& guarded : box.guarded) {
    if (guarded.reasons.size() != guarded.modules.size()) continue;
    for (size_t i = 0; i < guarded.modules.size(); ++i) {
      array.push_back(
          ReasonJson(guarded.modules[i], false, guarded.reasons[i], guarded.condition));
    }
  }
  if (box.optionalReasons.size() == box.optionalModules.size()) {
    for (size_t i = 0; i < box.optionalModules.size(); ++i) {
      array.push_back(ReasonJson(box.optionalModules[i], true, box.optionalReasons[i]));
    }
  }
  return array;
}

// The imports needed under one platform condition only.
json GuardedJson(const CodeBox& box) {
  json array = json::array();
  for (const GuardedModules& guarded : box.guarded) {
    for (const Text& module : guarded.modules) {
      array.push_back({{"module", Utf8(module)}, {"condition", Utf8(guarded.condition)}});
    }
  }
  return array;
}

json BoxJson(const CodeBox& box) {
  json lines = json::array();
  for (const CodeLine& line : CodeLinesOf(box))
    lines.push_back(Utf8(line.fixed + line.data));
  return {
      {"label", Utf8(box.label)},
      {"file", Utf8(box.path)},
      {"main", box.isMain},
      {"framework", OrNull(box.Framework())},
      {"imports", Strings(box.Imports())},
      {"guarded_imports", GuardedJson(box)},
      {"optional_imports", Strings(box.optionalModules)},
      {"extra_lines", Strings(box.extraLines)},
      {"lines", lines},
      {"reasons", Reasons(box)},
  };
}

json BlocksJson(const Suggestion& suggestion) {
  json blocks = json::array();
  for (const FrameworkBlock& block : suggestion.blocks) {
    json boxes = json::array();
    for (const CodeBox& box : block.boxes) boxes.push_back(BoxJson(box));
    blocks.push_back(
        {{"title", Utf8(block.title)}, {"note", OrNull(block.note)}, {"boxes", boxes}});
  }
  return blocks;
}

json WarningsJson(const std::vector<WalkWarning>& warnings, TextView startFolder) {
  json array = json::array();
  for (const WalkWarning& warning : warnings) {
    array.push_back({
        {"file", Utf8(warning.file)},
        {"line", warning.line},
        {"message", Utf8(WarningMessage(warning))},
        {"text", Utf8(WarningLine(warning, startFolder))},
    });
  }
  return array;
}

}  // namespace

std::string ExaminationJson(const Examination& examination, const RunFacts& run) {
  json files = json::array();
  json namedModules = json::array();
  for (const scanlisttype& entry : examination.walked) {
    if (entry.kind == EntryKind::Module) {
      namedModules.push_back(Utf8(entry.path));
    } else {
      files.push_back({{"path", Utf8(entry.path)}, {"kind", Utf8(EntryKindName(entry.kind))}});
    }
  }
  json document = {
      {"schema", kJsonSchema},
      {"version", kVersion},
      {"root", Utf8(run.root)},
      {"source", Utf8(run.source)},
      {"page", run.page ? json(Utf8(*run.page)) : json(nullptr)},
      {"rule_set", Utf8(RuleSetName(examination.ruleSet))},
      {"files", files},
      {"named_modules", namedModules},
      {"lines", {{"total", examination.totalLines}, {"code", examination.codeLines}}},
      {"driver_choice", examination.suggestion.driverChoice},
      {"blocks", BlocksJson(examination.suggestion)},
      {"warnings", WarningsJson(examination.warnings, run.startFolder)},
  };
  // Text from files is already valid UTF-8 (ToUtf8 replaces what is not);
  // replacing rather than throwing keeps that promise whatever comes in.
  return document.dump(2, ' ', false, json::error_handler_t::replace) + "\n";
}

}  // namespace vt
