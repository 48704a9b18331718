// The graphics framework templates: once every record knows its modules, put
// the module that belongs on the Framework line first, add the driver line and
// write one framework block per driver the program can use.
#pragma once

#include "catalogue/module_records.h"

namespace vt {

// Reorders the records' modules, sets their driver lines and writes the
// framework block or blocks to the report.
void WriteGraphicsTemplates();

// The list operations the templates use. Removal takes the first entry that
// is exactly equal, and does nothing when there is none.
void RemoveEntry(TextList& list, TextView entry);
void InsertAtFront(TextList& list, TextView entry);
void Append(TextList& list, TextView entry);

}  // namespace vt
