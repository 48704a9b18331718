#include "cli/header_modes.h"

#include <cstdio>

#include "app/examine.h"
#include "analysis/rule_book.h"
#include "app/header_edit_text.h"
#include "header/header_apply.h"
#include "header/header_plan.h"
#include "header/module_reason.h"
#include "output/check_text.h"
#include "output/header_output.h"
#include "base/terminal_text.h"
#include "output/text_output.h"
#include "base/paths.h"
#include "cli/exit_codes.h"
#include "cli/run_messages.h"

namespace vt {

namespace {

TextView ModeName(HeaderMode mode) {
  switch (mode) {
    case HeaderMode::Diff:
      return u"--diff";
    case HeaderMode::Write:
      return u"--write";
    case HeaderMode::List:
      return u"--list";
    default:
      return u"--check";
  }
}

// What the walk could not read, one line each: a header judged without it
// could drop a module that those files need.
std::vector<Text> MissingParts(const Examination& examination, const Text& startFolder) {
  std::vector<Text> parts;
  for (const WalkWarning& warning : examination.warnings) {
    parts.push_back(WarningLine(warning, startFolder));
  }
  for (const Text& file : examination.filesNotRead) {
    parts.push_back(RelativePath(file, startFolder) +
                    u": warning: cannot be opened: too many files are open");
  }
  return parts;
}

int RefuseIncompleteEdit(const Options& options, const std::vector<Text>& missing) {
  std::fprintf(stderr,
               "veltrane-cli: %s refused: the program names files that could not be read, "
               "so its header cannot be judged; nothing was written\n",
               TerminalText(ModeName(options.headerMode)).c_str());
  for (const Text& part : missing) std::fprintf(stderr, "%s\n", TerminalText(part).c_str());
  return kIncompletePicture;
}

// What a mode tells the user: standard output, then on standard error the
// progress (which --quiet silences), the files left alone and the errors.
struct ModeReport {
  HeaderStatus status = HeaderStatus::Done;
  std::string output;
  std::vector<Text> written;
  std::vector<Text> leftAlone;
  std::vector<Text> errors;
  // Some header differs (check, diff), or still does after the write
  // because its file was left alone.
  bool differs = false;
};

int CodeOf(const ModeReport& report, const Options& options) {
  if (report.status == HeaderStatus::BadTemplate) return kBadUsage;
  if (report.status == HeaderStatus::NoUnits) {
    std::fprintf(stderr, "veltrane-cli: no source unit to look at: %s\n",
                 TerminalText(options.source).c_str());
    return kBadSource;
  }
  if (!report.errors.empty()) return kSourceNotWritten;
  return report.differs ? kHeaderDiffers : kSuccess;
}

HeaderPlan PlanJob(const AppState& state, const Options& options, const Suggestion& suggestion,
                   const Text& startFolder, HandledFiles& handled) {
  HeaderJob job{suggestion, state.Catalogue, state.Settings.RootFolder + u"/mod", startFolder,
                options.templateNumber, ReasonsOf(suggestion)};
  if (state.Catalogue.ruleSet == RuleSetKind::Modern) job.sections = SectionImports::Read;
  job.handled = &handled;
  job.keep = std::unordered_set<Text>(options.keep.begin(), options.keep.end());
  job.families = state.Rules.For(state.Catalogue.ruleSet).families;
  job.files = state.Files.get();
  return PlanHeaders(job);
}

// Standard output of --check, --list and --diff in the format asked for.
std::string PlanOutput(const HeaderPlan& plan, const Options& options, RuleSetKind ruleSet) {
  bool diff = options.headerMode == HeaderMode::Diff;
  if (options.headerMode == HeaderMode::List) return ListedFiles(plan);
  switch (options.format) {
    case OutputFormat::Text:
      return diff ? DiffText(plan) : CheckText(plan);
    case OutputFormat::Json:
      return HeaderPlanJson(plan, ModeName(options.headerMode).substr(2), RuleSetName(ruleSet));
    case OutputFormat::Github:
      return GithubAnnotations(plan);
  }
  return std::string();
}

// Carries out the mode on the plan: --write applies it.
ModeReport RunMode(const HeaderPlan& plan, const Options& options, RuleSetKind ruleSet) {
  ModeReport report;
  report.status = plan.status;
  if (options.headerMode != HeaderMode::Write) {
    bool diff = options.headerMode == HeaderMode::Diff;
    report.output = PlanOutput(plan, options, ruleSet);
    if (diff) report.leftAlone = LeftAloneLines(plan);
    report.errors = PlanErrors(plan, diff);
    report.differs = plan.Differs();
    return report;
  }
  AppliedFiles applied = ApplyHeaderPlan(plan, options.backup);
  report.written = WrittenLines(plan, applied);
  report.leftAlone = LeftAloneLines(plan);
  report.errors = ApplyErrors(plan, applied);
  report.differs = plan.LeavesDifferences();
  return report;
}

void PrintReport(const ModeReport& report, const Options& options) {
  // A line of a file may hold a NUL byte; the diff carries it.
  std::fwrite(report.output.data(), 1, report.output.size(), stdout);
  std::fflush(stdout);
  if (!options.quiet) {
    for (const Text& line : report.written) std::fprintf(stderr, "%s\n", TerminalText(line).c_str());
  }
  for (const Text& line : report.leftAlone) {
    std::fprintf(stderr, "%s\n", TerminalText(line).c_str());
  }
  for (const Text& error : report.errors) {
    std::fprintf(stderr, "veltrane-cli: %s\n", TerminalText(error).c_str());
  }
}

// The page, only when --html names one; after the results, so that a page
// that cannot be written never hides them.
int WritePageIfAsked(AppState& state, const Options& options) {
  if (options.html.empty()) return kSuccess;
  ExaminedSource paged = ExamineSource(state, options.source, PageChoice::Write, ReasonChoice::Skip);
  if (paged.outcome == ExamineOutcome::ReportWritten) {
    SayReportWritten(state, options.quiet);
    return kSuccess;
  }
  return ReportNotWritten(state, paged.page);
}

bool WantsJson(const Options& options) {
  return options.format == OutputFormat::Json && options.headerMode != HeaderMode::List &&
         options.headerMode != HeaderMode::Write;
}

}  // namespace

int PrintRunOutput(const RunOutput& output, const Options& options, RuleSetKind ruleSet) {
  if (!WantsJson(options) || output.jsonPlans.empty()) return kSuccess;
  std::vector<const HeaderPlan*> plans;
  for (const HeaderPlan& plan : output.jsonPlans) plans.push_back(&plan);
  std::fputs(HeaderPlansJson(plans, ModeName(options.headerMode).substr(2), RuleSetName(ruleSet))
                 .c_str(),
             stdout);
  return FinishStandardOutput(kSuccess);
}

int RunHeaderModes(AppState& state, const Options& options, const Text& startFolder,
                   const ExaminedSource& examination, HandledFiles& handled, RunOutput& output) {
  if (examination.outcome == ExamineOutcome::Ignored) return kBadSource;
  if (examination.outcome == ExamineOutcome::RootFolderMissing) return kNoModFolder;
  size_t blocks = examination.suggestion.blocks.size();
  if (options.templateNumber > blocks) {
    std::fprintf(stderr, "veltrane-cli: there is no framework block %zu; the suggestion has %zu\n",
                 options.templateNumber, blocks);
    return kBadUsage;
  }
  std::vector<Text> missing = MissingParts(examination, startFolder);
  bool edits = options.headerMode == HeaderMode::Diff || options.headerMode == HeaderMode::Write;
  // The refusal names what is missing itself, even with --quiet.
  if (!missing.empty() && edits) return RefuseIncompleteEdit(options, missing);
  if (!options.quiet) PrintWarnings(examination, startFolder);

  HeaderPlan plan = PlanJob(state, options, examination.suggestion, startFolder, handled);
  ModeReport report = RunMode(plan, options, state.Catalogue.ruleSet);
  // Two documents back to back would be no JSON at all.
  if (WantsJson(options)) {
    report.output.clear();
    output.jsonPlans.push_back(std::move(plan));
  }
  PrintReport(report, options);
  int code = FinishStandardOutput(CodeOf(report, options));
  if (!missing.empty()) {
    std::fprintf(stderr, "veltrane-cli: the check is incomplete: %zu file(s) named by Include "
                 "or Import could not be read\n", missing.size());
    code = Worst(code, kIncompletePicture);
  }
  return Worst(code, WritePageIfAsked(state, options));
}

}  // namespace vt
