// The report view's page: a click on a source file's link opens the file
// in the user's own program for it, and the report stays; the view's Reload
// asks for the program to be examined again rather than showing the same
// file.
#pragma once

#include <functional>

#include <QWebEnginePage>

#include "platform/events.h"

namespace vt {

class ReportPage : public QWebEnginePage {
 public:
  using Poster = std::function<void(Event)>;
  // Opens a file of the user's; by default in the system's program for it.
  using Opener = std::function<void(const QUrl&)>;
  ReportPage(Poster post, QObject* parent, Opener open = {});

  bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override;

 private:
  Poster post_;
  Opener open_;
};

}  // namespace vt
