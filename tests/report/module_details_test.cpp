#include "report/module_details.h"

#include <gtest/gtest.h>

#include "app/pages.h"
#include "catalogue/module_records.h"
#include "platform/file_system.h"
#include "report/html_report.h"
#include "report/page_bytes.h"
#include "support/test_support.h"

namespace vt {
namespace {

class ModuleDetails : public testing::FreshState {
 protected:
  void SetUp() override {
    FreshState::SetUp();
    Settings.Layout = PortableLayout(app.Path());
  }

  modtype* Module(TextView declaredName, TextList imports, TextList commands) {
    modtype* m = Catalogue.CreateModule(Lower(declaredName));
    m->declaredName = declaredName;
    m->imports = std::move(imports);
    m->commands = std::move(commands);
    return m;
  }

  // The page as WriteModuleDetails builds it.
  TextList Built() {
    WriteModuleDetails(Html, Catalogue);
    return Report.ReportLines;
  }

  // The lines between the header row and "</table>" of the built page.
  TextList Rows() {
    TextList all = Built();
    size_t begin = 14;
    size_t end = all.size() - 1;
    if (end < begin) return {};
    return TextList(all.begin() + static_cast<long>(begin), all.begin() + static_cast<long>(end));
  }

  // What modules.htm must hold for a page of `lines`, ended as every page is.
  static std::string FileOf(TextList lines) {
    lines.push_back(u"</body>");
    lines.push_back(u"</html>");
    std::string bytes;
    for (const Text& line : lines) bytes += PageBytes(DoubleQuoteAttributes(line)) + "\r\n";
    return bytes;
  }

  std::string Written() const { return testing::ReadFileBytes(app / u"modules.htm"); }

  testing::TempFolder app;
};

TextList Row(TextView nameCell, const TextList& imports, const TextList& commands) {
  TextList row = {u"<tr>", u"<td valign='top'><strong>" + Text(nameCell) + u"</strong></td>",
                  u"<td valign='top'><form method='POST'>", u"<p><textarea rows='4' cols='18'>"};
  row.insert(row.end(), imports.begin(), imports.end());
  row.push_back(u"</textarea></p></form></td>");
  row.push_back(u"<td valign='top'><form method='POST'>");
  row.push_back(u"<p><textarea rows='4' cols='28'>");
  row.insert(row.end(), commands.begin(), commands.end());
  row.push_back(u"</textarea></p></form></td>");
  row.push_back(u"</tr>");
  return row;
}

TEST_F(ModuleDetails, EmptyCatalogueGivesTheHeaderRowOnly) {
  EXPECT_TRUE(ShowModuleDetails(state));
  EXPECT_EQ(Written(),
            FileOf(TextList{
                u"<html>",
                u"<head>",
                u"<title>Veltrane - Output</title>",
                u"</head>",
                u"<body background='htmldata/bkg.gif'>",
                u"<hr>",
                u"<table border='1' cellpadding='4' cellspacing='0'",
                u"bgcolor='#FFFFFF' bordercolor='#000000'",
                u"bordercolordark='#000000' bordercolorlight='#000000'>",
                u"<tr>",
                u"<td><font size='4'><strong>Module</strong></font></td>",
                u"<td><font size='4'><strong>Imports</strong></font></td>",
                u"<td><font size='4'><strong>Commands</strong></font></td>",
                u"</tr>",
                u"</table>",
            }));
  EXPECT_EQ(screen.shownFiles, (std::vector<Text>{app / u"modules.htm"}));
  EXPECT_TRUE(screen.messages.empty());
}

TEST_F(ModuleDetails, OneRowPerModuleSortedByName) {
  Module(u"Pub.ZLib", {}, {u"compress", u"compress"});
  Module(u"", {u"brl.blitz", u"pub.zlib"}, {});
  Module(u"brl.Blitz", {}, {u"print"});
  Module(u"BRL.Audio", {u"brl.blitz"}, {u"loadsound", u"playsound"});
  ASSERT_TRUE(ShowModuleDetails(state));
  TextList expected = Row(u"", {u"brl.blitz", u"pub.zlib"}, {u"(none)"});
  for (const TextList& row : {Row(u"BRL.Audio", {u"brl.blitz"}, {u"loadsound", u"playsound"}),
                              Row(u"brl.Blitz", {u"(none)"}, {u"print"}),
                              Row(u"Pub.ZLib", {u"(none)"}, {u"compress", u"compress"})}) {
    expected.insert(expected.end(), row.begin(), row.end());
  }
  EXPECT_EQ(Rows(), expected);
  EXPECT_EQ(Report.ReportLines.back(), u"</table>");
  EXPECT_EQ(Written(), FileOf(Report.ReportLines));
}

TEST_F(ModuleDetails, NamesAreEscapedAndSurviveTheQuoteConversion) {
  Module(u"My<Mod>", {u"a&b"}, {u"it's", u"\"q\""});
  ASSERT_TRUE(ShowModuleDetails(state));
  EXPECT_EQ(Rows(), Row(u"My&lt;Mod&gt;", {u"a&amp;b"}, {u"it&#39;s", u"&quot;q&quot;"}));
  std::string bytes = Written();
  EXPECT_NE(bytes.find("\r\nit&#39;s\r\n"), std::string::npos);
  EXPECT_NE(bytes.find("<td valign=\"top\"><strong>My&lt;Mod&gt;</strong></td>\r\n"),
            std::string::npos);
}

TEST_F(ModuleDetails, PageLeavesTheReportAndIsStableAcrossRequests) {
  app.WriteFile(u"results.htm", "an earlier examine's report");
  Module(u"BRL.Retro", {u"brl.basic"}, {u"mid"});
  ASSERT_TRUE(ShowModuleDetails(state));
  std::string first = Written();
  ASSERT_TRUE(ShowModuleDetails(state));
  EXPECT_EQ(Written(), first);
  EXPECT_EQ(testing::ReadFileBytes(app / u"results.htm"), "an earlier examine's report");
  EXPECT_NE(first.find("<p><textarea rows=\"4\" cols=\"28\">\r\nmid\r\n"), std::string::npos);
}

TEST_F(ModuleDetails, BuildingThePageNeitherWritesNorShowsIt) {
  Module(u"BRL.Retro", {u"brl.basic"}, {u"mid"});
  WriteModuleDetails(Html, Catalogue);
  EXPECT_EQ(GetFileKind(app / u"modules.htm"), FileKind::None);
  EXPECT_TRUE(screen.shownFiles.empty());
  TextList built = Report.ReportLines;
  EXPECT_EQ(built.back(), u"</table>");

  // Showing the page writes exactly those lines, then ends the page; it goes
  // to the file as it is built and is not kept.
  ASSERT_TRUE(ShowModuleDetails(state));
  EXPECT_EQ(Written(), FileOf(built));
  EXPECT_TRUE(Report.ReportLines.empty());
}

TEST_F(ModuleDetails, UnwritablePageIsReportedAndNotShown) {
  app.MakeFolder(u"modules.htm");
  EXPECT_FALSE(ShowModuleDetails(state));
  EXPECT_TRUE(screen.shownFiles.empty());
  // The window says why and shows no page, not even an older one.
  EXPECT_EQ(screen.messages,
            (std::vector<Text>{u"Unable to write the report:\n" + (app / u"modules.htm")}));
  EXPECT_EQ(screen.viewsCleared, 1);
}

}  // namespace
}  // namespace vt
