// The page that lists the whole module catalogue.
#pragma once

#include "catalogue/module_records.h"
#include "report/html_report.h"

namespace vt {

// Builds the catalogue as a table; the caller writes and shows the page.
void WriteModuleDetails(htmltype& html, const CatalogueState& catalogue);

}  // namespace vt
