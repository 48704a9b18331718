#include "report/html_report.h"

#include <gtest/gtest.h>

#include "analysis/source_records.h"
#include "support/test_support.h"

namespace vt {
namespace {

class ReportLines : public testing::FreshState {
 protected:
  // The lines appended since `from`.
  static TextList LinesFrom(size_t from) {
    const TextList& all = Report.ReportLines;
    return TextList(all.begin() + static_cast<long>(std::min(from, all.size())), all.end());
  }

  static sourcemodtype* Record(TextView path, TextList modules, TextList optional = {},
                               TextList extra = {}) {
    sourcemodtype* record = NewSourceRecord();
    record->path = path;
    record->modules = std::move(modules);
    record->optionalModules = std::move(optional);
    record->extraLines = std::move(extra);
    return record;
  }

  static void Scanned(TextView path, TextView kind) { scanlisttype::Create()->Set(path, kind); }
};

// The lines of a code box around its text area lines.
TextList CodeBox(TextView label, TextView target, TextView name, TextView rows,
                 const TextList& areaLines) {
  TextList lines = {
      u"<table border='0' cellpadding='8' background='htmldata/codebox.gif'>",
      u"<tr><td>",
      u"<h4>" + Text(label) + u"<a href='file://" + Text(target) + u"'>",
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
  Html.WriteFrameworkBlock(u"Old:");
  ASSERT_EQ(Report.PlainBlocks.size(), 1u);

  Html.WriteHead();
  EXPECT_EQ(Report.ReportLines,
            (TextList{u"<html>", u"<head>", u"<title>Veltrane - Output</title>", u"</head>",
                      u"<body background='htmldata/bkg.gif'>"}));
  EXPECT_TRUE(Report.PlainBlocks.empty());
}

TEST_F(ReportLines, FilesScannedListsEveryFileButModules) {
  Scanned(u"C:/Work/game.bmx", u"Main");
  Scanned(u"brl.max2d", u"MOD");
  Scanned(u"C:/Work/inc/util.bmx", u"Include");
  Scanned(u"player.bmx", u"Imported");
  Html.WriteFilesScanned();
  EXPECT_EQ(Report.ReportLines,
            (TextList{
                u"<p><h4>Files Scanned:</h4></p><ul>",
                u"<li><strong>Main: </strong>",
                u"<a href='file://C:\\Work\\game.bmx'>",
                u"<font color='#0000FF'>game.bmx</font></a></li>",
                u"<li><strong>Include: </strong>",
                u"<a href='file://C:\\Work\\inc\\util.bmx'>",
                u"<font color='#0000FF'>util.bmx</font></a></li>",
                u"<li><strong>Imported: </strong>",
                u"<a href='file://player.bmx'>",
                u"<font color='#0000FF'>player.bmx</font></a></li>",
                u"</ul>",
            }));
}

TEST_F(ReportLines, FilesScannedOnlyDropsTheExactKindMod) {
  Html.WriteFilesScanned();
  EXPECT_EQ(Report.ReportLines, (TextList{u"<p><h4>Files Scanned:</h4></p><ul>", u"</ul>"}));
  Scanned(u"/w/a.bmx", u"mod");
  Html.WriteFilesScanned();
  EXPECT_EQ(Report.ReportLines[3], u"<li><strong>mod: </strong>");
}

TEST_F(ReportLines, FilesScannedEscapesKindsAndPaths) {
  Scanned(u"/w/it's/R&D <1>.bmx", u"Ma\"in");
  Html.WriteFilesScanned();
  EXPECT_EQ(LinesFrom(1), (TextList{
                              u"<li><strong>Ma&quot;in: </strong>",
                              u"<a href='file://\\w\\it&#39;s\\R&amp;D &lt;1&gt;.bmx'>",
                              u"<font color='#0000FF'>R&amp;D &lt;1&gt;.bmx</font></a></li>",
                              u"</ul>",
                          }));
}

TEST_F(ReportLines, FrameworkBlockFollowsTheWorkedExample) {
  Record(u"C:/Work/game.bmx", {u"BRL.GLMax2D", u"BRL.Retro"}, {u"BRL.PNGLoader"},
         {u"SetGraphicsDriver GLMax2DDriver()"});
  Html.WriteFrameworkBlock(u"Max2D OpenGL template:");
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
                    CodeBox(u"Main Source: ", u"C:\\Work\\game.bmx", u"game.bmx", u"5", area)}));

  ASSERT_EQ(Report.PlainBlocks.size(), 1u);
  const PlainBlock& plain = Report.PlainBlocks[0];
  EXPECT_EQ(plain.title, u"Max2D OpenGL template:");
  ASSERT_EQ(plain.boxes.size(), 1u);
  EXPECT_EQ(plain.boxes[0].label, u"Main Source: ");
  EXPECT_EQ(plain.boxes[0].fileName, u"game.bmx");
  EXPECT_EQ(plain.boxes[0].lines, area);
}

TEST_F(ReportLines, OnlyTheFirstRecordIsMainAndOpensWithFramework) {
  Record(u"/w/main.bmx", {u"BRL.Retro", u"BRL.Retro"});
  Record(u"/w/imp.bmx", {u"BRL.Retro", u"BRL.Bank"});
  Html.WriteFrameworkBlock(u"Programs template:");
  EXPECT_EQ(Report.ReportLines,
            Joined({BlockHead(u"Programs template:"),
                    CodeBox(u"Main Source: ", u"\\w\\main.bmx", u"main.bmx", u"3",
                            {u"Framework BRL.Retro", u"Framework BRL.Retro"}),
                    CodeBox(u"Imported Code: ", u"\\w\\imp.bmx", u"imp.bmx", u"3",
                            {u"Import BRL.Retro", u"Import BRL.Bank"})}));
  ASSERT_EQ(Report.PlainBlocks.size(), 1u);
  ASSERT_EQ(Report.PlainBlocks[0].boxes.size(), 2u);
  EXPECT_EQ(Report.PlainBlocks[0].boxes[1].label, u"Imported Code: ");
  EXPECT_EQ(Report.PlainBlocks[0].boxes[1].lines,
            (TextList{u"Import BRL.Retro", u"Import BRL.Bank"}));
}

TEST_F(ReportLines, NoModulesRequiredHidesTheExtraLinesButCountsThem) {
  Record(u"/w/a.bmx", {}, {}, {u"x1", u"x2"});
  Record(u"/w/b.bmx", {}, {}, {u"1", u"2", u"3", u"4", u"5", u"6", u"7"});
  Html.WriteFrameworkBlock(u"T:");
  EXPECT_EQ(LinesFrom(3),
            Joined({CodeBox(u"Main Source: ", u"\\w\\a.bmx", u"a.bmx", u"3",
                            {u"** No modules required **"}),
                    CodeBox(u"Imported Code: ", u"\\w\\b.bmx", u"b.bmx", u"7",
                            {u"** No modules required **"})}));
  EXPECT_EQ(Report.PlainBlocks[0].boxes[1].lines, (TextList{u"** No modules required **"}));
}

TEST_F(ReportLines, OptionalModulesAloneStillGiveCodeLines) {
  Record(u"/w/a.bmx", {}, {u"BRL.OGGLoader"});
  Html.WriteFrameworkBlock(u"T:");
  EXPECT_EQ(LinesFrom(3), CodeBox(u"Main Source: ", u"\\w\\a.bmx", u"a.bmx", u"2",
                                  {u"", u"' modules which may be required:",
                                   u"' Import BRL.OGGLoader"}));
}

TEST_F(ReportLines, CodeBoxEscapesNamesAndExtraLinesButNotItsPlainCopy) {
  Record(u"/w/a'b.bmx", {u"X.<Main>", u"A&B"}, {u"O\"1"}, {u"Print \"<hi>\""});
  Html.WriteFrameworkBlock(u"It's <b>:");
  EXPECT_EQ(Report.ReportLines[1], u"<tr><td><font size='5'>It's <b>:</font></td></tr></table>");
  EXPECT_EQ(LinesFrom(3), CodeBox(u"Main Source: ", u"\\w\\a&#39;b.bmx", u"a&#39;b.bmx", u"5",
                                  {u"Framework X.&lt;Main&gt;", u"Import A&amp;B", u"",
                                   u"' modules which may be required:", u"' Import O&quot;1", u"",
                                   u"", u"Print &quot;&lt;hi&gt;&quot;"}));
  const PlainCodeBox& plain = Report.PlainBlocks[0].boxes[0];
  EXPECT_EQ(plain.fileName, u"a'b.bmx");
  EXPECT_EQ(plain.lines, (TextList{u"Framework X.<Main>", u"Import A&B", u"",
                                   u"' modules which may be required:", u"' Import O\"1", u"",
                                   u"", u"Print \"<hi>\""}));
}

TEST_F(ReportLines, BlockWithoutRecordsHasOnlyItsTitleBar) {
  Html.WriteFrameworkBlock(u"Programs template:");
  EXPECT_EQ(Report.ReportLines, BlockHead(u"Programs template:"));
  ASSERT_EQ(Report.PlainBlocks.size(), 1u);
  EXPECT_TRUE(Report.PlainBlocks[0].boxes.empty());
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
  Analysis.TotalLines = 1234;
  Analysis.CodeLines = 0;
  Html.WriteLineCounts();
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
  EXPECT_EQ(LinkTarget(u"C:/Work/game.bmx"), u"C:\\Work\\game.bmx");
  EXPECT_EQ(FileNameOf(u"C:/Work/game.bmx"), u"game.bmx");
  EXPECT_EQ(FileNameOf(u"C:/Work\\sub\\x.bmx"), u"x.bmx");
  EXPECT_EQ(FileNameOf(u"C:\\a/b\\c"), u"c");
  EXPECT_EQ(FileNameOf(u"alone.bmx"), u"alone.bmx");
  EXPECT_EQ(FileNameOf(u"/w/"), u"");
}

}  // namespace
}  // namespace vt
