// Inputs for the scale benchmarks, written from scratch: generated BlitzMax
// installations and programs of any size, the same every time for the same
// arguments.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace bench {

namespace fs = std::filesystem;

// An installation of `modules` modules, half in brl.mod and half in pub.mod,
// each declaring `commands` functions ("sK_cJ") and importing up to three
// modules of the first `core` (those import only earlier ones), as a real
// installation leans on a few base modules. Returns every file written.
std::vector<fs::path> WriteInstallation(const fs::path& root, int modules, int commands,
                                        int core);

// brl.mod/mK.mod/mK.bmx declares Module BRL.MK, imports BRL.M(K+1) and
// declares one function, for K from 1 to `length`.
std::vector<fs::path> WriteImportChain(const fs::path& root, int length);

// A program of `files` files and about `lines` lines in all: main.bmx and
// fK.bmx, which import and include one another as a tree, call commands of
// the installation written by WriteInstallation(`modules`, `commands`), load
// images and sounds, and carry comments, blank lines and Rem blocks.
std::vector<fs::path> WriteProgram(const fs::path& folder, int files, int lines, int modules,
                                   int commands);

// fK.bmx holds `directive` "f(K+1).bmx" for K from 0 to `depth`, the last one
// a command; f0.bmx is the main file.
std::vector<fs::path> WriteDirectiveChain(const fs::path& folder, int depth,
                                          const std::string& directive);

// Reads every file whole, as cat does: the yardstick for the examination.
size_t ReadAll(const std::vector<fs::path>& files);

}  // namespace bench
