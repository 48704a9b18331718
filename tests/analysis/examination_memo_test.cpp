#include "analysis/examination_memo.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "analysis/analyse.h"
#include "analysis/examination.h"
#include "catalogue_fixture.h"
#include "support/test_support.h"

namespace vt {
namespace {

using testing::MakeModule;

// Everything an examination's records say, as text, so that two
// examinations can be compared whole.
void DumpRecord(const sourcemodtype& record, std::string& out) {
  out += ToUtf8(record.path) + "|" + ToUtf8(record.condition) + "\n words:";
  for (size_t i = 0; i < record.words.size(); ++i) {
    out += " " + ToUtf8(record.words[i]);
    if (i < record.wordSites.size()) {
      const WordSite& site = record.wordSites[i];
      out += "@" + std::to_string(site.place.entry) + ":" + std::to_string(site.place.line) +
             ToUtf8(site.spelling);
    }
    if (i < record.hiddenWords.size() && record.hiddenWords[i]) out += "(hidden)";
  }
  out += "\n modules:";
  for (const Text& module : record.modules) out += " " + ToUtf8(module);
  out += "\n optional:";
  for (const Text& module : record.optionalModules) out += " " + ToUtf8(module);
  std::vector<std::string> causes;
  for (size_t i = 0; i < record.causes.size(); ++i) {
    const ModuleCause& cause = record.causes[i];
    causes.push_back(ToUtf8(record.causes.KeyAt(i)) + "<-" + std::to_string(cause.word) +
                     ToUtf8(cause.declaredBy));
  }
  std::sort(causes.begin(), causes.end());
  out += "\n causes:";
  for (const std::string& cause : causes) out += " " + cause;
  out += "\n loads: " + std::to_string(record.imagesUsed) + std::to_string(record.audioUsed) + "\n";
  for (const sourcemodtype& section : record.sections) DumpRecord(section, out);
}

std::string Dump(const AnalysisState& analysis) {
  std::string out = std::to_string(analysis.TotalLines) + " " +
                    std::to_string(analysis.CodeLines) + "\n";
  for (const auto& entry : analysis.ScanListList) out += ToUtf8(entry.path) + "\n";
  for (const auto& record : analysis.SourceModList) DumpRecord(*record, out);
  return out;
}

// Every box's modules with the reasons given for them.
std::string DumpReasons(const Examination& examination) {
  std::string out;
  for (const FrameworkBlock& block : examination.suggestion.blocks) {
    out += ToUtf8(block.title) + "\n";
    for (const CodeBox& box : block.boxes) {
      out += " " + ToUtf8(box.path) + ":";
      for (const Reason& reason : box.reasons) out += " [" + ToUtf8(reason.Comment()) + "]";
      for (const Reason& reason : box.optionalReasons) out += " (" + ToUtf8(reason.Comment()) + ")";
      for (const GuardedModules& guarded : box.guarded) {
        out += " ?" + ToUtf8(guarded.condition);
        for (const Reason& reason : guarded.reasons) out += " {" + ToUtf8(reason.Comment()) + "}";
      }
      out += "\n";
    }
  }
  return out;
}

class Memo : public testing::FreshState {
 protected:
  Memo() {
    MakeModule(Catalogue, u"brl.timer", u"BRL.Timer", {u"createtimer"});
    MakeModule(Catalogue, u"brl.retro", u"BRL.Retro", {u"mid", u"left"});
    MakeModule(Catalogue, u"brl.max2d", u"BRL.Max2D", {u"cls", u"drawrect"});
    // A driver the template puts in Max2D's place: in a box whose list the
    // memo's record shares, which must stay as it was.
    MakeModule(Catalogue, u"brl.glmax2d", u"BRL.GLMax2D", {u"glmax2ddriver"});
    MakeModule(Catalogue, u"brl.audio", u"BRL.Audio", {u"playsound"});
    MakeModule(Catalogue, u"pub.win32", u"Pub.Win32", {u"flashwindow"});
  }

  void WriteProgram() {
    // Three stretches: the Main file with the Include before the Import,
    // the imported file, and the Include after it that feeds Main again.
    mem.WriteFile(u"main.bmx",
                  "Include \"inc.bmx\"\nImport \"util.bmx\"\nInclude \"late.bmx\"\n"
                  "CreateTimer 10\nMid s\n?Win32\nFlashWindow w\n?\n");
    mem.WriteFile(u"inc.bmx", "Cls\nType TThing\nMethod Mid()\nMid 1\nEnd Method\nEnd Type\n");
    mem.WriteFile(u"util.bmx", "DrawRect 1\nPlaySound s\n");
    mem.WriteFile(u"late.bmx", "Left s\n");
  }

  // What the examination found; without a memo, `asKept` with the words a
  // memo's records keep once matched (those that explain them).
  std::string Examine(ExaminationMemo* memo, bool asKept = true) {
    AnalyseProgram(Analysis, Catalogue, mem.Files(), mem / u"main.bmx", CauseNotes::Keep,
                   BuiltInRules(), memo);
    if (!memo && asKept) {
      for (const auto& record : Analysis.SourceModList) record->KeepOnlyExplainingWords();
    }
    return Dump(Analysis);
  }

  Examination Explain(ExaminationMemo* memo, const Examination* last = nullptr) {
    return ExamineProgram(Catalogue, BuiltInRules(), mem.Files(), mem / u"main.bmx",
                          ReasonChoice::Give, memo, last);
  }

  testing::MemoryFolder mem;
};

// Whatever changed since the memo was made, an examination with it finds
// what one without finds; it reads again only the stretches that changed
// or that start from what changed.
TEST_F(Memo, AnExaminationWithTheMemoFindsWhatOneWithoutFinds) {
  struct Edit {
    const char16_t* file;
    const char* bytes;
    // Of the three stretches, under the classic and the modern rules (the
    // classic ones keep no types).
    size_t reused[2];
  };
  const Edit edits[] = {
      {u"main.bmx", nullptr, {3, 3}},
      {u"util.bmx", "Cls\nPlaySound s\n", {2, 2}},
      {u"late.bmx", "Mid s\n", {2, 2}},
      // The Main record changed, so the stretch that goes on feeding it
      // is read again; the imported file is not.
      {u"inc.bmx", "Left s\nType TThing\nMethod Mid()\nEnd Method\nEnd Type\n", {1, 1}},
      // A type more renumbers the types of every later file.
      {u"inc.bmx", "Cls\nType TA\nEnd Type\nType TThing\nMethod Mid()\nEnd Method\nEnd Type\n", {1, 0}},
      // A name declared in one file hides the word of another, which is
      // matched again though its files did not change.
      {u"util.bmx", "Function CreateTimer()\nEnd Function\nPlaySound s\n", {2, 2}},
      // A Rem left open silences the files after it.
      {u"util.bmx", "PlaySound s\nRem\n", {1, 1}},
  };
  for (RuleSetKind ruleSet : {RuleSetKind::Classic, RuleSetKind::Modern}) {
    Catalogue.ruleSet = ruleSet;
    for (const Edit& edit : edits) {
      SCOPED_TRACE(ToUtf8(edit.file) + (edit.bytes ? edit.bytes : ""));
      WriteProgram();
      ExaminationMemo memo;
      Examine(&memo);
      EXPECT_EQ(memo.LastReused(), 0u);
      EXPECT_EQ(memo.StretchCount(), 3u);
      std::string before = Examine(nullptr, false);
      if (edit.bytes) mem.WriteFile(edit.file, edit.bytes);
      std::string fresh = Examine(nullptr);
      EXPECT_EQ(Examine(&memo), fresh);
      if (edit.bytes) {
        EXPECT_NE(Examine(nullptr, false), before);
      }
      EXPECT_EQ(memo.LastReused(), edit.reused[ruleSet == RuleSetKind::Modern]);
      // Kept again, the memo serves the examination after as well.
      EXPECT_EQ(Examine(&memo), fresh);
      EXPECT_EQ(memo.LastReused(), memo.StretchCount());

      // The reasons too: those of the units that did not change are
      // taken from the last explanation, kept by the memo or lent by its
      // caller, and must be what a fresh one gives, whatever changed.
      for (FindingsKeeper keeper : {FindingsKeeper::Memo, FindingsKeeper::Caller}) {
        WriteProgram();
        ExaminationMemo explained(keeper);
        Examination last = Explain(&explained);
        if (edit.bytes) mem.WriteFile(edit.file, edit.bytes);
        std::string freshReasons = DumpReasons(Explain(nullptr));
        last = Explain(&explained, &last);
        EXPECT_EQ(DumpReasons(last), freshReasons);
        EXPECT_EQ(DumpReasons(Explain(&explained, &last)), freshReasons);
      }
    }
  }
}

// Serves other bytes for one file from its second read on: a file that
// changes while an examination is under way.
class ChangingTree final : public FileTree {
 public:
  ChangingTree(const FileTree& under, Text path, std::string later)
      : under_(under), path_(std::move(path)), later_(std::move(later)) {}
  FileKind KindOf(TextView path) const override { return under_.KindOf(path); }
  bool CanEnter(TextView folder) const override { return under_.CanEnter(folder); }
  bool List(TextView folder, std::vector<Text>& names, std::vector<bool>& folders) const override {
    return under_.List(folder, names, folders);
  }
  ReadOutcome ReadBytes(TextView path, std::string& bytes) const override {
    if (path != path_ || ++reads_ < 2) return under_.ReadBytes(path, bytes);
    bytes = later_;
    return ReadOutcome::Read;
  }
  Text Canonical(TextView path) const override { return under_.Canonical(path); }

 private:
  const FileTree& under_;
  Text path_;
  std::string later_;
  mutable int reads_ = 0;
};

// Under the classic rules a record whose later stretch changed is made
// again from the files of its earlier ones, each from the Rem state it
// started in; one of those files that changes meanwhile is not vouched for
// by the memo afterwards.
TEST_F(Memo, ARecordIsMadeAgainFromItsEarlierFiles) {
  // The imported unit starts inside the Rem the Main file leaves open, and
  // its record is fed again after the unit it imports.
  mem.WriteFile(u"main.bmx", "Import \"a.bmx\"\nCreateTimer 1\nRem\n");
  mem.WriteFile(u"a.bmx",
                "FlashWindow w\nEnd Rem\nLeft s\nImport \"b.bmx\"\nInclude \"late.bmx\"\n");
  mem.WriteFile(u"b.bmx", "Cls\n");
  mem.WriteFile(u"late.bmx", "DrawRect 1\n");
  ExaminationMemo memo;
  Examine(&memo);
  mem.WriteFile(u"late.bmx", "PlaySound s\n");
  std::string fresh = Examine(nullptr);
  EXPECT_EQ(fresh.find("Pub.Win32"), std::string::npos);
  EXPECT_EQ(Examine(&memo), fresh);

  mem.WriteFile(u"late.bmx", "DrawRect 1\n");
  ChangingTree changing(mem.Files(), mem / u"a.bmx", "Left s\nMid s\n");
  AnalyseProgram(Analysis, Catalogue, changing, mem / u"main.bmx", CauseNotes::Keep,
                 BuiltInRules(), &memo);
  EXPECT_EQ(Examine(&memo), Examine(nullptr));
}

// A list that kept only some of its words finds those, at their new places,
// and no other, though it indexes them again only when asked.
TEST(WordListTest, FindsWhatItKeptOnly) {
  WordList list;
  for (const char16_t* word : {u"alpha", u"beta", u"gamma"}) list.Add(word);
  list.KeepOnly({1, 0, 1});
  EXPECT_EQ(list.Find(u"gamma", list.Hash(u"gamma")), std::optional<size_t>(1));
  EXPECT_EQ(list.Find(u"beta", list.Hash(u"beta")), std::nullopt);
  list.Add(u"alpha");
  list.Add(u"beta");
  EXPECT_EQ(list, (TextList{u"alpha", u"gamma", u"beta"}));
}

// A memo made under other notes or another catalogue is not used.
TEST_F(Memo, AMemoOfOtherNotesOrAnotherCatalogueIsForgotten) {
  WriteProgram();
  ExaminationMemo memo;
  Examine(&memo);
  AnalyseProgram(Analysis, Catalogue, mem.Files(), mem / u"main.bmx", CauseNotes::Skip,
                 BuiltInRules(), &memo);
  EXPECT_EQ(memo.LastReused(), 0u);
  MakeModule(Catalogue, u"brl.map", u"BRL.Map", {u"createmap"});
  // A word only the new module declares: a matcher made for the catalogue
  // before would miss it.
  mem.WriteFile(u"late.bmx", "Left s\nCreateMap\n");
  std::string fresh = Examine(nullptr);
  EXPECT_NE(fresh.find("BRL.Map"), std::string::npos);
  EXPECT_EQ(Examine(&memo), fresh);
  EXPECT_EQ(memo.LastReused(), 0u);
}

}  // namespace
}  // namespace vt
