// One write settles any header under the modern rules: random small
// programs, with uses of modules in and out of platform sections and header
// lines of every kind, are planned, written and planned again, all in
// memory. The second plan finds nothing and changes nothing, the write
// touched no line but the header's, and the diff of each edit, applied by the
// real patch program, gives the bytes the write gave.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "analysis/examination.h"
#include "app/catalogue_rebuild.h"
#include "app/program_layout.h"
#include "header/header_plan.h"
#include "header/unified_diff.h"
#include "platform/text_lines.h"
#include "support/test_support.h"

namespace vt {
namespace {

// A word of the example installation and the module that declares it.
// Pub.Win32 declares FlashWindow under ?Win32 only.
struct Use {
  const char* module;
  const char* line;
};
const Use kUses[] = {
    {"BRL.TextStream", "Print LoadText(\"notes.txt\")"},
    {"Random.Core", "Print Rand(1, 6)"},
    {"BRL.Map", "Print MapContains(CreateMap(), \"k\")"},
    {"BRL.KeyCodes", "Print KEY_ESCAPE"},
    {"Pub.Win32", "FlashWindow(Null, 1)"},
};
const char* const kConditions[] = {"Win32", "Linux", "Not Win32", "win32 ' windows only"};
// Header lines may also name a module nothing uses, or one not installed.
const char* const kUnused[] = {"BRL.Path", "Bah.Missing"};

class ProgramMaker {
 public:
  explicit ProgramMaker(unsigned seed) : rng_(seed) {}

  bool Chance(size_t in) { return Pick(in) == 0; }

  // A main file, and the file it imports or includes when `lib` names it.
  std::string File(bool main, const std::string& lib) {
    std::vector<std::string> lines;
    if (Chance(3)) lines.push_back("' made by hand");
    if (Chance(2)) lines.push_back("SuperStrict");
    if (Chance(3) && (main || Chance(4))) lines.push_back("Framework " + Module());
    AddHeaderLines(lines);
    if (!lib.empty()) lines.push_back((Chance(2) ? "Import \"" : "Include \"") + lib + "\"");
    size_t uses = Pick(5);
    for (size_t i = 0; i < uses; ++i) AddCode(lines);
    if (Chance(5)) lines.push_back("Import " + Module() + " ' late");
    if (Chance(4)) {
      lines.push_back("?" + std::string(Condition()));
      lines.push_back(UseLine());  // a section the file never closes
    }
    if (Chance(6)) {
      // Words a Rem block holds are no uses.
      lines.push_back("Rem " + UseLine());
      lines.push_back(UseLine());
      lines.push_back("End Rem");
    }
    std::string ending = Chance(3) ? "\r\n" : Chance(5) ? "\r" : "\n";
    std::string bytes = Chance(8) ? "\xEF\xBB\xBF" : "";
    for (const std::string& line : lines) bytes += line + ending;
    if (Chance(6) && bytes.size() > ending.size()) bytes.resize(bytes.size() - ending.size());
    return bytes;
  }

 private:
  // The engine's output is the same everywhere; a distribution's is not.
  size_t Pick(size_t below) { return rng_() % below; }
  std::string Module() {
    size_t at = Pick(std::size(kUses) + std::size(kUnused));
    return at < std::size(kUses) ? kUses[at].module : kUnused[at - std::size(kUses)];
  }
  const char* Condition() { return kConditions[Pick(std::size(kConditions))]; }
  std::string UseLine() { return kUses[Pick(std::size(kUses))].line; }

  // Imports outside sections (some marked to keep, some with a comment),
  // and sections of nothing but imports.
  void AddHeaderLines(std::vector<std::string>& lines) {
    size_t count = Pick(4);
    for (size_t i = 0; i < count; ++i) {
      if (Chance(4)) {
        lines.push_back("?" + std::string(Condition()));
        lines.push_back("Import " + Module());
        if (Chance(2)) lines.push_back("Import " + Module());
        lines.push_back("?");
        continue;
      }
      std::string comment = Chance(6) ? " ' veltrane: keep" : Chance(5) ? " ' mine" : "";
      lines.push_back("Import " + Module() + comment);
    }
  }

  // A use outside any section, in a section (with an import of its own at
  // times: then the section is the user's), or both.
  void AddCode(std::vector<std::string>& lines) {
    std::string use = UseLine();
    size_t where = Pick(4);
    if (where != 1) lines.push_back(use);
    if (where == 0) return;
    lines.push_back("?" + std::string(Condition()));
    if (Chance(4)) lines.push_back("Import " + Module());
    lines.push_back(Chance(3) ? UseLine() : use);
    lines.push_back("?");
  }

  std::mt19937 rng_;
};

std::vector<Text> Decoded(const TextLines& text) {
  std::vector<Text> lines;
  for (const RawLine& line : text.lines) lines.push_back(DecodeLine(text.encoding, line.content));
  return lines;
}

// The lines outside the header, as written, with their endings.
std::vector<std::string> OutsideHeader(const std::string& bytes) {
  TextLines text = SplitTextLines(bytes);
  PresentHeader present = ReadPresentHeader(Decoded(text), SectionImports::Read);
  std::vector<bool> header(text.lines.size(), false);
  for (const HeaderLine& line : present.lines) header[line.index] = true;
  std::vector<std::string> rest;
  size_t last = 0;
  for (size_t i = 0; i < text.lines.size(); ++i) {
    if (header[i]) continue;
    rest.push_back(text.lines[i].content + text.lines[i].ending);
    last = i;
  }
  // The file keeps ending with or without a line ending, whichever line
  // comes last.
  if (!rest.empty()) rest.back() = text.lines[last].content;
  return rest;
}

class HeaderSettles : public testing::FreshState {
 protected:
  void SetUp() override {
    Settings.RootFolder = testing::SourceFolder() + u"/examples/BlitzMaxModern";
    Settings.Layout = PortableLayout(app.Path());
    RebuildCatalogue(state);
  }

  HeaderPlan Plan(const MemoryFileTree& files) {
    Examination examination =
        ExamineProgram(Catalogue, state.Rules, files, u"/mem/main.bmx", ReasonChoice::Skip);
    suggestion_ = std::move(examination.suggestion);
    HeaderJob job{suggestion_, Catalogue, Text(), u"/mem", 0, nullptr};
    job.sections = SectionImports::Read;
    job.families = state.Rules.For(Catalogue.ruleSet).families;
    job.files = &files;
    return PlanHeaders(job);
  }

  testing::TempFolder app;
  Suggestion suggestion_;
};

TEST_F(HeaderSettles, OneWriteSettlesAnyMixOfSectionsAndHeaderLines) {
  ASSERT_EQ(Catalogue.ruleSet, RuleSetKind::Modern);
  size_t written = 0;
  // Every edit's file as it was, under seedN/, and one diff of them all, for
  // one run of patch at the end.
  testing::TempFolder patched;
  std::string diffs;
  std::vector<std::pair<Text, std::string>> expected;
  for (unsigned seed = 1; seed <= 400; ++seed) {
    ProgramMaker maker(seed);
    MemoryFileTree files;
    std::string lib = maker.Chance(3) ? "" : "lib.bmx";
    files.SetFile(u"/mem/main.bmx", maker.File(true, lib));
    if (!lib.empty()) files.SetFile(u"/mem/lib.bmx", maker.File(false, ""));
    HeaderPlan first = Plan(files);
    std::string shown;
    for (const FilePlan& file : first.files) {
      shown += "--- " + ToUtf8(file.shown) + "\n" + file.bytes;
    }
    SCOPED_TRACE("seed " + std::to_string(seed) + "\n" + shown);
    for (const FilePlan& file : first.files) {
      ASSERT_EQ(file.refusal, WriteRefusal::None);
      if (!file.changes) continue;
      ++written;
      std::string bytes = JoinTextLines(file.edit.Result(file.lines));
      std::vector<std::string> before = OutsideHeader(file.bytes);
      std::vector<std::string> after = OutsideHeader(bytes);
      // A header put into a file without one gets a blank line after it.
      if (file.present.Empty() && after.size() == before.size() + 1) {
        size_t at = 0;
        while (at < before.size() && before[at] == after[at]) ++at;
        if (Trim(FromUtf8(after[at])).empty()) after.erase(after.begin() + at);
      }
      EXPECT_EQ(after, before) << "written:\n" << bytes;
      Text name = u"seed" + FromUtf8(std::to_string(seed)) + u"/" + FileNameOf(file.path);
      patched.WriteFile(name, file.bytes);
      diffs += UnifiedDiff(name, file.lines, file.edit);
      expected.emplace_back(name, bytes);
      files.SetFile(file.path, bytes);
    }
    HeaderPlan second = Plan(files);
    for (const FilePlan& file : second.files) {
      EXPECT_FALSE(file.changes) << ToUtf8(file.shown) << " changes again:\n" << file.bytes;
      EXPECT_FALSE(file.Differs()) << ToUtf8(file.shown) << " differs again:\n" << file.bytes;
    }
    if (HasFailure()) break;
  }
  EXPECT_GT(written, 100u) << "most programs need a write";
#if !defined(_WIN32)
  if (!std::filesystem::exists("/usr/bin/patch")) GTEST_SKIP() << "no patch program here";
  patched.WriteFile(u"all.diff", diffs);
  std::string command = "cd '" + ToUtf8(patched.Path()) + "' && /usr/bin/patch -p0 -s -i all.diff";
  ASSERT_EQ(std::system(command.c_str()), 0) << "patch refused the diff:\n" << diffs.substr(0, 3000);
  for (const auto& [name, bytes] : expected) {
    EXPECT_EQ(testing::ReadFileBytes(patched / name), bytes) << ToUtf8(name);
  }
#endif
}

}  // namespace
}  // namespace vt
