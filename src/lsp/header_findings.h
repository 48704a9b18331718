// What the check of a program tells the editor: a diagnostic for each
// difference and note of a unit's header and for each file the program
// names that could not be read; the edits that mend the header; and why a
// header line is there.
#pragma once

#include <map>
#include <optional>
#include <string>

#include "lsp/program_check.h"
#include "lsp/protocol.h"

namespace vt::lsp {

// The diagnostics of one unit's header: its differences and notes.
Json HeaderDiagnostics(const FilePlan& file, const FrameworkSaving& saving);

// The diagnostics of the Include and Import lines whose files could not be
// read, by the file that holds the line.
std::map<Text, Json> WalkDiagnostics(const Examination& examination, const FileTree& files);

// A fingerprint of the diagnostics of one unit's header, but for their
// ranges, which the file's bytes decide: far cheaper to tell than the
// diagnostics to make, for a program of many units of which an edit changes
// one.
size_t FindingsPrint(const FilePlan& file, const FrameworkSaving& saving);

// The code actions for `range` of the file `path` (known to the client as
// `uri`): a quick fix for each finding on those lines, and "Fix the header",
// the whole edit of --write, whenever the file's header differs. `only`
// holds the kinds the client asked for, or is null.
Json CodeActions(const ProgramCheck& check, TextView path, const std::string& uri,
                 TextRange range, const Json& only);

// Why the Framework or Import line at `position` is there, or why it is not
// needed; none when no such line is there.
std::optional<Json> HoverAt(const ProgramCheck& check, TextView path, TextPosition position);

// The kind of the action that fixes a whole header, for clients that ask
// for it by name.
inline constexpr char kFixHeaderKind[] = "source.fixAll.veltrane";

}  // namespace vt::lsp
