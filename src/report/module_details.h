// The page that lists the whole module catalogue.
#pragma once

namespace vt {

// Writes the catalogue as a table to the report file and shows it. True when
// the page was written (the window ignores it; the command line reports it).
bool ShowModuleDetails();

}  // namespace vt
