// The report writer: pages are built line by line in ReportLines, then
// written to one file.
#pragma once

#include <memory>
#include <string>

#include "analysis/examination.h"
#include "base/paths.h"
#include "base/text.h"
#include "platform/atomic_file.h"

namespace vt {

struct ReportState {
  TextList ReportLines;
  // Where the page is written; empty means results.htm in the application
  // folder.
  Text ReportFile;
};

// `&`, `<`, `>`, `"` and `'` as character references, for data put into a page.
Text HtmlEscape(TextView text);
// The same, appended to `out`.
void AppendHtmlEscaped(Text& out, TextView text);

// Builds a page into the lines it is given, or straight into its file.
class htmltype {
 public:
  explicit htmltype(TextList& lines) : lines_(lines) {}

  void AddLine(TextView text);
  // A line of data, escaped: AddLine(HtmlEscape(text)), built in a buffer
  // kept for the next line.
  void AddDataLine(TextView text);
  // From here on every line goes straight into a new file at `path` and is
  // not kept: for pages too large to hold in memory. WriteReportFile with
  // the same path then ends that file. False when the file cannot be made;
  // the lines are then dropped and WriteReportFile fails.
  bool StreamTo(TextView path);
  void WriteHead();
  void WriteFilesScanned(const std::vector<scanlisttype>& walked);
  void WriteSuggestion(const Suggestion& suggestion);
  void WriteFrameworkBlock(const FrameworkBlock& block);
  void WriteLineCounts(int32_t totalLines, int32_t codeLines);
  void WriteCodeArea(int rows);
  // Ends the page and writes it to `path`. True when the file was written
  // completely. False, and nothing written, also when a file at `path`
  // was changed or replaced by someone else while the page was being made.
  bool WriteReportFile(TextView path);
  // Whether the last WriteReportFile failed for that reason.
  bool ChangedMeanwhile() const { return changedMeanwhile_; }

 private:
  TextList& lines_;
  bool streaming_ = false;
  // Null when streaming was asked for and the file could not be made.
  std::unique_ptr<AtomicFileWriter> stream_;
  // The bytes of the line being streamed, kept to spare an allocation a line.
  std::string bytes_;
  // The text of a line being put together (escaped data, a code line).
  Text line_;
  bool changedMeanwhile_ = false;
};

// The whole results page of an examination.
void WriteResultsPage(htmltype& html, const Examination& examination);

// The link target a page uses for a file: on Windows the path with
// backslashes, as it has always been written; elsewhere the path as it is,
// so that "file:///home/me/game.bmx" also works in another browser.
Text LinkTarget(TextView path, PathStyle style = kNativePathStyle);

}  // namespace vt
