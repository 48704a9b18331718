#include "output/check_text.h"

#include <unordered_set>

#include "base/terminal_text.h"

namespace vt {

Text FindingText(const HeaderFinding& finding, const FrameworkSaving& saving) {
  return finding.file + u":" + Decimal(finding.difference.line) + u": " +
         FindingMessage(finding, saving);
}

Text FindingMessage(const HeaderFinding& finding, const FrameworkSaving& saving) {
  const HeaderDifference& difference = finding.difference;
  Text line = difference.framework ? u"Framework " : u"Import ";
  line += difference.module;
  if (!difference.condition.empty()) line += u" under ?" + difference.condition;
  switch (difference.kind) {
    case HeaderDifferenceKind::NoFramework:
      return u"no Framework line: with " + line + u" it could drop " +
             Decimal(saving.dropped) + u" of the " + Decimal(saving.importedNow) +
             u" modules it imports now";
    case HeaderDifferenceKind::Unneeded:
      return u"unneeded " + line;
    case HeaderDifferenceKind::NotInstalled:
      return line + u": not installed here: kept";
    case HeaderDifferenceKind::Missing:
      break;
  }
  Text reason = finding.reason.Comment();
  return u"missing " + line + (reason.empty() ? Text() : u" (" + reason + u")");
}

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
