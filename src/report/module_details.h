// The page that lists the whole module catalogue.
#pragma once

namespace vt {

// Writes the catalogue as a table to the report file and shows it.
void ShowModuleDetails();

}  // namespace vt
