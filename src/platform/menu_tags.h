// The tags that the main window's menu items send with their events.
#pragma once

namespace vt {

enum MenuTag {
  kMenuFile = 100,
  kMenuExamine = 101,
  kMenuExit = 102,
  kMenuReexamine = 103,
  // The recent programs of the File menu: this tag and the next seven.
  kMenuRecentProgram = 110,
  kMenuMax = 200,
  kMenuRootFolder = 201,
  kMenuLaunchIde = 202,
  kMenuModuleDetails = 203,
  kMenuHelp = 300,
  kMenuContents = 301,
  kMenuAbout = 302,
  // The header panel's "Apply to files..." button.
  kMenuApplyHeaders = 400,
  // The View menu: the window acts on these itself; they reach no loop.
  kMenuView = 500,
  kMenuHeaderPanel = 501,
  kMenuBack = 502,
  kMenuFind = 503,
};

}  // namespace vt
