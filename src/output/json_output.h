// One examination as a JSON document, for editors and scripts. The schema
// is described in docs/cli-json-schema.md; kJsonSchema changes whenever a
// field changes meaning or goes away.
#pragma once

#include <optional>
#include <string>

#include "app/examine.h"

namespace vt {

inline constexpr int kJsonSchema = 2;

// The run around the examination.
struct RunFacts {
  Text root;                 // the BlitzMax root folder
  Text source;               // the examined file, as given, anchored
  std::optional<Text> page;  // where the page was written; none with --no-html
  Text startFolder;          // warnings name their files relative to it
};

// The document, indented, in UTF-8 with control characters escaped, ending
// with a line feed.
std::string ExaminationJson(const Examination& examination, const RunFacts& run);

}  // namespace vt
