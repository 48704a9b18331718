#include "report/module_details.h"

#include <algorithm>
#include <vector>

namespace vt {

namespace {

// The entries one per line, or "(none)" so that an empty cell still says so.
template <typename List>
void AddListLines(htmltype& html, const List& entries) {
  if (entries.empty()) {
    html.AddLine(u"(none)");
    return;
  }
  for (const Text& entry : entries) html.AddDataLine(entry);
}

void AddHeaderRow(htmltype& html) {
  html.AddLine(u"<tr>");
  html.AddLine(u"<td><font size='4'><strong>Module</strong></font></td>");
  html.AddLine(u"<td><font size='4'><strong>Imports</strong></font></td>");
  html.AddLine(u"<td><font size='4'><strong>Commands</strong></font></td>");
  html.AddLine(u"</tr>");
}

void AddModuleRow(htmltype& html, const modtype& module) {
  html.AddLine(u"<tr>");
  html.AddLine(u"<td valign='top'><strong>" + HtmlEscape(module.declaredName) +
               u"</strong></td>");
  html.AddLine(u"<td valign='top'><form method='POST'>");
  html.AddLine(u"<p><textarea rows='4' cols='18'>");
  AddListLines(html, module.imports);
  html.AddLine(u"</textarea></p></form></td>");
  html.AddLine(u"<td valign='top'><form method='POST'>");
  html.AddLine(u"<p><textarea rows='4' cols='28'>");
  AddListLines(html, module.commands);
  html.AddLine(u"</textarea></p></form></td>");
  html.AddLine(u"</tr>");
}

}  // namespace

void WriteModuleDetails(htmltype& html, const CatalogueState& catalogue) {
  html.WriteHead();
  html.AddLine(u"<hr>");
  html.AddLine(u"<table border='1' cellpadding='4' cellspacing='0'");
  html.AddLine(u"bgcolor='#FFFFFF' bordercolor='#000000'");
  html.AddLine(u"bordercolordark='#000000' bordercolorlight='#000000'>");
  AddHeaderRow(html);
  // By name, so that a module is found where the eye looks for it; the
  // catalogue's own order is the order the folders were read in.
  std::vector<const modtype*> modules;
  for (const auto& module : catalogue.ModList) modules.push_back(module.get());
  std::stable_sort(modules.begin(), modules.end(), [](const modtype* a, const modtype* b) {
    return Lower(a->declaredName) < Lower(b->declaredName);
  });
  for (const modtype* module : modules) AddModuleRow(html, *module);
  html.AddLine(u"</table>");
}

}  // namespace vt
