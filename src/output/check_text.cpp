#include "output/check_text.h"

#include <unordered_set>

#include "base/terminal_text.h"

namespace vt {

std::string CheckText(const HeaderPlan& plan) {
  std::string text;
  for (const FilePlan& file : plan.files) {
    for (const HeaderFinding& finding : file.findings) {
      AppendTerminalText(text, FindingText(finding, plan.saving));
      text += '\n';
    }
  }
  return text;
}

std::string ListedFiles(const HeaderPlan& plan) {
  std::string out;
  std::unordered_set<Text> listed;
  for (const FilePlan& file : plan.files) {
    if (file.Differs() && listed.insert(file.shown).second) out += TerminalText(file.shown) + "\n";
  }
  return out;
}

}  // namespace vt
