// The walk over a program's files: the Main file and, depth first in line
// order, every file and module that its Include and Import lines name.
#pragma once

#include "base/text.h"

namespace vt {

// What a line of BlitzMax source is, as far as the two passes care.
enum class LineKind { Blank, Comment, RemStart, RemEnd, Remark, Directive, Code };

// Classifies a trimmed, lower-cased line. `remFlag` is the caller's Rem
// state: set to 1 by a Rem line and to 0 by an End Rem line.
LineKind ClassifyLine(TextView low, int& remFlag);

// The folder part of a "/"-separated path, or "" when the file lies in the
// current folder.
Text FolderPart(TextView path);
// The text after the last "/" (the whole path when there is none).
Text FileName(TextView path);
// `folder` + "/" + `name`, without doubling the slash of a root folder.
Text JoinPath(TextView folder, TextView name);

// Records the .bmx file `path` (relative to the current folder) with `kind`
// ("Main", "Include" or "Imported") in ScanListList unless it is there
// already, then follows its directives. The current folder is restored.
void ScanFile(TextView path, TextView kind);

// Follows one line of a file being walked if it is an Include or Import line.
void ScanDirectiveLine(TextView line);

}  // namespace vt
