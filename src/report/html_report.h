// The report writer: pages are built line by line in ReportLines, then
// written to one file.
#pragma once

#include "analysis/source_records.h"
#include "analysis/suggestion.h"
#include "base/text.h"

namespace vt {

struct ReportState {
  TextList ReportLines;
  // Where the page is written; empty means results.htm in the application
  // folder.
  Text ReportFile;
};

// `&`, `<`, `>`, `"` and `'` as character references, for data put into a page.
Text HtmlEscape(TextView text);

// Builds a page into the lines it is given.
class htmltype {
 public:
  explicit htmltype(TextList& lines) : lines_(lines) {}

  void AddLine(TextView text);
  void WriteHead();
  void WriteFilesScanned(const AnalysisState& analysis);
  void WriteSuggestion(const Suggestion& suggestion);
  void WriteFrameworkBlock(const FrameworkBlock& block);
  void WriteLineCounts(const AnalysisState& analysis);
  void WriteCodeArea(int rows);
  // Ends the page and writes it to `path`. True when the file was written
  // completely.
  bool WriteReportFile(TextView path);

 private:
  TextList& lines_;
};

// The whole results page of an examination.
void WriteResultsPage(htmltype& html, const AnalysisState& analysis,
                      const Suggestion& suggestion);

// The link target a page uses for a file: the path with backslashes.
Text LinkTarget(TextView path);

}  // namespace vt
