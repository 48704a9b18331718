// --check, --diff and --write as the engine does them, on programs in a
// temporary folder examined against the example installation.
#include "app/program_layout.h"
#include "header/header_plan.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <optional>
#if !defined(_WIN32)
#include <unistd.h>
#endif

#include "app/catalogue_rebuild.h"
#include "app/examine.h"
#include "app/header_edit_text.h"
#include "header/header_apply.h"
#include "header/module_reason.h"
#include "output/check_text.h"
#include "platform/text_lines.h"
#include "support/test_support.h"

namespace vt {
namespace {

using namespace std::string_literals;
using testing::ReadFileBytes;
using testing::SourceFolder;
using testing::TempFolder;

enum class Mode { Check, Diff, Write };

// What a mode says, as the command line prints it.
struct HeaderResult {
  HeaderStatus status = HeaderStatus::Done;
  std::string output;
  std::vector<Text> written;
  std::vector<Text> leftAlone;
  std::vector<Text> errors;
  bool differs = false;
};

HeaderResult CheckHeaders(const HeaderJob& job) {
  HeaderPlan plan = PlanHeaders(job);
  return {plan.status, CheckText(plan), {}, {}, PlanErrors(plan, false), plan.Differs()};
}

HeaderResult DiffHeaders(const HeaderJob& job) {
  HeaderPlan plan = PlanHeaders(job);
  return {plan.status, DiffText(plan), {}, LeftAloneLines(plan), PlanErrors(plan, true),
          plan.Differs()};
}

HeaderResult WriteHeaders(const HeaderJob& job, bool keepBackup) {
  HeaderPlan plan = PlanHeaders(job);
  AppliedFiles applied = ApplyHeaderPlan(plan, keepBackup);
  return {plan.status, "", WrittenLines(plan, applied), LeftAloneLines(plan),
          ApplyErrors(plan, applied), plan.LeavesDifferences()};
}

// Empty when `text` starts with `head`, else what it starts with instead.
std::string Head(const std::string& text, const std::string& head) {
  std::string start = text.substr(0, head.size());
  return start == head ? "" : start;
}

std::string Utf16Le(const std::u16string& text) {
  return "\xFF\xFE"s + *EncodeText(TextEncoding::Utf16LE, text);
}

class HeaderCheck : public testing::FreshState {
 protected:
  void SetUp() override {
    Settings.RootFolder = SourceFolder() + u"/examples/BlitzMax";
    Settings.Layout = PortableLayout(app.Path());
    RebuildCatalogue(state);
  }

  // Writes `program` as main.bmx, checks it, then writes until it settles:
  // what the check said, and what the file became.
  std::pair<std::string, std::string> CheckAndFix(const std::string& program) {
    work.WriteFile(u"main.bmx", program);
    std::string said = Run(Mode::Check).output;
    WriteAndSettle({u"main.bmx"});
    return {said, ReadFileBytes(work / u"main.bmx")};
  }

  HeaderResult Run(Mode mode, TextView main = u"main.bmx", size_t block = 0, bool backup = true) {
    ExaminedSource examination = ExamineSource(state, work / main);
    EXPECT_EQ(examination.outcome, ExamineOutcome::ReportWritten);
    HeaderJob job{examination.suggestion, Catalogue, Settings.RootFolder + u"/mod", work.Path(),
                  block, nullptr};
    if (Catalogue.ruleSet == RuleSetKind::Modern) job.sections = SectionImports::Read;
    if (mode == Mode::Check) return CheckHeaders(job);
    if (mode == Mode::Diff) return DiffHeaders(job);
    return WriteHeaders(job, backup);
  }

  std::map<Text, std::string> Snapshot(const std::vector<Text>& files) const {
    std::map<Text, std::string> bytes;
    for (const Text& file : files) bytes[file] = ReadFileBytes(work / file);
    return bytes;
  }

  // Writes once, then: a second write changes nothing, and check and diff
  // find nothing. Returns the first write's result.
  HeaderResult WriteAndSettle(const std::vector<Text>& files, TextView main = u"main.bmx",
                              size_t block = 0) {
    HeaderResult first = Run(Mode::Write, main, block, false);
    EXPECT_TRUE(first.errors.empty()) << ToUtf8(first.errors.front());
    auto written = Snapshot(files);
    HeaderResult second = Run(Mode::Write, main, block, false);
    EXPECT_EQ(second.written, std::vector<Text>{u"Every header matches; nothing written."});
    EXPECT_EQ(Snapshot(files), written);
    HeaderResult check = Run(Mode::Check, main, block);
    EXPECT_FALSE(check.differs) << check.output;
    EXPECT_EQ(check.output, "");
    HeaderResult diff = Run(Mode::Diff, main, block);
    EXPECT_FALSE(diff.differs) << diff.output;
    return first;
  }

  TempFolder app;
  TempFolder work;
};

TEST_F(HeaderCheck, TheExampleProgramIsFixedOnceAndThenMatches) {
  std::filesystem::copy(ToUtf8(SourceFolder() + u"/examples/game"), ToUtf8(work.Path()),
                        std::filesystem::copy_options::recursive);
  std::string game = ReadFileBytes(work / u"game.bmx");
  std::string math = ReadFileBytes(work / u"MathUtil.bmx");
  // game.bmx names it in lower case, which is its name where case is ignored.
  const std::string mathName = ToUtf8(testing::AsRecorded(u"MathUtil.bmx", u"mathutil.bmx"));

  HeaderResult check = Run(Mode::Check, u"game.bmx");
  EXPECT_TRUE(check.differs);
  EXPECT_EQ(check.output,
            "game.bmx:4: no Framework line: with Framework BRL.GLMax2D it could drop 10 of the 28 "
            "modules it imports now\n"
            "game.bmx:4: missing Import BRL.FreeAudioAudio\n"
            "game.bmx:4: missing Import BRL.WAVLoader\n"
            "game.bmx:4: missing Import BRL.PNGLoader\n"
            "game.bmx:4: missing Import BRL.Retro\n"
            "game.bmx:4: unneeded Import BRL.LinkedList\n"
            + mathName + ":3: missing Import BRL.Retro\n");
  EXPECT_EQ(ReadFileBytes(work / u"game.bmx"), game) << "check writes nothing";

  HeaderResult diff = Run(Mode::Diff, u"game.bmx");
  EXPECT_TRUE(diff.differs);
  EXPECT_EQ(Head(diff.output,
                 "--- game.bmx\n+++ game.bmx\n@@ -1,7 +1,17 @@\n"
            " ' Star Patrol: a small example game.\n"
            " ' The arrow keys steer the ship, Space fires and Escape quits.\n \n"
                 "-Import BRL.LinkedList\n+Framework BRL.GLMax2D\n"),
            "");
  EXPECT_EQ(ReadFileBytes(work / u"game.bmx"), game) << "diff writes nothing";

  HeaderResult write = Run(Mode::Write, u"game.bmx");
  EXPECT_EQ(write.written, (std::vector<Text>{
                                u"Wrote game.bmx (the original is in game.bmx.bak)",
                                FromUtf8("Wrote " + mathName + " (the original is in " +
                                         mathName + ".bak)")}));
  EXPECT_EQ(ReadFileBytes(work / u"game.bmx.bak"), game);
  EXPECT_EQ(ReadFileBytes(work / u"MathUtil.bmx.bak"), math);
  // Only the header lines changed: everything from the quoted Import on is
  // the same, and so is everything after MathUtil's Strict line.
  std::string fixed = ReadFileBytes(work / u"game.bmx");
  size_t tail = game.find("Import \"mathutil.bmx\"");
  EXPECT_EQ(fixed.substr(fixed.size() - (game.size() - tail)), game.substr(tail));
  EXPECT_EQ(Head(fixed,
                 "' Star Patrol: a small example game.\n"
                 "' The arrow keys steer the ship, Space fires and Escape quits.\n\n"
                 "Framework BRL.GLMax2D\n"),
            "");
  std::string mathFixed = ReadFileBytes(work / u"MathUtil.bmx");
  size_t afterStrict = math.find("Strict\n") + 7;
  EXPECT_EQ(mathFixed.substr(0, afterStrict), math.substr(0, afterStrict));
  EXPECT_EQ(mathFixed.substr(mathFixed.size() - (math.size() - afterStrict)), math.substr(afterStrict));

  WriteAndSettle({u"game.bmx", u"MathUtil.bmx"}, u"game.bmx");

  // A later edit keeps the backup of the first: it holds the original.
  work.WriteFile(u"game.bmx", ReadFileBytes(work / u"game.bmx") + "Incbin \"data.bin\"\n");
  HeaderResult again = Run(Mode::Write, u"game.bmx");
  EXPECT_EQ(again.written, std::vector<Text>{u"Wrote game.bmx (the original is in game.bmx.bak, "
                                             u"kept from before)"});
  EXPECT_EQ(ReadFileBytes(work / u"game.bmx.bak"), game);
}

TEST_F(HeaderCheck, CrlfAndMixedEndingsStayAsTheyWere) {
  work.WriteFile(u"main.bmx",
                 "' Tool\r\nStrict\r\nImport BRL.LinkedList\n\r\nPrint Upper(\"abc\")\r\nPrint 1");
  WriteAndSettle({u"main.bmx"});
  EXPECT_EQ(ReadFileBytes(work / u"main.bmx"),
            "' Tool\r\nStrict\r\nFramework BRL.StandardIO\r\nImport BRL.Retro\r\n\r\n"
            "Print Upper(\"abc\")\r\nPrint 1");
}

TEST_F(HeaderCheck, AUtf16FileStaysUtf16WithItsMark) {
  work.WriteFile(u"main.bmx", Utf16Le(u"' Spiel f\u00FCr alle\r\nImport BRL.Retro\r\n\r\n"
                                      u"Print Upper(\"\u00E4\")\r\n"));
  WriteAndSettle({u"main.bmx"});
  EXPECT_EQ(ReadFileBytes(work / u"main.bmx"),
            Utf16Le(u"' Spiel f\u00FCr alle\r\nFramework BRL.StandardIO\r\nImport BRL.Retro\r\n\r\n"
                    u"Print Upper(\"\u00E4\")\r\n"));
}

TEST_F(HeaderCheck, RemBlocksAndConditionalSectionsAreLeftAlone) {
  std::string program =
      "SuperStrict\n"
      "Rem\nImport BRL.Max2D\nEnd Rem\n"
      "?Win32\nImport BRL.D3D7Max2D\n?\n"
      "Import brl.retro ' for Upper\n"
      "Import BRL.PNGLoader\n"
      "Print Upper(\"x\")\n";
  auto [check, fixed] = CheckAndFix(program);
  EXPECT_EQ(check,
            "main.bmx:8: no Framework line: with Framework BRL.StandardIO it could drop 24 of "
            "the 28 modules it imports now\n"
            "main.bmx:9: unneeded Import BRL.PNGLoader\n");
  EXPECT_EQ(fixed,
            "SuperStrict\n"
            "Rem\nImport BRL.Max2D\nEnd Rem\n"
            "?Win32\nImport BRL.D3D7Max2D\n?\n"
            "Framework BRL.StandardIO\n"
            "Import BRL.Retro ' for Upper\n"
            "Print Upper(\"x\")\n");
}

// Under the modern rules a section of imports is header: its imports count
// under its condition and it is written again with the user's own condition
// line; a section with other lines is the user's and stays as it is.
TEST_F(HeaderCheck, ModernHeadersKeepTheirPlatformSections) {
  Settings.RootFolder = SourceFolder() + u"/examples/BlitzMaxModern";
  RebuildCatalogue(state);
  ASSERT_EQ(Catalogue.ruleSet, RuleSetKind::Modern);
  std::string rest =
      "?MacOS\nImport MaxGUI.CocoaMaxGUI\nExtern\nFunction NSBeep()\nEnd Extern\n?\n"
      "Global t:TTimer = CreateTimer(10)\n"
      "?Win32\nFlashWindow(0, True)\n?\n";
  auto [check, fixed] = CheckAndFix("SuperStrict\n?win32 ' only there\nImport Pub.Win32 ' flash\n"
                                    "Import BRL.Map\n?\n" + rest);
  EXPECT_EQ(check,
            "main.bmx:3: no Framework line: with Framework BRL.Timer it could drop 15 of the 20 "
            "modules it imports now\n"
            "main.bmx:3: missing Import BRL.TimerDefault\n"
            "main.bmx:4: unneeded Import BRL.Map under ?win32\n");
  EXPECT_EQ(fixed,
            "SuperStrict\nFramework BRL.Timer\nImport BRL.TimerDefault\n"
            "?win32 ' only there\nImport Pub.Win32 ' flash\n?\n" + rest);
}

// An editor's unsaved buffer laid over the disk is what is examined and
// checked; a write, which reads the disk again, finds other bytes there and
// leaves the file alone rather than put the buffer's header on it.
TEST_F(HeaderCheck, ABufferOverTheDiskIsCheckedButNeverWrittenFrom) {
  std::string onDisk = "Framework BRL.StandardIO\nImport BRL.Retro\nPrint Upper(\"x\")\n";
  work.WriteFile(u"main.bmx", onDisk);
  EXPECT_EQ(Run(Mode::Check).output, "");
  static const DiskFileTree disk;
  auto buffers = std::make_shared<MemoryFileTree>(disk);
  buffers->SetFile(work / u"main.bmx", "Framework BRL.StandardIO\nPrint Upper(\"x\")\n");
  state.Files = buffers;
  Examination examination = ExamineSource(state, work / u"main.bmx");
  HeaderJob job{examination.suggestion, Catalogue, Settings.RootFolder + u"/mod", work.Path(),
                0, nullptr};
  job.files = state.Files.get();
  EXPECT_EQ(CheckHeaders(job).output, "main.bmx:1: missing Import BRL.Retro\n");
  HeaderResult write = WriteHeaders(job, false);
  EXPECT_EQ(write.errors,
            std::vector<Text>{u"main.bmx: left alone: changed while being examined; run again"});
  EXPECT_EQ(ReadFileBytes(work / u"main.bmx"), onDisk);
}

// A header the check finds right stays as written, so check, diff and write
// agree; an Import the user marks to keep is never reported or removed.
TEST_F(HeaderCheck, ARightHeaderStaysAsWrittenAndMarkedImportsAreKept) {
  std::string right = "Framework BRL.StandardIO\n\timport   brl.retro\n"
                      "Import BRL.LinkedList ' Veltrane: keep, loaded by name\nPrint Upper(\"x\")\n";
  work.WriteFile(u"main.bmx", right);
  EXPECT_FALSE(Run(Mode::Check).differs);
  EXPECT_FALSE(Run(Mode::Diff).differs);
  WriteAndSettle({u"main.bmx"});
  EXPECT_EQ(ReadFileBytes(work / u"main.bmx"), right);

  auto [check, fixed] = CheckAndFix("Import BRL.LinkedList ' veltrane: keep\nPrint Upper(\"x\")\n");
  EXPECT_EQ(check.find("LinkedList"), std::string::npos);
  EXPECT_EQ(fixed,
            "Framework BRL.StandardIO\nImport BRL.Retro\nImport BRL.LinkedList ' veltrane: keep\n"
            "Print Upper(\"x\")\n");
}

TEST_F(HeaderCheck, AnImportedFileWithoutHeaderGetsOneAndAFrameworkOnlyFileLosesIt) {
  work.WriteFile(u"main.bmx", "Import \"lib/util.bmx\"\nImport \"bare.bmx\"\nPrint Shout(\"x\")\n");
  work.WriteFile(u"lib/util.bmx",
                 "' util\r\nFunction Shout:String(s:String)\r\n\tReturn Upper(s)\r\nEnd Function\r\n");
  work.WriteFile(u"bare.bmx", "Framework BRL.Retro");
  HeaderResult check = Run(Mode::Check);
  EXPECT_EQ(check.output,
            "main.bmx:1: no Framework line: with Framework BRL.StandardIO it could drop 24 of "
            "the 28 modules it imports now\n"
            "lib/util.bmx:2: missing Import BRL.Retro\n"
            "bare.bmx:1: unneeded Framework BRL.Retro\n");
  WriteAndSettle({u"main.bmx", u"lib/util.bmx", u"bare.bmx"});
  EXPECT_EQ(ReadFileBytes(work / u"main.bmx"),
            "Framework BRL.StandardIO\n\nImport \"lib/util.bmx\"\nImport \"bare.bmx\"\n"
            "Print Shout(\"x\")\n");
  EXPECT_EQ(ReadFileBytes(work / u"lib/util.bmx"),
            "' util\r\nImport BRL.Retro\r\n\r\nFunction Shout:String(s:String)\r\n"
            "\tReturn Upper(s)\r\nEnd Function\r\n");
  EXPECT_EQ(ReadFileBytes(work / u"bare.bmx"), "");
}

TEST_F(HeaderCheck, AMainFileThatNeedsNothingKeepsItsOnlyFrameworkLine) {
  work.WriteFile(u"main.bmx", "Framework BRL.Retro");
  EXPECT_EQ(Run(Mode::Check).output, "");
  WriteAndSettle({u"main.bmx"});
  EXPECT_EQ(ReadFileBytes(work / u"main.bmx"), "Framework BRL.Retro");
}

TEST_F(HeaderCheck, TheBlockIsTheOneTheMainFileNamesOrTheNumberedOne) {
  std::string program = "Framework BRL.D3D7Max2D\nGraphics 640, 480\nDrawRect 0, 0, 8, 8\n";
  work.WriteFile(u"main.bmx", program);
  // The driver choice gives two blocks; the second names this Framework.
  EXPECT_EQ(Run(Mode::Check).output, "");
  EXPECT_EQ(Run(Mode::Check, u"main.bmx", 1).output,
            "main.bmx:1: unneeded Framework BRL.D3D7Max2D\n"
            "main.bmx:1: missing Framework BRL.GLMax2D\n");
  HeaderResult bad = Run(Mode::Diff, u"main.bmx", 3);
  EXPECT_EQ(bad.status, HeaderStatus::BadTemplate);
  EXPECT_EQ(bad.errors, std::vector<Text>{u"there is no framework block 3; the suggestion has 2"});
  WriteAndSettle({u"main.bmx"}, u"main.bmx", 1);
  EXPECT_EQ(ReadFileBytes(work / u"main.bmx"),
            "Framework BRL.GLMax2D\nGraphics 640, 480\nDrawRect 0, 0, 8, 8\n");
}

TEST_F(HeaderCheck, FilesOutsideTheMainFilesFolderAreCheckedButNeverWritten) {
  work.WriteFile(u"game/main.bmx", "Import \"../shared/text.bmx\"\nPrint 1\n");
  work.WriteFile(u"shared/text.bmx", "Function Loud:String(s:String)\nReturn Upper(s)\nEnd Function\n");
  HeaderResult check = Run(Mode::Check, u"game/main.bmx");
  EXPECT_NE(check.output.find("shared/text.bmx:1: missing Import BRL.Retro\n"), std::string::npos);
  HeaderResult write = Run(Mode::Write, u"game/main.bmx");
  EXPECT_TRUE(write.errors.empty());
  EXPECT_EQ(write.written,
            std::vector<Text>{u"Wrote game/main.bmx (the original is in game/main.bmx.bak)"});
  EXPECT_EQ(write.leftAlone,
            std::vector<Text>{u"shared/text.bmx: left alone: it lies outside the main file's folder"});
  EXPECT_TRUE(write.differs) << "its header still differs";
  EXPECT_EQ(ReadFileBytes(work / u"shared/text.bmx"),
            "Function Loud:String(s:String)\nReturn Upper(s)\nEnd Function\n");
  EXPECT_FALSE(std::filesystem::exists(ToUtf8(work / u"shared/text.bmx.bak")));
}

TEST_F(HeaderCheck, AFileThatCannotBeReadIsAnErrorNotAMatch) {
  work.WriteFile(u"main.bmx", "Import \"lib.bmx\"\nPrint 1\n");
  work.WriteFile(u"lib.bmx", "Print 2\n");
  Examination examination = ExamineSource(state, work / u"main.bmx");
  std::filesystem::remove(ToUtf8(work / u"lib.bmx"));
  HeaderJob job{examination.suggestion, Catalogue, Text(), work.Path(), 0, nullptr};
  HeaderResult check = CheckHeaders(job);
  EXPECT_EQ(check.errors, std::vector<Text>{u"lib.bmx: cannot be read"});
  HeaderResult write = WriteHeaders(job, true);
  EXPECT_EQ(write.errors, std::vector<Text>{u"lib.bmx: cannot be read"});
  // The main file, readable, was still fixed.
  EXPECT_EQ(ReadFileBytes(work / u"main.bmx"),
            "Framework BRL.StandardIO\n\nImport \"lib.bmx\"\nPrint 1\n");
}

// The write goes by the plan, all or nothing: a file changed after it was
// planned, or one this user may not write, leaves every file as it was,
// without backups, each named as it is; else each file gets the edit of the
// lines judged, and its backup the original's permissions.
TEST_F(HeaderCheck, AnApplyWritesWhatWasPlannedOrNothing) {
  enum class Then { Nothing, ChangeLib, LockLib };
  for (Then then : {Then::ChangeLib, Then::LockLib, Then::Nothing}) {
    SCOPED_TRACE(static_cast<int>(then));
    work.WriteFile(u"main.bmx", "Import \"lib.bmx\"\nPrint Upper(\"x\")\n");
    work.WriteFile(u"lib.bmx", "Print Upper(\"y\")\n");
    std::filesystem::remove(ToUtf8(work / u"main.bmx.bak"));
    if (then == Then::Nothing) {
      std::filesystem::permissions(ToUtf8(work / u"main.bmx"), std::filesystem::perms(0600));
    }
    ExaminedSource examination = ExamineSource(state, work / u"main.bmx");
    HeaderJob job{examination.suggestion, Catalogue, Text(), work.Path(), 0, nullptr};
    HeaderPlan plan = PlanHeaders(job);
    ASSERT_EQ(plan.files.size(), 2u);
    ASSERT_TRUE(plan.files[0].ToWrite() && plan.files[1].ToWrite());
    std::string lib = plan.files[1].bytes;
    if (then == Then::ChangeLib) work.WriteFile(u"lib.bmx", lib = "Print 2\n");
    std::optional<testing::WithoutPrivileges> user;
    if (then == Then::LockLib) {
      std::filesystem::permissions(ToUtf8(work / u"lib.bmx"), std::filesystem::perms(0444));
#if !defined(_WIN32)
      // The user the test drops to owns the program, as its author would.
      if (geteuid() == 0) {
        for (const Text& path : {work.Path(), work / u"main.bmx", work / u"lib.bmx"}) {
          ASSERT_EQ(chown(ToUtf8(path).c_str(), 65534, 65534), 0);
        }
      }
#endif
      user.emplace();
      if (!user->Bound()) GTEST_SKIP() << "file permissions do not bind this user";
    }
    AppliedFiles applied = ApplyHeaderPlan(plan, true);
    user.reset();
    std::filesystem::permissions(ToUtf8(work / u"lib.bmx"), std::filesystem::perms(0644));
    const FilePlan& main = plan.files[0];
    if (then == Then::Nothing) {
      EXPECT_TRUE(ApplyErrors(plan, applied).empty());
      EXPECT_EQ(ReadFileBytes(work / u"main.bmx"), JoinTextLines(main.edit.Result(main.lines)));
      EXPECT_EQ(ReadFileBytes(work / u"main.bmx.bak"), main.bytes);
      EXPECT_EQ(std::filesystem::status(ToUtf8(work / u"main.bmx.bak")).permissions(),
                std::filesystem::perms(0600));
      continue;
    }
    std::vector<Text> errors = ApplyErrors(plan, applied);
    EXPECT_EQ(errors, (std::vector<Text>{
                          u"main.bmx: left alone: another file of the edit cannot be written, "
                          u"so none is",
                          then == Then::ChangeLib
                              ? u"lib.bmx: left alone: changed while being examined; run again"
                              : u"lib.bmx: left alone: read-only"}));
    EXPECT_EQ(ReadFileBytes(work / u"main.bmx"), main.bytes);
    EXPECT_EQ(ReadFileBytes(work / u"lib.bmx"), lib);
    EXPECT_FALSE(std::filesystem::exists(ToUtf8(work / u"main.bmx.bak")));
    EXPECT_FALSE(std::filesystem::exists(ToUtf8(work / u"lib.bmx.bak")));
  }
}

TEST_F(HeaderCheck, ReasonsFollowTheMissingModulesWhenThereAreAny) {
  work.WriteFile(u"main.bmx", "Framework BRL.StandardIO\nImport BRL.Max2D\nPrint Upper(\"x\")\n");
  Examination examination = ExamineSource(state, work / u"main.bmx");
  HeaderJob job{examination.suggestion, Catalogue, Text(), work.Path(), 0,
                [](TextView path, TextView module) {
                  Reason reason;
                  if (EndsWith(path, u"/main.bmx")) reason = {u"Upper", u"main.bmx", 3, Text(module), Text()};
                  return reason;
                }};
  EXPECT_EQ(CheckHeaders(job).output,
            "main.bmx:1: missing Import BRL.Retro (Upper at main.bmx:3 (BRL.Retro))\n"
            "main.bmx:2: unneeded Import BRL.Max2D\n");
  Suggestion empty;
  HeaderJob nothing{empty, Catalogue, Text(), work.Path(), 0, nullptr};
  EXPECT_EQ(CheckHeaders(nothing).status, HeaderStatus::NoUnits);
}

// A finder asked about one unit, then another, then the first again, still
// finds the first one's reasons, though it keeps one unit's index at a time.
TEST(ReasonFinderTest, AnswersForEveryUnitInAnyOrder) {
  Suggestion suggestion;
  FrameworkBlock& block = suggestion.blocks.emplace_back();
  for (const char16_t* path : {u"/p/a.bmx", u"/p/b.bmx"}) {
    CodeBox& box = block.boxes.emplace_back();
    box.path = path;
    box.modules = {u"BRL.Timer"};
    box.reasons = std::vector<Reason>{Reason{Text(u"CreateTimer"), Text(path), 3, {}, {}}};
  }
  ReasonFinder finder(suggestion);
  for (const char16_t* path : {u"/p/a.bmx", u"/p/b.bmx", u"/p/a.bmx"}) {
    EXPECT_EQ(finder.For(path, u"brl.timer").file, path);
  }
  EXPECT_TRUE(finder.For(u"/p/a.bmx", u"BRL.Map").word.empty());
  EXPECT_TRUE(finder.For(u"/p/c.bmx", u"BRL.Timer").word.empty());
}

}  // namespace
}  // namespace vt
