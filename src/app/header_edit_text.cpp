#include "app/header_edit_text.h"

#include "base/paths.h"
#include "header/unified_diff.h"

namespace vt {

namespace {

const char* EncodingName(TextEncoding encoding) {
  switch (encoding) {
    case TextEncoding::Utf8: return "UTF-8";
    case TextEncoding::Utf16BE: return "UTF-16 (big-endian)";
    case TextEncoding::Utf16LE: return "UTF-16";
    default: return "Latin-1";
  }
}

Text CannotEncodeLine(const FilePlan& file) {
  return file.shown + u": left alone: " +
         EncodingRefusal(file.lines.encoding, file.edit.unencodable);
}

Text FailureLine(const HeaderPlan& plan, const FilePlan& file, const AppliedFile& applied) {
  Text start = file.shown + u": left alone: ";
  switch (applied.outcome) {
    case ApplyOutcome::ChangedOnDisk:
      return start + u"changed while being examined; run again";
    case ApplyOutcome::HeldBack:
      return start + u"another file of the edit cannot be written, so none is";
    case ApplyOutcome::BackupFailed:
      return start + u"the backup " + RelativePath(applied.backup, plan.currentFolder) +
             u" cannot be written: " + applied.error.message();
    default:
      return start + applied.error.message();
  }
}

Text WrittenLine(const HeaderPlan& plan, const FilePlan& file, const AppliedFile& applied) {
  Text line = u"Wrote " + file.shown;
  if (applied.backup.empty()) return line;
  return line + u" (the original is in " + RelativePath(applied.backup, plan.currentFolder) +
         (applied.backupFromBefore ? u", kept from before)" : u")");
}

}  // namespace

Text EncodingRefusal(TextEncoding encoding, TextView line) {
  return FromUtf8(std::string("its encoding (") + EncodingName(encoding) +
                  ") cannot hold a character of \"") +
         Text(line) + u"\"";
}

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

std::string DiffText(const HeaderPlan& plan) {
  std::string diff;
  for (const FilePlan& file : plan.files) {
    if (file.ToWrite()) diff += UnifiedDiff(file.shown, file.lines, file.edit);
  }
  return diff;
}

std::vector<Text> LeftAloneLines(const HeaderPlan& plan) {
  std::vector<Text> lines;
  for (const FilePlan& file : plan.files) {
    if (!file.LeftAlone()) continue;
    lines.push_back(file.shown + u": left alone: " +
                    (file.refusal == WriteRefusal::InModFolder
                         ? u"it lies in the installation's mod folder"
                         : u"it lies outside the main file's folder"));
  }
  return lines;
}

std::vector<Text> PlanErrors(const HeaderPlan& plan, bool editing) {
  std::vector<Text> errors;
  if (plan.status == HeaderStatus::BadTemplate) {
    errors.push_back(u"there is no framework block " + Decimal(plan.askedBlock) +
                     u"; the suggestion has " + Decimal(plan.blockCount));
  }
  for (const FilePlan& file : plan.files) {
    if (!file.Readable()) errors.push_back(file.shown + u": cannot be read");
  }
  for (const FilePlan& file : plan.files) {
    if (editing && file.refusal == WriteRefusal::CannotEncode)
      errors.push_back(CannotEncodeLine(file));
  }
  return errors;
}

std::vector<Text> ApplyErrors(const HeaderPlan& plan, const AppliedFiles& applied) {
  std::vector<Text> errors = PlanErrors(plan, false);
  for (size_t i = 0; i < plan.files.size() && i < applied.size(); ++i) {
    const FilePlan& file = plan.files[i];
    if (file.refusal == WriteRefusal::CannotEncode) {
      errors.push_back(CannotEncodeLine(file));
    } else if (applied[i].Failed()) {
      errors.push_back(FailureLine(plan, file, applied[i]));
    }
  }
  return errors;
}

std::vector<Text> WrittenLines(const HeaderPlan& plan, const AppliedFiles& applied) {
  std::vector<Text> lines;
  for (size_t i = 0; i < plan.files.size() && i < applied.size(); ++i) {
    if (applied[i].outcome == ApplyOutcome::Written)
      lines.push_back(WrittenLine(plan, plan.files[i], applied[i]));
  }
  bool quiet = !lines.empty() || plan.LeavesDifferences() ||
               !ApplyErrors(plan, applied).empty();
  if (!plan.files.empty() && !quiet) lines.push_back(u"Every header matches; nothing written.");
  return lines;
}

}  // namespace vt
