#include "report/html_report.h"

#include <gtest/gtest.h>

#include "analysis/source_records.h"
#include "analysis/suggestion.h"
#include "base/paths.h"
#include "support/test_support.h"

namespace vt {
namespace {

// A link target as the tests write it, Windows' way, as this system's page
// writes it: elsewhere the path keeps its forward slashes.
Text Native(TextView windowsTarget) {
  if (kNativePathStyle == PathStyle::Windows) return Text(windowsTarget);
  return Replace(windowsTarget, u"\\", u"/");
}

constexpr char16_t kHint[] = u"HINT: See help file - Mixing OpenGL/Max2D";
constexpr char16_t kHintLine[] =
    u"<h4><font color='#800040'>HINT: See help file - Mixing OpenGL/Max2D</font></h4>";
constexpr char16_t kChoiceLine[] =
    u"<hr><p><h4><font color='#595959'>Choice of 2 frameworks ...</font></h4></p>";

class ReportLines : public testing::FreshState {
 protected:
  // The lines appended since `from`.
  TextList LinesFrom(size_t from) const {
    const TextList& all = Report.ReportLines;
    return TextList(all.begin() + static_cast<long>(std::min(from, all.size())), all.end());
  }

  sourcemodtype* Record(TextView path, TextList modules) {
    sourcemodtype* record = Analysis.NewSourceRecord();
    record->path = path;
    record->modules = std::move(modules);
    return record;
  }

  void Scanned(TextView path, EntryKind kind) { Analysis.NewScanEntry(path, kind); }
  // What the page renders: the analysis' findings with its suggestion.
  Examination Findings() { return ExaminationOf(Analysis, SuggestFrameworks(Analysis)); }
};

// A code box as the templates hand it over.
CodeBox Box(bool isMain, TextView path, TextList modules, TextList optional = {},
            TextList extra = {}) {
  CodeBox box;
  box.isMain = isMain;
  box.label = isMain ? u"Main Source: " : u"Imported Code: ";
  box.path = path;
  box.modules = std::move(modules);
  box.optionalModules = std::move(optional);
  box.extraLines = std::move(extra);
  return box;
}

CodeBox MainBox(TextView path, TextList modules, TextList optional = {}, TextList extra = {}) {
  return Box(true, path, std::move(modules), std::move(optional), std::move(extra));
}

CodeBox ImportedBox(TextView path, TextList modules, TextList optional = {},
                    TextList extra = {}) {
  return Box(false, path, std::move(modules), std::move(optional), std::move(extra));
}

FrameworkBlock Block(TextView title, std::vector<CodeBox> boxes, TextView note = u"") {
  return {Text(title), Text(note), std::move(boxes)};
}

// The box's text area as plain text, as the command line prints it.
TextList PlainLines(const CodeBox& box) {
  TextList lines;
  for (const CodeLine& line : CodeLinesOf(box)) lines.push_back(line.fixed + line.data);
  return lines;
}

// The page lines of a code box around its text area lines.
TextList BoxLines(TextView label, TextView target, TextView name, TextView rows,
                  const TextList& areaLines) {
  TextList lines = {
      u"<table border='0' cellpadding='8' background='htmldata/codebox.gif'>",
      u"<tr><td>",
      u"<h4>" + Text(label) + u"<a href='file://" + Native(target) + u"'>",
      u"<font color='#0000FF'>" + Text(name) + u"</font></a></h4>",
      u"<form method='POST'>",
      u"<p><textarea name='vtForm' rows='" + Text(rows) + u"' cols='48'>",
  };
  lines.insert(lines.end(), areaLines.begin(), areaLines.end());
  lines.push_back(u"</textarea></p></form>");
  lines.push_back(u"</td></tr></table><p></p>");
  return lines;
}

TextList BlockHead(TextView title) {
  return {u"<hr><table border='0' width='100%' background='htmldata/fwtype.gif'>",
          u"<tr><td><font size='5'>" + Text(title) + u"</font></td></tr></table>", u"<p></p>"};
}

TextList Joined(std::initializer_list<TextList> parts) {
  TextList all;
  for (const TextList& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

TEST_F(ReportLines, HeadStartsAFreshPage) {
  Html.AddLine(u"left over");
  Html.WriteFrameworkBlock(Block(u"Old:", {}));
  ASSERT_EQ(Report.ReportLines.size(), 4u);

  Html.WriteHead();
  EXPECT_EQ(Report.ReportLines,
            (TextList{u"<html>", u"<head>", u"<title>Veltrane - Output</title>", u"</head>",
                      u"<body background='htmldata/bkg.gif'>"}));
}

TEST_F(ReportLines, PageIsBuiltInTheListItWasGiven) {
  TextList lines = {u"earlier"};
  htmltype html(lines);
  html.AddLine(u"x");
  html.WriteCodeArea(0);
  EXPECT_EQ(lines, (TextList{u"earlier", u"x", u"</textarea></p></form>"}));
  EXPECT_TRUE(Report.ReportLines.empty());
}

TEST_F(ReportLines, FilesScannedListsEveryFileButModules) {
  Scanned(u"C:/Work/game.bmx", EntryKind::Main);
  Scanned(u"brl.max2d", EntryKind::Module);
  Scanned(u"C:/Work/inc/util.bmx", EntryKind::Include);
  Scanned(u"player.bmx", EntryKind::Imported);
  Html.WriteFilesScanned(Findings().walked);
  EXPECT_EQ(Report.ReportLines,
            (TextList{
                u"<p><h4>Files Scanned:</h4></p><ul>",
                u"<li><strong>Main: </strong>",
                u"<a href='file://" + Native(u"C:\\Work\\game.bmx") + u"'>",
                u"<font color='#0000FF'>game.bmx</font></a></li>",
                u"<li><strong>Include: </strong>",
                u"<a href='file://" + Native(u"C:\\Work\\inc\\util.bmx") + u"'>",
                u"<font color='#0000FF'>util.bmx</font></a></li>",
                u"<li><strong>Imported: </strong>",
                u"<a href='file://player.bmx'>",
                u"<font color='#0000FF'>player.bmx</font></a></li>",
                u"</ul>",
            }));
}

TEST_F(ReportLines, FilesScannedEscapesPaths) {
  Scanned(u"/w/it's/R&D <1>.bmx", EntryKind::Main);
  Html.WriteFilesScanned(Findings().walked);
  EXPECT_EQ(LinesFrom(1), (TextList{
                              u"<li><strong>Main: </strong>",
                              u"<a href='file://" + Native(u"\\w\\it&#39;s\\R&amp;D &lt;1&gt;.bmx") +
                                  u"'>",
                              u"<font color='#0000FF'>R&amp;D &lt;1&gt;.bmx</font></a></li>",
                              u"</ul>",
                          }));
}

TEST_F(ReportLines, FrameworkBlockFollowsTheWorkedExample) {
  CodeBox main = MainBox(u"C:/Work/game.bmx", {u"BRL.GLMax2D", u"BRL.Retro"}, {u"BRL.PNGLoader"},
                         {u"SetGraphicsDriver GLMax2DDriver()"});
  Html.WriteFrameworkBlock(Block(u"Max2D OpenGL template:", {main}));
  TextList area = {u"Framework BRL.GLMax2D",
                   u"Import BRL.Retro",
                   u"",
                   u"' modules which may be required:",
                   u"' Import BRL.PNGLoader",
                   u"",
                   u"",
                   u"SetGraphicsDriver GLMax2DDriver()"};
  EXPECT_EQ(Report.ReportLines,
            Joined({BlockHead(u"Max2D OpenGL template:"),
                    BoxLines(u"Main Source: ", u"C:\\Work\\game.bmx", u"game.bmx", u"5", area)}));
  // The plain text of the box holds the same lines.
  EXPECT_EQ(PlainLines(main), area);
}

TEST_F(ReportLines, OnlyTheFirstRecordIsMainAndOpensWithFramework) {
  Record(u"/w/main.bmx", {u"BRL.Retro", u"BRL.Retro"});
  Record(u"/w/imp.bmx", {u"BRL.Retro", u"BRL.Bank"});
  Suggestion suggestion = SuggestFrameworks(Analysis);
  Html.WriteSuggestion(suggestion);
  EXPECT_EQ(Report.ReportLines,
            Joined({BlockHead(u"Programs template:"),
                    BoxLines(u"Main Source: ", u"\\w\\main.bmx", u"main.bmx", u"3",
                             {u"Framework BRL.Retro", u"Framework BRL.Retro"}),
                    BoxLines(u"Imported Code: ", u"\\w\\imp.bmx", u"imp.bmx", u"3",
                             {u"Import BRL.Retro", u"Import BRL.Bank"})}));
  ASSERT_EQ(suggestion.blocks.size(), 1u);
  ASSERT_EQ(suggestion.blocks[0].boxes.size(), 2u);
  EXPECT_EQ(suggestion.blocks[0].boxes[1].label, u"Imported Code: ");
  EXPECT_EQ(PlainLines(suggestion.blocks[0].boxes[1]),
            (TextList{u"Import BRL.Retro", u"Import BRL.Bank"}));
}

TEST_F(ReportLines, NoModulesRequiredHidesTheExtraLinesButCountsThem) {
  CodeBox imported =
      ImportedBox(u"/w/b.bmx", {}, {}, {u"1", u"2", u"3", u"4", u"5", u"6", u"7"});
  Html.WriteFrameworkBlock(
      Block(u"T:", {MainBox(u"/w/a.bmx", {}, {}, {u"x1", u"x2"}), imported}));
  EXPECT_EQ(LinesFrom(3),
            Joined({BoxLines(u"Main Source: ", u"\\w\\a.bmx", u"a.bmx", u"3",
                             {u"** No modules required **"}),
                    BoxLines(u"Imported Code: ", u"\\w\\b.bmx", u"b.bmx", u"7",
                             {u"** No modules required **"})}));
  EXPECT_EQ(PlainLines(imported), (TextList{u"** No modules required **"}));
}

TEST_F(ReportLines, OptionalModulesAloneStillGiveCodeLines) {
  Html.WriteFrameworkBlock(Block(u"T:", {MainBox(u"/w/a.bmx", {}, {u"BRL.OGGLoader"})}));
  EXPECT_EQ(LinesFrom(3), BoxLines(u"Main Source: ", u"\\w\\a.bmx", u"a.bmx", u"2",
                                   {u"", u"' modules which may be required:",
                                    u"' Import BRL.OGGLoader"}));
}

TEST_F(ReportLines, CodeBoxEscapesNamesAndExtraLinesButNotItsPlainCopy) {
  CodeBox main =
      MainBox(u"/w/a'b.bmx", {u"X.<Main>", u"A&B"}, {u"O\"1"}, {u"Print \"<hi>\""});
  Html.WriteFrameworkBlock(Block(u"It's <b>:", {main}));
  EXPECT_EQ(Report.ReportLines[1], u"<tr><td><font size='5'>It's <b>:</font></td></tr></table>");
  EXPECT_EQ(LinesFrom(3), BoxLines(u"Main Source: ", u"\\w\\a&#39;b.bmx", u"a&#39;b.bmx", u"5",
                                   {u"Framework X.&lt;Main&gt;", u"Import A&amp;B", u"",
                                    u"' modules which may be required:", u"' Import O&quot;1",
                                    u"", u"", u"Print &quot;&lt;hi&gt;&quot;"}));
  EXPECT_EQ(PlainLines(main), (TextList{u"Framework X.<Main>", u"Import A&B", u"",
                                        u"' modules which may be required:", u"' Import O\"1",
                                        u"", u"", u"Print \"<hi>\""}));
}

TEST_F(ReportLines, BlockWithoutRecordsHasOnlyItsTitleBar) {
  Suggestion suggestion = SuggestFrameworks(Analysis);
  Html.WriteSuggestion(suggestion);
  EXPECT_EQ(Report.ReportLines, BlockHead(u"Programs template:"));
  ASSERT_EQ(suggestion.blocks.size(), 1u);
  EXPECT_TRUE(suggestion.blocks[0].boxes.empty());
}

TEST_F(ReportLines, DriverChoiceIsAnnouncedAndItsBlocksAreSeparated) {
  Suggestion suggestion;
  suggestion.driverChoice = true;
  suggestion.blocks = {Block(u"Max OpenGL template:", {}), Block(u"Max DirectX template:", {})};
  Html.WriteSuggestion(suggestion);
  EXPECT_EQ(Report.ReportLines,
            Joined({{kChoiceLine}, BlockHead(u"Max OpenGL template:"), {u"<br>"},
                    BlockHead(u"Max DirectX template:")}));
}

TEST_F(ReportLines, NoteFollowsItsBlockAfterABreak) {
  Suggestion suggestion;
  suggestion.blocks = {Block(u"OpenGL template:", {}, kHint)};
  Html.WriteSuggestion(suggestion);
  EXPECT_EQ(Report.ReportLines,
            Joined({BlockHead(u"OpenGL template:"), {u"<br>", kHintLine}}));

  Report.ReportLines.clear();
  suggestion.blocks[0].note = u"a<b";
  Html.WriteSuggestion(suggestion);
  EXPECT_EQ(Report.ReportLines.back(), u"<h4><font color='#800040'>a&lt;b</font></h4>");
}

TEST_F(ReportLines, ResultsPageIsHeadFilesSuggestionAndCounts) {
  Scanned(u"/w/main.bmx", EntryKind::Main);
  Record(u"/w/main.bmx", {u"BRL.Retro"});
  Analysis.TotalLines = 12;
  Analysis.CodeLines = 7;
  Examination findings = Findings();
  Html.AddLine(u"left over");
  WriteResultsPage(Html, findings);

  TextList expected;
  htmltype pieces(expected);
  pieces.WriteHead();
  pieces.AddLine(u"<hr>");
  pieces.WriteFilesScanned(findings.walked);
  pieces.WriteSuggestion(findings.suggestion);
  pieces.WriteLineCounts(12, 7);
  EXPECT_EQ(Report.ReportLines, expected);
  EXPECT_EQ(Report.ReportLines[5], u"<hr>");
  EXPECT_EQ(Report.ReportLines.back(), u"<li>Source code only: 7</li></ul></p>");
}

TEST_F(ReportLines, CodeAreaOpensWithCappedRowsAndClosesOnZero) {
  Html.WriteCodeArea(1);
  Html.WriteCodeArea(7);
  Html.WriteCodeArea(8);
  Html.WriteCodeArea(0);
  EXPECT_EQ(Report.ReportLines,
            (TextList{u"<form method='POST'>", u"<p><textarea name='vtForm' rows='1' cols='48'>",
                      u"<form method='POST'>", u"<p><textarea name='vtForm' rows='7' cols='48'>",
                      u"<form method='POST'>", u"<p><textarea name='vtForm' rows='7' cols='48'>",
                      u"</textarea></p></form>"}));
}

TEST_F(ReportLines, LineCountsPrintBothCounters) {
  Html.WriteLineCounts(1234, 0);
  EXPECT_EQ(Report.ReportLines,
            (TextList{u"<p><hr><strong>Source code line counts:</strong><br><ul>",
                      u"<li>Including remarks/blank lines: 1234</li>",
                      u"<li>Source code only: 0</li></ul></p>"}));
}

TEST(HtmlText, EscapeCoversTheFiveMarkupCharacters) {
  EXPECT_EQ(HtmlEscape(u"a&b<c>d\"e'f"), u"a&amp;b&lt;c&gt;d&quot;e&#39;f");
  EXPECT_EQ(HtmlEscape(u"&amp;"), u"&amp;amp;");
  EXPECT_EQ(HtmlEscape(u"plain \u00e9\u4e2d"), u"plain \u00e9\u4e2d");
  EXPECT_EQ(HtmlEscape(u""), u"");
}

TEST(HtmlText, LinkPiecesOfAPath) {
  EXPECT_EQ(LinkTarget(u"C:/Work/game.bmx", PathStyle::Windows), u"C:\\Work\\game.bmx");
  EXPECT_EQ(LinkTarget(u"/home/me/game.bmx", PathStyle::Posix), u"/home/me/game.bmx");
  EXPECT_EQ(FileNameOf(u"C:/Work/game.bmx"), u"game.bmx");
  EXPECT_EQ(FileNameOf(u"C:/Work\\sub\\x.bmx", PathStyle::Windows), u"x.bmx");
  EXPECT_EQ(FileNameOf(u"C:\\a/b\\c", PathStyle::Windows), u"c");
  EXPECT_EQ(FileNameOf(u"alone.bmx"), u"alone.bmx");
  EXPECT_EQ(FileNameOf(u"/w/"), u"");
}

}  // namespace
}  // namespace vt
