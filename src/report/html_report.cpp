#include "report/html_report.h"

#include <algorithm>

#include "base/paths.h"
#include "platform/atomic_file.h"
#include "report/page_bytes.h"

namespace vt {

namespace {

constexpr int kMaxCodeRows = 7;

constexpr char16_t kNoteOpening[] = u"<h4><font color='#800040'>";
constexpr char16_t kChoiceHeading[] =
    u"<hr><p><h4><font color='#595959'>Choice of 2 frameworks ...</font></h4></p>";

}  // namespace

Text HtmlEscape(TextView text) {
  Text out;
  AppendHtmlEscaped(out, text);
  return out;
}

void AppendHtmlEscaped(Text& out, TextView text) {
  out.reserve(out.size() + text.size());
  size_t start = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    char16_t c = text[i];
    bool plain = c != u'&' && c != u'<' && c != u'>' && c != u'"' && c != u'\'';
    if (plain) continue;
    // The plain run before it in one step.
    out.append(text.substr(start, i - start));
    start = i + 1;
    switch (c) {
      case u'&': out += u"&amp;"; break;
      case u'<': out += u"&lt;"; break;
      case u'>': out += u"&gt;"; break;
      case u'"': out += u"&quot;"; break;
      case u'\'': out += u"&#39;"; break;
      default: break;
    }
  }
  out.append(text.substr(start));
}

Text LinkTarget(TextView path, PathStyle style) {
  return style == PathStyle::Windows ? Replace(path, u"/", u"\\") : Text(path);
}

void htmltype::AddLine(TextView text) {
  if (!streaming_) {
    lines_.emplace_back(text);
    return;
  }
  if (!stream_) return;
  bytes_.clear();
  AppendPageLine(bytes_, text);
  stream_->Write(bytes_);
}

void htmltype::AddDataLine(TextView text) {
  line_.clear();
  AppendHtmlEscaped(line_, text);
  AddLine(line_);
}

bool htmltype::StreamTo(TextView path) {
  streaming_ = true;
  lines_.clear();
  stream_ = std::make_unique<AtomicFileWriter>();
  if (stream_->Open(path)) return true;
  stream_.reset();
  return false;
}

void htmltype::WriteHead() {
  lines_.clear();
  AddLine(u"<html>");
  AddLine(u"<head>");
  AddLine(u"<title>Veltrane - Output</title>");
  AddLine(u"</head>");
  AddLine(u"<body background='htmldata/bkg.gif'>");
}

void htmltype::WriteFilesScanned(const std::vector<scanlisttype>& walked) {
  AddLine(u"<p><h4>Files Scanned:</h4></p><ul>");
  for (const scanlisttype& entry : walked) {
    if (entry.kind == EntryKind::Module) continue;
    AddLine(u"<li><strong>" + HtmlEscape(EntryKindName(entry.kind)) + u": </strong>");
    AddLine(u"<a href='file://" + HtmlEscape(LinkTarget(entry.path)) + u"'>");
    AddLine(u"<font color='#0000FF'>" + HtmlEscape(FileNameOf(entry.path)) +
            u"</font></a></li>");
  }
  AddLine(u"</ul>");
}

void htmltype::WriteSuggestion(const Suggestion& suggestion) {
  if (suggestion.driverChoice) AddLine(kChoiceHeading);
  for (size_t i = 0; i < suggestion.blocks.size(); ++i) {
    if (i > 0) AddLine(u"<br>");
    const FrameworkBlock& block = suggestion.blocks[i];
    WriteFrameworkBlock(block);
    if (block.note.empty()) continue;
    AddLine(u"<br>");
    AddLine(kNoteOpening + HtmlEscape(block.note) + u"</font></h4>");
  }
}

void htmltype::WriteFrameworkBlock(const FrameworkBlock& block) {
  AddLine(u"<hr><table border='0' width='100%' background='htmldata/fwtype.gif'>");
  AddLine(u"<tr><td><font size='5'>" + block.title + u"</font></td></tr></table>");
  AddLine(u"<p></p>");

  for (const CodeBox& box : block.boxes) {
    AddLine(u"<table border='0' cellpadding='8' background='htmldata/codebox.gif'>");
    AddLine(u"<tr><td>");
    AddLine(u"<h4>" + box.label + u"<a href='file://" + HtmlEscape(LinkTarget(box.path)) +
            u"'>");
    AddLine(u"<font color='#0000FF'>" + HtmlEscape(FileNameOf(box.path)) +
            u"</font></a></h4>");
    size_t rows =
        box.modules.size() + box.optionalModules.size() + box.extraLines.size() + 1;
    for (const GuardedModules& guarded : box.guarded) rows += guarded.modules.size() + 2;
    WriteCodeArea(static_cast<int>(std::min<size_t>(rows, kMaxCodeRows)));
    ForEachCodeLine(box, [this](TextView fixed, TextView data, TextView) {
      line_.assign(fixed);
      AppendHtmlEscaped(line_, data);
      AddLine(line_);
    });
    WriteCodeArea(0);
    AddLine(u"</td></tr></table><p></p>");
  }
}

void htmltype::WriteLineCounts(int32_t totalLines, int32_t codeLines) {
  AddLine(u"<p><hr><strong>Source code line counts:</strong><br><ul>");
  AddLine(u"<li>Including remarks/blank lines: " + Decimal(totalLines) + u"</li>");
  AddLine(u"<li>Source code only: " + Decimal(codeLines) + u"</li></ul></p>");
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

bool htmltype::WriteReportFile(TextView path) {
  AddLine(u"</body>");
  AddLine(u"</html>");
  changedMeanwhile_ = false;
  if (streaming_) {
    bool written = stream_ && stream_->Commit();
    changedMeanwhile_ = stream_ && stream_->ChangedMeanwhile();
    stream_.reset();
    return written;
  }
  AtomicFileWriter out;
  if (!out.Open(path)) return false;
  for (const Text& line : lines_) {
    bytes_.clear();
    AppendPageLine(bytes_, line);
    out.Write(bytes_);
  }
  bool written = out.Commit();
  changedMeanwhile_ = out.ChangedMeanwhile();
  return written;
}

void WriteResultsPage(htmltype& html, const Examination& examination) {
  html.WriteHead();
  html.AddLine(u"<hr>");
  // The classic page stays as it has always been.
  if (examination.ruleSet == RuleSetKind::Modern) {
    html.AddLine(u"<p><h4>Rule set: modern BlitzMax</h4></p>");
  }
  html.WriteFilesScanned(examination.walked);
  html.WriteSuggestion(examination.suggestion);
  html.WriteLineCounts(examination.totalLines, examination.codeLines);
}

}  // namespace vt
