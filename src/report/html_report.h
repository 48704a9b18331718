// The report writer: pages are built line by line in ReportLines, then
// written to one file.
#pragma once

#include <vector>

#include "base/text.h"
#include "catalogue/module_records.h"

namespace vt {

// One code box of a framework block as plain text, for the command line.
struct PlainCodeBox {
  Text label;     // "Main Source: " or "Imported Code: "
  Text fileName;  // the file name shown in the box's heading
  TextList lines; // the lines of its text area
};

struct PlainBlock {
  Text title;
  std::vector<PlainCodeBox> boxes;
};

struct ReportState {
  TextList ReportLines;
  // The framework blocks of the page being built, as plain text.
  std::vector<PlainBlock> PlainBlocks;
  // Where WriteReportFile writes; empty means results.htm in the application
  // folder.
  Text ReportFile;
};

extern ReportState Report;

void ResetReportState();

// `&`, `<`, `>`, `"` and `'` as character references, for data put into a page.
Text HtmlEscape(TextView text);

class htmltype {
 public:
  void AddLine(TextView text);
  void WriteHead();
  void WriteFilesScanned();
  void WriteFrameworkBlock(TextView title);
  void WriteLineCounts();
  void WriteCodeArea(int rows);
  // True when the file was written completely.
  bool WriteReportFile();
  // Shows `path` in the report view, or says that it cannot.
  void ShowFile(TextView path);
};

extern htmltype Html;

// The path WriteReportFile writes to.
Text ReportFilePath();

// The two pieces a page links a file by: the path with backslashes, as the
// link target, and the name after the last separator, as the shown text.
Text LinkTarget(TextView path);
Text FileNameOf(TextView path);

}  // namespace vt
