// How the cost grows with the input, phase by phase, beside cat of the same
// files: the 2,000-module installation with a 1,000-file, 200,000-line
// program, import chains of 1,000 and 2,000 modules, 30,000-deep Include and
// Import chains, and a real-size case (134 modules, an 1,800-line program).
// The targets: the examination of the large program costs at most 3x cat of
// its files; the 2,000-module chain page at most 5x the 1,000-module one; an
// examination with the catalogue and the memo kept ("again") at most a third
// of the first one of a process ("first").
#include <benchmark/benchmark.h>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <unistd.h>

#include "analysis/analyse.h"
#include "analysis/command_matcher.h"
#include "analysis/command_pass.h"
#include "analysis/examination.h"
#include "analysis/examination_memo.h"
#include "analysis/loader_rules.h"
#include "analysis/rule_book.h"
#include "analysis/source_walker.h"
#include "analysis/suggestion.h"
#include "app/app_state.h"
#include "catalogue/import_closure.h"
#include "catalogue/module_scan.h"
#include "input_generator.h"
#include "platform/file_system.h"
#include "report/html_report.h"
#include "report/module_details.h"

namespace {

using bench::fs::path;

// One generated input: an installation, perhaps a program, and every file of
// both for cat.
struct Input {
  path root;
  path main;
  std::vector<path> files;
};

path Base() {
  static path base = bench::fs::temp_directory_path() /
                     ("veltrane-scale-bench-" + std::to_string(getpid()));
  return base;
}

void Append(std::vector<path>& to, const std::vector<path>& more) {
  to.insert(to.end(), more.begin(), more.end());
}

const Input& Get(const std::string& name) {
  static std::map<std::string, Input> inputs;
  auto found = inputs.find(name);
  if (found != inputs.end()) return found->second;
  Input input;
  input.root = Base() / name / "root";
  path program = Base() / name / "program";
  if (name == "real") {
    input.files = bench::WriteInstallation(input.root, 134, 30, 20);
    Append(input.files, bench::WriteProgram(program, 8, 1800, 134, 30));
    input.main = program / "main.bmx";
  } else if (name == "synthetic") {
    input.files = bench::WriteInstallation(input.root, 2000, 10, 40);
    Append(input.files, bench::WriteProgram(program, 1000, 200000, 2000, 10));
    input.main = program / "main.bmx";
  } else if (name.rfind("chain", 0) == 0) {
    input.files = bench::WriteImportChain(input.root, std::stoi(name.substr(5)));
  } else {
    std::string directive = name.rfind("include", 0) == 0 ? "Include" : "Import";
    bench::WriteInstallation(input.root, 2, 1, 1);
    input.files = bench::WriteDirectiveChain(program, 30000, directive);
    input.main = program / "f0.bmx";
  }
  return inputs.emplace(name, std::move(input)).first->second;
}

vt::Text Text(const path& p) { return vt::FromUtf8(p.generic_string()); }

// The state of one run, with the catalogue scanned and its own imports kept
// so that the closure can start again from them.
struct Run {
  explicit Run(const Input& input) : input(input) {
    vt::ScanModFolder(catalogue, Text(input.root));
    for (const auto& module : catalogue.ModList) ownImports.push_back(module->imports);
    vt::ExpandModuleImports(catalogue);
  }
  void RestoreOwnImports() {
    for (size_t m = 0; m < ownImports.size(); ++m) catalogue.ModList[m]->imports = ownImports[m];
  }
  void Walk() {
    analysis = vt::AnalysisState();
    vt::ScanFile(analysis, Text(input.main), vt::EntryKind::Main);
  }
  void CommandPass() {
    analysis.SourceModList.clear();
    analysis.TotalLines = 0;
    vt::CommandPassState pass;
    vt::DiskFileTree disk;
    vt::sourcemodtype* current = nullptr;
    vt::TextFileLines file;
    for (const auto& entry : analysis.ScanListList) {
      current = vt::ScanFileCommands(analysis, pass, disk, entry.path, entry.kind, current, file);
    }
  }
  void ForgetMatches() {
    for (const auto& record : analysis.SourceModList) {
      record->modules.clear();
      record->optionalModules.clear();
      record->imagesUsed = record->audioUsed = 0;
    }
  }
  void Match() {
    // The loader rows are rules of the set, as in a run.
    analysis.Rules = &vt::BuiltInRules().For(catalogue.ruleSet);
    vt::CommandMatcher matcher(catalogue, vt::CauseNotes::Keep, analysis.Rules);
    for (const auto& record : analysis.SourceModList) matcher.Match(*record);
    vt::SuggestLoaders(analysis, catalogue);
  }

  const Input& input;
  vt::CatalogueState catalogue;
  std::vector<vt::ImportList> ownImports;
  vt::AnalysisState analysis;
  vt::TextList reportLines;
};

path ReportPath() { return Base() / "results.htm"; }

void Cat(benchmark::State& state, const std::string& name) {
  const Input& input = Get(name);
  size_t bytes = 0;
  for (auto _ : state) bytes = bench::ReadAll(input.files);
  state.counters["files"] = static_cast<double>(input.files.size());
  state.counters["bytes"] = static_cast<double>(bytes);
}

void Scan(benchmark::State& state, const std::string& name) {
  const Input& input = Get(name);
  vt::CatalogueState catalogue;
  for (auto _ : state) vt::ScanModFolder(catalogue, Text(input.root));
  state.counters["modules"] = static_cast<double>(catalogue.ModList.size());
}

void Closure(benchmark::State& state, const std::string& name) {
  Run run(Get(name));
  size_t entries = 0;
  for (auto _ : state) {
    state.PauseTiming();
    run.RestoreOwnImports();
    state.ResumeTiming();
    vt::ExpandModuleImports(run.catalogue);
  }
  for (const auto& module : run.catalogue.ModList) entries += module->imports.size();
  state.counters["entries"] = static_cast<double>(entries);
}

void ModulesPage(benchmark::State& state, const std::string& name) {
  Run run(Get(name));
  for (auto _ : state) {
    vt::htmltype html(run.reportLines);
    html.StreamTo(Text(ReportPath()));
    vt::WriteModuleDetails(html, run.catalogue);
    html.WriteReportFile(Text(ReportPath()));
  }
  state.counters["bytes"] = static_cast<double>(vt::GetFileSize(Text(ReportPath())));
}

// The whole of --modules: scan, closure and page.
void ModulesWhole(benchmark::State& state, const std::string& name) {
  const Input& input = Get(name);
  for (auto _ : state) {
    vt::CatalogueState catalogue;
    vt::ScanModFolder(catalogue, Text(input.root));
    vt::ExpandModuleImports(catalogue);
    vt::TextList lines;
    vt::htmltype html(lines);
    html.StreamTo(Text(ReportPath()));
    vt::WriteModuleDetails(html, catalogue);
    html.WriteReportFile(Text(ReportPath()));
  }
}

void Walk(benchmark::State& state, const std::string& name) {
  Run run(Get(name));
  for (auto _ : state) run.Walk();
  state.counters["entries"] = static_cast<double>(run.analysis.ScanListList.size());
}

void CommandPass(benchmark::State& state, const std::string& name) {
  Run run(Get(name));
  run.Walk();
  for (auto _ : state) run.CommandPass();
  state.counters["lines"] = run.analysis.TotalLines;
}

void Match(benchmark::State& state, const std::string& name) {
  Run run(Get(name));
  run.Walk();
  run.CommandPass();
  for (auto _ : state) {
    state.PauseTiming();
    run.ForgetMatches();
    state.ResumeTiming();
    run.Match();
  }
}

// What matching costs before the first word: the indexes of the catalogue's
// names and the facts of its modules, built per examination.
void Matcher(benchmark::State& state, const std::string& name) {
  Run run(Get(name));
  const vt::RuleSet& rules = vt::BuiltInRules().For(run.catalogue.ruleSet);
  for (auto _ : state) {
    vt::CommandMatcher matcher(run.catalogue, vt::CauseNotes::Skip, &rules);
    benchmark::DoNotOptimize(matcher.Declares(u"cls"));
  }
}

void Report(benchmark::State& state, const std::string& name) {
  Run run(Get(name));
  run.Walk();
  run.CommandPass();
  run.Match();
  for (auto _ : state) {
    vt::Examination findings = vt::ExaminationOf(run.analysis, vt::SuggestFrameworks(run.analysis));
    vt::htmltype html(run.reportLines);
    vt::WriteResultsPage(html, findings);
    html.WriteReportFile(Text(ReportPath()));
  }
}

// The examination and its page as the window makes them, with the
// catalogue already built; with a memo kept from one to the next when given.
void ExamineAndShow(Run& run, vt::ExaminationMemo* memo) {
  vt::Examination findings =
      vt::ExamineProgram(run.catalogue, vt::BuiltInRules(), vt::DiskFileTree(),
                         Text(run.input.main), vt::ReasonChoice::Give, memo);
  vt::htmltype html(run.reportLines);
  vt::WriteResultsPage(html, findings);
  html.WriteReportFile(Text(ReportPath()));
}

// The examination as the user waits for it: walk, command pass, match,
// reasons and report, with the catalogue already built.
void Examine(benchmark::State& state, const std::string& name) {
  Run run(Get(name));
  for (auto _ : state) ExamineAndShow(run, nullptr);
}

// A later examination of the same program in a process that keeps the
// catalogue and what the examination before made of each file (the window,
// an editor's server): no file changed, so none is read again.
void Again(benchmark::State& state, const std::string& name) {
  Run run(Get(name));
  vt::ExaminationMemo memo;
  ExamineAndShow(run, &memo);
  for (auto _ : state) ExamineAndShow(run, &memo);
}

// The first examination of a process: the catalogue built from the
// installation, then the examination. Beside "examine", which keeps the
// catalogue, it shows what a long-running process saves on every later one.
void First(benchmark::State& state, const std::string& name) {
  const Input& input = Get(name);
  vt::TextList lines;
  for (auto _ : state) {
    vt::CatalogueState catalogue;
    vt::ScanModFolder(catalogue, Text(input.root));
    vt::ExpandModuleImports(catalogue);
    vt::Examination findings = vt::ExamineProgram(catalogue, vt::BuiltInRules(),
                                                  vt::DiskFileTree(), Text(input.main));
    vt::htmltype html(lines);
    vt::WriteResultsPage(html, findings);
    html.WriteReportFile(Text(ReportPath()));
  }
}

using Case = void (*)(benchmark::State&, const std::string&);

void Register(const std::string& input, std::initializer_list<std::pair<const char*, Case>> cases) {
  for (const auto& [phase, run] : cases) {
    benchmark::RegisterBenchmark((input + "/" + phase).c_str(), run, input)
        ->Unit(benchmark::kMillisecond)
                ->UseRealTime();
  }
}

}  // namespace

int main(int argc, char** argv) {
  for (const char* program : {"real", "synthetic"}) {
    Register(program, {{"cat", Cat}, {"scan", Scan}, {"closure", Closure},
                       {"walk", Walk}, {"command_pass", CommandPass}, {"match", Match}, {"matcher", Matcher},
                       {"report", Report}, {"examine", Examine}, {"again", Again}, {"first", First},
                       {"modules", ModulesWhole}});
  }
  for (const char* chain : {"chain1000", "chain2000"}) {
    Register(chain, {{"cat", Cat}, {"scan", Scan}, {"closure", Closure},
                     {"modules_page", ModulesPage}, {"modules", ModulesWhole}});
  }
  for (const char* chain : {"include30000", "import30000"}) {
    Register(chain, {{"cat", Cat}, {"walk", Walk}, {"command_pass", CommandPass},
                     {"examine", Examine}});
  }
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  bench::fs::remove_all(Base());
  return 0;
}
