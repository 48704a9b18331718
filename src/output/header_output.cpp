#include "output/header_output.h"

#include <nlohmann/json.hpp>

#include "app/header_edit_text.h"
#include "base/terminal_text.h"
#include "base/version.h"
#include "header/line_replacements.h"
#include "output/check_text.h"
#include "output/json_output.h"

namespace vt {

namespace {

using json = nlohmann::ordered_json;

json OrNull(const Text& text) { return text.empty() ? json(nullptr) : json(ToUtf8(text)); }

const char* KindName(HeaderDifferenceKind kind) {
  switch (kind) {
    case HeaderDifferenceKind::Missing:
      return "missing";
    case HeaderDifferenceKind::Unneeded:
      return "unneeded";
    case HeaderDifferenceKind::NoFramework:
      return "no_framework";
    case HeaderDifferenceKind::NotInstalled:
      return "not_installed";
  }
  return "missing";
}

json ReasonJson(const Reason& reason) {
  if (reason.Comment().empty()) return nullptr;
  return {
      {"text", ToUtf8(reason.Comment())},
      {"word", OrNull(reason.word)},
      {"file", OrNull(reason.file)},
      {"line", reason.line > 0 ? json(reason.line) : json(nullptr)},
  };
}

json FindingJson(const HeaderFinding& finding, const FrameworkSaving& saving) {
  const HeaderDifference& difference = finding.difference;
  return {
      {"file", ToUtf8(finding.file)},
      {"line", difference.line},
      {"kind", KindName(difference.kind)},
      {"framework", difference.framework},
      {"module", ToUtf8(difference.module)},
      {"condition", OrNull(difference.condition)},
      {"reason", ReasonJson(finding.reason)},
      {"text", ToUtf8(FindingText(finding, saving))},
  };
}

json EditJson(const FilePlan& file) {
  json replacements = json::array();
  for (const LineReplacement& change : Replacements(file.lines, file.edit)) {
    json inserted = json::array();
    for (const Text& line : change.inserted) inserted.push_back(ToUtf8(line));
    replacements.push_back({{"line", change.line}, {"remove", change.removed}, {"insert", inserted}});
  }
  return {{"file", ToUtf8(file.shown)}, {"replacements", replacements}};
}

json Texts(const std::vector<Text>& texts) {
  json array = json::array();
  for (const Text& text : texts) array.push_back(ToUtf8(text));
  return array;
}

// GitHub's escapes for the parts of a workflow command.
std::string EscapeData(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == '%') out += "%25";
    else if (c == '\r') out += "%0D";
    else if (c == '\n') out += "%0A";
    else out += c;
  }
  return out;
}

std::string EscapeProperty(const std::string& text) {
  std::string out;
  for (char c : EscapeData(text)) {
    if (c == ':') out += "%3A";
    else if (c == ',') out += "%2C";
    else out += c;
  }
  return out;
}

}  // namespace

std::string HeaderPlanJson(const HeaderPlan& plan, TextView mode, TextView ruleSet) {
  return HeaderPlansJson({&plan}, mode, ruleSet);
}

std::string HeaderPlansJson(const std::vector<const HeaderPlan*>& plans, TextView mode,
                            TextView ruleSet) {
  bool diff = mode == u"diff";
  bool differs = false;
  json findings = json::array();
  json edits = json::array();
  std::vector<Text> leftAlone, errors;
  for (const HeaderPlan* plan : plans) {
    differs = differs || plan->Differs();
    for (const FilePlan& file : plan->files) {
      for (const HeaderFinding& finding : file.findings)
        findings.push_back(FindingJson(finding, plan->saving));
      if (diff && file.ToWrite()) edits.push_back(EditJson(file));
    }
    if (diff) {
      for (Text& line : LeftAloneLines(*plan)) leftAlone.push_back(std::move(line));
    }
    for (Text& error : PlanErrors(*plan, diff)) errors.push_back(std::move(error));
  }
  json document = {
      {"schema", kJsonSchema},
      {"version", kVersion},
      {"mode", ToUtf8(mode)},
      {"rule_set", ToUtf8(ruleSet)},
      {"differs", differs},
      {"findings", findings},
      {"edits", edits},
      {"left_alone", Texts(leftAlone)},
      {"errors", Texts(errors)},
  };
  return document.dump(2, ' ', false, json::error_handler_t::replace) + "\n";
}

std::string GithubAnnotations(const HeaderPlan& plan) {
  std::string out;
  for (const FilePlan& file : plan.files) {
    for (const HeaderFinding& finding : file.findings) {
      out += (finding.IsNote() ? "::notice file=" : "::error file=") +
             EscapeProperty(TerminalText(finding.file)) +
             ",line=" + std::to_string(finding.difference.line) + ",title=Veltrane::" +
             EscapeData(TerminalText(FindingText(finding, plan.saving))) + "\n";
    }
  }
  return out;
}

}  // namespace vt
