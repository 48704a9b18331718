#include "report/html_report.h"

namespace vt {

ReportState Report;
htmltype Html;

void ResetReportState() { Report = ReportState(); }

}  // namespace vt
