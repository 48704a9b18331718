#include "report/module_details.h"

#include "catalogue/module_records.h"
#include "report/html_report.h"

namespace vt {

namespace {

// The entries one per line, or "(none)" so that an empty cell still says so.
void AddListLines(const TextList& entries) {
  if (entries.empty()) {
    Html.AddLine(u"(none)");
    return;
  }
  for (const Text& entry : entries) Html.AddLine(HtmlEscape(entry));
}

void AddHeaderRow() {
  Html.AddLine(u"<tr>");
  Html.AddLine(u"<td><font size='4'><strong>Module</strong></font></td>");
  Html.AddLine(u"<td><font size='4'><strong>Imports</strong></font></td>");
  Html.AddLine(u"<td><font size='4'><strong>Commands</strong></font></td>");
  Html.AddLine(u"</tr>");
}

void AddModuleRow(const modtype& module) {
  Html.AddLine(u"<tr>");
  Html.AddLine(u"<td valign='top'><strong>" + HtmlEscape(module.declaredName) +
               u"</strong></td>");
  Html.AddLine(u"<td valign='top'><form method='POST'>");
  Html.AddLine(u"<p><textarea rows='4' cols='18'>");
  AddListLines(module.imports);
  Html.AddLine(u"</textarea></p></form></td>");
  Html.AddLine(u"<td valign='top'><form method='POST'>");
  Html.AddLine(u"<p><textarea rows='4' cols='28'>");
  AddListLines(module.commands);
  Html.AddLine(u"</textarea></p></form></td>");
  Html.AddLine(u"</tr>");
}

}  // namespace

bool ShowModuleDetails() {
  Html.WriteHead();
  Html.AddLine(u"<hr>");
  Html.AddLine(u"<table border='1' cellpadding='4' cellspacing='0'");
  Html.AddLine(u"bgcolor='#FFFFFF' bordercolor='#000000'");
  Html.AddLine(u"bordercolordark='#000000' bordercolorlight='#000000'>");
  AddHeaderRow();
  for (const auto& module : Catalogue.ModList) AddModuleRow(*module);
  Html.AddLine(u"</table>");
  bool written = Html.WriteReportFile();
  Html.ShowFile(ReportFilePath());
  return written;
}

}  // namespace vt
