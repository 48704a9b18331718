// Everything one run of the tool knows, in one object that each front end
// owns and hands to the steps that need it.
#pragma once

#include <memory>
#include <optional>
#include <vector>

#include "analysis/causes.h"
#include "analysis/examination_memo.h"
#include "analysis/rule_book.h"
#include "analysis/source_records.h"
#include "analysis/suggestion.h"
#include "app/settings.h"
#include "catalogue/module_records.h"
#include "platform/desktop_screen.h"
#include "platform/file_tree.h"
#include "platform/header_panel_content.h"
#include "platform/process.h"
#include "platform/screen.h"
#include "report/html_report.h"

namespace vt {

struct ShellState {
  // The IDE of the latest launch; null before any, or when it failed to
  // start.
  DetachedProcess* IdeProcess = nullptr;
  // Every IDE started during the run: each one that still runs ends with
  // the tool.
  std::vector<std::unique_ptr<DetachedProcess>> LaunchedProcesses;
};

struct ExamineState {
  // The file being examined, "/"-separated.
  Text MainSourcePath;
  // The window's programs examined last, newest first, and the folder its
  // file dialog opens in.
  std::vector<Text> RecentPrograms;
  Text LastFolder;
};

// The last examination as the header panel beside the report needs it: its
// choice of block, Copy and Apply act on what the panel shows.
struct HeaderPanelState {
  bool shown = false;
  Text program;  // the main file, as examined
  Suggestion suggestion;
  std::vector<WalkWarning> warnings;
  TextList filesNotRead;
  // The block shown, from 0; none yet picks the one the main file names.
  std::optional<size_t> block;
  HeaderPanelContent content;
};

class AppState {
 public:
  // `applicationFolder` holds the program, and vt.ini, results.htm and
  // index.htm lie beside it. A run on a DesktopScreen has a window too.
  AppState(Screen& screen, TextView applicationFolder);
  AppState(Screen& screen, const ProgramLayout& layout);
  AppState(DesktopScreen& screen, TextView applicationFolder);
  AppState(DesktopScreen& screen, const ProgramLayout& layout);
  AppState(const AppState&) = delete;
  AppState& operator=(const AppState&) = delete;

  // A fresh run: default settings, empty catalogue, no examination, no IDE
  // (IDEs still running are left alone).
  void Reset(TextView applicationFolder);
  void Reset(const ProgramLayout& layout);

  // The screen that messages, the status line and pages go to.
  Screen& screen;
  // The same screen as the desktop program's window, for its main routine
  // and header panel; null for the command line.
  DesktopScreen* desktop = nullptr;
  // Where installations and programs are read: the disk, unless a front end
  // lays other contents over it (an editor's unsaved buffers).
  std::shared_ptr<const FileTree> Files = std::make_shared<DiskFileTree>();
  SettingsState Settings;
  CatalogueState Catalogue;
  ReportState Report;
  ExamineState Examine;
  HeaderPanelState Panel;
  ShellState Shell;
  // The rules of both distributions, as the rule files give them, and the
  // one the user chose; without a choice the installation decides.
  RuleBook Rules = BuiltInRules();
  std::optional<RuleSetKind> RuleSetChoice;
  // What the last examination made of each part of the program, for a
  // process that examines again (the window): the next one reads only
  // what changed. Null for a run that examines once.
  std::unique_ptr<ExaminationMemo> Memo;
};

}  // namespace vt
