// The header panel beside the report: what it shows of the last examination
// (the code boxes of one framework block with their reasons, whether each
// file's header matches that block, what the walk could not read) and what
// its choice of block, Copy and Apply buttons do.
#pragma once

#include <optional>

#include "app/app_state.h"
#include "app/examine.h"
#include "header/header_plan.h"

namespace vt {

// The panel's content for `panel`: block `panel.block`, or the one the main
// file names when none is chosen. File names are relative to the program's
// folder. Reads the program's files to check their headers.
HeaderPanelContent BuildHeaderPanel(const AppState& state, const HeaderPanelState& panel);

// The job that plans the headers of `panel`'s program against `block` (from
// 0), or the block the main file names.
HeaderJob HeaderPanelJob(const AppState& state, const HeaderPanelState& panel,
                         std::optional<size_t> block);

// The lines of a box as the clipboard takes them: each one ended.
Text ClipboardText(const PanelBox& box);

// The panel is the window's: what shows it, or acts on it, needs the
// state's `desktop`.

// Keeps what the panel needs of `examination` of `program` and shows it. The
// same program keeps the block chosen; another starts at the one its main
// file names. An examination where the analysis did not run changes nothing.
void ShowHeaderPanel(AppState& state, TextView program, const ExaminedSource& examination);
void HideHeaderPanel(AppState& state);

// The panel's own events.
void ChooseHeaderBlock(AppState& state, size_t block);
void CopyHeaderBox(AppState& state, size_t box);
// Shows the edit that would make every header match the chosen block and
// makes it once the user agrees; then examines the program again. Refused
// while the walk could not read a file the program names.
void ApplyHeaderBlock(AppState& state);

}  // namespace vt
