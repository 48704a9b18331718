#include "report/html_report.h"

#include <algorithm>

#include "analysis/source_records.h"
#include "app/settings.h"
#include "platform/file_system.h"
#include "platform/screen.h"
#include "report/page_bytes.h"

namespace vt {

ReportState Report;
htmltype Html;

void ResetReportState() { Report = ReportState(); }

namespace {

constexpr int kMaxCodeRows = 7;

// A line of a code box: a fixed part, then text from the analysis that the
// page must escape and the plain-text copy must not.
struct CodeLine {
  Text fixed;
  Text data;
};

std::vector<CodeLine> CodeLinesOf(const sourcemodtype& record, bool isMain) {
  std::vector<CodeLine> lines;
  if (record.modules.empty() && record.optionalModules.empty()) {
    lines.push_back({u"** No modules required **", u""});
    return lines;
  }
  for (const Text& m : record.modules) {
    bool framework = isMain && m == record.modules.front();
    lines.push_back({framework ? u"Framework " : u"Import ", m});
  }
  if (!record.optionalModules.empty()) {
    lines.push_back({u"", u""});
    lines.push_back({u"' modules which may be required:", u""});
    for (const Text& o : record.optionalModules) lines.push_back({u"' Import ", o});
  }
  if (!record.extraLines.empty()) {
    lines.push_back({u"", u""});
    lines.push_back({u"", u""});
    for (const Text& extra : record.extraLines) lines.push_back({u"", extra});
  }
  return lines;
}

}  // namespace

Text HtmlEscape(TextView text) {
  Text out;
  out.reserve(text.size());
  for (char16_t c : text) {
    switch (c) {
      case u'&': out += u"&amp;"; break;
      case u'<': out += u"&lt;"; break;
      case u'>': out += u"&gt;"; break;
      case u'"': out += u"&quot;"; break;
      case u'\'': out += u"&#39;"; break;
      default: out += c;
    }
  }
  return out;
}

Text LinkTarget(TextView path) { return Replace(path, u"/", u"\\"); }

Text FileNameOf(TextView path) {
  size_t cut = path.find_last_of(u"/\\");
  if (cut == TextView::npos) return Text(path);
  return Text(path.substr(cut + 1));
}

Text ReportFilePath() {
  if (!Report.ReportFile.empty()) return Report.ReportFile;
  return Settings.ApplicationFolder + u"/results.htm";
}

void htmltype::AddLine(TextView text) { Report.ReportLines.emplace_back(text); }

void htmltype::WriteHead() {
  Report.ReportLines.clear();
  Report.PlainBlocks.clear();
  AddLine(u"<html>");
  AddLine(u"<head>");
  AddLine(u"<title>Veltrane - Output</title>");
  AddLine(u"</head>");
  AddLine(u"<body background='htmldata/bkg.gif'>");
}

void htmltype::WriteFilesScanned() {
  AddLine(u"<p><h4>Files Scanned:</h4></p><ul>");
  for (const auto& entry : Catalogue.ScanListList) {
    Catalogue.CurrentScanEntry = entry.get();
    if (entry->kind == u"MOD") continue;
    AddLine(u"<li><strong>" + HtmlEscape(entry->kind) + u": </strong>");
    AddLine(u"<a href='file://" + HtmlEscape(LinkTarget(entry->path)) + u"'>");
    AddLine(u"<font color='#0000FF'>" + HtmlEscape(FileNameOf(entry->path)) +
            u"</font></a></li>");
  }
  AddLine(u"</ul>");
}

void htmltype::WriteFrameworkBlock(TextView title) {
  AddLine(u"<hr><table border='0' width='100%' background='htmldata/fwtype.gif'>");
  AddLine(u"<tr><td><font size='5'>" + Text(title) + u"</font></td></tr></table>");
  AddLine(u"<p></p>");

  PlainBlock plain{Text(title), {}};
  for (const auto& record : Analysis.SourceModList) {
    Analysis.CurrentSource = record.get();
    bool isMain = record == Analysis.SourceModList.front();
    PlainCodeBox box{isMain ? u"Main Source: " : u"Imported Code: ",
                     FileNameOf(record->path), {}};

    AddLine(u"<table border='0' cellpadding='8' background='htmldata/codebox.gif'>");
    AddLine(u"<tr><td>");
    AddLine(u"<h4>" + box.label + u"<a href='file://" +
            HtmlEscape(LinkTarget(record->path)) + u"'>");
    AddLine(u"<font color='#0000FF'>" + HtmlEscape(box.fileName) + u"</font></a></h4>");
    size_t rows = record->modules.size() + record->optionalModules.size() +
                  record->extraLines.size() + 1;
    WriteCodeArea(static_cast<int>(std::min<size_t>(rows, kMaxCodeRows)));
    for (const CodeLine& line : CodeLinesOf(*record, isMain)) {
      AddLine(line.fixed + HtmlEscape(line.data));
      box.lines.push_back(line.fixed + line.data);
    }
    WriteCodeArea(0);
    AddLine(u"</td></tr></table><p></p>");
    plain.boxes.push_back(std::move(box));
  }
  Report.PlainBlocks.push_back(std::move(plain));
}

void htmltype::WriteLineCounts() {
  AddLine(u"<p><hr><strong>Source code line counts:</strong><br><ul>");
  AddLine(u"<li>Including remarks/blank lines: " + Decimal(Analysis.TotalLines) + u"</li>");
  AddLine(u"<li>Source code only: " + Decimal(Analysis.CodeLines) + u"</li></ul></p>");
}

void htmltype::WriteCodeArea(int rows) {
  if (rows <= 0) {
    AddLine(u"</textarea></p></form>");
    return;
  }
  if (rows > kMaxCodeRows) rows = kMaxCodeRows;
  AddLine(u"<form method='POST'>");
  AddLine(u"<p><textarea name='vtForm' rows='" + Decimal(rows) + u"' cols='48'>");
}

bool htmltype::WriteReportFile() {
  AddLine(u"</body>");
  AddLine(u"</html>");
  ChangeFolder(Settings.ApplicationFolder);
  ByteWriter out;
  if (!out.Open(ReportFilePath())) return false;
  for (const Text& line : Report.ReportLines) {
    out.Write(PageBytes(DoubleQuoteAttributes(line)));
    out.Write("\r\n");
  }
  return out.Close();
}

void htmltype::ShowFile(TextView path) {
  if (!CurrentScreen().ShowsPages()) return;
  Text shown = Replace(path, u"//", u"/");
  if (GetFileSize(shown) >= 0) {
    CurrentScreen().Navigate(shown);
    return;
  }
  CurrentScreen().InformationBox(u"HTML file error. Unable to view:\n" + shown);
}

}  // namespace vt
