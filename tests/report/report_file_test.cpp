#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#if !defined(_WIN32)
#include <unistd.h>
#endif

#include "analysis/source_records.h"
#include "analysis/suggestion.h"
#include "app/pages.h"
#include "platform/file_system.h"
#include "platform/native_path.h"
#include "report/html_report.h"
#include "support/test_support.h"

namespace vt {
namespace {

class ReportFile : public testing::FreshState {
 protected:
  void SetUp() override {
    FreshState::SetUp();
    Settings.Layout = PortableLayout(app.Path());
  }

  Text ResultsPath() const { return app / u"results.htm"; }
  // Writes the page where the run would write it.
  bool WritePage() { return Html.WriteReportFile(ReportFilePath(state)); }

  testing::TempFolder app;
  testing::TempFolder elsewhere;
};

TEST_F(ReportFile, PathIsResultsBesideTheProgramUnlessRedirected) {
  EXPECT_EQ(ReportFilePath(state), app.Path() + u"/results.htm");
  Report.ReportFile = u"/tmp/out.htm";
  EXPECT_EQ(ReportFilePath(state), u"/tmp/out.htm");
}

TEST_F(ReportFile, WritesEveryLineWithCrLfAndQuoteConversion) {
  Html.AddLine(u"<form method='POST'>");
  Html.AddLine(u"' Import BRL.PNGLoader 'as is'");
  Html.AddLine(u"");
  Html.AddLine(u"caf\u00e9 \u4e2d \U0001F600");
  testing::EnterFolder(elsewhere.Path());

  EXPECT_TRUE(WritePage());
  EXPECT_EQ(testing::ReadFileBytes(ResultsPath()),
            "<form method=\"POST\">\r\n"
            "' Import BRL.PNGLoader 'as is'\r\n"
            "\r\n"
            "caf\xE9 &#20013; &#128512;\r\n"
            "</body>\r\n"
            "</html>\r\n");
  // Writing leaves the current folder alone.
  EXPECT_EQ(CurrentFolder(), elsewhere.Path());
  // The page stays in memory after writing.
  EXPECT_EQ(Report.ReportLines.size(), 6u);
  EXPECT_EQ(Report.ReportLines.back(), u"</html>");
}

TEST_F(ReportFile, ReplacesTheEarlierReport) {
  app.WriteFile(u"results.htm", std::string(500, 'x'));
  Html.WriteHead();
  EXPECT_TRUE(WritePage());
  std::string bytes = testing::ReadFileBytes(ResultsPath());
  EXPECT_EQ(bytes.substr(0, 8), "<html>\r\n");  // no byte-order mark
  EXPECT_EQ(bytes.find('x'), std::string::npos);
  EXPECT_EQ(bytes.substr(bytes.size() - 9), "</html>\r\n");
}

TEST_F(ReportFile, RedirectedReportLeavesResultsAlone) {
  Report.ReportFile = elsewhere / u"page.htm";
  Html.AddLine(u"x");
  EXPECT_TRUE(WritePage());
  EXPECT_EQ(testing::ReadFileBytes(elsewhere / u"page.htm"), "x\r\n</body>\r\n</html>\r\n");
  EXPECT_EQ(GetFileKind(ResultsPath()), FileKind::None);
}

TEST_F(ReportFile, PageGoesToThePathItIsGiven) {
  Html.AddLine(u"y");
  EXPECT_TRUE(Html.WriteReportFile(elsewhere / u"given.htm"));
  EXPECT_EQ(testing::ReadFileBytes(elsewhere / u"given.htm"), "y\r\n</body>\r\n</html>\r\n");
  EXPECT_EQ(GetFileKind(ResultsPath()), FileKind::None);
}

TEST_F(ReportFile, EscapedDataSurvivesTheQuoteConversion) {
  Analysis.NewScanEntry(u"/w/it's \u0100.bmx", EntryKind::Main);
  sourcemodtype* main = Analysis.NewSourceRecord();
  main->path = u"/w/it's \u0100.bmx";
  main->modules = {u"BRL.<Evil>"};
  Examination findings = ExaminationOf(Analysis, SuggestFrameworks(Analysis));
  Html.WriteFilesScanned(findings.walked);
  Html.WriteSuggestion(findings.suggestion);
  ASSERT_TRUE(WritePage());

  std::string bytes = testing::ReadFileBytes(ResultsPath());
  const char* link = kNativePathStyle == PathStyle::Windows
                         ? "<a href=\"file://\\w\\it&#39;s &#256;.bmx\">\r\n"
                         : "<a href=\"file:///w/it&#39;s &#256;.bmx\">\r\n";
  EXPECT_NE(bytes.find(link), std::string::npos);
  EXPECT_NE(bytes.find("<font color=\"#0000FF\">it&#39;s &#256;.bmx</font></a></li>\r\n"),
            std::string::npos);
  EXPECT_NE(bytes.find("\r\nFramework BRL.&lt;Evil&gt;\r\n"), std::string::npos);
  EXPECT_EQ(bytes.find("<Evil>"), std::string::npos);
  EXPECT_EQ(bytes.find('\''), std::string::npos);
}

TEST_F(ReportFile, UnopenableFileGivesFalseAndWritesNothing) {
  app.MakeFolder(u"results.htm");
  app.WriteFile(u"results.htm/keep.txt", "old");
  Html.AddLine(u"new");
  EXPECT_FALSE(WritePage());
  EXPECT_EQ(GetFileKind(ResultsPath()), FileKind::Folder);
  EXPECT_EQ(testing::ReadFileBytes(app / u"results.htm/keep.txt"), "old");
  // The closing lines are appended all the same.
  EXPECT_EQ(Report.ReportLines, (TextList{u"new", u"</body>", u"</html>"}));

  Report.ReportFile = elsewhere / u"missing/page.htm";
  EXPECT_FALSE(WritePage());
  EXPECT_EQ(GetFileKind(elsewhere / u"missing"), FileKind::None);
}

TEST_F(ReportFile, ReadOnlyOldReportIsKept) {
  app.WriteFile(u"results.htm", "old report");
  namespace fs = std::filesystem;
  std::error_code ec;
  fs::permissions(testing::NativePath(ResultsPath()),
                  fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read, ec);
  ASSERT_FALSE(ec) << ec.message();
  Html.AddLine(u"new");
  bool written = true;
  {
    testing::WithoutPrivileges user;
    if (!user.Bound()) GTEST_SKIP() << "file permissions do not bind this user";
    written = WritePage();
  }
  EXPECT_FALSE(written);
  EXPECT_EQ(testing::ReadFileBytes(ResultsPath()), "old report");
}

TEST_F(ReportFile, FailedWritesAreReported) {
  if (GetFileKind(u"/dev/full") == FileKind::None) GTEST_SKIP() << "no /dev/full";
  Report.ReportFile = u"/dev/full";
  Html.AddLine(std::u16string(100000, u'x'));
  EXPECT_FALSE(WritePage());
}

// A page streamed to its file holds exactly the bytes of the same page
// kept and then written, and nothing of it stays in memory.
TEST_F(ReportFile, StreamedPageIsTheKeptPageByteForByte) {
  TextList lines = {u"<form method='POST'>", u"' Import BRL.PNGLoader 'as is'", u"",
                    u"caf\u00e9 \u4e2d \U0001F600", Text{u'\x01', u'\xD800', u'x'}};
  for (const Text& line : lines) Html.AddLine(line);
  ASSERT_TRUE(Html.WriteReportFile(elsewhere / u"kept.htm"));

  TextList streamedLines = {u"left over from before"};
  htmltype streamed(streamedLines);
  ASSERT_TRUE(streamed.StreamTo(elsewhere / u"streamed.htm"));
  for (const Text& line : lines) streamed.AddLine(line);
  // Nothing reaches the target until the page is ended.
  EXPECT_EQ(GetFileKind(elsewhere / u"streamed.htm"), FileKind::None);
  ASSERT_TRUE(streamed.WriteReportFile(elsewhere / u"streamed.htm"));
  EXPECT_EQ(testing::ReadFileBytes(elsewhere / u"streamed.htm"),
            testing::ReadFileBytes(elsewhere / u"kept.htm"));
  EXPECT_TRUE(streamedLines.empty());
}

TEST_F(ReportFile, StreamThatCannotStartFailsAndKeepsTheOldFile) {
  app.MakeFolder(u"results.htm");
  EXPECT_FALSE(Html.StreamTo(ResultsPath()));
  Html.AddLine(u"new");
  EXPECT_FALSE(WritePage());
  EXPECT_EQ(GetFileKind(ResultsPath()), FileKind::Folder);
  EXPECT_TRUE(Report.ReportLines.empty());

  if (GetFileKind(u"/dev/full") == FileKind::None) return;
  app.WriteFile(u"old.htm", "old report");
  htmltype full(Report.ReportLines);
  // A device is never replaced; a full disk shows as a failed commit.
  EXPECT_FALSE(full.StreamTo(u"/dev/full"));
  EXPECT_FALSE(full.WriteReportFile(u"/dev/full"));
}

// A page made while someone saves another file under its name does not
// replace theirs, and the caller can tell why.
TEST_F(ReportFile, StreamedPageLeavesAFileChangedMeanwhile) {
  elsewhere.WriteFile(u"results.htm", "an old page");
  ASSERT_TRUE(Html.StreamTo(elsewhere / u"results.htm"));
  Html.AddLine(u"the new page");
  elsewhere.WriteFile(u"results.htm", "their notes, saved under this name");
  EXPECT_FALSE(Html.WriteReportFile(elsewhere / u"results.htm"));
  EXPECT_TRUE(Html.ChangedMeanwhile());
  EXPECT_EQ(testing::ReadFileBytes(elsewhere / u"results.htm"),
            "their notes, saved under this name");
}

class ShowFileTest : public testing::FreshState {
 protected:
  testing::TempFolder folder;
};

TEST_F(ShowFileTest, DoubledSlashIsReducedBeforeShowing) {
  folder.WriteFile(u"results.htm", "");  // an empty file is still shown
  ShowFile(screen, folder.Path() + u"//results.htm");
  EXPECT_EQ(screen.shownFiles, (std::vector<Text>{folder / u"results.htm"}));
  EXPECT_TRUE(screen.messages.empty());
}

TEST_F(ShowFileTest, MissingFileIsNamedInTheMessage) {
  ShowFile(screen, folder.Path() + u"//index.htm");
  EXPECT_TRUE(screen.shownFiles.empty());
  EXPECT_EQ(screen.messages,
            (std::vector<Text>{u"HTML file error. Unable to view:\n" + (folder / u"index.htm")}));

  screen.messages.clear();
  ShowFile(screen, folder.Path());  // a folder is no page
  EXPECT_TRUE(screen.shownFiles.empty());
  EXPECT_EQ(screen.messages.size(), 1u);
}

}  // namespace
}  // namespace vt
