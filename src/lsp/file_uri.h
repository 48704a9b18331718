// file: URIs as editors send them, and the paths the core reads.
#pragma once

#include <optional>
#include <string>

#include "base/text.h"

namespace vt::lsp {

// The absolute "/"-separated path a file: URI stands for, percent escapes
// decoded ("file:///C:/x" is "C:/x" on Windows); none for another scheme.
std::optional<Text> PathFromUri(std::string_view uri);

// The file: URI of an absolute path, with every byte but the unreserved
// ones and "/" escaped.
std::string UriFromPath(TextView path);

}  // namespace vt::lsp
